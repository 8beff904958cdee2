#pragma once

#include "board/boardtypes.h"
#include "pictures/picturereading.h"

#include <QList>
#include <QPair>
#include <QSize>
#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <memory>

class QByteArray;
class QIODevice;

// What an IWB document may ask of the program. A file beyond any of these is damaged (or made
// to hurt): it is refused as a whole before anything of the open document changes, so that no
// file can exhaust the stack, the memory or the patience of the teacher who opens it.
namespace IwbLimits {

constexpr int kMaxDepth = 128; // elements inside elements (groups in groups, spans in spans)
constexpr int kMaxTableCells = 99; // rows, and columns: what the table dialog offers
// Pictures and pages alike: the limits every picture the program reads keeps to.
constexpr int kMaxPictureSide = PictureReading::kMaxPictureSide;
constexpr qint64 kMaxPicturePixels = PictureReading::kMaxPicturePixels;
constexpr int kMaxPoints = 1000000; // in one "points" list
// An object with a value beyond these (or not finite) costs no more than any other, but cannot
// be held by a board as written: the reader leaves it out and says the document was read only
// in part, rather than refuse the whole file.
constexpr int kMaxPenWidth = 1000; // pixels
constexpr double kMaxCoordinate = kBoardReach; // positions and sizes of shapes, in pixels
constexpr double kMaxFontPoints = 1000;
constexpr double kMaxScale = 1000;
// Every board object costs some kilobytes however small its element, every picture four bytes
// a pixel: what a document would take once open is estimated from both and bounded, so that
// with one picture being decoded the program stays under 1 GB.
constexpr int kMaxObjects = 50000;
constexpr int kMaxPages = 1000;
// An object as it is opened: its frame and handles are made only when it is first selected.
constexpr qint64 kObjectBytes = 4 << 10;
constexpr qint64 kPointBytes = 48; // a point of a path, as the object holds it
// What a picture of size takes on the board: four bytes a pixel (nothing for no size).
inline qint64 pictureBytes(QSize size)
{
    return 4 * qint64(std::max(size.width(), 0)) * std::max(size.height(), 0);
}
// Room for a 200-page lesson of strokes and text, and for a picture of the largest size allowed
// being decoded beside it, within 1 GB. Pictures are held as their files and decoded when
// shown: they take none of it.
constexpr qint64 kMaxDocumentBytes = qint64(700) << 20;
// An animation plays from all its frames, decoded at once: a lesson's animations together hold
// at most this much while they play; those beyond it are shown still.
constexpr qint64 kMaxPlayingBytes = qint64(512) << 20;
// What a lesson takes at once while it is opened: what it has made so far (its pictures as
// they are kept, the rest as estimated), and the pictures being decoded at their peak. The
// program's own work beside it stays within the rest of 1 GB.
constexpr qint64 kMaxOpeningBytes = qint64(960) << 20;
// "content.xml": a 200-page lesson of long strokes is about 60 MB; what it may hold is bounded
// by kMaxDocumentBytes, this only stops a file too large to look at.
constexpr qint64 kMaxContentBytes = qint64(256) << 20;
constexpr qint64 kMaxUnpackedBytes = qint64(2) << 30; // every entry of the archive together
constexpr int kMaxEntries = 10000; // entries of the archive
constexpr int kMaxTextCharacters = 1000000; // text content of the whole document

// What the open document would take, as estimated from its text: its pictures' pixels (at the
// size their elements give, within the board's limits) apart from everything else. Only the
// rest is held to kMaxDocumentBytes; the pictures share what it leaves (LessonPictures).
struct Estimate
{
    qint64 others = 0;
    qint64 pictures = 0;
};

// Reads "content.xml" from content (from its start to its end) and tells why it is beyond the
// limits ("" when it is not) and what the document would take. A file whose XML breaks off is
// not refused here: the reader keeps what can be read of it. Pictures are not looked at: one
// beyond the limits is left out, or taken smaller, by the reader.
struct TextCheck
{
    QString reason; // why the text is beyond the limits, or ""
    Estimate estimate; // of the text read, up to the reason
    qint64 bytes = 0; // of the text read, up to the reason
};
TextCheck checkText(QIODevice &content);

// checkText over a text that comes in pieces (as an unpacker hands it out): addData for each
// piece, then finish. Once a reason is found, the pieces after it are not read.
class TextChecker
{
public:
    TextChecker();
    ~TextChecker();
    void addData(const QByteArray &piece);
    bool done() const; // refused already: what comes after cannot change the answer
    const Estimate &estimate() const; // of the text added so far
    TextCheck finish();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

} // namespace IwbLimits
