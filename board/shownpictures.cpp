#include "shownpictures.h"

#include "dpage.h" // strokepictures.h keeps a guarded pointer to a page
#include "dview.h"
#include "pictures/picturereductions.h"
#include "smoothpicture.h"
#include "strokepictures.h"

#include <QCoreApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>

#include <functional>
#include <utility>
#include <vector>

namespace {

// What a picture made shows, and the picture itself.
struct Made
{
    qint64 picture = 0;
    QRectF target;
    QTransform toDevice;
    QRect area;
    QImage image; // null while nothing is made
    quint64 shownAt = 0; // the board's scale it was last shown at

    static Made of(const ShownPictures::Shown &shown)
    {
        Made made;
        made.picture = shown.picture.cacheKey();
        made.target = shown.target;
        made.toDevice = shown.toDevice;
        made.area = shown.area;
        return made;
    }
    bool sameAs(const Made &other) const
    {
        return picture == other.picture && target == other.target && toDevice == other.toDevice
                && area == other.area;
    }
    // The whole device pixels other lies from this, where it is the same picture at the same
    // scale and turn, moved (a pan); else farther than any device.
    QPoint movedTo(const Made &other) const
    {
        constexpr QPoint kFar(1 << 29, 1 << 29);
        if (picture != other.picture || target != other.target || !toDevice.isInvertible())
            return kFar;
        const QTransform move = toDevice.inverted() * other.toDevice;
        const QPoint whole(qRound(move.dx()), qRound(move.dy()));
        constexpr double kNear = 1e-6;
        const bool moved = qAbs(move.m11() - 1) < kNear && qAbs(move.m22() - 1) < kNear
                && qAbs(move.m12()) < kNear && qAbs(move.m21()) < kNear
                && qAbs(move.dx() - whole.x()) < kNear && qAbs(move.dy() - whole.y()) < kNear;
        return moved ? whole : kFar;
    }
};

// An object's picture: the one made last, and what is asked for.
struct Object
{
    QPointer<QObject> object;
    QGraphicsItem *item = nullptr;
    Made made;
    Made asked;
    bool isAsked = false; // asked is being made
};

void stopMaking();

class Store
{
public:
    Store()
    {
        pool.setMaxThreadCount(StrokePictures::threads());
        // The threads stop while the toolkit they paint with is whole.
        qAddPostRoutine(&stopMaking);
    }
    ~Store() { pool.waitForDone(); }
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // All GUI thread.
    QHash<QObject *, Object> objects;
    int making = 0;
    std::vector<std::function<void()>> toMake; // asked while the board paints
    quint64 scale = 0;
    std::vector<QPointer<QGraphicsScene>> repaintWhenMade;
    QThreadPool pool;
};

Q_GLOBAL_STATIC(Store, g_store)

void stopMaking()
{
    if (g_store.exists())
        g_store()->pool.waitForDone();
}

void handOver(QObject *key, const Made &made)
{
    Store *store = g_store();
    --store->making;
    const auto found = store->objects.find(key);
    // One asked before the last stands in for it until it comes, and is of no use after.
    if (found != store->objects.end() && found->object && found->isAsked) {
        found->isAsked = !found->asked.sameAs(made);
        found->made = made;
        found->made.shownAt = store->scale;
        found->item->update();
        if (QGraphicsScene *scene = found->item->scene())
            store->repaintWhenMade.emplace_back(scene);
    }
    if (store->making > 0)
        return;
    // A board shown under the live-ink overlay shows a picture of itself, painted again once
    // and for all of them.
    for (const QPointer<QGraphicsScene> &scene : std::exchange(store->repaintWhenMade, {})) {
        if (!scene)
            continue;
        const QList<QGraphicsView *> views = scene->views();
        for (QGraphicsView *view : views) {
            if (auto *board = qobject_cast<DView *>(view))
                board->refreshOverlay();
        }
    }
}

void beginMaking()
{
    Store *store = g_store();
    for (std::function<void()> &make : std::exchange(store->toMake, {}))
        store->pool.start(std::move(make));
}

// Asks for shown, made on a thread beside the board, unless it is asked for already.
void ask(Object *object, const ShownPictures::Shown &shown)
{
    const Made asked = Made::of(shown);
    if (object->isAsked && object->asked.sameAs(asked))
        return;
    object->asked = asked;
    object->isAsked = true;
    Store *store = g_store();
    ++store->making;
    QObject *key = object->object.data();
    const QImage picture = shown.picture;
    const int halvings = shown.halvings;
    // Begun once the board has painted: begun at once, the threads took the cores from the
    // paint that asked, which held a zoom step up longer on a busy machine.
    if (store->toMake.empty())
        QMetaObject::invokeMethod(QCoreApplication::instance(), &beginMaking, Qt::QueuedConnection);
    store->toMake.emplace_back([store, key, asked, picture, halvings] {
        Made made = asked;
        made.image = SmoothPicture::averagedOver(PictureReductions::halved(picture, halvings),
                                                 asked.target, asked.toDevice, asked.area);
        QMetaObject::invokeMethod(
                QCoreApplication::instance(), [key, made] { handOver(key, made); },
                Qt::QueuedConnection);
    });
}

// Lays image, its pixels the device's over area, on painter.
void lay(QPainter *painter, const QImage &image, const QRect &area)
{
    painter->resetTransform();
    painter->setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter->drawImage(area.topLeft(), image);
}

// Shows what stands in for shown: what was made for the object before (another scale or
// place), where it covers shown's area; else the nearest halving kept, filtered alone.
void standIn(QPainter *painter, const Made &made, const ShownPictures::Shown &shown)
{
    if (!made.image.isNull() && made.picture == shown.picture.cacheKey()
        && made.toDevice.isInvertible()) {
        // Its pixels to the device, through the object's coordinates.
        const QTransform stretch = QTransform::fromTranslate(made.area.x(), made.area.y())
                * made.toDevice.inverted() * shown.toDevice;
        if (stretch.mapRect(QRectF(made.image.rect())).contains(QRectF(shown.area))) {
            painter->resetTransform();
            painter->setTransform(stretch);
            painter->drawImage(QPointF(), made.image);
            return;
        }
    }
    const QImage nearest = PictureReductions::nearestHalving(shown.picture, shown.halvings);
    painter->drawImage(shown.target, nearest, QRectF(nearest.rect()));
}

} // namespace

namespace ShownPictures {

void draw(QPainter *painter, const Shown &shown)
{
    Store *store = g_store();
    auto *key = dynamic_cast<QObject *>(shown.item);
    if (!key || shown.area.isEmpty())
        return;
    Object &object = store->objects[key];
    if (object.object != key) {
        object = Object(); // made where one that is gone was
        object.object = key;
        object.item = shown.item;
    }
    painter->save();
    // What was made serves where it is the same, or moved by whole pixels (a pan).
    const QRect madeThere = object.made.area.translated(object.made.movedTo(Made::of(shown)));
    if (!object.made.image.isNull() && madeThere.contains(shown.area)) {
        object.made.shownAt = store->scale;
        lay(painter, object.made.image, madeThere);
    } else {
        ask(&object, shown);
        standIn(painter, object.made, shown);
    }
    painter->restore();
}

bool coming()
{
    return g_store.exists() && g_store()->making > 0;
}

void newScaleShown()
{
    ++g_store()->scale;
    PictureReductions::newScaleShown();
}

void giveBackOtherScales()
{
    Store *store = g_store();
    for (auto object = store->objects.begin(); object != store->objects.end();) {
        // What stands in while a picture is made stays until it comes.
        if (object->object && (object->isAsked || object->made.shownAt == store->scale))
            ++object;
        else
            object = store->objects.erase(object);
    }
    PictureReductions::giveBackOtherScales();
}

} // namespace ShownPictures
