#include "shownpictures.h"

#include "dpage.h" // strokepictures.h keeps a guarded pointer to a page
#include "dview.h"
#include "pictures/picturereductions.h"
#include "smoothpicture.h"
#include "strokepictures.h"

#include <QBrush>
#include <QCoreApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHash>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>

#include <functional>
#include <utility>
#include <vector>

namespace {

// What is asked to be shown: an object's picture over target, or a page's picture tiled by
// brush (target then empty).
struct Wanted
{
    QGraphicsItem *item; // a QObject too; null for a page's picture
    QGraphicsScene *page; // the page of a page's picture
    QImage picture;
    QRectF target;
    QTransform brush;
    bool tiled;
    QTransform toDevice;
    QRect area;
    int halvings;
};

// What a picture made shows, and the picture itself.
struct Made
{
    qint64 picture = 0;
    QRectF target;
    QTransform brush;
    bool tiled = false;
    QTransform toDevice;
    QRect area;
    QImage image; // null while nothing is made
    quint64 shownAt = 0; // the board's scale it was last shown at

    static Made of(const Wanted &shown)
    {
        Made made;
        made.picture = shown.picture.cacheKey();
        made.target = shown.target;
        made.brush = shown.brush;
        made.tiled = shown.tiled;
        made.toDevice = shown.toDevice;
        made.area = shown.area;
        return made;
    }
    bool samePicture(const Made &other) const
    {
        return picture == other.picture && target == other.target && brush == other.brush
                && tiled == other.tiled;
    }
    bool sameAs(const Made &other) const
    {
        return samePicture(other) && toDevice == other.toDevice && area == other.area;
    }
    // The whole device pixels other lies from this, where it is the same picture at the same
    // scale and turn, moved (a pan); else farther than any device.
    QPoint movedTo(const Made &other) const
    {
        constexpr QPoint kFar(1 << 29, 1 << 29);
        if (!samePicture(other) || !toDevice.isInvertible())
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

// An object's picture (or a page's): the one made last, and what is asked for.
struct Object
{
    QPointer<QObject> object;
    QGraphicsItem *item = nullptr;
    QGraphicsScene *page = nullptr;
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
    // One asked before the last stands in for it until it comes, and is of no use after. One
    // that could not be made (no memory for it) shows nothing new: what stands in stays, and it
    // is asked again when next painted.
    if (found != store->objects.end() && found->object && found->isAsked) {
        found->isAsked = !found->asked.sameAs(made);
        if (!made.image.isNull()) {
            found->made = made;
            found->made.shownAt = store->scale;
            if (found->item) {
                found->item->update();
                if (QGraphicsScene *scene = found->item->scene())
                    store->repaintWhenMade.emplace_back(scene);
            } else {
                // The board keeps a picture of the page's background, made from it again.
                const QList<QGraphicsView *> views = found->page->views();
                for (QGraphicsView *view : views) {
                    view->resetCachedContent();
                    view->viewport()->update();
                }
                store->repaintWhenMade.emplace_back(found->page);
            }
        }
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

// The brush that tiles picture, a halving of a picture of pixels, as brush tiles that one.
QBrush tilesOf(const QImage &picture, QSize pixels, const QTransform &brush)
{
    QBrush tiles(picture);
    tiles.setTransform(QTransform::fromScale(qreal(pixels.width()) / picture.width(),
                                             qreal(pixels.height()) / picture.height())
                       * brush);
    return tiles;
}

void beginMaking()
{
    Store *store = g_store();
    for (std::function<void()> &make : std::exchange(store->toMake, {}))
        store->pool.start(std::move(make));
}

// Asks for shown, made on a thread beside the board, unless it is asked for already.
void ask(Object *object, const Wanted &shown)
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
    const QSize pixels = picture.size();
    // Begun once the board has painted: begun at once, the threads took the cores from the
    // paint that asked, which held a zoom step up longer on a busy machine.
    if (store->toMake.empty())
        QMetaObject::invokeMethod(QCoreApplication::instance(), &beginMaking, Qt::QueuedConnection);
    store->toMake.emplace_back([store, key, asked, picture, halvings, pixels] {
        Made made = asked;
        const QImage halved = PictureReductions::halved(picture, halvings);
        made.image = asked.tiled
                ? SmoothPicture::averagedFill(tilesOf(halved, pixels, asked.brush), asked.toDevice,
                                              asked.area)
                : SmoothPicture::averagedOver(halved, asked.target, asked.toDevice, asked.area);
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
void standIn(QPainter *painter, const Made &made, const Wanted &shown)
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
    if (!shown.tiled) {
        painter->drawImage(shown.target, nearest, QRectF(nearest.rect()));
        return;
    }
    painter->setBrushOrigin(0, 0);
    painter->fillRect(shown.toDevice.inverted().mapRect(QRectF(shown.area)),
                      tilesOf(nearest, shown.picture.size(), shown.brush));
}

// Draws shown (GUI thread): as made, or what stands in while it is.
void show(QPainter *painter, const Wanted &shown)
{
    Store *store = g_store();
    QObject *key = shown.item ? dynamic_cast<QObject *>(shown.item) : shown.page;
    if (!key || shown.area.isEmpty())
        return;
    Object &object = store->objects[key];
    if (object.object != key) {
        object = Object(); // made where one that is gone was
        object.object = key;
        object.item = shown.item;
        object.page = shown.page;
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

} // namespace

namespace ShownPictures {

void draw(QPainter *painter, const Shown &shown)
{
    show(painter,
         { shown.item, nullptr, shown.picture, shown.target, QTransform(), false, shown.toDevice,
           shown.area, shown.halvings });
}

void fill(QPainter *painter, const ShownFill &shown)
{
    show(painter,
         { nullptr, shown.page, shown.picture, QRectF(), shown.brush, true, shown.toDevice,
           shown.area, shown.halvings });
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
