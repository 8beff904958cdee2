#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <QVector>
#include <QtGlobal>

#include <functional>

class QObject;

// Every picture the program takes from outside (a file or bytes) is read here.
//
// Pictures are decoded apart from the board, in decoding processes of the program's own
// (pictures/picturedecoders.h): each request there is held by the operating system to a memory
// ceiling and a processor time, and by the program to a wall-clock time, so that whatever a file
// holds and however its decoder reads it (an SVG holding pictures, a tag given twice, shapes
// that take minutes to draw, a decoder that crashes) it costs at most that picture, said in one
// sentence. The pixels come back through shared memory. A decoding process reads only what it is
// handed: the picture, and of the files it links (an SVG's pictures), the plain files inside the
// folder it came from (pictures/linkroot.h).
//
// Inside the decoding process a picture is first measured from its own bytes, format by format
// (the format the toolkit's reader picks for them, whatever the file is called): the size of
// what the decoder will make and everything else it holds meanwhile (a progressive JPEG's
// coefficients, a lossless WEBP's own copy, a GIF's backing store, an MNG's objects, the
// pictures an SVG embeds, a PNG's compressed text). That measure is the first estimate: it
// sizes what the request is allowed, the budgets of the callers, and the sentences for the
// teacher. What cannot be bounded so (an unknown MNG chunk, a format this reader does not know)
// is not decoded at all.
//
// Then a picture is taken whole; or, beyond the board's limits, taken at the largest size within
// them when that can be done within the memory budget (JPEG decoded at 1/2, 1/4 or 1/8 by the
// decoder itself, SVG drawn at that size, the others decoded whole and averaged down band by
// band); or refused, with one sentence for the teacher that says why.
//
// Thread-safe: pictures may be read on several threads at once; the decoding processes share
// one budget of memory between the requests they run.
namespace PictureReading {

// A picture on the board: sides and pixels, pages and lesson pictures alike.
constexpr int kMaxPictureSide = 16384;
constexpr qint64 kMaxPicturePixels = qint64(1) << 26; // 256 MB as 32-bit pixels
// An animation plays from all its frames, decoded at once: up to this many pixels a frame, and
// this many bytes of frames.
constexpr qint64 kMaxAnimationPixels = qint64(1) << 24;
constexpr qint64 kMaxAnimationBytes = qint64(256) << 20;
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
    // What the decoding process found, whatever the measures had said: its decoder ran out of
    // the memory the picture was allowed, out of its time, or ended the process.
    OutOfMemory,
    OutOfTime,
    Failed,
};

// What gives a picture its outcome, as far as the teacher is told: why it cannot be read, or
// what of it costs more than the board allows when that is not its pixels.
enum class Cause : quint8 {
    Missing, // no file, or none that opens as a plain file (a folder, a pipe, a device)
    NoFormat, // none of the board's readers takes its bytes
    Damaged, // its reader takes it, then fails on it (cut short, broken inside)
    Pixels, // the pixels its size gives
    Data, // what it holds beside its pixels (text, profiles, pictures within) more than them
    Frames, // an animation the board could play at its size, but not with so many frames
    LinksItself, // an SVG that links itself, or one that links it back: it would never end
};

// Why a file a picture links (an SVG's picture) is left out of it (pictures/linkroot.h).
enum class LeftOut : quint8 {
    Missing, // nothing there, or nothing that opens
    Outside, // outside the folder the picture came from
    Device,
    Pipe, // a named pipe, or a socket
    Fonts, // in one of the fonts' folders
    System, // in /proc, /sys or /dev
};

struct LeftOutLink
{
    QString name; // as the decoding process named it
    LeftOut why;
};

struct Probe
{
    Outcome outcome = Outcome::Unreadable;
    Cause cause = Cause::Missing;
    QByteArray format; // as the toolkit's reader picks it from the bytes (and the name)
    // The picture as shown (icons: their largest entry), its orientation applied: a phone's
    // photo stored 400 x 600 and turned a quarter is 600 x 400. Invalid when unknown.
    QSize size;
    QSize taken; // the size it is read at, for Whole and Smaller, as shown too
    // How it is turned to be shown, as EXIF numbers it (1: as stored, 2 to 8: mirrored and
    // turned), applied by its decoding.
    int orientation = 1;
    qint64 peakBytes = 0; // what reading it takes at most (0 when it is not read)
    int frames = 1; // pictures of an animation (GIF, MNG, WEBP)
    bool playable = false; // an animation the board can play at its size
    qint64 playingBytes = 0; // what it takes while it plays at its own size, when playable
    bool decoderScales = false; // the decoder makes taken itself (JPEG in eighths, SVG)
    // Whether the picture as decoded may have transparent pixels, known from its measure (a
    // JPEG never; a PNG by its colour type and tRNS; unknown: true).
    bool hasAlpha = true;
    QString detail; // what was found, for the log (not for the teacher)
    // The files it links that its decoder was refused, each once: it shows without them. Known
    // to the program only (never sent to a decoding process, nor taken from one).
    QVector<LeftOutLink> leftOut;

    bool isTaken() const { return outcome == Outcome::Whole || outcome == Outcome::Smaller; }
};

// Whether orientation (EXIF's) turns a picture a quarter, so that its sides swap as shown.
bool turnsQuarter(int orientation);
// The same picture read as it is stored: its orientation left unapplied, its sizes those stored.
Probe asStored(const Probe &probe);
// Whether an object of size (a lesson's) shows probe's picture as it is stored: turned a
// quarter as shown, the object has the shape of the picture stored and not that of the picture
// shown. So a lesson saved before orientations were applied keeps its photos as they looked, and
// a teacher's stretched picture is taken as shown. A square picture, or one only mirrored or
// turned upside down, cannot be told apart: it is shown as its orientation says.
bool shownAsStored(const Probe &probe, QSizeF size);

// What a caller does while it waits for a decoding process, every few milliseconds (the board's
// thread turns its event loop); null: it just waits. A caller that waits so is not held for a
// process found stopped: its picture is then said as not answering.
using Waiting = std::function<void()>;

// A picture file, and the folder its links may reach (an SVG's pictures): "" for the file's
// own. Where a function takes a file alone, that is Source{ file, "" }.
struct Source
{
    QString file;
    QString linkRoot;
};

// What reading the picture would do, as measured from its bytes: nothing of it is decoded (an
// SVG is parsed for its size, the pictures it holds measured first). The name of a file counts
// as the toolkit counts it (a name's suffix is tried first, then the content).
Probe probe(const QString &file, const Waiting &waiting = {});
Probe probe(const Source &source, const Waiting &waiting = {});
Probe probeData(const QByteArray &bytes);

struct Picture
{
    QImage image; // 32-bit, premultiplied when it has alpha; null unless probe.isTaken()
    Probe probe; // after the decoding: what it found, when that differs from the measure
};

// Reads the picture once: measures it, then decodes it as measured (or not at all).
Picture read(const QString &file, const Waiting &waiting = {});
Picture read(const Source &source, const Waiting &waiting = {});
Picture readData(const QByteArray &bytes);
// The picture as probed, averaged down halvings times (each side halved, rounded up, every
// time), made apart from the board: only the small copy comes.
Picture readReduced(const Source &source, const Probe &probed, int halvings,
                    const Waiting &waiting = {});

// Runs work on another thread (where it may wait for decoding processes), then then on the
// thread of the program's event loop, unless context is gone by then: the board goes on
// meanwhile.
void inBackground(std::function<void()> work, QObject *context, std::function<void()> then);
// Work begun so and not yet handed over.
int pending();
// Reads file so, and hands what came to done.
void readSoon(const QString &file, QObject *context, std::function<void(const Picture &)> done);

// What a picture may take at most to be decoded with its measure, in one request: most photos
// (one of 12 million pixels takes 48 MB).
constexpr qint64 kReadAtOnceBytes = qint64(64) << 20;

// A picture file probed, and later read as probed: measured once, however long the reading
// waits (for room beside other pictures). One that takes no more than readUpTo (at most
// kReadAtOnceBytes) is decoded with its measure, in the same request: read() then gives it.
class Reader
{
public:
    explicit Reader(const QString &file, const Waiting &waiting = {}, qint64 readUpTo = 0);
    explicit Reader(const Source &source, const Waiting &waiting = {}, qint64 readUpTo = 0);
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    const Probe &probe() const { return m_probe; }
    // Decoded already, with its measure.
    bool isDecoded() const { return !m_picture.isNull(); }
    // Decodes it as probe() says, once: a null image unless probe().isTaken() (and then the
    // probe returned says why).
    Picture read();

private:
    Source m_source;
    Waiting m_waiting;
    qint64 m_spentMs = 0; // in decoding processes, measured and read together
    QImage m_picture; // decoded with the measure
    Probe m_probe;
    bool m_read = false;
};

// Every frame of an animation, decoded at once for the board to play.
struct Animation
{
    QVector<QImage> frames; // 32-bit, premultiplied when they have alpha; all of one size
    QVector<int> delays; // of each frame, in milliseconds
    int loopCount = -1; // as QImageReader gives it: -1 forever, 0 once, n n more times
    Probe probe;
};
// The frames of the animation in file when the board can play it (probe.playable); else none,
// and probe says what it is, and still (when given) is its first picture, as read() gives it,
// read within the time of the same picture.
Animation readAnimation(const QString &file, const Waiting &waiting = {}, Picture *still = nullptr);

// One sentence for the teacher about a picture named name that was not taken, or was taken
// smaller, or (animation true: it was to play) is shown still, or shows without files it links;
// "" for one taken as it is.
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
