#pragma once

#include <QImage>
#include <QPolygonF>
#include <QRect>
#include <QRgb>
#include <QVector>

// The ink of lines stroked with round caps and joins, each pixel given the share of it that the
// stroke covers: the union of a disc of the pen's radius swept along every line.
//
// The toolkit's antialiased stroke adds up, in each edge pixel, the shares of every part of its
// outline that covers it, as if they never overlapped. Its round join between two lines is a
// whole circle about the corner where a line's direction passes the x axis, and its inner side of
// every corner runs back to the corner point, so an edge pixel at a corner, or where a line levels
// out, comes out as much as half full ink too dark; and two parts of a stroke drawn apart (pieces
// of a long stroke, or the runs of them that threads draw) leave a light hairline where they meet
// side by side. Here each pixel's share is measured once, of the union.
namespace StrokeCoverage {

// Below this radius (pixels) both edges of a line may cross one pixel, which the measure here
// does not follow: the toolkit's stroke is drawn instead.
constexpr qreal kLeastRadius = 1;

// The picture of area (pixels) of lines (points in pixels) stroked with radius (kLeastRadius or
// more), ink of colour (premultiplied), transparent elsewhere. A line whose points all lie on one
// point leaves no ink, as the toolkit folds it away.
QImage draw(const QVector<QPolygonF> &lines, qreal radius, QRgb colour, const QRect &area);

} // namespace StrokeCoverage
