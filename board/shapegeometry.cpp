#include "shapegeometry.h"

#include "shell/btmenus.h"

#include <QGraphicsItem>
#include <QPolygon>
#include <QRect>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace ShapeGeometry {

namespace {

// The dragged rectangle in whole numbers and its centre, as every polygon tool reads it.
struct Box
{
    int x1, y1, x2, y2, w, h, cx, cy;
};

Box boxOf(const QPointF &pressInObject, const QPointF &currentInObject)
{
    const QRect r = QRectF(pressInObject, currentInObject).normalized().toRect();
    Box box;
    box.x1 = r.left();
    box.y1 = r.top();
    box.w = r.width();
    box.h = r.height();
    box.x2 = box.x1 + box.w - 1;
    box.y2 = box.y1 + box.h - 1;
    box.cx = (box.x1 + box.x2) / 2;
    box.cy = (box.y1 + box.y2) / 2;
    return box;
}

QPoint near(qreal x, qreal y)
{
    return QPointF(x, y).toPoint();
}

// Degrees counter-clockwise from the x axis, y pointing down.
QPoint polar(const Box &box, qreal radius, qreal angle)
{
    return QPoint(box.cx, box.cy) + QLineF::fromPolar(radius, angle).p2().toPoint();
}

qreal distance(QPoint a, QPoint b)
{
    return QLineF(a, b).length();
}

void addPoints(QPainterPath &path, const QVector<QPoint> &points)
{
    path.addPolygon(QPolygonF(QPolygon(points)));
}

void arc(QPainterPath &path, const QRectF &rect, qreal start, qreal sweep)
{
    path.arcMoveTo(rect, start);
    path.arcTo(rect, start, sweep);
}

QPainterPath roundRect(const QRectF &n)
{
    const int k = int(0.25 * n.height());
    int across = k;
    int down = k;
    if (n.width() > n.height())
        across = int(n.height() * k / n.width());
    else
        down = n.height() > 0 ? int(k * n.width() / n.height()) : 0; // a point: no rounding
    QPainterPath path;
    path.addRoundedRect(n, across, down, Qt::RelativeSize);
    return path;
}

QPainterPath circle(const QRectF &n)
{
    const qreal side = std::min(n.width(), n.height());
    const qreal diameter = side < 10.0 ? 10.0 : int(side);
    QPainterPath path;
    path.addEllipse(QRectF(n.x(), n.y(), diameter, diameter));
    return path;
}

QPainterPath star(const Box &b)
{
    const int e = std::abs(b.x2) > std::abs(b.x1) ? b.x2 : b.x1;
    const QPoint centre(b.cx, b.cy);
    const qreal outer = distance(centre, QPoint(e, b.cy));
    const qreal inner = distance(centre, QPoint(int(e / 1.45), b.cy));
    QVector<QPoint> points;
    for (int i = 0; i <= 10; ++i)
        points << polar(b, i % 2 == 0 ? outer : inner, 18 + 36 * (i % 10));
    QPainterPath path;
    addPoints(path, points);
    return path;
}

// The cube and its slanted variant share their edge order; k holds K0 to K7.
QPainterPath boxSolid(const QPoint (&k)[8])
{
    QPainterPath path;
    path.moveTo(k[0]);
    for (int index : { 1, 2, 3, 0, 4, 7, 6, 2 })
        path.lineTo(k[index]);
    path.moveTo(k[3]);
    path.lineTo(k[7]);
    QPainterPath hidden;
    for (int index : { 1, 4, 6 }) {
        hidden.moveTo(k[5]);
        hidden.lineTo(k[index]);
    }
    path.addPath(hidden);
    return path;
}

QPainterPath solid(int tool, const Box &b)
{
    QPainterPath path;
    QPainterPath hidden;
    switch (tool) {
    case BtMenus::btCone: {
        const int e = b.h / 8;
        const int q = b.h / 4;
        const QRectF base(b.x1, b.y2 - q, b.x2 - b.x1, q);
        addPoints(path, { QPoint(b.x1, b.y2 - e), QPoint(b.cx, b.y1), QPoint(b.x2, b.y2 - e) });
        arc(path, base, 180, 180);
        path.addEllipse(QRectF(base.x() + base.width() * 0.5 - 1.0,
                               base.y() + base.height() * 0.5 - 1.0, 2.0, 2.0));
        arc(hidden, base, 0, 180);
        break;
    }
    case BtMenus::btCube: {
        const int u = b.w / 4;
        const int v = b.h / 4;
        const QPoint k[8] = { { b.x2, b.y1 },         { b.x1 + u, b.y1 },    { b.x1, b.y1 + v },
                              { b.x2 - u, b.y1 + v }, { b.x2, b.y2 },        { b.x1 + u, b.y2 },
                              { b.x1, b.y2 + v },     { b.x2 - u, b.y2 + v } };
        return boxSolid(k);
    }
    case BtMenus::btCylinder: {
        const int e = b.h / 8;
        const QRectF bottom(b.x1, b.y2 - e, b.x2 - b.x1, 2 * e);
        path.addEllipse(QRectF(b.x1, b.y1 - e, b.x2 - b.x1, 2 * e));
        arc(path, bottom, 180, 180);
        path.moveTo(b.x1, b.y1);
        path.lineTo(b.x1, b.y2);
        path.moveTo(b.x2, b.y1);
        path.lineTo(b.x2, b.y2);
        arc(hidden, bottom, 0, 180);
        break;
    }
    case BtMenus::btBall: {
        const int e = b.h / 8;
        const int half = b.w / 2;
        const QRectF equator(b.cx - half, b.cy - e, 2 * half, 2 * e);
        arc(path, equator, 180, 180);
        path.addEllipse(QRectF(b.x1, b.y1, b.w, b.h));
        path.addEllipse(QRectF(b.cx - 1.0, b.cy - 1.0, 2.0, 2.0));
        arc(hidden, equator, 0, 180);
        break;
    }
    case BtMenus::btShape92: {
        const int e = b.h / 8;
        const int u = b.w / 4;
        const QRectF bottom(b.x1, b.y2 - e, b.x2 - b.x1, 2 * e);
        path.addEllipse(QRectF(b.x1 + u, b.y1 - e, (b.x2 - u) - (b.x1 + u), 2 * e));
        arc(path, bottom, 180, 180);
        path.moveTo(b.x1 + u, b.y1);
        path.lineTo(b.x1, b.y2);
        path.moveTo(b.x2 - u, b.y1);
        path.lineTo(b.x2, b.y2);
        return path;
    }
    case BtMenus::btShape93: {
        const int w = b.w;
        const int h = b.h;
        const QPoint k[8] = { { b.x2 - w / 8, b.y1 },
                              { b.x1 + (3 * w) / 8, b.y1 },
                              { b.x1 + w / 8, b.y1 + h / 8 },
                              { b.x2 - (3 * w) / 8, b.y1 + h / 8 },
                              { b.x2, b.y2 },
                              { b.x1 + w / 4, b.y2 },
                              { b.x1, b.y2 + h / 4 },
                              { b.x2 - w / 4, b.y2 + h / 4 } };
        return boxSolid(k);
    }
    default:
        return QPainterPath();
    }
    path.addPath(hidden);
    return path;
}

} // namespace

bool isShapeTool(int tool)
{
    return tool >= BtMenus::btLine && tool <= BtMenus::btShape93 && tool != BtMenus::btPolygon;
}

bool takesFill(int tool)
{
    return isShapeTool(tool) && tool != BtMenus::btLine && tool < BtMenus::btCone;
}

QPainterPath path(int tool, const QPointF &delta, const QPointF &pressInObject,
                  const QPointF &currentInObject)
{
    for (const QPointF &p : { delta, pressInObject, currentInObject }) {
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return QPainterPath();
    }
    const qreal dx = delta.x();
    const qreal dy = delta.y();
    const QRectF n = QRectF(0, 0, dx, dy).normalized();
    const Box b = boxOf(pressInObject, currentInObject);
    QPainterPath result;
    switch (tool) {
    case BtMenus::btLine:
        result.moveTo(0, 0);
        result.lineTo(dx, dy);
        break;
    case BtMenus::btTriangle:
        addPoints(result, { { b.cx, b.y1 }, { b.x1, b.y2 }, { b.x2, b.y2 }, { b.cx, b.y1 } });
        break;
    case BtMenus::btSquare:
        result.addRect(QRectF(0, 0, dx, dx).normalized()); // both sides follow the width
        break;
    case BtMenus::btRectangle:
        result.addRect(n);
        break;
    case BtMenus::btRoundRect:
        return roundRect(n);
    case BtMenus::btCircle:
        return circle(n);
    case BtMenus::btEllipse:
        result.addEllipse(n);
        break;
    case BtMenus::btPentagon: {
        const qreal r = distance(QPoint(b.cx, b.cy), QPoint(b.x2, b.cy));
        QVector<QPoint> points;
        for (int angle : { 18, 90, 162, 234, 306, 18 })
            points << polar(b, r, angle);
        addPoints(result, points);
        break;
    }
    case BtMenus::btHexagon: {
        const qreal r = distance(QPoint(b.cx, b.cy), QPoint(b.x2, b.cy));
        addPoints(result,
                  { { b.x2, b.cy },
                    polar(b, r, 60),
                    polar(b, r, 120),
                    { b.x1, b.cy },
                    polar(b, r, 240),
                    polar(b, r, 300),
                    { b.x2, b.cy } });
        break;
    }
    case BtMenus::btParallelogram:
        addPoints(result,
                  { { int(dx * 0.25), 0 },
                    { 0, int(dy) },
                    near(dx, dy),
                    { int(dx * 5.0 * 0.25), 0 },
                    { int(dx * 0.25), 0 } });
        break;
    case BtMenus::btRightTriangle:
        addPoints(result, { { 0, 0 }, { 0, int(dy) }, near(dx, dy), { 0, 0 } });
        break;
    case BtMenus::btRhombus:
        addPoints(result,
                  { { int(dx * 0.5), 0 },
                    { 0, int(dy * 0.5) },
                    { int(dx * 0.5), int(dy) },
                    { int(dx), int(dy * 0.5) },
                    { int(dx * 0.5), 0 } });
        break;
    case BtMenus::btArrow: {
        const int a = b.w / 3;
        const int q = b.h / 4;
        addPoints(result,
                  { { b.x2, b.cy },
                    { b.x2 - a, b.y1 },
                    { b.x2 - a, b.y1 + q },
                    { b.x1, b.y1 + q },
                    { b.x1, b.y2 - q },
                    { b.x2 - a, b.y2 - q },
                    { b.x2 - a, b.y2 },
                    { b.x2, b.cy } });
        break;
    }
    case BtMenus::btStar:
        return star(b);
    case BtMenus::btDoubleArrow: {
        const int a = b.w / 4;
        const int q = b.h / 4;
        addPoints(result,
                  { { b.x2, b.cy },
                    { b.x2 - a, b.y1 },
                    { b.x2 - a, b.y1 + q },
                    { b.x1 + a, b.y1 + q },
                    { b.x1 + a, b.y1 },
                    { b.x1, b.cy },
                    { b.x1 + a, b.y2 },
                    { b.x1 + a, b.y2 - q },
                    { b.x2 - a, b.y2 - q },
                    { b.x2 - a, b.y2 },
                    { b.x2, b.cy } });
        break;
    }
    default:
        return solid(tool, b);
    }
    return result;
}

QPainterPath pathFor(int tool, const QPointF &press, const QPointF &current,
                     const QGraphicsItem *object)
{
    return path(tool, current - press, object->mapFromScene(press), object->mapFromScene(current));
}

double shortestDistance(const QPointF &p, const QLineF &line)
{
    const double length = line.length();
    if (!(length > 0))
        return QLineF(line.p1(), p).length();
    const double x1 = line.x1();
    const double y1 = line.y1();
    const double x2 = line.x2();
    const double y2 = line.y2();
    return std::abs((x2 - x1) * (y1 - p.y()) - (x1 - p.x()) * (y2 - y1)) / length;
}

} // namespace ShapeGeometry
