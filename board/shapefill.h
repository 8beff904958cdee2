#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QRectF>
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

// fillColour is the palette's fill colour, outlineColour the shape pen's.
Fill forShape(short fillKind, const QColor &fillColour, const QColor &outlineColour,
              const QString &fileName);

// The picture of a texture fill, read when the teacher chose it: the shapes drawn with it take
// it from here.
void keepTexture(const QString &fileName, const QImage &picture);

// A gradient fill is the shape's own: from top at its box's top edge to bottom at its bottom
// edge, whichever way it was drawn, wherever its path begins, and as the path changes.
QBrush boxGradient(const QColor &top, const QColor &bottom);

// The brush as a shape whose path spans box shows it: a picture repeats from the box's top-left
// corner, not from the object's origin (the press point of a drawn shape, the first point of
// its path once read). Other brushes are returned as they are.
QBrush anchoredTo(const QBrush &brush, const QRectF &box);

} // namespace ShapeFill
