#include "dgpathcurveitem.h"

#include "boardtypes.h"
#include "drotateitem.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

DGPathCurveItem::DGPathCurveItem(QPointF pos, const QPen &pen, BtMenus::btType type,
                                 QGraphicsItem *parent)
    : DGPathItem(pos, pen, parent), m_fillType(ItemFillNone)
{
    m_btType = type;
}

int DGPathCurveItem::type() const
{
    return ItemTypePath;
}

QRectF DGPathCurveItem::boundingRect() const
{
    // Room for the vertex circles drawn around every element when selected.
    const int margin = m_pen.width() + 10;
    return path().boundingRect().adjusted(-margin, -margin, margin, margin);
}

bool DGPathCurveItem::couldFilled() const
{
    switch (m_btType) {
    case BtMenus::btPencil:
    case BtMenus::btLine:
    case BtMenus::btCone:
    case BtMenus::btCube:
    case BtMenus::btCylinder:
    case BtMenus::btBall:
        return false;
    default:
        return true;
    }
}

void DGPathCurveItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                            QWidget *widget)
{
    DGPathItem::paint(painter, option, widget);
    if (isSelected() && m_btType != BtMenus::btPencil && m_btType != BtMenus::btTableTool)
        paintVertexCircles(painter, 10);
}

void DGPathCurveItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_grabbedIndex = -1;
    if (m_btType != BtMenus::btPencil && !isLocked())
        m_grabbedIndex = grabIndex(event->pos());
    DGPathItem::mousePressEvent(event);
}

void DGPathCurveItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_grabbedIndex >= 0 && m_btType != BtMenus::btPencil) {
        dragVertex(m_grabbedIndex, event->pos(), true);
        return;
    }
    DGPathItem::mouseMoveEvent(event);
}

void DGPathCurveItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_bRedrawAlways)
        invalidateCache(); // the reshaped picture is cached afresh from now on
    m_bRedrawAlways = false;
    DGPathItem::mouseReleaseEvent(event);
}

DGPathCurveItem *DGPathCurveItem::clone() const
{
    auto *copy = new DGPathCurveItem(pos(), pen(), m_btType, parentItem());
    copyTransformInto(copy);
    copy->m_fillType = m_fillType;
    copy->setPos(pos());
    copy->setScale(scale());
    if (scale() > 0 && copy->madeRotateItem())
        copy->madeRotateItem()->setScale(1.0 / scale());
    copy->setBrush(brush());
    return copy;
}
