#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <memory>

class QIODevice;

namespace PictureReading {
struct Probe;
}

// What a picture's decoder will make and hold, read from the picture's own bytes, format by
// format, without decoding it: the inside of PictureReading (pictures/picturereading.h).
namespace PictureMeasures {

// Far beyond any budget: what a decoder would hold is not bounded by anything it says.
constexpr qint64 kUnbounded = qint64(1) << 50;
// A PNG's compressed text, an ICC profile, an SVG's text: inflated only up to this.
constexpr qint64 kMaxTextBytes = qint64(32) << 20;

// Bytes of a device read at any offset from its start, a block at a time: a walk over many
// small pieces (GIF sub-blocks, PNG chunks) asks the device for few reads.
class Source
{
public:
    explicit Source(QIODevice &device);
    qint64 size() const { return m_size; }
    // Up to length bytes at offset (fewer at the end).
    QByteArray read(qint64 offset, qint64 length);
    // The byte at offset, or -1 past the end.
    int byteAt(qint64 offset);

private:
    QIODevice &m_device;
    qint64 m_size = 0;
    QByteArray m_block;
    qint64 m_blockStart = -1;
};

// A position in a Source that reads numbers as it goes; a read past the end sets !ok().
class Cursor
{
public:
    Cursor(Source &source, qint64 at = 0, qint64 end = -1);
    bool ok() const { return m_ok; }
    qint64 pos() const { return m_pos; }
    qint64 end() const { return m_end; }
    bool atEnd() const { return m_pos >= m_end; }
    void seek(qint64 at) { m_pos = at; }
    void skip(qint64 count) { m_pos += count; }
    quint32 u8();
    quint32 le16();
    quint32 be16();
    quint32 le24();
    quint32 le32();
    quint32 be32();
    quint64 le64();
    quint64 be64();
    QByteArray bytes(qint64 count);
    Source &source() { return m_source; }

private:
    Source &m_source;
    qint64 m_pos;
    qint64 m_end;
    bool m_ok = true;
};

enum class Refusal {
    None,
    Damaged, // not a picture of its format (the decoder would refuse it too)
    Unmeasurable, // what decoding it takes cannot be bounded before
    LinksItself, // an SVG that links a picture being measured (itself, or one linking it)
};

struct Measure
{
    QSize size; // of the image the decoder makes; invalid for SVG (its reader says)
    int bitsPerPixel = 32; // of that image
    qint64 workBytes = 0; // what the decoder holds beside the image while decoding
    int frames = 1;
    bool anyScale = false; // the decoder draws it at any size (SVG)
    bool eighths = false; // the decoder makes it at 1/2, 1/4 or 1/8 (JPEG)
    bool wholeOnly = false; // no smaller copy: the decoder picks one of several pictures
    bool oriented = false; // may carry an orientation, which a reader told to apply copies
    bool alpha = true; // may have transparent pixels once decoded (unknown: true)
    QByteArray svgText; // an SVG given gzip-compressed, inflated, to be read in its place
    Refusal refusal = Refusal::None;
    QString detail; // what was found or why it is refused, for the log
};

// Reads the picture the toolkit's reader would read as format from device (its position is
// kept). file is where the bytes came from ("" for bytes in memory): an SVG's relative links
// are found from it. depth counts pictures inside pictures (an SVG's embedded ones).
Measure measure(const QByteArray &format, QIODevice &device, const QString &file, int depth);

// Bytes the image of size takes in a format of bitsPerPixel bits a pixel (rows to 4 bytes).
qint64 imageBytes(QSize size, int bitsPerPixel);

// How many bytes inflating length bytes at offset gives (a zlib stream, or a gzip one with
// gzip), up to where the stream ends or breaks off, counted up to cap (more gives cap + 1);
// the inflated bytes themselves are kept in kept (when not null) up to cap.
qint64 inflate(Source &source, qint64 offset, qint64 length, qint64 cap, bool gzip,
               QByteArray *kept = nullptr);

// A picture inside a picture (an SVG's linked ones), measured and planned depth deep; with
// PictureReading, which these measures serve.
PictureReading::Probe probeNestedFile(const QString &file, int depth);
PictureReading::Probe probeNestedData(const QByteArray &bytes, int depth);

} // namespace PictureMeasures
