#include "dgvideoitem.h"

#include "boardtypes.h"
#include "dggifitem.h"
#include "drotateitem.h"
#include "drotateitemfocus.h"
#include "itemplacement.h"
#include "smoothpicture.h"

#include "content/player.h"

#include <QFileInfo>
#include <QGraphicsSceneMouseEvent>
#include <QLabel>
#include <QLineF>
#include <QPainter>
#include <QVBoxLayout>

namespace {
constexpr qreal kDragThreshold = 6.0; // jitter of a click on the video is no move
constexpr int kNameStripHeight = 20;
} // namespace

DGVideoItem::DGVideoItem(QPointF pos, const QString &file, const QPixmap &poster,
                         QGraphicsItem *parent)
    : QGraphicsVideoItem(parent), m_filePath(file), m_poster(poster)
{
    m_linkMedia = file;
    m_prevLinkMedia = file;
    m_pressPos = pos;
    setPos(pos);
    m_fileName = QFileInfo(file).fileName();
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    setCacheMode(DeviceCoordinateCache);
    setFrameOwner(this);
    rotateItem();
}

QRectF DGVideoItem::boundingRect() const
{
    return QRectF(-5, -5, 110, 110);
}

void DGVideoItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    bool standalone = true;
    const QStyleOptionGraphicsItem copied = ItemPlacement::paintOption(this, option, &standalone);
    const QRectF bounds = boundingRect();
    // The frame is fitted to the object's box, whatever its own size: a film's frame is
    // mostly shown far smaller than its pixels.
    if (!m_poster.isNull())
        SmoothPicture::draw(painter, QRectF(bounds.toRect()), m_poster, widget,
                            ItemPlacement::paintedForBoard(this) ? this : nullptr);
    QGraphicsVideoItem::paint(painter, &copied, widget);
    painter->drawText(QRect(int(bounds.x()), int(bounds.y() + bounds.height() - kNameStripHeight),
                            int(bounds.width()), kNameStripHeight),
                      Qt::TextSingleLine, m_fileName);
    paintRotateItem(bounds, scale(), isLocked(), standalone, isSelected());
}

QVariant DGVideoItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedHasChanged)
        dropToolkitPictures(); // the selection outline is part of them
    return QGraphicsVideoItem::itemChange(change, value);
}

void DGVideoItem::lock(bool locked)
{
    setFlag(ItemIsMovable, !locked);
    showLockState(locked);
}

bool DGVideoItem::isLocked() const
{
    return !(flags() & ItemIsMovable);
}

void DGVideoItem::changeLinks(const QString &web, const QString &page, const QString &file,
                              const QString &media)
{
    DCustomItem::changeLinks(web, page, file, media);
    update();
}

int DGVideoItem::type() const
{
    return ItemTypeVideo;
}

void DGVideoItem::saveTransform()
{
    saveTransformOf(this);
}

void DGVideoItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_pressPoint = event->pos();
    m_pressPos = pos();
    QGraphicsVideoItem::mousePressEvent(event);
}

void DGVideoItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (QLineF(m_pressPoint, event->pos()).length() > kDragThreshold)
        m_bMoved = true;
    QGraphicsVideoItem::mouseMoveEvent(event);
}

void DGVideoItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_bMoved) {
        emit releaseBt(ItemPlacement::truncated(event->scenePos()), BtMenus::stMove);
        m_bMoved = false;
    }
    QGraphicsVideoItem::mouseReleaseEvent(event);
}

DGVideoItem *DGVideoItem::clone() const
{
    // The full path and the poster: a bare file name would point nowhere once copied.
    auto *copy = new DGVideoItem(m_pressPos, m_filePath, m_poster, nullptr);
    ItemPlacement::placeCopy(this, this, copy, copy);
    return copy;
}

QWidget *DGVideoItem::showPlayer() const
{
    const QPoint where(int(pos().x()), int(pos().y()));
    if (!m_filePath.contains(QLatin1String(".gif")))
        return Player::showFor(m_filePath, where);
    auto *window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose); // nothing else keeps it
    auto *layout = new QVBoxLayout(window);
    if (QLabel *animation = DGGifItem::makeAnimation(m_filePath))
        layout->addWidget(animation);
    window->show();
    Player::moveOntoScreen(window, where);
    return window;
}

void DGVideoItem::connectFrame(DRotateItem *frame)
{
    connect(frame->m_focus, &DRotateItemFocus::pressBt, this, &DGVideoItem::saveTransform);
}
