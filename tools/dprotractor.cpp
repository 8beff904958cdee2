#include "dprotractor.h"

#include "instrumentrules.h"

#include "board/boardtypes.h"
#include "board/dview.h"

#include <QAction>
#include <QActionGroup>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QPainter>
#include <QtMath>

#include <cmath>

using namespace InstrumentRules;

DProtractor::DProtractor(QGraphicsItem *parent)
    : QObject(nullptr),
      QGraphicsPathItem(parent),
      m_mode(tmMove),
      m_radius(kStartRadius),
      m_startRadius(kStartRadius),
      m_outlineColor(kOutlineColor),
      m_drawKind(tmArc)
{
    setUpItem(this);
    drawOwn(m_radius);

    auto *group = new QActionGroup(this);
    auto makeEntry = [this, group](const QString &text, void (DProtractor::*slot)()) {
        return makeFigureAction(this, group, text, [this, slot] { (this->*slot)(); });
    };
    m_actArc = makeEntry(tr("Arco"), &DProtractor::setDrawArc_Actionclicked);
    m_actPie = makeEntry(tr("Porción"), &DProtractor::setDrawPie_Actionclicked);
    m_actChord = makeEntry(tr("Cuerda"), &DProtractor::setDrawChord_Actionclicked);
    m_actAngle = makeEntry(tr("Ángulo"), &DProtractor::setDrawAngle_Actionclicked);
    m_actTriangle = makeEntry(tr("Triangulo"), &DProtractor::setDrawTriangle_Actionclicked);
    m_menu = new QMenu;
    m_menu->addActions({ m_actArc, m_actPie, m_actChord, m_actAngle, m_actTriangle });
    m_menu->addSeparator();
    selectAction(m_actArc);
}

DProtractor::~DProtractor()
{
    delete m_menu;
}

void DProtractor::drawOwn(int radius)
{
    prepareGeometryChange();
    m_radius = radius;
    QPainterPath body;
    body.moveTo(0, 0);
    body.arcTo(QRectF(-radius, -radius, 2 * radius, 2 * radius), 0, 180);
    body.lineTo(0, 0);
    setBody(this, body, 1.0);
}

void DProtractor::selectAction(QAction *action)
{
    moveCheck(m_checkedAction, action);
}

void DProtractor::setDrawArc_Actionclicked()
{
    m_drawKind = tmArc;
    selectAction(m_actArc);
}

void DProtractor::setDrawPie_Actionclicked()
{
    m_drawKind = tmPie;
    selectAction(m_actPie);
}

void DProtractor::setDrawChord_Actionclicked()
{
    m_drawKind = tmChord;
    selectAction(m_actChord);
}

void DProtractor::setDrawAngle_Actionclicked()
{
    m_drawKind = tmAngle;
    selectAction(m_actAngle);
}

void DProtractor::setDrawTriangle_Actionclicked()
{
    m_drawKind = tmTriangle;
    selectAction(m_actTriangle);
}

QFont DProtractor::scaleLabelFont(int radius, const QFont &scaleFont)
{
    // Neighbours stand ten degrees apart on the circle of radius 25r/32; the widest number
    // takes at most three quarters of that, so a gap stays between any two.
    const qreal spacing = 2.0 * (25 * radius / 32) * std::sin(qDegreesToRadians(5.0));
    qreal widest = 0;
    const QFontMetricsF metrics(scaleFont);
    for (int angle = 10; angle < 180; angle += 10)
        widest = qMax(widest, metrics.horizontalAdvance(QString::number(angle)));
    const qreal allowed = 0.75 * spacing;
    if (widest <= allowed)
        return scaleFont;
    QFont smaller = scaleFont;
    smaller.setPixelSize(qMax(1, int(QFontInfo(scaleFont).pixelSize() * allowed / widest)));
    return smaller;
}

QPointF DProtractor::scaleLabelOrigin(int angle, int radius, const QFontMetricsF &metrics)
{
    const qreal width = metrics.horizontalAdvance(QString::number(angle));
    return QLineF::fromPolar(25 * radius / 32, angle).p2() - QPointF(width / 2, 0);
}

QRectF DProtractor::boundingRect() const
{
    return outlinedBounds(this);
}

int DProtractor::type() const
{
    return ItemTypeInstrument;
}

QPen DProtractor::drawingPen() const
{
    return boardPen(m_view);
}

void DProtractor::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    const int r = m_radius;
    painter->setPen(Qt::black);
    painter->drawLine(QPointF(-r, 0), QPointF(r, 0));
    painter->drawArc(QRectF(-r, -r, 2 * r, 2 * r), 0, 2880);
    painter->drawLine(QPointF(0, 0), QPointF(0, -5 * r / 32));
    painter->drawArc(QRectF(-5 * r / 32, -5 * r / 32, 10 * r / 32, 10 * r / 32), 0, 2880);

    setScaleFont(painter);
    const QFont scaleFont = painter->font();
    const QFont labelFont = scaleLabelFont(r, scaleFont);
    const QFontMetricsF labelMetrics(labelFont);
    auto radial = [painter](int angle, int from, int to) {
        painter->drawLine(QLineF::fromPolar(from, angle).p2(), QLineF::fromPolar(to, angle).p2());
    };
    for (int angle = 1; angle < 180; ++angle) {
        radial(angle, r, 29 * r / 32);
        if (angle % 5 == 0)
            radial(angle, r, 28 * r / 32);
        if (angle % 10 == 0) {
            radial(angle, r, 5 * r / 6);
            radial(angle, 25 * r / 32, 5 * r / 32);
            painter->setFont(labelFont);
            painter->drawText(scaleLabelOrigin(angle, r, labelMetrics), QString::number(angle));
            painter->setFont(scaleFont);
        }
    }

    paintBody(this, painter, option, widget);

    drawIcon(painter, QPoint(qRound(18.0 * r / 32), -20), ":/Icon/baRuler_rotate.png");
    drawIcon(painter, QPoint(qRound(23.0 * r / 32), -20), ":/Icon/baRulerLR.png");

    painter->setPen(drawingPen());
    painter->drawPath(m_path);
}

void DProtractor::mousePressEvent(QGraphicsSceneMouseEvent *event)
{
    m_mode = tmMove;
    const QPointF at = event->pos();
    const qreal distance = QLineF(QPointF(), at).length();
    if (distance > 29 * m_radius / 32 && distance < m_radius + m_ringMargin)
        m_mode = tmDraw;
    if (hitsIcon(at, QPointF(23 * m_radius / 32 + 10, -15))) {
        m_mode = tmResize;
        m_startRadius = m_radius;
    }
    if (hitsIcon(at, QPointF(18 * m_radius / 32 + 10, -15)))
        m_mode = tmRotate;

    if (m_mode == tmRotate)
        startTurn(this, m_origin, m_startRotation, m_originScene);
    QGraphicsItem::mousePressEvent(event);
}

void DProtractor::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    switch (m_mode) {
    case tmMove:
        QGraphicsItem::mouseMoveEvent(event);
        break;
    case tmRotate:
        followTurn(this, m_startRotation, m_originScene, event);
        break;
    case tmResize: {
        const int radius =
                scaledSize(m_startRadius, event->pos(), event->buttonDownPos(Qt::LeftButton));
        drawOwn(qBound(kMinRadius, radius, kMaxRadius));
        break;
    }
    case tmDraw:
        m_path = protractorFigure(m_drawKind, event->buttonDownPos(Qt::LeftButton), event->pos(),
                                  m_radius);
        update();
        break;
    default:
        break;
    }
}

void DProtractor::mouseReleaseEvent(QGraphicsSceneMouseEvent *event)
{
    // Mapped afresh: after a drag the event's own item position may still use where the
    // protractor stood one move earlier.
    const QPointF at = mapFromScene(event->scenePos());
    if (QLineF(QPointF(), at).length() < m_radius / 6)
        m_menu->exec(event->screenPos() + QPoint(1, 1));
    if (m_mode == tmDraw)
        finishDrawing(this, m_path, drawingPen());
    QGraphicsItem::mouseReleaseEvent(event);
}

void DProtractor::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsItem::mouseDoubleClickEvent(event);
}
