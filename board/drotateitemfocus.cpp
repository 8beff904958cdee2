#include "drotateitemfocus.h"

#include "boardtypes.h"
#include "drotateitem.h"

#include <QGraphicsSceneMouseEvent>
#include <QLineF>
#include <QMenu>
#include <QStyleOptionGraphicsItem>

#include <cmath>

namespace {

constexpr int kHandleHeight = 35;
// Within this distance of the centre a drag may grow the object but not shrink it.
constexpr double kShrinkRadius = 30.0;
// A press closer to the centre than this gives no usable reference distance: the drag then
// only turns the object (a zero distance would make the scale infinite).
constexpr double kMinStartDistance = 1.0;

} // namespace

DRotateItemFocus::DRotateItemFocus(DRotateItem *frame)
    : QGraphicsPixmapItem(frame), m_item(frame->parentItem()), m_frame(frame)
{
    setPixmap(DRotateItem::icon(QStringLiteral(":/Icon/RotateScale1.png")));
    setFlags(ItemIsSelectable | ItemSendsGeometryChanges);
}

int DRotateItemFocus::type() const
{
    return ItemTypeHandle;
}

void DRotateItemFocus::changePixmap(const QPixmap &pixmap)
{
    setPixmap(pixmap.isNull() ? pixmap
                              : pixmap.scaledToHeight(kHandleHeight, Qt::FastTransformation));
}

void DRotateItemFocus::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    QStyleOptionGraphicsItem plain(*option);
    plain.state &= ~QStyle::State_Selected; // a handle never shows a selection outline
    QGraphicsPixmapItem::paint(painter, &plain, widget);
}

void DRotateItemFocus::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF center = m_item->boundingRect().center();
    m_center = center;
    m_sceneCenter = m_item->mapToScene(center);
    m_startRotation = m_item->rotation();
    m_item->setTransformOriginPoint(center);
    if (m_bReshaped) {
        // The path changed under a vertex drag: keep the centre where it is on screen while
        // the transform origin moves to the new centre.
        m_item->setPos(m_sceneCenter - center);
        m_sceneCenter = m_item->mapToScene(center);
        m_bReshaped = false;
    }
    emit pressBt();
    m_pressScenePos = event->scenePos();
    const double scale = m_item->scale();
    m_startDistance = scale > 0 ? QLineF(m_pressScenePos, m_sceneCenter).length() / scale : 0;
    m_bMoved = false;
    // Taken without the base press, which would select the handle and clear the rest of the
    // selection: the menu opened by this handle acts on all selected objects.
    event->accept();
    m_item->setSelected(true);
}

void DRotateItemFocus::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    const double distance = QLineF(event->scenePos(), m_sceneCenter).length();
    if (m_startDistance >= kMinStartDistance) {
        const double scale = distance / m_startDistance;
        const bool usable = std::isfinite(scale) && scale > 0;
        if (usable && (distance > kShrinkRadius || scale > 1.0)) {
            m_item->setScale(scale);
            m_frame->setScale(1.0 / scale);
        }
    }
    const QLineF fromPress(m_sceneCenter, m_pressScenePos);
    const QLineF toPointer(m_sceneCenter, event->scenePos());
    if (fromPress.length() > 0 && toPointer.length() > 0)
        m_item->setRotation(m_startRotation - fromPress.angleTo(toPointer));
    m_bMoved = true;
    QGraphicsPixmapItem::mouseMoveEvent(event);
}

void DRotateItemFocus::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF scenePos = event->scenePos();
    if (m_bMoved) {
        emit releaseBt(QPoint(int(scenePos.x()), int(scenePos.y())), BtMenus::stTrans);
        m_bMoved = false;
        const int type = m_item->type();
        if (type == ItemTypePath || type == ItemTypeVertex || type == ItemTypeTable)
            emit restorePx(); // render afresh at the new scale
    }
    m_item->setSelected(true);
    if (QLineF(m_pressScenePos, scenePos).length() < 10.0 && m_menu) {
        m_item->setSelected(true);
        m_menu->exec(event->screenPos());
    }
    QGraphicsPixmapItem::mouseReleaseEvent(event);
    m_item->setSelected(true);
}
