#include "strokepictures.h"

#include "dgpathitem.h"
#include "dpage.h"

#include <QGraphicsItem>
#include <QImage>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>
#include <vector>

struct StrokePictures::Work
{
    QList<QPointer<DGPathItem>> objects; // GUI thread only
    std::vector<DGPathItem::CacheRecipe> recipes;
    std::vector<QImage> pictures; // one per recipe, once drawn
    size_t next = 0; // the next recipe a thread takes
    size_t drawn = 0;
    bool cancelled = false;
    bool handedOver = false;
};

namespace {

// The pages' work in the order it is drawn, behind one lock: a picture takes a millisecond or
// two to draw, the lock a few instructions to pass.
struct Queue
{
    Queue() { pool.setMaxThreadCount(StrokePictures::threads()); }
    QObject receiver; // made on the GUI thread, where the pictures are handed over
    std::mutex mutex;
    std::condition_variable drawn;
    std::deque<std::shared_ptr<StrokePictures::Work>> works;
    int runners = 0;
    QThreadPool pool;
};

Q_GLOBAL_STATIC(Queue, g_queue)

// Takes the next recipe of the first work that has one left; false when none has.
bool takeNext(Queue &queue, std::shared_ptr<StrokePictures::Work> *work, size_t *index)
{
    for (const std::shared_ptr<StrokePictures::Work> &candidate : queue.works) {
        if (!candidate->cancelled && candidate->next < candidate->recipes.size()) {
            *work = candidate;
            *index = candidate->next++;
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
    std::vector<QImage> pictures;
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
            object->adoptCachePicture(pictures.at(n), recipes.at(n).generation);
    }
}

void drawInto(std::unique_lock<std::mutex> &lock, Queue &queue,
              const std::shared_ptr<StrokePictures::Work> &work, size_t index)
{
    lock.unlock();
    QImage picture = DGPathItem::drawCachePicture(work->recipes.at(index));
    lock.lock();
    work->pictures.at(index) = std::move(picture);
    ++work->drawn;
    queue.drawn.notify_all();
    if (work->drawn == work->recipes.size() && !work->cancelled
        && QThread::currentThread() != queue.receiver.thread()) {
        // The last picture of a page drawn ahead: handed over without waiting for the page
        // to be shown.
        QMetaObject::invokeMethod(
                &queue.receiver, [work]() { handOver(work); }, Qt::QueuedConnection);
    }
}

void runWorks()
{
    Queue &queue = *g_queue;
    std::unique_lock<std::mutex> lock(queue.mutex);
    std::shared_ptr<StrokePictures::Work> work;
    size_t index = 0;
    while (takeNext(queue, &work, &index))
        drawInto(lock, queue, work, index);
    --queue.runners;
}

// As many threads as there are pictures left to draw, up to the pool's size.
void startRunners(std::unique_lock<std::mutex> &lock, Queue &queue)
{
    size_t left = 0;
    for (const std::shared_ptr<StrokePictures::Work> &work : queue.works) {
        if (!work->cancelled)
            left += work->recipes.size() - work->next;
    }
    const int wanted = int(std::min<size_t>(left, size_t(StrokePictures::threads())));
    const int starting = std::max(0, wanted - queue.runners);
    queue.runners += starting;
    lock.unlock();
    for (int n = 0; n < starting; ++n)
        queue.pool.start(runWorks);
    lock.lock();
}

} // namespace

int StrokePictures::threads()
{
    return std::max(1, QThread::idealThreadCount());
}

StrokePictures::StrokePictures(DPage *page) : m_work(std::make_shared<Work>()), m_page(page)
{
    if (!page)
        return;
    m_revision = page->countedRevision();
    const QList<QGraphicsItem *> items = page->items();
    for (QGraphicsItem *item : items) {
        auto *object = dynamic_cast<DGPathItem *>(item);
        DGPathItem::CacheRecipe recipe;
        if (object && object->cacheRecipe(&recipe)) {
            m_work->recipes.push_back(std::move(recipe));
            m_work->objects << object;
        }
    }
    m_count = int(m_work->recipes.size());
    if (m_work->recipes.empty())
        return;
    m_work->pictures.resize(m_work->recipes.size());
    Queue &queue = *g_queue;
    std::unique_lock<std::mutex> lock(queue.mutex);
    queue.works.push_back(m_work);
    startRunners(lock, queue);
}

StrokePictures::~StrokePictures()
{
    if (m_count == 0)
        return;
    Queue &queue = *g_queue;
    const std::lock_guard<std::mutex> lock(queue.mutex);
    m_work->cancelled = true;
    queue.works.erase(std::remove(queue.works.begin(), queue.works.end(), m_work),
                      queue.works.end());
}

bool StrokePictures::isCurrent()
{
    return m_page && m_page->contentRevision() == m_revision;
}

void StrokePictures::finish()
{
    if (m_count == 0 || m_work->handedOver)
        return;
    Queue &queue = *g_queue;
    {
        std::unique_lock<std::mutex> lock(queue.mutex);
        queue.works.erase(std::remove(queue.works.begin(), queue.works.end(), m_work),
                          queue.works.end());
        queue.works.push_front(m_work);
        startRunners(lock, queue);
        while (!m_work->cancelled && m_work->next < m_work->recipes.size())
            drawInto(lock, queue, m_work, m_work->next++);
        // What other threads took is a picture each, a few milliseconds at most.
        while (m_work->drawn < m_work->next)
            queue.drawn.wait_for(lock, std::chrono::milliseconds(50));
    }
    handOver(m_work);
}
