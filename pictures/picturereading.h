#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <memory>

// Every picture the program decodes from a file or from bytes is read here.
//
// The toolkit trusts what a picture's header says and allocates it: a 937 KB PNG of 30000 x 30000
// costs 4 GB, a 35-byte GIF whose screen is 16000 x 16000 1 GB, an MNG twice what its frame
// takes. So before a byte of a picture is decoded, its own bytes are read here, format by format
// (the format the toolkit's reader picks for them, whatever the file is called): the size of
// what the decoder will make and everything else it holds meanwhile (a progressive JPEG's
// coefficients, a lossless WEBP's own copy, a GIF's backing store, an MNG's objects, the
// pictures an SVG embeds, a PNG's compressed text) are known or bounded first. What cannot be
// bounded so (an unknown MNG chunk, a format this reader does not know) is not decoded at all.
//
// Then a picture is taken whole; or, beyond the board's limits, taken at the largest size within
// them when that can be done within the memory budget (JPEG decoded at 1/2, 1/4 or 1/8 by the
// decoder itself, SVG drawn at that size, the others decoded whole and averaged down band by
// band); or refused, without decoding it, with one sentence for the teacher that says why.
//
// Thread-safe: pictures may be read on several threads at once, each within kMaxDecodeBytes
// (callers that do so keep their own total).
namespace PictureReading {

// A picture on the board: sides and pixels, pages and lesson pictures alike.
constexpr int kMaxPictureSide = 16384;
constexpr qint64 kMaxPicturePixels = qint64(1) << 26; // 256 MB as 32-bit pixels
// An animation keeps several pictures of its size at once (the decoder's screen and backing
// store, the frame shown and the one being made): it plays up to this many pixels a frame.
constexpr qint64 kMaxAnimationPixels = qint64(1) << 24;
// What reading one picture may take at its peak, counted in the bytes a pixel takes in the
// format the decoder makes (16-bit PNG and TIFF: 8) and in the decoder's own buffers. With the
// program's own needs beside it, a file of 20 MB or less then costs at most 1 GB.
constexpr qint64 kMaxDecodeBytes = qint64(768) << 20;

enum class Outcome {
    Whole, // taken as it is
    Smaller, // beyond the limits, taken at a size within them
    TooLarge, // beyond the limits, and no smaller copy can be made within the budget
    TooCostly, // within the limits, but decoding it would take more than the budget
    Unmeasurable, // what it would take cannot be known without decoding it
    Unreadable, // no picture the toolkit can read (or a damaged one)
};

struct Probe
{
    Outcome outcome = Outcome::Unreadable;
    QByteArray format; // as the toolkit's reader picks it from the bytes (and the name)
    QSize size; // the picture as stored (icons: their largest entry); invalid when unknown
    QSize taken; // the size it is read at, for Whole and Smaller
    qint64 peakBytes = 0; // what reading it takes at most (0 when it is not read)
    int frames = 1; // pictures of an animation (GIF, MNG, WEBP)
    bool playable = false; // an animation the board can play at its size
    qint64 playingBytes = 0; // what it takes while it plays at its own size, when playable
    QString detail; // what was found, for the log (not for the teacher)

    bool isTaken() const { return outcome == Outcome::Whole || outcome == Outcome::Smaller; }
};

// What reading the picture would do, from its bytes alone: nothing of it is decoded (an SVG is
// parsed for its size, the pictures it holds bounded first). The name of a file counts as the
// toolkit counts it (a name's suffix is tried first, then the content).
Probe probe(const QString &file);
Probe probeData(const QByteArray &bytes);

struct Picture
{
    QImage image; // 32-bit, premultiplied when it has alpha; null unless probe.isTaken()
    Probe probe;
};

// Reads the picture once: probes it, then decodes it as the probe says (or not at all).
Picture read(const QString &file);

class Reading;

// A picture file probed, and later read as probed: opened and measured once, however long
// the reading waits (for room beside other pictures).
class Reader
{
public:
    explicit Reader(const QString &file);
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    const Probe &probe() const;
    // Decodes it as probe() says, once: a null image unless probe().isTaken() (and then the
    // probe returned says why).
    Picture read();

private:
    std::unique_ptr<Reading> m_reading;
};
Picture readData(const QByteArray &bytes);

// One sentence for the teacher about a picture named name that was not taken, or was taken
// smaller, or (animation true: it was to play) is shown still; "" for one taken as it is.
// Translated, in the context "PictureReading".
QString message(const Probe &probe, const QString &name, bool animation = false);

// Whether a picture of size is within the board's limits.
bool fits(QSize size);
// The largest size within the limits of the same shape as size (size itself when it fits).
QSize fitted(QSize size);

// source averaged down to size (each pixel the mean of those it covers), band by band, so that
// a picture of few bytes a pixel is never converted whole to 32 bits: 32-bit, premultiplied
// when source has alpha.
QImage shrink(const QImage &source, QSize size);

} // namespace PictureReading
