#pragma once

#include <QColor>
#include <QLineF>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QRectF>

#include <functional>

class DView;
class QAction;
class QActionGroup;
class QGraphicsItem;
class QGraphicsPathItem;
class QGraphicsSceneMouseEvent;
class QObject;
class QPainter;
class QStyleOptionGraphicsItem;
class QWidget;

// Press modes of the drawing instruments and, in the same numbering, the figures the protractor
// and the compass draw. One numbering for all four instruments.
enum eToolMode {
    tmMove = 0,
    tmDraw = 1,
    tmDrawSecond = 2, // set square: along the left edge
    tmColor = 3,
    tmRotate = 4,
    tmResize = 5,
    tmArc = 6,
    tmChord = 7,
    tmPie = 8,
    tmAngle = 9,
    tmTriangle = 10,
    tmHalfCircle = 11,
    tmFullCircle = 12,
};

// What the ruler, set square, protractor and compass share: the body's look, the angle shown,
// the turn about the local origin, the icon hit test and the hand-over of a drawn line to the
// page. Geometry that needs no scene lives here so it can be checked on its own.
namespace InstrumentRules {

inline constexpr double kZValue = 1000000.0;
inline constexpr double kIconHitRadius = 20.0;
inline constexpr int kIconSide = 24;
inline const QColor kOutlineColor{ 0, 180, 255, 160 };
inline const QColor kBodyColor{ 0, 180, 255, 60 };

// Movable, selectable and above what the page holds until the page gives it a z value of its own.
void setUpItem(QGraphicsItem *item);
// The light blue outline and translucent fill of every instrument body.
void setBody(QGraphicsPathItem *item, const QPainterPath &body, qreal outlineWidth);
// The body's bounds grown on every side by the outline's integer width.
QRectF grownBounds(const QRectF &pathBounds, int outlineWidth);
// The item's body bounds grown by its own outline's width.
QRectF outlinedBounds(const QGraphicsPathItem *item);
// The board's current pen for user 0, which the set square and the protractor draw with; a black
// pen of width 4 while no view is known.
QPen boardPen(const DView *view);

// The body painted as the graphics item paints it, but never with the selection rectangle.
void paintBody(QGraphicsPathItem *item, QPainter *painter, const QStyleOptionGraphicsItem *option,
               QWidget *widget);

// The angle shown in an instrument's angle box: the rotation truncated, negated, kept within
// one turn but with its sign (a counter-clockwise quarter turn reads 90).
int shownAngle(double rotation);
// Where the angle text starts: three places, so that one, two and three digits end alike.
qreal angleTextX(int angle, qreal leftmost, qreal middle, qreal rightmost);
// The angle box of the ruler and the set square: frame, degree sign and the angle text.
void drawAngleBox(QPainter *painter, const QRectF &box, const QRectF &degreeSign, qreal baseline,
                  double rotation);

// A tick of the instruments' scales: 20 long at every tenth, 15 at every fifth, else 10.
int tickLength(int index);
// The bold face of the scale numbers, set on painter.
void setScaleFont(QPainter *painter);
// A scale of tickCount ticks 5 apart from zero along the top edge (Qt::Horizontal) or the left
// edge (Qt::Vertical), a number every tenth tick.
void drawScale(QPainter *painter, int zero, int tickCount, Qt::Orientation edge);
// An icon of kIconSide square with its top-left at topLeft.
void drawIcon(QPainter *painter, const QPoint &topLeft, const char *resource);

// True when point lies within the icon hit radius of centre (strictly).
bool hitsIcon(const QPointF &point, const QPointF &centre);
// True when point (rounded) lies in the 15 px band along the top edge of the given length, where
// the ruler and the set square draw.
bool onTopEdge(const QPointF &point, int length);
// The straight line drawn along the top edge (Qt::Horizontal: y = 0) or the left edge
// (Qt::Vertical: x = 0) from the press to the pointer, whatever the pointer's distance from it.
QPainterPath edgeLine(const QPointF &press, const QPointF &pointer, Qt::Orientation edge);

// A turn starts: the item turns about origin from its present rotation; startRotation and
// originScene keep what the turn follows.
void startTurn(QGraphicsItem *instrument, const QPointF &origin, double &startRotation,
               QPointF &originScene);
// The turn follows the pointer of event.
void followTurn(QGraphicsItem *instrument, double startRotation, const QPointF &originScene,
                const QGraphicsSceneMouseEvent *event);

// The rotation that makes the instrument follow the pointer about originScene: the start
// rotation less the counter-clockwise angle from the press to the pointer. Never normalised.
double turnedRotation(double startRotation, const QPointF &originScene, const QPointF &pressScene,
                      const QPointF &pointerScene);

// A size scaled by the ratio of the pointer's distance from the local origin now to its
// distance at the press, truncated; the start size when the press was at the origin.
int scaledSize(int startSize, const QPointF &pointer, const QPointF &press);

// point turned about centre by degrees (counter-clockwise on the screen), keeping its distance.
QPointF turnedAbout(const QPointF &centre, const QPointF &point, qreal degrees);

// The protractor's figure of the given kind, about (0, 0) with radius, from the press direction
// to the pointer direction; arcs and pies take the shorter way round.
QPainterPath protractorFigure(int kind, const QPointF &press, const QPointF &pointer, int radius);
// The protractor's sweep from press to pointer, within (-180, 180].
qreal shorterSweep(const QPointF &press, const QPointF &pointer);

// The signed turn from one direction to the next, within (-180, 180]: counter-clockwise
// positive. Between two moves a hand turns the compass far less than half a turn.
qreal stepTurn(const QLineF &from, const QLineF &to);
// The compass's arc on arcRect from the angle of startLine through sweep, the degrees the pencil
// travelled (counter-clockwise positive). Beyond a whole turn it is the whole circle, ending
// where the pencil is; a half circle takes the shorter way to the pencil.
QPainterPath compassArc(const QRectF &arcRect, const QLineF &startLine, qreal sweep, int drawKind);

// Hands a line drawn along an instrument to the instrument's page as an undoable vertex object
// placed where the line was seen. A press without a move drew nothing: then nothing is handed
// over and the result is false.
bool handOver(QGraphicsItem *instrument, const QPainterPath &drawn, const QPen &pen);
// The press that drew ends: drawn goes to the page (handOver) and is cleared from the instrument.
void finishDrawing(QGraphicsItem *instrument, QPainterPath &drawn, const QPen &pen);
// The ink's colour chosen in a dialog over dialogParent; a cancelled dialog keeps the colour.
// The instrument takes the focus back from the dialog.
void chooseInk(QGraphicsItem *instrument, QPen &pen, QWidget *dialogParent);

// A checkable entry of an instrument's figure menu, in the exclusive group; owner owns it and
// triggering it calls chosen.
QAction *makeFigureAction(QObject *owner, QActionGroup *group, const QString &text,
                          const std::function<void()> &chosen);
// The check mark moves from checked to action (none is null); checked follows it.
void moveCheck(QAction *&checked, QAction *action);

} // namespace InstrumentRules
