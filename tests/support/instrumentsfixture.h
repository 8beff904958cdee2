#pragma once

#include <QList>
#include <QPointF>
#include <QVector>

#include <functional>
#include <memory>

class DPage;
class DView;
class QGraphicsItem;
class QPainterPath;
class QString;
class QWidget;

namespace InstrumentsFixture {

// The view pixel that shows point of item (item coordinates).
QPoint viewPoint(DView *view, const QGraphicsItem *item, const QPointF &point);

// A drag on the board view as a hand makes it, through the points given in item's coordinates
// as they stand at the press (the item may move or turn during the drag): a press at the first
// point, one move to each later point, a release at the last.
void dragItem(DView *view, const QGraphicsItem *item, const QVector<QPointF> &itemPoints);
// A press and a release at the same place, with no move between.
void clickItem(DView *view, const QGraphicsItem *item, const QPointF &point);

// The vertex objects (lines drawn along instruments) on the page.
QList<QGraphicsItem *> vertexObjects(DPage *page);

// Answers the next pop-up menu run within timeoutMs; the flag turns true once answered.
std::shared_ptr<bool> answerNextPopup(std::function<void(QWidget *)> answer, int timeoutMs = 5000);
// Answers the next pop-up menu by clicking its entry with the given text, as the user does.
std::shared_ptr<bool> chooseFromMenu(const QString &text);

// The element points of path, for comparisons.
QVector<QPointF> pointsOf(const QPainterPath &path);

// The end of a line of length from the origin at angle degrees (counter-clockwise on the screen).
QPointF polar(qreal length, qreal angle);

// True when the two points lie within tolerance of each other.
bool close(const QPointF &a, const QPointF &b, qreal tolerance = 0.01);

} // namespace InstrumentsFixture
