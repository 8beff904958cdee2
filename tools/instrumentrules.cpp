#include "instrumentrules.h"

#include "board/dpage.h"
#include "board/dview.h"
#include "shell/btmenus.h"

#include <QAction>
#include <QActionGroup>
#include <QColorDialog>
#include <QGraphicsPathItem>
#include <QGraphicsSceneMouseEvent>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QtMath>

#include <cmath>

namespace InstrumentRules {

void setUpItem(QGraphicsItem *item)
{
    item->setFlags(QGraphicsItem::ItemIsMovable | QGraphicsItem::ItemIsSelectable
                   | QGraphicsItem::ItemSendsGeometryChanges);
    item->setZValue(kZValue);
}

void setBody(QGraphicsPathItem *item, const QPainterPath &body, qreal outlineWidth)
{
    item->setPath(body);
    item->setPen(QPen(QBrush(kOutlineColor, Qt::SolidPattern), outlineWidth, Qt::SolidLine,
                      Qt::SquareCap, Qt::BevelJoin));
    item->setBrush(QBrush(kBodyColor, Qt::SolidPattern));
}

QRectF grownBounds(const QRectF &pathBounds, int outlineWidth)
{
    return pathBounds.adjusted(-outlineWidth, -outlineWidth, outlineWidth, outlineWidth);
}

QRectF outlinedBounds(const QGraphicsPathItem *item)
{
    return grownBounds(item->path().boundingRect(), item->pen().width());
}

QPen boardPen(const DView *view)
{
    return view ? view->getPen(0) : QPen(Qt::black, 4);
}

void paintBody(QGraphicsPathItem *item, QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget)
{
    QStyleOptionGraphicsItem plain(*option);
    plain.state &= ~QStyle::State_Selected;
    item->QGraphicsPathItem::paint(painter, &plain, widget);
}

int shownAngle(double rotation)
{
    const long long turned = static_cast<long long>(std::trunc(rotation));
    return static_cast<int>((-turned) % 360);
}

qreal angleTextX(int angle, qreal leftmost, qreal middle, qreal rightmost)
{
    if (angle > 99)
        return leftmost;
    if (angle > 9)
        return middle;
    return rightmost;
}

void drawAngleBox(QPainter *painter, const QRectF &box, const QRectF &degreeSign, qreal baseline,
                  double rotation)
{
    const int angle = shownAngle(rotation);
    painter->drawRect(box);
    painter->drawEllipse(degreeSign);
    const qreal left = box.left() + 9;
    painter->drawText(QPointF(angleTextX(angle, left, left + 8, left + 16), baseline),
                      QString::number(angle));
}

int tickLength(int index)
{
    if (index % 10 == 0)
        return 20;
    if (index % 5 == 0)
        return 15;
    return 10;
}

void setScaleFont(QPainter *painter)
{
    QFont bold;
    bold.setWeight(75);
    painter->setFont(bold);
}

void drawScale(QPainter *painter, int zero, int tickCount, Qt::Orientation edge)
{
    for (int i = 1; i <= tickCount; ++i) {
        const int at = zero + 5 * i;
        const bool numbered = i % 10 == 0;
        if (edge == Qt::Horizontal) {
            painter->drawLine(QPointF(at, 0), QPointF(at, tickLength(i)));
            if (numbered)
                painter->drawText(QPointF(at - 3, 35), QString::number(i / 10));
        } else {
            painter->drawLine(QPointF(0, at), QPointF(tickLength(i), at));
            if (numbered)
                painter->drawText(QPointF(35, at + 3), QString::number(i / 10));
        }
    }
}

void drawIcon(QPainter *painter, const QPoint &topLeft, const char *resource)
{
    // A PDF writer lays a picture under the alpha of the pen and brush last set: after the
    // translucent body the icons came out faded. An icon needs neither.
    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::NoBrush);
    painter->drawPixmap(QRect(topLeft, QSize(kIconSide, kIconSide)),
                        QPixmap(QLatin1String(resource)));
    painter->restore();
}

bool hitsIcon(const QPointF &point, const QPointF &centre)
{
    return QLineF(point, centre).length() < kIconHitRadius;
}

bool onTopEdge(const QPointF &point, int length)
{
    return QRect(QPoint(0, 0), QPoint(length - 1, 14)).contains(point.toPoint());
}

QPainterPath edgeLine(const QPointF &press, const QPointF &pointer, Qt::Orientation edge)
{
    QPainterPath line;
    if (edge == Qt::Horizontal) {
        line.moveTo(press.x(), 0);
        line.lineTo(pointer.x(), 0);
    } else {
        line.moveTo(0, press.y());
        line.lineTo(0, pointer.y());
    }
    return line;
}

void startTurn(QGraphicsItem *instrument, const QPointF &origin, double &startRotation,
               QPointF &originScene)
{
    startRotation = instrument->rotation();
    instrument->setTransformOriginPoint(origin);
    originScene = instrument->mapToScene(origin);
}

void followTurn(QGraphicsItem *instrument, double startRotation, const QPointF &originScene,
                const QGraphicsSceneMouseEvent *event)
{
    instrument->setRotation(turnedRotation(startRotation, originScene,
                                           event->buttonDownScenePos(Qt::LeftButton),
                                           event->scenePos()));
}

double turnedRotation(double startRotation, const QPointF &originScene, const QPointF &pressScene,
                      const QPointF &pointerScene)
{
    const QLineF atPress(originScene, pressScene);
    const QLineF now(originScene, pointerScene);
    if (atPress.isNull() || now.isNull())
        return startRotation; // no direction to follow
    return startRotation - atPress.angleTo(now);
}

int scaledSize(int startSize, const QPointF &pointer, const QPointF &press)
{
    const qreal pressDistance = QLineF(QPointF(), press).length();
    if (pressDistance <= 0.0)
        return startSize;
    const qreal size = startSize * QLineF(QPointF(), pointer).length() / pressDistance;
    if (!std::isfinite(size) || size > 1.0e6)
        return startSize;
    return static_cast<int>(size);
}

QPointF turnedAbout(const QPointF &centre, const QPointF &point, qreal degrees)
{
    QLineF arm(centre, point);
    arm.setAngle(arm.angle() + degrees);
    return arm.p2();
}

qreal shorterSweep(const QPointF &press, const QPointF &pointer)
{
    const QLineF from(QPointF(), press);
    const QLineF to(QPointF(), pointer);
    qreal sweep = from.angleTo(to);
    if (sweep > 180.0)
        sweep = -to.angleTo(from);
    return sweep;
}

QPainterPath protractorFigure(int kind, const QPointF &press, const QPointF &pointer, int radius)
{
    const qreal reach = radius + 2; // the figure runs just outside the scale's arc
    const QRectF bounds(-reach, -reach, 2 * reach, 2 * reach);
    const qreal startAngle = QLineF(QPointF(), press).angle();
    const qreal endAngle = QLineF(QPointF(), pointer).angle();
    const QPointF startPoint = QLineF::fromPolar(reach, startAngle).p2();
    const QPointF endPoint = QLineF::fromPolar(reach, endAngle).p2();
    const qreal sweep = shorterSweep(press, pointer);

    QPainterPath figure;
    switch (kind) {
    case tmChord:
        figure.arcMoveTo(bounds, startAngle);
        figure.arcTo(bounds, startAngle, sweep);
        figure.lineTo(figure.elementAt(0).x, figure.elementAt(0).y);
        break;
    case tmPie:
        figure.arcTo(bounds, startAngle, sweep);
        figure.lineTo(0, 0);
        break;
    case tmAngle:
        figure.moveTo(startPoint);
        figure.lineTo(0, 0);
        figure.lineTo(endPoint);
        break;
    case tmTriangle:
        figure.lineTo(startPoint);
        figure.lineTo(endPoint);
        figure.lineTo(0, 0);
        break;
    case tmArc:
    default:
        figure.arcMoveTo(bounds, startAngle);
        figure.arcTo(bounds, startAngle, sweep);
        break;
    }
    return figure;
}

qreal stepTurn(const QLineF &from, const QLineF &to)
{
    const qreal turn = from.angleTo(to);
    return turn > 180.0 ? turn - 360.0 : turn;
}

QPainterPath compassArc(const QRectF &arcRect, const QLineF &startLine, qreal sweep, int drawKind)
{
    qreal startAngle = startLine.angle();
    if (drawKind == tmHalfCircle) {
        sweep = std::fmod(sweep, 360.0);
        if (sweep < 0.0)
            sweep += 360.0;
        if (sweep > 180.0)
            sweep -= 360.0;
    } else if (std::abs(sweep) > 360.0) {
        // Paper inked all round: the circle, started one turn behind the pencil so its end is
        // the pencil's place.
        const qreal whole = sweep > 0.0 ? 360.0 : -360.0;
        startAngle += sweep - whole;
        sweep = whole;
    }
    QPainterPath arc;
    arc.arcMoveTo(arcRect, startAngle);
    arc.arcTo(arcRect, startAngle, sweep);
    return arc;
}

bool handOver(QGraphicsItem *instrument, const QPainterPath &drawn, const QPen &pen)
{
    if (drawn.elementCount() == 0)
        return false; // a click without a move: the page would read a first point that is not there
    auto *page = qobject_cast<DPage *>(instrument->scene());
    if (!page)
        return false;
    page->addCurveItem(drawn, pen, static_cast<float>(-instrument->rotation()), BtMenus::btPencil,
                       BtMenus::fnPathVertexItem, instrument->scenePos(), 1.0f, QTransform(), true);
    return true;
}

void finishDrawing(QGraphicsItem *instrument, QPainterPath &drawn, const QPen &pen)
{
    handOver(instrument, drawn, pen);
    drawn = QPainterPath();
    instrument->update();
}

void chooseInk(QGraphicsItem *instrument, QPen &pen, QWidget *dialogParent)
{
    const QColor chosen = QColorDialog::getColor(pen.color(), dialogParent);
    instrument->setFocus(Qt::OtherFocusReason);
    if (chosen.isValid())
        pen.setColor(chosen);
}

QAction *makeFigureAction(QObject *owner, QActionGroup *group, const QString &text,
                          const std::function<void()> &chosen)
{
    auto *action = new QAction(text, owner);
    action->setCheckable(true);
    // A functor: the instruments are QObjects only inside themselves.
    QObject::connect(action, &QAction::triggered, owner, [chosen] { chosen(); });
    group->addAction(action);
    return action;
}

void moveCheck(QAction *&checked, QAction *action)
{
    if (!action || action == checked)
        return;
    if (checked)
        checked->setChecked(false);
    checked = action;
    checked->setChecked(true);
}

} // namespace InstrumentRules
