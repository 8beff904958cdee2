#include "drulertriangle.h"

#include "instrumentrules.h"

#include "board/boardtypes.h"
#include "board/dview.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

#include <cmath>

using namespace InstrumentRules;

namespace {

// The window's corners and the far corners, in the integer divisions the scale is laid out with.
struct TriangleCorners
{
    QPointF top; // (L, 0)
    QPointF bottom; // (0, 6L/10)
    QPointF windowTopLeft; // (L/10, L/10)
    QPointF windowRight; // (1915L/3000, L/10)
    QPointF windowBottom; // (L/10, 127L/300)
};

TriangleCorners cornersFor(int length)
{
    return { QPointF(length, 0), QPointF(0, 6 * length / 10), QPointF(length / 10, length / 10),
             QPointF(1915 * length / 3000, length / 10), QPointF(length / 10, 127 * length / 300) };
}

// The resize icon follows the pointer's x alone; outside this span the size stays.
constexpr int kResizeMinX = 421;
constexpr int kResizeMaxX = 899;

} // namespace

DRulerTriangle::DRulerTriangle(QGraphicsItem *parent)
    : QObject(nullptr),
      QGraphicsPathItem(parent),
      m_mode(tmMove),
      m_length(kStartLength),
      m_outlineColor(kOutlineColor)
{
    setUpItem(this);
    drawOwn(m_length);
}

void DRulerTriangle::drawOwn(int length)
{
    prepareGeometryChange();
    m_length = length;
    const TriangleCorners c = cornersFor(length);
    // One path through the window and back: with the odd-even fill the window stays clear.
    QPainterPath body;
    body.moveTo(0, 0);
    body.lineTo(c.top);
    body.lineTo(c.windowRight);
    body.lineTo(c.windowTopLeft);
    body.lineTo(c.windowBottom);
    body.lineTo(c.windowRight);
    body.lineTo(c.top);
    body.lineTo(c.bottom);
    body.lineTo(0, 0);
    setBody(this, body, 0);
}

QRectF DRulerTriangle::boundingRect() const
{
    return outlinedBounds(this);
}

int DRulerTriangle::type() const
{
    return ItemTypeInstrument;
}

QPen DRulerTriangle::drawingPen() const
{
    return boardPen(m_view);
}

void DRulerTriangle::paint(QPainter *painter, const QStyleOptionGraphicsItem *option,
                           QWidget *widget)
{
    const int length = m_length;
    const TriangleCorners c = cornersFor(length);
    painter->setPen(Qt::black);
    painter->drawLine(QPointF(0, 0), c.top);
    painter->drawLine(c.top, c.bottom);
    painter->drawLine(c.bottom, QPointF(0, 0));
    painter->drawLine(c.windowTopLeft, c.windowRight);
    painter->drawLine(c.windowRight, c.windowBottom);
    painter->drawLine(c.windowBottom, c.windowTopLeft);
    drawAngleBox(painter, QRectF(20, 40, 40, 20), QRectF(54, 44, 2, 2), 55, rotation());

    setScaleFont(painter);
    painter->drawText(QPointF(30, 35), QStringLiteral("0"));
    const QRectF bounds = boundingRect();
    painter->drawLine(QPointF(20, 0), QPointF(20, 20));
    drawScale(painter, 20, static_cast<int>(std::trunc(bounds.width() / 5 - length / 100)),
              Qt::Horizontal);
    painter->drawLine(QPointF(0, 20), QPointF(20, 20));
    drawScale(painter, 20, static_cast<int>(std::trunc(bounds.height() / 5 - length / 100)),
              Qt::Vertical);

    paintBody(this, painter, option, widget);

    const int iconTop = qRound(length / 10.0);
    drawIcon(painter, QPoint(qRound(7.0 * length / 10), iconTop), ":/Icon/baRuler_rotate.png");
    drawIcon(painter, QPoint(qRound(7.0 * length / 10 - 40), iconTop), ":/Icon/baRulerLR.png");

    painter->setPen(drawingPen());
    painter->drawPath(m_path);
}

void DRulerTriangle::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_mode = tmMove;
    const QPointF at = event->pos();
    if (onTopEdge(at, m_length))
        m_mode = tmDraw;
    if (QRect(QPoint(0, 15), QPoint(14, 6 * m_length / 10 + 14)).contains(at.toPoint()))
        m_mode = tmDrawSecond;
    if (hitsIcon(at, QPointF(7 * m_length / 10 + 10, m_length / 10 + 10)))
        m_mode = tmRotate;
    if (hitsIcon(at, QPointF(7 * m_length / 10 - 30, m_length / 10 + 10)))
        m_mode = tmResize;

    if (m_mode == tmRotate)
        startTurn(this, m_origin, m_startRotation, m_originScene);
    QGraphicsItem::mousePressEvent(event);
}

void DRulerTriangle::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    const QPointF press = event->buttonDownPos(Qt::LeftButton);
    switch (m_mode) {
    case tmMove:
        QGraphicsItem::mouseMoveEvent(event);
        break;
    case tmRotate:
        followTurn(this, m_startRotation, m_originScene, event);
        break;
    case tmResize: {
        const double x = std::trunc(event->pos().x());
        if (x >= kResizeMinX && x <= kResizeMaxX)
            drawOwn(static_cast<int>(10 * static_cast<int>(x) / 7));
        else
            drawOwn(m_length);
        break;
    }
    case tmDraw:
        m_path = edgeLine(press, event->pos(), Qt::Horizontal);
        update();
        break;
    case tmDrawSecond:
        m_path = edgeLine(press, event->pos(), Qt::Vertical);
        update();
        break;
    default:
        break;
    }
}

void DRulerTriangle::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_mode == tmDraw || m_mode == tmDrawSecond)
        finishDrawing(this, m_path, drawingPen());
    QGraphicsItem::mouseReleaseEvent(event);
}

void DRulerTriangle::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsItem::mouseDoubleClickEvent(event);
}
