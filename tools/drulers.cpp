#include "drulers.h"

#include "instrumentrules.h"

#include "board/boardtypes.h"
#include "board/dview.h"

#include <QGraphicsSceneMouseEvent>
#include <QPainter>

using namespace InstrumentRules;

DRulers::DRulers(QGraphicsItem *parent)
    : QObject(nullptr),
      QGraphicsPathItem(parent),
      m_mode(tmMove),
      m_length(kStartLength),
      m_startLength(kStartLength),
      m_outlineColor(kOutlineColor),
      m_pen(QBrush(Qt::black), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
{
    setUpItem(this);
    drawOwn(m_length);
}

void DRulers::drawOwn(int length)
{
    prepareGeometryChange();
    m_length = length;
    QPainterPath body;
    body.moveTo(0, 0);
    body.lineTo(length, 0);
    body.lineTo(length, kWidth);
    body.lineTo(0, kWidth);
    body.lineTo(0, 0);
    setBody(this, body, 1.0);
}

QRectF DRulers::boundingRect() const
{
    return outlinedBounds(this);
}

int DRulers::type() const
{
    return ItemTypeInstrument;
}

void DRulers::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    const int length = m_length;
    painter->setPen(Qt::black);
    QRectF frame = boundingRect();
    frame.setTop(0);
    painter->drawRect(frame);
    drawAngleBox(painter, QRectF(20, 45, 40, 20), QRectF(54, 49, 2, 2), 60, rotation());

    setScaleFont(painter);
    painter->drawText(QPointF(0, 35), QStringLiteral("0"));
    // One tick every 5 units, numbered every 50, from the top edge down.
    drawScale(painter, 0, static_cast<int>(boundingRect().width() / 5 - 2), Qt::Horizontal);

    paintBody(this, painter, option, widget);

    drawIcon(painter, QPoint(length - 50, 60), ":/Icon/baRulerLR.png");
    drawIcon(painter, QPoint(length - 80, 60), ":/Icon/baRuler_rotate.png");
    drawIcon(painter, QPoint(length - 110, 60), ":/Icon/fill.png");

    painter->setPen(m_pen);
    painter->drawPath(m_path);
}

void DRulers::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_mode = tmMove;
    const QPointF at = event->pos();
    if (onTopEdge(at, m_length))
        m_mode = tmDraw;
    if (hitsIcon(at, QPointF(m_length - 70, 70)))
        m_mode = tmRotate;
    if (hitsIcon(at, QPointF(m_length - 40, 70)))
        m_mode = tmResize;
    if (hitsIcon(at, QPointF(m_length - 100, 70)))
        m_mode = tmColor;

    if (m_mode == tmRotate)
        startTurn(this, m_origin, m_startRotation, m_originScene);
    else if (m_mode == tmResize)
        m_startLength = m_length;
    QGraphicsItem::mousePressEvent(event);
}

void DRulers::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    switch (m_mode) {
    case tmMove:
        QGraphicsItem::mouseMoveEvent(event);
        break;
    case tmRotate:
        followTurn(this, m_startRotation, m_originScene, event);
        break;
    case tmResize:
        drawOwn(qMax(
                kMinLength,
                scaledSize(m_startLength, event->pos(), event->buttonDownPos(Qt::LeftButton))));
        break;
    case tmDraw:
        // Along the top edge whatever the pointer's height, and not held to the ruler's ends.
        m_path = edgeLine(event->buttonDownPos(Qt::LeftButton), event->pos(), Qt::Horizontal);
        update();
        break;
    default:
        break;
    }
}

void DRulers::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_mode == tmDraw)
        finishDrawing(this, m_path, m_pen);
    else if (m_mode == tmColor)
        chooseInk(this, m_pen, m_view);
    QGraphicsItem::mouseReleaseEvent(event);
}

void DRulers::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsItem::mouseDoubleClickEvent(event);
}
