#include "dgpathitem.h"

#include "boardtypes.h"
#include "dpage.h"
#include "drotateitem.h"
#include "drotateitemfocus.h"
#include "itemplacement.h"
#include "pagewriter.h"
#include "penstroke.h"
#include "shapefill.h"
#include "smoothpicture.h"
#include "strokepictures.h"

#include <QGraphicsScene>
#include <QGraphicsSceneMouseEvent>
#include <QImage>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QSemaphore>
#include <QStyleOptionGraphicsItem>
#include <QThreadPool>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr qreal kGrabDistance = 20.0;
// Strokes of more elements than this may be drawn in pieces of at most this many segments and
// about this length: the toolkit's rasteriser starts a piece over, on more memory, each time
// its outline crosses more pixels than it has room for, and a quick hand's long zigzags crossed
// so many that a page of them took three times as long as in pieces of this length.
constexpr int kWholeStrokeElements = 128;
constexpr int kStrokePieceSegments = 64;
constexpr qreal kStrokePieceLength = 50;
// Beyond this a cached picture would cost more memory than drawing afresh costs time.
constexpr qint64 kMaxCachePixels = qint64(4096) * 4096;

// Halves round up, toward positive infinity (-2.5 becomes -2).
int roundHalfUp(qreal value)
{
    return int(std::floor(value + 0.5));
}

} // namespace

DGPathItem::DGPathItem(QPointF pos, const QPen &pen, QGraphicsItem *parent)
    : QObject(nullptr), QGraphicsPathItem(parent), m_pen(pen), m_prevPen(pen)
{
    m_pressPos = pos;
    setPos(pos);
    QGraphicsPathItem::setPen(pen);
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    chooseToolkitCache();
    setFrameOwner(this);
    setAcceptTouchEvents(true);
}

DGPathItem::~DGPathItem() = default;

void DGPathItem::connectFrame(DRotateItem *frame)
{
    connect(frame->m_focus, &DRotateItemFocus::pressBt, this, &DGPathItem::saveTransform);
    connect(frame->m_focus, &DRotateItemFocus::restorePx, this, &DGPathItem::restorePx);
}

quint64 DGPathItem::s_pictureEpoch = 0;
qint64 DGPathItem::s_givenBack = 0;

DGPathItem *DGPathItem::pathObject(QGraphicsItem *item)
{
    const int type = item ? item->type() : 0;
    if (type != ItemTypePath && type != ItemTypeVertex && type != ItemTypeTable)
        return nullptr;
    return dynamic_cast<DGPathItem *>(item);
}

void DGPathItem::giveBackPicture()
{
    if (m_renderCache)
        s_givenBack += m_renderCache->bytes();
    m_renderCache.reset();
}

void DGPathItem::dropRenderCache()
{
    giveBackPicture();
    m_pending = false;
    ++m_cacheGeneration;
    ++s_pictureEpoch;
}

void DGPathItem::invalidateCache()
{
    dropRenderCache();
    dropToolkitPictures();
    update();
}

void DGPathItem::chooseToolkitCache()
{
    // An object drawn from its own picture needs no second copy of it in the toolkit's
    // cache, whose store, smaller than a page of strokes, would also throw pictures out and
    // have them drawn again at every repaint. What is drawn afresh at each paint (a table, a
    // picture too large to keep) is kept there, unless the board holds the toolkit's picture
    // back while the object shows larger than the board.
    const QRect area = cacheArea();
    const bool ownPicture =
            keepsPicture() && qint64(area.width()) * area.height() <= kMaxCachePixels;
    const CacheMode wanted = ownPicture || data(ItemDataToolkitCacheHeld).toBool()
            ? NoCache
            : DeviceCoordinateCache;
    if (cacheMode() != wanted)
        setCacheMode(wanted);
}

void DGPathItem::releasePictures()
{
    if (!m_bPaintedSinceRelease)
        return;
    m_bPaintedSinceRelease = false;
    invalidateCache(); // the toolkit's pictures too
}

void DGPathItem::setPen(const QPen &pen)
{
    m_prevPen = m_pen;
    m_pen = pen;
    invalidateCache();
    QGraphicsPathItem::setPen(pen);
    chooseToolkitCache(); // the width is part of the bounds
}

void DGPathItem::setBrush(const QBrush &brush)
{
    m_prevBrush = m_brush;
    m_brush = brush;
    invalidateCache();
    QGraphicsPathItem::setBrush(ShapeFill::anchoredTo(brush, m_path.boundingRect()));
}

void DGPathItem::setGradColor(const QColor &colour)
{
    m_gradColor = colour;
    invalidateCache();
}

void DGPathItem::setFillFileName(const QString &file)
{
    m_fillFileName = file;
    invalidateCache();
}

void DGPathItem::setPath(const QPainterPath &path)
{
    m_path = path;
    QGraphicsPathItem::setPath(path);
    // A picture fill keeps to the shape's box as the box moves under the path.
    if (m_brush.style() == Qt::TexturePattern)
        QGraphicsPathItem::setBrush(ShapeFill::anchoredTo(m_brush, path.boundingRect()));
    chooseToolkitCache(); // the bounds changed
    // A picture of the old path stretched over the new bounds is not the new path.
    invalidateCache();
}

QVector<QPointF> DGPathItem::points() const
{
    QVector<QPointF> points(m_path.elementCount());
    for (int i = 0; i < points.size(); ++i)
        points[i] = QPointF(m_path.elementAt(i).x, m_path.elementAt(i).y);
    return points;
}

bool DGPathItem::isDot(const QPainterPath &path)
{
    const int count = path.elementCount();
    if (count == 0)
        return false;
    const QPointF first(path.elementAt(0).x, path.elementAt(0).y);
    for (int i = 1; i < count; ++i) {
        if (QPointF(path.elementAt(i).x, path.elementAt(i).y) != first)
            return false;
    }
    return true;
}

QPainterPath DGPathItem::dotPath(QPointF point)
{
    QPainterPath dot(point);
    dot.lineTo(point + QPointF(1, 0));
    dot.setElementPositionAt(1, point.x(), point.y());
    return dot;
}

namespace {

qreal dotDiameter(const QPen &pen)
{
    return qMax<qreal>(1.0, pen.widthF());
}

// What a round cap of the pen would leave at a line of no length.
void paintDot(QPainter *painter, QPointF centre, const QPen &pen)
{
    if (pen.style() == Qt::NoPen)
        return;
    const qreal radius = dotDiameter(pen) / 2;
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(pen.brush());
    painter->drawEllipse(centre, radius, radius);
    painter->restore();
}

// A long freehand stroke in an opaque, solid, round pen. Its outline as one polygon costs
// time that grows faster than its length (53 ms for 2,000 points against 11 ms in pieces);
// drawn in pieces, round caps meet as round joins do, and an opaque pen covers the overlaps
// alike. Translucent, dashed or filled strokes are always drawn whole.
bool isLongOpaqueStroke(const QPainterPath &path, const QPen &pen, const QBrush &brush)
{
    const int count = path.elementCount();
    if (count <= kWholeStrokeElements || brush.style() != Qt::NoBrush
        || pen.style() != Qt::SolidLine || pen.capStyle() != Qt::RoundCap
        || pen.joinStyle() != Qt::RoundJoin || pen.brush().style() != Qt::SolidPattern
        || pen.color().alpha() != 255 || pen.isCosmetic() || pen.widthF() < 2)
        return false;
    if (!path.elementAt(0).isMoveTo())
        return false;
    for (int i = 1; i < count; ++i) {
        if (!path.elementAt(i).isLineTo())
            return false;
    }
    return true;
}

// A picture fill or a textured pen: shown scaled or turned, its picture is filtered as a photo
// viewer filters one, not shown as blocks of its pixels.
bool drawsPicture(const QPen &pen, const QBrush &brush)
{
    return brush.style() == Qt::TexturePattern || pen.brush().style() == Qt::TexturePattern;
}

// The device's pixels, in device coordinates: the board's viewport, or the picture painted.
QRect deviceArea(const QPainter *painter)
{
    const QPaintDevice *device = painter->device();
    return device ? QRect(0, 0, device->width(), device->height()) : QRect();
}

// Screens, pixmaps and images; not a PDF or a recording of painter commands.
bool drawsOnPixels(QPainter *painter)
{
    const QPaintEngine *engine = painter->paintEngine();
    if (!engine)
        return true;
    switch (engine->type()) {
    case QPaintEngine::Pdf:
    case QPaintEngine::Picture:
    case QPaintEngine::SVG:
    case QPaintEngine::PostScript:
        return false;
    default:
        return true;
    }
}

// The points of a long stroke and where its pieces begin: the last of a piece begins the next.
struct StrokePieces
{
    QVector<QPointF> points;
    QVector<int> starts; // the first point of each piece, then the last point of all

    explicit StrokePieces(const QPainterPath &path) : points(path.elementCount())
    {
        for (int i = 0; i < points.size(); ++i)
            points[i] = QPointF(path.elementAt(i).x, path.elementAt(i).y);
        const int last = points.size() - 1;
        for (int first = 0; first < last;) {
            starts << first;
            int end = first;
            qreal length = 0;
            while (end < last && end - first < kStrokePieceSegments
                   && length < kStrokePieceLength) {
                length += QLineF(points[end], points[end + 1]).length();
                ++end;
            }
            first = end;
        }
        starts << last;
    }
    int count() const { return starts.size() - 1; }
    // Pieces from to end (not included), one after the other.
    void paint(QPainter *painter, int from, int end) const
    {
        for (int n = from; n < end; ++n) {
            QPainterPath piece;
            piece.moveTo(points[starts[n]]);
            for (int i = starts[n] + 1; i <= starts[n + 1]; ++i)
                piece.lineTo(points[i]);
            PenStroke::drawPath(painter, piece, PenStroke::Curves::AsLines);
        }
    }
    QRectF bounds(int from, int end) const
    {
        QPointF least = points[starts[from]];
        QPointF most = least;
        for (int i = starts[from] + 1; i <= starts[end]; ++i) {
            least = QPointF(std::min(least.x(), points[i].x()), std::min(least.y(), points[i].y()));
            most = QPointF(std::max(most.x(), points[i].x()), std::max(most.y(), points[i].y()));
        }
        return QRectF(least, most);
    }
};

// A stroke of this many pieces at least, drawn straight by the board's thread, is shared out
// among the threads that draw pictures: the release of a long stroke draws it on the overlay.
constexpr int kSharedPieces = 16;

Q_GLOBAL_STATIC(QThreadPool, g_strokePool)

// Runs of consecutive pieces drawn each on a clear picture of its own, on several threads, and
// laid over the painter in their order: as the pieces drawn one after the other would be.
void paintSharedOut(QPainter *painter, const StrokePieces &pieces, const QPen &pen)
{
    const int runs = std::min(StrokePictures::threads() + 1, pieces.count() / 4);
    const QTransform shown = painter->worldTransform();
    const qreal reach = pen.widthF() / 2 * std::sqrt(std::abs(shown.determinant())) + 2;
    const QRect device = deviceArea(painter);
    struct Run
    {
        int from;
        int end;
        QRect area;
        QImage picture;
    };
    std::vector<Run> all;
    for (int n = 0; n < runs; ++n) {
        Run run{ pieces.count() * n / runs, pieces.count() * (n + 1) / runs, QRect(), QImage() };
        const QRectF area = shown.mapRect(pieces.bounds(run.from, run.end))
                                    .adjusted(-reach, -reach, reach, reach);
        run.area = area.toAlignedRect() & device;
        if (!run.area.isEmpty())
            all.push_back(run);
    }
    const QPainter::RenderHints hints = painter->renderHints();
    const auto draw = [&pieces, &pen, &shown, hints](Run *run) {
        run->picture = QImage(run->area.size(), QImage::Format_ARGB32_Premultiplied);
        run->picture.fill(Qt::transparent);
        QPainter runPainter(&run->picture);
        runPainter.setRenderHints(hints);
        runPainter.setTransform(shown * QTransform::fromTranslate(-run->area.x(), -run->area.y()));
        runPainter.setPen(pen);
        runPainter.setBrush(Qt::NoBrush);
        pieces.paint(&runPainter, run->from, run->end);
    };
    QThreadPool *pool = g_strokePool();
    pool->setMaxThreadCount(StrokePictures::threads());
    QSemaphore drawn;
    for (size_t n = 1; n < all.size(); ++n) {
        Run *run = &all[n];
        pool->start([&draw, &drawn, run] {
            draw(run);
            drawn.release();
        });
    }
    if (!all.empty())
        draw(&all.front());
    drawn.acquire(int(all.size()) - (all.empty() ? 0 : 1));
    painter->save();
    painter->resetTransform();
    for (const Run &run : all)
        painter->drawImage(run.area.topLeft(), run.picture);
    painter->restore();
}

// shared: the board's thread may share the pieces out among other threads.
void paintLongStroke(QPainter *painter, const QPainterPath &path, const QPen &pen, bool shared)
{
    const StrokePieces pieces(path);
    if (shared && pieces.count() >= kSharedPieces && StrokePictures::threads() > 1) {
        paintSharedOut(painter, pieces, pen);
        return;
    }
    painter->save();
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    pieces.paint(painter, 0, pieces.count());
    painter->restore();
}

} // namespace

bool DGPathItem::drawsDot(const QPen &pen)
{
    const int side = int(std::ceil(qMin<qreal>(dotDiameter(pen), 256))) + 2;
    QImage probe(side, side, QImage::Format_ARGB32_Premultiplied);
    probe.fill(Qt::transparent);
    QPainter painter(&probe);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen small = pen;
    small.setWidthF(qMin<qreal>(dotDiameter(pen), 256));
    paintDot(&painter, QPointF(side / 2.0, side / 2.0), small);
    painter.end();
    for (int y = 0; y < side; ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(probe.constScanLine(y));
        for (int x = 0; x < side; ++x) {
            if (qAlpha(line[x]) > 0)
                return true;
        }
    }
    return false;
}

void DGPathItem::erasePointF(QPointF p, int radius)
{
    const int count = m_path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPointF point(m_path.elementAt(i).x, m_path.elementAt(i).y);
        if (radius > QLineF(p, point).length() && !m_erased.contains(i))
            m_erased << i;
    }
    setVisible(count - 3 > m_erased.size());
    update();
}

void DGPathItem::saveTransform()
{
    saveTransformOf(this);
}

void DGPathItem::restorePx()
{
    invalidateCache();
}

void DGPathItem::lock(bool locked)
{
    setFlag(ItemIsMovable, !locked);
    showLockState(locked);
}

bool DGPathItem::isLocked() const
{
    return !(flags() & ItemIsMovable);
}

void DGPathItem::changeLinks(const QString &web, const QString &page, const QString &file,
                             const QString &media)
{
    DCustomItem::changeLinks(web, page, file, media);
    invalidateCache();
}

QVariant DGPathItem::itemChange(GraphicsItemChange change, const QVariant &value)
{
    switch (change) {
    case ItemSelectedChange: // the selection outline is part of the picture
    case ItemParentChange:
    case ItemFlagsChange: // the lock
        invalidateCache();
        break;
    case ItemRotationChange:
    case ItemScaleChange:
    case ItemTransformChange:
        // The picture is of another scale now: it stands in, stretched, until the board has
        // one drawn for the new scale.
        update();
        break;
    case ItemSelectedHasChanged:
        frameMayShow(value.toBool(), isLocked());
        break;
    case ItemFlagsHaveChanged:
        frameMayShow(isSelected(), isLocked());
        break;
    case ItemParentHasChanged:
        chooseToolkitCache();
        ++s_pictureEpoch;
        break;
    default:
        picturesMayNotServeAfter(change);
        break;
    }
    return QGraphicsPathItem::itemChange(change, value);
}

void DGPathItem::picturesMayNotServeAfter(GraphicsItemChange change)
{
    switch (change) {
    case ItemPositionHasChanged:
    case ItemTransformHasChanged:
    case ItemRotationHasChanged:
    case ItemScaleHasChanged:
    case ItemVisibleHasChanged:
    case ItemSceneHasChanged:
        ++s_pictureEpoch;
        break;
    default:
        break;
    }
}

QRectF DGPathItem::boundingRect() const
{
    const int margin = m_pen.width();
    return path().boundingRect().adjusted(-margin, -margin, margin, margin);
}

QPainterPath DGPathItem::shape() const
{
    const QPainterPath current = path();
    if (!isDot(current))
        return QGraphicsPathItem::shape();
    // The stroker folds a line of no length away; the dot is hit where it is drawn.
    const qreal radius = dotDiameter(m_pen) / 2;
    const QPointF centre(current.elementAt(0).x, current.elementAt(0).y);
    QPainterPath round;
    round.addEllipse(centre, radius, radius);
    return round;
}

QRect DGPathItem::cacheArea() const
{
    // The ink reaches the pen's width beyond the path at most (a miter, a square cap), and its
    // smoothing a pixel more; a selected object's picture holds the outline drawn about its
    // bounds. A curve's bounds leave room for its handles besides: a third of its picture's
    // pixels were blank, laid over the board at every repaint.
    const qreal margin = m_pen.widthF() + 2;
    const QRectF bounds = isSelected() ? boundingRect()
                                       : path().boundingRect().adjusted(-margin, -margin,
                                                                        margin, margin);
    return QRect(roundHalfUp(bounds.x()), roundHalfUp(bounds.y()), roundHalfUp(bounds.width()),
                 roundHalfUp(bounds.height()));
}

bool DGPathItem::curvesAsLines() const
{
    return PageWriter::holdsCurvesAsPoints(m_btType);
}

void DGPathItem::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    m_bPaintedSinceRelease = true;
    QStyleOptionGraphicsItem style(*option);
    bool standalone = true;
    if (parentItem() && parentItem()->type() == ItemTypeGroup) {
        // A group draws one outline for all its members; their pictures are kept as any
        // object's, so that a group costs no more to show than its members alone.
        style.state &= ~QStyle::State_Selected;
        standalone = false;
    }
    if (m_renderCache && m_bRedrawAlways)
        dropRenderCache();
    const auto *page = qobject_cast<const DPage *>(scene());
    if (!keepsPicture() || !drawsOnPixels(painter)) {
        // Drawn afresh at the scale it is shown. A PDF takes the stroke itself, translucent ink
        // included, not a picture of it.
        paintContent(painter, &style, widget);
    } else if (page && page->isDrawingThumbnail()) {
        // A thumbnail draws the object straight at its small scale: a picture at full size
        // would cost the whole page's drawing for each thumbnail.
        paintSmall(painter, &style, widget);
    } else {
        // What the toolkit caches or another painter asks for (an export, a page rendered
        // into a picture) takes a picture of another scale straight, leaving the board's own.
        paintFromPicture(painter, &style, widget, widget != nullptr);
    }
    paintRotateItem(boundingRect(), scale(), isLocked(), standalone, isSelected());
}

void DGPathItem::paintFromPicture(QPainter *painter, const QStyleOptionGraphicsItem *style,
                                  QWidget *widget, bool forBoard)
{
    const QTransform shown = painter->worldTransform();
    const QRect visible = deviceArea(painter);
    const QRect area = cacheArea();
    const PictureFit wanted = PictureFit::forShown(shown, area, visible);
    if (wanted.unit && qint64(area.width()) * area.height() > kMaxCachePixels) {
        // Too large to keep a picture of at its own size: drawn afresh, as a picture that size
        // could not be.
        paintContent(painter, style, widget);
        return;
    }
    if (wanted.pixels.isEmpty()) {
        // Nothing of it near what the device shows (or nothing at all); or too far off to be
        // placed in whole pixels, and drawn straight.
        if (!area.isEmpty() && shown.mapRect(QRectF(area)).intersects(QRectF(visible)))
            paintWithoutCache(painter, style);
        return;
    }
    if (m_renderCache && m_cacheFit.serves(shown, area, visible)) {
        layPicture(painter);
        return;
    }
    if (!m_renderCache) {
        // The page just shown may have this picture drawn, or being drawn, on another thread.
        StrokePictures::deliver(this);
        if (m_renderCache && m_cacheFit.serves(shown, area, visible)) {
            layPicture(painter);
            return;
        }
    }
    // The picture of the scale shown is on its way: the one there is stands in, where it has
    // pixels; on the board, what it lacks is left for the new picture, which comes in a few
    // frames (a pan's newly shown strip, an object come into sight).
    if (m_pending && m_pendingFit.serves(shown, area, visible)
        && (forBoard || (m_renderCache && m_cacheFit.coversStretched(shown, area, visible)))) {
        if (m_renderCache)
            layPicture(painter, !forBoard); // the board shows it for a few frames only
        return;
    }
    if (!forBoard && !wanted.unit) {
        paintWithoutCache(painter, style);
        return;
    }
    TiledPicture picture = TiledPicture::paint(wanted.pixels.size(), [&](QPainter *cachePainter) {
        cachePainter->setTransform(wanted.drawing(), true);
        paintContent(cachePainter, style, widget);
    });
    giveBackPicture();
    m_renderCache = std::make_unique<TiledPicture>(std::move(picture));
    m_cacheFit = wanted;
    m_pending = false;
    ++m_cacheBuilds;
    layPicture(painter);
}

void DGPathItem::layPicture(QPainter *painter, bool filtered) const
{
    // Pixel for pixel where it serves; else stretched, standing in, and filtered as any picture
    // shown at another scale.
    const QTransform placement = m_cacheFit.placement(painter->worldTransform());
    if (placement.type() <= QTransform::TxTranslate || !filtered) {
        const QTransform shown = painter->worldTransform();
        painter->setWorldTransform(placement);
        m_renderCache->draw(painter);
        painter->setWorldTransform(shown);
        return;
    }
    painter->save();
    painter->setWorldTransform(placement);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    m_renderCache->draw(painter);
    painter->restore();
}

DGPathItem::PictureNeed DGPathItem::pictureNeed(const QTransform &shown, const QRect &visible,
                                                CacheRecipe *recipe) const
{
    if (!keepsPicture() || m_bRedrawAlways || !isVisible())
        return PictureReady;
    const QRect area = cacheArea();
    if (area.isEmpty())
        return PictureReady;
    const PictureFit wanted = PictureFit::forShown(shown, area, visible);
    if (wanted.pixels.isEmpty()
        || (wanted.unit && qint64(area.width()) * area.height() > kMaxCachePixels))
        return PictureReady;
    if (m_renderCache && m_cacheFit.serves(shown, area, visible))
        return PictureReady;
    if (m_pending && m_pendingFit.serves(shown, area, visible))
        return PictureReady;
    // The page just shown has its own pictures on the way, handed over as the board paints;
    // turned or scaled objects' too, where the board shows them as the page was drawn for.
    PictureFit coming;
    if (!m_renderCache && StrokePictures::isShowing(this, &coming)
        && coming.serves(shown, area, visible))
        return PictureReady;
    if (!cacheRecipeFor(wanted, recipe))
        return PictureReady; // painted on the board's thread
    return m_renderCache && m_cacheFit.coversStretched(shown, area, visible) ? PictureSoon
                                                                           : PictureNow;
}

bool DGPathItem::isSharpFor(const QTransform &shown, const QRect &visible) const
{
    if (!keepsPicture())
        return true;
    const QRect area = cacheArea();
    if (!m_renderCache)
        return !PictureFit::isNear(shown, area, visible);
    return m_cacheFit.serves(shown, area, visible) || !PictureFit::isNear(shown, area, visible);
}

void DGPathItem::expectPicture(const PictureFit &fit)
{
    m_pending = true;
    m_pendingFit = fit;
}

void DGPathItem::forgetPicture(const PictureFit &fit)
{
    if (m_pending && m_pendingFit == fit)
        m_pending = false;
}

void DGPathItem::dropPictureUnlessFor(const QTransform &shown, const QRect &visible)
{
    if (!m_renderCache || m_pending)
        return;
    // At its own size the object keeps its picture wherever it lies on the page, as always;
    // shown larger, only while it is in sight or near it, for the screen's worth of pictures
    // bounds their memory at any zoom.
    if (m_cacheFit.unit ? PictureFit::isUnit(shown)
                        : PictureFit::isNear(shown, cacheArea(), visible)
                        && m_cacheFit.serves(shown, cacheArea(), visible))
        return;
    dropRenderCache();
}

void DGPathItem::dropPictureOutOfSight(const QTransform &shown, const QRect &visible)
{
    if (!m_renderCache || m_pending || (m_cacheFit.unit && PictureFit::isUnit(shown))
        || PictureFit::isNear(shown, cacheArea(), visible))
        return;
    dropRenderCache();
}

namespace {

// A texture the other threads can draw with: an image, not a pixmap, which belongs to the GUI
// thread. A one-bit pattern takes the brush's colour as a pixmap and not as an image, so it
// stays on the GUI thread. False for that.
bool forThreads(QBrush *brush)
{
    if (brush->style() != Qt::TexturePattern)
        return true;
    if (brush->texture().isQBitmap())
        return false;
    const QTransform transform = brush->transform();
    *brush = QBrush(brush->textureImage());
    brush->setTransform(transform);
    return true;
}

bool forThreads(QPen *pen)
{
    QBrush brush = pen->brush();
    if (brush.style() != Qt::TexturePattern)
        return true;
    if (!forThreads(&brush))
        return false;
    pen->setBrush(brush);
    return true;
}

} // namespace

bool DGPathItem::cacheRecipe(CacheRecipe *recipe) const
{
    // As paint() would make the picture, for an object that has none, on a board that shows
    // the page at 100 %: the scene's pixels are the board's, moved by whole pixels.
    if (m_renderCache)
        return false;
    const QRect area = cacheArea();
    const QTransform shown = sceneTransform();
    const QRect page = scene() ? scene()->sceneRect().toAlignedRect() : QRect();
    const PictureFit fit = PictureFit::forShown(shown, area, page);
    if (fit.unit && qint64(area.width()) * area.height() > kMaxCachePixels)
        return false;
    return cacheRecipeFor(fit, recipe);
}

bool DGPathItem::cacheRecipeFor(const PictureFit &fit, CacheRecipe *recipe) const
{
    // As paint() would make the picture: not for a shape being reshaped or a selected object,
    // nor for a picture of nothing.
    if (!keepsPicture() || m_bRedrawAlways || isSelected() || !isVisible() || fit.pixels.isEmpty()
        || (m_renderCache && m_cacheFit == fit))
        return false;
    recipe->pen = m_pen;
    recipe->brush = m_brush;
    recipe->shapePen = QGraphicsPathItem::pen();
    recipe->shapeBrush = QGraphicsPathItem::brush();
    if (!forThreads(&recipe->pen) || !forThreads(&recipe->brush)
        || !forThreads(&recipe->shapePen) || !forThreads(&recipe->shapeBrush))
        return false;
    recipe->path = path();
    if (recipe->path.elementCount() > 0) {
        // Detached: the copy's elements are its own, so no thread draws from data another
        // thread may be filling in.
        const QPainterPath::Element first = recipe->path.elementAt(0);
        recipe->path.setElementPositionAt(0, first.x, first.y);
    }
    recipe->fit = fit;
    recipe->curvesAsLines = curvesAsLines();
    recipe->generation = m_cacheGeneration;
    return true;
}

TiledPicture DGPathItem::drawCachePicture(const CacheRecipe &recipe)
{
    return TiledPicture::paint(recipe.fit.pixels.size(), [&recipe](QPainter *painter) {
        painter->setTransform(recipe.fit.drawing(), true);
        paintRecipe(painter, recipe);
    });
}

void DGPathItem::adoptCachePicture(TiledPicture picture, quint64 generation,
                                   const PictureFit &fit)
{
    if (generation != m_cacheGeneration || picture.isNull() || picture.size() != fit.pixels.size())
        return;
    const bool asked = m_pending && m_pendingFit == fit;
    if (m_renderCache && !asked)
        return;
    if (asked)
        m_pending = false;
    giveBackPicture();
    m_renderCache = std::make_unique<TiledPicture>(std::move(picture));
    m_cacheFit = fit;
    ++m_cacheBuilds;
    m_bPaintedSinceRelease = true; // it has a picture to give back
}

void DGPathItem::paintWithoutCache(QPainter *painter, const QStyleOptionGraphicsItem *option)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    m_bStraight = true;
    paintContent(painter, option, nullptr);
    m_bStraight = false;
    painter->restore();
}

void DGPathItem::paintRecipe(QPainter *painter, const CacheRecipe &recipe)
{
    if (drawsPicture(recipe.shapePen, recipe.shapeBrush))
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
    // Pieces spare the toolkit's rasteriser; a PDF takes the stroke whole, one path rather than
    // dozens, and so does a stroke measured as one ink, which pieces would only seam.
    if (drawsOnPixels(painter) && isLongOpaqueStroke(recipe.path, recipe.pen, recipe.brush)
        && !PenStroke::inksWhole(painter, recipe.pen)) {
        paintLongStroke(painter, recipe.path, recipe.pen, recipe.sharedOut);
        return;
    }
    // What the toolkit's own painting does for an object that is not selected, less the notches
    // its stroke leaves in lines.
    painter->setPen(recipe.shapePen);
    const bool filled = SmoothPicture::fillForPrint(painter, recipe.path, recipe.shapeBrush)
            || SmoothPicture::fillSmall(painter, recipe.path, recipe.shapeBrush);
    painter->setBrush(filled ? QBrush() : recipe.shapeBrush);
    PenStroke::drawPath(painter, recipe.path,
                        recipe.curvesAsLines ? PenStroke::Curves::AsLines
                                             : PenStroke::Curves::AsCurves);
    if (isDot(recipe.path))
        paintDot(painter, QPointF(recipe.path.elementAt(0).x, recipe.path.elementAt(0).y),
                 recipe.pen);
}

void DGPathItem::paintSmall(QPainter *painter, const QStyleOptionGraphicsItem *style,
                            QWidget *widget)
{
    const QTransform transform = painter->worldTransform();
    const qreal deviceScale = std::sqrt(std::abs(transform.determinant()));
    if ((style->state & QStyle::State_Selected) || m_pen.widthF() * deviceScale > 1) {
        paintContent(painter, style, widget);
        return;
    }
    // A line thinner than a pixel is drawn as one pixel of that much ink. The toolkit does so
    // by itself when the picture is scaled alike both ways and not turned; otherwise (a
    // thumbnail is a little less tall than wide) it would outline the whole stroke first, at
    // many times the cost.
    const auto thin = [deviceScale](QPen pen) {
        pen.setWidthF(pen.widthF() * deviceScale);
        pen.setCosmetic(true);
        return pen;
    };
    CacheRecipe shown;
    shown.path = path();
    shown.pen = thin(m_pen);
    shown.brush = m_brush;
    shown.shapePen = thin(QGraphicsPathItem::pen());
    shown.shapeBrush = QGraphicsPathItem::brush();
    shown.curvesAsLines = curvesAsLines();
    paintRecipe(painter, shown);
}

void DGPathItem::paintContent(QPainter *painter, const QStyleOptionGraphicsItem *style,
                              QWidget *widget)
{
    if (!(style->state & QStyle::State_Selected)) {
        CacheRecipe shown;
        shown.path = path();
        shown.pen = m_pen;
        shown.brush = m_brush;
        shown.shapePen = QGraphicsPathItem::pen();
        shown.shapeBrush = QGraphicsPathItem::brush();
        shown.curvesAsLines = curvesAsLines();
        shown.sharedOut = m_bStraight;
        paintRecipe(painter, shown);
        return;
    }
    // The toolkit's own painting, selection outline included.
    if (drawsPicture(QGraphicsPathItem::pen(), QGraphicsPathItem::brush()))
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
    const QPainterPath current = path();
    if (SmoothPicture::fillSmall(painter, current, QGraphicsPathItem::brush())) {
        // The picture fill averaged as the toolkit would not; the rest as it paints it.
        painter->setPen(QGraphicsPathItem::pen());
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(current);
        ItemPlacement::paintSelectionOutline(painter, style, boundingRect(),
                                             QGraphicsPathItem::pen().widthF());
    } else {
        QGraphicsPathItem::paint(painter, style, widget);
    }
    if (isDot(current))
        paintDot(painter, QPointF(current.elementAt(0).x, current.elementAt(0).y), m_pen);
}

void DGPathItem::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_pressPos = pos();
    QGraphicsPathItem::mousePressEvent(event);
}

void DGPathItem::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    m_bMoved = true;
    QGraphicsPathItem::mouseMoveEvent(event);
}

void DGPathItem::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    // The flag stays set: the move recording reads and clears it.
    if (m_bMoved) {
        const QPointF point = event->scenePos();
        emit releaseBt(QPoint(int(point.x()), int(point.y())), BtMenus::stMove);
    }
    QGraphicsPathItem::mouseReleaseEvent(event);
}

int DGPathItem::grabIndex(QPointF point) const
{
    int nearest = -1;
    qreal nearestDistance = kGrabDistance;
    const QPainterPath current = path();
    for (int i = 0; i < current.elementCount(); ++i) {
        const QPainterPath::Element element = current.elementAt(i);
        const qreal distance = QLineF(point, QPointF(element.x, element.y)).length();
        if (distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

void DGPathItem::dragVertex(int index, QPointF point, bool keepLines)
{
    QPainterPath edited = path();
    const int count = edited.elementCount();
    if (index < 0 || index >= count)
        return;
    if (keepLines && count <= 2)
        return; // a straight line keeps its shape
    edited.setElementPositionAt(index, point.x(), point.y());
    // The ends move together so that closed outlines stay closed.
    if (count > 2 && (index == 0 || index == count - 1)) {
        edited.setElementPositionAt(0, point.x(), point.y());
        edited.setElementPositionAt(count - 1, point.x(), point.y());
    }
    setPath(edited);
    m_bRedrawAlways = true;
    rotateItem()->m_focus->m_bReshaped = true;
}

void DGPathItem::paintVertexCircles(QPainter *painter, qreal diameter) const
{
    painter->save();
    painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter->setBrush(Qt::NoBrush);
    const QPainterPath current = path();
    for (int i = 0; i < current.elementCount(); ++i) {
        const QPainterPath::Element element = current.elementAt(i);
        painter->drawEllipse(
                QRectF(element.x - diameter / 2, element.y - diameter / 2, diameter, diameter));
    }
    painter->restore();
}

void DGPathItem::copyTransformInto(DGPathItem *clone) const
{
    clone->m_erased = m_erased;
    clone->m_pen = m_pen;
    clone->setPath(path());
    clone->setFlags(flags());
    clone->setTransformOriginPoint(boundingRect().center());
    clone->setRotation(rotation());
    clone->setFrameMenu(frameMenu());
    // The fill data goes with the copy: a saved copy must show the same fill.
    clone->m_gradColor = m_gradColor;
    clone->m_fillFileName = m_fillFileName;
}
