#include "strokepictures.h"

#include "dgpathitem.h"
#include "dpage.h"

#include "shell/cores.h"

#include <QCoreApplication>
#include <QGraphicsItem>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QThread>
#include <QThreadPool>

#ifdef Q_OS_LINUX
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace {
// Who began a picture: nobody, a thread of normal priority (the GUI thread, or one that draws
// the page shown), or one that draws ahead at low priority.
enum Taker : char { NotTaken, TakenNow, TakenAhead };
// The nice value of the threads that draw ahead: a tenth of a core shared with a thread of
// normal priority.
constexpr int kAheadNice = 10;
} // namespace

struct StrokePictures::Work
{
    QList<QPointer<DGPathItem>> objects; // GUI thread only
    QHash<const DGPathItem *, int> recipeOf; // GUI thread only
    std::vector<DGPathItem::CacheRecipe> recipes;
    std::vector<TiledPicture> pictures; // one per recipe, once drawn
    std::vector<char> taken; // per recipe: the Taker that began it
    std::vector<char> done; // per recipe: drawn
    size_t next = 0; // every recipe before it is taken
    size_t drawn = 0;
    // The page is shown, or about to be: its pictures are drawn at normal priority, by the
    // GUI thread too; otherwise they are drawn ahead, at low priority.
    bool shown = false;
    const DPage *page = nullptr; // compared only
    bool cancelled = false;
    bool handedOver = false;
    // Each picture goes to its object as soon as it is drawn, the picture it replaces given back
    // then: the board's new screen costs no second set of pictures meanwhile.
    bool handEachOver = false;
    std::function<void()> whenHandedOver; // GUI thread only

    // Takes the first recipe nobody has begun; false when there is none.
    bool takeFirstLeft(size_t *index, Taker taker)
    {
        while (next < recipes.size() && taken[next])
            ++next;
        if (next == recipes.size())
            return false;
        taken[next] = taker;
        *index = next++;
        return true;
    }
};

namespace {

// A picture of every kind the threads draw, drawn here: what the toolkit makes on first use
// for drawing (the pen a painter begins with, the raster engine's, a gradient's colours) is
// then made before the queue, and torn down after it at the program's end.
void drawEveryKind()
{
    QPainterPath stroke(QPointF(0, 0));
    for (int n = 1; n <= 200; ++n) // long: drawn in pieces
        stroke.lineTo(n, n % 2 * 4);
    QPainterPath shape;
    shape.addEllipse(0, 0, 16, 16);
    const QPainterPath dot(QPointF(8, 8));
    QLinearGradient linear(0, 0, 16, 16);
    QRadialGradient radial(8, 8, 8);
    QConicalGradient conical(8, 8, 0);
    for (QGradient *gradient : std::initializer_list<QGradient *>{ &linear, &radial, &conical }) {
        gradient->setColorAt(0, Qt::red);
        gradient->setColorAt(1, Qt::blue);
    }
    const QPen solid(Qt::black, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QPen dashed(QBrush(linear), 2, Qt::DashLine);
    const QPen shaded(QBrush(conical), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const struct
    {
        const QPainterPath &path;
        const QPen &pen;
        QBrush brush;
        QRect area;
    } kinds[] = { { stroke, solid, Qt::NoBrush, QRect(-4, -4, 208, 16) },
                  { shape, dashed, QBrush(radial), QRect(-2, -2, 20, 20) },
                  { dot, shaded, Qt::NoBrush, QRect(0, 0, 16, 16) } };
    for (const auto &kind : kinds) {
        DGPathItem::CacheRecipe recipe;
        recipe.path = kind.path;
        recipe.pen = recipe.shapePen = kind.pen;
        recipe.brush = recipe.shapeBrush = kind.brush;
        recipe.fit.pixels = kind.area;
        DGPathItem::drawCachePicture(recipe);
    }
}

// The pages' work in the order it is drawn, behind one lock: a picture takes a millisecond or
// two to draw, the lock a few instructions to pass. The page shown is drawn by threads of
// normal priority; the pages near it by threads of low priority, which take little of a core
// something else wants: on a machine of two, the board's thread has one and the threads that
// show its frames (the display server's, the compositor's) the other while the teacher works.
struct Queue
{
    Queue()
    {
        // The program may end by exit() while the threads draw, the application alive: the
        // queue stops them as it is torn down, before what they draw with is.
        drawEveryKind();
        pool.setMaxThreadCount(StrokePictures::threads());
        ahead.setMaxThreadCount(StrokePictures::threads());
        // The threads stop at the application's end, while the toolkit they draw with is
        // whole. Left to the program's end, they drew on while its statics were torn down.
        qAddPostRoutine(&StrokePictures::stopAll);
    }
    // At the program's end without the application's (exit() called while it runs): nothing is
    // begun any more.
    ~Queue() { stop(); }
    Queue(const Queue &) = delete;
    Queue &operator=(const Queue &) = delete;

    // Pictures not begun are dropped; those being drawn are waited for.
    void stop()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex);
            for (const std::shared_ptr<StrokePictures::Work> &work : works)
                work->cancelled = true;
            works.clear();
        }
        pool.waitForDone();
        ahead.waitForDone();
    }

    QObject receiver; // made on the GUI thread, where the pictures are handed over
    std::mutex mutex;
    std::condition_variable drawn;
    std::deque<std::shared_ptr<StrokePictures::Work>> works;
    int runners = 0; // drawing the pages shown
    int aheadRunners = 0;
    QThreadPool pool;
    QThreadPool ahead;
    // The pictures handed over as the board paints their objects (GUI thread only).
    std::weak_ptr<StrokePictures::Work> shown;
};

Q_GLOBAL_STATIC(Queue, g_queue)

// Takes the next recipe of the first work shown (or not shown, ahead) that has one left; false
// when none has.
bool takeNext(Queue &queue, Taker taker, std::shared_ptr<StrokePictures::Work> *work, size_t *index)
{
    // Nothing is begun ahead while the page shown has pictures left to draw: low priority or
    // not, on two cores the threads that draw ahead took a third of them from the page the
    // teacher waits for.
    if (taker == TakenAhead
        && std::any_of(queue.works.cbegin(), queue.works.cend(),
                       [](const std::shared_ptr<StrokePictures::Work> &candidate) {
                           return candidate->shown && !candidate->cancelled
                                   && candidate->drawn < candidate->recipes.size();
                       }))
        return false;
    for (const std::shared_ptr<StrokePictures::Work> &candidate : queue.works) {
        if (!candidate->cancelled && candidate->shown == (taker == TakenNow)
            && candidate->takeFirstLeft(index, taker)) {
            *work = candidate;
            return true;
        }
    }
    return false;
}

// GUI thread: each object still as it was copied gets its picture.
void handOver(const std::shared_ptr<StrokePictures::Work> &work)
{
    Queue &queue = *g_queue;
    std::vector<DGPathItem::CacheRecipe> recipes;
    std::vector<TiledPicture> pictures;
    {
        const std::lock_guard<std::mutex> lock(queue.mutex);
        if (work->handedOver || work->cancelled)
            return;
        work->handedOver = true;
        queue.works.erase(std::remove(queue.works.begin(), queue.works.end(), work),
                          queue.works.end());
        // The objects keep the pictures; the work keeps nothing.
        recipes.swap(work->recipes);
        pictures.swap(work->pictures);
    }
    const QList<QPointer<DGPathItem>> objects = std::exchange(work->objects, {});
    for (size_t n = 0; n < recipes.size(); ++n) {
        if (DGPathItem *object = objects.value(int(n)))
            object->adoptCachePicture(std::move(pictures[n]), recipes.at(n).generation,
                                      recipes.at(n).fit);
    }
    if (const std::function<void()> done = std::exchange(work->whenHandedOver, {}))
        done();
}

// GUI thread: the picture at index goes to its object, unless all went together already.
void handOneOver(const std::shared_ptr<StrokePictures::Work> &work, size_t index)
{
    TiledPicture picture;
    {
        const std::lock_guard<std::mutex> lock(g_queue->mutex);
        if (work->handedOver || work->cancelled)
            return;
        picture = std::move(work->pictures.at(index));
    }
    if (DGPathItem *object = work->objects.value(int(index)))
        object->adoptCachePicture(std::move(picture), work->recipes.at(index).generation,
                                  work->recipes.at(index).fit);
}

void startRunners(std::unique_lock<std::mutex> &lock, Queue &queue);

void drawInto(std::unique_lock<std::mutex> &lock, Queue &queue,
              const std::shared_ptr<StrokePictures::Work> &work, size_t index)
{
    // The thread's own reference: a page shown may be handed over without waiting for what
    // was begun ahead.
    const DGPathItem::CacheRecipe recipe = work->recipes.at(index);
    lock.unlock();
    TiledPicture picture = DGPathItem::drawCachePicture(recipe);
    lock.lock();
    if (work->handedOver)
        return;
    work->pictures.at(index) = std::move(picture);
    work->done.at(index) = 1;
    ++work->drawn;
    queue.drawn.notify_all();
    if (work->handEachOver && QThread::currentThread() != queue.receiver.thread())
        QMetaObject::invokeMethod(
                &queue.receiver, [work, index]() { handOneOver(work, index); },
                Qt::QueuedConnection);
    if (work->drawn == work->recipes.size() && !work->cancelled
        && QThread::currentThread() != queue.receiver.thread()) {
        // The last picture of a page drawn ahead: handed over without waiting for the page
        // to be shown.
        QMetaObject::invokeMethod(
                &queue.receiver, [work]() { handOver(work); }, Qt::QueuedConnection);
    }
    // The page shown is drawn: the pages near it go on.
    if (work->shown && work->drawn == work->recipes.size())
        startRunners(lock, queue);
}

// The calling thread yields its core to any thread of normal priority that wants it, taking
// a tenth of it then. Not the idle class: on a machine kept busy the pictures drawn ahead would
// not come at all.
void lowerPriority()
{
    thread_local bool lowered = false;
    if (lowered)
        return;
    lowered = true;
#ifdef Q_OS_LINUX
    // The nice value of one thread (Linux keeps one per thread).
    setpriority(PRIO_PROCESS, id_t(gettid()), kAheadNice);
#else
    QThread::currentThread()->setPriority(QThread::LowestPriority);
#endif
}

void runWorks(Taker taker)
{
    Queue &queue = *g_queue;
    if (taker == TakenAhead)
        lowerPriority();
    std::unique_lock<std::mutex> lock(queue.mutex);
    std::shared_ptr<StrokePictures::Work> work;
    size_t index = 0;
    while (takeNext(queue, taker, &work, &index))
        drawInto(lock, queue, work, index);
    --(taker == TakenAhead ? queue.aheadRunners : queue.runners);
}

// As many threads as there are pictures left to draw, shown and ahead, up to each pool's size.
void startRunners(std::unique_lock<std::mutex> &lock, Queue &queue)
{
    size_t left = 0;
    size_t leftAhead = 0;
    for (const std::shared_ptr<StrokePictures::Work> &work : queue.works) {
        if (!work->cancelled)
            (work->shown ? left : leftAhead) +=
                    work->recipes.size() - std::min(work->next, work->recipes.size());
    }
    const auto starting = [](size_t pictures, int *runners) {
        const int wanted = int(std::min<size_t>(pictures, size_t(StrokePictures::threads())));
        const int count = std::max(0, wanted - *runners);
        *runners += count;
        return count;
    };
    const int now = starting(left, &queue.runners);
    const int ahead = starting(leftAhead, &queue.aheadRunners);
    lock.unlock();
    for (int n = 0; n < now; ++n)
        queue.pool.start([] { runWorks(TakenNow); });
    for (int n = 0; n < ahead; ++n)
        queue.ahead.start([] { runWorks(TakenAhead); });
    lock.lock();
}

// Puts work first, to be drawn at normal priority; any other page shown before goes on ahead.
// The pictures the board wants now of the page shown join those of the page, which stay shown:
// demoted, they would be drawn by the board itself as it paints, each once more.
void putFirst(Queue &queue, const std::shared_ptr<StrokePictures::Work> &work)
{
    queue.works.erase(std::remove(queue.works.begin(), queue.works.end(), work), queue.works.end());
    for (const std::shared_ptr<StrokePictures::Work> &other : queue.works) {
        if (other->page != work->page)
            other->shown = false;
    }
    work->shown = true;
    queue.works.push_front(work);
}

} // namespace

void StrokePictures::stopAll()
{
    if (g_queue.exists())
        g_queue->stop();
}

int StrokePictures::threads()
{
    // The GUI thread draws too, when it waits for a page's pictures: one core is left for it.
    return std::max(1, Cores::usable() - 1);
}

namespace {

// The pictures page's objects lack, in the order the board paints them, so that the first it
// paints are the first drawn.
std::vector<StrokePictures::Wanted> picturesLacking(DPage *page)
{
    std::vector<StrokePictures::Wanted> lacking;
    if (!page)
        return lacking;
    const QList<QGraphicsItem *> items = page->items(Qt::AscendingOrder);
    for (QGraphicsItem *item : items) {
        StrokePictures::Wanted wanted{ dynamic_cast<DGPathItem *>(item), {} };
        if (wanted.object && wanted.object->cacheRecipe(&wanted.recipe))
            lacking.push_back(std::move(wanted));
    }
    return lacking;
}

} // namespace

StrokePictures::StrokePictures(DPage *page) : StrokePictures(page, picturesLacking(page))
{
    if (m_count == 0)
        return;
    Queue &queue = *g_queue;
    std::unique_lock<std::mutex> lock(queue.mutex);
    queue.works.push_back(m_work);
    startRunners(lock, queue);
}

StrokePictures::StrokePictures(DPage *page, const std::vector<Wanted> &wanted)
    : m_work(std::make_shared<Work>()), m_page(page)
{
    if (!page)
        return;
    m_work->page = page;
    m_revision = page->countedRevision();
    for (const Wanted &one : wanted) {
        m_work->recipeOf.insert(one.object, int(m_work->recipes.size()));
        m_work->recipes.push_back(one.recipe);
        m_work->objects << one.object;
    }
    m_count = int(m_work->recipes.size());
    if (m_work->recipes.empty())
        return;
    m_work->pictures.resize(m_work->recipes.size());
    m_work->taken.resize(m_work->recipes.size(), 0);
    m_work->done.resize(m_work->recipes.size(), 0);
    // Begun ahead by the page's own constructor, or by finish() or drawFirst().
}

StrokePictures::~StrokePictures()
{
    // Gone at the program's end, the queue's threads are stopped already.
    if (m_count == 0 || !g_queue.exists())
        return;
    Queue &queue = *g_queue;
    std::vector<PictureFit> fits;
    {
        std::unique_lock<std::mutex> lock(queue.mutex);
        m_work->cancelled = true;
        queue.works.erase(std::remove(queue.works.begin(), queue.works.end(), m_work),
                          queue.works.end());
        if (!m_work->handedOver) {
            for (const DGPathItem::CacheRecipe &recipe : m_work->recipes)
                fits.push_back(recipe.fit);
        }
        // The pages drawn ahead waited for this one.
        if (m_work->shown)
            startRunners(lock, queue);
    }
    // The objects waiting for these pictures wait no more: the board asks again.
    for (size_t n = 0; n < fits.size(); ++n) {
        if (DGPathItem *object = m_work->objects.value(int(n)))
            object->forgetPicture(fits[n]);
    }
}

bool StrokePictures::isCurrent()
{
    return m_page && m_page->contentRevision() == m_revision;
}

bool StrokePictures::isHandedOver() const
{
    return m_count == 0 || m_work->handedOver;
}

void StrokePictures::drawFirst(std::function<void()> whenHandedOver)
{
    if (m_count == 0 || m_work->handedOver)
        return;
    m_work->whenHandedOver = std::move(whenHandedOver);
    m_work->handEachOver = true;
    Queue &queue = *g_queue;
    std::unique_lock<std::mutex> lock(queue.mutex);
    putFirst(queue, m_work);
    startRunners(lock, queue);
}

bool StrokePictures::isShowing(const DGPathItem *object, PictureFit *fit)
{
    if (!g_queue.exists())
        return false;
    const std::shared_ptr<Work> work = g_queue->shown.lock();
    if (!work || work->handedOver || work->cancelled)
        return false;
    const auto found = work->recipeOf.constFind(object);
    if (found == work->recipeOf.cend() || work->objects.value(found.value()) != object)
        return false;
    // The recipes change only on this thread, as they are handed over.
    if (fit)
        *fit = work->recipes.at(size_t(found.value())).fit;
    return true;
}

void StrokePictures::showFirst()
{
    if (m_count == 0 || m_work->handedOver)
        return;
    Queue &queue = *g_queue;
    queue.shown = m_work;
    std::unique_lock<std::mutex> lock(queue.mutex);
    putFirst(queue, m_work);
    startRunners(lock, queue);
}

bool StrokePictures::deliver(DGPathItem *object)
{
    if (!g_queue.exists())
        return false;
    Queue &queue = *g_queue;
    const std::shared_ptr<Work> work = queue.shown.lock();
    if (!work)
        return false;
    const auto found = work->recipeOf.constFind(object);
    if (found == work->recipeOf.cend())
        return false;
    const size_t index = size_t(found.value());
    // Not another object that came to live where the copied one was.
    if (work->objects.value(int(index)) != object)
        return false;
    TiledPicture picture;
    quint64 generation = 0;
    PictureFit fit;
    bool last = false;
    {
        std::unique_lock<std::mutex> lock(queue.mutex);
        if (work->cancelled || work->handedOver)
            return false;
        if (!work->taken.at(index)) {
            work->taken[index] = TakenNow;
            drawInto(lock, queue, work, index);
        }
        // One begun ahead may wait for a core as long as this thread keeps it: the board draws
        // that object's picture itself.
        if (!work->done.at(index) && work->taken.at(index) == TakenAhead)
            return false;
        // Another thread's picture is a few milliseconds at most; meanwhile this thread draws
        // the next one nobody has begun, as the board paints it soon after.
        while (!work->done.at(index)) {
            size_t next = 0;
            if (work->takeFirstLeft(&next, TakenNow))
                drawInto(lock, queue, work, next);
            else
                queue.drawn.wait_for(lock, std::chrono::milliseconds(50));
        }
        picture = std::move(work->pictures[index]);
        generation = work->recipes.at(index).generation;
        fit = work->recipes.at(index).fit;
        last = work->drawn == work->recipes.size();
    }
    object->adoptCachePicture(std::move(picture), generation, fit);
    // The last picture drawn on this thread: nobody else hands the rest over.
    if (last)
        handOver(work);
    return true;
}

void StrokePictures::finish()
{
    if (m_count == 0 || m_work->handedOver)
        return;
    Queue &queue = *g_queue;
    QList<QPointer<DGPathItem>> unfinished;
    {
        std::unique_lock<std::mutex> lock(queue.mutex);
        putFirst(queue, m_work);
        startRunners(lock, queue);
        size_t index = 0;
        while (!m_work->cancelled && m_work->takeFirstLeft(&index, TakenNow))
            drawInto(lock, queue, m_work, index);
        // What other threads of normal priority took is a picture each, a few milliseconds at
        // most. One begun ahead may wait for a core as long as this thread keeps it: this
        // thread draws its own.
        const auto pending = [this] {
            for (size_t n = 0; n < m_work->recipes.size(); ++n) {
                if (m_work->taken[n] == TakenNow && !m_work->done[n])
                    return true;
            }
            return false;
        };
        while (pending())
            queue.drawn.wait_for(lock, std::chrono::milliseconds(50));
        for (size_t n = 0; n < m_work->recipes.size(); ++n) {
            if (m_work->taken[n] == TakenAhead && !m_work->done[n])
                unfinished << m_work->objects.value(int(n));
        }
    }
    handOver(m_work);
    for (const QPointer<DGPathItem> &object : qAsConst(unfinished)) {
        DGPathItem::CacheRecipe recipe;
        if (object && object->cacheRecipe(&recipe))
            object->adoptCachePicture(DGPathItem::drawCachePicture(recipe), recipe.generation,
                                      recipe.fit);
    }
}
