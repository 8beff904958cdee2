#pragma once

#include <QList>
#include <QPoint>
#include <QVector>

class DPage;
class DView;
class QGraphicsItem;
class QWidget;

// Helpers for driving the live-ink overlay and the page's pointer tools the way a user does.
namespace InkFixture {

// Chooses tool for user 0 as the palettes do: pens 50 to 69 show the overlay, every other tool
// hides it and leaves the input to the page.
void chooseTool(DView *view, int tool);

// count + 1 evenly spaced whole points from from to to.
QVector<QPoint> line(QPoint from, QPoint to, int count);

// Top-level board objects of the page, bottom to top.
QList<QGraphicsItem *> boardObjects(DPage *page);

} // namespace InkFixture
