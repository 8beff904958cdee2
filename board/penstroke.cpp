#include "penstroke.h"

#include "curvelines.h"
#include "strokecoverage.h"

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygonF>
#include <QVector>

#include <algorithm>
#include <cmath>

namespace {

// Rows of ink measured at a time.
constexpr int kBandRows = 128;

// Readers of these files stroke the pen themselves.
bool strokesItself(const QPaintEngine *engine)
{
    return engine
            && (engine->type() == QPaintEngine::Pdf || engine->type() == QPaintEngine::SVG
                || engine->type() == QPaintEngine::PostScript);
}

// Pixels of its own: not those files, nor a recording of painter commands.
bool drawsOnPixels(const QPaintEngine *engine)
{
    return engine && !strokesItself(engine) && engine->type() != QPaintEngine::Picture;
}

bool isRoundPen(const QPen &pen)
{
    return pen.style() != Qt::NoPen && pen.joinStyle() == Qt::RoundJoin && !pen.isCosmetic()
            && pen.widthF() > 0;
}

// The scale of shown, alike both ways and without a slant (turned or mirrored at most); 0 for
// any other.
qreal evenScale(const QTransform &shown)
{
    if (shown.m13() != 0 || shown.m23() != 0 || shown.m33() != 1)
        return 0;
    const qreal across = shown.m11() * shown.m11() + shown.m12() * shown.m12();
    const qreal down = shown.m21() * shown.m21() + shown.m22() * shown.m22();
    const qreal slant = shown.m11() * shown.m21() + shown.m12() * shown.m22();
    constexpr qreal kEven = 1e-9;
    if (!(across > 0) || std::abs(across - down) > kEven * across
        || std::abs(slant) > kEven * across)
        return 0;
    return std::sqrt(across);
}

// The painter's pixels in the coordinates of an untransformed painter, within its clip.
QRect drawnPixels(const QPainter *painter)
{
    const QPaintDevice *device = painter->device();
    QRect pixels(0, 0, device->width(), device->height());
    if (painter->hasClipping())
        pixels &= painter->combinedTransform().mapRect(painter->clipBoundingRect()).toAlignedRect();
    return pixels;
}

// The lines of path where shown; false when it holds a curve.
bool shownLines(const QPainterPath &path, const QTransform &shown, QVector<QPolygonF> *lines)
{
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (element.isCurveTo())
            return false;
        if (element.isMoveTo() || lines->isEmpty())
            lines->append(QPolygonF());
        lines->last().append(shown.map(QPointF(element.x, element.y)));
    }
    return true;
}

// The pen's stroke of lines as one ink (inksWhole() holds).
void inkLines(QPainter *painter, const QVector<QPolygonF> &lines, qreal radius)
{
    QRectF bounds;
    for (const QPolygonF &line : lines)
        bounds |= line.boundingRect();
    const qreal margin = radius + 2;
    const QRect area = bounds.adjusted(-margin, -margin, margin, margin).toAlignedRect()
            & drawnPixels(painter);
    if (area.isEmpty())
        return;
    const QRgb colour = qPremultiply(painter->pen().color().rgba());
    painter->save();
    painter->resetTransform();
    // Band by band: a stroke across a large picture needs no second picture as large.
    for (int top = area.top(); top <= area.bottom(); top += kBandRows) {
        const QRect band(area.left(), top, area.width(),
                         std::min(kBandRows, area.bottom() - top + 1));
        painter->drawImage(band.topLeft(), StrokeCoverage::draw(lines, radius, colour, band));
    }
    painter->restore();
}

} // namespace

namespace PenStroke {

bool inksWhole(const QPainter *painter, const QPen &pen)
{
    if (!isRoundPen(pen) || pen.capStyle() != Qt::RoundCap || pen.style() != Qt::SolidLine
        || pen.brush().style() != Qt::SolidPattern
        || !painter->testRenderHint(QPainter::Antialiasing)
        || !drawsOnPixels(painter->paintEngine()))
        return false;
    const QPaintDevice *device = painter->device();
    if (!device || device->devicePixelRatioF() != 1)
        return false;
    return pen.widthF() * evenScale(painter->combinedTransform()) / 2
            >= StrokeCoverage::kLeastRadius;
}

void drawPath(QPainter *painter, const QPainterPath &path, Curves curves)
{
    const QPen pen = painter->pen();
    if (strokesItself(painter->paintEngine()) || !isRoundPen(pen)) {
        painter->drawPath(path);
        return;
    }
    QPainterPath drawn = path;
    const QTransform shown = painter->combinedTransform();
    if (curves == Curves::AsLines && CurveLines::hasCurves(path)) {
        const qreal scale = std::sqrt(std::abs(shown.determinant()));
        const qreal tolerance = CurveLines::kShownTolerance
                / (std::isfinite(scale) && scale > 0 ? scale : qreal(1));
        drawn = CurveLines::lines(path, tolerance);
    }
    QVector<QPolygonF> lines;
    if (!inksWhole(painter, pen) || !shownLines(drawn, shown, &lines)) {
        painter->drawPath(drawn);
        return;
    }
    if (painter->brush().style() != Qt::NoBrush)
        painter->fillPath(drawn, painter->brush());
    inkLines(painter, lines, pen.widthF() * evenScale(shown) / 2);
}

} // namespace PenStroke
