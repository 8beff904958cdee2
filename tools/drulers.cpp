#include "drulers.h"

#include "instrumentrules.h"

#include "board/boardtypes.h"
#include "board/dview.h"

#include <QColorDialog>
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
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    drawOwn(m_length);
    setZValue(kZValue);
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
    return grownBounds(path().boundingRect(), pen().width());
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

    QFont bold;
    bold.setWeight(75);
    painter->setFont(bold);
    painter->drawText(QPointF(0, 35), QStringLiteral("0"));
    // One tick every 5 units, numbered every 50, from the top edge down.
    const int tickCount = static_cast<int>(boundingRect().width() / 5 - 2);
    for (int i = 1; i <= tickCount; ++i) {
        const int x = 5 * i;
        painter->drawLine(QPointF(x, 0), QPointF(x, tickLength(i)));
        if (i % 10 == 0)
            painter->drawText(QPointF(x - 3, 35), QString::number(i / 10));
    }

    paintBody(this, painter, option, widget);

    const QSize icon(kIconSide, kIconSide);
    painter->drawPixmap(QRect(QPoint(qRound(length - 50.0), 60), icon),
                        QPixmap(QStringLiteral(":/Icon/baRulerLR.png")));
    painter->drawPixmap(QRect(QPoint(qRound(length - 80.0), 60), icon),
                        QPixmap(QStringLiteral(":/Icon/baRuler_rotate.png")));
    painter->drawPixmap(QRect(QPoint(qRound(length - 110.0), 60), icon),
                        QPixmap(QStringLiteral(":/Icon/fill.png")));

    painter->setPen(m_pen);
    painter->drawPath(m_path);
}

void DRulers::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_mode = tmMove;
    const QPointF at = event->pos();
    if (QRect(QPoint(0, 0), QPoint(m_length - 1, 14)).contains(at.toPoint()))
        m_mode = tmDraw;
    if (hitsIcon(at, QPointF(m_length - 70, 70)))
        m_mode = tmRotate;
    if (hitsIcon(at, QPointF(m_length - 40, 70)))
        m_mode = tmResize;
    if (hitsIcon(at, QPointF(m_length - 100, 70)))
        m_mode = tmColor;

    if (m_mode == tmRotate) {
        m_startRotation = rotation();
        setTransformOriginPoint(m_origin);
        m_originScene = mapToScene(m_origin);
    } else if (m_mode == tmResize) {
        m_startLength = m_length;
    }
    QGraphicsItem::mousePressEvent(event);
}

void DRulers::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    switch (m_mode) {
    case tmMove:
        QGraphicsItem::mouseMoveEvent(event);
        break;
    case tmRotate:
        setRotation(turnedRotation(m_startRotation, m_originScene,
                                   event->buttonDownScenePos(Qt::LeftButton), event->scenePos()));
        break;
    case tmResize:
        drawOwn(qMax(
                kMinLength,
                scaledSize(m_startLength, event->pos(), event->buttonDownPos(Qt::LeftButton))));
        break;
    case tmDraw: {
        // Along the top edge whatever the pointer's height, and not held to the ruler's ends.
        QPainterPath line;
        line.moveTo(event->buttonDownPos(Qt::LeftButton).x(), 0);
        line.lineTo(event->pos().x(), 0);
        m_path = line;
        update();
        break;
    }
    default:
        break;
    }
}

void DRulers::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    if (m_mode == tmDraw) {
        handOver(this, m_path, m_pen);
        m_path = QPainterPath();
        update();
    } else if (m_mode == tmColor) {
        const QColor chosen = QColorDialog::getColor(m_pen.color(), m_view);
        setFocus(Qt::OtherFocusReason);
        if (chosen.isValid())
            m_pen.setColor(chosen);
    }
    QGraphicsItem::mouseReleaseEvent(event);
}

void DRulers::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsItem::mouseDoubleClickEvent(event);
}
