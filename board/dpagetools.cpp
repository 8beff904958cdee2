// The page's freehand commit and its pointer tools: what a finished overlay stroke becomes,
// and what a press, drag and release on the page do with the board's current tool.

#include "dpage.h"

#include "boardtypes.h"
#include "dgpathcurveitem.h"
#include "dgpathtableitem.h"
#include "dgpathvertexitem.h"
#include "dgpixmapitem.h"
#include "douglaspeucker.h"
#include "drotateitem.h"
#include "drotateitembutton.h"
#include "drotateitemfocus.h"
#include "dview.h"
#include "dwidget.h"
#include "freehandstroke.h"
#include "scribblearea.h"
#include "shapegeometry.h"

#include <QGraphicsSceneMouseEvent>
#include <QMenu>

#include <cmath>

namespace {

// The radius within which the point eraser rubs out a stroke's points.
constexpr int kPointEraserRadius = 21;
// A click this close to the polygon's first vertex closes it.
constexpr qreal kPolygonCloseDistance = 6.0;
// The fill tool keeps only areas larger than this on both sides (pixels).
constexpr int kMinFillSide = 10;

QPen eraserTrailPen()
{
    return QPen(QBrush(QColor(200, 200, 200, 255), Qt::SolidPattern), 3.0, Qt::SolidLine,
                Qt::SquareCap, Qt::BevelJoin);
}

template <typename Object> void connectReleases(DPage *page, Object *object)
{
    QObject::connect(object, &Object::releaseBt, page, &DPage::isValidRelease);
    object->setFrameReceiver(page);
}

bool isShape(int tool)
{
    return ShapeGeometry::isShapeTool(tool);
}

bool isObjectEraser(int tool)
{
    return tool == BtMenus::btObjectEraser || tool == BtMenus::btEraserUser1
            || tool == BtMenus::btEraserUser3;
}

// Tools whose pointer input the page leaves to the scene: selection, dragging, rubber band.
bool sceneHandles(int tool)
{
    switch (tool) {
    case BtMenus::btPencil:
    case BtMenus::btHighlighter:
    case BtMenus::btTextureBrush:
    case BtMenus::btPen59:
    case BtMenus::btFountainPen:
    case BtMenus::btBrushPen:
    case BtMenus::btRainbowPen:
    case BtMenus::btSmartPen:
    case BtMenus::btBitmapEraser:
    case BtMenus::btText:
    case BtMenus::btTableTool:
    case BtMenus::btTemporaryTool:
    case BtMenus::btPolygon:
    case BtMenus::btFill:
        return false;
    default:
        return !isObjectEraser(tool) && !isShape(tool);
    }
}

// What an eraser stroke may delete: board objects standing on their own, not the members of a
// group or a table, never handles or instruments. Locked objects go too.
QList<QGraphicsItem *> erasable(const QList<QGraphicsItem *> &crossed)
{
    QList<QGraphicsItem *> kept;
    for (QGraphicsItem *item : crossed) {
        const int type = item->type();
        if (type < ItemTypePath || type > ItemTypeGroup)
            continue;
        const QGraphicsItem *parent = item->parentItem();
        if (parent && (parent->type() == ItemTypeGroup || parent->type() == ItemTypeTable))
            continue;
        if (!DCustomItem::fromItem(item))
            continue;
        kept << item;
    }
    return kept;
}

QMenu *frameMenuFor(DView *view, QGraphicsItem *item)
{
    if (item->type() == ItemTypePath) {
        if (auto *curve = dynamic_cast<DGPathCurveItem *>(item))
            return curve->couldFilled() ? view->m_menuVertex : view->m_menuPath;
    }
    return view->m_menuPath;
}

bool finitePoint(const QPointF &point)
{
    return std::isfinite(point.x()) && std::isfinite(point.y());
}

} // namespace

QList<QPointF> DPage::DouglasPeucker(const QList<QPointF> &points, double epsilon)
{
    return DouglasPeucker::simplify(points, epsilon);
}

// ---- Freehand commit ----

QGraphicsItem *DPage::saveToPage(QVector<QPointF> *pts)
{
    if (!pts || pts->isEmpty())
        return nullptr;
    QVector<QPointF> points;
    points.reserve(pts->size());
    for (const QPointF &point : qAsConst(*pts)) {
        if (finitePoint(point))
            points << point;
    }
    if (points.isEmpty())
        return nullptr;

    // The pen user comes from where the stroke began on screen, whatever the zoom: the same
    // half the overlay saw.
    int user = PenUserMain;
    if (m_view->m_bMultiUser) {
        const int half = m_view->width() / 2;
        if (points.first().x() < half)
            user = PenUser1;
        else if (points.first().x() > half)
            user = PenUser3;
    }
    const int tool = m_view->getPenType(user);
    if (tool < BtMenus::btPencil || tool > BtMenus::btSmartPen)
        return nullptr;

    const QVector<QPointF> scaled = FreehandStroke::scaledCopy(points, m_view->getScale());
    const QPainterPath path = FreehandStroke::strokePath(scaled);

    switch (tool) {
    case BtMenus::btEraserUser1:
    case BtMenus::btEraserUser3:
    case BtMenus::btLaserPen:
        return nullptr;
    case BtMenus::btFountainPen:
    case BtMenus::btFountainPenUser1:
    case BtMenus::btFountainPenUser2:
    case BtMenus::btFountainPenUser3: {
        const FreehandStroke::Picture picture =
                FreehandStroke::calligraphic(scaled, path, m_view->getPen(user).color());
        return commitPicture(picture.image, scaled.first(), picture.topLeft);
    }
    case BtMenus::btBrushPen:
    case BtMenus::btRainbowPen: {
        const FreehandStroke::Picture picture =
                FreehandStroke::texture(scaled, path, FreehandStroke::textureStamp());
        return commitPicture(picture.image, scaled.first(), picture.topLeft);
    }
    case BtMenus::btSmartPen:
        if (!DGPathItem::drawsDot(m_view->getPen(PenUserMain)))
            return nullptr; // a pen that leaves no ink leaves no object
        return addCurveItem(FreehandStroke::smartPath(path), m_view->getPen(PenUserMain), 0.0f,
                            BtMenus::btPencil, BtMenus::fnPathViewCoords, QPointF(0, 0), 1.0f,
                            QTransform(), true);
    default: // pencils, highlighters, the texture brush and pen 59: a vector stroke
        if (!DGPathItem::drawsDot(m_view->getPen(user)))
            return nullptr;
        return addCurveItem(path, m_view->getPen(user), 0.0f, BtMenus::btPencil,
                            BtMenus::fnPathViewCoords, QPointF(0, 0), 1.0f, QTransform(), true);
    }
}

// first: the stroke's first point and topLeft the picture's, both in the scaled frame. The
// first point lands where a vector stroke's does, so a picture lies under the stroke drawn at
// any zoom and pan.
QGraphicsItem *DPage::commitPicture(const QImage &picture, const QPointF &first,
                                    const QPointF &topLeft)
{
    if (picture.isNull())
        return nullptr;
    return addPixmapItem(QPixmap::fromImage(picture), freehandAnchor(first) + (topLeft - first),
                         0.0f, 1.0f, QTransform(), true);
}

QPointF DPage::freehandAnchor(const QPointF &scaledFirst) const
{
    return m_view->mapToScene(roundedHalfUp(scaledFirst).toPoint());
}

QTransform DPage::freehandFrameToScene(const QPointF &first) const
{
    const QPointF scaledFirst = FreehandStroke::scaledPoint(first, first, m_view->getScale());
    const QPointF shift = freehandAnchor(scaledFirst) - scaledFirst;
    return QTransform::fromTranslate(shift.x(), shift.y());
}

QTransform DPage::freehandToScene(const QPointF &first) const
{
    const double zoom = m_view->getScale();
    const QPointF anchor = freehandAnchor(FreehandStroke::scaledCopy({ first }, zoom).first());
    return QTransform(1 / zoom, 0, 0, 1 / zoom, anchor.x() - first.x() / zoom,
                      anchor.y() - first.y() / zoom);
}

// ---- Pointer tools ----

void DPage::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->buttons() == Qt::RightButton) {
        QGraphicsScene::mousePressEvent(event);
        return;
    }
    if (event->buttons() != Qt::LeftButton)
        return;
    const int tool = m_view->getPenType(PenUserMain);
    // An open polygon keeps its object from click to click.
    if (!(tool == BtMenus::btPolygon && m_bPolygon))
        m_pDrawItem = nullptr;
    const QPointF point = event->scenePos();
    m_toolPressPos = point;
    // Handled here unless the scene's own handling runs below: the view must not start a
    // rubber band (and clear the selection) over a press a tool has taken.
    event->accept();

    if (tool == BtMenus::btBitmapEraser || isObjectEraser(tool)) {
        // Every eraser stroke starts afresh: an earlier stroke's path must not delete again.
        m_eraserPath = QPainterPath(point);
        m_view->m_eraserTrail->show();
        m_view->m_eraserTrail->raise();
        m_view->m_eraserTrail->mousePress(m_view->mapFromScene(point), eraserTrailPen());
        return;
    }
    if (tool == BtMenus::btTableTool) {
        auto *table = new DGPathTableItem(m_view->m_tableRows, m_view->m_tableColumns, point,
                                          QPen(Qt::black), nullptr);
        table->resetPath();
        connectReleases(this, table);
        m_pDrawItem = table;
        recordOperation(BtMenus::stAdd, {}, table);
        return;
    }
    if (isShape(tool)) {
        auto *shape = new DGPathCurveItem(point, m_view->m_penShape,
                                          static_cast<BtMenus::btType>(tool), nullptr);
        // Wired from the start, so a drag that ends with another button still reports its
        // later moves and lock changes.
        connectReleases(this, shape);
        m_pDrawItem = shape;
        recordOperation(BtMenus::stAdd, {}, shape);
        shape->setRedrawAlways(true);
        return;
    }
    if (tool == BtMenus::btPolygon) {
        m_view->setAttribute(Qt::WA_MouseTracking, true);
        if (!m_bPolygon || !m_pDrawItem) {
            m_path = QPainterPath(QPointF(0, 0));
            auto *polygon = new DGPathVertexItem(point, m_view->m_penShape, nullptr);
            polygon->setPath(m_path);
            connectReleases(this, polygon);
            m_pDrawItem = polygon;
            addItem(polygon);
            m_bPolygon = true;
            return;
        }
        auto *polygon = static_cast<DGPathVertexItem *>(m_pDrawItem);
        const QPointF vertex = polygon->mapFromScene(point);
        if (QLineF(QPointF(0, 0), vertex).length() < kPolygonCloseDistance) {
            m_path.lineTo(0, 0);
            m_bPolygon = false;
            m_view->setSelect();
            m_view->setAttribute(Qt::WA_MouseTracking, false);
            polygon->setSelected(true);
        } else {
            m_path.lineTo(vertex);
        }
        polygon->setPath(m_path);
        return;
    }
    if (tool == BtMenus::btFill) {
        const QImage board = m_view->viewport()->grab().toImage();
        QPoint corner(0, 0);
        const QImage area = FillShapeArea(board, m_view->mapFromScene(point),
                                          m_view->m_penShape.color(), &corner);
        if (area.width() > kMinFillSide && area.height() > kMinFillSide) {
            auto *picture = new DGPixmapItem(m_view->mapToScene(corner), QPixmap::fromImage(area));
            connectReleases(this, picture);
            m_pPixmapItem = picture;
            addItem(picture);
            picture->setFrameMenu(m_view->m_menuGeneric);
        }
        return;
    }
    if (sceneHandles(tool))
        QGraphicsScene::mousePressEvent(event);
}

void DPage::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const int tool = m_view->getPenType(PenUserMain);
    const QPointF point = event->scenePos();

    if (tool == BtMenus::btBitmapEraser) {
        // The strokes the trail has crossed so far, before this point joins it.
        const QList<QGraphicsItem *> crossed =
                items(m_eraserPath, Qt::IntersectsItemShape, Qt::DescendingOrder);
        for (QGraphicsItem *item : crossed) {
            if (item->type() != ItemTypePath)
                continue;
            auto *stroke = dynamic_cast<DGPathItem *>(item);
            if (!stroke)
                continue;
            const int before = stroke->erased().size();
            stroke->erasePointF(item->mapFromScene(point), kPointEraserRadius);
            if (stroke->erased().size() != before)
                setModified(true); // erasing is work to save, though it is not undoable
        }
    }
    if (tool == BtMenus::btBitmapEraser || isObjectEraser(tool)) {
        m_eraserPath.lineTo(point);
        m_view->m_eraserTrail->mouseMove(m_view->mapFromScene(point));
        return;
    }
    if (tool == BtMenus::btTableTool) {
        if (auto *table = dynamic_cast<DGPathTableItem *>(m_pDrawItem)) {
            const QPointF size = point - m_toolPressPos;
            QPainterPath outline;
            outline.addRect(QRectF(0, 0, size.x(), size.y()).normalized());
            table->setPath(outline);
            table->resetPath();
        }
        return;
    }
    if (tool == BtMenus::btTemporaryTool) {
        if (auto *drawn = dynamic_cast<DGPathItem *>(m_pDrawItem)) {
            QPainterPath line(QPointF(0, 0));
            line.lineTo(point.x() - m_toolPressPos.x(), 0);
            drawn->setPath(line);
        }
        return;
    }
    if (isShape(tool)) {
        auto *shape = dynamic_cast<DGPathCurveItem *>(m_pDrawItem);
        if (!shape)
            return;
        shape->setPath(ShapeGeometry::pathFor(tool, m_toolPressPos, point, shape));
        if (ShapeGeometry::takesFill(tool)) {
            shape->setGradColor(m_view->getShapeFillPen().color());
            fillFigure();
        }
        return;
    }
    if (tool == BtMenus::btPolygon) {
        if (auto *polygon = dynamic_cast<DGPathVertexItem *>(m_pDrawItem)) {
            QPainterPath rubberBand = m_path;
            rubberBand.lineTo(polygon->mapFromScene(point));
            polygon->setPath(rubberBand);
            polygon->setGradColor(m_view->getShapeFillPen().color());
            fillFigure();
        }
        return;
    }
    if (sceneHandles(tool))
        QGraphicsScene::mouseMoveEvent(event);
}

void DPage::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QGraphicsScene::mouseReleaseEvent(event);
        m_pDrawItem = nullptr;
        return;
    }
    releaseTool(m_view->getPenType(PenUserMain), event);
}

void DPage::releaseTool(int tool, QGraphicsSceneMouseEvent *event)
{
    if (isObjectEraser(tool)) {
        const QList<QGraphicsItem *> doomed =
                erasable(items(m_eraserPath, Qt::IntersectsItemShape, Qt::DescendingOrder));
        if (!doomed.isEmpty())
            recordOperation(BtMenus::stDelete, doomed, nullptr);
        m_view->m_eraserTrail->hide();
        // After a hand laid flat the board goes back to the tool it had.
        const int before = m_view->m_scribbleArea->toolBeforePalm();
        if (before != BtMenus::btObjectEraser)
            emit selectBt(static_cast<BtMenus::btType>(before));
    } else if (tool == BtMenus::btText) {
        addTextItem(QStringLiteral("text"), QFont(QStringLiteral("Arial"), 25), event->scenePos(),
                    0.0f, 1.0f, QTransform(), true);
        m_view->setSelect();
    } else if (tool == BtMenus::btTableTool) {
        if (auto *table = dynamic_cast<DGPathTableItem *>(m_pDrawItem)) {
            // Recorded once, at the press: a second record would leave an undo step that
            // removes nothing.
            table->resetPath();
            m_view->setSelect();
        }
    } else if (tool == BtMenus::btTemporaryTool) {
        if (m_pDrawItem) {
            // Nothing saves another tool before this one is chosen: back to selecting.
            m_view->m_penType[PenUserMain] = BtMenus::btSelect;
            m_view->setDragMode(QGraphicsView::RubberBandDrag);
            m_view->setCursor(Qt::ArrowCursor);
            return;
        }
        QGraphicsScene::mouseReleaseEvent(event);
        m_pDrawItem = nullptr;
        return;
    } else if (isShape(tool)) {
        if (auto *shape = dynamic_cast<DGPathCurveItem *>(m_pDrawItem)) {
            if (shape->path().elementCount() == 0) {
                // A click without a drag: nothing to keep on the page. The addition stays in
                // the history; redoing here changes nothing while it is the newest step.
                removeItem(shape);
                m_undoStack.redo();
            } else {
                shape->setRedrawAlways(false);
                shape->setFrameMenu(frameMenuFor(m_view, shape));
            }
        }
    } else if (tool == BtMenus::btFill) {
        m_view->setCursor(Qt::ArrowCursor);
        clearSelection();
        m_view->setDragMode(QGraphicsView::RubberBandDrag);
        m_view->setSelect();
    }
    defaultRelease(event);
}

void DPage::defaultRelease(QGraphicsSceneMouseEvent *event)
{
    if (m_pDrawItem) {
        if (DCustomItem *object = DCustomItem::fromItem(m_pDrawItem)) {
            object->setFrameMenu(frameMenuFor(m_view, m_pDrawItem));
        }
    }
    QGraphicsScene::mouseReleaseEvent(event);
    // An open polygon stays the object being drawn until it is closed.
    if (!m_bPolygon)
        m_pDrawItem = nullptr;
}
