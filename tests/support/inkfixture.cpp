#include "inkfixture.h"

#include "board/dcustomitem.h"
#include "board/dpage.h"
#include "board/dview.h"

#include <QCoreApplication>
#include <QGraphicsItem>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>

#include <algorithm>
#include <vector>

namespace InkFixture {

void chooseTool(DView *view, int tool)
{
    view->m_penType[0] = tool;
    const bool pen = tool >= 50 && tool <= 69;
    view->setDragMode(QGraphicsView::NoDrag);
    view->setVisibleScribbleArea(pen);
    QCoreApplication::processEvents();
}

QVector<QPoint> line(QPoint from, QPoint to, int count)
{
    QVector<QPoint> points;
    for (int i = 0; i <= count; ++i)
        points << from + (to - from) * i / count;
    return points;
}

QList<QGraphicsItem *> boardObjects(DPage *page)
{
    QList<QGraphicsItem *> objects;
    for (QGraphicsItem *item : page->items(Qt::AscendingOrder)) {
        if (!item->parentItem() && DCustomItem::fromItem(item) && item->isVisible())
            objects << item;
    }
    std::stable_sort(objects.begin(), objects.end(),
                     [](QGraphicsItem *a, QGraphicsItem *b) { return a->zValue() < b->zValue(); });
    return objects;
}

namespace {

constexpr int kFiner = 4;
constexpr int kLighterInside = 32;
constexpr int kEdgeDifference = 64;

} // namespace

QImage fineInk(const QPainterPath &path, const QPen &pen, const QTransform &shown, QSize size)
{
    QImage coverage(size * kFiner, QImage::Format_Alpha8);
    coverage.fill(0);
    QPainter painter(&coverage);
    painter.setTransform(shown * QTransform::fromScale(kFiner, kFiner));
    QPen opaque = pen;
    opaque.setColor(Qt::black);
    painter.setPen(opaque);
    painter.drawPath(path);
    painter.end();
    const QColor colour = pen.color();
    QImage ink(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(ink.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            int covered = 0;
            for (int row = 0; row < kFiner; ++row) {
                const uchar *fine = coverage.constScanLine(y * kFiner + row) + x * kFiner;
                covered += int(std::count_if(fine, fine + kFiner, [](uchar a) { return a > 0; }));
            }
            const auto mix = [covered](int channel) {
                constexpr int samples = kFiner * kFiner;
                return (channel * covered + 255 * (samples - covered) + samples / 2) / samples;
            };
            line[x] = qRgb(mix(colour.red()), mix(colour.green()), mix(colour.blue()));
        }
    }
    return ink;
}

QString InkFaults::toString() const
{
    return QStringLiteral("%1 of %2 pixels inside lighter (by %3 at %4,%5), %6 edge pixels off "
                          "(by %7 at %8,%9)")
            .arg(lightInside)
            .arg(inside)
            .arg(lightest)
            .arg(lightestAt.x())
            .arg(lightestAt.y())
            .arg(wrongEdges)
            .arg(worstEdge)
            .arg(worstEdgeAt.x())
            .arg(worstEdgeAt.y());
}

InkFaults inkFaults(const QImage &reference, const QImage &shown, const QColor &colour)
{
    InkFaults faults;
    const QImage expected = reference.convertToFormat(QImage::Format_RGB32);
    const QImage got = shown.convertToFormat(QImage::Format_RGB32);
    if (expected.size() != got.size())
        return faults;
    const QRgb full = qRgb(colour.red(), colour.green(), colour.blue());
    const int width = expected.width();
    const int height = expected.height();
    std::vector<char> whole(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(expected.constScanLine(y));
        for (int x = 0; x < width; ++x)
            whole[size_t(y) * width + x] = line[x] == full;
    }
    const auto covered = [&whole, width, height](int x, int y) {
        if (x < 1 || y < 1 || x + 1 >= width || y + 1 >= height)
            return false;
        for (int dy = -1; dy <= 1; ++dy) {
            const char *row = &whole[size_t(y + dy) * width + x];
            if (!row[-1] || !row[0] || !row[1])
                return false;
        }
        return true;
    };
    for (int y = 0; y < height; ++y) {
        const auto *gotLine = reinterpret_cast<const QRgb *>(got.constScanLine(y));
        const auto *expectedLine = reinterpret_cast<const QRgb *>(expected.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grey = qGray(gotLine[x]);
            if (covered(x, y)) {
                ++faults.inside;
                const int lighter = grey - qGray(full);
                faults.lightInside += lighter > kLighterInside ? 1 : 0;
                if (lighter > faults.lightest) {
                    faults.lightest = lighter;
                    faults.lightestAt = QPoint(x, y);
                }
                continue;
            }
            const int difference = qAbs(grey - qGray(expectedLine[x]));
            faults.wrongEdges += difference > kEdgeDifference ? 1 : 0;
            if (difference > faults.worstEdge) {
                faults.worstEdge = difference;
                faults.worstEdgeAt = QPoint(x, y);
            }
        }
    }
    return faults;
}

} // namespace InkFixture
