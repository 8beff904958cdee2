#include "dcompass.h"

#include "instrumentrules.h"

#include "board/boardtypes.h"
#include "board/dview.h"

#include <QAction>
#include <QActionGroup>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QPainter>

#include <cmath>

using namespace InstrumentRules;

namespace {

// The outline of a new compass, needle point first, round to the needle point again.
// clang-format off
constexpr qreal kOutline[DCompass::OutlinePointCount][2] = {
    {   0,    0 }, {  90, -260 }, { 100, -250 }, { 110, -260 }, { 175,  -75 },
    { 201,  -75 }, { 195,  -25 }, { 200,    0 }, { 215,  -21 }, { 228, -127 },
    { 207, -131 }, { 205, -110 }, { 189, -110 }, { 129, -279 }, { 138, -290 },
    { 138, -329 }, { 110, -329 }, { 110, -370 }, {  90, -370 }, {  90, -329 },
    {  61, -329 }, {  61, -290 }, {  71, -279 }, {   0,  -75 }, {   0,    0 },
};
// clang-format on

// Points 4 to 12 are the pencil leg below its top, the holder and the pencil: what opening and
// closing the legs swings about the hinge.
constexpr int kSwungFirst = 4;
constexpr int kSwungLast = 12;

QPointF pointOf(const QPainterPath &outline, int index)
{
    const QPainterPath::Element element = outline.elementAt(index);
    return QPointF(element.x, element.y);
}

} // namespace

DCompass::DCompass(QGraphicsItem *parent)
    : QObject(nullptr), QGraphicsPathItem(parent), m_mode(tmMove), m_drawKind(tmFullCircle)
{
    setUpItem(this);
    drawOwn();
    m_pen = QPen(QBrush(QColor(0, 0, 0, 255)), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    auto *group = new QActionGroup(this);
    m_actHalfCircle = makeFigureAction(this, group, tr("Semicircunferencia"),
                                       [this] { setDraw180_Actionclicked(); });
    m_actFullCircle = makeFigureAction(this, group, tr("Circunferencia"),
                                       [this] { setDraw360_Actionclicked(); });
    m_menu = new QMenu;
    m_menu->addAction(m_actFullCircle);
    m_menu->addAction(m_actHalfCircle);
    m_menu->addSeparator();
    // The mark sits on the kind actually drawn.
    selectAction(m_actFullCircle);
}

DCompass::~DCompass()
{
    delete m_menu;
}

void DCompass::drawOwn()
{
    prepareGeometryChange();
    QPainterPath outline;
    outline.moveTo(kOutline[0][0], kOutline[0][1]);
    for (int i = 1; i < OutlinePointCount; ++i)
        outline.lineTo(kOutline[i][0], kOutline[i][1]);
    setBody(this, outline, 1.0);
    takeKeyPoints();
}

void DCompass::takeKeyPoints()
{
    prepareGeometryChange(); // the bounds' margin follows the radius taken here
    m_hinge = hingeCentre();
    m_needle = outlinePoint(NeedlePoint);
    m_pencil = outlinePoint(PencilTip);
}

QPointF DCompass::outlinePoint(int index) const
{
    return pointOf(path(), index);
}

QPointF DCompass::hingeCentre() const
{
    return (outlinePoint(HingeLeftLower) + outlinePoint(HingeRightLower)) / 2;
}

QPolygonF DCompass::polygonOf(std::initializer_list<int> indexes) const
{
    QPolygonF polygon;
    for (int index : indexes)
        polygon << outlinePoint(index);
    return polygon;
}

void DCompass::selectAction(QAction *action)
{
    moveCheck(m_checkedAction, action);
}

void DCompass::setDraw180_Actionclicked()
{
    m_drawKind = tmHalfCircle;
    selectAction(m_actHalfCircle);
}

void DCompass::setDraw360_Actionclicked()
{
    m_drawKind = tmFullCircle;
    selectAction(m_actFullCircle);
}

QRectF DCompass::boundingRect() const
{
    // Room for the arc about the needle point, whatever way the compass is turned.
    const int margin = static_cast<int>(QLineF(m_needle, m_pencil).length() + pen().width());
    return grownBounds(path().boundingRect(), margin);
}

int DCompass::type() const
{
    return ItemTypeInstrument;
}

void DCompass::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    // The arc in progress in whatever pen the view hands in: only the page object carries the
    // drawing pen.
    painter->drawPath(m_path);

    painter->setPen(QColor(0, 0, 0, 150));
    for (int i = 0; i + 1 < OutlinePointCount - 1; ++i)
        painter->drawLine(outlinePoint(i), outlinePoint(i + 1));
    painter->drawLine(outlinePoint(23), outlinePoint(0));
    painter->drawLine(outlinePoint(16), outlinePoint(19));
    painter->drawLine(outlinePoint(5), outlinePoint(11));
    const QPointF hinge = hingeCentre();
    for (int index : { 1, 22, 3, 13 })
        painter->drawLine(hinge, outlinePoint(index));
    painter->drawEllipse(QRectF(hinge.x() - 12, hinge.y() - 12, 24, 24));

    paintBody(this, painter, option, widget);

    drawIcon(painter, QPoint(qRound(hinge.x() - 12), qRound(hinge.y() - 12)), ":/Icon/fill.png");
}

void DCompass::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_mode = tmMove;
    takeKeyPoints();
    const QPointF at = event->pos();
    if (polygonOf({ 5, 6, 7, 8, 9, 10, 11 }).containsPoint(at, Qt::WindingFill))
        m_mode = tmDraw;
    if (polygonOf({ 3, 4, 5, 11, 12, 13 }).containsPoint(at, Qt::WindingFill))
        m_mode = tmResize;
    if (polygonOf({ 16, 17, 18, 19 }).containsPoint(at, Qt::WindingFill))
        m_mode = tmRotate;
    if (hitsIcon(at, hingeCentre() - QPointF(2, 2)))
        m_mode = tmColor;

    if (m_mode == tmDraw) {
        const qreal radius = QLineF(m_pencil, m_needle).length();
        m_arcRect = QRectF(m_needle.x() - radius, m_needle.y() - radius, 2 * radius, 2 * radius);
        m_startLine = QLineF(m_needle, m_pencil);
        m_sweep = 0.0;
    }
    QGraphicsItem::mousePressEvent(event);
}

void DCompass::turnAboutNeedle(QPainterPath &outline, const QPointF &reference,
                               const QPointF &pointer)
{
    const QLineF toPointer(m_needle, pointer);
    const QLineF toReference(m_needle, reference);
    if (toPointer.isNull() || toReference.isNull())
        return; // the pointer on the needle point gives no direction
    const qreal turn = toPointer.angle() - toReference.angle();
    const QPainterPath before = outline;
    for (int i = 1; i <= 23; ++i) {
        const QPointF turned = turnedAbout(m_needle, pointOf(before, i), turn);
        outline.setElementPositionAt(i, turned.x(), turned.y());
    }
}

void DCompass::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF pointer = event->pos();
    const QPainterPath before = path();
    QPainterPath outline = before;
    switch (m_mode) {
    case tmResize: {
        const QLineF toNeedle(m_hinge, m_needle);
        const QLineF toPointer(m_hinge, pointer);
        if (toPointer.isNull() || toNeedle.angleTo(toPointer) > kMaxOpening)
            return;
        const qreal swing = toPointer.angle() - QLineF(m_hinge, pointOf(before, PencilTip)).angle();
        for (int i = kSwungFirst; i <= kSwungLast; ++i) {
            const QPointF turned = turnedAbout(m_hinge, pointOf(before, i), swing);
            outline.setElementPositionAt(i, turned.x(), turned.y());
        }
        break;
    }
    case tmDraw: {
        // The pencil swings first and the arc follows it there. The way it went is counted move
        // by move: where it stands alone cannot tell 65 degrees clockwise from 295 the other way.
        const QPointF pencilBefore = pointOf(before, PencilTip);
        turnAboutNeedle(outline, pencilBefore, pointer);
        m_sweep += stepTurn(QLineF(m_needle, pencilBefore),
                            QLineF(m_needle, pointOf(outline, PencilTip)));
        m_path = compassArc(m_arcRect, m_startLine, m_sweep, m_drawKind);
        break;
    }
    case tmRotate: {
        const QPointF handleTop =
                (pointOf(before, HandleTopRight) + pointOf(before, HandleTopLeft)) / 2;
        turnAboutNeedle(outline, handleTop, pointer);
        break;
    }
    default:
        QGraphicsItem::mouseMoveEvent(event);
        return;
    }
    prepareGeometryChange();
    setPath(outline);
}

void DCompass::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_mode == tmDraw)
        finishDrawing(this, m_path, m_pen);
    else if (m_mode == tmColor)
        chooseInk(this, m_pen, m_view);
    QGraphicsItem::mouseReleaseEvent(event);
}

void DCompass::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsItem::mouseDoubleClickEvent(event);
}
