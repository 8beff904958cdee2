#include "smoothpicture.h"

#include "dpage.h" // strokepictures.h keeps a guarded pointer to a page
#include "dview.h"
#include "strokepictures.h"

#include <QBrush>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QSemaphore>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Filtered over fewer pixels than this, a picture is drawn at once: handing it out would cost
// more than it saves.
constexpr qint64 kSharedFromPixels = 256 * 256;
// The rows of a band. A round of bands takes a screen's width times this many rows a thread
// beside the board, however large the picture shows.
constexpr int kBandRows = 32;

Q_GLOBAL_STATIC(QThreadPool, g_bandPool)

// A sheet's pictures: resampled to kPrintDpi of their pixels an inch where they would show
// fewer than kPrintDpi / kCoarseFactor, and no larger than kMaxPrintSide either way (a photo
// blown up over a whole sheet is some 1,700 pixels wide at this density).
constexpr double kPrintDpi = 150;
constexpr double kCoarseFactor = 1.5;
constexpr int kMaxPrintSide = 4096;

bool onePixelForOne(const QTransform &shown)
{
    return shown.type() <= QTransform::TxTranslate && shown.dx() == std::round(shown.dx())
            && shown.dy() == std::round(shown.dy());
}

// The device pixels the drawing covers, to be filtered in bands; null where it is drawn at once.
QRect sharedArea(QPainter *painter, const QRectF &target)
{
    // Only a turned picture costs enough: filtered across a screen without a turn, it costs
    // less than laying the bands.
    const QTransform shown = painter->combinedTransform();
    const QPaintEngine *engine = painter->paintEngine();
    const QPaintDevice *device = painter->device();
    if (!engine || engine->type() != QPaintEngine::Raster || !device
        || shown.type() <= QTransform::TxScale || StrokePictures::threads() < 2)
        return QRect();
    QRectF covered = shown.mapRect(target).adjusted(-1, -1, 1, 1)
            & QRectF(0, 0, device->width(), device->height());
    if (painter->hasClipping())
        covered &= shown.mapRect(painter->clipBoundingRect());
    // Only what the board repaints (a band of it, a strip scrolled in): the whole picture
    // filtered for each of four bands took four times as long.
    const QRegion repainted = engine->systemClip();
    if (!repainted.isEmpty()) {
        const QPointF offset = painter->deviceTransform().map(QPointF())
                - shown.map(QPointF()); // where the device lies in what the engine paints
        covered &= QRectF(repainted.boundingRect()).translated(-offset);
    }
    const QRect area = covered.toAlignedRect();
    return qint64(area.width()) * area.height() >= kSharedFromPixels ? area : QRect();
}

// Filters picture over area (device pixels) in bands of rows, on the board's thread and the
// band threads, each band into a picture of its own laid in turn at whole pixels: each is
// filtered as the whole would be, row for row.
void drawInBands(QPainter *painter, const QRectF &target, const QImage &picture, const QRect &area)
{
    // Converted once here rather than by every band's painter.
    const QImage source = picture.format() == QImage::Format_RGB32
                    || picture.format() == QImage::Format_ARGB32_Premultiplied
            ? picture
            : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QTransform shown = painter->combinedTransform();
    const QPainter::RenderHints hints = painter->renderHints();
    QThreadPool *pool = g_bandPool();
    pool->setMaxThreadCount(StrokePictures::threads());
    // Made here, not by the threads, whose own heaps would keep the memory once given back.
    std::vector<QImage> bands(size_t(StrokePictures::threads() + 1));
    for (QImage &band : bands)
        band = QImage(area.width(), kBandRows, QImage::Format_ARGB32_Premultiplied);
    const int roundRows = int(bands.size()) * kBandRows;
    painter->resetTransform();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int roundTop = area.top(); roundTop <= area.bottom(); roundTop += roundRows) {
        const auto filter = [&](size_t n) {
            bands[n].fill(Qt::transparent);
            QPainter bandPainter(&bands[n]);
            bandPainter.setRenderHints(hints);
            bandPainter.setTransform(
                    shown * QTransform::fromTranslate(-area.x(), -(roundTop + int(n) * kBandRows)));
            bandPainter.drawImage(target, source, QRectF(source.rect()));
        };
        const size_t count =
                std::min(bands.size(), size_t((area.bottom() - roundTop) / kBandRows + 1));
        QSemaphore filtered;
        for (size_t n = 1; n < count; ++n) {
            pool->start([&filter, &filtered, n] {
                filter(n);
                filtered.release();
            });
        }
        filter(0);
        filtered.acquire(int(count) - 1);
        for (size_t n = 0; n < count; ++n) {
            const int top = roundTop + int(n) * kBandRows;
            painter->drawImage(
                    QPoint(area.x(), top), bands[n],
                    QRect(0, 0, area.width(), std::min(kBandRows, area.bottom() + 1 - top)));
        }
    }
}

// picture shown over shown (painter coordinates), onSheet taking them to the device.
QImage printed(const QPainter *painter, const QTransform &onSheet, const QSizeF &shown,
               const QImage &picture)
{
    const QPaintEngine *engine = painter->paintEngine();
    const QPaintDevice *device = painter->device();
    if (!engine || engine->type() != QPaintEngine::Pdf || !device || picture.isNull())
        return picture;
    // The picture's sides in inches of the sheet, however it is turned.
    const double wide =
            shown.width() * std::hypot(onSheet.m11(), onSheet.m12()) / device->logicalDpiX();
    const double high =
            shown.height() * std::hypot(onSheet.m21(), onSheet.m22()) / device->logicalDpiY();
    QSizeF wanted(wide * kPrintDpi, high * kPrintDpi);
    if (!(wanted.width() > picture.width() * kCoarseFactor
          || wanted.height() > picture.height() * kCoarseFactor))
        return picture;
    wanted = wanted.expandedTo(picture.size());
    if (wanted.width() > kMaxPrintSide || wanted.height() > kMaxPrintSide)
        wanted.scale(kMaxPrintSide, kMaxPrintSide, Qt::KeepAspectRatio);
    return picture.scaled(wanted.toSize().expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio,
                          Qt::SmoothTransformation);
}

} // namespace

namespace SmoothPicture {

void prepare(QPainter *painter)
{
    const bool filtered = !onePixelForOne(painter->combinedTransform());
    painter->setRenderHint(QPainter::SmoothPixmapTransform, filtered);
    if (filtered)
        painter->setRenderHint(QPainter::Antialiasing);
}

void draw(QPainter *painter, const QRectF &target, const QImage &picture)
{
    painter->save();
    prepare(painter);
    const QRect area = sharedArea(painter, target);
    if (area.isEmpty()) {
        const QImage shown = forPrint(painter, target.size(), picture);
        painter->drawImage(target, shown, QRectF(shown.rect()));
    } else {
        drawInBands(painter, target, picture, area);
    }
    painter->restore();
}

void draw(QPainter *painter, const QRectF &target, const QPixmap &picture, const QWidget *widget)
{
    if (widget && painter->device() == widget && DView::repaintsOnceSharp(widget))
        painter->drawPixmap(target, picture, QRectF(picture.rect()));
    else
        draw(painter, target, picture.toImage());
}

QImage forPrint(const QPainter *painter, const QSizeF &shown, const QImage &picture)
{
    return printed(painter, painter->combinedTransform(), shown, picture);
}

bool fillForPrint(QPainter *painter, const QPainterPath &path, const QBrush &brush)
{
    if (brush.style() != Qt::TexturePattern)
        return false;
    const QImage texture = brush.textureImage();
    // The brush's own transform (where its tiles are anchored, how large) comes before the
    // painter's.
    const QImage finer = printed(painter, brush.transform() * painter->combinedTransform(),
                                 QSizeF(texture.size()), texture);
    if (finer.cacheKey() == texture.cacheKey())
        return false;
    // Filled in the frame of the finer tiles, so that each covers what a tile covered.
    const QTransform tiles = QTransform::fromScale(qreal(texture.width()) / finer.width(),
                                                   qreal(texture.height()) / finer.height())
            * brush.transform();
    painter->save();
    painter->setWorldTransform(tiles * painter->worldTransform());
    painter->setBrushOrigin(0, 0);
    painter->fillPath(tiles.inverted().map(path), QBrush(finer));
    painter->restore();
    return true;
}

} // namespace SmoothPicture
