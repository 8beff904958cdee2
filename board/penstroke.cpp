#include "penstroke.h"

#include "curvelines.h"

#include <QLineF>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// A sharper corner keeps the toolkit's join: the outline of a tiny curve, offset by half the
// pen's width, strays from the true one at wide corners.
constexpr qreal kMostTurnDegrees = 20;
// Of the pen's width: how far along each line the curve starts before the corner.
constexpr qreal kCurveReach = 0.01;

// As the toolkit measures a line's direction for a join: 0 to 360 degrees.
qreal directionOf(const QPointF &along)
{
    return QLineF(QPointF(), along).angle();
}

// The toolkit joins each side of the stroke on its own pass, the second along the line
// backwards, and sweeps from one direction to the other without going round through 0.
bool joinGoesRound(const QPointF &in, const QPointF &out)
{
    const qreal turn = std::remainder(directionOf(out) - directionOf(in), qreal(360));
    if (std::abs(turn) > kMostTurnDegrees)
        return false;
    return std::abs(directionOf(out) - directionOf(in)) > 180
            || std::abs(directionOf(-in) - directionOf(-out)) > 180;
}

// How far the direction from, turning by turn, goes before it meets the x axis.
qreal turnToAxis(qreal from, qreal turn)
{
    for (const qreal axis : { qreal(0), qreal(180) }) {
        const qreal toAxis = std::remainder(axis - from, qreal(360));
        if (std::abs(toAxis) <= std::abs(turn) && toAxis * turn >= 0)
            return toAxis;
    }
    return turn / 2;
}

QPointF pointAt(const QPainterPath &path, int i)
{
    const QPainterPath::Element element = path.elementAt(i);
    return QPointF(element.x, element.y);
}

// Whether the corner at element i, between a line into it and a line out of it, is to be drawn
// as a curve. A line of no length is no line to the toolkit, and makes no corner.
bool isRoundCorner(const QPainterPath &path, int i)
{
    if (i < 1 || i + 1 >= path.elementCount() || !path.elementAt(i).isLineTo()
        || !path.elementAt(i + 1).isLineTo()
        || path.elementAt(i - 1).type == QPainterPath::CurveToDataElement)
        return false;
    const QPointF before = pointAt(path, i - 1);
    const QPointF corner = pointAt(path, i);
    const QPointF after = pointAt(path, i + 1);
    if (before == corner || corner == after)
        return false;
    // A line that keeps rising or falling turns through neither half of the axis: most corners
    // are told so without measuring their angles.
    const qreal rise = corner.y() - before.y();
    const qreal nextRise = after.y() - corner.y();
    if ((rise > 0 && nextRise > 0) || (rise < 0 && nextRise < 0))
        return false;
    return joinGoesRound(corner - before, after - corner);
}

// The corner between in and out as a line to a little before it and a curve to a little after.
// The curve leaves and meets the lines halfway between their directions and the axis it turns
// through, not along them: two lines that meet almost straight are joined as the toolkit's
// rounding of their directions happens to fall, the long way round included.
void addCorner(QPainterPath &drawn, const QLineF &in, const QLineF &out, qreal reach)
{
    const qreal along = std::min({ reach, in.length() / 4, out.length() / 4 });
    const qreal turn = std::remainder(out.angle() - in.angle(), qreal(360));
    const qreal toAxis = turnToAxis(in.angle(), turn);
    QLineF leaving = in.unitVector();
    leaving.setAngle(in.angle() + toAxis / 2);
    QLineF meeting = out.unitVector();
    meeting.setAngle(out.angle() - (turn - toAxis) / 2);
    const QPointF from = in.p2() - along * (in.p2() - in.p1()) / in.length();
    const QPointF to = out.p1() + along * (out.p2() - out.p1()) / out.length();
    drawn.lineTo(from);
    drawn.cubicTo(from + along / 2 * (leaving.p2() - leaving.p1()),
                  to - along / 2 * (meeting.p2() - meeting.p1()), to);
}

// Readers of these files stroke the pen themselves.
bool strokesItself(const QPaintEngine *engine)
{
    return engine
            && (engine->type() == QPaintEngine::Pdf || engine->type() == QPaintEngine::SVG
                || engine->type() == QPaintEngine::PostScript);
}

bool isRoundPen(const QPen &pen)
{
    return pen.style() != Qt::NoPen && pen.joinStyle() == Qt::RoundJoin && !pen.isCosmetic()
            && pen.widthF() > 0;
}

} // namespace

namespace PenStroke {

QPainterPath strokable(const QPainterPath &path, const QPen &pen)
{
    if (!isRoundPen(pen))
        return path;
    const int count = path.elementCount();
    int first = 1;
    while (first < count && !isRoundCorner(path, first))
        ++first;
    if (first >= count)
        return path;

    QPainterPath drawn;
    drawn.setFillRule(path.fillRule());
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QPointF point(element.x, element.y);
        if (element.isMoveTo()) {
            drawn.moveTo(point);
        } else if (element.isCurveTo()) {
            drawn.cubicTo(point, pointAt(path, i + 1), pointAt(path, i + 2));
            i += 2;
        } else if (i >= first && isRoundCorner(path, i)) {
            addCorner(drawn, QLineF(pointAt(path, i - 1), point),
                      QLineF(point, pointAt(path, i + 1)), pen.widthF() * kCurveReach);
        } else {
            drawn.lineTo(point);
        }
    }
    return drawn;
}

void drawPath(QPainter *painter, const QPainterPath &path, Curves curves)
{
    const QPen pen = painter->pen();
    if (strokesItself(painter->paintEngine()) || !isRoundPen(pen)) {
        painter->drawPath(path);
        return;
    }
    if (curves == Curves::AsCurves || !CurveLines::hasCurves(path)) {
        painter->drawPath(strokable(path, pen));
        return;
    }
    const qreal scale = std::sqrt(std::abs(painter->deviceTransform().determinant()));
    const qreal tolerance =
            CurveLines::kShownTolerance / (std::isfinite(scale) && scale > 0 ? scale : qreal(1));
    painter->drawPath(strokable(CurveLines::lines(path, tolerance), pen));
}

} // namespace PenStroke
