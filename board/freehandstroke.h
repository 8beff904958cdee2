#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRect>
#include <QVector>

class QPainter;

// The geometry of a finished freehand stroke, apart from the page: the overlay's points (view
// pixels) brought to the page's scale, the stroke's path, and the pictures the stamp pens
// leave. Everything here works in one frame, the scaled frame: view points divided by the
// zoom and shifted by whole pixels so that the first point stays where it was. A point q of
// that frame lies on the page at (scene point of the first point) + (q - first point).
namespace FreehandStroke {

// Points divided by zoom, shifted by the whole-pixel part of (first / zoom - first).
QVector<QPointF> scaledCopy(const QVector<QPointF> &points, double zoom);
// One point of a stroke begun at first, as scaledCopy brings it.
QPointF scaledPoint(const QPointF &point, const QPointF &first, double zoom);

// Starts at the first point and draws a line to every point in order, the first one included.
QPainterPath strokePath(const QVector<QPointF> &scaled);

// A stamped picture and where its top-left pixel lies in the scaled frame.
struct Picture
{
    QImage image;
    QPointF topLeft;
};

// The nib of the fountain pens: a solid 3 x 20 bar in colour, whatever the pen's alpha.
QImage nib(const QColor &colour);
// The stamp of the brush and rainbow pens: the texture at 20 x 20.
QImage textureStamp();

// Where stamp lies centred on point, on whole pixels of the scaled frame. The pictures' pixels
// are whole pixels of that frame too, so a stamp drawn there through any transform covers
// exactly the pixels the picture gives it.
QRect stampRect(const QImage &stamp, const QPointF &point);
void stampAt(QPainter &painter, const QImage &stamp, const QPointF &point);
// stamp centred on every pixel of travel from `from` towards `to`, `to` itself left out.
void stampAlong(QPainter &painter, const QImage &stamp, const QPointF &from, const QPointF &to);

// What a picture of the stroke must hold: the bounds of its points and of its path.
QRect strokeBounds(const QVector<QPointF> &scaled, const QPainterPath &path);
// The part of the brush and rainbow pens' stamping kept: 8 pixels around the stroke's bounds.
QRect textureRegion(const QRect &bounds);

// The fountain pens: the nib centred on every pixel of travel, the picture 20 pixels larger
// than the stroke's bounds and starting 10 up and left of them.
Picture calligraphic(const QVector<QPointF> &scaled, const QPainterPath &path,
                     const QColor &colour);

// The brush and rainbow pens: stamp centred on every pixel of travel, and on the first point
// again before each segment, on a faint black ground, kept over textureRegion. Fewer than two
// points make no picture.
Picture texture(const QVector<QPointF> &scaled, const QPainterPath &path, const QImage &stamp);

// The smart pen: the path's points simplified with a tolerance of their mean distance from
// their centroid, as one polygon.
QPainterPath smartPath(const QPainterPath &path);

// Pictures larger than this (either side, pixels) are not made: a stroke cannot span them.
constexpr int kMaxPictureSide = 16384;

} // namespace FreehandStroke
