#include "heldpictures.h"

#include "picturedecoders.h"
#include "picturereductions.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QHash>
#include <QImageReader>
#include <QMutex>
#include <QPointer>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <deque>
#include <limits>

#include <signal.h>
#include <unistd.h>

namespace {

std::atomic<quint64> g_serials{ 0 };
quint64 g_epoch = 0; // GUI thread

// The halvings of pixels whose copy is the smallest kept: no side above kSmallestSide.
int smallestHalvings(QSize pixels)
{
    int halvings = 0;
    QSize size = pixels;
    while (size.width() > HeldPictures::kSmallestSide
           || size.height() > HeldPictures::kSmallestSide) {
        const QSize half = PictureReductions::halvedSize(size, 1);
        if (half == size)
            break;
        size = half;
        ++halvings;
    }
    return halvings;
}

// The halvings of pixels that serve a showing over shown (a null size: all of it). Never fewer
// pixels than its smallest copy, which is kept anyway: a photo shown as a thumbnail was decoded
// twice, for that and for its smallest copy.
int halvingsFor(QSize pixels, QSizeF shown)
{
    if (!shown.isValid() || shown.isEmpty())
        return 0;
    return std::min(smallestHalvings(pixels),
                    PictureReductions::halvingsFor(
                            pixels, QSize(int(std::ceil(shown.width() - 1e-6)),
                                          int(std::ceil(shown.height() - 1e-6)))));
}

// image averaged down halvings more times, in the board's form.
QImage halvedFurther(QImage image, int halvings)
{
    if (halvings <= 0 || image.isNull())
        return image;
    if (image.format() != QImage::Format_RGB32
        && image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                              : QImage::Format_RGB32);
    for (int n = 0; n < halvings; ++n) {
        const QSize half = PictureReductions::halvedSize(image.size(), 1);
        if (image.width() % 2 != 0 || image.height() % 2 != 0) {
            image = image.scaled(half, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            continue;
        }
        QImage made(half, image.format());
        if (made.isNull())
            return QImage();
        PictureReductions::halveInto(image, &made);
        image = made;
    }
    return image;
}

QString &keptFolderPath()
{
    static QString folder;
    return folder;
}

QMutex &keptFolderMutex()
{
    static QMutex mutex;
    return mutex;
}

// A file of the kept folder that no other picture has: its serial, and the suffix of the file
// it keeps.
QString keptName(quint64 serial, const QString &suffix)
{
    return HeldPictures::keptFolder()
            + QStringLiteral("/%1.%2").arg(serial).arg(suffix.isEmpty() ? QStringLiteral("picture")
                                                                        : suffix);
}

bool copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    return QFile::copy(from, to);
}

} // namespace

// ---- The pictures

HeldPicture::HeldPicture() : m_serial(++g_serials)
{
    m_outcome.outcome = PictureReading::Outcome::Whole; // nothing to say of it, so far
}

HeldPicture::~HeldPicture()
{
    // Its own file goes with it: no object of the run shows it any more.
    if (m_kept)
        QFile::remove(m_file);
    if (!m_replaced.isEmpty())
        QFile::remove(m_replaced);
}

std::shared_ptr<HeldPicture> HeldPicture::ofFile(const QString &file, const QString &name,
                                                 QSize size)
{
    std::shared_ptr<HeldPicture> picture(new HeldPicture);
    picture->m_file = file;
    picture->m_fromLesson = true;
    picture->m_name = name;
    picture->m_linkRoot = QFileInfo(file).absolutePath();
    picture->m_given = size;
    return picture;
}

std::shared_ptr<HeldPicture> HeldPicture::ofFile(const QString &file, const QString &name,
                                                 const PictureReading::Probe &probe,
                                                 QSizeF objectSize)
{
    const PictureReading::Probe shown = PictureReading::shownAsStored(probe, objectSize)
            ? PictureReading::asStored(probe)
            : probe;
    std::shared_ptr<HeldPicture> picture = ofFile(file, name, shown.taken);
    picture->m_measured = true;
    picture->m_probe = shown;
    picture->m_refused = !shown.isTaken();
    picture->m_outcome = shown;
    return picture;
}

std::shared_ptr<HeldPicture> HeldPicture::ofOwnFile(const QString &keptFile, const QString &name,
                                                    const QString &linkRoot,
                                                    const PictureReading::Probe &probe,
                                                    const QImage &decoded)
{
    std::shared_ptr<HeldPicture> picture = ofFile(keptFile, name, probe);
    picture->m_fromLesson = false;
    picture->m_kept = true;
    picture->m_linkRoot = linkRoot;
    // Its smallest copy is not averaged here, on the board's thread, nor before it is placed
    // (see HeldPictures::makeSmallestApart).
    if (!decoded.isNull() && decoded.size() == probe.taken)
        picture->m_copies[0].image = decoded;
    return picture;
}

std::shared_ptr<HeldPicture> HeldPicture::ofImage(const QImage &image)
{
    std::shared_ptr<HeldPicture> picture(new HeldPicture);
    picture->m_image = image;
    picture->m_given = image.size();
    picture->m_measured = true;
    return picture;
}

QString HeldPicture::suffix() const
{
    if (isMade())
        return QStringLiteral("png");
    // As its format is named, whatever its file was called: looked at once.
    if (m_suffix.isEmpty()) {
        const QByteArray format = m_measured && !m_probe.format.isEmpty()
                ? m_probe.format
                : QImageReader::imageFormat(m_file);
        if (format == "jpeg")
            m_suffix = QStringLiteral("jpg");
        else if (!format.isEmpty())
            m_suffix = QString::fromLatin1(format);
        else
            m_suffix = QFileInfo(m_file).suffix().toLower();
        if (m_suffix.isEmpty())
            m_suffix = QStringLiteral("png");
    }
    return m_suffix;
}

bool HeldPicture::isCopiedAsItIs() const
{
    if (isMade())
        return false;
    const QString format = suffix();
    // An SVG draws what it links beside it; its picture goes as a PNG of what it shows.
    if (format == QLatin1String("svg") || format == QLatin1String("svgz"))
        return false;
    return m_fromLesson || format == QLatin1String("png") || format == QLatin1String("jpg")
            || format == QLatin1String("gif");
}

QSize HeldPicture::pixels() const
{
    if (isMade())
        return m_image.size();
    return m_measured && m_probe.taken.isValid() ? m_probe.taken : m_given;
}

bool HeldPicture::isOpaque() const
{
    if (isMade())
        return !m_image.hasAlphaChannel();
    return m_measured && m_probe.isTaken() && !m_probe.hasAlpha;
}

bool HeldPicture::keep()
{
    if (isMade() || m_kept)
        return true;
    const QString kept = keptName(m_serial, suffix());
    QFile::remove(kept);
    const bool linked =
            ::link(QFile::encodeName(m_file).constData(), QFile::encodeName(kept).constData()) == 0;
    if (!linked && !copyFile(m_file, kept))
        return false;
    m_file = kept;
    m_kept = true;
    return true;
}

// ---- The store of copies

// What is asked of a decoding process: a picture measured (if it is not yet) and a copy made
// for a showing.
class HeldPicturesStore
{
public:
    enum class Priority { Shown = 0, Near = 1, Soon = 2, Ahead = 3 };

    struct Request
    {
        std::weak_ptr<HeldPicture> picture;
        QSizeF shown; // the copy that serves this showing; invalid: the smallest
        Priority priority;
    };

    // What a decoding thread hands back.
    struct Result
    {
        bool measured = false;
        PictureReading::Probe probe;
        int halvings = -1;
        QImage image;
        int smallestHalvings = -1;
        QImage smallest; // made from image on the way, when it was not held yet
        bool failed = false;
        PictureReading::Probe failure;
    };

    HeldPicturesStore()
    {
        m_threads.setMaxThreadCount(PictureDecoders::mostAtOnce() + PictureDecoders::kMostSlow
                                    + PictureDecoders::kMostStopped);
        m_clock.start();
        // A request that has run long lets another begin.
        m_slowCheck.setInterval(PictureDecoders::kSlowMs / 2);
        QObject::connect(&m_slowCheck, &QTimer::timeout, [this] {
            if (m_started.empty())
                m_slowCheck.stop();
            startNext();
        });
        m_converting.setMaxThreadCount(1);
        // What is shown without its copy is asked again by the store, whatever else the board
        // does: waiting for the board to paint it again left a lesson's photos missing for good
        // while the teacher wrote over them.
        m_again.setInterval(HeldPictures::kAgainMs);
        QObject::connect(&m_again, &QTimer::timeout, [this] { askAgain(); });
        m_aheadResume.setSingleShot(true);
        QObject::connect(&m_aheadResume, &QTimer::timeout, [this] { startNext(); });
        // Requests still being decoded are not waited for at the end.
        // What is still asked of the decoding processes as the program ends is given up: their
        // requests end at once, and the threads waiting for them with them.
        qAddPostRoutine([] {
            HeldPicturesStore &store = instance();
            store.m_threads.clear();
            store.m_converting.clear();
            for (const qint64 pid : PictureDecoders::instance().busy())
                ::kill(pid_t(pid), SIGKILL);
            store.m_threads.waitForDone(10000);
            store.m_converting.waitForDone(10000);
        });
    }

    static HeldPicturesStore &instance()
    {
        // Never destroyed: decoding threads may hand back after the program's objects are gone.
        static auto *store = new HeldPicturesStore;
        return *store;
    }

    QImage forShowing(const std::shared_ptr<HeldPicture> &picture, QSizeF shown,
                      QGraphicsItem *item)
    {
        ++m_uses;
        if (picture->isMade())
            return picture->m_image;
        if (item)
            watch(*picture, item);
        if (picture->m_refused)
            return QImage();
        // Its copies are given back with the others' (keepOnly, makeRoom), however they came.
        remember(picture);
        const int needed = halvingsFor(picture->pixels(), shown);
        HeldPicture::Copy *serving = servingCopy(*picture, needed);
        if (serving) {
            use(*serving);
            // Drawn as sharp as the showing that waits for its copy (a page's tile, shown
            // smaller than the board shows it, is not).
            if (picture->m_isUnserved
                && (!picture->m_unserved.isValid()
                    || needed <= halvingsFor(picture->pixels(), picture->m_unserved)))
                served(*picture);
            return serving->image;
        }
        // Nothing of it yet (a page turned to before its pictures were measured): its smallest
        // copy, a fraction of the work, comes first and stands in until the other comes.
        if (picture->m_copies.empty() && needed < smallestHalvings(picture->pixels()))
            askSmallest(picture, Priority::Shown);
        // The largest showing waiting is the one asked again.
        if (!picture->m_isUnserved || !picture->m_unserved.isValid()
            || needed <= halvingsFor(picture->pixels(), picture->m_unserved))
            unserved(picture, shown);
        // One that failed waits its turn to be asked again (askAgain).
        if (picture->m_retryAt <= m_clock.elapsed())
            ask(picture, shown, Priority::Shown);
        // The finest it has stands in meanwhile.
        if (picture->m_copies.empty())
            return QImage();
        HeldPicture::Copy &standIn = picture->m_copies.begin()->second;
        use(standIn);
        return standIn.image;
    }

    // The smallest copy of picture, asked before the others of its priority's.
    void askSmallest(const std::shared_ptr<HeldPicture> &picture, Priority priority)
    {
        if (picture->isMade() || picture->m_refused || hasSmallest(*picture)
            || picture->m_makingSmallest)
            return;
        remember(picture);
        for (Request &waiting : m_queue) {
            if (!waiting.shown.isValid() && waiting.picture.lock() == picture) {
                waiting.priority = std::min(waiting.priority, priority);
                startNext();
                return;
            }
        }
        // Before those of its priority asked already: it takes a fraction of their time.
        const auto first = std::find_if(m_queue.begin(), m_queue.end(),
                                        [priority](const Request &request) {
                                            return request.priority == priority;
                                        });
        m_queue.insert(first, { picture, QSizeF(), priority });
        startNext();
    }

    void prepareSmallest(const std::shared_ptr<HeldPicture> &picture)
    {
        askSmallest(picture, Priority::Soon);
    }

    void prepare(const std::shared_ptr<HeldPicture> &picture, QSizeF shown)
    {
        if (picture->isMade() || picture->m_refused)
            return;
        picture->m_wanted = m_keeping;
        if (servingCopy(*picture, halvingsFor(picture->pixels(), shown)))
            return;
        ask(picture, shown, Priority::Near);
    }

    // The smallest copy of a picture held whole, averaged on a thread of the store's (a camera
    // photo's takes a tenth of a second).
    void makeSmallestApart(const std::shared_ptr<HeldPicture> &picture)
    {
        const auto whole = picture->m_copies.find(0);
        const int halvings = smallestHalvings(picture->pixels());
        if (whole == picture->m_copies.end() || halvings <= 0 || hasSmallest(*picture))
            return;
        picture->m_makingSmallest = true;
        ++m_averaging;
        const QImage image = whole->second.image;
        const std::weak_ptr<HeldPicture> weak = picture;
        m_threads.start([this, image, halvings, weak] {
            QImage smallest = halvedFurther(image, halvings);
            QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [this, weak, halvings, smallest = std::move(smallest)] {
                        --m_averaging;
                        const std::shared_ptr<HeldPicture> picture = weak.lock();
                        if (!picture)
                            return;
                        picture->m_makingSmallest = false;
                        if (!hasSmallest(*picture))
                            picture->m_copies[halvings].image = smallest;
                        measured(*picture);
                    },
                    Qt::QueuedConnection);
        });
    }

    void holdAhead(int ms)
    {
        m_aheadHeldUntil = std::max(m_aheadHeldUntil, m_clock.elapsed() + ms);
    }

    void use(HeldPicture::Copy &copy)
    {
        copy.used = m_uses;
        copy.frame = m_frame;
    }
    void newFrame() { ++m_frame; }

    void beginKeeping()
    {
        ++m_keeping;
        m_keepingFromUse = m_uses;
    }
    void want(HeldPicture *picture) { picture->m_wanted = m_keeping; }
    static QList<int> halvingsOf(const HeldPicture &picture)
    {
        QList<int> halvings;
        for (const auto &copy : picture.m_copies)
            halvings << copy.first;
        return halvings;
    }
    void keepOnly()
    {
        for (auto held = m_held.begin(); held != m_held.end();) {
            const std::shared_ptr<HeldPicture> picture = held->second.lock();
            if (!picture) {
                held = m_held.erase(held);
                continue;
            }
            ++held;
            if (picture->m_wanted == m_keeping)
                continue;
            dropLarge(*picture, [this](const HeldPicture::Copy &copy) {
                return copy.used <= m_keepingFromUse;
            });
        }
    }

    QImage now(const std::shared_ptr<HeldPicture> &picture, QSizeF shown,
               const PictureReading::Waiting &waiting)
    {
        // No size asked: the whole picture, shown over no fewer pixels than it has.
        if (!shown.isValid() || shown.isEmpty())
            shown = QSizeF(PictureReading::kMaxPictureSide, PictureReading::kMaxPictureSide);
        if (picture->isMade())
            return picture->m_image;
        if (picture->m_refused)
            return QImage();
        if (picture->m_measured) {
            if (HeldPicture::Copy *serving =
                        servingCopy(*picture, halvingsFor(picture->pixels(), shown)))
                return serving->image;
        }
        // Made on this thread's behalf by a decoding process; the store keeps nothing of it.
        const std::shared_ptr<void> held = reading(picture);
        const Result result = decode(source(*picture), lessonShape(*picture), picture->m_measured,
                                     picture->m_probe, shown, false, waiting);
        if (result.measured)
            takeProbe(*picture, result.probe);
        // One that could not be decoded now (out of its time on a busy machine, say) is not
        // refused for it: it is asked again when next shown.
        return result.failed ? QImage() : result.image;
    }

    void ready(const std::shared_ptr<HeldPicture> &picture, QSizeF shown,
               const PictureReading::Waiting &waiting)
    {
        if (picture->isMade() || picture->m_refused)
            return;
        if (picture->m_measured) {
            if (HeldPicture::Copy *serving =
                        servingCopy(*picture, halvingsFor(picture->pixels(), shown))) {
                use(*serving);
                return;
            }
        }
        remember(picture);
        // Asked for already (an export asks for the pages it comes to next): it is waited for
        // first, sooner than anything else, rather than decoded twice.
        if (isAsked(*picture, shown)) {
            ask(picture, shown, Priority::Shown);
            while (isAsked(*picture, shown)) {
                if (waiting)
                    waiting();
                else
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                if (!isAsked(*picture, shown))
                    break;
                QThread::msleep(1);
            }
            if (picture->m_refused)
                return;
            if (HeldPicture::Copy *serving =
                        servingCopy(*picture, halvingsFor(picture->pixels(), shown))) {
                use(*serving);
                return;
            }
        }
        const std::shared_ptr<void> held = reading(picture);
        const Result result = decode(source(*picture), lessonShape(*picture), picture->m_measured,
                                     picture->m_probe, shown, !hasSmallest(*picture), waiting);
        if (result.measured)
            takeProbe(*picture, result.probe);
        if (!result.failed)
            takeCopies(*picture, result);
    }

    void measure(const QList<std::shared_ptr<HeldPicture>> &pictures, QObject *context,
                 std::function<void()> done)
    {
        auto left = std::make_shared<int>(0);
        auto finish = std::make_shared<std::function<void()>>(
                [guard = QPointer<QObject>(context), done = std::move(done)] {
                    if (guard)
                        done();
                });
        for (const std::shared_ptr<HeldPicture> &picture : pictures) {
            if (picture->isMade() || picture->m_refused
                || (picture->m_measured && hasSmallest(*picture)))
                continue;
            ++*left;
            m_measuring[picture->m_serial].push_back([left, finish] {
                if (--*left == 0)
                    (*finish)();
            });
            remember(picture);
            m_queue.push_back({ picture, QSizeF(), Priority::Ahead });
        }
        if (*left == 0)
            QMetaObject::invokeMethod(
                    QCoreApplication::instance(), [finish] { (*finish)(); }, Qt::QueuedConnection);
        startNext();
    }

    int pending() const { return int(m_queue.size()) + m_running + m_averaging; }
    int unservedCount() const { return int(m_unserved.size()); }

    qint64 heldBytes(bool largeOnly)
    {
        qint64 bytes = 0;
        for (auto held = m_held.begin(); held != m_held.end(); ++held) {
            const std::shared_ptr<HeldPicture> picture = held->second.lock();
            if (!picture)
                continue;
            const int smallest = smallestOf(*picture);
            for (const auto &copy : picture->m_copies) {
                if (!largeOnly || copy.first != smallest)
                    bytes += copy.second.image.sizeInBytes();
            }
        }
        return bytes;
    }

private:
    static PictureReading::Source source(const HeldPicture &picture)
    {
        return PictureReading::Source{ picture.m_file, picture.m_linkRoot };
    }
    // The size a lesson gives a picture of its own before it is measured.
    static QSize lessonShape(const HeldPicture &picture)
    {
        return picture.m_fromLesson && !picture.m_measured ? picture.m_given : QSize();
    }

    // The copy of picture that serves needed halvings: the one made for them, or a larger.
    static HeldPicture::Copy *servingCopy(HeldPicture &picture, int needed)
    {
        HeldPicture::Copy *serving = nullptr;
        for (auto &copy : picture.m_copies) {
            if (copy.first <= needed)
                serving = &copy.second; // the smallest of those that serve
        }
        return serving;
    }

    static int smallestOf(const HeldPicture &picture)
    {
        return picture.m_copies.empty() ? -1 : picture.m_copies.rbegin()->first;
    }
    static bool hasSmallest(const HeldPicture &picture)
    {
        return !picture.m_copies.empty()
                && picture.m_copies.rbegin()->first >= smallestHalvings(picture.pixels());
    }

    void watch(HeldPicture &picture, QGraphicsItem *item)
    {
        QObject *object = dynamic_cast<QObject *>(item);
        if (!object)
            return;
        for (const auto &showing : picture.m_showing) {
            if (showing.first == object)
                return;
        }
        picture.m_showing.erase(std::remove_if(picture.m_showing.begin(), picture.m_showing.end(),
                                               [](const auto &showing) { return !showing.first; }),
                                picture.m_showing.end());
        picture.m_showing.emplace_back(object, item);
    }

    void remember(const std::shared_ptr<HeldPicture> &picture)
    {
        auto &held = m_held[picture->m_serial];
        if (held.expired())
            held = picture;
    }

    void ask(const std::shared_ptr<HeldPicture> &picture, QSizeF shown, Priority priority)
    {
        const int needed = halvingsFor(picture->pixels(), shown);
        if (picture->m_asking >= 0 && picture->m_asking <= needed)
            return; // on its way
        // Its smallest alone is asked (a measure): the request on its way makes it, and its
        // picture is decoded once.
        if (!shown.isValid() && picture->m_makingSmallest)
            return;
        remember(picture);
        // A request asked again sooner goes before the others; the one it replaces is let be.
        for (Request &waiting : m_queue) {
            if (waiting.shown.isValid() && waiting.picture.lock() == picture) {
                waiting.shown = shown;
                waiting.priority = std::min(waiting.priority, priority);
                return;
            }
        }
        m_queue.push_back({ picture, shown, priority });
        startNext();
    }

    // A request that would make the copy for shown is waiting or on its way, and none is held.
    bool isAsked(const HeldPicture &picture, QSizeF shown) const
    {
        const int needed = halvingsFor(picture.pixels(), shown);
        for (const auto &copy : picture.m_copies) {
            if (copy.first <= needed)
                return false;
        }
        if (picture.m_asking >= 0 && picture.m_asking <= needed)
            return true;
        return std::any_of(m_queue.cbegin(), m_queue.cend(), [&picture](const Request &request) {
            const std::shared_ptr<HeldPicture> asked = request.picture.lock();
            return asked.get() == &picture && request.shown.isValid();
        });
    }

    // The next request, soonest first.
    bool takeNext(Request *next)
    {
        m_queue.erase(
                std::remove_if(m_queue.begin(), m_queue.end(),
                               [](const Request &request) { return request.picture.expired(); }),
                m_queue.end());
        // The soonest; of those as soon, the one asked first.
        const auto best = std::min_element(
                m_queue.begin(), m_queue.end(),
                [](const Request &a, const Request &b) { return a.priority < b.priority; });
        if (best == m_queue.end())
            return false;
        // Nothing but measures left: they wait while the teacher turns pages.
        const qint64 held = m_aheadHeldUntil - m_clock.elapsed();
        if (best->priority == Priority::Ahead && held > 0) {
            if (!m_aheadResume.isActive())
                m_aheadResume.start(int(held));
            return false;
        }
        *next = *best;
        m_queue.erase(best);
        return true;
    }

    // Requests at once: as many as decoding processes may run, and one more for each that has
    // run long (a picture that takes its whole time holds only its own place) or whose process
    // is stopped.
    int mayRun() const
    {
        const qint64 now = m_clock.elapsed();
        const int slow =
                int(std::count_if(m_started.cbegin(), m_started.cend(), [now](const auto &one) {
                    return now - one.second > PictureDecoders::kSlowMs;
                }));
        return PictureDecoders::mostAtOnce() + std::min(slow, PictureDecoders::kMostSlow)
                + PictureDecoders::instance().stoppedBusy();
    }

    void startNext()
    {
        while (m_running < mayRun()) {
            Request request;
            if (!takeNext(&request))
                return;
            const std::shared_ptr<HeldPicture> picture = request.picture.lock();
            const bool smallestOnly = !request.shown.isValid();
            if (smallestOnly && picture->m_measured && hasSmallest(*picture)) {
                measured(*picture);
                continue;
            }
            if (smallestOnly && picture->m_makingSmallest)
                continue; // the request on its way makes it
            int asking = -1;
            if (!smallestOnly) {
                const int needed = halvingsFor(picture->pixels(), request.shown);
                if (servingCopy(*picture, needed) && picture->m_measured)
                    continue; // came meanwhile
                picture->m_asking = asking = needed;
            }
            ++m_running;
            ++picture->m_inFlight;
            const quint64 number = ++m_requests;
            m_started[number] = m_clock.elapsed();
            if (!m_slowCheck.isActive())
                m_slowCheck.start();
            const PictureReading::Source from = source(*picture);
            const QSize shape = lessonShape(*picture);
            const bool known = picture->m_measured;
            const PictureReading::Probe probe = picture->m_probe;
            const bool makeSmallest = !hasSmallest(*picture);
            picture->m_makingSmallest = makeSmallest || smallestOnly;
            const QSizeF shown = request.shown;
            const quint64 serial = picture->m_serial;
            m_threads.start(
                    [this, from, shape, known, probe, shown, makeSmallest, serial, number, asking] {
                        Result result = decode(from, shape, known, probe, shown, makeSmallest, {});
                        QMetaObject::invokeMethod(
                                QCoreApplication::instance(),
                                [this, serial, number, asking, result = std::move(result)] {
                                    m_started.erase(number);
                                    handOver(serial, asking, result);
                                },
                                Qt::QueuedConnection);
                    });
        }
    }

    // On a decoding thread: the picture in from measured unless known (as probe), then the copy
    // for shown (invalid: the smallest alone), and its smallest too when makeSmallest. shape:
    // the size its lesson gives it, which may show it as stored (invalid: none).
    static Result decode(const PictureReading::Source &from, QSize shape, bool known,
                         const PictureReading::Probe &probe, QSizeF shown, bool makeSmallest,
                         const PictureReading::Waiting &waiting)
    {
        Result result;
        PictureReading::Probe probed = probe;
        if (!known) {
            probed = PictureReading::probe(from, waiting);
            if (PictureReading::shownAsStored(probed, shape))
                probed = PictureReading::asStored(probed);
            result.measured = true;
            result.probe = probed;
        }
        if (!probed.isTaken()) {
            result.failed = true;
            result.failure = probed;
            return result;
        }
        const int smallest = smallestHalvings(probed.taken);
        const int halvings = shown.isValid() ? halvingsFor(probed.taken, shown) : smallest;
        PictureReading::Picture read = PictureReading::readReduced(from, probed, halvings, waiting);
        if (read.image.isNull()) {
            result.failed = true;
            result.failure = read.probe.isTaken() ? PictureReading::Probe() : read.probe;
            if (result.failure.outcome == PictureReading::Outcome::Whole)
                result.failure.outcome = PictureReading::Outcome::Failed;
            return result;
        }
        result.halvings = halvings;
        result.image = std::move(read.image);
        if (makeSmallest && halvings < smallest) {
            result.smallestHalvings = smallest;
            result.smallest = halvedFurther(result.image, smallest - halvings);
        }
        return result;
    }

    // asking: the halvings the request was made for (as HeldPicture::m_asking), or -1.
    // The copies a decoding made, held from now on: those they serve better go, and room is made.
    void takeCopies(HeldPicture &picture, const Result &result)
    {
        picture.m_copies[result.halvings].image = result.image;
        use(picture.m_copies[result.halvings]);
        if (!result.smallest.isNull())
            picture.m_copies[result.smallestHalvings].image = result.smallest;
        dropServedByOthers(picture);
        makeRoom();
    }

    void handOver(quint64 serial, int asking, const Result &result)
    {
        --m_running;
        const auto found = m_held.find(serial);
        const std::shared_ptr<HeldPicture> picture =
                found != m_held.end() ? found->second.lock() : nullptr;
        if (picture) {
            // Only the request for the copy on its way ends its asking: ended by the picture's
            // measure coming meanwhile, the copy was asked again as the board painted, and
            // decoded twice at once.
            if (asking >= 0 && picture->m_asking == asking)
                picture->m_asking = -1;
            picture->m_makingSmallest = false;
            if (--picture->m_inFlight == 0)
                forgetReplaced(*picture);
            if (result.measured)
                takeProbe(*picture, result.probe);
            if (result.failed) {
                // A picture its measure took that then failed to be read (out of its time on a
                // busy machine, its file away for a moment) is asked again, a few times;
                // then nothing of it can be had: but for a copy it has already, it is refused.
                const bool measuredTaken = !result.measured || result.probe.isTaken();
                if (measuredTaken && ++picture->m_failures < HeldPictures::kMostTries) {
                    picture->m_retryAt = m_clock.elapsed()
                            + qint64(HeldPictures::kAgainMs) * (1 << picture->m_failures);
                    if (!picture->m_isUnserved)
                        unserved(picture, asking >= 0 ? picture->m_unserved : QSizeF());
                } else if (picture->m_copies.empty()) {
                    refuse(*picture, result.failure);
                    served(*picture);
                } else {
                    qWarning() << "HeldPictures: no copy of" << picture->m_name
                               << "at the size shown, its smallest stands in:"
                               << PictureReading::message(result.failure, picture->m_name);
                    served(*picture);
                }
            } else {
                picture->m_failures = 0;
                picture->m_retryAt = 0;
                takeCopies(*picture, result);
            }
            repaint(*picture);
            measured(*picture);
            emit HeldPictures::notifier()->came();
        }
        startNext();
    }

public:
    static std::shared_ptr<void> reading(const std::shared_ptr<HeldPicture> &picture)
    {
        ++picture->m_inFlight;
        const std::weak_ptr<HeldPicture> weak = picture;
        return std::shared_ptr<void>(nullptr, [weak](void *) {
            QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [weak] {
                        if (const std::shared_ptr<HeldPicture> picture = weak.lock())
                            doneReading(*picture);
                    },
                    Qt::QueuedConnection);
        });
    }
    static void doneReading(HeldPicture &picture)
    {
        if (--picture.m_inFlight == 0)
            forgetReplaced(picture);
    }
    static void forgetReplaced(HeldPicture &picture)
    {
        if (!picture.m_replaced.isEmpty())
            QFile::remove(picture.m_replaced);
        picture.m_replaced.clear();
    }

    void storeAsPng(const std::shared_ptr<HeldPicture> &picture)
    {
        if (picture->isMade() || picture->m_refused || !picture->m_measured || !picture->m_kept)
            return;
        const std::weak_ptr<HeldPicture> weak = picture;
        const PictureReading::Source from = source(*picture);
        const PictureReading::Probe probe = picture->m_probe;
        const QString png = keptName(++g_serials, QStringLiteral("png"));
        m_converting.start([from, probe, png, weak] {
            const PictureReading::Picture read = PictureReading::readReduced(from, probe, 0);
            // A light deflate: a document's pages are many.
            constexpr int kFastPngQuality = 80;
            const bool written =
                    !read.image.isNull() && read.image.save(png, "PNG", kFastPngQuality);
            QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [weak, png, written] {
                        const std::shared_ptr<HeldPicture> picture = weak.lock();
                        if (!picture || !written) {
                            QFile::remove(png);
                            return;
                        }
                        if (picture->m_inFlight > 0)
                            picture->m_replaced = picture->m_file;
                        else
                            QFile::remove(picture->m_file);
                        picture->m_file = png;
                        picture->m_suffix.clear();
                        picture->m_probe.format = "png";
                        picture->m_probe.decoderScales = false;
                    },
                    Qt::QueuedConnection);
        });
    }

private:
    void takeProbe(HeldPicture &picture, const PictureReading::Probe &probe)
    {
        ++g_epoch;
        picture.m_measured = true;
        picture.m_probe = probe;
        if (probe.outcome != PictureReading::Outcome::Whole || !probe.leftOut.isEmpty())
            picture.m_outcome = probe;
        if (!probe.isTaken())
            picture.m_refused = true;
    }

    void refuse(HeldPicture &picture, const PictureReading::Probe &why)
    {
        ++g_epoch;
        picture.m_refused = true;
        picture.m_outcome = why;
        picture.m_copies.clear();
    }

    void measured(HeldPicture &picture)
    {
        const auto waiting = m_measuring.find(picture.m_serial);
        if (waiting == m_measuring.end())
            return;
        if (!picture.m_refused && !hasSmallest(picture) && picture.m_asking >= 0)
            return; // its smallest copy comes with the one on its way
        if (!picture.m_refused && !hasSmallest(picture) && picture.m_isUnserved
            && picture.m_failures > 0)
            return; // it is asked again
        const std::vector<std::function<void()>> done = std::move(waiting->second);
        m_measuring.erase(waiting);
        for (const auto &one : done)
            one();
    }

    static void repaint(HeldPicture &picture)
    {
        for (const auto &showing : picture.m_showing) {
            if (!showing.first)
                continue;
            showing.second->update();
            emit HeldPictures::notifier()->drawAgain(showing.second);
        }
    }

    // picture is drawn at the size it is shown: nothing more is asked for it.
    void served(HeldPicture &picture)
    {
        if (!picture.m_isUnserved)
            return;
        picture.m_isUnserved = false;
        picture.m_failures = 0;
        picture.m_retryAt = 0;
        m_unserved.erase(picture.m_serial);
    }

    // picture is shown over shown (invalid: its smallest copy is wanted) before its copy came.
    void unserved(const std::shared_ptr<HeldPicture> &picture, QSizeF shown)
    {
        picture->m_unserved = shown;
        picture->m_unservedAt = m_clock.elapsed();
        picture->m_redrawn = 0;
        if (!picture->m_isUnserved) {
            picture->m_isUnserved = true;
            m_unserved[picture->m_serial] = picture;
        }
        if (!m_again.isActive())
            m_again.start();
    }

    // Whether a board shows picture now: one of its objects lies on a page a view shows.
    static bool onBoard(const HeldPicture &picture)
    {
        return std::any_of(picture.m_showing.cbegin(), picture.m_showing.cend(),
                           [](const auto &showing) {
                               const QGraphicsItem *item = showing.second;
                               return showing.first && item->isVisible() && item->scene()
                                       && !item->scene()->views().isEmpty();
                           });
    }

    // Whether a request that would bring picture's copy for needed halvings (-1: its smallest)
    // is waiting or on its way.
    bool isAsked(const HeldPicture &picture, int needed) const
    {
        if (needed >= 0 && picture.m_asking >= 0 && picture.m_asking <= needed)
            return true;
        if (needed < 0 && (picture.m_makingSmallest || picture.m_asking >= 0))
            return true;
        return std::any_of(m_queue.cbegin(), m_queue.cend(), [&picture](const Request &request) {
            const std::shared_ptr<HeldPicture> waiting = request.picture.lock();
            return waiting.get() == &picture;
        });
    }

    // What is shown without its copy is asked for again when nothing brings it; what came
    // without being drawn (the board busy, or showing a picture of itself) is drawn again.
    void askAgain()
    {
        const qint64 now = m_clock.elapsed();
        for (auto entry = m_unserved.begin(); entry != m_unserved.end();) {
            const std::shared_ptr<HeldPicture> picture = entry->second.lock();
            // Not drawn by a board for a while (a page's tile drawn once, a page left): it is
            // asked again when next drawn.
            const bool gone = !picture || picture->m_refused || !picture->m_isUnserved
                    || (!onBoard(*picture) && now - picture->m_unservedAt > kTileGraceMs);
            if (gone) {
                if (picture)
                    picture->m_isUnserved = false;
                entry = m_unserved.erase(entry);
                continue;
            }
            ++entry;
            if (picture->m_retryAt > now)
                continue;
            const QSizeF shown = picture->m_unserved;
            const int needed = shown.isValid() ? halvingsFor(picture->pixels(), shown) : -1;
            const bool held = needed >= 0 ? servingCopy(*picture, needed) != nullptr
                                          : hasSmallest(*picture);
            if (held) {
                // Drawn again a few times at most: an object the board no longer paints (out
                // of sight) never says it was drawn.
                if (picture->m_redrawn++ < kMostRedraws)
                    repaint(*picture);
                else
                    served(*picture);
                continue;
            }
            if (isAsked(*picture, needed))
                continue;
            if (needed >= 0) {
                ask(picture, shown, Priority::Shown);
            } else {
                remember(picture);
                m_queue.push_back({ picture, QSizeF(), Priority::Near });
                startNext();
            }
        }
        if (m_unserved.empty())
            m_again.stop();
    }

    // Copies between the smallest and a larger one that serves where they would are of no more
    // use.
    static void dropServedByOthers(HeldPicture &picture)
    {
        if (picture.m_copies.size() <= 2)
            return;
        const int finest = picture.m_copies.begin()->first;
        const int smallest = smallestOf(picture);
        for (auto copy = picture.m_copies.begin(); copy != picture.m_copies.end();) {
            const bool between = copy->first != finest && copy->first != smallest;
            copy = between ? picture.m_copies.erase(copy) : std::next(copy);
        }
    }

    template <typename Dropped> static void dropLarge(HeldPicture &picture, const Dropped &dropped)
    {
        const int smallest = smallestOf(picture);
        for (auto copy = picture.m_copies.begin(); copy != picture.m_copies.end();) {
            const bool drop = copy->first != smallest && dropped(copy->second);
            copy = drop ? picture.m_copies.erase(copy) : std::next(copy);
        }
    }

    // The copies beyond the budget go, those shown least recently first, never those shown
    // by the board's last painting, nor those asked for the pages beside it.
    void makeRoom()
    {
        qint64 held = heldBytes(true);
        while (held > HeldPictures::kBudgetBytes) {
            HeldPicture *oldestPicture = nullptr;
            int oldestHalvings = -1;
            quint64 oldest = std::numeric_limits<quint64>::max();
            for (auto &entry : m_held) {
                const std::shared_ptr<HeldPicture> picture = entry.second.lock();
                if (!picture || picture->m_wanted == m_keeping)
                    continue;
                const int smallest = smallestOf(*picture);
                for (auto &copy : picture->m_copies) {
                    if (copy.first != smallest && copy.second.frame != m_frame
                        && copy.second.used < oldest) {
                        oldest = copy.second.used;
                        oldestPicture = picture.get();
                        oldestHalvings = copy.first;
                    }
                }
            }
            if (!oldestPicture)
                return;
            held -= oldestPicture->m_copies[oldestHalvings].image.sizeInBytes();
            oldestPicture->m_copies.erase(oldestHalvings);
        }
    }

    // A picture drawn by no board is still asked again this long after it was last drawn
    // (a page's tile, drawn once when its picture comes).
    static constexpr qint64 kTileGraceMs = 3000;
    static constexpr int kMostRedraws = 3;
    QTimer m_again;
    std::map<quint64, std::weak_ptr<HeldPicture>> m_unserved;
    QThreadPool m_threads;
    int m_averaging = 0; // smallest copies being made (makeSmallestApart)
    QElapsedTimer m_clock;
    QTimer m_slowCheck;
    qint64 m_aheadHeldUntil = 0; // on m_clock: measures asked ahead wait until then
    QTimer m_aheadResume;
    quint64 m_requests = 0;
    std::map<quint64, qint64> m_started; // requests running, by when they began
    // Pictures written as PNG beside the board: one at a time, after what is shown.
    QThreadPool m_converting;
    std::deque<Request> m_queue;
    int m_running = 0;
    quint64 m_uses = 0;
    quint64 m_frame = 0;
    quint64 m_keeping = 0;
    quint64 m_keepingFromUse = 0;
    std::map<quint64, std::weak_ptr<HeldPicture>> m_held; // those with copies, or asked
    std::map<quint64, std::vector<std::function<void()>>> m_measuring;
};

namespace HeldPictures {

HeldPicturesNotifier *notifier()
{
    static auto *notifier = new HeldPicturesNotifier;
    return notifier;
}

void setKeptFolder(const QString &folder)
{
    QMutexLocker lock(&keptFolderMutex());
    keptFolderPath() = folder;
}

QString keptFolder()
{
    QMutexLocker lock(&keptFolderMutex());
    if (keptFolderPath().isEmpty()) {
        // Never destroyed while pictures may still need it: removed as the program ends.
        static QTemporaryDir *own = [] {
            auto *folder = new QTemporaryDir(QDir::tempPath()
                                             + QStringLiteral("/veltorina-pictures-XXXXXX"));
            qAddPostRoutine([] { delete own; });
            return folder;
        }();
        keptFolderPath() = own->path();
    }
    return keptFolderPath();
}

QString copyIn(const QString &file)
{
    const QString kept = keptName(++g_serials, QFileInfo(file).suffix().toLower());
    return copyFile(file, kept) ? kept : QString();
}

QString moveIn(const QString &file)
{
    const QString kept = keptName(++g_serials, QFileInfo(file).suffix().toLower());
    QFile::remove(kept);
    if (QFile::rename(file, kept))
        return kept;
    return copyFile(file, kept) && QFile::remove(file) ? kept : QString();
}

void storeAsPng(const std::shared_ptr<HeldPicture> &picture)
{
    HeldPicturesStore::instance().storeAsPng(picture);
}

std::shared_ptr<void> reading(const std::shared_ptr<HeldPicture> &picture)
{
    return HeldPicturesStore::reading(picture);
}

QImage forShowing(const std::shared_ptr<HeldPicture> &picture, QSizeF shown, QGraphicsItem *item)
{
    return HeldPicturesStore::instance().forShowing(picture, shown, item);
}

void makeSmallestApart(const std::shared_ptr<HeldPicture> &picture)
{
    HeldPicturesStore::instance().makeSmallestApart(picture);
}

void prepare(const std::shared_ptr<HeldPicture> &picture, QSizeF shown)
{
    HeldPicturesStore::instance().prepare(picture, shown);
}

void prepareSmallest(const std::shared_ptr<HeldPicture> &picture)
{
    HeldPicturesStore::instance().prepareSmallest(picture);
}

void newFrame()
{
    HeldPicturesStore::instance().newFrame();
}

void holdAhead(int ms)
{
    HeldPicturesStore::instance().holdAhead(ms);
}

void beginKeeping()
{
    HeldPicturesStore::instance().beginKeeping();
}

void want(HeldPicture *picture)
{
    HeldPicturesStore::instance().want(picture);
}

void keepOnly()
{
    HeldPicturesStore::instance().keepOnly();
}

QImage now(const std::shared_ptr<HeldPicture> &picture, QSizeF shown,
           const PictureReading::Waiting &waiting)
{
    return HeldPicturesStore::instance().now(picture, shown, waiting);
}

void ready(const std::shared_ptr<HeldPicture> &picture, QSizeF shown,
           const PictureReading::Waiting &waiting)
{
    HeldPicturesStore::instance().ready(picture, shown, waiting);
}

void measure(const QList<std::shared_ptr<HeldPicture>> &pictures, QObject *context,
             std::function<void()> done)
{
    HeldPicturesStore::instance().measure(pictures, context, std::move(done));
}

int pending()
{
    return HeldPicturesStore::instance().pending();
}

int unserved()
{
    return HeldPicturesStore::instance().unservedCount();
}

quint64 epoch()
{
    return g_epoch;
}

bool hasCopy(const HeldPicture &picture)
{
    return picture.isMade() || !HeldPicturesStore::halvingsOf(picture).isEmpty();
}

qint64 heldBytes()
{
    return HeldPicturesStore::instance().heldBytes(false);
}

qint64 heldLargeBytes()
{
    return HeldPicturesStore::instance().heldBytes(true);
}

QList<int> heldHalvings(const HeldPicture &picture)
{
    return HeldPicturesStore::halvingsOf(picture);
}

} // namespace HeldPictures
