#pragma once

#include <QPainterPath>
#include <QPointF>

// Curves as lines: points along a curve that the line through them keeps to within a tolerance.
// The board strokes a curve as that line, and a file that holds a stroke as a line through its
// points holds these very points, so that a curve read back as a line is drawn as it was.
namespace CurveLines {

// In pixels where the object is shown. Half a pixel keeps a curve's place, not its ink: a line
// a tenth of a pixel inside a slanted edge already darkens that edge's pixels by a seventh.
constexpr qreal kShownTolerance = 0.1;

// How many pieces of equal parameter steps (1 to 1024) keep the line through their ends within
// tolerance of the cubic curve from p0 through c1 and c2 to p3.
int pieces(const QPointF &p0, const QPointF &c1, const QPointF &c2, const QPointF &p3,
           qreal tolerance);

// The point at t, 0 to 1, of that curve.
QPointF at(const QPointF &p0, const QPointF &c1, const QPointF &c2, const QPointF &p3, qreal t);

bool hasCurves(const QPainterPath &path);

// path with each curve replaced by lines through pieces() - 1 points along it to its end.
QPainterPath lines(const QPainterPath &path, qreal tolerance);

} // namespace CurveLines
