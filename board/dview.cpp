#include "dview.h"

#include "boardpictures.h"
#include "dcustomitem.h"
#include "dpage.h"
#include "drotateitem.h"
#include "dwidget.h"
#include "scribblearea.h"
#include "shownpictures.h"

#include "content/dtabledlg.h"
#include "tools/dclock.h"

#include "pictures/heldpictures.h"

#include <QDragEnterEvent>
#include <QGestureEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPinchGesture>

#include <cmath>
#include <utility>

namespace {

enum PenSlot { SlotPencil, SlotHighlighter, SlotFountain, SlotSmart, SlotEraser1, SlotEraser3 };

struct PenChoice
{
    int user;
    int tool;
    PenSlot slot;
    bool settable; // the lasso erasers' pens are read, never set by the pen palettes
};
// clang-format off
constexpr PenChoice kPenChoices[] = {
    { PenUserMain, BtMenus::btPencil,             SlotPencil,      true },
    { PenUserMain, BtMenus::btHighlighter,        SlotHighlighter, true },
    { PenUserMain, BtMenus::btFountainPen,        SlotFountain,    true },
    { PenUserMain, BtMenus::btSmartPen,           SlotSmart,       true },
    { PenUser1,    BtMenus::btPencilUser1,        SlotPencil,      true },
    { PenUser1,    BtMenus::btHighlighterUser1,   SlotHighlighter, true },
    { PenUser1,    BtMenus::btFountainPenUser1,   SlotFountain,    true },
    { PenUser2,    BtMenus::btPencilUser2,        SlotPencil,      true },
    { PenUser2,    BtMenus::btHighlighterUser2,   SlotHighlighter, true },
    { PenUser2,    BtMenus::btFountainPenUser2,   SlotFountain,    true },
    { PenUser3,    BtMenus::btPencilUser3,        SlotPencil,      true },
    { PenUser3,    BtMenus::btHighlighterUser3,   SlotHighlighter, true },
    { PenUser3,    BtMenus::btFountainPenUser3,   SlotFountain,    true },
    { PenUser1,    BtMenus::btEraserUser1,        SlotEraser1,     false },
    { PenUser3,    BtMenus::btEraserUser3,        SlotEraser3,     false },
};
// clang-format on

constexpr bool choicesAreUnique()
{
    for (const PenChoice &a : kPenChoices)
        for (const PenChoice &b : kPenChoices)
            if (&a != &b && a.user == b.user && a.tool == b.tool)
                return false;
    return true;
}
static_assert(choicesAreUnique(), "one user and tool choose two pens");

const PenChoice *findChoice(int user, int tool)
{
    for (const PenChoice &choice : kPenChoices) {
        if (choice.user == user && choice.tool == tool)
            return &choice;
    }
    return nullptr;
}

constexpr double kZoomFloor = 0.36;
// Past this the view could no longer centre on what the teacher zooms into (its scroll range
// runs out near a million times) and drawing a stroke's visible part would cost without bound:
// a step that would reach it is refused, as one under the floor is.
constexpr double kZoomCeiling = 64;
const QPoint kCursorHotSpot(5, 28);
constexpr double kZoomStep = 1.1;

// The zoom buttons step by 1.1 and 1/1.1 in single precision (1.1f × 0.90909094f is 1 + 5e-8),
// other callers in double: a zoom within a millionth of a whole number of steps is that
// number of steps, so that steps in and as many out come back to the very zoom they left. (43
// steps each way left the board 2e-6 larger, and a turned photo's pixels drawn anew.)
double onZoomSteps(double zoom)
{
    const double steps = std::round(std::log(zoom) / std::log(kZoomStep));
    const double stepped = std::pow(kZoomStep, steps);
    return std::abs(zoom / stepped - 1) < 1e-6 ? stepped : zoom;
}

} // namespace

DView::DView(QWidget *parent) : QGraphicsView(parent), m_parent(parent)
{
    // The board surface (the view, its viewport, the overlay and the bin) lets the page, or the
    // desktop under a transparent page, show through. The rule names what it covers: a sheet
    // without selectors also reaches every dialog parented to the view, which then draws black
    // on black.
    setStyleSheet(QStringLiteral("DView, DView > .QWidget, DView > ScribbleArea, DView > QLabel"
                                 " { background: transparent }"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Without a frame the viewport and the view coincide, so the bin's geometry (view
    // coordinates) and viewport positions compare directly.
    setFrameShape(QFrame::NoFrame);
    setGeometry(0, 0, parent->width(), parent->height());
    setCursor(Qt::ArrowCursor);
    setCacheMode(CacheNone);
    setRenderHint(QPainter::Antialiasing);
    setOptimizationFlags(DontAdjustForAntialiasing);
    show();

    m_eraserTrail = new DWidget(parent);
    m_eraserTrail->setGeometry(0, 0, width(), height());
    m_eraserTrail->hide();
    m_eraserTrail->setVista(false);

    m_scribbleArea = new ScribbleArea(this);
    m_scribbleArea->setDview(this);
    m_scribbleArea->setGeometry(0, 0, width(), height());
    setVisibleScribbleArea(false);

    m_bRefreshOverlay = true;
    m_picturesCame.setSingleShot(true);
    m_picturesCame.setInterval(0);
    connect(&m_picturesCame, &QTimer::timeout, this, &DView::drawCamePictures);
    connect(HeldPictures::notifier(), &HeldPicturesNotifier::drawAgain, this, &DView::pictureCame);
    m_penType[PenUserMain] = BtMenus::btSelect;
    m_penType[PenUser1] = BtMenus::btPencilUser1;
    m_penType[PenUser2] = BtMenus::btPencilUser2;
    m_penType[PenUser3] = BtMenus::btPencilUser3;
    for (int user = 0; user < kPenUserCount; ++user) {
        const QColor ink = user == PenUserMain ? QColor(0, 0, 0, 255) : QColor(255, 0, 0, 255);
        createPen(m_penPencil[user], ink);
        createPen(m_penFountain[user], ink);
        QColor highlight = ink;
        highlight.setAlpha(127);
        createPen(m_penHighlighter[user], highlight);
    }
    createPen(m_penSmart, QColor(255, 0, 0, 255));
    createPen(m_penShape, QColor(255, 0, 0, 255));
    createPen(m_penShapeFill, QColor(0, 0, 0, 0));
    createPen(m_penEraserUser1, QColor(0, 0, 0, 255));
    createPen(m_penEraserUser3, QColor(0, 0, 0, 255));
    m_boardRect = QRect(0, 0, width(), height());
    m_brush = QBrush(Qt::black, Qt::SolidPattern);

    m_binLabel = new QLabel(this);
    const QPixmap bin = QPixmap(QStringLiteral(":/Icon/RecycleBin.png"))
                                .scaled(100, 100, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    m_binLabel->setPixmap(bin);
    m_binLabel->setFixedSize(bin.isNull() ? QSize(100, 100) : bin.size());
    m_binLabel->move(width() - 120, height() - 120);
    m_binLabel->show();

    m_tableDlg = new DTableDlg(parent);
    connect(m_tableDlg, &DTableDlg::signals_setTableRowColumn, this, &DView::setTableRowColumn);

    setAcceptDrops(true);
    grabGesture(Qt::PinchGesture);
    viewport()->grabGesture(Qt::PinchGesture);

    m_menuGeneric = createSubMenus(BtMenus::btItemGeneric);
    m_menuPath = createSubMenus(BtMenus::btItemPath);
    m_menuVertex = createSubMenus(BtMenus::btItemVertex);
    m_menuVideo = createSubMenus(BtMenus::btItemVideo);

    setViewportUpdateMode(BoundingRectViewportUpdate);
    setCacheMode(CacheBackground);
    m_pictures = new BoardPictures(this);
}

DView::~DView()
{
    delete m_binLabel;
    delete m_tableDlg;
    delete m_menuGeneric;
    delete m_menuPath;
    delete m_menuVertex;
    delete m_menuVideo;
    delete m_clock;
}

void DView::createPen(QPen &pen, const QColor &colour)
{
    pen = QPen(QBrush(colour), 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

DPage *DView::page() const
{
    return qobject_cast<DPage *>(scene());
}

int DView::getPenType(int user) const
{
    if (user < 0 || user >= kPenUserCount)
        return m_penType[PenUserMain];
    return m_penType[user];
}

QPen DView::getPen(int user) const
{
    const PenChoice *choice =
            user >= 0 && user < kPenUserCount ? findChoice(user, m_penType[user]) : nullptr;
    if (!choice)
        return m_penPencil[PenUserMain];
    switch (choice->slot) {
    case SlotPencil:
        return m_penPencil[user];
    case SlotHighlighter:
        return m_penHighlighter[user];
    case SlotFountain:
        return m_penFountain[user];
    case SlotSmart:
        return m_penSmart;
    case SlotEraser1:
        return m_penEraserUser1;
    case SlotEraser3:
        return m_penEraserUser3;
    }
    return m_penPencil[PenUserMain];
}

QPen *DView::settablePen(int user)
{
    if (user < 0 || user >= kPenUserCount)
        return nullptr;
    const PenChoice *choice = findChoice(user, m_penType[user]);
    if (!choice || !choice->settable)
        return nullptr;
    switch (choice->slot) {
    case SlotPencil:
        return &m_penPencil[user];
    case SlotHighlighter:
        return &m_penHighlighter[user];
    case SlotFountain:
        return &m_penFountain[user];
    case SlotSmart:
        return &m_penSmart;
    default:
        return nullptr;
    }
}

void DView::setPenType(BtMenus::btType bt, int alpha, const QString &cursor, int user)
{
    if (!m_scribbleArea->isVisible())
        setVisibleScribbleArea(true);
    // The hand tool leaves the view deaf to the page; every tool brings it back.
    setInteractive(true);
    setDragMode(NoDrag);
    if (scene())
        scene()->clearSelection();
    switch (user) {
    case PenUserMain:
        m_penType[PenUserMain] = bt;
        break;
    case PenUser1:
        m_penType[PenUser1] = bt;
        if (bt == BtMenus::btEraserUser1)
            setEraser(bt, PenUser1);
        break;
    case PenUser3:
        m_penType[PenUser3] = bt;
        if (bt == BtMenus::btEraserUser3)
            setEraser(bt, PenUser3);
        break;
    default:
        break; // user 2 has no half of the board: its tool stays its pencil
    }
    setPenTransparence(alpha, user);
    setCursor(QCursor(QPixmap(cursor), kCursorHotSpot.x(), kCursorHotSpot.y()));
}

void DView::setBrushType(BtMenus::btType bt, const QString &texture, const QString &cursor)
{
    if (!m_scribbleArea->isVisible())
        setVisibleScribbleArea(true);
    setInteractive(true);
    setDragMode(NoDrag);
    if (scene())
        scene()->clearSelection();
    const QPixmap pattern(texture);
    if (pattern.isNull())
        return;
    m_penType[PenUserMain] = bt;
    m_penFountain[PenUserMain].setBrush(QBrush(m_penFountain[PenUserMain].color(), pattern));
    setCursor(QCursor(QPixmap(cursor), kCursorHotSpot.x(), kCursorHotSpot.y()));
}

void DView::setEraser(BtMenus::btType bt, int user)
{
    setInteractive(true);
    setDragMode(NoDrag);
    switch (user) {
    case PenUserMain:
        if (m_scribbleArea->isVisible())
            setVisibleScribbleArea(false);
        m_penType[PenUserMain] = bt;
        break;
    case PenUser1:
        m_penType[PenUserMain] = bt;
        m_penType[PenUser1] = bt;
        break;
    case PenUser3:
        m_penType[PenUserMain] = bt;
        m_penType[PenUser3] = bt;
        break;
    default:
        break;
    }
    if (scene())
        scene()->update();
}

void DView::setShapeType(BtMenus::btType bt)
{
    setInteractive(true);
    if (m_scribbleArea->isVisible())
        setVisibleScribbleArea(false);
    m_penType[PenUserMain] = bt;
    if (scene())
        scene()->clearSelection();
    setDragMode(NoDrag);
    setCursor(Qt::ArrowCursor);
}

void DView::insertText()
{
    setInteractive(true);
    if (m_scribbleArea->isVisible())
        setVisibleScribbleArea(false);
    m_penType[PenUserMain] = BtMenus::btText;
    setDragMode(NoDrag);
    setCursor(Qt::ArrowCursor);
}

void DView::setSelect()
{
    if (m_scribbleArea->isVisible())
        setVisibleScribbleArea(false);
    m_penType[PenUserMain] = BtMenus::btSelect;
    setInteractive(true);
    setDragMode(RubberBandDrag);
    setCursor(Qt::ArrowCursor);
}

void DView::editSetTableDlg()
{
    setInteractive(true);
    if (m_scribbleArea->isVisible())
        setVisibleScribbleArea(false);
    setDragMode(NoDrag);
    if (scene())
        scene()->clearSelection();
    if (m_tableDlg->exec() != QDialog::Accepted) {
        // Cancelled (its button or Escape): no table to draw, the board selects.
        setSelect();
        return;
    }
    m_tableDlg->raise();
    m_penType[PenUserMain] = BtMenus::btTableTool;
    setCursor(Qt::ArrowCursor);
}

void DView::setTableRowColumn(int row, int column)
{
    m_tableRows = row;
    m_tableColumns = column;
}

void DView::setPenWidth(int penWidth, int user)
{
    if (QPen *pen = settablePen(user))
        pen->setWidth(penWidth);
}

void DView::setPenStyle(Qt::PenStyle penStyle, int user)
{
    if (QPen *pen = settablePen(user))
        pen->setStyle(penStyle);
}

void DView::setPenColour(const QColor &colour, int user)
{
    QPen *pen = settablePen(user);
    if (!pen)
        return;
    QColor ink = colour;
    const int tool = m_penType[user];
    if (tool >= BtMenus::btHighlighter && tool <= BtMenus::btHighlighterUser3)
        ink.setAlpha(100); // highlighter ink lets the writing under it show through
    pen->setColor(ink);
}

void DView::setPenTransparence(int alpha, int user)
{
    QPen *pen = settablePen(user);
    if (!pen)
        return;
    QColor ink = pen->color();
    ink.setAlpha(alpha);
    pen->setColor(ink);
}

void DView::setShapePenWidth(int penWidth)
{
    m_penShape.setWidth(penWidth);
}

void DView::setShapePenStyle(Qt::PenStyle penStyle)
{
    m_penShape.setStyle(penStyle);
}

void DView::setShapePenColour(const QColor &colour)
{
    m_penShape.setColor(colour);
}

void DView::setShapePenTransparence(int alpha)
{
    QColor ink = m_penShape.color();
    ink.setAlpha(alpha);
    m_penShape.setColor(ink);
}

void DView::setShapeFillPenColour(const QColor &colour, short fillType, const QString &fillFileName)
{
    m_fillFileName = fillFileName;
    m_fillType = fillType;
    m_penShapeFill.setColor(colour);
}

void DView::setBrushColour(const QColor &colour)
{
    m_brush.setColor(colour);
}

void DView::setBrushStyle(Qt::BrushStyle style)
{
    m_brush.setStyle(style);
}

void DView::setScale(double scale)
{
    m_bRefreshOverlay = true;
    const double zoom = onZoomSteps(m_scale * scale);
    if (zoom > kZoomFloor && zoom < kZoomCeiling) {
        m_pictures->beforeZoom();
        // A board that only ever zoomed is shown at exactly its zoom, whatever steps led there.
        const QTransform matrix = transform();
        const bool onlyZoomed = matrix.type() <= QTransform::TxScale
                && qFuzzyCompare(matrix.m11(), m_scale) && qFuzzyCompare(matrix.m22(), m_scale);
        setTransform(onlyZoomed ? QTransform::fromScale(zoom, zoom)
                                : QTransform(matrix).scale(zoom / m_scale, zoom / m_scale));
        m_scale = zoom;
    } // else refused: the zoom stays
    emit zoomPage(float(m_scale));
}

void DView::setBackgroundColor(const QColor &colour)
{
    if (DPage *current = page())
        current->setPageBackgroundColor(colour);
    m_bRefreshOverlay = true;
    viewport()->update();
}

void DView::setVisibleScribbleArea(bool visible)
{
    m_scribbleArea->setVisible(visible);
    if (scene())
        scene()->update();
}

void DView::showBin()
{
    m_binLabel->setVisible(!m_binLabel->isVisible());
}

void DView::insertClock()
{
    if (!m_clock) {
        m_clock = new DClock(m_parent);
        connect(m_clock, &DClock::releaseClock, this, &DView::removeClock);
        m_clock->setVisible(true);
    } else if (m_clock->isVisible()) {
        m_clock->deleteLater(); // it may be the one reporting its own release
        m_clock = nullptr;
    } else {
        m_clock->setVisible(true);
    }
}

void DView::removeClock(QPoint point)
{
    if (m_binLabel->isVisible() && m_binLabel->geometry().contains(point))
        insertClock();
}

void DView::deleteObj()
{
    if (DPage *current = page())
        current->deleteObj();
}

void DView::lockObj()
{
    if (DPage *current = page())
        current->lockObj();
}

bool DView::overBin(QPoint viewPoint) const
{
    return m_binLabel->isVisible() && m_binLabel->geometry().contains(viewPoint);
}

bool DView::event(QEvent *event)
{
    if (event->type() == QEvent::Gesture)
        return gestureEvent(static_cast<QGestureEvent *>(event));
    return QGraphicsView::event(event);
}

bool DView::viewportEvent(QEvent *event)
{
    // Gestures grabbed on the viewport arrive here rather than at the view.
    if (event->type() == QEvent::Gesture)
        return gestureEvent(static_cast<QGestureEvent *>(event));
    return QGraphicsView::viewportEvent(event);
}

bool DView::gestureEvent(QGestureEvent *event)
{
    if (m_scribbleArea->isVisible())
        return true;
    if (QGesture *gesture = event->gesture(Qt::PinchGesture)) {
        auto *pinch = static_cast<QPinchGesture *>(gesture);
        const QPinchGesture::ChangeFlags changes = pinch->changeFlags();
        applyPinch(pinch->state(), changes & QPinchGesture::RotationAngleChanged,
                   pinch->property("rotationAngle").toDouble(),
                   changes & QPinchGesture::ScaleFactorChanged, pinch->totalScaleFactor());
    }
    return true;
}

void DView::applyPinch(Qt::GestureState state, bool rotationChanged, double rotationAngle,
                       bool scaleChanged, double totalScaleFactor)
{
    DPage *current = page();
    if (!current || current->items().isEmpty())
        return;
    const auto insideGroup = [](QGraphicsItem *item) {
        return item->parentItem() && item->parentItem()->type() == ItemTypeGroup;
    };
    if (state == Qt::GestureStarted) {
        m_pinchScale = 1.0;
        m_pinchStartRotation.clear();
        m_pinchStartScale.clear();
        for (QGraphicsItem *item : current->items()) {
            const int type = item->type();
            if (!item->isSelected() || type < ItemTypePath || type > ItemTypeSound
                || type == ItemTypeGroup)
                continue;
            DCustomItem *object = DCustomItem::fromItem(item);
            if (!object || object->isLocked())
                continue;
            item->setTransformOriginPoint(item->boundingRect().center());
            m_pinchStartRotation.insert(item, item->rotation());
            m_pinchStartScale.insert(item, item->scale());
            object->saveTransformOf(item);
        }
    }
    if (rotationChanged) {
        for (auto it = m_pinchStartRotation.cbegin(); it != m_pinchStartRotation.cend(); ++it) {
            QGraphicsItem *item = it.key();
            DCustomItem *object = DCustomItem::fromItem(item);
            if (item->type() >= ItemTypeGroup || insideGroup(item) || !object || object->isLocked())
                continue;
            item->setTransformOriginPoint(item->boundingRect().center());
            item->setRotation(it.value() + rotationAngle);
        }
    }
    if (scaleChanged) {
        m_pinchScale = totalScaleFactor;
        for (auto it = m_pinchStartScale.cbegin(); it != m_pinchStartScale.cend(); ++it) {
            QGraphicsItem *item = it.key();
            const double scale = m_pinchScale * it.value();
            if (item->type() >= ItemTypeGroup || insideGroup(item) || !(scale > 0))
                continue;
            item->setScale(scale);
            if (DCustomItem *object = DCustomItem::fromItem(item)) {
                if (object->madeRotateItem())
                    object->madeRotateItem()->setScale(1.0 / scale);
            }
        }
    }
    if (state == Qt::GestureFinished) {
        m_pinchScale = 1.0;
        const QList<QGraphicsItem *> selection = current->validItems(false);
        current->recordOperation(BtMenus::stMove, selection, nullptr);
        current->recordOperation(BtMenus::stTrans, selection, nullptr);
    }
    viewport()->update();
}

void DView::mousePressEvent(QMouseEvent *event)
{
    emit signals_touchEvent();
    m_toolAtPress = m_penType[PenUserMain];
    QGraphicsView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // Pressed on an object, the scene hands it the mouse; on the board, a tool or a rubber band
    // takes it, and nothing is held.
    m_heldObject = carrierOf(scene() ? scene()->mouseGrabberItem() : nullptr);
    m_carriedFrom.clear();
    if (!m_heldObject)
        return;
    // The scene moves the whole selection along with the object held.
    m_carriedFrom.insert(m_heldObject, m_heldObject->pos());
    for (QGraphicsItem *item : scene()->selectedItems())
        m_carriedFrom.insert(item, item->pos());
}

QGraphicsItem *DView::carrierOf(QGraphicsItem *grabber)
{
    if (!DCustomItem::fromItem(grabber))
        return nullptr; // a handle, or no object at all
    // A group takes the mouse events of its members, and of groups inside it: the member keeps
    // the mouse, but what the pointer moves is the outermost group, while the member stays
    // where it stands within it.
    QGraphicsItem *carrier = grabber;
    while (carrier->parentItem() && carrier->parentItem()->type() == ItemTypeGroup)
        carrier = carrier->parentItem();
    return carrier;
}

bool DView::draggedHeldObject() const
{
    // What has the mouse while the button is down is alive, and so is what carries it: asked
    // through it, the object held is asked only while it is alive.
    return m_heldObject && scene() && carrierOf(scene()->mouseGrabberItem()) == m_heldObject
            && m_heldObject->pos() != m_carriedFrom.value(m_heldObject);
}

void DView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint point = event->localPos().toPoint();
        // A rubber band, a click or a tool let go over the bin deletes nothing: only a
        // selection the pointer carried there.
        const bool dropped = draggedHeldObject() && overBin(point);
        m_heldObject = nullptr;
        const QHash<QGraphicsItem *, QPointF> carriedFrom = std::exchange(m_carriedFrom, {});
        QGraphicsView::mouseReleaseEvent(event);
        if (dropped && page())
            page()->deleteDropped(carriedFrom);
    } else {
        QGraphicsView::mouseReleaseEvent(event);
    }
    viewport()->update();
    if (m_penType[PenUserMain] != m_toolAtPress) {
        m_toolAtPress = m_penType[PenUserMain];
        emit toolChanged();
    }
}

void DView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)
        return;
    QGraphicsView::keyPressEvent(event);
}

bool DView::isSharpening() const
{
    return m_pictures->isSharpening() || ShownPictures::coming();
}

bool DView::repaintsOnceSharp(const QWidget *viewport)
{
    const auto *view = viewport ? qobject_cast<const DView *>(viewport->parentWidget()) : nullptr;
    return view && view->viewport() == viewport && view->m_pictures->picturesComing();
}

void DView::paintEvent(QPaintEvent *event)
{
    if (!m_scribbleArea->isVisible()) {
        m_pictures->paint(event, [this](QPaintEvent *paint) { QGraphicsView::paintEvent(paint); });
        m_bRefreshOverlay = true;
        return;
    }
    if (!m_bRefreshOverlay)
        return; // the overlay's canvas already holds the board
    m_pictures->ready();
    QPixmap *canvas = m_scribbleArea->canvas();
    if (canvas->size() != viewport()->size()) {
        // The canvas is scaled against the view: the view paints its own picture.
        QGraphicsView::paintEvent(event);
        canvas->fill(Qt::transparent);
        QPainter painter(canvas);
        painter.setRenderHint(QPainter::Antialiasing);
        render(&painter, QRectF(canvas->rect()), viewport()->rect(), Qt::KeepAspectRatio);
    } else {
        // The whole board is drawn once, then laid on both the view and the overlay's canvas:
        // drawing it twice cost as much again. It goes on a clear picture first because the
        // canvas may still hold ink that the view must not show.
        QPixmap board(canvas->size());
        board.fill(Qt::transparent);
        QPainter boardPainter(&board);
        boardPainter.setRenderHint(QPainter::Antialiasing);
        render(&boardPainter, QRectF(board.rect()), viewport()->rect(), Qt::KeepAspectRatio);
        boardPainter.end();
        QPainter viewPainter(viewport());
        viewPainter.drawPixmap(event->rect(), board, event->rect());
        viewPainter.end();
        QPainter canvasPainter(canvas);
        // Replaced, not laid over: where the board is transparent (ink over the desktop) an
        // undone stroke must not show through from the old picture.
        canvasPainter.setCompositionMode(QPainter::CompositionMode_Source);
        canvasPainter.drawPixmap(0, 0, board);
    }
    m_bRefreshOverlay = false;
    ++m_overlayRenders;
    m_scribbleArea->update();
}

QTransform DView::sceneToOverlay() const
{
    // As render() fits the viewport into the canvas: scaled from the corner, aspect kept.
    const QSize canvas = m_scribbleArea->canvas()->size();
    const QSize port = viewport()->size();
    qreal ratio = 1.0;
    if (!port.isEmpty())
        ratio = qMin(canvas.width() / qreal(port.width()), canvas.height() / qreal(port.height()));
    return viewportTransform() * QTransform::fromScale(ratio, ratio);
}

void DView::pictureCame(QGraphicsItem *item)
{
    // Without the overlay the board paints the object as it is told to; with it, the board
    // shows the overlay's picture of itself, which nothing else would draw again.
    if (!m_scribbleArea->isVisible() || !scene() || item->scene() != scene())
        return;
    const QRect area = mapFromScene(item->sceneBoundingRect()).boundingRect().adjusted(-1, -1, 1, 1)
            & viewport()->rect();
    if (area.isEmpty())
        return;
    m_picturesCameIn += area;
    if (!m_picturesCame.isActive())
        m_picturesCame.start();
}

void DView::drawCamePictures()
{
    const QRegion area = std::exchange(m_picturesCameIn, QRegion());
    if (area.isEmpty() || !m_scribbleArea->isVisible())
        return;
    QPixmap *canvas = m_scribbleArea->canvas();
    if (m_bRefreshOverlay || canvas->size() != viewport()->size()) {
        refreshOverlay(); // drawn whole anyway
        return;
    }
    // Only where the pictures lie, as the whole board would be drawn there: a page of photos
    // coming one by one while the teacher writes costs no more than the photos.
    m_pictures->ready();
    const QRect bounds = area.boundingRect();
    QPixmap part(bounds.size());
    part.fill(Qt::transparent);
    {
        QPainter painter(&part);
        painter.setRenderHint(QPainter::Antialiasing);
        render(&painter, QRectF(part.rect()), bounds, Qt::IgnoreAspectRatio);
    }
    QPainter painter(canvas);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setClipRegion(area);
    painter.drawPixmap(bounds.topLeft(), part);
    painter.end();
    m_scribbleArea->update(area);
}

void DView::refreshOverlay()
{
    m_bRefreshOverlay = true;
    viewport()->update();
}

void DView::dragEnterEvent(QDragEnterEvent *event)
{
    event->acceptProposedAction();
    QGraphicsView::dragEnterEvent(event);
}
