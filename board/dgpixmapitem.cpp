#include "dgpixmapitem.h"

#include "boardtypes.h"
#include "coveredpictures.h"
#include "drotateitem.h"
#include "drotateitemfocus.h"
#include "itemplacement.h"
#include "smoothpicture.h"

#include "pictures/heldpictures.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

#include <cmath>

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
    m_picture = HeldPicture::ofImage(pixmap.toImage());
    m_size = pixmap.size() / pixmap.devicePixelRatio();
    setCacheMode(DeviceCoordinateCache);
    setFrameOwner(this);
}

DGPixmapItem::DGPixmapItem(QPointF pos, std::shared_ptr<HeldPicture> picture, QSize size,
                           QGraphicsItem *parent)
    : QObject(nullptr), QGraphicsPixmapItem(parent), m_picture(std::move(picture)), m_size(size)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    m_pressPos = pos;
    setPos(pos);
    setCacheMode(DeviceCoordinateCache);
    setFrameOwner(this);
}

DGPixmapItem::~DGPixmapItem() = default;

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

QRectF DGPixmapItem::pictureRect() const
{
    return QRectF(offset(), QSizeF(m_size));
}

QRectF DGPixmapItem::boundingRect() const
{
    // The picture's own rectangle: the base adds half a pixel for its selection outline.
    return pictureRect().adjusted(-kOutlineMargin, -kOutlineMargin, kOutlineMargin,
                                  kOutlineMargin);
}

QPainterPath DGPixmapItem::shape() const
{
    // A picture made on the board is grasped where it has pixels; one held as its file over
    // its whole rectangle (its pixels may not be there to tell).
    if (m_picture->isMade())
        return QGraphicsPixmapItem::shape();
    QPainterPath path;
    path.addRect(pictureRect());
    return path;
}

bool DGPixmapItem::contains(const QPointF &point) const
{
    if (m_picture->isMade())
        return QGraphicsPixmapItem::contains(point);
    return pictureRect().contains(point);
}

QPainterPath DGPixmapItem::opaqueArea() const
{
    if (m_picture->isMade())
        return QGraphicsPixmapItem::opaqueArea();
    QPainterPath path;
    if (m_picture->isOpaque())
        path.addRect(pictureRect());
    return path;
}

QPixmap DGPixmapItem::pixmap() const
{
    if (m_picture->isMade())
        return QGraphicsPixmapItem::pixmap();
    return QPixmap::fromImage(HeldPictures::now(m_picture));
}

void DGPixmapItem::paintHeld(QPainter *painter, const QRectF &target, QWidget *widget)
{
    if (m_picture->isRefused()) {
        // Nothing of it can be shown: the frame of where it stands, as the lesson keeps it.
        painter->save();
        QPen frame(QColor(160, 160, 160));
        frame.setCosmetic(true);
        frame.setStyle(Qt::DashLine);
        painter->setPen(frame);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(target);
        painter->restore();
        return;
    }
    if (CoveredPictures::isCovered(this))
        return; // an opaque picture over it hides all of it: it is not even decoded
    const QTransform shown = painter->combinedTransform();
    const QSizeF size(target.width() * std::hypot(shown.m11(), shown.m12()),
                      target.height() * std::hypot(shown.m21(), shown.m22()));
    const QImage copy = HeldPictures::forShowing(m_picture, size, this);
    if (copy.isNull())
        return; // on its way
    SmoothPicture::draw(painter, target, copy, widget,
                        ItemPlacement::paintedForBoard(this) ? this : nullptr);
}

void DGPixmapItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    bool standalone = true;
    const QStyleOptionGraphicsItem copied = ItemPlacement::paintOption(this, option, &standalone);
    // Drawn here, not by the toolkit, which filters a picture always or never: scaled or
    // turned, a photo showed its pixels as blocks and its edges as stairs.
    if (m_picture->isMade()) {
        const QPixmap picture = QGraphicsPixmapItem::pixmap();
        SmoothPicture::draw(painter,
                            QRectF(offset(), QSizeF(picture.size()) / picture.devicePixelRatioF()),
                            picture, widget, ItemPlacement::paintedForBoard(this) ? this : nullptr);
    } else {
        paintHeld(painter, pictureRect(), widget);
    }
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
    // A copy shows the same picture: held once for both.
    auto *copy = m_picture->isMade()
            ? new DGPixmapItem(m_pressPos, QGraphicsPixmapItem::pixmap(), nullptr)
            : new DGPixmapItem(m_pressPos, m_picture, m_size, nullptr);
    ItemPlacement::placeCopy(this, this, copy, copy);
    return copy;
}
