#include "craftedpictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QtEndian>

#include <zlib.h>

#include <algorithm>
#include <functional>
#include <initializer_list>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// Complete pixels are written up to this size of file; beyond it only their start.
constexpr qint64 kCompleteBytes = 16 << 20;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (const int value : values)
        out += char(value);
    return out;
}

QByteArray le16(quint32 value)
{
    return bytes({ int(value & 0xff), int((value >> 8) & 0xff) });
}

QByteArray le24(quint32 value)
{
    return le16(value & 0xffff) + char((value >> 16) & 0xff);
}

QByteArray le32(quint32 value)
{
    return le16(value & 0xffff) + le16(value >> 16);
}

QByteArray be16(quint32 value)
{
    return bytes({ int((value >> 8) & 0xff), int(value & 0xff) });
}

QByteArray be32(quint32 value)
{
    return be16(value >> 16) + be16(value & 0xffff);
}

// Raw deflate of count zero bytes from a fresh state, ended by flush.
QByteArray deflateRawZeros(qint64 count, int flush)
{
    static const QByteArray zeros(1 << 18, '\0');
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_RLE) != Z_OK)
        return QByteArray();
    QByteArray out;
    char buffer[1 << 16];
    qint64 left = count;
    do {
        const int piece = int(std::min<qint64>(left, zeros.size()));
        left -= piece;
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(zeros.constData()));
        stream.avail_in = uInt(piece);
        const int now = left == 0 ? flush : Z_NO_FLUSH;
        do {
            stream.next_out = reinterpret_cast<Bytef *>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, now);
            out.append(buffer, int(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0);
    } while (left > 0);
    deflateEnd(&stream);
    return out;
}

// A zlib stream of count zero bytes. A full flush leaves nothing for later blocks to refer
// back to, so the deflate of 64 MB of zeros is made once and repeated: a gigabyte of rows
// costs a moment, and never more than the compressed bytes.
QByteArray deflateZeros(qint64 count)
{
    constexpr qint64 kPiece = qint64(1) << 26;
    static const QByteArray piece = deflateRawZeros(kPiece, Z_FULL_FLUSH);
    QByteArray out("\x78\xda", 2);
    for (qint64 i = 0; i < count / kPiece; ++i)
        out += piece;
    out += deflateRawZeros(count % kPiece, Z_FINISH);
    // Adler-32 of zeros: the first sum stays 1, the second adds it once a byte.
    const quint32 adler = quint32((count % 65521) << 16) | 1u;
    return out + be32(adler);
}

// A zlib stream of first, then count copies of unit, each piece deflated once and repeated as
// deflateZeros does.
QByteArray deflateRepeated(const QByteArray &first, const QByteArray &unit, qint64 count)
{
    const auto raw = [](const QByteArray &bytes, int flush) {
        z_stream stream{};
        deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
        QByteArray out(int(deflateBound(&stream, uLong(bytes.size()))) + 64, '\0');
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
        stream.avail_in = uInt(bytes.size());
        stream.next_out = reinterpret_cast<Bytef *>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, flush);
        out.resize(int(stream.total_out));
        deflateEnd(&stream);
        return out;
    };
    const qint64 perPiece = std::max<qint64>(1, (qint64(16) << 20) / unit.size());
    const QByteArray piece = raw(unit.repeated(int(std::min(perPiece, count))), Z_FULL_FLUSH);
    QByteArray out = QByteArray("\x78\xda", 2) + raw(first, Z_FULL_FLUSH);
    for (qint64 i = 0; i < count / perPiece; ++i)
        out += piece;
    out += raw(unit.repeated(int(count % perPiece)), Z_FINISH);
    uLong adler =
            adler32(1, reinterpret_cast<const Bytef *>(first.constData()), uInt(first.size()));
    const uLong unitAdler =
            adler32(1, reinterpret_cast<const Bytef *>(unit.constData()), uInt(unit.size()));
    for (qint64 i = 0; i < count; ++i)
        adler = adler32_combine(adler, unitAdler, unit.size());
    return out + be32(quint32(adler));
}

QByteArray pngSignature()
{
    return QByteArray("\x89PNG\r\n\x1a\n", 8);
}

QByteArray png(QSize size, bool sixteenBits)
{
    // Grey at 8 bits, or RGBA at 16: a row is its filter byte and the samples, all zero.
    const int colourType = sixteenBits ? 6 : 0;
    const qint64 row = 1 + qint64(size.width()) * (sixteenBits ? 8 : 1);
    const QByteArray header = be32(size.width()) + be32(size.height())
            + bytes({ sixteenBits ? 16 : 8, colourType, 0, 0, 0 });
    return pngSignature() + CraftedPictures::pngChunk("IHDR", header)
            + CraftedPictures::pngChunk("IDAT", deflateZeros(row * size.height()))
            + CraftedPictures::pngChunk("IEND", QByteArray());
}

// The deep kinds, as PNG names them: colour type and bits a sample.
struct Deep
{
    const char *name;
    int colourType;
    int depth;
};
// clang-format off
constexpr Deep kDeep[] = {
    { "png-alpha",         6, 8  }, { "png16-alpha",    6, 16 }, { "png16-opaque",      2, 16 },
    { "png16-grey",        0, 16 }, { "png-grey-alpha", 4, 8  }, { "png-palette-alpha", 3, 8  },
};
// clang-format on
// The palette of png-palette-alpha: red, half green, blue that does not show, a dark grey.
constexpr QRgb kDeepPalette[] = { 0xffff0000, 0x8000ff00, 0x000000ff, 0xc80a141e };

int rampAt(QSize size, int x)
{
    return size.width() > 1 ? x * 255 / (size.width() - 1) : 255;
}

// One sample of 8 or 16 bits, of a value of 8.
QByteArray sample(int value, int depth)
{
    return depth == 16 ? be16(quint32(value) * 257) : QByteArray(1, char(value));
}

QByteArray deepPng(QSize size, const Deep &deep)
{
    QByteArray row(1, '\0');
    QByteArray extra;
    for (int x = 0; x < size.width(); ++x) {
        const int ramp = rampAt(size, x);
        switch (deep.colourType) {
        case 6:
            row += sample(0, deep.depth) + sample(0, deep.depth) + sample(255, deep.depth)
                    + sample(ramp, deep.depth);
            break;
        case 2:
            row += sample(0, deep.depth) + sample(0, deep.depth) + sample(ramp, deep.depth);
            break;
        case 0:
            row += sample(ramp, deep.depth);
            break;
        case 4:
            row += sample(200, deep.depth) + sample(ramp, deep.depth);
            break;
        default:
            row += char(x % 4);
            break;
        }
    }
    if (deep.colourType == 3) {
        QByteArray palette;
        QByteArray alphas;
        for (const QRgb colour : kDeepPalette) {
            palette += bytes({ qRed(colour), qGreen(colour), qBlue(colour) });
            alphas += char(qAlpha(colour));
        }
        extra = CraftedPictures::pngChunk("PLTE", palette)
                + CraftedPictures::pngChunk("tRNS", alphas);
    }
    // Each row after the first: "as the one above" (filter 2), all its differences zero.
    const QByteArray up = QByteArray(1, '\2') + QByteArray(row.size() - 1, '\0');
    const QByteArray header = be32(size.width()) + be32(size.height())
            + bytes({ deep.depth, deep.colourType, 0, 0, 0 });
    return pngSignature() + CraftedPictures::pngChunk("IHDR", header) + extra
            + CraftedPictures::pngChunk("IDAT", deflateRepeated(row, up, size.height() - 1))
            + CraftedPictures::pngChunk("IEND", QByteArray());
}

QByteArray mng(QSize size)
{
    const QByteArray header = be32(size.width()) + be32(size.height()) + be32(1) + be32(0) + be32(0)
            + be32(0) + be32(0);
    const QByteArray picture = png(size, false).mid(8); // its chunks, without the signature
    return QByteArray("\x8aMNG\r\n\x1a\n", 8) + CraftedPictures::pngChunk("MHDR", header) + picture
            + CraftedPictures::pngChunk("MEND", QByteArray());
}

QByteArray jpegMarker(quint8 code, const QByteArray &data)
{
    return bytes({ 0xff, code }) + be16(data.size() + 2) + data;
}

// Blocks of one grey: every block is the DC difference 0 (and, in a baseline scan, the end of
// block at once), each coded as the one code "0" of its table.
QByteArray jpeg(QSize size, bool progressive)
{
    if (size.width() > 0xffff || size.height() > 0xffff)
        return QByteArray();
    QByteArray out("\xff\xd8", 2);
    out += jpegMarker(0xdb, QByteArray(1, '\0') + QByteArray(64, '\1'));
    out += jpegMarker(progressive ? 0xc2 : 0xc0,
                      QByteArray(1, char(8)) + be16(size.height()) + be16(size.width())
                              + bytes({ 1, 1, 0x11, 0 }));
    const QByteArray oneCode = QByteArray(1, '\1') + QByteArray(15, '\0') + QByteArray(1, '\0');
    out += jpegMarker(0xc4, QByteArray(1, '\x00') + oneCode);
    out += jpegMarker(0xc4, QByteArray(1, '\x10') + oneCode);
    out += jpegMarker(0xda, bytes({ 1, 1, 0x00, 0, progressive ? 0 : 63, 0 }));
    const qint64 blocks = qint64((size.width() + 7) / 8) * ((size.height() + 7) / 8);
    const qint64 bits = blocks * (progressive ? 1 : 2);
    out += QByteArray(int(bits / 8), '\0');
    if (bits % 8)
        out += char(0xff >> (bits % 8)); // padded with ones
    return out + QByteArray("\xff\xd9", 2);
}

// LZW of 2-bit colour indexes, each a literal: a clear code before every second pixel keeps
// the table from growing, so the codes stay three bits wide.
QByteArray gifPixels(qint64 pixels, int colour)
{
    QByteArray codes;
    quint32 accumulator = 0;
    int held = 0;
    auto put = [&](int code) {
        accumulator |= quint32(code) << held;
        held += 3;
        while (held >= 8) {
            codes += char(accumulator & 0xff);
            accumulator >>= 8;
            held -= 8;
        }
    };
    for (qint64 i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            put(4);
        put(colour);
    }
    put(5);
    if (held > 0)
        codes += char(accumulator & 0xff);
    QByteArray blocks(1, char(2)); // minimum code size
    for (int at = 0; at < codes.size(); at += 255) {
        const QByteArray piece = codes.mid(at, 255);
        blocks += char(piece.size()) + piece;
    }
    return blocks + '\0';
}

// tiny: each frame a single pixel, whatever the screen.
QByteArray gif(QSize size, int frames, bool tiny = false)
{
    if (size.width() > 0xffff || size.height() > 0xffff)
        return QByteArray();
    QByteArray out =
            QByteArray("GIF89a") + le16(size.width()) + le16(size.height()) + bytes({ 0x81, 0, 0 });
    out += QByteArray("\x80\x80\x80\xff\x00\x00\x00\xff\x00\x00\x00\xff", 12);
    if (frames > 1)
        out += QByteArray("\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    // Beyond a million pixels the screen keeps its size and the frame is one pixel.
    const bool whole = !tiny && qint64(size.width()) * size.height() <= (1 << 20);
    const QSize frame = whole ? size : QSize(1, 1);
    for (int i = 0; i < frames; ++i) {
        if (frames > 1)
            out += QByteArray("\x21\xf9\x04\x04", 4) + le16(5) + QByteArray(2, '\0');
        out += char(0x2c) + le16(0) + le16(0) + le16(frame.width()) + le16(frame.height())
                + char(0);
        out += gifPixels(qint64(frame.width()) * frame.height(), i % 4);
    }
    return out + char(0x3b);
}

QByteArray bmp(QSize size)
{
    // RLE8: runs of at most 255 pixels of colour 0, an end of line per row, an end of bitmap.
    QByteArray row;
    for (int left = size.width(); left > 0; left -= 255)
        row += bytes({ std::min(left, 255), 0 });
    row += QByteArray(2, '\0');
    const bool whole = qint64(row.size()) * size.height() <= kCompleteBytes;
    QByteArray data;
    if (whole) {
        data.reserve(row.size() * size.height() + 2);
        for (int y = 0; y < size.height(); ++y)
            data += row;
    }
    data += QByteArray("\x00\x01", 2);
    const QByteArray palette = QByteArray("\x80\x80\x80\x00\x00\x00\x00\x00", 8);
    const quint32 offset = 14 + 40 + palette.size();
    const QByteArray info = le32(40) + le32(size.width()) + le32(size.height()) + le16(1) + le16(8)
            + le32(1) + le32(data.size()) + le32(2835) + le32(2835) + le32(2) + le32(0);
    return QByteArray("BM") + le32(offset + data.size()) + le32(0) + le32(offset) + info + palette
            + data;
}

QByteArray tiffEntry(quint16 tag, quint16 type, quint32 value)
{
    const QByteArray inlineValue = type == 3 ? le16(value) + le16(0) : le32(value);
    return le16(tag) + le16(type) + le32(1) + inlineValue;
}

// widthTwice: the width given first as size's, then again as 100 (the decoder takes the first).
QByteArray tiff(QSize size, bool widthTwice = false)
{
    const QByteArray strip = deflateZeros(qint64(size.width()) * size.height());
    const int entries = widthTwice ? 10 : 9;
    const quint32 stripOffset = 8 + 2 + entries * 12 + 4;
    QByteArray out = QByteArray("II*\0", 4) + le32(8) + le16(entries);
    out += tiffEntry(256, 4, size.width());
    if (widthTwice)
        out += tiffEntry(256, 4, 100);
    out += tiffEntry(257, 4, size.height());
    out += tiffEntry(258, 3, 8);
    out += tiffEntry(259, 3, 8); // deflate
    out += tiffEntry(262, 3, 1); // black is zero
    out += tiffEntry(273, 4, stripOffset);
    out += tiffEntry(277, 3, 1);
    out += tiffEntry(278, 4, size.height());
    out += tiffEntry(279, 4, strip.size());
    return out + le32(0) + strip;
}

// A lossless stream of one colour: no transform, no colour cache, and five prefix codes of one
// symbol each, so that every pixel takes no bits at all, whatever the size.
QByteArray vp8l(QSize size)
{
    QByteArray out(1, char(0x2f));
    quint64 accumulator = 0;
    int held = 0;
    auto put = [&](quint32 value, int bits) {
        accumulator |= quint64(value) << held;
        held += bits;
        while (held >= 8) {
            out += char(accumulator & 0xff);
            accumulator >>= 8;
            held -= 8;
        }
    };
    put(size.width() - 1, 14);
    put(size.height() - 1, 14);
    put(0, 1); // no alpha
    put(0, 3); // version
    put(0, 1); // no transform
    put(0, 1); // no colour cache
    put(0, 1); // no meta prefix codes
    for (const quint32 symbol : { 128u, 128u, 128u, 255u, 0u }) {
        put(1, 1); // simple code
        put(0, 1); // one symbol
        put(1, 1); // of eight bits
        put(symbol, 8);
    }
    if (held > 0)
        out += char(accumulator & 0xff);
    return out;
}

QByteArray riffChunk(const QByteArray &type, const QByteArray &data)
{
    return type + le32(data.size()) + data + (data.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

QByteArray webp(QSize size)
{
    QByteArray body;
    if (size.width() <= 16384 && size.height() <= 16384) {
        body = riffChunk("VP8L", vp8l(size));
    } else if (size.width() <= (1 << 24) && size.height() <= (1 << 24)) {
        // A canvas larger than any one stream, with one small frame on it.
        body = riffChunk("VP8X",
                         bytes({ 0x02, 0, 0, 0 }) + le24(size.width() - 1)
                                 + le24(size.height() - 1));
        body += riffChunk("ANIM", le32(0) + le16(0));
        body += riffChunk("ANMF",
                          le24(0) + le24(0) + le24(15) + le24(15) + le24(100) + char(0)
                                  + riffChunk("VP8L", vp8l(QSize(16, 16))));
    } else {
        return QByteArray();
    }
    return "RIFF" + le32(4 + body.size()) + "WEBP" + body;
}

QByteArray svg(QSize size)
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\">"
                          "<rect width=\"100%\" height=\"100%\" fill=\"#808080\"/></svg>\n")
            .arg(size.width())
            .arg(size.height())
            .toLatin1();
}

// An SVG of 400 x 400 holding a PNG of size, linked as "data:" (after a space, which the SVG
// reader passes over).
QByteArray svgHolding(QSize size, bool spaced)
{
    return QByteArray("<svg xmlns='http://www.w3.org/2000/svg' "
                      "xmlns:xlink='http://www.w3.org/1999/xlink' width='400' height='400'>"
                      "<image width='400' height='400' xlink:href='")
            + (spaced ? " " : "") + "data:image/png;base64," + png(size, false).toBase64()
            + "'/></svg>\n";
}

// Twenty thousand translucent squares as large as the picture: a few bytes each, minutes to
// draw at the board's largest size.
QByteArray svgSlow(QSize size)
{
    const QByteArray square = "<rect width='" + QByteArray::number(size.width()) + "' height='"
            + QByteArray::number(size.height()) + "' fill-opacity='0.5' fill='#";
    QByteArray shapes;
    for (int i = 0; i < 20000; ++i)
        shapes += square + QByteArray::number(0x100 + i % 0xf00, 16) + "'/>";
    return QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%2'>")
                   .arg(size.width())
                   .arg(size.height())
                   .toLatin1()
            + shapes + "</svg>\n";
}

QByteArray svgText(QSize size)
{
    return QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%2'>"
                          "<rect width='100%' height='100%' fill='white'/><text x='2' y='%3' "
                          "font-family='sans-serif' font-size='%3'>Aa</text></svg>\n")
            .arg(size.width())
            .arg(size.height())
            .arg(size.height() * 3 / 4)
            .toLatin1();
}

QByteArray icoHeader(int type, const QByteArray &entry, QSize size, int hotspotOrPlanes,
                     int hotspotOrBits)
{
    return le16(0) + le16(type) + le16(1)
            + bytes({ size.width() >= 256 ? 0 : size.width(),
                      size.height() >= 256 ? 0 : size.height(), 0, 0 })
            + le16(hotspotOrPlanes) + le16(hotspotOrBits) + le32(entry.size()) + le32(22) + entry;
}

QByteArray bitmapEntry(QSize size)
{
    // A 32-bit bitmap, its header's height doubled for the mask below the colours.
    const qint64 colours = qint64(size.width()) * size.height() * 4;
    const qint64 mask = qint64((size.width() + 31) / 32) * 4 * size.height();
    const QByteArray header = le32(40) + le32(size.width()) + le32(2 * size.height()) + le16(1)
            + le16(32) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0) + le32(0);
    if (colours + mask > kCompleteBytes)
        return header + QByteArray(64, '\0');
    return header + QByteArray(int(colours), '\x80') + QByteArray(int(mask), '\0');
}

// Raw formats: the header, then the pixels whole or, when large, their first row.
QByteArray raw(const QByteArray &header, const QByteArray &row, int rows,
               const QByteArray &end = QByteArray())
{
    const bool whole = qint64(row.size()) * rows <= kCompleteBytes;
    QByteArray out = header;
    const int written = whole ? rows : 1;
    out.reserve(out.size() + row.size() * written + end.size());
    for (int y = 0; y < written; ++y)
        out += row;
    return out + (whole ? end : QByteArray());
}

QByteArray multiByte(quint32 value)
{
    QByteArray out(1, char(value & 0x7f));
    for (value >>= 7; value; value >>= 7)
        out.prepend(char(0x80 | (value & 0x7f)));
    return out;
}

QByteArray tga(QSize size)
{
    if (size.width() > 0xffff || size.height() > 0xffff)
        return QByteArray();
    const QByteArray header = bytes({ 0, 0, 2, 0, 0, 0, 0, 0 }) + le16(0) + le16(0)
            + le16(size.width()) + le16(size.height()) + bytes({ 24, 0x20 });
    // The footer of TGA 2.0, without which the toolkit does not take the file for one.
    const QByteArray footer = le32(0) + le32(0) + QByteArray("TRUEVISION-XFILE.", 18);
    const QByteArray pixels = raw(header, QByteArray(size.width() * 3, '\x80'), size.height());
    return pixels + footer;
}

QByteArray pnm(QSize size, char kind)
{
    const QByteArray dimensions =
            QByteArray::number(size.width()) + ' ' + QByteArray::number(size.height()) + '\n';
    if (kind == '4')
        return raw("P4\n" + dimensions, QByteArray((size.width() + 7) / 8, '\0'), size.height());
    const int samples = kind == '6' ? 3 : 1;
    return raw(QByteArray("P") + kind + '\n' + dimensions + "255\n",
               QByteArray(size.width() * samples, '\x80'), size.height());
}

QByteArray xbm(QSize size)
{
    const QByteArray header = "#define crafted_width " + QByteArray::number(size.width())
            + "\n#define crafted_height " + QByteArray::number(size.height())
            + "\nstatic unsigned char crafted_bits[] = {\n";
    QByteArray row;
    for (int i = 0; i < (size.width() + 7) / 8; ++i)
        row += "0x00,";
    row += '\n';
    return raw(header, row, size.height(), "};\n");
}

QByteArray xpm(QSize size)
{
    const QByteArray header = "/* XPM */\nstatic const char *crafted[] = {\n\""
            + QByteArray::number(size.width()) + ' ' + QByteArray::number(size.height())
            + " 1 1\",\n\"  c #808080\",\n";
    return raw(header, '"' + QByteArray(size.width(), ' ') + "\",\n", size.height(), "};\n");
}

QByteArray wbmp(QSize size)
{
    const QByteArray header =
            QByteArray(2, '\0') + multiByte(size.width()) + multiByte(size.height());
    return raw(header, QByteArray((size.width() + 7) / 8, '\xff'), size.height());
}

QByteArray makeKind(const QString &kind, QSize size)
{
    // clang-format off
    const QList<QPair<QString, std::function<QByteArray()>>> makers = {
        { "png",              [size] { return png(size, false); } },
        { "png16",            [size] { return png(size, true); } },
        { "jpeg",             [size] { return jpeg(size, false); } },
        { "jpeg-progressive", [size] { return jpeg(size, true); } },
        { "gif",              [size] { return gif(size, 1); } },
        { "gif-animated",     [size] { return gif(size, 3); } },
        { "bmp",              [size] { return bmp(size); } },
        { "tiff",             [size] { return tiff(size); } },
        { "webp",             [size] { return webp(size); } },
        { "svg",              [size] { return svg(size); } },
        { "svgz",             [size] { return CraftedPictures::gzip(svg(size)); } },
        { "mng",              [size] { return mng(size); } },
        { "icns",             [size] {
              const QByteArray entry = png(size, false);
              return QByteArray("icns") + be32(16 + entry.size()) + "ic10" + be32(8 + entry.size())
                      + entry; } },
        { "ico",              [size] { return icoHeader(1, png(size, false), size, 1, 32); } },
        { "ico-bmp",          [size] { return icoHeader(1, bitmapEntry(size), size, 1, 32); } },
        { "cur",              [size] { return icoHeader(2, bitmapEntry(size), size, 0, 0); } },
        { "tga",              [size] { return tga(size); } },
        { "pbm",              [size] { return pnm(size, '4'); } },
        { "pgm",              [size] { return pnm(size, '5'); } },
        { "ppm",              [size] { return pnm(size, '6'); } },
        { "xbm",              [size] { return xbm(size); } },
        { "xpm",              [size] { return xpm(size); } },
        { "wbmp",             [size] { return wbmp(size); } },
        { "svg-holding",        [size] { return svgHolding(size, false); } },
        { "svg-holding-spaced", [size] { return svgHolding(size, true); } },
        { "tiff-width-twice",   [size] { return tiff(size, true); } },
        { "svg-slow",           [size] { return svgSlow(size); } },
        { "svg-text",           [size] { return svgText(size); } },
        { "svg-many",           [size] {
              return svg(size).replace("</svg>", QByteArray("<g/>").repeated(600000) + "</svg>"); } },
        { "gif-long",           [size] { return gif(size, 5000, true); } },
    };
    // clang-format on
    for (const auto &maker : makers) {
        if (maker.first == kind)
            return maker.second();
    }
    for (const Deep &deep : kDeep) {
        if (kind == QLatin1String(deep.name))
            return deepPng(size, deep);
    }
    return QByteArray();
}

} // namespace

namespace CraftedPictures {

QVector<qint64> runningDecoders()
{
    QVector<qint64> pids;
    const QStringList processes =
            QDir(QStringLiteral("/proc")).entryList({ QStringLiteral("[0-9]*") }, QDir::Dirs);
    for (const QString &process : processes) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
        const QList<QByteArray> fields =
                stat.open(QIODevice::ReadOnly) ? stat.readAll().split(' ') : QList<QByteArray>();
        if (fields.size() > 3 && fields.at(1).startsWith("(veltorina-pict")
            && fields.at(3).toLongLong() == getpid())
            pids << process.toLongLong();
    }
    return pids;
}

QStringList kindNames()
{
    QStringList names;
    for (const Kind &kind : kKinds)
        names << QLatin1String(kind.name);
    return names;
}

QRgb deepPixel(const QString &kind, QSize size, int x)
{
    const int ramp = rampAt(size, x);
    if (kind == QLatin1String("png-alpha") || kind == QLatin1String("png16-alpha"))
        return qPremultiply(qRgba(0, 0, 255, ramp));
    if (kind == QLatin1String("png16-opaque"))
        return qRgb(0, 0, ramp);
    if (kind == QLatin1String("png16-grey"))
        return qRgb(ramp, ramp, ramp);
    if (kind == QLatin1String("png-grey-alpha"))
        return qPremultiply(qRgba(200, 200, 200, ramp));
    return qPremultiply(kDeepPalette[x % 4]);
}

QString suffixOf(const QString &kind)
{
    for (const Kind &known : kKinds) {
        if (kind == QLatin1String(known.name))
            return QLatin1String(known.suffix);
    }
    for (const Kind &known : kHostileKinds) {
        if (kind == QLatin1String(known.name))
            return QLatin1String(known.suffix);
    }
    for (const Kind &known : kDeepKinds) {
        if (kind == QLatin1String(known.name))
            return QLatin1String(known.suffix);
    }
    for (const Kind &known : kOtherKinds) {
        if (kind == QLatin1String(known.name))
            return QLatin1String(known.suffix);
    }
    return QString();
}

QByteArray make(const QString &kind, QSize size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return QByteArray();
    return makeKind(kind, size);
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            && file.write(bytes) == bytes.size();
}

QString writeIn(const QString &folder, const QString &kind, QSize size, const QString &baseName,
                const QString &suffix)
{
    const QByteArray bytes = make(kind, size);
    const QString path = QDir(folder).filePath(baseName + QLatin1Char('.')
                                               + (suffix.isEmpty() ? suffixOf(kind) : suffix));
    return !bytes.isEmpty() && write(path, bytes) ? path : QString();
}

QString writeLinking(const QString &root, const QString &href)
{
    const QDir folder(root);
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    const auto linked = [&folder](const QString &target, const QString &name) {
        const QString path = folder.filePath(name);
        return QFileInfo(path).isSymLink() || QFile::link(target, path);
    };
    const QString svg = folder.filePath(QStringLiteral("lesson/linking.svg"));
    const QByteArray pipe = QFile::encodeName(folder.filePath(QStringLiteral("lesson/pipe")));
    const bool made = folder.mkpath(QStringLiteral("lesson/sub"))
            && folder.mkpath(QStringLiteral("secret"))
            && red.save(folder.filePath(QStringLiteral("lesson/red.png")))
            && red.save(folder.filePath(QStringLiteral("lesson/sub/red.png")))
            && red.save(folder.filePath(QStringLiteral("secret/red.png")))
            && linked(QStringLiteral("red.png"), QStringLiteral("lesson/in"))
            && linked(QStringLiteral("../secret/red.png"), QStringLiteral("lesson/out"))
            && linked(QStringLiteral("/dev/zero"), QStringLiteral("lesson/zero"))
            && (QFileInfo::exists(QString::fromLocal8Bit(pipe))
                || mkfifo(pipe.constData(), 0600) == 0)
            && write(svg,
                     "<svg xmlns='http://www.w3.org/2000/svg' "
                     "xmlns:xlink='http://www.w3.org/1999/xlink' width='20' height='10'>"
                     "<rect width='20' height='10' fill='white'/>"
                     "<image x='0' y='0' width='10' height='10' xlink:href='"
                             + QString(href).replace(QStringLiteral("%root"), root).toUtf8()
                             + "'/></svg>\n");
    return made ? svg : QString();
}

bool makeFontsHome(const QString &home)
{
    qputenv("HOME", QFile::encodeName(home));
    for (const char *variable : { "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME" })
        qunsetenv(variable);
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    for (const char *folder :
         { "/.fonts", "/.local/share/fonts", "/.config/fontconfig", "/.cache/fontconfig" }) {
        if (!QDir().mkpath(home + QLatin1String(folder))
            || !red.save(home + QLatin1String(folder) + QLatin1String("/red.png")))
            return false;
    }
    return true;
}

QByteArray pngChunk(const QByteArray &type, const QByteArray &data)
{
    const QByteArray typed = type + data;
    const quint32 crc = quint32(
            crc32(0, reinterpret_cast<const Bytef *>(typed.constData()), uInt(typed.size())));
    return be32(data.size()) + typed + be32(crc);
}

QByteArray gzip(const QByteArray &bytes)
{
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, 31, 9, Z_DEFAULT_STRATEGY) != Z_OK)
        return QByteArray();
    QByteArray out(int(deflateBound(&stream, uLong(bytes.size()))) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    stream.next_out = reinterpret_cast<Bytef *>(out.data());
    stream.avail_out = uInt(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(int(stream.total_out));
    deflateEnd(&stream);
    return out;
}

PictureDecoders::Limits roomyLimits()
{
    PictureDecoders::Limits roomy = PictureDecoders::defaultLimits();
    roomy.probeSeconds = 30;
    roomy.readSeconds = 60;
    roomy.pictureMs = 180000;
    return roomy;
}

RoomyLimits::RoomyLimits() : m_before(PictureDecoders::instance().limits())
{
    PictureDecoders::instance().setLimits(roomyLimits());
}

RoomyLimits::~RoomyLimits()
{
    PictureDecoders::instance().setLimits(m_before);
}

} // namespace CraftedPictures
