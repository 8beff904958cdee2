#include "dprotractor.h"

#include "instrumentrules.h"

#include "board/boardtypes.h"
#include "board/dview.h"

#include <QAction>
#include <QActionGroup>
#include <QGraphicsSceneMouseEvent>
#include <QMenu>
#include <QPainter>

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
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    drawOwn(m_radius);

    auto makeEntry = [this](const QString &text, void (DProtractor::*slot)()) {
        auto *action = new QAction(text, this);
        action->setCheckable(true);
        // A functor: the slot's object is a QObject only inside the protractor.
        connect(action, &QAction::triggered, this, [this, slot] { (this->*slot)(); });
        return action;
    };
    m_actArc = makeEntry(tr("Arco"), &DProtractor::setDrawArc_Actionclicked);
    m_actPie = makeEntry(tr("Porción"), &DProtractor::setDrawPie_Actionclicked);
    m_actChord = makeEntry(tr("Cuerda"), &DProtractor::setDrawChord_Actionclicked);
    m_actAngle = makeEntry(tr("Ángulo"), &DProtractor::setDrawAngle_Actionclicked);
    m_actTriangle = makeEntry(tr("Triangulo"), &DProtractor::setDrawTriangle_Actionclicked);
    m_menu = new QMenu;
    m_menu->addActions({ m_actArc, m_actPie, m_actChord, m_actAngle, m_actTriangle });
    m_menu->addSeparator();
    auto *group = new QActionGroup(this);
    for (QAction *action : m_menu->actions())
        if (!action->isSeparator())
            group->addAction(action);
    selectAction(m_actArc);
    setZValue(kZValue);
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
    if (!action || action == m_checkedAction)
        return;
    if (m_checkedAction)
        m_checkedAction->setChecked(false);
    m_checkedAction = action;
    m_checkedAction->setChecked(true);
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

QRectF DProtractor::boundingRect() const
{
    return grownBounds(path().boundingRect(), pen().width());
}

int DProtractor::type() const
{
    return ItemTypeInstrument;
}

QPen DProtractor::drawingPen() const
{
    return m_view ? m_view->getPen(0) : QPen(Qt::black, 4);
}

void DProtractor::paint(QPainter *painter, const QStyleOptionGraphicsItem *option, QWidget *widget)
{
    const int r = m_radius;
    painter->setPen(Qt::black);
    painter->drawLine(QPointF(-r, 0), QPointF(r, 0));
    painter->drawArc(QRectF(-r, -r, 2 * r, 2 * r), 0, 2880);
    painter->drawLine(QPointF(0, 0), QPointF(0, -5 * r / 32));
    painter->drawArc(QRectF(-5 * r / 32, -5 * r / 32, 10 * r / 32, 10 * r / 32), 0, 2880);

    QFont bold;
    bold.setWeight(75);
    painter->setFont(bold);
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
            const QPointF at = QLineF::fromPolar(25 * r / 32, angle).p2() - QPointF(8, 0);
            painter->drawText(at, QString::number(angle));
        }
    }

    paintBody(this, painter, option, widget);

    const QSize icon(kIconSide, kIconSide);
    painter->drawPixmap(QRect(QPoint(qRound(18.0 * r / 32), -20), icon),
                        QPixmap(QStringLiteral(":/Icon/baRuler_rotate.png")));
    painter->drawPixmap(QRect(QPoint(qRound(23.0 * r / 32), -20), icon),
                        QPixmap(QStringLiteral(":/Icon/baRulerLR.png")));

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

    if (m_mode == tmRotate) {
        m_startRotation = rotation();
        setTransformOriginPoint(m_origin);
        m_originScene = mapToScene(m_origin);
    }
    QGraphicsItem::mousePressEvent(event);
}

void DProtractor::mouseMoveEvent(QGraphicsSceneMouseEvent *event)
{
    switch (m_mode) {
    case tmMove:
        QGraphicsItem::mouseMoveEvent(event);
        break;
    case tmRotate:
        setRotation(turnedRotation(m_startRotation, m_originScene,
                                   event->buttonDownScenePos(Qt::LeftButton), event->scenePos()));
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
    if (m_mode == tmDraw) {
        handOver(this, m_path, drawingPen());
        m_path = QPainterPath();
        update();
    }
    QGraphicsItem::mouseReleaseEvent(event);
}

void DProtractor::mouseDoubleClickEvent(QGraphicsSceneMouseEvent *event)
{
    QGraphicsItem::mouseDoubleClickEvent(event);
}
