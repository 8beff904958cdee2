#pragma once

#include <QPainterPath>
#include <QPointF>

// Curves as lines: points along a curve that the line through them keeps to within a tolerance,
// as a file holds the curves of a stroke it reads back as a line through its points.
namespace CurveLines {

// In pixels where the object is shown: the line read back stays within half a pixel of the
// curve drawn, with room left for the six digits of the numbers and the board's own tracing of
// curves.
constexpr qreal kShownTolerance = 0.2;

// How many pieces of equal parameter steps (1 to 1024) keep the line through their ends within
// tolerance of the cubic curve from p0 through c1 and c2 to p3.
int pieces(const QPointF &p0, const QPointF &c1, const QPointF &c2, const QPointF &p3,
           qreal tolerance);

// The point at t, 0 to 1, of that curve.
QPointF at(const QPointF &p0, const QPointF &c1, const QPointF &c2, const QPointF &p3, qreal t);

bool hasCurves(const QPainterPath &path);

} // namespace CurveLines
