#include "smoothpicture.h"

#include "dpage.h" // strokepictures.h keeps a guarded pointer to a page
#include "dview.h"
#include "pictures/picturereductions.h"
#include "strokepictures.h"

#include <QBrush>
#include <QCoreApplication>
#include <QGraphicsItem>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <QSemaphore>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <functional>
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

// Shown smaller than its pixels, a picture is drawn at this many times the device's resolution,
// each square of that many pixels averaged into one of the device's.
constexpr int kFiner = 2;

// The size in device pixels of a picture of pixels, each taken to the device by toDevice, however
// turned; no larger than its own either way.
QSize shownSize(const QTransform &toDevice, QSize pixels)
{
    const double wide = pixels.width() * std::hypot(toDevice.m11(), toDevice.m12());
    const double high = pixels.height() * std::hypot(toDevice.m21(), toDevice.m22());
    if (pixels.isEmpty() || !std::isfinite(wide) || !std::isfinite(high))
        return pixels;
    return QSize(std::max(1, int(std::min(std::round(wide), double(pixels.width())))),
                 std::max(1, int(std::min(std::round(high), double(pixels.height())))));
}

// brush with its picture averaged down to size, its tiles as large as before.
QBrush reducedBrush(const QBrush &brush, QSize size)
{
    const QImage texture = brush.textureImage();
    const QImage small = PictureReductions::reduced(texture, size, true);
    QBrush reduced(small);
    reduced.setTransform(QTransform::fromScale(qreal(texture.width()) / small.width(),
                                               qreal(texture.height()) / small.height())
                         * brush.transform());
    return reduced;
}

bool onePixelForOne(const QTransform &shown)
{
    return shown.type() <= QTransform::TxTranslate && shown.dx() == std::round(shown.dx())
            && shown.dy() == std::round(shown.dy());
}

bool onPixels(const QPainter *painter)
{
    const QPaintEngine *engine = painter->paintEngine();
    return engine && engine->type() == QPaintEngine::Raster && painter->device();
}

// The device pixels about covered (painter coordinates) that painter paints: within the device,
// the clip and what the board repaints.
QRect paintedArea(QPainter *painter, const QRectF &covered)
{
    const QTransform shown = painter->combinedTransform();
    const QPaintDevice *device = painter->device();
    QRectF area = shown.mapRect(covered).adjusted(-1, -1, 1, 1)
            & QRectF(0, 0, device->width(), device->height());
    if (painter->hasClipping())
        area &= shown.mapRect(painter->clipBoundingRect());
    // Only what the board repaints (a band of it, a strip scrolled in): the whole picture
    // filtered for each of four bands took four times as long.
    const QRegion repainted = painter->paintEngine()->systemClip();
    if (!repainted.isEmpty()) {
        const QPointF offset = painter->deviceTransform().map(QPointF())
                - shown.map(QPointF()); // where the device lies in what the engine paints
        area &= QRectF(repainted.boundingRect()).translated(-offset);
    }
    return area.toAlignedRect();
}

// Whether painting over area is shared out in bands to the band threads: only from the board's
// thread (a painting thread's own bands would wait for threads that may all be painting).
bool sharedOut(const QRect &area)
{
    return StrokePictures::threads() >= 2 && QCoreApplication::instance()
            && QThread::currentThread() == QCoreApplication::instance()->thread()
            && qint64(area.width()) * area.height() >= kSharedFromPixels;
}

// The pictures of a band: what it shows, and what that is averaged from.
struct Band
{
    QImage shown;
    QImage finer;
};

// Paints area (device pixels) band by band of rows, each made by paintBand into a picture of
// its own and laid in turn at whole pixels; shared, on the board's thread and the band threads
// at once, a round of bands at a time.
void layInBands(QPainter *painter, const QRect &area, bool finer, bool shared,
                const std::function<void(Band &band, int top)> &paintBand)
{
    QThreadPool *pool = shared ? g_bandPool() : nullptr;
    if (pool)
        pool->setMaxThreadCount(StrokePictures::threads());
    // Made here, not by the threads, whose own heaps would keep the memory once given back.
    std::vector<Band> bands(size_t(shared ? StrokePictures::threads() + 1 : 1));
    for (Band &band : bands) {
        band.shown = QImage(area.width(), kBandRows, QImage::Format_ARGB32_Premultiplied);
        if (finer)
            band.finer = QImage(area.width() * kFiner, kBandRows * kFiner,
                                QImage::Format_ARGB32_Premultiplied);
    }
    const int roundRows = int(bands.size()) * kBandRows;
    painter->save();
    painter->resetTransform();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (int roundTop = area.top(); roundTop <= area.bottom(); roundTop += roundRows) {
        const size_t count =
                std::min(bands.size(), size_t((area.bottom() - roundTop) / kBandRows + 1));
        QSemaphore painted;
        for (size_t n = 1; n < count; ++n) {
            pool->start([&, n] {
                paintBand(bands[n], roundTop + int(n) * kBandRows);
                painted.release();
            });
        }
        paintBand(bands[0], roundTop);
        painted.acquire(int(count) - 1);
        for (size_t n = 0; n < count; ++n) {
            const int top = roundTop + int(n) * kBandRows;
            painter->drawImage(
                    QPoint(area.x(), top), bands[n].shown,
                    QRect(0, 0, area.width(), std::min(kBandRows, area.bottom() + 1 - top)));
        }
    }
    painter->restore();
}

// Each pixel of shown the average of the square of kFiner x kFiner pixels of finer over it.
void averageInto(const QImage &finer, QImage *shown)
{
    static_assert(kFiner == 2, "averaged by squares of four");
    for (int y = 0; y < shown->height(); ++y) {
        const auto *upper = reinterpret_cast<const quint32 *>(finer.constScanLine(2 * y));
        const auto *lower = reinterpret_cast<const quint32 *>(finer.constScanLine(2 * y + 1));
        auto *line = reinterpret_cast<quint32 *>(shown->scanLine(y));
        for (int x = 0; x < shown->width(); ++x) {
            const quint32 a = upper[2 * x];
            const quint32 b = upper[2 * x + 1];
            const quint32 c = lower[2 * x];
            const quint32 d = lower[2 * x + 1];
            // Two channels at once, each in 16 bits: four of them never carry into the next.
            const quint32 redBlue = (a & 0x00ff00ffu) + (b & 0x00ff00ffu) + (c & 0x00ff00ffu)
                    + (d & 0x00ff00ffu) + 0x00020002u;
            const quint32 alphaGreen = ((a >> 8) & 0x00ff00ffu) + ((b >> 8) & 0x00ff00ffu)
                    + ((c >> 8) & 0x00ff00ffu) + ((d >> 8) & 0x00ff00ffu) + 0x00020002u;
            line[x] = ((redBlue >> 2) & 0x00ff00ffu) | (((alphaGreen >> 2) & 0x00ff00ffu) << 8);
        }
    }
}

// What paint paints (painter coordinates) over area (device pixels), averaged over each device
// pixel as a photo viewer shows a picture made small: painted kFiner times finer, where a
// picture averaged down to kFiner times its shown size is filtered about one for one, and
// every square of kFiner x kFiner averaged. Filtered straight at the device's pixels, each took
// its colour from the four picture pixels nearest its centre alone, whatever lay between.
void paintAveraged(QPainter *painter, const QRect &area,
                   const std::function<void(QPainter *finer)> &paint)
{
    const QTransform shown = painter->combinedTransform();
    const QPainter::RenderHints hints = painter->renderHints() | QPainter::SmoothPixmapTransform;
    const QPointF brushOrigin = painter->brushOrigin();
    layInBands(painter, area, true, sharedOut(area), [&](Band &band, int top) {
        band.finer.fill(Qt::transparent);
        {
            QPainter finer(&band.finer);
            finer.setRenderHints(hints);
            finer.setTransform(shown * QTransform::fromTranslate(-area.x(), -top)
                               * QTransform::fromScale(kFiner, kFiner));
            finer.setBrushOrigin(brushOrigin);
            paint(&finer);
        }
        averageInto(band.finer, &band.shown);
    });
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
    layInBands(painter, area, false, true, [&](Band &band, int top) {
        band.shown.fill(Qt::transparent);
        QPainter bandPainter(&band.shown);
        bandPainter.setRenderHints(hints);
        bandPainter.setTransform(shown * QTransform::fromTranslate(-area.x(), -top));
        bandPainter.drawImage(target, source, QRectF(source.rect()));
    });
}

// The device pixels a turned picture covers, to be filtered in bands; null where it is drawn
// at once.
QRect sharedArea(QPainter *painter, const QRectF &target)
{
    // Only a turned picture costs enough: filtered across a screen without a turn, it costs
    // less than laying the bands.
    if (!onPixels(painter) || painter->combinedTransform().type() <= QTransform::TxScale)
        return QRect();
    const QRect area = paintedArea(painter, target);
    return sharedOut(area) ? area : QRect();
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

// picture averaged down to size; for item on the board, where that costs, averaged beside the
// board, and meanwhile the closest there is (or picture itself) standing in.
QImage averagedFor(const QImage &picture, QSize size, bool keep, QGraphicsItem *item)
{
    if (!item || size == picture.size() || !PictureReductions::costly(picture))
        return PictureReductions::reduced(picture, size, keep);
    QImage found = PictureReductions::kept(picture, size);
    if (found.isNull())
        found = PictureReductions::reduceSoon(picture, size, item);
    return found.isNull() ? picture : found;
}

// picture drawn over target as SmoothPicture::draw() draws it; made small beside the board, for
// item, where that costs, and item repainted when it comes.
void drawPicture(QPainter *painter, const QRectF &target, const QImage &picture, bool keep,
                 QGraphicsItem *item)
{
    if (picture.isNull() || target.isEmpty())
        return;
    painter->save();
    SmoothPicture::prepare(painter);
    const QTransform toDevice = QTransform::fromScale(target.width() / picture.width(),
                                                      target.height() / picture.height())
            * painter->combinedTransform();
    const QSize small = shownSize(toDevice, picture.size());
    if (small != picture.size() && onPixels(painter)) {
        const QRect area = paintedArea(painter, target);
        if (!area.isEmpty()) {
            const QImage finer = averagedFor(
                    picture,
                    shownSize(toDevice * QTransform::fromScale(kFiner, kFiner), picture.size()),
                    keep, item);
            paintAveraged(painter, area, [&](QPainter *finerPainter) {
                finerPainter->drawImage(target, finer, QRectF(finer.rect()));
            });
        }
    } else {
        // Not smaller than its pixels; or not laid on pixels (a recording, a sheet), and then
        // averaged down to its shown size alone.
        const QImage reduced = PictureReductions::reduced(picture, small, keep);
        const QRect area = sharedArea(painter, target);
        if (area.isEmpty()) {
            const QImage shown = SmoothPicture::forPrint(painter, target.size(), reduced);
            painter->drawImage(target, shown, QRectF(shown.rect()));
        } else {
            drawInBands(painter, target, reduced, area);
        }
    }
    painter->restore();
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

void draw(QPainter *painter, const QRectF &target, const QImage &picture, Keep keep)
{
    drawPicture(painter, target, picture, keep == Kept, nullptr);
}

void draw(QPainter *painter, const QRectF &target, const QPixmap &picture, const QWidget *widget,
          QGraphicsItem *item, Keep keep)
{
    if (widget && painter->device() == widget && DView::repaintsOnceSharp(widget)) {
        painter->drawPixmap(target, picture, QRectF(picture.rect()));
        return;
    }
    const bool repainted = keep == Kept && dynamic_cast<QObject *>(item);
    drawPicture(painter, target, picture.toImage(), keep == Kept, repainted ? item : nullptr);
}

bool fillSmall(QPainter *painter, const QPainterPath &path, const QBrush &brush)
{
    if (brush.style() != Qt::TexturePattern)
        return false;
    const QImage texture = brush.textureImage();
    const QTransform toDevice = brush.transform() * painter->combinedTransform();
    const QSize small = shownSize(toDevice, texture.size());
    if (small == texture.size())
        return false;
    if (!onPixels(painter)) {
        painter->fillPath(path, reducedBrush(brush, small));
        return true;
    }
    const QRect area = paintedArea(painter, path.boundingRect());
    if (area.isEmpty())
        return true;
    const QBrush finer = reducedBrush(
            brush, shownSize(toDevice * QTransform::fromScale(kFiner, kFiner), texture.size()));
    paintAveraged(painter, area,
                  [&](QPainter *finerPainter) { finerPainter->fillPath(path, finer); });
    return true;
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
