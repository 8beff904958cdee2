#include "dpage.h"

#include "boardtypes.h"
#include "dcommands.h"
#include "dcustomitem.h"
#include "dgitemgroup.h"
#include "dgpathitem.h"
#include "dgtextitem.h"
#include "dview.h"
#include "pagewriter.h"
#include "scribblearea.h"
#include "smoothpicture.h"
#include "textcommand.h"

#include "recognition/qhandwritingcustomsupport.h"

#include <QCoreApplication>
#include <QGraphicsSceneMouseEvent>
#include <QLabel>
#include <QPainter>
#include <QThreadPool>

#include <cmath>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

// zoomToScale steps by 1.1 until the two zooms print alike; a target off that lattice, or one
// below the view's zoom floor, would otherwise never be met.
constexpr int kMaxZoomSteps = 200;
constexpr float kZoomOutStep = 0.90909094f;
constexpr float kZoomInStep = 1.1f;

QString zoomText(double zoom)
{
    return QString::number(zoom, 'f', 2);
}

} // namespace

DPage::DPage(DView *view, QWidget *parent)
    : QGraphicsScene(nullptr),
      m_parent(parent),
      m_recogChars(QString::fromUtf8(
              "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,?-@:;()+ñ")),
      m_view(view),
      m_pageType(PageTypeColor)
{
    if (m_view->m_scribbleArea)
        m_view->m_scribbleArea->setDpage(this);
    setSceneRect(0, 0, m_view->width(), m_view->height());
    m_savedCenter = sceneRect().center().toPoint();
    m_handwriting = new QHandwritingCustomSupport(this);
    connectRecognition();
    // Steps of the history change what is stored; other changes reach the page as deferred
    // updates (see event()).
    connect(this, &QGraphicsScene::sceneRectChanged, this, [this] { ++m_revision; });
    connect(&m_undoStack, &QUndoStack::indexChanged, this, [this] { ++m_revision; });
    emit updateRes();
}

DPage::~DPage()
{
    // Nothing of a page that is gone can be pasted; first, so that the history below frees an
    // object cut from this page that the clipboard still names.
    releaseClipboardOf(this);
    // Commands go before the objects they point to (the scene deletes those after us).
    m_undoStack.clear();
    emit updateRes();
}

void DPage::addItem(QGraphicsItem *item)
{
    if (!item)
        return;
    if (const auto *drawn = dynamic_cast<const DGPathItem *>(item)) {
        // The last guard: an object whose geometry cannot be drawn never enters a page.
        const QRectF bounds = drawn->path().boundingRect();
        if (!std::isfinite(bounds.x()) || !std::isfinite(bounds.y())
            || !std::isfinite(bounds.width()) || !std::isfinite(bounds.height())) {
            qWarning("DPage::addItem: an object with a non-finite path was refused");
            return;
        }
    }
    item->setZValue(m_zCounter);
    m_zCounter += 1.0f;
    QGraphicsScene::addItem(item);
}

void DPage::keepBackground(std::shared_ptr<HeldPicture> picture, QSize size)
{
    m_keptBackground = std::move(picture);
    m_keptBackgroundSize = size;
    ++m_revision;
}

void DPage::dropKeptBackground()
{
    if (!m_keptBackground)
        return;
    m_keptBackground.reset();
    ++m_revision;
}

void DPage::setPageBackgroundColor(const QColor &colour)
{
    dropKeptBackground();
    setBackgroundBrush(QBrush(colour, Qt::SolidPattern));
    m_pageType = PageTypeColor;
    m_bTransparent = false;
    ++m_revision; // what a save writes of the page, whether or not the scene repaints
}

void DPage::zoomPage(float factor)
{
    m_view->setScale(factor);
    m_zoom = float(m_view->getScale());
}

void DPage::zoomToScale()
{
    const double start = m_view->getScale();
    const QString target = zoomText(m_zoom);
    const bool zoomOut = float(start) >= m_zoom;
    for (int step = 0; step < kMaxZoomSteps; ++step) {
        const double current = m_view->getScale();
        if (zoomText(current) == target)
            return;
        // Stepped past the target without meeting it: it lies off the 1.1 lattice.
        if (step > 0 && (zoomOut ? current < m_zoom : current > m_zoom))
            return;
        m_view->setScale(zoomOut ? 0.9090909090909091 : 1.1);
    }
}

void DPage::saveCurPos()
{
    m_savedCenter = m_view->mapToScene(sceneRect().center().toPoint());
}

void DPage::moveToPos()
{
    m_view->centerOn(m_savedCenter);
}

void DPage::dragPage()
{
    if (m_view->m_scribbleArea->isVisible())
        m_view->setVisibleScribbleArea(false);
    m_view->m_penType[PenUserMain] = BtMenus::btDragPage;
    m_view->setDragMode(QGraphicsView::ScrollHandDrag);
    m_view->setInteractive(false);
}

void DPage::moveBackPage()
{
    m_view->centerOn(sceneRect().center());
    // Both loops are bounded by the zoom floor and the step size; the guards only protect
    // against a view that stops answering to setScale. The view keeps its zoom on whole steps,
    // so the steps meet 100 % itself and end there (not one step past it, nor, as single-
    // precision steps left it, a hair above it).
    int steps = 0;
    if (m_zoom > 1.0f) {
        do
            zoomPage(kZoomOutStep);
        while (m_zoom > 1.0f && ++steps < kMaxZoomSteps);
    }
    if (m_zoom < 1.0f) {
        steps = 0;
        do
            zoomPage(kZoomInStep);
        while (m_zoom < 1.0f && ++steps < kMaxZoomSteps);
    }
}

void DPage::setUndo()
{
    m_undoStack.undo();
    // The overlay's picture of the board is repainted too, ink over the desktop included.
    m_view->refreshOverlay();
    emit updateRes();
}

void DPage::setRedo()
{
    m_undoStack.redo();
    m_view->refreshOverlay();
    emit updateRes();
}

void DPage::forgetItem(const QGraphicsItem *item)
{
    if (m_pDrawItem == item)
        m_bPolygon = false; // the open polygon is gone: the next click starts a new one
    for (QGraphicsItem **last : { &m_pGroupItem, &m_pDrawItem, &m_pTextItem, &m_pPixmapItem,
                                  &m_pGifItem, &m_pSoundItem, &m_pVideoItem }) {
        if (*last == item)
            *last = nullptr;
    }
}

QPixmap DPage::getPagePixmap(int withBackground, QSize size)
{
    const int width = int(sceneRect().width());
    const int height = int(sceneRect().height());
    const QSize target = size.isValid() && !size.isEmpty() ? size : QSize(width, height);
    QPixmap pixmap(target);
    pixmap.fill(QColor(255, 255, 255, 2));
    QPainter painter(&pixmap);
    // Drawn in scene units whatever the size: a smaller picture is the same drawing scaled.
    if (target != QSize(width, height) && width > 0 && height > 0)
        painter.scale(qreal(target.width()) / width, qreal(target.height()) / height);
    if (m_pageType == PageTypeTransparent && withBackground) {
        constexpr int tile = 200;
        for (int x = 0; x < width; x += tile) {
            for (int y = 0; y < height; y += tile) {
                const QColor colour =
                        (x + y) % (2 * tile) == 0 ? QColor(Qt::gray) : QColor(Qt::white);
                painter.setBrush(QBrush(colour, Qt::SolidPattern));
                painter.setPen(QPen(colour, 10, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
                painter.drawRect(x, y, tile, tile);
            }
        }
    }
    painter.setRenderHint(QPainter::Antialiasing);
    m_bDrawingThumbnail = target != QSize(width, height);
    m_bDrawingPicture = true;
    render(&painter, QRectF(0, 0, width, height), sceneRect(), Qt::IgnoreAspectRatio);
    m_bDrawingThumbnail = false;
    m_bDrawingPicture = false;
    painter.setBrush(Qt::NoBrush); // an outline only: the last tile's brush would cover the page
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.end();
    return pixmap;
}

bool DPage::isPaintedForBoard() const
{
    return !m_bDrawingPicture && view() && view()->page() == this;
}

void DPage::drawBackground(QPainter *painter, const QRectF &rect)
{
    if (backgroundBrush().style() != Qt::TexturePattern) {
        QGraphicsScene::drawBackground(painter, rect);
        return;
    }
    // Filtered only: smoothed edges would blend the edge of what is repainted with what lay
    // there before. Saved and restored, not set back: a recording of the page (a QPicture)
    // would carry the hints set back onto the painter that plays it. Zoomed out, or in a
    // thumbnail, the picture is averaged down as any picture shown small.
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setBrushOrigin(0, 0);
    if (!SmoothPicture::fillBackground(painter, rect, backgroundBrush(),
                                       isPaintedForBoard() ? this : nullptr))
        painter->fillRect(rect, backgroundBrush());
    painter->restore();
}

bool DPage::event(QEvent *event)
{
    // Every change of an object or of the background reaches the scene as a deferred call
    // (the scene gathers updates for the next turn of the event loop). Watching the scene's
    // changed() signal instead would switch the view to another way of updating.
    if (event->type() == QEvent::MetaCall)
        ++m_revision;
    return QGraphicsScene::event(event);
}

void DPage::takeDeferredCalls()
{
    // One deferred call may post the next (the scene's pass over its changed objects posts
    // its report of the change): taken until none is left, so that one change is counted now
    // and nothing of it later.
    for (int pass = 0; pass < 8; ++pass) {
        const quint64 before = m_revision;
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
        if (m_revision == before)
            return;
    }
}

quint64 DPage::contentRevision()
{
    // The scene reports its updates from the event loop; those already made are counted now.
    takeDeferredCalls();
    return m_revision;
}

QPixmap DPage::currentThumbnail(QSize size)
{
    if (!m_thumbnail.isNull() && m_thumbnail.size() == size
        && m_thumbnailRevision == contentRevision())
        return m_thumbnail;
    return QPixmap();
}

QPixmap DPage::thumbnail(QSize size)
{
    const quint64 revision = contentRevision();
    if (!m_thumbnail.isNull() && m_thumbnail.size() == size && m_thumbnailRevision == revision)
        return m_thumbnail;
    m_thumbnail = getPagePixmap(1, size);
    ++m_thumbnailRenders;
    forgetDrawingStir(revision);
    m_thumbnailRevision = revision;
    return m_thumbnail;
}

void DPage::forgetDrawingStir(quint64 before)
{
    takeDeferredCalls();
    m_revision = before;
}

void DPage::releaseRenderCaches()
{
    // Giving pictures back asks for repaints, which would count as changes of the page.
    const quint64 before = contentRevision();
    const QList<QGraphicsItem *> all = itemsUnsorted();
    for (QGraphicsItem *item : all) {
        if (auto *path = dynamic_cast<DGPathItem *>(item)) {
            path->releasePictures();
            continue;
        }
        // The toolkit's per-object cache goes with its mode; setting it back draws nothing.
        if (item->cacheMode() == QGraphicsItem::DeviceCoordinateCache) {
            item->setCacheMode(QGraphicsItem::NoCache);
            item->setCacheMode(QGraphicsItem::DeviceCoordinateCache);
        }
    }
    forgetDrawingStir(before);
}

void DPage::dropPicturesUnlessFor(const QTransform &toViewport, const QRect &visible,
                                  bool outOfSightOnly)
{
    const QList<QGraphicsItem *> all = itemsUnsorted();
    for (QGraphicsItem *item : all) {
        DGPathItem *object = DGPathItem::pathObject(item);
        // Zoomed in, a handful of a page's objects have pictures: the rest cost nothing here.
        if (!object || !object->hasRenderCache())
            continue;
        const QTransform shown = object->deviceTransform(toViewport);
        if (outOfSightOnly)
            object->dropPictureOutOfSight(shown, visible);
        else
            object->dropPictureUnlessFor(shown, visible);
    }
#ifdef __GLIBC__
    // Pictures given back, here or by objects drawn afresh while the board was zoomed, stay
    // with the process as free heap unless handed back, which takes a walk over the whole
    // heap: on another thread, when the board zooms or pans or rests after it, once enough has
    // gathered (page changes at one zoom leave it be: the next page's pictures take that heap).
    constexpr qint64 kWorthHandingBack = 16 << 20;
    if (DGPathItem::givenBack() >= kWorthHandingBack) {
        DGPathItem::takeGivenBack();
        QThreadPool::globalInstance()->start([] { malloc_trim(0); });
    }
#endif
}

void DPage::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_view->getPenType(PenUserMain) == BtMenus::btPolygon && m_pDrawItem) {
        m_bPolygon = false;
        m_view->setSelect();
        m_view->setAttribute(Qt::WA_MouseTracking, false);
    }
    QGraphicsScene::mousePressEvent(event);
}

void DPage::recordOperation(BtMenus::eStack op, const QList<QGraphicsItem *> &items,
                            QGraphicsItem *item)
{
    m_bModified = true;
    if (!items.isEmpty()) {
        if (QUndoCommand *command = getCommand(op, item, items))
            m_undoStack.push(command);
    } else if (op == BtMenus::stAdd && item) {
        m_undoStack.push(new AddCommand({ item }, this));
    }
}

QUndoCommand *DPage::getCommand(BtMenus::eStack op, QGraphicsItem *item,
                                const QList<QGraphicsItem *> &items)
{
    switch (op) {
    case BtMenus::stAdd:
        return new AddCommand(items, this);
    case BtMenus::stMove: {
        // Only the object under the pointer followed the mouse itself; the others were moved
        // along by the scene, so all take its delta. Positions are the objects' own, which a
        // turn or scale about their centre leaves alone: a pinch scales and moves at once.
        QPointF delta;
        for (QGraphicsItem *each : items) {
            DCustomItem *object = DCustomItem::fromItem(each);
            if (object && object->m_bMoved) {
                delta = each->pos() - object->m_pressPos;
                object->m_bMoved = false;
            }
        }
        for (QGraphicsItem *each : items) {
            if (DCustomItem *object = DCustomItem::fromItem(each))
                object->m_pressPos = each->pos() - delta;
        }
        return new MoveCommand(items, this);
    }
    case BtMenus::stDelete:
        return new DeleteCommand(items, this);
    case BtMenus::stLock:
        return new LockCommand(items, this);
    case BtMenus::stUnlock:
        return new UnlockCommand(items, this);
    case BtMenus::stTrans:
        return new TransCommand(items, this);
    case BtMenus::stLinks:
        return new LinksCommand(items, this);
    case BtMenus::stColor:
        return new ColorCommand(items, this);
    case BtMenus::stText:
        return new TextCommand(items, this);
    case BtMenus::stAddGroup:
    case BtMenus::stDeleteGroup:
        if (auto *group = dynamic_cast<DGItemGroup *>(item)) {
            if (op == BtMenus::stAddGroup)
                return new AddGCommand(group, items, this);
            return new DeleteGCommand(group, items, this);
        }
        break;
    case BtMenus::stGoToPage:
        break;
    }
    return nullptr;
}

QList<QGraphicsItem *> DPage::validItems(bool all) const
{
    const QList<QGraphicsItem *> candidates = all ? items(Qt::DescendingOrder) : selectedItems();
    QList<QGraphicsItem *> valid;
    for (QGraphicsItem *item : candidates) {
        DCustomItem *object = DCustomItem::fromItem(item);
        if (!object || object->isLocked())
            continue;
        if (item->parentItem() && item->parentItem()->type() == ItemTypeGroup)
            continue;
        valid << item;
    }
    return valid;
}

void DPage::isValidRelease(QPoint point, BtMenus::eStack op)
{
    if (op == BtMenus::stGoToPage) {
        // A link to a page that is not a number reads as page 0, that is index -1.
        if (point.x() >= 0)
            emit goToPage(point.x());
        return;
    }
    // An edit concerns the edited text alone: a locked text is outside the valid selection,
    // and other selected texts must not go back to what they held at their own last edit.
    if (op == BtMenus::stText) {
        if (auto *text = qobject_cast<DGTextItem *>(sender())) {
            recordOperation(op, { text }, nullptr);
            return;
        }
    }
    // Objects report scene positions; the bin is a label on the view.
    if (m_view->m_binLabel->isVisible()
        && m_view->m_binLabel->geometry().contains(m_view->mapFromScene(QPointF(point))))
        return;
    recordOperation(op, validItems(false), nullptr);
}

void DPage::deleteObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (!selection.isEmpty())
        recordOperation(BtMenus::stDelete, selection, nullptr);
}

void DPage::deleteDropped(const QHash<QGraphicsItem *, QPointF> &carriedFrom)
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (selection.isEmpty())
        return;
    m_bModified = true;
    m_undoStack.push(new DeleteCommand(selection, this, carriedFrom));
}

void DPage::lockObj()
{
    const QList<QGraphicsItem *> selection = validItems(false);
    if (!selection.isEmpty())
        recordOperation(BtMenus::stLock, selection, nullptr);
}

QStringList DPage::savePageDataToIWB(QXmlStreamWriter &stream, const QString &dir, int n)
{
    return PageWriter::writePage(*this, stream, dir, n);
}
