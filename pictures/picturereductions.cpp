#include "picturereductions.h"

#include "board/dpage.h" // strokepictures.h keeps a guarded pointer to a page
#include "board/strokepictures.h"

#include <QCache>
#include <QCoreApplication>
#include <QGraphicsItem>
#include <QHash>
#include <QMutex>
#include <QPointer>
#include <QThreadPool>
#include <QVector>

#include <algorithm>
#include <cstdlib>

namespace {

// Some six screens of pictures made small. Only those made from this many pixels or more are
// kept, or made beside the board: a lesson's photo on a page costs less to average again (half
// a millisecond) than to keep, and the thumbnails of two hundred pages kept 48 MB of them; a
// camera's photo costs the board most of a frame.
constexpr qint64 kBudgetBytes = 48 * 1024 * 1024;
constexpr qint64 kCostlyPixels = 1024 * 1024;

using Key = QPair<qint64, quint64>;

Key keyOf(qint64 picture, QSize size)
{
    return Key(picture, (quint64(quint32(size.width())) << 32) | quint32(size.height()));
}

QImage averaged(const QImage &picture, QSize size)
{
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void stopAveraging();

class Store
{
public:
    Store()
    {
        // Made wherever first asked (a painting thread too); what comes is handed over on the
        // GUI thread.
        if (QCoreApplication::instance())
            receiver.moveToThread(QCoreApplication::instance()->thread());
        pool.setMaxThreadCount(StrokePictures::threads());
        // The threads stop while the toolkit they average with is whole.
        qAddPostRoutine(&stopAveraging);
    }
    ~Store() { pool.waitForDone(); }
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    QImage find(const Key &key)
    {
        QMutexLocker lock(&mutex);
        Reduced *reduced = kept.object(key);
        if (!reduced)
            return QImage();
        reduced->shownAt = scale;
        return reduced->image;
    }
    void keep(const Key &key, const QImage &image)
    {
        QMutexLocker lock(&mutex);
        const int kilobytes = int(image.sizeInBytes() / 1024) + 1;
        if (kilobytes <= kept.maxCost())
            kept.insert(key, new Reduced{ image, scale }, kilobytes);
    }
    // Of those kept of picture, the one of the width closest to size's.
    QImage closest(qint64 picture, QSize size)
    {
        QMutexLocker lock(&mutex);
        QImage found;
        const QList<Key> keys = kept.keys();
        for (const Key &key : keys) {
            if (key.first != picture)
                continue;
            const QImage &image = kept.object(key)->image;
            if (found.isNull()
                || std::abs(image.width() - size.width()) < std::abs(found.width() - size.width()))
                found = image;
        }
        return found;
    }
    void giveBackOtherScales()
    {
        QMutexLocker lock(&mutex);
        const QList<Key> keys = kept.keys();
        for (const Key &key : keys) {
            if (kept.object(key)->shownAt != scale)
                kept.remove(key);
        }
    }

    struct Reduced
    {
        QImage image;
        quint64 shownAt; // the board's scale it was last shown at
    };
    // Objects to repaint when what they wait for comes.
    struct Waiting
    {
        QPointer<QObject> object;
        QGraphicsItem *item;
    };

    QMutex mutex; // guards kept and scale
    QCache<Key, Reduced> kept{ int(kBudgetBytes / 1024) }; // costs in kilobytes
    quint64 scale = 0;
    QHash<Key, QVector<Waiting>> coming; // GUI thread only
    QObject receiver;
    QThreadPool pool;
};

Q_GLOBAL_STATIC(Store, g_store)

void stopAveraging()
{
    if (g_store.exists())
        g_store()->pool.waitForDone();
}

void handOver(const Key &key, const QImage &image)
{
    Store *store = g_store();
    store->keep(key, image);
    const QVector<Store::Waiting> waiting = store->coming.take(key);
    for (const Store::Waiting &object : waiting) {
        if (object.object)
            object.item->update();
    }
}

} // namespace

namespace PictureReductions {

QImage reduced(const QImage &picture, QSize size, bool keep)
{
    if (size == picture.size())
        return picture;
    const Key key = keyOf(picture.cacheKey(), size);
    QImage made = g_store()->find(key);
    if (!made.isNull())
        return made;
    made = averaged(picture, size);
    if (keep && costly(picture))
        g_store()->keep(key, made);
    return made;
}

QImage kept(const QImage &picture, QSize size)
{
    return g_store()->find(keyOf(picture.cacheKey(), size));
}

bool costly(const QImage &picture)
{
    return qint64(picture.width()) * picture.height() >= kCostlyPixels;
}

QImage reduceSoon(const QImage &picture, QSize size, QGraphicsItem *item)
{
    Store *store = g_store();
    const Key key = keyOf(picture.cacheKey(), size);
    const bool begun = store->coming.contains(key);
    QVector<Store::Waiting> &waiting = store->coming[key];
    auto *object = dynamic_cast<QObject *>(item);
    if (object
        && std::none_of(waiting.cbegin(), waiting.cend(),
                        [object](const Store::Waiting &one) { return one.object == object; }))
        waiting.append({ object, item });
    if (!begun) {
        store->pool.start([store, key, picture, size] {
            const QImage made = averaged(picture, size);
            QMetaObject::invokeMethod(
                    &store->receiver, [key, made] { handOver(key, made); }, Qt::QueuedConnection);
        });
    }
    return store->closest(picture.cacheKey(), size);
}

bool coming()
{
    return g_store.exists() && !g_store()->coming.isEmpty();
}

void newScaleShown()
{
    Store *store = g_store();
    QMutexLocker lock(&store->mutex);
    ++store->scale;
}

void giveBackOtherScales()
{
    g_store()->giveBackOtherScales();
}

} // namespace PictureReductions
