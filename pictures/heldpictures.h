#pragma once

#include "picturereading.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QGraphicsItem;

// A picture as the board holds it. One from outside (a lesson's, one put in with the picture
// button, a page of a PDF) is kept as its file and decoded only while it is shown or about to
// be: the board holds copies of it at the sizes it shows it at, each averaged down in a decoding
// process (PictureReading::readReduced), within a budget of memory, and gives them back once
// they are no longer shown. The smallest copy of each stays, to stand in at once wherever the
// picture is shown before the copy it needs has come. A picture made on the board (a capture, a
// filled area, a stamped stroke, a pasted picture) holds its own pixels.
//
// A picture kept as its file keeps a file of its own (a link to, or a copy of, the file it came
// from) in a folder that no save writes: a save of the lesson writes its picture there from it,
// as it came, however the lesson's own files are renamed meanwhile.
//
// Objects showing one picture share one HeldPicture (and so its copies). GUI thread only, but
// for what is said otherwise.
class HeldPicture
{
public:
    // A picture file of a lesson, measured and decoded when first needed; until it is measured
    // it is taken to be of size (the size the lesson gives it, which says whether it shows it as
    // stored: PictureReading::shownAsStored). name: as the teacher knows it.
    // A lesson's picture goes back with it as it came (but an SVG, which links other files).
    static std::shared_ptr<HeldPicture> ofFile(const QString &file, const QString &name,
                                               QSize size);
    // A lesson's picture file measured already; objectSize: the size of the object the lesson
    // shows it over, when it is one's (it may show it as stored, PictureReading::shownAsStored).
    static std::shared_ptr<HeldPicture> ofFile(const QString &file, const QString &name,
                                               const PictureReading::Probe &probe,
                                               QSizeF objectSize = QSizeF());
    // A picture from outside the lesson, its file a copy of its own in the kept folder
    // (HeldPictures::copyIn), measured, and perhaps decoded (its picture as probed, held from
    // the start; its smallest copy then comes from HeldPictures::makeSmallestApart).
    // linkRoot: the folder it came from. A lesson stores it as it is when it is a PNG, a
    // JPEG or a GIF; else as a PNG of what it shows.
    static std::shared_ptr<HeldPicture> ofOwnFile(const QString &keptFile, const QString &name,
                                                  const QString &linkRoot,
                                                  const PictureReading::Probe &probe,
                                                  const QImage &decoded = QImage());
    // A picture made on the board.
    static std::shared_ptr<HeldPicture> ofImage(const QImage &image);
    ~HeldPicture();
    HeldPicture(const HeldPicture &) = delete;
    HeldPicture &operator=(const HeldPicture &) = delete;

    // Unique in the run: what a save compares to know whether it is the same picture.
    quint64 serial() const { return m_serial; }
    bool isMade() const { return m_file.isEmpty(); }
    // The pixels of a picture made on the board.
    const QImage &image() const { return m_image; }
    // Where a picture kept as its file lies (its own copy once kept()).
    QString file() const { return m_file; }
    // The suffix its file is written back with (its format's own: "png", "jpg"...), and
    // whether a lesson stores its file as it is (see ofFile, ofOwnFile).
    QString suffix() const;
    bool isCopiedAsItIs() const;
    QString name() const { return m_name; }
    // The folder its links (an SVG's pictures) may reach: the one its file came from.
    QString linkRoot() const { return m_linkRoot; }
    // The pixels it decodes at: measured, or as its lesson gives them until then.
    QSize pixels() const;
    bool isMeasured() const { return m_measured; }
    const PictureReading::Probe &probe() const { return m_probe; }
    // Measured or decoded, and not taken: nothing of it can be shown.
    bool isRefused() const { return m_refused; }
    // What was said of it when it was refused (or taken smaller): the probe that says why.
    const PictureReading::Probe &outcome() const { return m_outcome; }
    // It covers what lies under it wherever it lies (no transparent pixel).
    bool isOpaque() const;

    // Takes its file into the folder no save writes (HeldPictures::setKeptFolder): false when
    // neither a link nor a copy could be made (it then stays where it was).
    bool keep();
    bool isKept() const { return m_kept; }

private:
    HeldPicture();
    friend class HeldPicturesStore;

    quint64 m_serial = 0;
    QString m_file;
    bool m_fromLesson = false;
    int m_inFlight = 0; // requests of it in a decoding process
    QString m_replaced; // its file before the last that took its place, until none reads it
    QString m_name;
    QString m_linkRoot;
    mutable QString m_suffix;
    QImage m_image; // made on the board
    QSize m_given; // until measured
    bool m_measured = false;
    bool m_refused = false;
    bool m_kept = false;
    PictureReading::Probe m_probe;
    PictureReading::Probe m_outcome;

    // Copies held, by halvings (0: the picture as probed). GUI thread.
    struct Copy
    {
        QImage image;
        quint64 used = 0; // the last showing that used it
        quint64 frame = 0; // the board's painting it was last used in
    };
    std::map<int, Copy> m_copies;
    int m_asking = -1; // halvings of the copy being made, or -1
    bool m_makingSmallest = false; // a request on its way makes its smallest copy
    bool m_askedMeasure = false;
    // Those showing it, repainted when a copy comes.
    std::vector<std::pair<QPointer<QObject>, QGraphicsItem *>> m_showing;
    // Asked for showing and not yet drawn at the size shown: asked again by the store itself.
    QSizeF m_unserved;
    bool m_isUnserved = false;
    qint64 m_unservedAt = 0; // when last shown without its copy (the store's clock)
    int m_failures = 0; // requests of the copy for showing that failed in a row
    int m_redrawn = 0; // times drawn again by the store since its copy came
    qint64 m_retryAt = 0; // not asked again before then (the store's clock)
    quint64 m_wanted = 0; // the last HeldPictures::keepOnly that wanted it
};

// Tells when copies come: what shows pictures other than the board (the pages' tiles) draws
// them again.
class HeldPicturesNotifier : public QObject
{
    Q_OBJECT
signals:
    void came();
    // A copy for item came, or came before item was drawn with it: a board that shows a picture
    // of itself (the live-ink overlay) takes a new one.
    void drawAgain(QGraphicsItem *item);
};

namespace HeldPictures {

HeldPicturesNotifier *notifier();

// Where pictures kept as their files keep them. Unset: a temporary folder of the program's own.
void setKeptFolder(const QString &folder);
QString keptFolder();
// A copy of file in the kept folder, of a name no other has, for a picture about to be held as
// its file (HeldPicture::ofOwnFile): "" when none can be made. Any thread.
QString copyIn(const QString &file);
// The same, file itself moved there (a file of the program's own making).
QString moveIn(const QString &file);
// Writes picture's file as a PNG in the kept folder beside the board, which its file then is
// (the one before goes): a picture of a large format that a lesson does not store as it is (a
// PDF's page as its converter wrote it) takes less room, and is saved by a copy.
void storeAsPng(const std::shared_ptr<HeldPicture> &picture);
// While the token lives (on any thread), picture's file stays where it is now, whatever takes
// its place (storeAsPng): for a save that copies it beside the board.
std::shared_ptr<void> reading(const std::shared_ptr<HeldPicture> &picture);

// What to draw of picture, shown over shown device pixels: the copy made for that size, or a
// larger one; else, while that is made beside the board (asked now), the nearest smaller one
// held (null when there is none yet, or when nothing of it can be shown). item is repainted
// when what it needs comes.
QImage forShowing(const std::shared_ptr<HeldPicture> &picture, QSizeF shown, QGraphicsItem *item);
// Makes the smallest copy of a picture held whole (HeldPicture::ofOwnFile with its pixels)
// beside the board: a camera photo's takes a tenth of a second.
void makeSmallestApart(const std::shared_ptr<HeldPicture> &picture);

// Asks now for the copy that would serve a showing over shown (a page about to be shown).
void prepare(const std::shared_ptr<HeldPicture> &picture, QSizeF shown);
// Asks now for its smallest copy alone (a page a few pages away, which a teacher may turn to):
// after what is shown and about to be, before what is measured in the background.
void prepareSmallest(const std::shared_ptr<HeldPicture> &picture);
// The board paints again: what it shows now is never given back for room.
void newFrame();
// The pictures measured ahead (measure()) wait ms from now, those asked for showing go on: a
// page turned to is drawn on processors they would take, one turned to after it too.
void holdAhead(int ms);
// Starts another round of keepOnly: pictures wanted() from now are kept.
void beginKeeping();
void want(HeldPicture *picture);
// What was neither wanted nor shown since beginKeeping() gives back its copies (all but the
// smallest).
void keepOnly();

// The picture at least as large as shown (a null size: whole), decoded now (the caller waits
// for the decoding process, calling waiting meanwhile). Null when it cannot be had.
QImage now(const std::shared_ptr<HeldPicture> &picture, QSizeF shown = QSizeF(),
           const PictureReading::Waiting &waiting = {});

// The copy of picture that serves a showing over shown, made now unless held (the caller
// waits, calling waiting meanwhile), and held like any copy shown by the board's painting: for
// a page drawn at once into a picture of it (an export), which must show the picture whole.
void ready(const std::shared_ptr<HeldPicture> &picture, QSizeF shown,
           const PictureReading::Waiting &waiting = {});

// Measures the pictures not measured yet, and makes their smallest copies, beside the board
// (after whatever is asked for showing); then calls done, unless context is gone. Those it
// finds refused are refused from then on (isRefused()).
void measure(const QList<std::shared_ptr<HeldPicture>> &pictures, QObject *context,
             std::function<void()> done);
// Requests waiting or being decoded.
int pending();
// Pictures shown without the copy for their size, that the store asks for again by itself.
int unserved();
// A request for a copy that failed is made again this many times, further apart each time,
// before the picture is taken as one that cannot be had (its smallest copy, if any, stands).
constexpr int kMostTries = 4;
// How often the store looks at what is shown without its copy.
constexpr int kAgainMs = 200;
// Grows whenever a picture is measured or refused: what was known of which covers which may
// have changed.
quint64 epoch();

// Something of picture can be drawn now: a copy of it is held, or it is made on the board.
bool hasCopy(const HeldPicture &picture);

// What the copies take, all together and but for the smallest of each picture.
qint64 heldBytes();
qint64 heldLargeBytes();
// The copies held of picture, by their halvings (for tests).
QList<int> heldHalvings(const HeldPicture &picture);

// The smallest copy kept of every picture is no larger than this either way.
constexpr int kSmallestSide = 256;
// The copies of pictures, but the smallest, take at most this much; beyond it, those shown
// least recently go first (never those the board's last painting showed).
constexpr qint64 kBudgetBytes = qint64(384) << 20;

} // namespace HeldPictures
