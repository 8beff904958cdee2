#include "picturereductions.h"

#include <QCache>
#include <QHash>
#include <QMap>
#include <QMutex>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// Some six screens of pictures made small. Only those made from this many pixels or more are
// kept, or shown on the board from halvings made beside it: a lesson's photo on a page costs
// less to average again (half a millisecond) than to keep, and the thumbnails of two hundred
// pages kept 48 MB of them; a camera's photo costs the board most of a frame.
constexpr qint64 kBudgetBytes = 48 * 1024 * 1024;
constexpr qint64 kCostlyPixels = 1024 * 1024;
// Halvings the board does not show at its scale are kept up to this many bytes, for a zoom back
// before the board keeps still. Those it shows are never given back for room: made again at
// once, eight photos' copies that did not fit together were averaged over and over for a
// minute and more.
constexpr qint64 kSpareHalvingBytes = 64 * 1024 * 1024;

using Key = QPair<qint64, quint64>;

Key keyOf(qint64 picture, QSize size)
{
    return Key(picture, (quint64(quint32(size.width())) << 32) | quint32(size.height()));
}

QImage averaged(const QImage &picture, QSize size)
{
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// picture in the form halvings are averaged in: four channels of 8 bits, alpha premultiplied.
QImage averagedForm(const QImage &picture)
{
    if (picture.format() == QImage::Format_RGB32
        || picture.format() == QImage::Format_ARGB32_Premultiplied)
        return picture;
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32);
}

// picture (in the averaged form) halved once.
QImage halvedOnce(const QImage &picture)
{
    const QSize half = PictureReductions::halvedSize(picture.size(), 1);
    // An odd side leaves its last pixel half a square: averaged by what each pixel covers.
    if (picture.width() % 2 != 0 || picture.height() % 2 != 0)
        return averaged(picture, half);
    QImage made(half, picture.format());
    PictureReductions::halveInto(picture, &made);
    return made;
}

class Store
{
public:
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

    // picture halved count times, if kept, then shown at the scale shown; else, where from is
    // given, the nearest finer one kept (its count in fromCount) or nothing.
    QImage findHalving(qint64 picture, int count, QImage *from = nullptr, int *fromCount = nullptr)
    {
        QMutexLocker lock(&mutex);
        const auto byCount = halvings.find(picture);
        if (byCount == halvings.end())
            return QImage();
        const auto exact = byCount->find(count);
        if (exact != byCount->end()) {
            exact->shownAt = scale;
            return exact->image;
        }
        for (auto one = byCount->cbegin(); one != byCount->cend() && one.key() < count; ++one) {
            if (from)
                *from = one->image;
            if (fromCount)
                *fromCount = one.key();
        }
        return QImage();
    }
    // Of those kept of picture, the halving nearest to count halvings (null: none is nearer than
    // picture itself).
    QImage nearestHalving(qint64 picture, int count)
    {
        QMutexLocker lock(&mutex);
        QImage nearest;
        int nearestDistance = count; // picture itself, halved none
        const QMap<int, Halving> byCount = halvings.value(picture);
        for (auto one = byCount.cbegin(); one != byCount.cend(); ++one) {
            const int distance = std::abs(one.key() - count);
            // Of two as near, the coarser: a picture made sharper as it comes looks refined,
            // one made softer looks worse.
            if (distance < nearestDistance || (distance == nearestDistance && one.key() > count)) {
                nearestDistance = distance;
                nearest = one->image;
            }
        }
        return nearest;
    }
    // Keeps image as picture halved count times, unless one is kept already (made beside this
    // one on another thread): the one kept.
    QImage keepHalving(qint64 picture, int count, const QImage &image)
    {
        QMutexLocker lock(&mutex);
        QMap<int, Halving> &byCount = halvings[picture];
        const auto kept = byCount.constFind(count);
        if (kept != byCount.cend())
            return kept->image;
        byCount.insert(count, Halving{ image, scale });
        // Room is made among those not shown at the scale the board shows, longest unseen first.
        for (;;) {
            qint64 spareBytes = 0;
            qint64 oldestPicture = 0;
            int oldestCount = -1;
            quint64 oldest = std::numeric_limits<quint64>::max();
            for (auto one = halvings.cbegin(); one != halvings.cend(); ++one) {
                for (auto halving = one->cbegin(); halving != one->cend(); ++halving) {
                    if (halving->shownAt == scale)
                        continue;
                    spareBytes += halving->image.sizeInBytes();
                    if (halving->shownAt < oldest) {
                        oldest = halving->shownAt;
                        oldestPicture = one.key();
                        oldestCount = halving.key();
                    }
                }
            }
            if (spareBytes <= kSpareHalvingBytes || oldestCount < 0)
                return image;
            dropHalving(oldestPicture, oldestCount);
        }
    }
    QVector<int> keptHalvings(qint64 picture)
    {
        QMutexLocker lock(&mutex);
        return halvings.value(picture).keys().toVector();
    }
    void giveBackOtherScales()
    {
        QMutexLocker lock(&mutex);
        const QList<Key> keys = kept.keys();
        for (const Key &key : keys) {
            if (kept.object(key)->shownAt != scale)
                kept.remove(key);
        }
        for (auto byCount = halvings.begin(); byCount != halvings.end();) {
            for (auto one = byCount->begin(); one != byCount->end();)
                one = one->shownAt == scale ? std::next(one) : byCount->erase(one);
            byCount = byCount->isEmpty() ? halvings.erase(byCount) : std::next(byCount);
        }
    }

    struct Reduced
    {
        QImage image;
        quint64 shownAt; // the board's scale it was last shown at
    };
    struct Halving
    {
        QImage image;
        quint64 shownAt;
    };
    QMutex mutex; // guards kept, halvings and scale
    QCache<Key, Reduced> kept{ int(kBudgetBytes / 1024) }; // costs in kilobytes
    QHash<qint64, QMap<int, Halving>> halvings; // by picture, then by count
    quint64 scale = 0;

private:
    void dropHalving(qint64 picture, int count)
    {
        const auto byCount = halvings.find(picture);
        byCount->remove(count);
        if (byCount->isEmpty())
            halvings.erase(byCount);
    }
};

Q_GLOBAL_STATIC(Store, g_store)

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

bool costly(const QImage &picture)
{
    return qint64(picture.width()) * picture.height() >= kCostlyPixels;
}

int halvingsFor(QSize pixels, QSize shown)
{
    int count = 0;
    QSize size = pixels;
    for (;;) {
        const QSize half = halvedSize(size, 1);
        if (half == size || half.width() < shown.width() || half.height() < shown.height())
            return count;
        size = half;
        ++count;
    }
}

QSize halvedSize(QSize pixels, int halvings)
{
    for (int n = 0; n < halvings; ++n)
        pixels = QSize((pixels.width() + 1) / 2, (pixels.height() + 1) / 2);
    return pixels;
}

void halveInto(const QImage &from, QImage *into)
{
    const int width = into->width();
    const int height = into->height();
    for (int y = 0; y < height; ++y) {
        const auto *upper = reinterpret_cast<const quint32 *>(from.constScanLine(2 * y));
        const auto *lower = reinterpret_cast<const quint32 *>(from.constScanLine(2 * y + 1));
        auto *line = reinterpret_cast<quint32 *>(into->scanLine(y));
        for (int x = 0; x < width; ++x) {
            const quint32 a = upper[2 * x];
            const quint32 b = upper[2 * x + 1];
            const quint32 c = lower[2 * x];
            const quint32 d = lower[2 * x + 1];
            // Two channels at once, each in 16 bits: four of them never carry into the next.
            const quint32 redBlue = (a & 0x00ff00ffu) + (b & 0x00ff00ffu) + (c & 0x00ff00ffu)
                    + (d & 0x00ff00ffu) + 0x00020002u;
            const quint32 alphaGreen = ((a >> 8) & 0x00ff00ffu) + ((b >> 8) & 0x00ff00ffu)
                    + ((c >> 8) & 0x00ff00ffu) + ((d >> 8) & 0x00ff00ffu) + 0x00020002u;
            line[x] = ((redBlue >> 2) & 0x00ff00ffu) | (((alphaGreen >> 2) & 0x00ff00ffu) << 8);
        }
    }
}

QImage halved(const QImage &picture, int halvings)
{
    if (halvings <= 0 || picture.isNull())
        return picture;
    Store *store = g_store();
    QImage made;
    int madeCount = 0;
    const QImage kept = store->findHalving(picture.cacheKey(), halvings, &made, &madeCount);
    if (!kept.isNull())
        return kept;
    made = averagedForm(made.isNull() ? picture : made);
    for (; madeCount < halvings; ++madeCount)
        made = halvedOnce(made);
    return store->keepHalving(picture.cacheKey(), halvings, made);
}

QImage nearestHalving(const QImage &picture, int halvings)
{
    const QImage nearest = g_store()->nearestHalving(picture.cacheKey(), halvings);
    return nearest.isNull() ? picture : nearest;
}

QVector<int> keptHalvings(const QImage &picture)
{
    return g_store()->keptHalvings(picture.cacheKey());
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
