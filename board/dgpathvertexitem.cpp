#include "dgpathvertexitem.h"

#include "boardtypes.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

DGPathVertexItem::DGPathVertexItem(QPointF pos, const QPen &pen, QGraphicsItem *parent)
    : DGPathItem(pos, pen, parent)
{
}

int DGPathVertexItem::type() const
{
    return ItemTypeVertex;
}

void DGPathVertexItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                             QWidget *widget)
{
    DGPathItem::paint(painter, option, widget);
    if (isSelected())
        paintVertexCircles(painter, 2.0 * m_pen.width());
}

void DGPathVertexItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_grabbedIndex = grabIndex(event->pos()); // even a locked polygon can be reshaped
    DGPathItem::mousePressEvent(event);
}

void DGPathVertexItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_grabbedIndex >= 0) {
        dragVertex(m_grabbedIndex, event->pos(), false);
        return;
    }
    DGPathItem::mouseMoveEvent(event);
}

void DGPathVertexItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_bRedrawAlways)
        invalidateCache();
    m_bRedrawAlways = false;
    DGPathItem::mouseReleaseEvent(event);
}

DGPathVertexItem *DGPathVertexItem::clone() const
{
    auto *copy = new DGPathVertexItem(pos(), pen(), parentItem());
    copyTransformInto(copy);
    if (parentItem()) {
        copy->setPos(pos());
    } else {
        // Put the copy's centre on the source's centre as the scene shows it.
        const QPointF centre = boundingRect().center();
        copy->setPos(mapToScene(centre) - copy->boundingRect().center());
    }
    return copy;
}
