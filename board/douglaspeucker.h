#pragma once

#include <QList>
#include <QPointF>

// Polyline simplification for the smart pen: keeps the points that stray more than epsilon
// from the chord of their stretch, recursively.
namespace DouglasPeucker {

// The simplified polyline: always the first and the last point, and between them the points
// whose distance from the chord of their stretch is strictly greater than epsilon (on ties the
// earlier point splits). One point gives that point twice; no points give an empty list. A
// stretch whose ends coincide (a closed stroke) measures plain distance to that point.
QList<QPointF> simplify(const QList<QPointF> &points, double epsilon);

} // namespace DouglasPeucker
