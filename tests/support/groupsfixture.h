#pragma once

#include <QPoint>
#include <QPolygonF>
#include <QStringList>

class DPage;
class DView;
class QGraphicsItem;

namespace GroupsFixture {

// Clicks the view at viewPoint (on an object's rotate handle a click opens the object's menu)
// and, once the menu is up, chooses the entry named by path, submenus first, as the user would.
// False when no menu opened or it has no such entry (the menu is closed then).
bool chooseInMenu(DView *view, QPoint viewPoint, const QStringList &path);

// Where the centre of the rotate handle of a selected object shows in the view, after a paint
// has laid the handle out.
QPoint handlePoint(DView *view, QGraphicsItem *object);

// The four corners of an object's bounding rectangle in scene coordinates: its geometry as
// the screen shows it.
QPolygonF sceneCorners(const QGraphicsItem *item);
bool sameCorners(const QPolygonF &a, const QPolygonF &b, qreal tolerance = 0.01);

// Paints the page once into an image, so that frames and handles are laid out.
void paintPage(DPage *page);

} // namespace GroupsFixture
