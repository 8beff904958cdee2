#include "smoothpicture.h"

#include "dpage.h" // strokepictures.h keeps a guarded pointer to a page
#include "dview.h"
#include "pictures/picturereductions.h"
#include "shownpictures.h"
#include "strokepictures.h"

#include <QBrush>
#include <QCoreApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
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

// A large picture shown smaller than its pixels is made ready whole up to this many times the
// device's pixels, else the part the device shows.
constexpr qint64 kWholeDevices = 4;

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
bool onBoardThread()
{
    return QCoreApplication::instance()
            && QThread::currentThread() == QCoreApplication::instance()->thread();
}

bool sharedOut(const QRect &area)
{
    return StrokePictures::threads() >= 2 && onBoardThread()
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
        static_assert(kFiner == 2, "averaged by squares of four");
        PictureReductions::halveInto(band.finer, &band.shown);
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

// The share of each picture column (or row) a device pixel covers: from first, weights in turn
// (a device pixel's part of the picture, in picture pixels, times the device pixels a picture
// pixel makes, so that a pixel covered whole has them sum to one).
struct Covered
{
    int first = 0;
    std::vector<float> weights;
};

// For each device pixel from start on, count of them, what it covers of a picture side of
// pixels laid from offset at scale device pixels a picture pixel.
std::vector<Covered> coveredAlong(int start, int count, double offset, double scale, int pixels)
{
    std::vector<Covered> covered(size_t(std::max(0, count)));
    for (int n = 0; n < count; ++n) {
        const double from = std::max(0.0, (start + n - offset) / scale);
        const double to = std::min(double(pixels), (start + n + 1 - offset) / scale);
        Covered &one = covered[size_t(n)];
        one.first = int(std::floor(from));
        for (int pixel = one.first; pixel < to; ++pixel)
            one.weights.push_back(
                    float((std::min(pixel + 1.0, to) - std::max(double(pixel), from)) * scale));
    }
    return covered;
}

// picture laid over area (device pixels) by toDevice, a scale and a move alone, each device
// pixel the average of the picture pixels it covers, weighed by how much of each it covers;
// at the picture's edges, what it covers of the pixel is its alpha.
QImage averagedByArea(const QImage &picture, const QTransform &toDevice, const QRect &area)
{
    const std::vector<Covered> across =
            coveredAlong(area.x(), area.width(), toDevice.dx(), toDevice.m11(), picture.width());
    const std::vector<Covered> down =
            coveredAlong(area.y(), area.height(), toDevice.dy(), toDevice.m22(), picture.height());
    QImage shown(area.size(), QImage::Format_ARGB32_Premultiplied);
    const int width = area.width();
    std::vector<float> row(size_t(width) * 4); // a picture row, averaged across
    std::vector<float> sum(size_t(width) * 4);
    int rowOf = -1;
    for (int y = 0; y < area.height(); ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const Covered &rows = down[size_t(y)];
        for (size_t n = 0; n < rows.weights.size(); ++n) {
            const int pictureRow = rows.first + int(n);
            if (pictureRow != rowOf) {
                // A row shared by two device rows is averaged across once.
                rowOf = pictureRow;
                const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(rowOf));
                for (int x = 0; x < width; ++x) {
                    const Covered &columns = across[size_t(x)];
                    float *averaged = &row[size_t(x) * 4];
                    std::fill(averaged, averaged + 4, 0.0f);
                    for (size_t m = 0; m < columns.weights.size(); ++m) {
                        const QRgb pixel = line[columns.first + int(m)];
                        const float weight = columns.weights[m];
                        averaged[0] += weight * float(qRed(pixel));
                        averaged[1] += weight * float(qGreen(pixel));
                        averaged[2] += weight * float(qBlue(pixel));
                        averaged[3] += weight * float(qAlpha(pixel));
                    }
                }
            }
            const float weight = rows.weights[n];
            for (size_t channel = 0; channel < row.size(); ++channel)
                sum[channel] += weight * row[channel];
        }
        auto *line = reinterpret_cast<QRgb *>(shown.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const float *averaged = &sum[size_t(x) * 4];
            const int alpha = std::clamp(int(averaged[3] + 0.5f), 0, 255);
            // Premultiplied, no channel exceeds the alpha.
            const auto channel = [alpha](float value) {
                return std::clamp(int(value + 0.5f), 0, alpha);
            };
            line[x] =
                    qRgba(channel(averaged[0]), channel(averaged[1]), channel(averaged[2]), alpha);
        }
    }
    return shown;
}

// What paint paints (toDevice taking it to a device's pixels) over area of those pixels,
// painted kFiner times finer and averaged by squares, band by band of rows: the whole painted
// finer would take four times the picture made. Null where there is no memory for it.
QImage averagedInBands(const QTransform &toDevice, const QRect &area,
                       const std::function<void(QPainter *finer)> &paint)
{
    QImage shown(area.size(), QImage::Format_ARGB32_Premultiplied);
    QImage finer(area.width() * kFiner, kBandRows * kFiner, QImage::Format_ARGB32_Premultiplied);
    if (shown.isNull() || finer.isNull())
        return QImage();
    for (int top = 0; top < area.height(); top += kBandRows) {
        finer.fill(Qt::transparent);
        {
            QPainter painter(&finer);
            painter.setRenderHints(QPainter::SmoothPixmapTransform | QPainter::Antialiasing);
            painter.setTransform(toDevice * QTransform::fromTranslate(-area.x(), -(area.y() + top))
                                 * QTransform::fromScale(kFiner, kFiner));
            paint(&painter);
        }
        QImage band(shown.scanLine(top), area.width(), std::min(kBandRows, area.height() - top),
                    int(shown.bytesPerLine()), shown.format());
        static_assert(kFiner == 2, "averaged by squares of four");
        PictureReductions::halveInto(finer, &band);
    }
    return shown;
}

// What of picture, shown over small pixels of painter's device, a sheet is given: as many as
// kPrintDpi an inch need, and the picture as it is when that is not far from them. Averaged to
// the sheet's own dots, a photo decoded for its sheet was made smaller and then larger again
// for the density print needs, each step over its every pixel, and its sheet took four times
// as long to write.
QSize sheetSize(const QPainter *painter, QSize small, const QImage &picture)
{
    const QPaintEngine *engine = painter->paintEngine();
    const QPaintDevice *device = painter->device();
    if (!engine || engine->type() != QPaintEngine::Pdf || !device || device->logicalDpiX() <= 0)
        return small;
    const double density = std::max(1.0, kPrintDpi / device->logicalDpiX());
    const QSize needed = (QSizeF(small) * density).toSize().boundedTo(picture.size());
    if (picture.width() <= needed.width() * kCoarseFactor
        && picture.height() <= needed.height() * kCoarseFactor)
        return picture.size();
    return needed;
}

// A turned picture on a sheet, laid upright: the picture turned within a picture of its own,
// its edges smoothed there. A viewer lays a turned picture's pixels without smoothing its
// edges, which came out in steps. Dense enough for kPrintDpi an inch, and for the picture's
// own pixels as far as kMaxPrintSide allows. False where painter paints no sheet or picture
// is not turned.
bool drawUprightOnSheet(QPainter *painter, const QRectF &target, const QImage &picture)
{
    const QPaintEngine *engine = painter->paintEngine();
    const QPaintDevice *device = painter->device();
    const QTransform shown = painter->combinedTransform();
    if (!engine || engine->type() != QPaintEngine::Pdf || !device || picture.isNull()
        || shown.type() <= QTransform::TxScale || target.isEmpty())
        return false;
    const QRectF box = shown.mapRect(target);
    // The picture's pixels a unit of the sheet, along its width.
    const double own = picture.width() / (target.width() * std::hypot(shown.m11(), shown.m12()));
    double density = std::max(kPrintDpi / device->logicalDpiX(), own);
    density = std::min(density, kMaxPrintSide / std::max(box.width(), box.height()));
    const QSize size = (box.size() * density).toSize().expandedTo(QSize(1, 1));
    const QTransform toUpright = shown * QTransform::fromTranslate(-box.x(), -box.y())
            * QTransform::fromScale(size.width() / box.width(), size.height() / box.height());
    // Shown smaller than its pixels there, it is averaged down first, as on the board.
    const QImage source = PictureReductions::reduced(
            picture,
            shownSize(QTransform::fromScale(target.width() / picture.width(),
                                            target.height() / picture.height())
                              * toUpright,
                      picture.size()),
            false);
    const QImage upright =
            SmoothPicture::averagedOver(source, target, toUpright, QRect(QPoint(), size));
    painter->save();
    painter->resetTransform();
    painter->drawImage(box, upright);
    painter->restore();
    return true;
}

// picture drawn over target as SmoothPicture::draw() draws it; made small beside the board, for
// item, where that costs, and item repainted when it comes.
void drawPicture(QPainter *painter, const QRectF &target, const QImage &picture, bool keep,
                 QGraphicsItem *item)
{
    if (picture.isNull() || target.isEmpty())
        return;
    if (auto *recorder = dynamic_cast<SmoothPicture::SheetRecorder *>(painter->device())) {
        recorder->drawLater(picture);
        painter->drawImage(target, picture, QRectF(picture.rect()));
        return;
    }
    painter->save();
    SmoothPicture::prepare(painter);
    const QTransform toDevice = QTransform::fromScale(target.width() / picture.width(),
                                                      target.height() / picture.height())
            * painter->combinedTransform();
    const QSize small = shownSize(toDevice, picture.size());
    if (small != picture.size() && onPixels(painter) && item
        && PictureReductions::costly(picture)) {
        const QTransform shown = painter->combinedTransform();
        const QPaintDevice *device = painter->device();
        // All of it where that is not much more than the device: a pan then finds it made.
        const QRect whole = shown.mapRect(target).toAlignedRect();
        const qint64 deviceArea = qint64(device->width()) * device->height();
        const QRect area = qint64(whole.width()) * whole.height() <= kWholeDevices * deviceArea
                ? whole
                : whole & QRect(0, 0, device->width(), device->height());
        ShownPictures::draw(painter,
                            { item, picture, target, shown, area,
                              PictureReductions::halvingsFor(picture.size(), small) });
    } else if (small != picture.size() && onPixels(painter)) {
        const QRect area = paintedArea(painter, target);
        if (!area.isEmpty()) {
            const QImage finer = PictureReductions::reduced(
                    picture,
                    shownSize(toDevice * QTransform::fromScale(kFiner, kFiner), picture.size()),
                    keep);
            paintAveraged(painter, area, [&](QPainter *finerPainter) {
                finerPainter->drawImage(target, finer, QRectF(finer.rect()));
            });
        }
    } else {
        // Not smaller than its pixels; or not laid on pixels (a recording, a sheet), and then
        // averaged down to its shown size alone (on a sheet, to what it needs there).
        const QImage reduced =
                PictureReductions::reduced(picture, sheetSize(painter, small, picture), keep);
        const QRect area = sharedArea(painter, target);
        if (drawUprightOnSheet(painter, target, reduced))
            return painter->restore();
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

void draw(QPainter *painter, const QRectF &target, const QImage &picture, const QWidget *widget,
          QGraphicsItem *item, Keep keep)
{
    if (widget && painter->device() == widget && DView::repaintsOnceSharp(widget)) {
        painter->drawImage(target, picture, QRectF(picture.rect()));
        return;
    }
    const bool repainted = keep == Kept && dynamic_cast<QObject *>(item);
    drawPicture(painter, target, picture, keep == Kept, repainted ? item : nullptr);
}

QImage averagedOver(const QImage &picture, const QRectF &target, const QTransform &toDevice,
                    const QRect &area)
{
    if (picture.isNull())
        return QImage();
    // Converted once here rather than by the painter of every band.
    const QImage source = picture.format() == QImage::Format_RGB32
                    || picture.format() == QImage::Format_ARGB32_Premultiplied
            ? picture
            : picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QTransform pixelsToDevice =
            QTransform(target.width() / source.width(), 0, 0, target.height() / source.height(),
                       target.x(), target.y())
            * toDevice;
    // Not turned, it is averaged over exactly what each device pixel covers: painted finer and
    // averaged by squares, a picture of fine lines still showed a beat.
    if (pixelsToDevice.type() <= QTransform::TxScale && pixelsToDevice.m11() > 0
        && pixelsToDevice.m22() > 0)
        return averagedByArea(source, pixelsToDevice, area);
    return averagedInBands(toDevice, area, [&](QPainter *painter) {
        painter->drawImage(target, source, QRectF(source.rect()));
    });
}

QImage averagedFill(const QBrush &brush, const QTransform &toDevice, const QRect &area)
{
    if (!toDevice.isInvertible())
        return QImage();
    const QRectF covered = toDevice.inverted().mapRect(QRectF(area));
    return averagedInBands(toDevice, area, [&](QPainter *painter) {
        painter->setBrushOrigin(0, 0);
        painter->fillRect(covered, brush);
    });
}

bool fillBackground(QPainter *painter, const QRectF &rect, const QBrush &brush,
                    QGraphicsScene *page)
{
    if (brush.style() != Qt::TexturePattern)
        return false;
    const QImage texture = brush.textureImage();
    const QTransform toDevice = brush.transform() * painter->combinedTransform();
    const QSize small = shownSize(toDevice, texture.size());
    const QPaintDevice *device = onPixels(painter) ? painter->device() : nullptr;
    if (!page || !device || small == texture.size() || !PictureReductions::costly(texture)
        || !onBoardThread()) {
        QPainterPath covered;
        covered.addRect(rect);
        return fillSmall(painter, covered, brush);
    }
    // Over the whole of the board's picture of the background, whatever part of it is painted:
    // a pan, which paints the strip it brings in, finds the rest made.
    ShownPictures::fill(painter,
                        { page, texture, brush.transform(), painter->combinedTransform(),
                          QRect(0, 0, device->width(), device->height()),
                          PictureReductions::halvingsFor(texture.size(), small) });
    return true;
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
