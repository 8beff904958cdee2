#pragma once

#include "dgpathitem.h"

// A click polygon or a path drawn along a classroom instrument (type 3): its vertices can
// always be dragged, even when it is locked.
class DGPathVertexItem : public DGPathItem
{
    Q_OBJECT
public:
    DGPathVertexItem(QPointF pos, const QPen &pen, QGraphicsItem *parent);
    int type() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    DGPathVertexItem *clone() const;

    int m_grabbedIndex = -1;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
};
