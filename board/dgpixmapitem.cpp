#include "dgpixmapitem.h"

#include "boardtypes.h"
#include "drotateitem.h"
#include "drotateitemfocus.h"
#include "itemplacement.h"
#include "smoothpicture.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

namespace {
constexpr qreal kOutlineMargin = 5.0; // room for the selection outline around the picture
}

DGPixmapItem::DGPixmapItem(QPointF pos, const QPixmap &pixmap, QGraphicsItem *parent)
    : QObject(nullptr), QGraphicsPixmapItem(parent)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    m_pressPos = pos;
    setPos(pos);
    setPixmap(pixmap);
    setCacheMode(DeviceCoordinateCache);
    setFrameOwner(this);
}

void DGPixmapItem::connectFrame(DRotateItem *frame)
{
    connect(frame->m_focus, &DRotateItemFocus::pressBt, this, &DGPixmapItem::saveTransform);
}

QVariant DGPixmapItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    if (change == ItemSelectedHasChanged) {
        dropToolkitPictures(); // the selection outline is part of them
        frameMayShow(value.toBool(), isLocked());
    } else if (change == ItemFlagsHaveChanged) {
        frameMayShow(isSelected(), isLocked());
    }
    return QGraphicsPixmapItem::itemChange(change, value);
}

void DGPixmapItem::lock(bool locked)
{
    setFlag(ItemIsMovable, !locked);
    showLockState(locked);
}

bool DGPixmapItem::isLocked() const
{
    return !(flags() & ItemIsMovable);
}

void DGPixmapItem::changeLinks(const QString &web, const QString &page, const QString &file,
                               const QString &media)
{
    DCustomItem::changeLinks(web, page, file, media);
    update();
}

QRectF DGPixmapItem::boundingRect() const
{
    // The picture's own rectangle: the base adds half a pixel for its selection outline.
    const QRectF picture(offset(), QSizeF(pixmap().size()) / pixmap().devicePixelRatioF());
    return picture.adjusted(-kOutlineMargin, -kOutlineMargin, kOutlineMargin, kOutlineMargin);
}

void DGPixmapItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    bool standalone = true;
    const QStyleOptionGraphicsItem copied = ItemPlacement::paintOption(this, option, &standalone);
    // Drawn here, not by the toolkit, which filters a picture always or never: scaled or
    // turned, a photo showed its pixels as blocks and its edges as stairs.
    const QPixmap picture = pixmap();
    SmoothPicture::draw(painter,
                        QRectF(offset(), QSizeF(picture.size()) / picture.devicePixelRatioF()),
                        picture, widget, ItemPlacement::paintedForBoard(this) ? this : nullptr);
    if (copied.state & QStyle::State_Selected)
        ItemPlacement::paintSelectionOutline(painter, &copied, boundingRect(), 1.0);
    paintRotateItem(boundingRect(), scale(), isLocked(), standalone, isSelected());
}

int DGPixmapItem::type() const
{
    return ItemTypePixmap;
}

void DGPixmapItem::saveTransform()
{
    saveTransformOf(this);
}

void DGPixmapItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_pressPos = pos();
    QGraphicsPixmapItem::mousePressEvent(event);
}

void DGPixmapItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    m_bMoved = true;
    QGraphicsPixmapItem::mouseMoveEvent(event);
}

void DGPixmapItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_bMoved) {
        emit releaseBt(ItemPlacement::truncated(event->scenePos()), BtMenus::stMove);
        m_bMoved = false;
    }
    QGraphicsPixmapItem::mouseReleaseEvent(event);
}

DGPixmapItem *DGPixmapItem::clone() const
{
    auto *copy = new DGPixmapItem(m_pressPos, pixmap(), nullptr);
    copy->setPixmap(pixmap());
    ItemPlacement::placeCopy(this, this, copy, copy);
    return copy;
}
