#include "picturedecoding.h"

#include "picturemeasures.h"
#include "pngrows.h"

#include <QBuffer>
#include <QFile>
#include <QImageIOHandler>
#include <QImageReader>
#include <QScopeGuard>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace PictureDecoding {

using namespace PictureReading;
using PictureMeasures::imageBytes;
using PictureMeasures::Measure;
using PictureMeasures::Refusal;

namespace {

// A JPEG of at least this many pixels has its smaller copies made by its decoder (planEighths).
constexpr qint64 kEighthsFromPixels = qint64(1) << 20;

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

// Whole, smaller or not at all, and what it takes at its peak: the largest of the decoder's
// work with its image, the shrinking (the whole image and the smaller one), and the making of
// the 32-bit picture the board shows. A PNG taken whole is decoded row by row into that
// picture (pngRows), whatever its depth.
Plan plan(const Measure &measure, int bits, bool turned, bool inPlace, bool pngRows)
{
    const QSize size = measure.size;
    const qint64 image = imageBytes(size, bits);
    // An orientation applied makes a copy of the picture it is read as, beside that one.
    const auto turning = [turned](QSize made) { return turned ? imageBytes(made, 32) : 0; };
    Plan planned;
    if (fits(size)) {
        planned.taken = size;
        // A 32-bit picture is decoded into the memory it is handed over in where its decoder
        // takes the picture it is given; others are converted, or copied, beside it.
        const qint64 converted = bits == 32 && inPlace ? 0 : imageBytes(size, 32);
        planned.peak = pngRows
                ? measure.workBytes + imageBytes(size, 32)
                : std::max(measure.workBytes + image, image + converted + turning(size));
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
                                    imageBytes(asked, exact ? bits : 32) + imageBytes(asked, 32)
                                            + turning(asked));
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
        const qint64 smaller = imageBytes(planned.taken, 32) + turning(planned.taken);
        planned.peak = std::max(measure.workBytes + image, image + smaller + band);
    }
    if (planned.peak <= kMaxDecodeBytes)
        planned.outcome = Outcome::Smaller;
    return planned;
}

// What an animation of this measure takes while it plays: every frame, and the one shown.
qint64 playingBytes(const Measure &measure)
{
    return (qint64(measure.frames) + 1) * imageBytes(measure.size, 32);
}

bool playable(const Measure &measure)
{
    return fits(measure.size) && pixelsOf(measure.size) <= kMaxAnimationPixels
            && playingBytes(measure) <= kMaxAnimationBytes;
}

QImage::Format boardFormat(const QImage &image)
{
    return image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
}

bool isJpeg(const QByteArray &format)
{
    return format == "jpeg" || format == "jpg";
}

// Decoders that decode into the picture they are handed, when it has their size and format.
bool decodesInPlace(const QByteArray &format)
{
    return format == "jpeg" || format == "jpg" || format == "png";
}

// image as the board shows it, in destination: converted band by band, so that a picture of
// few bytes a pixel is never held at 32 bits twice.
QImage readyForBoard(const QImage &image, const Destination &destination)
{
    const QImage::Format format = boardFormat(image);
    QImage ready = destination(image.size(), format);
    if (ready.isNull())
        return ready;
    const int width = image.width();
    const qsizetype rowBytes = qsizetype(width) * 4;
    for (int top = 0; top < image.height(); top += kBandRows) {
        const int rows = std::min(kBandRows, image.height() - top);
        const QImage band = image.format() == format
                ? image
                : image.copy(0, top, width, rows).convertToFormat(format);
        if (band.isNull())
            return QImage();
        const int from = image.format() == format ? top : 0;
        for (int row = 0; row < rows; ++row)
            memcpy(ready.scanLine(top + row), band.constScanLine(from + row), size_t(rowBytes));
    }
    return ready;
}

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

// The source columns of one target column: those wholly in it, then at most one that it shares
// with the next (first: its share here).
struct Span
{
    int begin;
    int end;
    int straddling; // -1 when none
    float first;
};

std::vector<Span> spans(const std::vector<Share> &columns, int to)
{
    std::vector<Span> out(size_t(to), Span{ 0, 0, -1, 0.f });
    int column = 0;
    const int count = int(columns.size());
    for (int target = 0; target < to; ++target) {
        Span &span = out[size_t(target)];
        span.begin = column;
        while (column < count && columns[size_t(column)].target == target
               && columns[size_t(column)].first >= 1.f)
            ++column;
        span.end = column;
        if (column < count && columns[size_t(column)].target == target) {
            span.straddling = column;
            span.first = columns[size_t(column)].first;
            ++column;
        }
    }
    return out;
}

// Adds a row of pixels to the sums of the target rows it covers: to current with the row's
// first share, to next with the rest. The pixels wholly in a target column are summed as whole
// numbers, which is most of them when a picture is made much smaller; the share of a column
// that straddles two goes on to the next one.
void sumRow(const QRgb *pixels, const std::vector<Span> &spans, float rowFirst, float *current,
            float *next)
{
    const float rowRest = 1.f - rowFirst;
    Sums carried;
    const int targets = int(spans.size());
    for (int target = 0; target < targets; ++target) {
        const Span &span = spans[size_t(target)];
        quint32 whole[4] = {};
        for (int x = span.begin; x < span.end; ++x) {
            const QRgb pixel = pixels[x];
            whole[0] += pixel & 0xff;
            whole[1] += (pixel >> 8) & 0xff;
            whole[2] += (pixel >> 16) & 0xff;
            whole[3] += pixel >> 24;
        }
        Sums sums = carried;
        carried = Sums();
        for (int i = 0; i < 4; ++i)
            sums.c[i] += float(whole[i]);
        if (span.straddling >= 0) {
            sums.add(pixels[span.straddling], span.first);
            carried.add(pixels[span.straddling], 1.f - span.first);
        }
        float *toCurrent = current + size_t(target) * 4;
        float *toNext = next + size_t(target) * 4;
        for (int i = 0; i < 4; ++i) {
            toCurrent[i] += sums.c[i] * rowFirst;
            toNext[i] += sums.c[i] * rowRest;
        }
    }
}

// A row of pixels added to sums of whole numbers, channel by channel: byte by byte, as they lie
// in memory (blue, green, red, alpha), which the compiler adds many at a time.
void addRow(const QRgb *pixels, int count, quint32 *sums)
{
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "channels lie in memory as blue first");
    const auto *bytes = reinterpret_cast<const uchar *>(pixels);
    const size_t channels = size_t(count) * 4;
    for (size_t i = 0; i < channels; ++i)
        sums[i] += bytes[i];
}

// Rows added up by addRow, added to the sums of the target row they lie wholly in.
void addWholeRows(const quint32 *sums, const std::vector<Span> &spans, float *current)
{
    double carried[4] = {};
    const int targets = int(spans.size());
    for (int target = 0; target < targets; ++target) {
        const Span &span = spans[size_t(target)];
        double column[4] = { carried[0], carried[1], carried[2], carried[3] };
        for (int x = span.begin; x < span.end; ++x) {
            for (int i = 0; i < 4; ++i)
                column[i] += sums[size_t(x) * 4 + size_t(i)];
        }
        for (int i = 0; i < 4; ++i)
            carried[i] = 0;
        if (span.straddling >= 0) {
            const quint32 *straddling = sums + size_t(span.straddling) * 4;
            for (int i = 0; i < 4; ++i) {
                column[i] += straddling[i] * double(span.first);
                carried[i] = straddling[i] * (1.0 - double(span.first));
            }
        }
        for (int i = 0; i < 4; ++i)
            current[size_t(target) * 4 + size_t(i)] += float(column[i]);
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

// How the picture's reader says it is turned, in EXIF's numbers.
int orientationOf(QImageIOHandler::Transformations transformation)
{
    // clang-format off
    static constexpr QImageIOHandler::Transformation kByNumber[] = {
        QImageIOHandler::TransformationNone,            QImageIOHandler::TransformationMirror,
        QImageIOHandler::TransformationRotate180,       QImageIOHandler::TransformationFlip,
        QImageIOHandler::TransformationFlipAndRotate90, QImageIOHandler::TransformationRotate90,
        QImageIOHandler::TransformationMirrorAndRotate90, QImageIOHandler::TransformationRotate270,
    };
    // clang-format on
    for (int number = 1; number <= 8; ++number) {
        if (transformation == kByNumber[number - 1])
            return number;
    }
    return 1;
}

// Where a stored pixel lands as shown, for each orientation: one step along a stored row moves
// it (acrossX, acrossY) as shown, one stored row down (downX, downY).
struct Turn
{
    int acrossX, acrossY, downX, downY;
};
// clang-format off
constexpr Turn kTurns[] = {
    {  1,  0,  0,  1 }, // 1: as stored
    { -1,  0,  0,  1 }, // 2: mirrored
    { -1,  0,  0, -1 }, // 3: upside down
    {  1,  0,  0, -1 }, // 4: flipped
    {  0,  1,  1,  0 }, // 5: rows become columns
    {  0,  1, -1,  0 }, // 6: a quarter clockwise (a phone held upright)
    {  0, -1, -1,  0 }, // 7: rows become columns, both reversed
    {  0, -1,  1,  0 }, // 8: a quarter anticlockwise
};
// clang-format on

// The sides of a picture as stored that shows as shown.
QSize storedSides(QSize shown, int orientation)
{
    return turnsQuarter(orientation) ? shown.transposed() : shown;
}

} // namespace

Reading::Reading(const QString &file, const QByteArray &bytes, bool fromFile, int depth,
                 qint64 room)
{
    if (open(file, bytes, fromFile))
        measureAndPlan(depth, room);
}

Reading::Reading(const QString &file, const QByteArray &bytes, bool fromFile, const Probe &probed)
    : m_probe(probed)
{
    // The format it was measured as, whatever its name says now.
    if (!probed.isTaken() || !open(file, bytes, fromFile, probed.format))
        return;
    m_plan.outcome = probed.outcome;
    m_plan.taken = storedSides(probed.taken, probed.orientation);
    m_plan.peak = probed.peakBytes;
    if (probed.decoderScales)
        m_plan.scaledSize = m_plan.taken;
    else if (isJpeg(probed.format) && probed.size.isValid() && probed.taken != probed.size)
        planEighths();
}

void Reading::planEighths()
{
    // A smaller copy of a JPEG (a photo shown or printed small) is decoded at 1/2, 1/4 or 1/8 of
    // each side by the decoder itself, which then does a quarter of the work or less, rather
    // than whole and averaged down. Only where that many divides both sides (a camera's photo):
    // else the decoder makes a pixel more of a side and scales it back, every pixel a fraction
    // of one away from where the whole picture averaged down has it. In the stored picture's
    // sides, as the decoder is asked. A picture of fewer pixels than a million decodes whole in
    // a few milliseconds, and is averaged exactly as before (the decoder's own eighths ring a
    // little about sharp edges).
    const QSize stored = storedSides(m_probe.size, m_probe.orientation);
    if (pixelsOf(stored) < kEighthsFromPixels)
        return;
    for (const int d : { 8, 4, 2 }) {
        if (stored.width() % d != 0 || stored.height() % d != 0)
            continue;
        const QSize made = stored / d;
        if (made.width() < m_plan.taken.width() || made.height() < m_plan.taken.height())
            continue;
        m_plan.scaledSize = made;
        return;
    }
}

Reading::~Reading() = default;

bool Reading::open(const QString &file, const QByteArray &bytes, bool fromFile,
                   const QByteArray &format)
{
    QIODevice *device = nullptr;
    if (fromFile) {
        m_file = file;
        m_fileDevice = std::make_unique<QFile>(file);
        device = m_fileDevice.get();
    } else {
        m_bytes = bytes;
        m_bytesDevice = std::make_unique<QBuffer>(&m_bytes);
        device = m_bytesDevice.get();
    }
    if (!device->open(QIODevice::ReadOnly)) {
        refuse(Outcome::Unreadable, Cause::Missing,
               QStringLiteral("cannot be opened: %1").arg(device->errorString()));
        return false;
    }
    // A file's reader tries its name's suffix first, then the content, as QImage and QPixmap do.
    m_reader = std::make_unique<QImageReader>(device, format);
    m_probe.format = m_reader->format();
    if (m_probe.format.isEmpty()) {
        refuse(Outcome::Unreadable, Cause::NoFormat, QStringLiteral("no reader takes it"));
        return false;
    }
    return true;
}

void Reading::refuse(Outcome outcome, Cause cause, const QString &detail)
{
    m_probe.outcome = outcome;
    m_probe.cause = cause;
    m_probe.detail = detail;
    m_probe.taken = QSize();
    m_probe.peakBytes = 0;
    m_reader.reset();
}

void Reading::failed(const QString &detail)
{
    m_probe.outcome = Outcome::Unreadable;
    m_probe.cause = Cause::Damaged;
    m_probe.taken = QSize();
    m_probe.peakBytes = 0;
    m_probe.detail += QStringLiteral(": ") + detail;
}

void Reading::measureAndPlan(int depth, qint64 room)
{
    // The files being measured on this thread, the picture and those it links, one in another:
    // a picture linked by one of them links itself, and its reader would never end.
    static thread_local std::vector<std::pair<dev_t, ino_t>> measuring;
    struct stat status = {};
    const bool known = m_fileDevice && fstat(m_fileDevice->handle(), &status) == 0;
    const std::pair<dev_t, ino_t> file(status.st_dev, status.st_ino);
    if (known && std::find(measuring.begin(), measuring.end(), file) != measuring.end()) {
        refuse(Outcome::Unmeasurable, Cause::LinksItself, QStringLiteral("linked by itself"));
        return;
    }
    if (known)
        measuring.push_back(file);
    const auto measured = qScopeGuard([known] {
        if (known)
            measuring.pop_back();
    });
    QIODevice *device = m_reader->device();
    Measure measure = PictureMeasures::measure(m_probe.format, *device, m_file, depth);
    if (measure.refusal == Refusal::Damaged) {
        refuse(Outcome::Unreadable, Cause::Damaged, measure.detail);
        return;
    }
    if (measure.refusal == Refusal::LinksItself) {
        refuse(Outcome::Unmeasurable, Cause::LinksItself, measure.detail);
        return;
    }
    if (measure.refusal == Refusal::Unmeasurable) {
        refuse(Outcome::Unmeasurable, Cause::Pixels, measure.detail);
        return;
    }
    if (measure.anyScale) {
        // Its reader takes all of it apart (and decodes the pictures it holds) to tell its size.
        // In too little room that would run out only at the end, after seconds on a busy
        // machine, and be done again with more.
        if (room > 0 && measure.workBytes > room) {
            refuse(Outcome::OutOfMemory, Cause::Data,
                   measure.detail + QStringLiteral(": more than the room to measure it"));
            return;
        }
        // An SVG's size is what its reader makes of the whole text; the pictures it holds are
        // measured already. Inflated here, it is handed on as plain text.
        if (!measure.svgText.isEmpty()) {
            m_svgDevice = std::make_unique<QBuffer>();
            m_svgDevice->setData(measure.svgText);
            m_svgDevice->open(QIODevice::ReadOnly);
            m_reader = std::make_unique<QImageReader>(m_svgDevice.get(), QByteArray("svg"));
        }
        measure.size = m_reader->size();
        if (measure.size.isEmpty()) {
            refuse(Outcome::Unreadable, Cause::Damaged,
                   measure.detail + QStringLiteral(" of no size"));
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
    m_probe.hasAlpha = measure.alpha;
    // As its reader finds it (a JPEG's EXIF, a TIFF's tag), once the measure has bounded what
    // reading its header takes.
    if (measure.oriented)
        m_probe.orientation = orientationOf(m_reader->transformation());
    const bool turned = m_probe.orientation != 1;
    const bool inPlace = decodesInPlace(m_probe.format);
    const bool pngRows = m_probe.format == "png";
    m_plan = plan(measure, bits, turned, inPlace, pngRows);
    m_probe.outcome = m_plan.outcome;
    m_probe.taken = m_plan.taken;
    m_probe.decoderScales = m_plan.scaledSize.isValid();
    m_probe.playable = m_plan.outcome == Outcome::Whole && playable(measure);
    if (m_probe.playable)
        m_probe.playingBytes = playingBytes(measure);
    m_probe.cause = Cause::Pixels;
    if (m_plan.outcome == Outcome::TooCostly) {
        // A small picture holding megabytes of text is not said to be too costly for its size.
        Measure pixelsAlone = measure;
        pixelsAlone.workBytes = 0;
        if (measure.workBytes > plan(pixelsAlone, bits, turned, inPlace, pngRows).peak)
            m_probe.cause = Cause::Data;
    } else if (m_plan.outcome == Outcome::Whole && !m_probe.playable && measure.frames > 1
               && fits(measure.size) && pixelsOf(measure.size) <= kMaxAnimationPixels) {
        m_probe.cause = Cause::Frames; // each frame small enough to play, but not all of them
    }
    if (m_probe.isTaken())
        m_probe.peakBytes = m_plan.peak;
    else
        refuse(m_plan.outcome, m_probe.cause, m_probe.detail);
    // Planned as its reader reads it; said as it is shown (the sides swap back as they swapped).
    m_probe.size = storedSides(m_probe.size, m_probe.orientation);
    m_probe.taken = storedSides(m_probe.taken, m_probe.orientation);
}

QImage Reading::read(const Destination &destination)
{
    if (!m_probe.isTaken() || !m_reader)
        return QImage();
    if (m_probe.orientation == 1)
        return readStored(destination);
    // Read as stored beside the picture it is turned into: the reader's own turning would
    // apply after a size asked of it, which is the stored picture's.
    const QImage stored = readStored(ownMemory);
    return stored.isNull() ? QImage() : turned(stored, m_probe.orientation, destination);
}

QImage Reading::readStored(const Destination &destination)
{
    const QSize storedSize = storedSides(m_probe.size, m_probe.orientation);
    if (m_probe.format == "png" && m_plan.taken == storedSize)
        return readPngRows(destination, m_plan.taken);
    if (m_probe.format == "png" && fits(storedSize)) {
        // A smaller copy of a picture within the limits (one shown small): made from the rows
        // as a whole picture is, whatever the depth, then averaged down.
        const QImage whole = readPngRows(ownMemory, storedSize);
        return whole.isNull() ? QImage() : shrink(whole, m_plan.taken, destination);
    }
    if (m_plan.scaledSize.isValid())
        m_reader->setScaledSize(m_plan.scaledSize);
    QImage image;
    const uchar *handed = nullptr;
    // A JPEG made at an eighth and averaged further is made into memory of its own first.
    const bool madeAsTaken = m_plan.scaledSize.isValid() ? m_plan.scaledSize == m_plan.taken
                                                         : m_plan.taken == storedSize;
    if (decodesInPlace(m_probe.format) && madeAsTaken) {
        // Handed the memory it is to end in, a decoder that takes it decodes there.
        const QImage::Format decoded = m_reader->imageFormat();
        if (decoded == QImage::Format_RGB32 || decoded == QImage::Format_ARGB32_Premultiplied) {
            image = destination(m_plan.taken, decoded);
            handed = image.constBits();
        }
    }
    const bool read = m_reader->read(&image);
    const QString error = m_reader->errorString();
    m_reader.reset(); // and with it whatever the decoder still holds
    if (!read || image.isNull()) {
        failed(error);
        return QImage();
    }
    if (handed && image.constBits() == handed)
        return image;
    if (image.size() != m_plan.taken)
        return shrink(image, m_plan.taken.boundedTo(image.size()), destination);
    return readyForBoard(image, destination);
}

QImage Reading::readPngRows(const Destination &destination, QSize size)
{
    QImage picture = destination(
            size, m_probe.hasAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    QString error = QStringLiteral("no memory for its pixels");
    const bool read = !picture.isNull() && PngRows::read(*m_reader->device(), &picture, &error);
    m_reader.reset();
    if (read)
        return picture;
    failed(error);
    return QImage();
}

int Reading::readFrames(const FramesDestination &destination, QVector<int> *delays, int *loopCount)
{
    if (!m_probe.playable || !m_reader)
        return 0;
    const QSize size = m_probe.size; // as shown
    const QSize storedSize = storedSides(size, m_probe.orientation);
    const int count = std::max({ m_probe.frames, m_reader->imageCount(), 1 });
    const qint64 frameBytes = imageBytes(size, 32);
    if (frameBytes * count > kMaxAnimationBytes) {
        failed(QStringLiteral("%1 frames, more than the board plays").arg(count));
        return 0;
    }
    uchar *frames = destination(size, count);
    if (!frames) {
        failed(QStringLiteral("no memory for its frames"));
        return 0;
    }
    int made = 0;
    while (made < count) {
        QImage frame;
        if (!m_reader->read(&frame) || frame.isNull())
            break;
        if (frame.size() != storedSize)
            frame = frame.copy(QRect(QPoint(0, 0), storedSize));
        frame = std::move(frame).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        uchar *slot = frames + frameBytes * made;
        if (m_probe.orientation != 1) {
            turned(frame, m_probe.orientation, [slot](QSize shown, QImage::Format format) {
                return QImage(slot, shown.width(), shown.height(), shown.width() * 4, format);
            });
        } else {
            for (int row = 0; row < size.height(); ++row)
                memcpy(slot + qsizetype(row) * size.width() * 4, frame.constScanLine(row),
                       size_t(size.width()) * 4);
        }
        delays->append(std::max(m_reader->nextImageDelay(), 0));
        ++made;
    }
    *loopCount = m_reader->loopCount();
    if (made == 0)
        failed(m_reader->errorString());
    m_reader.reset();
    return made;
}

QImage ownMemory(QSize size, QImage::Format format)
{
    return QImage(size, format);
}

QImage shrink(const QImage &source, QSize size, const Destination &destination)
{
    if (source.isNull() || size.isEmpty())
        return QImage();
    const int sourceWidth = source.width();
    const int sourceHeight = source.height();
    const int width = std::min(size.width(), sourceWidth);
    const int height = std::min(size.height(), sourceHeight);
    const bool alpha = source.hasAlphaChannel();
    QImage shrunk = destination(QSize(width, height),
                                alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (shrunk.isNull())
        return QImage();
    const std::vector<Span> columns = spans(shares(sourceWidth, width), width);
    const std::vector<Share> rows = shares(sourceHeight, height);
    const float scale = float(double(width) * height / (double(sourceWidth) * sourceHeight));
    // Sums of premultiplied channels of the two target rows a source row may add to.
    std::vector<float> current(size_t(width) * 4);
    std::vector<float> next(current.size());
    // Source rows wholly within one target row are first added up here, as whole numbers, a
    // column at a time: most rows, when a picture is made much smaller.
    std::vector<quint32> whole(size_t(sourceWidth) * 4);
    bool wholeHeld = false;
    auto addWhole = [&]() {
        if (!wholeHeld)
            return;
        addWholeRows(whole.data(), columns, current.data());
        std::fill(whole.begin(), whole.end(), 0u);
        wholeHeld = false;
    };
    int currentRow = 0;
    auto emitRow = [&]() {
        addWhole();
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
            const auto *pixels = reinterpret_cast<const QRgb *>(band.constScanLine(r));
            if (share.first >= 1.f) {
                addRow(pixels, sourceWidth, whole.data());
                wholeHeld = true;
            } else {
                sumRow(pixels, columns, share.first, current.data(), next.data());
            }
        }
    }
    while (currentRow < height)
        emitRow();
    return shrunk;
}

QImage turned(const QImage &stored, int orientation, const Destination &destination)
{
    if (orientation < 1 || orientation > 8 || stored.depth() != 32)
        return QImage();
    const Turn &turn = kTurns[orientation - 1];
    QImage shown = destination(storedSides(stored.size(), orientation), stored.format());
    if (shown.isNull())
        return shown;
    const qsizetype line = shown.bytesPerLine() / 4;
    // Where the stored picture's first pixel lands, and where each step takes it.
    const int firstX = turn.acrossX < 0 || turn.downX < 0 ? shown.width() - 1 : 0;
    const int firstY = turn.acrossY < 0 || turn.downY < 0 ? shown.height() - 1 : 0;
    QRgb *first = reinterpret_cast<QRgb *>(shown.bits()) + firstX + firstY * line;
    const qsizetype across = turn.acrossX + turn.acrossY * line;
    const qsizetype down = turn.downX + turn.downY * line;
    // A block at a time: a stored row turned into a column would touch a shown row a pixel.
    constexpr int kBlock = 64;
    for (int top = 0; top < stored.height(); top += kBlock) {
        const int bottom = std::min(top + kBlock, stored.height());
        for (int left = 0; left < stored.width(); left += kBlock) {
            const int right = std::min(left + kBlock, stored.width());
            for (int y = top; y < bottom; ++y) {
                const auto *from = reinterpret_cast<const QRgb *>(stored.constScanLine(y));
                QRgb *to = first + y * down;
                for (int x = left; x < right; ++x)
                    to[x * across] = from[x];
            }
        }
    }
    return shown;
}

} // namespace PictureDecoding

namespace PictureMeasures {

PictureReading::Probe probeNestedFile(const QString &file, int depth)
{
    return PictureDecoding::Reading(file, QByteArray(), true, depth).probe();
}

PictureReading::Probe probeNestedData(const QByteArray &bytes, int depth)
{
    return PictureDecoding::Reading(QString(), bytes, false, depth).probe();
}

} // namespace PictureMeasures
