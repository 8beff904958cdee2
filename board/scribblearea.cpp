#include "scribblearea.h"

#include "boardtypes.h"
#include "dcustomitem.h"
#include "dgpathitem.h"
#include "dpage.h"
#include "dview.h"
#include "freehandstroke.h"
#include "smoothpicture.h"

#include <QDebug>
#include <QGraphicsItem>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <QScreen>
#include <QStyleOptionGraphicsItem>
#include <QTouchEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// A hand laid flat: the fifth finger down, all five within these shares of the screen.
constexpr int kPalmTouches = 5;
constexpr qreal kPalmWidthShare = 0.15;
constexpr qreal kPalmHeightShare = 0.25;
// How far around a segment the live ink may reach (stamps hang 20 pixels from the point).
constexpr int kInkMargin = 30;
constexpr qreal kTextureBrushSpacing = 30.0;
constexpr qreal kRainbowSpacing = 6.0;

// The overlays shown now, and the toolkit's merging as it was before the first of them showed:
// the merging is the whole program's.
int g_overlaysShown = 0;
bool g_mergedMotion = true;
bool g_mergedTabletMotion = false;

QRect segmentArea(QPointF from, QPointF to, int margin = kInkMargin)
{
    const QPoint topLeft(qRound(qMin(from.x(), to.x())), qRound(qMin(from.y(), to.y())));
    const QPoint bottomRight(qRound(qMax(from.x(), to.x())), qRound(qMax(from.y(), to.y())));
    return QRect(topLeft, bottomRight).adjusted(-margin, -margin, margin, margin);
}

// The screen pixels to repaint for stamps covering stamped, a rectangle of the stroke's frame.
// Filtered, as on an enlarged board, a stamp's edge spreads over one of its pixels more.
QRect shownArea(const QTransform &toOverlay, const QRect &stamped)
{
    const int spread = 2 + int(std::ceil(std::max(toOverlay.m11(), toOverlay.m22())));
    return toOverlay.mapRect(QRectF(stamped)).toAlignedRect().adjusted(-spread, -spread, spread,
                                                                        spread);
}

QRectF grown(const QRectF &bounds, const QPointF &point)
{
    return QRectF(QPointF(qMin(bounds.left(), point.x()), qMin(bounds.top(), point.y())),
                  QPointF(qMax(bounds.right(), point.x()), qMax(bounds.bottom(), point.y())));
}

bool onLeft(int tool)
{
    return tool == BtMenus::btPencilUser1 || tool == BtMenus::btHighlighterUser1
            || tool == BtMenus::btFountainPenUser1;
}

bool onRight(int tool)
{
    return tool == BtMenus::btPencilUser3 || tool == BtMenus::btHighlighterUser3
            || tool == BtMenus::btFountainPenUser3;
}

// Whether an item leaves any mark: the frame of an object is an empty path whose handles
// and buttons show only while selected, locked or linked.
bool showsAnything(const QGraphicsItem *item)
{
    if (!item->isVisible())
        return false;
    if (!item->boundingRect().isEmpty())
        return true;
    const QList<QGraphicsItem *> children = item->childItems();
    return std::any_of(children.cbegin(), children.cend(), showsAnything);
}

} // namespace

ScribbleArea::ScribbleArea(QWidget *parent)
    : QWidget(parent),
      m_canvas(parent->width(), parent->height()),
      m_ink(parent->width(), parent->height()),
      m_brushStamp(FreehandStroke::textureStamp())
{
    setAttribute(Qt::WA_AcceptTouchEvents);
    m_canvas.fill(QColor(0, 0, 0, 0));
    m_ink.fill(Qt::transparent);
}

ScribbleArea::~ScribbleArea()
{
    keepEveryMotion(false);
}

void ScribbleArea::keepEveryMotion(bool keep)
{
    if (keep == m_keepsEveryMotion)
        return;
    m_keepsEveryMotion = keep;
    // The toolkit merges the pointer moves that queue up between two turns of the event loop
    // into the last one. The moves of a stroke can queue before its press reaches the overlay, so
    // the merging is off for as long as the overlay waits for ink, not only while a stroke runs;
    // a fast W would otherwise land as a straight line. With no ink to draw it is on again: the
    // board repaints the scene for each move of a drag, and merged moves keep it from falling
    // behind the pointer.
    if (keep && g_overlaysShown++ == 0) {
        g_mergedMotion = QCoreApplication::testAttribute(Qt::AA_CompressHighFrequencyEvents);
        g_mergedTabletMotion = QCoreApplication::testAttribute(Qt::AA_CompressTabletEvents);
        QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
        QCoreApplication::setAttribute(Qt::AA_CompressTabletEvents, false);
    } else if (!keep && --g_overlaysShown == 0) {
        QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, g_mergedMotion);
        QCoreApplication::setAttribute(Qt::AA_CompressTabletEvents, g_mergedTabletMotion);
    }
}

void ScribbleArea::pinta()
{
    m_canvas = QPixmap(m_canvas.size());
    m_canvas.fill(QColor(0, 0, 0, 0));
    clearInk();
}

void ScribbleArea::clearInk()
{
    if (m_inkArea.isEmpty())
        return;
    QPainter painter(&m_ink);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(m_inkArea, Qt::transparent);
    painter.end();
    m_layers.clear();
    update(m_inkArea);
    m_inkArea = QRect();
}

ScribbleArea::Layer &ScribbleArea::layer(int id)
{
    auto found = m_layers.find(id);
    if (found == m_layers.end()) {
        found = m_layers.insert(id, Layer{ QPixmap(m_ink.size()), {}, {}, {}, {}, {} });
        found->ink.fill(Qt::transparent);
    }
    return *found;
}

void ScribbleArea::closeLayer(int id)
{
    const Layer closed = m_layers.take(id);
    if (closed.ink.isNull() && closed.frame.isNull())
        return;
    QPainter painter(&m_ink);
    paintLayer(&painter, closed, m_inkArea);
}

void ScribbleArea::paintLayer(QPainter *painter, const Layer &layer, const QRect &area) const
{
    const QRect shown = layer.shown.isNull() ? area : layer.shown & area;
    if (shown.isEmpty())
        return;
    if (layer.frame.isNull()) {
        painter->drawPixmap(shown, layer.ink, shown);
        return;
    }
    painter->save();
    painter->setClipRect(shown);
    painter->setTransform(QTransform::fromTranslate(layer.frameOrigin.x(), layer.frameOrigin.y())
                          * layer.frameToOverlay);
    SmoothPicture::draw(painter, QRectF(QPointF(), layer.frame.size()), layer.frame);
    painter->restore();
}

void ScribbleArea::layStamps(int id, const StampSegment &segment, const QImage &stamp,
                             const QPointF &again, bool ownLayer)
{
    const auto stamps = [&](QPainter &painter) {
        FreehandStroke::stampAt(painter, stamp, again);
        FreehandStroke::stampAlong(painter, stamp, segment.from, segment.to);
    };
    if (!(m_dview->getScale() > 1.0)) {
        QPainter painter(ownLayer ? &layer(id).ink : &m_ink);
        painter.setTransform(segment.toOverlay);
        stamps(painter);
        return;
    }
    // Stamped at screen size, the stamps of an enlarged board show hard where the picture
    // they become shows filtered: they are laid on the picture's own pixels instead.
    auto found = m_layers.find(id);
    if (found == m_layers.end()) {
        // The whole overlay in the stroke's frame: the stroke may go anywhere on it. The
        // margin holds the stamps that hang over its edge.
        constexpr int kFrameMargin = 24;
        const QRect frame = segment.toOverlay.inverted()
                                    .mapRect(QRectF(rect()))
                                    .toAlignedRect()
                                    .adjusted(-kFrameMargin, -kFrameMargin, kFrameMargin,
                                              kFrameMargin);
        Layer layer;
        layer.frame = QImage(frame.size(), QImage::Format_ARGB32_Premultiplied);
        layer.frame.fill(Qt::transparent);
        layer.frameOrigin = frame.topLeft();
        layer.frameToOverlay = segment.toOverlay;
        found = m_layers.insert(id, layer);
    }
    QPainter painter(&found->frame);
    painter.translate(-found->frameOrigin);
    stamps(painter);
}

QGraphicsItem *ScribbleArea::saveToPage(QVector<QPointF> *pts)
{
    if (!pts || pts->isEmpty() || !m_dview)
        return nullptr;
    if (DPage *page = m_dview->page())
        return page->saveToPage(pts);
    return nullptr;
}

int ScribbleArea::strokeTool(int id) const
{
    return m_dview->getPenType(m_touchUsers.value(id, PenUserMain));
}

int ScribbleArea::half() const
{
    return m_dview->m_boardRect.width() / 2;
}

// ---- Stroke actions ----

void ScribbleArea::pressAction(int id, QPointF p)
{
    int user = PenUserMain;
    if (m_dview->m_bMultiUser)
        user = p.x() < width() / 2 ? PenUser1 : PenUser3;
    m_touchUsers.insert(id, user);
    emit signals_touchEvent();
    m_touchStrokes.insert(id, QVector<QPointF>{ p });
    update(QRect(qRound(p.x() - 40), qRound(p.y() - 40), 80, 80));
    // The lasso starts where the finger went down, not at the corner of the board.
    m_lassoPath = QPainterPath(p);
}

void ScribbleArea::moveAction(int id, QPointF p)
{
    const auto stroke = m_touchStrokes.constFind(id);
    if (stroke == m_touchStrokes.constEnd() || stroke->isEmpty())
        return;
    const int tool = strokeTool(id);
    const int middle = half();
    switch (tool) {
    case BtMenus::btPencil:
    case BtMenus::btHighlighter:
    case BtMenus::btSmartPen:
        drawLine(id, p);
        break;
    case BtMenus::btPencilUser1:
    case BtMenus::btHighlighterUser1:
        if (p.x() < middle)
            drawLine(id, p);
        break;
    case BtMenus::btPencilUser3:
    case BtMenus::btHighlighterUser3:
        if (p.x() > middle)
            drawLine(id, p);
        break;
    case BtMenus::btTextureBrush:
        drawObject(id, p);
        break;
    case BtMenus::btFountainPen:
        drawSoftPen(id, p);
        break;
    case BtMenus::btFountainPenUser1:
        if (p.x() < middle)
            drawSoftPen(id, p);
        break;
    case BtMenus::btFountainPenUser3:
        if (p.x() > middle)
            drawSoftPen(id, p);
        break;
    case BtMenus::btEraserUser1:
    case BtMenus::btEraserUser3:
        m_lassoPath.lineTo(p);
        break;
    case BtMenus::btBrushPen:
        drawBrushPen(id, p);
        break;
    case BtMenus::btRainbowPen:
        drawRainbowPen(id, p);
        break;
    default:
        break; // the pens of user 2, the laser pen and every other tool leave no ink
    }
}

void ScribbleArea::releaseAction(int id, QPointF p)
{
    const int tool = strokeTool(id);
    const int middle = half();
    if ((tool == BtMenus::btEraserUser1 && p.x() < middle)
        || (tool == BtMenus::btEraserUser3 && p.x() > middle)) {
        eraseInsideLasso(tool, middle);
        m_touchStrokes.remove(id);
        m_touchUsers.remove(id);
        return;
    }
    auto stroke = m_touchStrokes.find(id);
    if (stroke != m_touchStrokes.end()) {
        if (tool == BtMenus::btPencil || tool == BtMenus::btHighlighter
            || tool == BtMenus::btFountainPen || (onLeft(tool) && p.x() < middle)
            || (onRight(tool) && p.x() > middle))
            stroke->append(p);
        m_finishedStrokes.append(std::move(*stroke));
        m_touchStrokes.erase(stroke);
    }
    closeLayer(id);
    m_touchUsers.remove(id);
}

void ScribbleArea::eraseInsideLasso(int tool, int middle)
{
    DPage *page = m_dview->page(); // the page on screen, not the newest one
    if (!page)
        return;
    const QPainterPath lasso = m_dview->mapToScene(m_lassoPath);
    QList<QGraphicsItem *> doomed;
    for (QGraphicsItem *item :
         page->items(lasso, Qt::IntersectsItemShape, Qt::DescendingOrder, QTransform())) {
        // Board objects only: frames, handles and instruments are not the user's to erase
        // here, and members of groups and tables go with their whole.
        if (!isBoardObjectType(item->type()) || !DCustomItem::fromItem(item))
            continue;
        const QGraphicsItem *parent = item->parentItem();
        if (parent && (parent->type() == ItemTypeGroup || parent->type() == ItemTypeTable))
            continue;
        const qreal x = m_dview->mapFromScene(item->scenePos()).x();
        if ((tool == BtMenus::btEraserUser1 && x > middle)
            || (tool == BtMenus::btEraserUser3 && x < middle))
            continue; // the other user's half
        doomed << item;
    }
    if (!doomed.isEmpty()) {
        page->recordOperation(BtMenus::stDelete, doomed, nullptr);
        m_dview->m_bRefreshOverlay = true; // the picture still shows what was erased
    }
}

QList<QGraphicsItem *> ScribbleArea::commitFinished()
{
    // Taken first: a commit that hides the overlay comes back here and must find nothing.
    QList<QVector<QPointF>> finished = std::exchange(m_finishedStrokes, {});
    QList<QGraphicsItem *> committed;
    for (QVector<QPointF> &stroke : finished) {
        if (QGraphicsItem *item = saveToPage(&stroke))
            committed << item;
    }
    return committed;
}

void ScribbleArea::refreshCanvas()
{
    // The hide asks the view for a new picture of the board; the show clears the canvas for it.
    hide();
    show();
}

void ScribbleArea::settleInk(const QList<QGraphicsItem *> &committed)
{
    // Drawing only the new objects over the picture already held keeps a stroke's release
    // from costing a redraw of the whole page.
    bool settled = isVisible() && m_dview && !m_dview->m_bRefreshOverlay;
    for (QGraphicsItem *item : committed) {
        if (!settled)
            break;
        settled = paintOnBoard(item);
    }
    clearInk();
    if (!settled)
        refreshCanvas();
}

bool ScribbleArea::paintOnBoard(QGraphicsItem *item)
{
    // Only a plain object on top of the page is drawn here; anything with visible parts of
    // its own (handles, buttons, members) is left to a full redraw.
    if (!item || item->scene() != m_dview->scene() || item->parentItem() || !item->isVisible())
        return false;
    QStyleOptionGraphicsItem option;
    option.exposedRect = item->boundingRect();
    option.rect = option.exposedRect.toAlignedRect();
    option.state = QStyle::State_None;
    if (item->isEnabled())
        option.state |= QStyle::State_Enabled;
    if (item->isSelected())
        option.state |= QStyle::State_Selected;
    const QTransform toView = item->sceneTransform() * m_dview->sceneToOverlay();
    QPainter painter(&m_canvas);
    painter.setRenderHints(m_dview->renderHints());
    painter.setOpacity(item->effectiveOpacity());
    painter.setTransform(toView);
    // A stroke or shape looks as the board shows it, from a picture of the scale shown: drawn
    // straight at that scale, its picture waiting for the board's next need.
    if (auto *drawn = dynamic_cast<DGPathItem *>(item))
        drawn->paintWithoutCache(&painter, &option);
    else
        item->paint(&painter, &option, nullptr);
    painter.end();
    // Checked after the paint, which lays the object's frame out.
    const QList<QGraphicsItem *> children = item->childItems();
    for (const QGraphicsItem *child : children) {
        if (showsAnything(child))
            return false;
    }
    update(toView.mapRect(item->boundingRect()).toAlignedRect().adjusted(-2, -2, 2, 2));
    return true;
}

// ---- Live drawing ----

void ScribbleArea::keepPoint(int id, QPointF p, const QRect &area)
{
    m_inkArea |= area;
    update(area);
    m_touchStrokes[id].append(p);
}

void ScribbleArea::drawLine(int id, QPointF p)
{
    const QPointF first = m_touchStrokes.value(id).first();
    const QPointF last = m_touchStrokes.value(id).last();
    const DPage *page = m_dview->page();
    if (!page) {
        keepPoint(id, p, segmentArea(last, p));
        return; // no page to take the stroke, so no ink to show
    }
    // Drawn in the scene, where the page will lay the stroke, so that the pen is as wide as
    // the board's zoom makes the stroke, not as wide in screen pixels.
    const QTransform toScene = page->freehandToScene(first);
    const QTransform toOverlay = m_dview->sceneToOverlay();
    const QPen pen = m_dview->getPen(m_touchUsers.value(id, PenUserMain));
    const bool translucent = pen.color().alpha() < 255;
    QPainter painter(translucent ? &layer(id).ink : &m_ink);
    // Each segment replaces what the stroke's own layer holds under it: where segments
    // overlap, the ink is as dense as the one stroke the page will draw.
    if (translucent)
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setTransform(toOverlay);
    painter.setPen(pen);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawLine(toScene.map(last), toScene.map(p));
    painter.end();
    const qreal scale = std::sqrt(std::abs(toOverlay.determinant()));
    const int margin = qMax(kInkMargin, int(std::ceil(pen.widthF() * scale)) + 2);
    const QTransform toShown = toScene * toOverlay;
    keepPoint(id, p, segmentArea(toShown.map(last), toShown.map(p), margin));
}

void ScribbleArea::drawObject(int id, QPointF p)
{
    const QPointF last = m_touchStrokes.value(id).last();
    if (!(QLineF(last, p).length() > kTextureBrushSpacing))
        return;
    QPainter painter(&m_ink);
    painter.drawPixmap(p - QPointF(10, 10), m_softStamp);
    painter.end();
    keepPoint(id, p, segmentArea(last, p));
}

ScribbleArea::StampSegment ScribbleArea::stampSegment(int id, QPointF p, const DPage &page) const
{
    const QPointF first = m_touchStrokes.value(id).first();
    const double zoom = m_dview->getScale();
    return { FreehandStroke::scaledPoint(first, first, zoom),
             FreehandStroke::scaledPoint(m_touchStrokes.value(id).last(), first, zoom),
             FreehandStroke::scaledPoint(p, first, zoom),
             page.freehandFrameToScene(first) * m_dview->sceneToOverlay() };
}

void ScribbleArea::drawSoftPen(int id, QPointF p)
{
    const QImage nib =
            FreehandStroke::nib(m_dview->getPen(m_touchUsers.value(id, PenUserMain)).color());
    m_softStamp = QPixmap::fromImage(nib); // the texture brush stamps the nib last made
    const DPage *page = m_dview->page();
    if (!page) {
        keepPoint(id, p, segmentArea(m_touchStrokes.value(id).last(), p));
        return;
    }
    // The nib shows as large as it lands, on the pixels it lands on.
    const StampSegment segment = stampSegment(id, p, *page);
    layStamps(id, segment, nib, segment.to, false);
    const QRect stamped = FreehandStroke::stampRect(nib, segment.from)
            | FreehandStroke::stampRect(nib, segment.to);
    keepPoint(id, p, shownArea(segment.toOverlay, stamped));
}

void ScribbleArea::drawBrushPen(int id, QPointF p)
{
    drawTexture(id, p);
}

void ScribbleArea::drawRainbowPen(int id, QPointF p)
{
    if (!(QLineF(m_touchStrokes.value(id).last(), p).length() > kRainbowSpacing))
        return;
    drawTexture(id, p);
}

void ScribbleArea::drawTexture(int id, QPointF p)
{
    const DPage *page = m_dview->page();
    if (!page) {
        keepPoint(id, p, segmentArea(m_touchStrokes.value(id).last(), p));
        return;
    }
    // The stamps in the page's order: the first point's again before each segment.
    const StampSegment segment = stampSegment(id, p, *page);
    layStamps(id, segment, m_brushStamp, segment.start, true);
    Layer &stroke = m_layers[id];
    // The picture keeps only a margin around the points: the layer shows as much, and what
    // the stroke uncovers as that margin grows.
    if (stroke.stamped.isNull())
        stroke.stamped = QRectF(segment.start, QSizeF());
    stroke.stamped = grown(stroke.stamped, segment.to);
    const QRect region = FreehandStroke::textureRegion(stroke.stamped.toRect());
    const QRect shown = segment.toOverlay.mapRect(QRectF(region)).toRect();
    update(QRegion(shown).subtracted(QRegion(stroke.shown)));
    stroke.shown = shown;
    const QRect stamped = FreehandStroke::stampRect(m_brushStamp, segment.start)
            | FreehandStroke::stampRect(m_brushStamp, segment.from)
            | FreehandStroke::stampRect(m_brushStamp, segment.to);
    keepPoint(id, p, shownArea(segment.toOverlay, stamped));
}

// ---- Mouse ----

void ScribbleArea::mousePressEvent(QMouseEvent *event)
{
    if ((event->buttons() & Qt::LeftButton) && m_inputMode == Idle) {
        pressAction(kMouseId, QPointF(event->pos()));
        m_inputMode = MouseStroke;
    }
    QWidget::mousePressEvent(event);
}

void ScribbleArea::mouseMoveEvent(QMouseEvent *event)
{
    if ((event->buttons() & Qt::LeftButton) && m_inputMode == MouseStroke)
        moveAction(kMouseId, QPointF(event->pos()));
    QWidget::mouseMoveEvent(event);
}

void ScribbleArea::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_inputMode == MouseStroke) {
        releaseAction(kMouseId, QPointF(event->pos()));
        const QList<QGraphicsItem *> committed = commitFinished();
        if (m_touchUsers.isEmpty())
            settleInk(committed);
        m_inputMode = Idle;
    }
    QWidget::mouseReleaseEvent(event);
}

// ---- Touch ----

bool ScribbleArea::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return touchEvent(static_cast<QTouchEvent *>(event));
    case QEvent::TouchCancel:
        cancelTouches();
        return true;
    default:
        return QWidget::event(event);
    }
}

bool ScribbleArea::touchEvent(QTouchEvent *event)
{
    const QList<QTouchEvent::TouchPoint> points = event->touchPoints();
    for (const QTouchEvent::TouchPoint &point : points) {
        const int id = point.id();
        const QPointF pos = point.pos();
        switch (point.state()) {
        case Qt::TouchPointPressed:
            if (m_inputMode == MouseStroke) {
                // A finger wins over the mouse: the mouse stroke is dropped, not committed.
                closeLayer(kMouseId);
                m_touchStrokes.remove(kMouseId);
                m_touchUsers.remove(kMouseId);
                ++m_touchCount;
                pressAction(id, pos);
                m_inputMode = Touching;
                break;
            }
            ++m_touchCount;
            pressAction(id, pos);
            m_inputMode = Touching;
            m_toolBeforePalm = BtMenus::btObjectEraser;
            if (m_touchCount == kPalmTouches && !m_dview->m_bMultiUser) {
                QList<QPointF> positions;
                for (const QTouchEvent::TouchPoint &each : points)
                    positions << each.pos();
                detectPalm(positions);
            }
            break;
        case Qt::TouchPointMoved:
            if (m_inputMode == Touching)
                moveAction(id, pos);
            break;
        case Qt::TouchPointReleased:
            if (m_inputMode != Touching)
                break;
            if (m_touchCount > 1) {
                --m_touchCount;
                releaseAction(id, pos);
                break;
            }
            m_touchCount = 0;
            releaseAction(id, pos);
            if (isVisible()) {
                settleInk(commitFinished());
            } else {
                m_finishedStrokes.clear();
            }
            m_inputMode = Idle;
            break;
        default:
            break;
        }
    }
    return true;
}

void ScribbleArea::cancelTouches()
{
    // The system took the fingers away: open strokes are dropped, finished ones kept, and the
    // overlay is ready for the mouse and new touches again.
    m_touchStrokes.clear();
    m_touchUsers.clear();
    m_layers.clear();
    m_touchCount = 0;
    m_inputMode = Idle;
    if (isVisible()) {
        commitFinished();
        refreshCanvas();
    } else {
        m_finishedStrokes.clear();
    }
}

void ScribbleArea::detectPalm(const QList<QPointF> &positions)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen || positions.isEmpty())
        return;
    const QRect screenArea = screen->geometry();
    if (screenArea.width() <= 0 || screenArea.height() <= 0)
        return;
    const QRectF hand = QPolygonF(positions.toVector()).boundingRect();
    const qreal sz = hand.width() / screenArea.width();
    const qreal scSz = hand.height() / screenArea.height();
    qDebug() << "sz:" << sz;
    qDebug() << "scSz:" << scSz;
    if (sz < kPalmWidthShare && scSz < kPalmHeightShare) {
        m_toolBeforePalm = m_dview->m_penType[PenUserMain];
        m_dview->setEraser(BtMenus::btObjectEraser, PenUserMain);
    }
}

// ---- Painting ----

void ScribbleArea::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawPixmap(area, m_canvas, area);
    if (!m_inkArea.intersects(area))
        return;
    painter.drawPixmap(area, m_ink, area);
    for (const Layer &layer : qAsConst(m_layers))
        paintLayer(&painter, layer, area);
}

void ScribbleArea::showEvent(QShowEvent *event)
{
    m_canvas.fill(QColor(0, 0, 0, 0)); // the view renders the board into it on its next paint
    clearInk();
    keepEveryMotion(true);
    QWidget::showEvent(event);
}

void ScribbleArea::hideEvent(QHideEvent *event)
{
    commitFinished();
    if (m_dview)
        m_dview->m_bRefreshOverlay = true;
    keepEveryMotion(false);
    QWidget::hideEvent(event);
}
