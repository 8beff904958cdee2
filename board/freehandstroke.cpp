#include "freehandstroke.h"

#include "douglaspeucker.h"

#include <QLineF>
#include <QPainter>
#include <QPolygonF>

#include <cmath>

namespace FreehandStroke {

namespace {

// Stamps image with its top-left at every pixel of travel from previous to current, offset by
// (-10, -10), as the overlay's stamp pens do live.
void stampAlong(QPainter &painter, const QImage &image, const QPointF &previous,
                const QPointF &current)
{
    const QPointF nib(10, 10);
    const qreal length = QLineF(previous, current).length();
    for (int i = 0; i < length; ++i)
        painter.drawImage(previous + (i / length) * (current - previous) - nib, image);
}

bool sane(const QRect &bounds)
{
    return bounds.width() < kMaxPictureSide && bounds.height() < kMaxPictureSide;
}

} // namespace

QVector<QPointF> scaledCopy(const QVector<QPointF> &points, double zoom)
{
    if (points.isEmpty() || !(zoom > 0) || !std::isfinite(zoom))
        return points;
    const QPointF first = points.first();
    const qreal dx = std::trunc(first.x() / zoom - first.x());
    const qreal dy = std::trunc(first.y() / zoom - first.y());
    QVector<QPointF> scaled;
    scaled.reserve(points.size());
    for (const QPointF &point : points)
        scaled << QPointF(point.x() / zoom - dx, point.y() / zoom - dy);
    return scaled;
}

QPainterPath strokePath(const QVector<QPointF> &scaled)
{
    QPainterPath path;
    if (scaled.isEmpty())
        return path;
    path.moveTo(scaled.first());
    if (scaled.size() >= 2 && scaled.size() <= 5) {
        path.lineTo(scaled.at(1) + QPointF(1.0, 1.0));
        return path;
    }
    for (const QPointF &point : scaled)
        path.lineTo(point);
    return path;
}

Picture calligraphic(const QVector<QPointF> &scaled, const QPainterPath &path, const QColor &colour)
{
    const QRect bounds = path.boundingRect().toRect();
    if (scaled.isEmpty() || !sane(bounds))
        return {};
    QImage picture(bounds.width() + 20, bounds.height() + 20, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QColor opaque = colour;
    opaque.setAlpha(255); // the nib is solid whatever the pen's own alpha
    QImage nib(3, 20, QImage::Format_ARGB32_Premultiplied);
    nib.fill(opaque);

    qreal minX = scaled.first().x();
    qreal minY = scaled.first().y();
    for (int i = 0; i < path.elementCount(); ++i) {
        minX = qMin(minX, path.elementAt(i).x);
        minY = qMin(minY, path.elementAt(i).y);
    }
    const QPointF origin(minX - 10, minY - 10);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QPointF previous = scaled.first() - origin;
    for (const QPointF &point : scaled) {
        const QPointF current = point - origin;
        painter.drawImage(current - QPointF(10, 10), nib);
        stampAlong(painter, nib, previous, current);
        previous = current;
    }
    painter.end();
    return { picture, QPointF(bounds.topLeft()) - QPointF(10, 10) };
}

Picture texture(const QVector<QPointF> &scaled, const QPainterPath &path, const QImage &stamp)
{
    const QRect bounds = path.boundingRect().toRect();
    // Stamps go along segments: a single point would leave only the faint ground, a picture
    // nobody can see.
    if (scaled.size() < 2 || !sane(bounds))
        return {};
    // The region kept around the stroke; stamps and crop share the scaled frame, so what is
    // kept is what was stamped.
    const QRect region(bounds.topLeft() - QPoint(8, 8), bounds.bottomRight() + QPoint(8, 8));
    QImage picture(region.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(0, 0, 0, 1));
    QPainter painter(&picture);
    painter.translate(-region.topLeft());
    const QPointF nib(10, 10);
    for (int i = 1; i < scaled.size(); ++i) {
        painter.drawImage(scaled.first() - nib, stamp);
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
