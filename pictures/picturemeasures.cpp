// Each format's header read as its decoder reads it, for what the decoder will allocate. Where a
// decoder's allocations are not named by its header (GIF frames, MNG objects, ICO and ICNS
// entries, WEBP frames, PNG text), every piece of the file is walked; where a piece cannot be
// bounded, the picture is refused rather than guessed at.

#include "picturemeasures.h"

#include "decoderfiles.h"
#include "picturereading.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QIODevice>
#include <QUrl>
#include <QXmlStreamReader>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace PictureMeasures {

namespace {

constexpr qint64 kBlockBytes = 64 << 10;
// Pictures inside pictures (an SVG's embedded ones) are measured this deep, no deeper.
constexpr int kMaxDepth = 2;
// What the SVG reader keeps for each element it reads (measured: a file of 5 million empty
// groups, 20 MB, takes 1.4 GB), and at most how long a text it is handed.
constexpr qint64 kSvgElementBytes = 512;
constexpr qint64 kSvgTextCopies = 6;
// A progressive JPEG's scans are each a pass over the whole picture: real ones have about ten.
constexpr int kMaxJpegScans = 1000;

Measure damaged(const QString &why)
{
    Measure measure;
    measure.refusal = Refusal::Damaged;
    measure.detail = why;
    return measure;
}

Measure unmeasurable(const QString &why)
{
    Measure measure;
    measure.refusal = Refusal::Unmeasurable;
    measure.detail = why;
    return measure;
}

qint64 ceilDiv(qint64 value, qint64 by)
{
    return (value + by - 1) / by;
}

qint64 pixelsOf(QSize size)
{
    return qint64(std::max(size.width(), 0)) * std::max(size.height(), 0);
}

QString sizeText(qint64 width, qint64 height)
{
    return QStringLiteral("%1 x %2").arg(width).arg(height);
}

// ---- PNG

const QByteArray kPngSignature("\x89PNG\r\n\x1a\n", 8);

// The offset of the first zero byte in [from, end), or -1.
qint64 zeroAfter(Source &source, qint64 from, qint64 end)
{
    for (qint64 at = from; at < end; ++at) {
        const int byte = source.byteAt(at);
        if (byte < 0)
            return -1;
        if (byte == 0)
            return at;
    }
    return -1;
}

// What a compressed text chunk (zTXt, iTXt, iCCP) inflates to, counted up to cap.
qint64 compressedText(Source &source, const QByteArray &type, qint64 data, qint64 length,
                      qint64 cap)
{
    const qint64 end = data + length;
    qint64 keyword = zeroAfter(source, data, end);
    if (keyword < 0)
        return 0;
    qint64 start = keyword + 2; // zTXt and iCCP: the keyword's end and the method
    if (type == "iTXt") {
        if (source.byteAt(keyword + 1) != 1)
            return 0; // not compressed: its bytes are all it takes
        const qint64 language = zeroAfter(source, keyword + 3, end);
        const qint64 translated = language < 0 ? -1 : zeroAfter(source, language + 1, end);
        if (translated < 0)
            return 0;
        start = translated + 1;
    }
    if (start >= end)
        return 0;
    return std::max<qint64>(0, inflate(source, start, end - start, cap, false));
}

int pngBits(int depth, int colourType)
{
    if (depth == 16)
        return 64; // RGBA64 (or grey at 16 bits), whatever the channels
    switch (colourType) {
    case 0:
        return depth == 1 ? 1 : 8;
    case 3:
        return 8;
    default:
        return 32;
    }
}

Measure png(Cursor cursor)
{
    if (cursor.bytes(8) != kPngSignature)
        return damaged(QStringLiteral("no PNG signature"));
    Measure measure;
    bool header = false;
    qint64 text = 0;
    qint64 width = 0;
    while (!cursor.atEnd()) {
        const quint32 length = cursor.be32();
        const QByteArray type = cursor.bytes(4);
        if (!cursor.ok())
            break; // the decoder stops where the file does
        if (length > 0x7fffffffu)
            return damaged(QStringLiteral("a PNG chunk of %1 bytes").arg(length));
        const qint64 data = cursor.pos();
        if (!header) {
            if (type != "IHDR" || length < 13)
                return damaged(QStringLiteral("a PNG without its IHDR first"));
            width = cursor.be32();
            const qint64 height = cursor.be32();
            const int depth = int(cursor.u8());
            const int colourType = int(cursor.u8());
            if (!cursor.ok() || width == 0 || height == 0 || width > 0x7fffffff
                || height > 0x7fffffff)
                return damaged(QStringLiteral("a PNG of %1").arg(sizeText(width, height)));
            measure.size = QSize(int(width), int(height));
            measure.bitsPerPixel = pngBits(depth, colourType);
            // Grey with alpha, or colour with alpha; a tRNS chunk may still come.
            measure.alpha = colourType == 4 || colourType == 6;
            measure.detail = QStringLiteral("PNG %1, %2 bits, colour type %3")
                                     .arg(sizeText(width, height))
                                     .arg(depth)
                                     .arg(colourType);
            header = true;
        } else if (type == "zTXt" || type == "iTXt" || type == "iCCP") {
            text += compressedText(cursor.source(), type, data, length, kMaxTextBytes - text + 1);
            if (text > kMaxTextBytes) {
                measure.workBytes = kUnbounded;
                measure.detail += QStringLiteral(", compressed text of more than %1 MB")
                                          .arg(kMaxTextBytes >> 20);
                return measure;
            }
        } else if (type == "tRNS") {
            measure.alpha = true;
        } else if (type == "IEND") {
            break;
        }
        cursor.seek(data + length + 4); // and the CRC
    }
    if (!header)
        return damaged(QStringLiteral("a PNG that breaks off"));
    // The text is kept by the decoder, then by the image as UTF-16; rows of up to 16 bytes a
    // pixel are held while the image is made.
    measure.workBytes += 3 * text + 32 * width;
    return measure;
}

// ---- JPEG

bool isFrameMarker(int marker)
{
    return marker >= 0xc0 && marker <= 0xcf && marker != 0xc4 && marker != 0xc8 && marker != 0xcc;
}

qint64 countScans(Source &source, qint64 from)
{
    // Markers follow a 0xff byte: the bytes between them are passed over many at a time.
    qint64 scans = 1;
    bool afterFf = false;
    for (qint64 at = from; at < source.size(); at += kBlockBytes) {
        const QByteArray piece = source.read(at, kBlockBytes);
        const char *bytes = piece.constData();
        const char *end = bytes + piece.size();
        if (afterFf && bytes < end && quint8(*bytes) == 0xda && ++scans > kMaxJpegScans)
            return scans;
        for (const char *ff = bytes; (ff = static_cast<const char *>(
                                              memchr(ff, 0xff, size_t(end - ff))));) {
            if (++ff < end && quint8(*ff) == 0xda && ++scans > kMaxJpegScans)
                return scans;
        }
        afterFf = bytes < end && quint8(end[-1]) == 0xff;
    }
    return scans;
}

Measure jpeg(Cursor cursor)
{
    if (cursor.u8() != 0xff || cursor.u8() != 0xd8)
        return damaged(QStringLiteral("no JPEG start"));
    int frameMarker = -1;
    qint64 width = 0;
    qint64 height = 0;
    int components = 0;
    int hMax = 1;
    int vMax = 1;
    QVector<std::pair<int, int>> sampling;
    int scanComponents = 0;
    while (scanComponents == 0) {
        if (cursor.u8() != 0xff) {
            if (!cursor.ok())
                return damaged(QStringLiteral("a JPEG that ends before its first scan"));
            continue; // the decoder passes over stray bytes too
        }
        int marker = int(cursor.u8());
        while (marker == 0xff && cursor.ok())
            marker = int(cursor.u8());
        if (!cursor.ok())
            return damaged(QStringLiteral("a JPEG that ends before its first scan"));
        if (marker == 0 || marker == 0x01 || marker == 0xd8 || (marker >= 0xd0 && marker <= 0xd7))
            continue;
        if (marker == 0xd9)
            return damaged(QStringLiteral("a JPEG without a scan"));
        const qint64 length = cursor.be16();
        const qint64 segment = cursor.pos();
        if (length < 2)
            return damaged(QStringLiteral("a JPEG segment of %1 bytes").arg(length));
        if (isFrameMarker(marker) && frameMarker < 0) {
            frameMarker = marker;
            cursor.u8(); // precision
            height = cursor.be16();
            width = cursor.be16();
            components = int(cursor.u8());
            for (int i = 0; i < components; ++i) {
                cursor.u8();
                const int factors = int(cursor.u8());
                cursor.u8();
                const int h = factors >> 4;
                const int v = factors & 15;
                if (h < 1 || h > 4 || v < 1 || v > 4)
                    return damaged(QStringLiteral("a JPEG sampling factor of %1").arg(factors));
                sampling.append({ h, v });
                hMax = std::max(hMax, h);
                vMax = std::max(vMax, v);
            }
        } else if (marker == 0xda) {
            scanComponents = std::max(1, int(cursor.u8()));
        }
        cursor.seek(segment + length - 2);
    }
    if (frameMarker < 0 || components < 1 || components > 4 || width == 0)
        return damaged(QStringLiteral("a JPEG without a frame header before its scan"));
    // Lossless and hierarchical frames are refused by the decoder before it allocates.
    if ((frameMarker & 3) == 3 || (frameMarker >= 0xc5 && frameMarker <= 0xc7)
        || frameMarker >= 0xcd)
        return damaged(QStringLiteral("a JPEG frame of type %1").arg(frameMarker, 0, 16));
    if (height == 0)
        return unmeasurable(QStringLiteral("a JPEG whose height comes after its pixels"));
    if (countScans(cursor.source(), cursor.pos()) > kMaxJpegScans)
        return damaged(QStringLiteral("a JPEG of more than %1 scans").arg(kMaxJpegScans));

    Measure measure;
    measure.size = QSize(int(width), int(height));
    measure.bitsPerPixel = components == 1 ? 8 : 32;
    measure.alpha = false;
    measure.eighths = true;
    measure.oriented = true; // its EXIF is not read here
    const bool progressive = (frameMarker & 3) == 2;
    // A progressive picture, or one whose components come in scans of their own, is gathered
    // whole as coefficients, two bytes a sample at its full size whatever the output's.
    const bool gathered = progressive || scanComponents < components;
    qint64 coefficients = 0;
    for (const auto &[h, v] : sampling) {
        const qint64 columns = ceilDiv(ceilDiv(width * h, hMax), 8);
        const qint64 rows = ceilDiv(ceilDiv(height * v, vMax), 8);
        coefficients += ceilDiv(columns, h) * h * ceilDiv(rows, v) * v * 128;
    }
    measure.workBytes = (gathered ? coefficients : 0) + width * components * vMax * 8 * 4;
    measure.detail = QStringLiteral("JPEG %1, %2 components%3")
                             .arg(sizeText(width, height))
                             .arg(components)
                             .arg(gathered ? QStringLiteral(", gathered whole") : QString());
    return measure;
}

// ---- GIF

// Skips the sub-blocks that follow, up to their terminator.
void skipSubBlocks(Cursor &cursor)
{
    for (;;) {
        const quint32 length = cursor.u8();
        if (length == 0 || !cursor.ok())
            return;
        cursor.skip(length);
    }
}

Measure gif(Cursor cursor)
{
    const QByteArray signature = cursor.bytes(6);
    if (signature != "GIF87a" && signature != "GIF89a")
        return damaged(QStringLiteral("no GIF signature"));
    const qint64 screenWidth = cursor.le16();
    const qint64 screenHeight = cursor.le16();
    const quint32 flags = cursor.u8();
    cursor.skip(2);
    if (flags & 0x80)
        cursor.skip(3 << ((flags & 7) + 1));
    qint64 canvasWidth = screenWidth;
    qint64 canvasHeight = screenHeight;
    qint64 backingStore = 0;
    int frames = 0;
    int disposal = 0;
    while (cursor.ok() && !cursor.atEnd()) {
        const quint32 block = cursor.u8();
        if (block == 0x21) {
            const quint32 label = cursor.u8();
            if (label == 0xf9 && cursor.source().byteAt(cursor.pos()) == 4) {
                cursor.skip(1);
                disposal = int((cursor.u8() >> 2) & 7);
                cursor.skip(3);
            }
            skipSubBlocks(cursor);
        } else if (block == 0x2c) {
            const qint64 left = cursor.le16();
            const qint64 top = cursor.le16();
            const qint64 width = cursor.le16();
            const qint64 height = cursor.le16();
            const quint32 frameFlags = cursor.u8();
            if (!cursor.ok())
                break;
            if (frameFlags & 0x80)
                cursor.skip(3 << ((frameFlags & 7) + 1));
            cursor.skip(1); // the LZW code size
            skipSubBlocks(cursor);
            // The decoder fits each frame to the screen; a screen of no size is taken from
            // the frames. Counting both as they are written bounds either.
            canvasWidth = std::max(canvasWidth, left + width);
            canvasHeight = std::max(canvasHeight, top + height);
            if (disposal == 3) // restore the previous picture: kept in a store of the frame's size
                backingStore = std::max(backingStore, width * height * 4);
            disposal = 0;
            ++frames;
        } else {
            break; // the trailer, or bytes the decoder stops at
        }
    }
    if (frames == 0 || canvasWidth == 0 || canvasHeight == 0)
        return damaged(QStringLiteral("a GIF without pictures"));
    Measure measure;
    measure.size = QSize(int(canvasWidth), int(canvasHeight));
    measure.frames = frames;
    measure.workBytes = backingStore;
    measure.detail =
            QStringLiteral("GIF screen %1 (canvas %2), %3 frames")
                    .arg(sizeText(screenWidth, screenHeight), sizeText(canvasWidth, canvasHeight))
                    .arg(frames);
    return measure;
}

// ---- BMP and the bitmaps of ICO entries

int bitmapBits(int bitCount)
{
    if (bitCount == 1)
        return 1;
    return bitCount <= 8 ? 8 : 32;
}

Measure bmp(Cursor cursor)
{
    if (cursor.bytes(2) != "BM")
        return damaged(QStringLiteral("no BMP signature"));
    cursor.skip(12);
    const quint32 headerSize = cursor.le32();
    qint64 width = 0;
    qint64 height = 0;
    int bitCount = 0;
    if (headerSize == 12) {
        width = cursor.le16();
        height = cursor.le16();
        cursor.skip(2);
        bitCount = int(cursor.le16());
    } else if (headerSize >= 40 && headerSize <= 124) {
        width = qint32(cursor.le32());
        height = qint32(cursor.le32());
        cursor.skip(2);
        bitCount = int(cursor.le16());
    } else {
        return damaged(QStringLiteral("a BMP header of %1 bytes").arg(headerSize));
    }
    height = std::abs(height); // rows top down when negative
    if (!cursor.ok() || width <= 0 || height == 0 || height > 0x7fffffff)
        return damaged(QStringLiteral("a BMP of %1").arg(sizeText(width, height)));
    Measure measure;
    measure.size = QSize(int(width), int(height));
    measure.bitsPerPixel = bitmapBits(bitCount);
    measure.detail = QStringLiteral("BMP %1, %2 bits").arg(sizeText(width, height)).arg(bitCount);
    return measure;
}

// ---- PNM, XBM, XPM, WBMP, TGA

Measure pnm(Cursor cursor)
{
    if (cursor.u8() != 'P')
        return damaged(QStringLiteral("no PNM signature"));
    const int kind = int(cursor.u8()) - '0';
    if (kind < 1 || kind > 6)
        return damaged(QStringLiteral("a PNM of kind %1").arg(kind));
    // Numbers between blanks and comments, as the decoder reads them.
    auto number = [&cursor]() -> qint64 {
        int byte = int(cursor.u8());
        for (;;) {
            if (byte == '#') {
                while (cursor.ok() && byte != '\n' && byte != '\r')
                    byte = int(cursor.u8());
            } else if (byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r') {
                byte = int(cursor.u8());
            } else {
                break;
            }
            if (!cursor.ok())
                return -1;
        }
        qint64 value = 0;
        int digits = 0;
        while (cursor.ok() && byte >= '0' && byte <= '9' && digits < 11) {
            value = value * 10 + (byte - '0');
            byte = int(cursor.u8());
            ++digits;
        }
        return digits > 0 && digits < 11 ? value : -1;
    };
    const qint64 width = number();
    const qint64 height = number();
    const qint64 levels = kind == 1 || kind == 4 ? 1 : number();
    if (width <= 0 || height <= 0 || width > 0x7fffffff || height > 0x7fffffff || levels <= 0)
        return damaged(QStringLiteral("a PNM of %1").arg(sizeText(width, height)));
    Measure measure;
    measure.size = QSize(int(width), int(height));
    const bool wide = levels > 255;
    if (kind == 1 || kind == 4)
        measure.bitsPerPixel = 1;
    else if (kind == 2 || kind == 5)
        measure.bitsPerPixel = wide ? 16 : 8;
    else
        measure.bitsPerPixel = wide ? 64 : 32;
    // P1 to P6 have no alpha channel: a page of a PDF comes as one, and taken as transparent, it
    // hid none of the pages under it, which were all decoded.
    measure.alpha = false;
    measure.detail = QStringLiteral("PNM P%1 %2").arg(kind).arg(sizeText(width, height));
    return measure;
}

// The first bytes of a text format, where its header lies.
QByteArray head(Cursor &cursor)
{
    return cursor.source().read(cursor.pos(), kBlockBytes);
}

Measure xbm(Cursor cursor)
{
    const QString text = QString::fromLatin1(head(cursor));
    qint64 sides[2] = { -1, -1 };
    const char *const names[2] = { "_width", "_height" };
    for (int i = 0; i < 2; ++i) {
        const int at = text.indexOf(QLatin1String(names[i]));
        if (at < 0)
            continue;
        const QString rest = text.mid(at + int(qstrlen(names[i])), 24).simplified();
        bool ok = false;
        const qint64 value = rest.section(QLatin1Char(' '), 0, 0).toLongLong(&ok);
        sides[i] = ok ? value : -1;
    }
    if (sides[0] <= 0 || sides[1] <= 0 || sides[0] > 0x7fffffff || sides[1] > 0x7fffffff)
        return damaged(QStringLiteral("an XBM without its sizes"));
    Measure measure;
    measure.size = QSize(int(sides[0]), int(sides[1]));
    measure.bitsPerPixel = 1;
    measure.detail = QStringLiteral("XBM %1").arg(sizeText(sides[0], sides[1]));
    return measure;
}

Measure xpm(Cursor cursor)
{
    const QByteArray text = head(cursor);
    const int open = text.indexOf('{');
    const int quote = open < 0 ? -1 : text.indexOf('"', open);
    const int close = quote < 0 ? -1 : text.indexOf('"', quote + 1);
    if (close < 0)
        return damaged(QStringLiteral("an XPM without its values"));
    const QList<QByteArray> values = text.mid(quote + 1, close - quote - 1).simplified().split(' ');
    qint64 numbers[4] = { -1, -1, -1, -1 };
    for (int i = 0; i < 4 && i < values.size(); ++i) {
        bool ok = false;
        numbers[i] = values.at(i).toLongLong(&ok);
        if (!ok)
            numbers[i] = -1;
    }
    if (numbers[0] <= 0 || numbers[1] <= 0 || numbers[2] <= 0 || numbers[3] <= 0
        || numbers[0] > 0x7fffffff || numbers[1] > 0x7fffffff)
        return damaged(QStringLiteral("an XPM of %1").arg(sizeText(numbers[0], numbers[1])));
    Measure measure;
    measure.size = QSize(int(numbers[0]), int(numbers[1]));
    measure.bitsPerPixel = numbers[2] <= 256 ? 8 : 32;
    // The colour table is looked up by name: each colour a few hundred bytes.
    measure.workBytes = std::min<qint64>(numbers[2], cursor.source().size()) * 256;
    measure.detail = QStringLiteral("XPM %1, %2 colours")
                             .arg(sizeText(numbers[0], numbers[1]))
                             .arg(numbers[2]);
    return measure;
}

Measure wbmp(Cursor cursor)
{
    auto multiByte = [&cursor]() -> qint64 {
        qint64 value = 0;
        for (int i = 0; i < 5; ++i) {
            const quint32 byte = cursor.u8();
            value = (value << 7) | (byte & 0x7f);
            if (!(byte & 0x80))
                return cursor.ok() ? value : -1;
        }
        return -1;
    };
    if (multiByte() != 0)
        return damaged(QStringLiteral("a WBMP of another type"));
    quint32 fixed = cursor.u8();
    while ((fixed & 0x80) && cursor.ok()) // extension headers
        fixed = cursor.u8();
    const qint64 width = multiByte();
    const qint64 height = multiByte();
    if (width <= 0 || height <= 0 || width > 0x7fffffff || height > 0x7fffffff)
        return damaged(QStringLiteral("a WBMP of %1").arg(sizeText(width, height)));
    Measure measure;
    measure.size = QSize(int(width), int(height));
    measure.bitsPerPixel = 1;
    measure.detail = QStringLiteral("WBMP %1").arg(sizeText(width, height));
    return measure;
}

Measure tga(Cursor cursor)
{
    cursor.skip(12);
    const qint64 width = cursor.le16();
    const qint64 height = cursor.le16();
    if (!cursor.ok() || width == 0 || height == 0)
        return damaged(QStringLiteral("a TGA of %1").arg(sizeText(width, height)));
    Measure measure;
    measure.size = QSize(int(width), int(height));
    measure.detail = QStringLiteral("TGA %1").arg(sizeText(width, height));
    return measure;
}

// ---- TIFF

Measure tiff(Cursor cursor)
{
    const QByteArray order = cursor.bytes(2);
    const bool little = order == "II";
    if (!little && order != "MM")
        return damaged(QStringLiteral("no TIFF byte order"));
    auto u16 = [&]() { return little ? cursor.le16() : cursor.be16(); };
    auto u32 = [&]() { return little ? cursor.le32() : cursor.be32(); };
    auto u64 = [&]() { return little ? cursor.le64() : cursor.be64(); };
    const quint32 version = u16();
    const bool big = version == 43;
    if (version != 42 && !big)
        return damaged(QStringLiteral("a TIFF of version %1").arg(version));
    if (big)
        cursor.skip(4); // offset size and padding
    const quint64 directory = big ? u64() : u32();
    if (!cursor.ok() || directory >= quint64(cursor.source().size()))
        return damaged(QStringLiteral("a TIFF without its directory"));
    cursor.seek(qint64(directory));
    const quint64 entries = big ? u64() : u16();
    if (entries > 4096)
        return damaged(QStringLiteral("a TIFF directory of %1 entries").arg(entries));
    const int entryBytes = big ? 20 : 12;
    const int inlineBytes = big ? 8 : 4;
    QHash<int, quint64> values; // the first value of each tag
    QHash<int, quint64> counts;
    const qint64 first = cursor.pos();
    static const QList<int> kTags = { 256, 257, 258, 262, 273, 274, 277, 278, 284, 322, 323, 324 };
    for (quint64 i = 0; i < entries; ++i) {
        cursor.seek(first + qint64(i) * entryBytes);
        const int tag = int(u16());
        if (!kTags.contains(tag))
            continue;
        const int type = int(u16());
        const quint64 count = big ? u64() : u32();
        const int typeBytes = type == 3 ? 2 : type == 16 ? 8 : type == 1 ? 1 : 4;
        if (count > 1 && count * typeBytes > quint64(inlineBytes)) {
            const quint64 at = big ? u64() : u32();
            cursor.seek(qint64(at));
        }
        quint64 value = 0;
        switch (type) {
        case 1:
            value = cursor.u8();
            break;
        case 3:
            value = u16();
            break;
        case 16:
            value = u64();
            break;
        default:
            value = u32();
            break;
        }
        if (!cursor.ok())
            return damaged(QStringLiteral("a TIFF directory that breaks off"));
        values.insert(tag, value);
        counts.insert(tag, count);
    }
    const quint64 width = values.value(256);
    const quint64 height = values.value(257);
    if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff)
        return damaged(QStringLiteral("a TIFF of %1").arg(sizeText(qint64(width), qint64(height))));
    const quint64 samples = std::max<quint64>(1, values.value(277, 1));
    const quint64 bits = std::max<quint64>(1, values.value(258, 1));
    if (samples > 16 || bits > 64)
        return damaged(QStringLiteral("a TIFF of %1 samples of %2 bits").arg(samples).arg(bits));
    const bool separate = values.value(284, 1) == 2;
    const quint64 perBuffer = separate ? 1 : samples;
    quint64 buffer = 0;
    quint64 pieces = 0;
    if (values.contains(322)) {
        const quint64 tileWidth = values.value(322);
        const quint64 tileHeight = values.value(323);
        buffer = tileWidth * tileHeight * perBuffer * bits / 8;
        pieces = counts.value(324);
        if (tileWidth == 0 || tileHeight == 0 || tileWidth > (1u << 24) || tileHeight > (1u << 24))
            return damaged(QStringLiteral("TIFF tiles of %1")
                                   .arg(sizeText(qint64(tileWidth), qint64(tileHeight))));
    } else {
        const quint64 rows =
                std::min<quint64>(std::max<quint64>(1, values.value(278, height)), height);
        buffer = rows * ceilDiv(qint64(width * perBuffer * bits), 8);
        pieces = counts.value(273);
    }
    Measure measure;
    measure.size = QSize(int(width), int(height));
    const quint64 photometric = values.value(262, 1);
    const bool grey = (photometric <= 1 || photometric == 3) && samples == 1;
    if (grey)
        measure.bitsPerPixel = bits == 1 ? 1 : bits <= 8 ? 8 : 16;
    else
        measure.bitsPerPixel = bits > 8 ? 64 : 32;
    measure.oriented = values.value(274, 1) > 1;
    // A strip or tile is held as read and as decoded; the decoder keeps two offsets a piece.
    measure.workBytes = qint64(std::min<quint64>(buffer, quint64(kUnbounded))) * 2
            + qint64(std::min<quint64>(pieces, quint64(kUnbounded))) * 16;
    measure.detail = QStringLiteral("TIFF %1, %2 samples of %3 bits, pieces of %4 bytes")
                             .arg(sizeText(qint64(width), qint64(height)))
                             .arg(samples)
                             .arg(bits)
                             .arg(buffer);
    return measure;
}

// ---- WEBP

// The size a VP8 or VP8L bitstream says, or an invalid size.
QSize webpStream(Cursor cursor, const QByteArray &type)
{
    if (type == "VP8 ") {
        cursor.skip(3);
        if (cursor.u8() != 0x9d || cursor.u8() != 0x01 || cursor.u8() != 0x2a)
            return QSize();
        const int width = int(cursor.le16() & 0x3fff);
        const int height = int(cursor.le16() & 0x3fff);
        return cursor.ok() ? QSize(width, height) : QSize();
    }
    if (cursor.u8() != 0x2f)
        return QSize();
    const quint32 bits = cursor.le32();
    return cursor.ok() ? QSize(int(bits & 0x3fff) + 1, int((bits >> 14) & 0x3fff) + 1) : QSize();
}

// What decoding one bitstream holds beside its output: a lossless one decodes into a whole
// picture of its own first; a lossy one needs rows, and its alpha a plane.
qint64 webpWork(QSize size, const QByteArray &type, bool alpha)
{
    const qint64 pixels = pixelsOf(size);
    return (type == "VP8L" ? pixels * 4 : 0) + (alpha ? pixels : 0) + qint64(size.width()) * 64 * 4;
}

Measure webp(Cursor cursor)
{
    if (cursor.bytes(4) != "RIFF")
        return damaged(QStringLiteral("no RIFF signature"));
    cursor.skip(4);
    if (cursor.bytes(4) != "WEBP")
        return damaged(QStringLiteral("a RIFF file of no WEBP"));
    Measure measure;
    QSize canvas;
    bool extended = false;
    bool alpha = false;
    qint64 frameWork = 0;
    int frames = 0;
    while (cursor.ok() && !cursor.atEnd()) {
        const QByteArray type = cursor.bytes(4);
        const qint64 length = cursor.le32();
        if (!cursor.ok())
            break;
        const qint64 data = cursor.pos();
        if (type == "VP8X") {
            cursor.skip(4);
            const int width = int(cursor.le24()) + 1;
            const int height = int(cursor.le24()) + 1;
            canvas = QSize(width, height);
            extended = true;
        } else if (type == "ALPH") {
            alpha = true;
        } else if (type == "VP8 " || type == "VP8L") {
            const QSize size = webpStream(Cursor(cursor.source(), data), type);
            if (!size.isValid())
                return damaged(QStringLiteral("a WEBP stream without its size"));
            if (!extended)
                canvas = size;
            frameWork = std::max(frameWork, webpWork(size, type, alpha));
            ++frames;
        } else if (type == "ANMF") {
            // A frame: its own picture, then composed onto the canvas.
            cursor.skip(6);
            const QSize frame(int(cursor.le24()) + 1, int(cursor.le24()) + 1);
            Cursor inner(cursor.source(), data + 16, data + length);
            bool frameAlpha = false;
            while (inner.ok() && !inner.atEnd()) {
                const QByteArray innerType = inner.bytes(4);
                const qint64 innerLength = inner.le32();
                if (innerType == "ALPH")
                    frameAlpha = true;
                if (innerType == "VP8 " || innerType == "VP8L") {
                    const QSize size = webpStream(Cursor(cursor.source(), inner.pos()), innerType);
                    if (!size.isValid())
                        return damaged(QStringLiteral("a WEBP frame without its size"));
                    frameWork = std::max(
                            frameWork, webpWork(size, innerType, frameAlpha) + pixelsOf(frame) * 4);
                }
                inner.skip(innerLength + (innerLength & 1));
            }
            ++frames;
        }
        cursor.seek(data + length + (length & 1));
    }
    if (!canvas.isValid() || canvas.isEmpty() || frames == 0)
        return damaged(QStringLiteral("a WEBP without a picture"));
    measure.size = canvas;
    measure.frames = frames;
    measure.workBytes = frameWork;
    measure.detail = QStringLiteral("WEBP %1, %2 frames")
                             .arg(sizeText(canvas.width(), canvas.height()))
                             .arg(frames);
    return measure;
}

// ---- ICO and CUR, ICNS: a file of several pictures, each measured

Measure icoBitmap(Cursor cursor)
{
    const quint32 headerSize = cursor.le32();
    const qint64 width = qint32(cursor.le32());
    const qint64 height = qint32(cursor.le32()) / 2; // with the mask below the colours
    if (!cursor.ok() || headerSize < 12 || width <= 0 || height <= 0)
        return damaged(QStringLiteral("an icon bitmap of %1").arg(sizeText(width, height)));
    Measure measure;
    measure.size = QSize(int(width), int(height));
    // The colours, then the mask, then both made into 32 bits.
    measure.workBytes = imageBytes(measure.size, 1) + imageBytes(measure.size, 32);
    measure.detail = QStringLiteral("bitmap %1").arg(sizeText(width, height));
    return measure;
}

// The entry of entries that decodes to the most; its size is the icon's.
Measure largestOf(const QVector<Measure> &entries, const QString &kind)
{
    Measure largest;
    qint64 most = -1;
    for (const Measure &entry : entries) {
        if (entry.refusal != Refusal::None)
            return entry;
        const qint64 bytes = imageBytes(entry.size, entry.bitsPerPixel) + entry.workBytes;
        if (bytes > most) {
            most = bytes;
            largest = entry;
        }
    }
    if (most < 0)
        return damaged(QStringLiteral("%1 without pictures").arg(kind));
    largest.wholeOnly = true;
    largest.detail = QStringLiteral("%1 of %2 pictures, the largest %3")
                             .arg(kind)
                             .arg(entries.size())
                             .arg(largest.detail);
    return largest;
}

Measure ico(Cursor cursor)
{
    const quint32 reserved = cursor.le16();
    const quint32 type = cursor.le16();
    const quint32 count = cursor.le16();
    if (!cursor.ok() || reserved != 0 || (type != 1 && type != 2) || count == 0)
        return damaged(QStringLiteral("no icon directory"));
    QVector<Measure> entries;
    for (quint32 i = 0; i < count; ++i) {
        cursor.seek(6 + qint64(i) * 16 + 8);
        const qint64 size = cursor.le32();
        const qint64 offset = cursor.le32();
        if (!cursor.ok())
            return damaged(QStringLiteral("an icon directory that breaks off"));
        Cursor entry(cursor.source(), offset, std::min(offset + size, cursor.source().size()));
        const bool isPng = cursor.source().read(offset, 8) == kPngSignature;
        entries.append(isPng ? png(entry) : icoBitmap(entry));
    }
    return largestOf(entries, QStringLiteral("an icon"));
}

// JPEG 2000, a file or a bare codestream: its size and components.
Measure jpeg2000(Cursor cursor)
{
    const qint64 start = cursor.pos();
    if (cursor.source().read(start, 4) == QByteArray("\xff\x4f\xff\x51", 4)) {
        cursor.skip(8);
        const qint64 right = cursor.be32();
        const qint64 bottom = cursor.be32();
        const qint64 left = cursor.be32();
        const qint64 top = cursor.be32();
        cursor.skip(16);
        const qint64 components = cursor.be16();
        Measure measure;
        measure.size = QSize(int(std::clamp<qint64>(right - left, 0, 0x7fffffff)),
                             int(std::clamp<qint64>(bottom - top, 0, 0x7fffffff)));
        measure.bitsPerPixel = 64;
        measure.workBytes = pixelsOf(measure.size) * 4 * std::max<qint64>(components, 1);
        if (!cursor.ok() || measure.size.isEmpty())
            return damaged(QStringLiteral("a JPEG 2000 codestream without its size"));
        measure.detail = QStringLiteral("JPEG 2000 %1").arg(sizeText(right - left, bottom - top));
        return measure;
    }
    // Boxes: the header box holds the image header box.
    qint64 at = start;
    while (at + 8 <= cursor.end()) {
        Cursor box(cursor.source(), at, cursor.end());
        const qint64 length = box.be32();
        const QByteArray type = box.bytes(4);
        if (!box.ok() || (length < 8 && length != 0))
            break;
        if (type == "jp2h") {
            at += 8;
            continue; // into it
        }
        if (type == "ihdr") {
            const qint64 height = box.be32();
            const qint64 width = box.be32();
            const qint64 components = box.be16();
            if (!box.ok() || width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff)
                break;
            Measure measure;
            measure.size = QSize(int(width), int(height));
            measure.bitsPerPixel = 64;
            measure.workBytes = width * height * 4 * std::max<qint64>(components, 1);
            measure.detail = QStringLiteral("JPEG 2000 %1").arg(sizeText(width, height));
            return measure;
        }
        if (length == 0)
            break;
        at += length;
    }
    return damaged(QStringLiteral("a JPEG 2000 file without its size"));
}

// The sides of the uncompressed icon types, by their name: their pictures are as large as the
// name says, whatever the bytes.
int icnsRawSide(const QByteArray &type)
{
    // clang-format off
    static const QHash<QByteArray, int> kSides = {
        { "ICON", 32 }, { "ICN#", 32 }, { "icm#", 16 }, { "icm4", 16 }, { "icm8", 16 },
        { "ics#", 16 }, { "ics4", 16 }, { "ics8", 16 }, { "is32", 16 }, { "s8mk", 16 },
        { "icl4", 32 }, { "icl8", 32 }, { "il32", 32 }, { "l8mk", 32 }, { "ich#", 48 },
        { "ich4", 48 }, { "ich8", 48 }, { "ih32", 48 }, { "h8mk", 48 }, { "it32", 128 },
        { "t8mk", 128 }, { "icp4", 16 }, { "icp5", 32 }, { "icp6", 64 }, { "ic04", 16 },
        { "ic05", 32 }, { "ic07", 128 }, { "ic08", 256 }, { "ic09", 512 }, { "ic10", 1024 },
        { "ic11", 32 }, { "ic12", 64 }, { "ic13", 256 }, { "ic14", 512 }, { "icsb", 18 },
        { "icsB", 36 }, { "sb24", 24 }, { "SB24", 48 },
    };
    // clang-format on
    return kSides.value(type, 0);
}

Measure icns(Cursor cursor)
{
    if (cursor.bytes(4) != "icns")
        return damaged(QStringLiteral("no ICNS signature"));
    const qint64 total = std::min<qint64>(cursor.be32(), cursor.source().size());
    QVector<Measure> entries;
    qint64 at = 8;
    while (at + 8 <= total) {
        Cursor entry(cursor.source(), at, total);
        const QByteArray type = entry.bytes(4);
        const qint64 length = entry.be32();
        if (!entry.ok() || length < 8)
            break;
        const qint64 end = std::min(at + length, total);
        const QByteArray magic = cursor.source().read(at + 8, 12);
        Cursor data(cursor.source(), at + 8, end);
        if (magic.startsWith(kPngSignature)) {
            entries.append(png(data));
        } else if (magic == QByteArray("\x00\x00\x00\x0cjP  \r\n\x87\n", 12)
                   || magic.startsWith(QByteArray("\xff\x4f\xff\x51", 4))) {
            entries.append(jpeg2000(data));
        } else if (const int side = icnsRawSide(type)) {
            Measure raw;
            raw.size = QSize(side, side);
            raw.detail = QStringLiteral("%1 %2").arg(QString::fromLatin1(type)).arg(side);
            entries.append(raw);
        }
        // Other entries (a table of contents, a name, a version) are not pictures.
        at += length;
    }
    return largestOf(entries, QStringLiteral("an ICNS"));
}

// ---- MNG

Measure mng(Cursor cursor)
{
    if (cursor.bytes(8) != QByteArray("\x8aMNG\r\n\x1a\n", 8))
        return damaged(QStringLiteral("no MNG signature"));
    // Chunks that make nothing the size of a picture (or only what their own bytes hold).
    static const QList<QByteArray> kPassive = {
        "TERM", "BACK", "FRAM", "MOVE", "CLIP", "SHOW", "SAVE", "SEEK", "eXPi", "fPRI", "nEED",
        "pHYg", "DISC", "LOOP", "ENDL", "PLTE", "tRNS", "gAMA", "cHRM", "sRGB", "sBIT", "bKGD",
        "pHYs", "hIST", "tEXt", "tIME", "IDAT", "IEND", "JDAT", "JDAA", "JSEP",
    };
    Measure measure;
    QHash<quint32, qint64> objects; // the largest picture made under each object id
    qint64 largest = 0;
    qint64 text = 0;
    quint32 nextId = 0;
    int pictures = 0;
    bool header = false;
    while (!cursor.atEnd()) {
        const quint32 length = cursor.be32();
        const QByteArray type = cursor.bytes(4);
        if (!cursor.ok())
            break;
        if (length > 0x7fffffffu)
            return damaged(QStringLiteral("an MNG chunk of %1 bytes").arg(length));
        const qint64 data = cursor.pos();
        if (!header) {
            if (type != "MHDR" || length < 12)
                return damaged(QStringLiteral("an MNG without its MHDR first"));
            const qint64 width = cursor.be32();
            const qint64 height = cursor.be32();
            if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff)
                return unmeasurable(
                        QStringLiteral("an MNG frame of %1").arg(sizeText(width, height)));
            measure.size = QSize(int(width), int(height));
            header = true;
        } else if (type == "MEND") {
            break;
        } else if (type == "DEFI") {
            nextId = cursor.be16();
        } else if (type == "CLON") {
            const quint32 source = cursor.be16();
            const quint32 clone = cursor.be16();
            objects[clone] = std::max(objects.value(clone), objects.value(source));
        } else if (type == "IHDR" || type == "JHDR" || type == "BASI") {
            const qint64 width = cursor.be32();
            const qint64 height = cursor.be32();
            const quint32 first = cursor.u8();
            const quint32 second = cursor.u8();
            // Objects are stored at 16 bits a sample when the picture has them; a JNG's
            // decoder also gathers its coefficients.
            const quint32 depth = type == "JHDR" ? second : first;
            qint64 bytes = width * height * (depth > 8 ? 8 : 4);
            if (type == "JHDR")
                bytes += width * height * 8;
            objects[nextId] = std::max(objects.value(nextId), bytes);
            largest = std::max(largest, bytes);
            nextId = 0;
            ++pictures;
        } else if (type == "zTXt" || type == "iTXt" || type == "iCCP") {
            text += compressedText(cursor.source(), type, data, length, kMaxTextBytes - text + 1);
            if (text > kMaxTextBytes)
                return unmeasurable(
                        QStringLiteral("MNG text of more than %1 MB").arg(kMaxTextBytes >> 20));
        } else if (!kPassive.contains(type)) {
            // MAGN, PAST, DHDR, PROM and any chunk not known here make pictures of sizes
            // their header alone does not give.
            return unmeasurable(
                    QStringLiteral("an MNG chunk %1").arg(QString::fromLatin1(type.toHex())));
        }
        cursor.seek(data + qint64(length) + 4);
    }
    if (!header)
        return damaged(QStringLiteral("an MNG that breaks off"));
    qint64 held = 0;
    for (const qint64 bytes : qAsConst(objects))
        held += bytes;
    // The frame is drawn into a picture of its own; an object may be made again before the
    // one it replaces is gone.
    measure.workBytes = held + largest + pixelsOf(measure.size) * 4 + 3 * text;
    measure.frames = std::max(pictures, 1);
    measure.detail = QStringLiteral("MNG %1, %2 pictures")
                             .arg(sizeText(measure.size.width(), measure.size.height()))
                             .arg(pictures);
    return measure;
}

// ---- SVG

// A link as the SVG reader follows it: the bytes of a "data:" link given in base64, or the
// file it names, measured depth deep.
Measure svgLink(const QString &link, const QString &folder, int depth)
{
    QVector<PictureReading::Probe> linked;
    if (link.startsWith(QLatin1String("data"))) {
        const int at = link.lastIndexOf(QLatin1String("base64,"));
        if (at >= 0) // else the SVG reader passes it over
            linked << probeNestedData(QByteArray::fromBase64(link.mid(at + 7).toLatin1()), depth);
    } else {
        // As the reader finds it: a relative name beside the SVG file, anything else as it is
        // (from the current folder). What cannot be opened for it is not there to measure:
        // the program opens only files in the SVG's own folder (pictures/linkroot.h).
        const QString name = link.trimmed();
        const bool beside = !folder.isEmpty() && QUrl(name).isRelative();
        const DecoderFiles::OpeningLink opening;
        linked << probeNestedFile(beside ? QDir(folder).absoluteFilePath(name) : name, depth);
    }
    Measure measure;
    for (const PictureReading::Probe &inner : qAsConst(linked)) {
        if (inner.cause == PictureReading::Cause::LinksItself) {
            measure.refusal = Refusal::LinksItself;
            measure.detail = QStringLiteral("an SVG linking itself: %1").arg(link.left(200));
            return measure;
        }
        if (inner.outcome == PictureReading::Outcome::Unmeasurable)
            return unmeasurable(QStringLiteral("a picture in an SVG: %1").arg(inner.detail));
        // One the board would not take costs the SVG more than any budget.
        const bool refused =
                !inner.isTaken() && inner.outcome != PictureReading::Outcome::Unreadable;
        measure.workBytes += refused ? kUnbounded : inner.peakBytes;
        if (refused)
            measure.detail = QStringLiteral(", holding %1").arg(inner.detail);
    }
    return measure;
}

Measure svg(Cursor cursor, const QString &file, int depth)
{
    Measure measure;
    Source &source = cursor.source();
    QByteArray text;
    const bool compressed = source.read(0, 2) == QByteArray("\x1f\x8b", 2);
    if (compressed) {
        if (inflate(source, 0, source.size(), kMaxTextBytes, true, &text) > kMaxTextBytes)
            return unmeasurable(
                    QStringLiteral("an SVG of more than %1 MB of text").arg(kMaxTextBytes >> 20));
        measure.svgText = text;
    } else {
        if (source.size() > kMaxTextBytes)
            return unmeasurable(
                    QStringLiteral("an SVG of more than %1 MB of text").arg(kMaxTextBytes >> 20));
        text = source.read(0, source.size());
    }
    // Read from a file, links are found beside it; inflated, the reader has no file.
    const QString folder =
            compressed || file.isEmpty() ? QString() : QFileInfo(file).absolutePath();
    // Read as the SVG reader reads it, names as written: any image element, any link to it.
    QXmlStreamReader xml(text);
    xml.setNamespaceProcessing(false);
    auto named = [](const QStringRef &name, QLatin1String local) {
        return name == local || name.endsWith(QLatin1Char(':') + local);
    };
    qint64 elements = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        ++elements;
        if (!named(xml.qualifiedName(), QLatin1String("image")))
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        for (const QXmlStreamAttribute &attribute : attributes) {
            if (!named(attribute.qualifiedName(), QLatin1String("href")))
                continue;
            if (depth >= kMaxDepth)
                return unmeasurable(QStringLiteral("pictures in pictures in an SVG"));
            const Measure linked = svgLink(attribute.value().toString(), folder, depth + 1);
            if (linked.refusal != Refusal::None)
                return linked;
            measure.workBytes = std::min(measure.workBytes + linked.workBytes, kUnbounded);
            measure.detail += linked.detail;
        }
    }
    // The reader holds the text as read, then as characters of two bytes, and each attribute
    // once more as it is taken apart and kept: five times the text beyond the text itself, for
    // an SVG of one long attribute (measured: 16 MB took 72 MB, 64 MB took 192 MB).
    measure.workBytes += elements * kSvgElementBytes + kSvgTextCopies * text.size();
    measure.anyScale = true;
    measure.detail.prepend(QStringLiteral("SVG of %1 elements").arg(elements));
    return measure;
}

// ---- the table

using Measurer = std::function<Measure(Cursor, const QString &, int)>;

template <Measure (*Simple)(Cursor)> Measure plain(Cursor cursor, const QString &, int)
{
    return Simple(cursor);
}

const QHash<QByteArray, Measurer> &measurers()
{
    // clang-format off
    static const QHash<QByteArray, Measurer> kMeasurers = {
        { "png",  plain<png> },  { "jpeg", plain<jpeg> }, { "jpg",  plain<jpeg> },
        { "gif",  plain<gif> },  { "bmp",  plain<bmp> },  { "dib",  plain<bmp> },
        { "pbm",  plain<pnm> },  { "pgm",  plain<pnm> },  { "ppm",  plain<pnm> },
        { "xbm",  plain<xbm> },  { "xpm",  plain<xpm> },  { "wbmp", plain<wbmp> },
        { "tga",  plain<tga> },  { "tif",  plain<tiff> }, { "tiff", plain<tiff> },
        { "webp", plain<webp> }, { "ico",  plain<ico> },  { "cur",  plain<ico> },
        { "icns", plain<icns> }, { "mng",  plain<mng> },
        { "svg",  svg },         { "svgz", svg },
    };
    // clang-format on
    return kMeasurers;
}

} // namespace

Source::Source(QIODevice &device) : m_device(device), m_size(device.size()) { }

QByteArray Source::read(qint64 offset, qint64 length)
{
    if (offset < 0 || length <= 0 || offset >= m_size)
        return QByteArray();
    length = std::min(length, m_size - offset);
    if (m_blockStart >= 0 && offset >= m_blockStart
        && offset + length <= m_blockStart + m_block.size())
        return m_block.mid(int(offset - m_blockStart), int(length));
    if (!m_device.seek(offset))
        return QByteArray();
    if (length > kBlockBytes / 2)
        return m_device.read(length);
    m_block = m_device.read(kBlockBytes);
    m_blockStart = offset;
    return m_block.left(int(length));
}

int Source::byteAt(qint64 offset)
{
    if (offset < 0 || offset >= m_size)
        return -1;
    if (m_blockStart < 0 || offset < m_blockStart || offset >= m_blockStart + m_block.size()) {
        if (!m_device.seek(offset))
            return -1;
        m_block = m_device.read(kBlockBytes);
        m_blockStart = offset;
        if (m_block.isEmpty())
            return -1;
    }
    return quint8(m_block.at(int(offset - m_blockStart)));
}

Cursor::Cursor(Source &source, qint64 at, qint64 end)
    : m_source(source), m_pos(at), m_end(end < 0 ? source.size() : std::min(end, source.size()))
{
}

quint32 Cursor::u8()
{
    const int byte = m_pos < m_end ? m_source.byteAt(m_pos) : -1;
    ++m_pos;
    if (byte < 0) {
        m_ok = false;
        return 0;
    }
    return quint32(byte);
}

quint32 Cursor::le16()
{
    const quint32 low = u8();
    return low | (u8() << 8);
}

quint32 Cursor::be16()
{
    const quint32 high = u8();
    return (high << 8) | u8();
}

quint32 Cursor::le24()
{
    const quint32 low = le16();
    return low | (u8() << 16);
}

quint32 Cursor::le32()
{
    const quint32 low = le16();
    return low | (le16() << 16);
}

quint32 Cursor::be32()
{
    const quint32 high = be16();
    return (high << 16) | be16();
}

quint64 Cursor::le64()
{
    const quint64 low = le32();
    return low | (quint64(le32()) << 32);
}

quint64 Cursor::be64()
{
    const quint64 high = be32();
    return (high << 32) | be32();
}

QByteArray Cursor::bytes(qint64 count)
{
    const QByteArray read =
            m_pos < m_end ? m_source.read(m_pos, std::min(count, m_end - m_pos)) : QByteArray();
    m_pos += count;
    if (read.size() < count)
        m_ok = false;
    return read;
}

Measure measure(const QByteArray &format, QIODevice &device, const QString &file, int depth)
{
    const auto found = measurers().constFind(format);
    if (found == measurers().cend())
        return unmeasurable(QStringLiteral("pictures of the format \"%1\" are not measured")
                                    .arg(QString::fromLatin1(format)));
    const qint64 kept = device.pos();
    Source source(device);
    Measure measured = found.value()(Cursor(source), file, depth);
    device.seek(kept);
    return measured;
}

qint64 imageBytes(QSize size, int bitsPerPixel)
{
    const qint64 row = ceilDiv(qint64(std::max(size.width(), 0)) * bitsPerPixel, 32) * 4;
    return row * std::max(size.height(), 0);
}

qint64 inflate(Source &source, qint64 offset, qint64 length, qint64 cap, bool gzip,
               QByteArray *kept)
{
    z_stream stream{};
    if (inflateInit2(&stream, gzip ? 15 + 16 : 15) != Z_OK)
        return 0;
    qint64 total = 0;
    char output[1 << 16];
    bool ended = false;
    for (qint64 at = offset; at < offset + length && !ended && total <= cap;) {
        const QByteArray input =
                source.read(at, std::min<qint64>(kBlockBytes, offset + length - at));
        if (input.isEmpty())
            break;
        at += input.size();
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(input.constData()));
        stream.avail_in = uInt(input.size());
        // Until this input is used up and no output is left waiting.
        do {
            stream.next_out = reinterpret_cast<Bytef *>(output);
            stream.avail_out = sizeof output;
            const int status = ::inflate(&stream, Z_NO_FLUSH);
            const qint64 made = qint64(sizeof output - stream.avail_out);
            if (kept && total < cap)
                kept->append(output, int(std::min(made, cap - total)));
            total += made;
            ended = status != Z_OK && status != Z_BUF_ERROR; // its end, or damage
            if (status == Z_BUF_ERROR && made == 0)
                break;
        } while (!ended && total <= cap && (stream.avail_in > 0 || stream.avail_out == 0));
    }
    inflateEnd(&stream);
    return std::min(total, cap + 1);
}

} // namespace PictureMeasures
