#include "boardpictures.h"

#include "pictures/heldpictures.h"

#include "boardtypes.h"
#include "dgpathitem.h"
#include "dpage.h"
#include "dview.h"
#include "scribblearea.h"
#include "shownpictures.h"
#include "smoothpicture.h"
#include "strokepictures.h"

#include <QBackingStore>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// Once the board has kept still this long, the pictures of scales it no longer shows go.
constexpr int kSweepAfterMs = 150;
// A screenful of new pictures is painted in this many bands, one per turn of the event loop.
constexpr int kBands = 4;
#ifdef __GLIBC__
// Blocks of this size and more (a picture a good part of the screen large) are mapped each its
// own. Smaller ones, a stroke's picture at 100 % or a tile of a large one, come from the heap and
// go back to it: mapping and unmapping each costs a page fault per page and, the painting
// threads sharing the memory, a stop of every core at each unmap, which made a page change of
// a hundred strokes four times slower.
constexpr int kOwnMappingBytes = 1024 * 1024;
#endif

// What of transform sizes and turns what it shows, without where it places it.
QTransform sizing(const QTransform &transform)
{
    return QTransform(transform.m11(), transform.m12(), transform.m21(), transform.m22(), 0, 0);
}

} // namespace

BoardPictures::BoardPictures(DView *view) : QObject(view), m_view(view)
{
#ifdef __GLIBC__
    // A picture given back goes back to the system at once. Left to itself, the allocator
    // raises the size it maps memory for on its own to that of every large block freed, and
    // keeps blocks below it: a zoom's or a pan's pictures, megabytes each, stayed with the
    // program after they were given back, screen after screen.
    static const bool fixed = mallopt(M_MMAP_THRESHOLD, kOwnMappingBytes) != 0;
    Q_UNUSED(fixed);
#endif
    m_sweep.setSingleShot(true);
    m_sweep.setInterval(kSweepAfterMs);
    connect(&m_sweep, &QTimer::timeout, this, &BoardPictures::sweep);
    m_readySoon.setSingleShot(true);
    m_readySoon.setInterval(0);
    connect(&m_readySoon, &QTimer::timeout, this, &BoardPictures::readyPicturesSoon);
    m_nextBand.setSingleShot(true);
    m_nextBand.setInterval(0);
    connect(&m_nextBand, &QTimer::timeout, this, &BoardPictures::paintBand);
}

BoardPictures::~BoardPictures() = default;

DPage *BoardPictures::page() const
{
    return m_view->page();
}

void BoardPictures::ready()
{
    DPage *current = page();
    if (m_sharpening && m_sharpening->page() != current)
        m_sharpening.reset();
    if (!current)
        return;
    const QTransform toViewport = m_view->viewportTransform();
    const QRect visible = m_view->viewport()->rect();
    if (toViewport != m_sweptTransform) {
        // A pan shows the pictures made small for the scale shown as they are.
        if (sizing(toViewport) != sizing(m_sweptTransform))
            ShownPictures::newScaleShown();
        m_sweptTransform = toViewport;
        m_sweep.start();
        // What went out of sight goes before what came into sight is drawn: a zoom or pan costs
        // the pictures of one screen, not of every screen shown since the board last rested.
        current->dropPicturesUnlessFor(toViewport, visible, true);
    }
    // Nothing moved, changed or came since every picture shown served: the objects' own
    // painting copes with anything this would have missed.
    const Painted now{ current, toViewport, DGPathItem::pictureEpoch(), visible.size() };
    const quint64 pageRevision = current->countedRevision();
    if (!m_sharpening && m_readyFor.page == now.page && m_readyFor.toViewport == toViewport
        && m_readyFor.revision == now.revision && m_readyFor.size == now.size
        && m_readyForPageRevision == pageRevision)
        return;
    std::vector<StrokePictures::Wanted> waited;
    std::vector<StrokePictures::Wanted> soon;
    const bool wholeStandIn = standInCovers(QRegion(visible));
    // A page just shown is shown whole, its pictures waited for.
    const bool samePage = m_lastReady == current;
    if (!samePage) {
        // What the page shown before made small is given back once the board keeps still.
        ShownPictures::newScaleShown();
        m_sweep.start();
    }
    m_lastReady = current;
    // Every item looked at once, in no order: asking the page for the items in view costs
    // tens of milliseconds on a page of grouped strokes, at every change the board shows.
    const QRectF board(visible);
    const QList<QGraphicsItem *> all = current->itemsUnsorted();
    for (QGraphicsItem *item : all) {
        if (!item->isVisible())
            continue;
        holdBackLargeToolkitCache(item, toViewport, visible.size());
        DGPathItem *object = DGPathItem::pathObject(item);
        if (!object)
            continue;
        const QTransform shown = object->deviceTransform(toViewport);
        if (!shown.mapRect(object->boundingRect()).intersects(board))
            continue;
        // Under the board's kept picture a picture of another scale stands in for nothing:
        // given back before its successor is drawn, it does not double the memory of a step.
        if (wholeStandIn)
            object->dropPictureUnlessFor(shown, visible);
        DGPathItem::CacheRecipe recipe;
        switch (object->pictureNeed(shown, visible, &recipe)) {
        case DGPathItem::PictureNow:
            // The board's kept picture stands in for it as for the rest. Zoomed in or out on
            // the page shown before, the board does not wait for it either: a pan's new screen
            // at 418 % is a hundred pictures, which the board shows as they come.
            (wholeStandIn || (samePage && !recipe.fit.unit) ? soon : waited)
                    .push_back({ object, std::move(recipe) });
            break;
        case DGPathItem::PictureSoon:
            soon.push_back({ object, std::move(recipe) });
            break;
        case DGPathItem::PictureReady:
            break;
        }
    }
    // Nothing could stand in for these: the board waits for them, drawn on every thread. An
    // object whose picture of another place or scale is no use takes the new one all the same.
    if (!waited.empty()) {
        for (const StrokePictures::Wanted &wanted : waited)
            wanted.object->expectPicture(wanted.recipe.fit);
        StrokePictures(current, waited).finish();
    }
    if (soon.empty()) {
        m_readyFor = now;
        m_readyForPageRevision = current->countedRevision();
        return;
    }
    for (const StrokePictures::Wanted &wanted : soon)
        wanted.object->expectPicture(wanted.recipe.fit);
    // Any pictures still being drawn for a scale shown before are of no use now.
    m_sharpening = std::make_unique<StrokePictures>(current, soon);
    m_sharpeningFor = toViewport;
    const QPointer<BoardPictures> self(this);
    m_sharpening->drawFirst([self] {
        if (self)
            self->picturesCame();
    });
}

void BoardPictures::holdBackLargeToolkitCache(QGraphicsItem *item, const QTransform &toViewport,
                                              QSize board)
{
    // The toolkit's cache of an object (DeviceCoordinateCache) is a picture of all of it at the
    // size shown. On the board the toolkit cuts it to the board, but into any other picture
    // (the overlay's, the stand-in of a zoom step) it is made whole: a group or a photo at
    // 6,000 % became gigabytes, made and thrown away at every step. Nor does the toolkit keep
    // a picture larger than its store of ten megabytes, so on the board too such a picture
    // is made again at every paint. An object shown larger than the board is drawn straight,
    // cut to what shows, until it fits again.
    const QGraphicsItem::CacheMode mode = item->cacheMode();
    if (mode != QGraphicsItem::DeviceCoordinateCache
        && !(mode == QGraphicsItem::NoCache && item->data(ItemDataToolkitCacheHeld).toBool()))
        return;
    const bool held = mode == QGraphicsItem::NoCache;
    const QRectF shown = item->deviceTransform(toViewport).mapRect(item->boundingRect());
    const bool large = shown.width() > board.width() || shown.height() > board.height();
    if (large && !held) {
        item->setData(ItemDataToolkitCacheHeld, true);
        item->setCacheMode(QGraphicsItem::NoCache);
    } else if (!large && held) {
        item->setData(ItemDataToolkitCacheHeld, QVariant());
        item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
    }
}

void BoardPictures::picturesCame()
{
    m_sharpening.reset();
    dropStandIn();
    m_sweep.start();
    if (m_view->m_scribbleArea->isVisible()) {
        m_view->m_bRefreshOverlay = true;
        m_view->viewport()->update();
        return;
    }
    // Painting a screenful of new pictures at once would stall the board as long as painting
    // every object does; band by band, what was shown stays in the rest meanwhile.
    m_bandsLeft = kBands;
    // Not in the turn that handed the pictures over, a screenful of them given to their
    // objects at once: the two together held the board up as long as a band and more.
    m_nextBand.start();
}

void BoardPictures::paintBand()
{
    if (m_bandsLeft <= 0)
        return;
    const QRect board = m_view->viewport()->rect();
    const int band = kBands - m_bandsLeft;
    const int top = board.top() + board.height() * band / kBands;
    const int bottom = board.top() + board.height() * (band + 1) / kBands;
    --m_bandsLeft;
    m_view->viewport()->repaint(QRect(board.left(), top, board.width(), bottom - top));
    if (m_bandsLeft > 0)
        m_nextBand.start();
}

void BoardPictures::sweep()
{
    DPage *current = page();
    // The pictures standing in go once those drawn for them come.
    if (!current || m_sharpening)
        return;
    current->dropPicturesUnlessFor(m_view->viewportTransform(), m_view->viewport()->rect());
    ShownPictures::giveBackOtherScales();
}

void BoardPictures::beforeZoom()
{
    DPage *current = page();
    // A picture standing in still does, stretched further. The screen's picture of the board
    // serves when it was painted at this scale and the page has not changed since (else it
    // would show what is gone).
    if (standInServes())
        return;
    if (!current || !m_view->isVisible() || m_view->m_scribbleArea->isVisible()
        || m_shown.page != current || m_shown.toViewport != m_view->viewportTransform()
        || m_shown.revision != current->contentRevision()
        || m_shown.size != m_view->viewport()->size())
        return;
    const Painted shown = m_shown;
    QImage board = shownBoard();
    // Drawing what lies under a palette lays out the frames of objects the screen never
    // showed, which the page counts as a change of its own (and may repaint for, at once): the
    // board is as it was shown all the same.
    current->forgetDrawingStir(shown.revision);
    m_shown = shown;
    m_standIn = std::move(board);
    m_standInOf = shown;
}

void BoardPictures::dropStandIn()
{
    if (!m_standIn.isNull())
        m_standInSpare = std::exchange(m_standIn, QImage());
}

QImage BoardPictures::shownBoard()
{
    QWidget *viewport = m_view->viewport();
    const QRect board = viewport->rect();
    QImage picture = std::exchange(m_standInSpare, QImage());
    if (picture.size() != board.size() || picture.format() != QImage::Format_ARGB32_Premultiplied)
        picture = QImage(board.size(), QImage::Format_ARGB32_Premultiplied);
    // The window's own pixels hold the board as last painted, a copy of which costs a fraction
    // of painting every object again; but not where another widget lies over the board.
    QRegion covered = board;
    QBackingStore *store = viewport->backingStore();
    QPaintDevice *device = store ? store->paintDevice() : nullptr;
    if (device && device->devType() == QInternal::Image && !picture.isNull()) {
        const auto *window = static_cast<const QImage *>(device);
        const QRect inWindow(viewport->mapTo(viewport->window(), QPoint()), board.size());
        const bool opaque = window->format() == QImage::Format_RGB32;
        if (qFuzzyCompare(window->devicePixelRatio(), 1.0) && window->rect().contains(inWindow)
            && (opaque || window->format() == picture.format())) {
            for (int y = 0; y < board.height(); ++y) {
                const auto *from = reinterpret_cast<const QRgb *>(
                                           window->constScanLine(inWindow.top() + y))
                        + inWindow.left();
                auto *to = reinterpret_cast<QRgb *>(picture.scanLine(y));
                if (opaque) {
                    // Premultiplied, an opaque pixel is the same but for its alpha.
                    for (int x = 0; x < board.width(); ++x)
                        to[x] = from[x] | 0xff000000u;
                } else {
                    std::memcpy(to, from, size_t(board.width()) * sizeof(QRgb));
                }
            }
            covered = widgetsOver(viewport) & board;
        }
    }
    if (covered.isEmpty())
        return picture;
    {
        QPainter painter(&picture);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect &part : covered)
            painter.fillRect(part, Qt::transparent);
    }
    // Painted as the screen paints the board, in one go: the view's own rendering of a part
    // gathers and sorts every object of the page each time, 5 to 30 ms a part on a page of
    // 2,000 strokes.
    viewport->render(&picture, covered.boundingRect().topLeft(), covered, QWidget::RenderFlags());
    return picture;
}

QRegion BoardPictures::widgetsOver(QWidget *viewport)
{
    // Children are stacked in the order of their parent's list: those after a widget, and its
    // own children, lie over it.
    QRegion over;
    const QPoint origin = viewport->mapTo(viewport->window(), QPoint());
    const auto add = [&](const QObjectList &widgets, int from) {
        for (int i = from; i < widgets.size(); ++i) {
            const auto *widget = qobject_cast<const QWidget *>(widgets.at(i));
            if (widget && !widget->isWindow() && widget->isVisible())
                over += QRect(widget->mapTo(widget->window(), QPoint()) - origin, widget->size());
        }
    };
    add(viewport->children(), 0);
    for (QWidget *child = viewport; !child->isWindow() && child->parentWidget();
         child = child->parentWidget()) {
        const QObjectList &siblings = child->parentWidget()->children();
        add(siblings, siblings.indexOf(child) + 1);
    }
    return over;
}

bool BoardPictures::standInServes()
{
    DPage *current = page();
    if (!m_standIn.isNull() && current && m_standInOf.page == current
        && m_standInOf.revision == current->countedRevision()
        && m_standInOf.size == m_view->viewport()->size())
        return true;
    dropStandIn(); // the page changed since
    return false;
}

QRect BoardPictures::standInArea() const
{
    // The old screen's pixels to the new screen's, through the scene.
    const QTransform stretch = m_standInOf.toViewport.inverted() * m_view->viewportTransform();
    if (stretch.type() > QTransform::TxScale)
        return QRect();
    const QRectF covered = stretch.mapRect(QRectF(m_standIn.rect()));
    const QPoint topLeft(int(std::ceil(covered.left())), int(std::ceil(covered.top())));
    const QPoint bottomRight(int(std::floor(covered.right())) - 1,
                             int(std::floor(covered.bottom())) - 1);
    return QRect(topLeft, bottomRight);
}

bool BoardPictures::standInCovers(const QRegion &exposed)
{
    return standInServes() && (exposed - standInArea()).isEmpty();
}

QRegion BoardPictures::paintStandIn(const QRegion &exposed)
{
    if (!standInServes())
        return QRegion();
    // Zoomed out, the kept picture leaves a border that the page fills as it is.
    const QRegion painted = exposed & standInArea();
    if (painted.isEmpty())
        return QRegion();
    QPainter painter(m_view->viewport());
    painter.setClipRegion(painted);
    painter.setTransform(m_standInOf.toViewport.inverted() * m_view->viewportTransform());
    painter.drawImage(0, 0, m_standIn);
    return painted;
}

void BoardPictures::readyPicturesSoon()
{
    ready();
    const QRegion border = std::exchange(m_borderLeft, QRegion());
    // Every picture the board shows serves already: the kept picture is done with.
    if (!m_sharpening && !m_standIn.isNull()) {
        dropStandIn();
        m_view->viewport()->update();
    } else if (!border.isEmpty()) {
        m_view->viewport()->update(border);
    }
}

void BoardPictures::paintBackground(const QRegion &area)
{
    QGraphicsScene *current = m_view->scene();
    if (area.isEmpty() || !current)
        return;
    const bool pages = m_view->backgroundBrush().style() == Qt::NoBrush;
    const QBrush brush = pages ? current->backgroundBrush() : m_view->backgroundBrush();
    if (brush.style() == Qt::NoBrush)
        return;
    QPainter painter(m_view->viewport());
    painter.setClipRegion(area);
    painter.setTransform(m_view->viewportTransform());
    painter.setRenderHint(QPainter::SmoothPixmapTransform); // a background picture, zoomed
    painter.setBrushOrigin(0, 0);
    const QRectF covered = m_view->mapToScene(area.boundingRect()).boundingRect();
    // The page's picture as the board shows it everywhere else, made beside it where it costs.
    if (!SmoothPicture::fillBackground(&painter, covered, brush, pages ? current : nullptr))
        painter.fillRect(covered, brush);
}

void BoardPictures::paint(QPaintEvent *event, const std::function<void(QPaintEvent *)> &paintBoard)
{
    HeldPictures::newFrame();
    const bool onScreen = paintsScreen();
    const bool covered = standInCovers(event->region());
    if (onScreen && !covered && !m_readySoon.isActive()
        && (!m_sharpening || m_sharpeningFor != m_view->viewportTransform())
        && standInServes() && !(event->region() & standInArea()).isEmpty()) {
        // Zoomed out: the kept picture shows at once with the page's background about it, as
        // zoomed in; the pictures of the new scale are asked for on the next turn, and the
        // border is painted then. Together in one turn with the step they held the board up
        // twice as long as a frame.
        QPaintEvent nothing{ QRegion() };
        paintBoard(&nothing);
        const QRegion border = event->region() - paintStandIn(event->region());
        paintBackground(border);
        m_borderLeft += border;
        m_readySoon.start();
    } else if (covered) {
        // The view keeps its account of what is left to paint in its own painting: given
        // nothing to paint, it closes this frame's, and goes on taking the page's updates. (Into
        // a grab it fills the board with its background all the same.)
        QPaintEvent nothing{ QRegion() };
        paintBoard(&nothing);
        // Zoomed in: the kept picture fills the screen at once, and the pictures of the new
        // scale are asked for once it is shown.
        paintStandIn(event->region());
        if (!m_sharpening || m_sharpeningFor != m_view->viewportTransform())
            m_readySoon.start();
    } else {
        ready();
        if (!m_sharpening)
            dropStandIn(); // every picture shown serves: nothing stands in
        const QRegion rest = event->region() - paintStandIn(event->region());
        if (rest == event->region()) {
            paintBoard(event);
        } else if (!rest.isEmpty()) {
            // The toolkit fills the background over the bounds of what it is asked to paint,
            // and paints whole any object that reaches into it: left to itself it painted
            // over the kept picture, showing for a frame only what had a picture of the old
            // scale, at the cost of most of the screen. Cut to the border it is asked for.
            QPaintEngine *engine = nullptr;
            QRegion whole;
            QPoint offset;
            {
                QPainter probe(m_view->viewport());
                // In device pixels: where they are not the board's, it is painted whole.
                if (qFuzzyCompare(probe.device()->devicePixelRatioF(), 1.0))
                    engine = probe.paintEngine();
                if (engine)
                    whole = engine->systemClip();
                offset = probe.deviceTransform().map(QPoint());
            }
            if (engine) {
                const QRegion border = rest.translated(offset);
                engine->setSystemClip(whole.isEmpty() ? border : whole & border);
            }
            QPaintEvent border(rest);
            paintBoard(&border);
            if (engine)
                engine->setSystemClip(whole);
        }
    }
    if (onScreen) {
        DPage *current = page();
        m_shown = { current, m_view->viewportTransform(),
                    current ? current->countedRevision() : 0, m_view->viewport()->size() };
    }
}

bool BoardPictures::paintsScreen() const
{
    // A grab paints the board too, into a picture of its own.
    QWidget *viewport = m_view->viewport();
    QBackingStore *store = viewport->backingStore();
    QPainter probe(viewport);
    return store && probe.paintEngine() && probe.paintEngine()->paintDevice() == store->paintDevice();
}
