#pragma once

#include <QLineF>
#include <QPainterPath>
#include <QPointF>

class QGraphicsItem;

// The outline of every shape tool (line to the sixth solid, not the click polygon), rebuilt on
// each pointer move from the press point and the current point alone.
namespace ShapeGeometry {

// Tools 72 to 93 other than the click polygon (81).
bool isShapeTool(int tool);
// Whether the drawn shape takes the palette's fill (not lines and solids).
bool takesFill(int tool);

// The path of tool in the shape object's coordinates. delta is the current point minus the
// press point (scene), pressInObject and currentInObject the two points mapped into the object.
// An unknown tool or a non-finite point gives an empty path.
QPainterPath path(int tool, const QPointF &delta, const QPointF &pressInObject,
                  const QPointF &currentInObject);

// The same for scene points and the object being drawn.
QPainterPath pathFor(int tool, const QPointF &press, const QPointF &current,
                     const QGraphicsItem *object);

// Distance of p from the infinite line through the ends of line; with coincident ends (no
// direction) the distance to that point.
double shortestDistance(const QPointF &p, const QLineF &line);

} // namespace ShapeGeometry
