#include "curvelines.h"

#include <algorithm>
#include <cmath>

namespace {

// A curve cut into this many pieces lies within about a millionth of its size of the line
// through them: more could only come of a scale beyond any board's.
constexpr int kMostPieces = 1024;

QPointF pointAt(const QPainterPath &path, int i)
{
    const QPainterPath::Element element = path.elementAt(i);
    return QPointF(element.x, element.y);
}

} // namespace

namespace CurveLines {

// A piece strays from its chord by at most 1/8 of the largest second derivative times the step
// squared, and the second derivative is at most 6 times the largest second difference of the
// control points.
int pieces(const QPointF &p0, const QPointF &c1, const QPointF &c2, const QPointF &p3,
           qreal tolerance)
{
    const QPointF first = p0 - 2 * c1 + c2;
    const QPointF second = c1 - 2 * c2 + p3;
    const qreal bend =
            std::max(std::hypot(first.x(), first.y()), std::hypot(second.x(), second.y()));
    const qreal count = std::ceil(std::sqrt(0.75 * bend / tolerance));
    if (!(count >= 1))
        return 1;
    return count < kMostPieces ? int(count) : kMostPieces;
}

QPointF at(const QPointF &p0, const QPointF &c1, const QPointF &c2, const QPointF &p3, qreal t)
{
    const qreal u = 1 - t;
    return u * u * u * p0 + 3 * u * u * t * c1 + 3 * u * t * t * c2 + t * t * t * p3;
}

bool hasCurves(const QPainterPath &path)
{
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        if (path.elementAt(i).isCurveTo())
            return true;
    }
    return false;
}

QPainterPath lines(const QPainterPath &path, qreal tolerance)
{
    QPainterPath drawn;
    drawn.setFillRule(path.fillRule());
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.isMoveTo()) {
            drawn.moveTo(element.x, element.y);
        } else if (!element.isCurveTo() || i == 0 || i + 2 >= count) {
            drawn.lineTo(element.x, element.y);
        } else {
            const QPointF p0 = pointAt(path, i - 1);
            const QPointF c1 = pointAt(path, i);
            const QPointF c2 = pointAt(path, i + 1);
            const QPointF p3 = pointAt(path, i + 2);
            const int n = pieces(p0, c1, c2, p3, tolerance);
            for (int k = 1; k < n; ++k)
                drawn.lineTo(at(p0, c1, c2, p3, qreal(k) / n));
            drawn.lineTo(p3);
            i += 2;
        }
    }
    return drawn;
}

} // namespace CurveLines
