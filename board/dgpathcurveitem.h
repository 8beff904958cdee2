#pragma once

#include "dgpathitem.h"

// A freehand stroke, line or shape (type 2). Shapes other than lines can be reshaped by
// dragging their vertices; freehand strokes never are.
class DGPathCurveItem : public DGPathItem
{
    Q_OBJECT
public:
    DGPathCurveItem(QPointF pos, const QPen &pen, BtMenus::btType type, QGraphicsItem *parent);
    int type() const override;
    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget) override;
    bool couldFilled() const;
    DGPathCurveItem *clone() const;

    short m_fillType;
    int m_grabbedIndex = -1;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent *event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent *event) override;
};
