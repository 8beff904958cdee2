#include "picturereading.h"

#include "picturemeasures.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace PictureReading {

namespace {

using PictureMeasures::imageBytes;
using PictureMeasures::Measure;
using PictureMeasures::Refusal;

// Rows converted to 32 bits at a time while a picture is averaged down.
constexpr int kBandRows = 64;

qint64 pixelsOf(QSize size)
{
    return qint64(std::max(size.width(), 0)) * std::max(size.height(), 0);
}

// Taken as a number: a decoder whose header read failed may say anything (the JPEG handler
// answers from a field it never set), and only a format the toolkit knows has a size.
int bitsOf(int format)
{
    if (format <= QImage::Format_Invalid || format >= QImage::NImageFormats)
        return 0;
    return QImage::toPixelFormat(QImage::Format(format)).bitsPerPixel();
}

// Decoders whose image format is read from the header alone, and so can be asked for it.
bool reportsFormatCheaply(const QByteArray &format)
{
    static const QList<QByteArray> kCheap = { "png", "jpeg", "jpg", "bmp", "pbm",
                                              "pgm", "ppm",  "tif", "tiff" };
    return kCheap.contains(format);
}

struct Plan
{
    Outcome outcome = Outcome::Unreadable;
    QSize scaledSize; // asked of a decoder that draws smaller itself; invalid for the others
    QSize taken;
    qint64 peak = 0;
};

// Whole, smaller or not at all, and what it takes at its peak: the largest of the decoder's
// work with its image, the shrinking (the whole image and the smaller one), and the making of
// the 32-bit picture the board shows.
Plan plan(const Measure &measure, int bits, bool turned)
{
    const QSize size = measure.size;
    const qint64 image = imageBytes(size, bits);
    const qint64 turning = turned ? image : 0; // an orientation applied makes a copy
    Plan planned;
    if (fits(size)) {
        planned.taken = size;
        // A 32-bit picture is made ready for the board in place; others are converted beside it.
        const qint64 converted = bits == 32 ? 0 : imageBytes(size, 32);
        planned.peak = std::max(measure.workBytes + image + turning, image + converted);
        planned.outcome = planned.peak <= kMaxDecodeBytes ? Outcome::Whole : Outcome::TooCostly;
        return planned;
    }
    planned.outcome = Outcome::TooLarge;
    if (measure.wholeOnly)
        return planned;
    if (measure.eighths) {
        // The decoder makes 1/d of each side, rounded up; asked for it rounded down, it picks
        // the same d and trims the last row and column.
        for (const int d : { 2, 4, 8 }) {
            const QSize made((size.width() + d - 1) / d, (size.height() + d - 1) / d);
            if (!fits(made))
                continue;
            const QSize asked(std::max(1, size.width() / d), std::max(1, size.height() / d));
            const bool exact = made == asked;
            planned.scaledSize = asked;
            planned.taken = asked;
            const qint64 trimming = exact ? 0 : imageBytes(made, 32) + imageBytes(asked, 32);
            planned.peak = std::max(measure.workBytes + imageBytes(made, bits) + trimming,
                                    imageBytes(asked, exact ? bits : 32) + imageBytes(asked, 32));
            break;
        }
        if (!planned.taken.isValid())
            return planned;
    } else if (measure.anyScale) {
        planned.taken = fitted(size);
        planned.scaledSize = planned.taken;
        planned.peak = measure.workBytes + 2 * imageBytes(planned.taken, 32);
    } else {
        planned.taken = fitted(size);
        const qint64 band = qint64(size.width()) * kBandRows * 8;
        planned.peak = std::max(measure.workBytes + image + turning,
                                image + imageBytes(planned.taken, 32) + band);
    }
    if (planned.peak <= kMaxDecodeBytes)
        planned.outcome = Outcome::Smaller;
    return planned;
}

// What an animation of this measure takes while it plays: the decoder's screen and store, the
// frame shown and the one being made, each of the animation's size.
qint64 playingBytes(const Measure &measure, int bits)
{
    return measure.workBytes + imageBytes(measure.size, bits) + 3 * imageBytes(measure.size, 32);
}

bool playable(const Measure &measure, int bits)
{
    return fits(measure.size) && pixelsOf(measure.size) <= kMaxAnimationPixels
            && playingBytes(measure, bits) <= kMaxDecodeBytes;
}

QImage readyForBoard(QImage image)
{
    if (image.format() == QImage::Format_ARGB32_Premultiplied
        || image.format() == QImage::Format_RGB32)
        return image;
    const QImage::Format format =
            image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return std::move(image).convertToFormat(format);
}

} // namespace

// One picture, probed and then, if taken, read by the same reader: the format it is measured
// as is the one it is decoded as.
class Reading
{
public:
    Reading(const QString &file, const QByteArray &bytes, bool fromFile, int depth);
    const Probe &probe() const { return m_probe; }
    QImage read();

private:
    void refuse(Outcome outcome, const QString &detail);
    void measureAndPlan(int depth);

    QString m_file;
    QFile m_fileDevice;
    QByteArray m_bytes;
    QBuffer m_bytesDevice;
    QBuffer m_svgDevice;
    std::unique_ptr<QImageReader> m_reader; // after the devices it reads: destroyed first
    Probe m_probe;
    Plan m_plan;
};

Reading::Reading(const QString &file, const QByteArray &bytes, bool fromFile, int depth)
    : m_file(fromFile ? file : QString()), m_fileDevice(file), m_bytes(bytes)
{
    QIODevice *device = &m_fileDevice;
    if (!fromFile) {
        m_bytesDevice.setBuffer(&m_bytes);
        device = &m_bytesDevice;
    }
    if (!device->open(QIODevice::ReadOnly)) {
        refuse(Outcome::Unreadable,
               QStringLiteral("cannot be opened: %1").arg(device->errorString()));
        return;
    }
    // A file's reader tries its name's suffix first, then the content, as QImage and QPixmap do.
    m_reader = std::make_unique<QImageReader>(device);
    m_probe.format = m_reader->format();
    if (m_probe.format.isEmpty()) {
        refuse(Outcome::Unreadable, QStringLiteral("no reader takes it"));
        return;
    }
    measureAndPlan(depth);
}

void Reading::refuse(Outcome outcome, const QString &detail)
{
    m_probe.outcome = outcome;
    m_probe.detail = detail;
    m_probe.taken = QSize();
    m_probe.peakBytes = 0;
    m_reader.reset();
}

void Reading::measureAndPlan(int depth)
{
    QIODevice *device = m_reader->device();
    Measure measure = PictureMeasures::measure(m_probe.format, *device, m_file, depth);
    if (measure.refusal != Refusal::None) {
        refuse(measure.refusal == Refusal::Damaged ? Outcome::Unreadable : Outcome::Unmeasurable,
               measure.detail);
        return;
    }
    if (measure.anyScale) {
        // An SVG's size is what its reader makes of the whole text; the pictures it holds are
        // measured already. Inflated here, it is handed on as plain text.
        if (!measure.svgText.isEmpty()) {
            m_svgDevice.setData(measure.svgText);
            m_svgDevice.open(QIODevice::ReadOnly);
            m_reader = std::make_unique<QImageReader>(&m_svgDevice, QByteArray("svg"));
        }
        measure.size = m_reader->size();
        if (measure.size.isEmpty()) {
            refuse(Outcome::Unreadable, measure.detail + QStringLiteral(" of no size"));
            return;
        }
    }
    m_probe.size = measure.size;
    m_probe.frames = measure.frames;
    m_probe.detail = measure.detail;
    int bits = measure.bitsPerPixel;
    if (measure.workBytes <= kMaxDecodeBytes && reportsFormatCheaply(m_probe.format)) {
        // Bounded already: the decoder may read its header to say what it will make.
        const int reported = bitsOf(int(m_reader->imageFormat()));
        if (reported > 0)
            bits = reported;
    }
    m_plan = plan(measure, bits, measure.oriented && m_reader->autoTransform());
    m_probe.outcome = m_plan.outcome;
    m_probe.taken = m_plan.taken;
    m_probe.playable = m_plan.outcome == Outcome::Whole && playable(measure, bits);
    if (m_probe.playable)
        m_probe.playingBytes = playingBytes(measure, bits);
    if (m_probe.isTaken())
        m_probe.peakBytes = m_plan.peak;
    else
        refuse(m_plan.outcome, m_probe.detail);
}

QImage Reading::read()
{
    if (!m_probe.isTaken() || !m_reader)
        return QImage();
    if (m_plan.scaledSize.isValid())
        m_reader->setScaledSize(m_plan.scaledSize);
    QImage image = m_reader->read();
    const QString error = m_reader->errorString();
    m_reader.reset(); // and with it whatever the decoder still holds
    if (image.isNull()) {
        m_probe.outcome = Outcome::Unreadable;
        m_probe.taken = QSize();
        m_probe.peakBytes = 0;
        m_probe.detail += QStringLiteral(": ") + error;
        return QImage();
    }
    if (image.size() != m_plan.taken)
        image = shrink(image, m_plan.taken.boundedTo(image.size()));
    return readyForBoard(std::move(image));
}

namespace {

// Each source column lies in one target column, or straddles two: the share it gives the
// first of them. Rows likewise.
struct Share
{
    int target;
    float first;
};

std::vector<Share> shares(int from, int to)
{
    const double step = double(from) / to;
    std::vector<Share> out(static_cast<size_t>(from));
    for (int i = 0; i < from; ++i) {
        const int target = std::min(int(i / step), to - 1);
        const double boundary = (target + 1) * step;
        out[size_t(i)] = { target, float(std::clamp(boundary - i, 0.0, 1.0)) };
    }
    return out;
}

// Four channel sums, held in registers.
struct Sums
{
    float c[4] = {};
    void add(QRgb pixel, float share)
    {
        c[0] += float(pixel & 0xff) * share;
        c[1] += float((pixel >> 8) & 0xff) * share;
        c[2] += float((pixel >> 16) & 0xff) * share;
        c[3] += float(pixel >> 24) * share;
    }
};

// Adds a row of pixels to the sums of the target rows it covers: to current with the row's
// first share, to next with the rest. A column's sums stay in registers while its pixels come
// (at least one a column when shrinking), and the share of a column that straddles two goes on
// to the next one.
void sumRow(const QRgb *pixels, int count, const Share *columns, float rowFirst, float *current,
            float *next)
{
    const float rowRest = 1.f - rowFirst;
    Sums sums;
    Sums carried;
    int target = columns[0].target;
    for (int x = 0; x <= count; ++x) {
        const Share share = x < count ? columns[x] : Share{ -1, 0.f };
        if (share.target != target) {
            float *toCurrent = current + size_t(target) * 4;
            float *toNext = next + size_t(target) * 4;
            for (int i = 0; i < 4; ++i) {
                toCurrent[i] += sums.c[i] * rowFirst;
                toNext[i] += sums.c[i] * rowRest;
            }
            sums = carried;
            carried = Sums();
            target = share.target;
        }
        if (x < count) {
            sums.add(pixels[x], share.first);
            carried.add(pixels[x], 1.f - share.first);
        }
    }
}

void writeRow(const float *sums, QRgb *out, int width, float scale, bool alpha)
{
    for (int x = 0; x < width; ++x) {
        const float *sum = sums + size_t(x) * 4;
        const int a = alpha ? std::clamp(int(sum[3] * scale + 0.5f), 0, 255) : 255;
        int channels[3];
        for (int i = 0; i < 3; ++i) // premultiplied: no channel above the alpha
            channels[i] = std::clamp(int(sum[i] * scale + 0.5f), 0, a);
        out[x] = qRgba(channels[2], channels[1], channels[0], a);
    }
}

} // namespace

bool fits(QSize size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxPictureSide
            && size.height() <= kMaxPictureSide && pixelsOf(size) <= kMaxPicturePixels;
}

QSize fitted(QSize size)
{
    if (size.isEmpty() || fits(size))
        return size;
    const double scale = std::min({ double(kMaxPictureSide) / size.width(),
                                    double(kMaxPictureSide) / size.height(),
                                    std::sqrt(double(kMaxPicturePixels) / pixelsOf(size)) });
    QSize shrunk(std::max(1, int(size.width() * scale)), std::max(1, int(size.height() * scale)));
    while (!fits(shrunk)) // a hair over from rounding
        shrunk = QSize(std::max(1, shrunk.width() - 1), std::max(1, shrunk.height() - 1));
    return shrunk;
}

Probe probe(const QString &file)
{
    return Reading(file, QByteArray(), true, 0).probe();
}

Probe probeData(const QByteArray &bytes)
{
    return Reading(QString(), bytes, false, 0).probe();
}

Reader::Reader(const QString &file)
    : m_reading(std::make_unique<Reading>(file, QByteArray(), true, 0))
{
}

Reader::~Reader() = default;

const Probe &Reader::probe() const
{
    return m_reading->probe();
}

namespace {

// Decodes what reading probed, once; with its probe, which says why when it is not taken.
Picture readOnce(Reading &reading)
{
    Picture picture;
    picture.image = reading.read();
    picture.probe = reading.probe();
    return picture;
}

} // namespace

Picture Reader::read()
{
    return readOnce(*m_reading);
}

Picture read(const QString &file)
{
    return Reader(file).read();
}

Picture readData(const QByteArray &bytes)
{
    Reading reading(QString(), bytes, false, 0);
    return readOnce(reading);
}

QString message(const Probe &probe, const QString &name, bool animation)
{
    const QString width = QString::number(probe.size.width());
    const QString height = QString::number(probe.size.height());
    switch (probe.outcome) {
    case Outcome::Whole:
        if (!animation || probe.playable)
            return QString();
        return QCoreApplication::translate("PictureReading",
                                           "La animación «%1» mide %2 x %3 píxeles, más de lo "
                                           "que la pizarra puede mover, y se muestra quieta.")
                .arg(name, width, height);
    case Outcome::Smaller:
        if (animation)
            return QCoreApplication::translate("PictureReading",
                                               "La animación «%1» mide %2 x %3 píxeles, más de lo "
                                               "que admite la pizarra, y se muestra quieta y "
                                               "reducida a %4 x %5.")
                    .arg(name, width, height, QString::number(probe.taken.width()),
                         QString::number(probe.taken.height()));
        return QCoreApplication::translate("PictureReading",
                                           "La imagen «%1» mide %2 x %3 píxeles, más de lo que "
                                           "admite la pizarra, y se ha tomado reducida a %4 x %5.")
                .arg(name, width, height, QString::number(probe.taken.width()),
                     QString::number(probe.taken.height()));
    case Outcome::TooLarge:
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: mide %2 x %3 píxeles, "
                                           "y la pizarra admite como mucho %4 píxeles por lado y "
                                           "%5 millones de píxeles.")
                .arg(name, width, height, QString::number(kMaxPictureSide),
                     QString::number(kMaxPicturePixels / 1000000));
    case Outcome::TooCostly:
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: mide %2 x %3 píxeles, "
                                           "y leerla ocuparía más de %4 MB de memoria.")
                .arg(name, width, height, QString::number(kMaxDecodeBytes >> 20));
    case Outcome::Unmeasurable:
        return QCoreApplication::translate("PictureReading",
                                           "No se ha usado la imagen «%1»: no se puede saber "
                                           "cuánta memoria ocuparía sin leerla entera.")
                .arg(name);
    case Outcome::Unreadable:
        break;
    }
    return QCoreApplication::translate("PictureReading", "No se ha podido leer la imagen «%1».")
            .arg(name);
}

QImage shrink(const QImage &source, QSize size)
{
    if (source.isNull() || size.isEmpty())
        return QImage();
    const int sourceWidth = source.width();
    const int sourceHeight = source.height();
    const int width = std::min(size.width(), sourceWidth);
    const int height = std::min(size.height(), sourceHeight);
    const bool alpha = source.hasAlphaChannel();
    QImage shrunk(width, height,
                  alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (shrunk.isNull())
        return QImage();
    const std::vector<Share> columns = shares(sourceWidth, width);
    const std::vector<Share> rows = shares(sourceHeight, height);
    const float scale = float(double(width) * height / (double(sourceWidth) * sourceHeight));
    // Sums of premultiplied channels of the two target rows a source row may add to.
    std::vector<float> current(size_t(width) * 4);
    std::vector<float> next(current.size());
    int currentRow = 0;
    auto emitRow = [&]() {
        writeRow(current.data(), reinterpret_cast<QRgb *>(shrunk.scanLine(currentRow)), width,
                 scale, alpha);
        std::swap(current, next);
        std::fill(next.begin(), next.end(), 0.f);
        ++currentRow;
    };
    for (int bandTop = 0; bandTop < sourceHeight; bandTop += kBandRows) {
        const int bandRows = std::min(kBandRows, sourceHeight - bandTop);
        const QImage band = source.copy(0, bandTop, sourceWidth, bandRows)
                                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (band.isNull())
            return QImage();
        for (int r = 0; r < bandRows; ++r) {
            const Share share = rows[size_t(bandTop + r)];
            while (currentRow < share.target)
                emitRow();
            sumRow(reinterpret_cast<const QRgb *>(band.constScanLine(r)), sourceWidth,
                   columns.data(), share.first, current.data(), next.data());
        }
    }
    while (currentRow < height)
        emitRow();
    return shrunk;
}

} // namespace PictureReading

namespace PictureMeasures {

PictureReading::Probe probeNestedFile(const QString &file, int depth)
{
    return PictureReading::Reading(file, QByteArray(), true, depth).probe();
}

PictureReading::Probe probeNestedData(const QByteArray &bytes, int depth)
{
    return PictureReading::Reading(QString(), bytes, false, depth).probe();
}

} // namespace PictureMeasures
