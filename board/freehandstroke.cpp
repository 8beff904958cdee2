#include "freehandstroke.h"

#include "douglaspeucker.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <cmath>

namespace FreehandStroke {

namespace {

bool sane(const QRect &bounds)
{
    return bounds.width() < kMaxPictureSide && bounds.height() < kMaxPictureSide;
}

bool usableZoom(double zoom)
{
    return zoom > 0 && std::isfinite(zoom);
}

// The whole pixels by which a stroke begun at first is shifted once divided by zoom.
QPointF shiftOf(const QPointF &first, double zoom)
{
    return QPointF(std::trunc(first.x() / zoom - first.x()),
                   std::trunc(first.y() / zoom - first.y()));
}

} // namespace

QVector<QPointF> scaledCopy(const QVector<QPointF> &points, double zoom)
{
    if (points.isEmpty() || !usableZoom(zoom))
        return points;
    const QPointF shift = shiftOf(points.first(), zoom);
    QVector<QPointF> scaled;
    scaled.reserve(points.size());
    for (const QPointF &point : points)
        scaled << point / zoom - shift;
    return scaled;
}

QPointF scaledPoint(const QPointF &point, const QPointF &first, double zoom)
{
    if (!usableZoom(zoom))
        return point;
    return point / zoom - shiftOf(first, zoom);
}

QPainterPath strokePath(const QVector<QPointF> &scaled)
{
    QPainterPath path;
    if (scaled.isEmpty())
        return path;
    // Every point, however few: a quick dash of a press, two moves and a release is drawn to
    // its end, as the overlay showed it. A tap is a line from its point to itself, a dot.
    path.moveTo(scaled.first());
    for (const QPointF &point : scaled)
        path.lineTo(point);
    return path;
}

QImage nib(const QColor &colour)
{
    QColor opaque = colour;
    opaque.setAlpha(255);
    QImage bar(3, 20, QImage::Format_ARGB32_Premultiplied);
    bar.fill(opaque);
    return bar;
}

QImage textureStamp()
{
    // Made once: every brush and rainbow stroke, live or committed, stamps this one picture.
    static const QImage stamp =
            QImage(QStringLiteral(":/texture/mobi.png"))
                    .scaled(20, 20, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return stamp;
}

QRect stampRect(const QImage &stamp, const QPointF &point)
{
    const QPointF corner = point - QPointF(stamp.width(), stamp.height()) / 2;
    return QRect(QPoint(int(std::floor(corner.x() + 0.5)), int(std::floor(corner.y() + 0.5))),
                 stamp.size());
}

void stampAt(QPainter &painter, const QImage &stamp, const QPointF &point)
{
    painter.drawImage(stampRect(stamp, point).topLeft(), stamp);
}

void stampAlong(QPainter &painter, const QImage &stamp, const QPointF &from, const QPointF &to)
{
    const qreal length = QLineF(from, to).length();
    for (int i = 0; i < length; ++i)
        stampAt(painter, stamp, from + (i / length) * (to - from));
}

QRect strokeBounds(const QVector<QPointF> &scaled, const QPainterPath &path)
{
    return (path.boundingRect() | QPolygonF(scaled).boundingRect()).toRect();
}

QRect textureRegion(const QRect &bounds)
{
    return QRect(bounds.topLeft() - QPoint(8, 8), bounds.bottomRight() + QPoint(8, 8));
}

Picture calligraphic(const QVector<QPointF> &scaled, const QPainterPath &path, const QColor &colour)
{
    const QRect bounds = strokeBounds(scaled, path);
    if (scaled.isEmpty() || !sane(bounds))
        return {};
    QImage picture(bounds.size() + QSize(20, 20), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    const QImage bar = nib(colour);
    // Whole pixels of the scaled frame: the bars land on the pixels stampRect gives them.
    const QPoint topLeft = bounds.topLeft() - QPoint(10, 10);
    QPainter painter(&picture);
    painter.translate(-topLeft);
    QPointF previous = scaled.first();
    for (const QPointF &point : scaled) {
        stampAt(painter, bar, point);
        stampAlong(painter, bar, previous, point);
        previous = point;
    }
    painter.end();
    return { picture, QPointF(topLeft) };
}

Picture texture(const QVector<QPointF> &scaled, const QPainterPath &path, const QImage &stamp)
{
    const QRect bounds = strokeBounds(scaled, path);
    // Stamps go along segments: a single point would leave only the faint ground, a picture
    // nobody can see.
    if (scaled.size() < 2 || !sane(bounds))
        return {};
    const QRect region = textureRegion(bounds);
    QImage picture(region.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(0, 0, 0, 1));
    QPainter painter(&picture);
    painter.translate(-region.topLeft());
    for (int i = 1; i < scaled.size(); ++i) {
        stampAt(painter, stamp, scaled.first());
        stampAlong(painter, stamp, scaled.at(i - 1), scaled.at(i));
    }
    painter.end();
    return { picture, QPointF(region.topLeft()) };
}

QPainterPath smartPath(const QPainterPath &path)
{
    const int count = path.elementCount();
    if (count == 0)
        return {};
    QList<QPointF> points;
    points.reserve(count);
    QPointF sum;
    for (int i = 0; i < count; ++i) {
        const QPointF point(path.elementAt(i).x, path.elementAt(i).y);
        points << point;
        sum += point;
    }
    const QPointF centroid = sum / count;
    qreal spread = 0;
    for (const QPointF &point : qAsConst(points))
        spread += QLineF(centroid, point).length();
    const QList<QPointF> simplified = DouglasPeucker::simplify(points, spread / count);
    QPainterPath polygon;
    polygon.addPolygon(QPolygonF(simplified.toVector()));
    return polygon;
}

} // namespace FreehandStroke
