#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QVector>

// The geometry of a finished freehand stroke, apart from the page: the overlay's points (view
// pixels) brought to the page's scale, the stroke's path, and the pictures the stamp pens
// leave. Everything here works in one frame, the scaled frame: view points divided by the
// zoom and shifted by whole pixels so that the first point stays where it was. A point q of
// that frame lies on the page at (scene point of the first point) + (q - first point).
namespace FreehandStroke {

// Points divided by zoom, shifted by the whole-pixel part of (first / zoom - first).
QVector<QPointF> scaledCopy(const QVector<QPointF> &points, double zoom);

// Starts at the first point; 2 to 5 points give one line to the second point plus (1, 1),
// any other count a line to every point in order, the first one included.
QPainterPath strokePath(const QVector<QPointF> &scaled);

// A stamped picture and where its top-left pixel lies in the scaled frame.
struct Picture
{
    QImage image;
    QPointF topLeft;
};

// The fountain pens: a 3 x 20 nib in colour (opaque) at every pixel of travel, the picture 20
// pixels larger than the path's bounds and starting 10 up and left of them.
Picture calligraphic(const QVector<QPointF> &scaled, const QPainterPath &path,
                     const QColor &colour);

// The brush and rainbow pens: stamp (20 x 20) at every pixel of travel on a faint black
// ground, kept 8 pixels around the path's bounds. stamp is drawn centred on each point. Fewer
// than two points make no picture.
Picture texture(const QVector<QPointF> &scaled, const QPainterPath &path, const QImage &stamp);

// The smart pen: the path's points simplified with a tolerance of their mean distance from
// their centroid, as one polygon.
QPainterPath smartPath(const QPainterPath &path);

// Pictures larger than this (either side, pixels) are not made: a stroke cannot span them.
constexpr int kMaxPictureSide = 16384;

} // namespace FreehandStroke
