#pragma once

#include <QBrush>
#include <QColor>
#include <QString>

// What a shape being drawn takes from the shape palette's fill.
namespace ShapeFill {

struct Fill
{
    bool changes = false; // false: the shape keeps its brush and fill kind
    short itemFillType = 0; // ItemFillType
    QBrush brush;
    QString fileName; // texture fills only
};

// The object's fill kind for a palette fill kind (solid, gradient, and the two texture kinds).
short itemFillFor(short fillKind);

// fillColour is the palette's fill colour, outlineColour the shape pen's; height is the
// shape's bounding height, over which a gradient runs down from the press point.
Fill forShape(short fillKind, const QColor &fillColour, const QColor &outlineColour, qreal height,
              const QString &fileName);

} // namespace ShapeFill
