#include "dggifitem.h"

#include "animationplayer.h"
#include "boardtypes.h"
#include "drotateitem.h"
#include "drotateitemfocus.h"
#include "itemplacement.h"
#include "pictures/picturereading.h"
#include "smoothpicture.h"

#include <QGraphicsSceneMouseEvent>
#include <QLabel>
#include <QPainter>

namespace {
constexpr qreal kOutlineMargin = 5.0;
}

DGGifItem::DGGifItem(QPointF pos, QLabel *label, QGraphicsItem *parent)
    : QGraphicsProxyWidget(parent, Qt::WindowFlags()), m_label(label)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    m_pressPos = pos;
    setCacheMode(DeviceCoordinateCache);
    setFrameOwner(this);
    rotateItem();
}

QLabel *DGGifItem::makeAnimation(const QString &file, QSize shown)
{
    return makeAnimation(file, PictureReading::readAnimation(file), shown);
}

QLabel *DGGifItem::makeAnimation(const QString &file, const PictureReading::Animation &animation,
                                 QSize shown)
{
    // A file that only starts like an animation gives no first frame.
    if (animation.frames.isEmpty())
        return nullptr;
    auto *label = new QLabel;
    label->setAttribute(Qt::WA_TranslucentBackground);
    new AnimationPlayer(file, animation, label);
    if (!shown.isEmpty()) {
        // The object is as large as its label; each frame is drawn into it (paint).
        label->setScaledContents(true);
        label->setFixedSize(PictureReading::fitted(shown));
    }
    return label;
}

int DGGifItem::type() const
{
    return ItemTypePixmap;
}

void DGGifItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    bool standalone = true;
    const QStyleOptionGraphicsItem copied = ItemPlacement::paintOption(this, option, &standalone);
    // The frame is drawn here, as a picture is, rather than by the label: the toolkit cuts an
    // embedded widget's drawing to a region of whole pixels, stepping a turned frame's edges.
    const QPixmap frame = toPixmap();
    const QRectF shown(QPointF(0, 0), size());
    if (frame.isNull())
        QGraphicsProxyWidget::paint(painter, &copied, widget);
    else
        SmoothPicture::draw(painter, shown, frame, widget, nullptr, SmoothPicture::Once);
    paintRotateItem(boundingRect(), scale(), isLocked(), standalone, isSelected());
}

QRectF DGGifItem::boundingRect() const
{
    return QGraphicsProxyWidget::boundingRect().adjusted(-kOutlineMargin, -kOutlineMargin,
                                                         kOutlineMargin, kOutlineMargin);
}

void DGGifItem::lock(bool locked)
{
    setFlag(ItemIsMovable, !locked);
    showLockState(locked);
}

bool DGGifItem::isLocked() const
{
    return !(flags() & ItemIsMovable);
}

void DGGifItem::changeLinks(const QString &web, const QString &page, const QString &file,
                            const QString &media)
{
    DCustomItem::changeLinks(web, page, file, media);
    update();
}

QPixmap DGGifItem::toPixmap()
{
    const AnimationPlayer *player = AnimationPlayer::of(m_label);
    return player ? player->currentPixmap() : QPixmap();
}

QString DGGifItem::fileName() const
{
    const AnimationPlayer *player = AnimationPlayer::of(m_label);
    return player ? player->fileName() : QString();
}

void DGGifItem::saveTransform()
{
    saveTransformOf(this);
}

// The label takes no mouse input, so the proxy's own handlers would hand the press to it and
// leave the object neither selected nor movable; the plain item handlers select and drag it.
void DGGifItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_pressPos = pos();
    QGraphicsItem::mousePressEvent(event);
}

void DGGifItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    m_bMoved = true;
    QGraphicsItem::mouseMoveEvent(event);
}

void DGGifItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_bMoved) {
        emit releaseBt(ItemPlacement::truncated(event->scenePos()), BtMenus::stMove);
        m_bMoved = false;
    }
    QGraphicsItem::mouseReleaseEvent(event);
}

DGGifItem *DGGifItem::clone() const
{
    // Its own label and player, over the same frames: sharing the label would leave the copy
    // empty and dangling once the source (which owns the label) is destroyed.
    const AnimationPlayer *player = AnimationPlayer::of(m_label);
    QLabel *label =
            player ? makeAnimation(player->fileName(), player->animation(), m_label->size())
                   : nullptr;
    auto *copy = new DGGifItem(m_pressPos, label, nullptr);
    if (label)
        copy->setWidget(label);
    ItemPlacement::placeCopy(this, this, copy, copy);
    return copy;
}

void DGGifItem::connectFrame(DRotateItem *frame)
{
    connect(frame->m_focus, &DRotateItemFocus::pressBt, this, &DGGifItem::saveTransform);
}
