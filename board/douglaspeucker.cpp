#include "douglaspeucker.h"

#include "shapegeometry.h"

#include <QVector>

#include <utility>

namespace DouglasPeucker {

QList<QPointF> simplify(const QList<QPointF> &points, double epsilon)
{
    if (points.isEmpty())
        return {};
    const int count = points.size();
    // Stretches still to split, as index pairs; an explicit stack keeps a long spiral from
    // running deep recursion. kept marks every index that survives.
    QVector<bool> kept(count, false);
    kept[0] = true;
    kept[count - 1] = true;
    QVector<std::pair<int, int>> stretches;
    stretches.append({ 0, count - 1 });
    while (!stretches.isEmpty()) {
        const std::pair<int, int> stretch = stretches.takeLast();
        const QLineF chord(points.at(stretch.first), points.at(stretch.second));
        double farthest = 0;
        int index = 0;
        for (int i = stretch.first + 1; i < stretch.second; ++i) {
            const double distance = ShapeGeometry::shortestDistance(points.at(i), chord);
            if (distance > farthest) {
                farthest = distance;
                index = i;
            }
        }
        if (farthest > epsilon) {
            kept[index] = true;
            stretches.append({ stretch.first, index });
            stretches.append({ index, stretch.second });
        }
    }
    QList<QPointF> simplified;
    for (int i = 0; i < count; ++i) {
        if (kept.at(i))
            simplified << points.at(i);
    }
    if (count == 1)
        simplified << points.first();
    return simplified;
}

} // namespace DouglasPeucker
