#pragma once

#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QVector>

class DPage;
class DView;
class QColor;
class QGraphicsItem;
class QImage;
class QPainterPath;
class QPen;
class QTransform;
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

// The ink of path stroked by pen and shown through shown (object to picture), on white: drawn
// four times finer without antialiasing, each 4 x 4 block averaged. Its coverage is the path's
// own, free of the toolkit's antialiasing, which adds up the shares of a pixel that parts of one
// outline (a join, a cap, two pieces) both cover.
QImage fineInk(const QPainterPath &path, const QPen &pen, const QTransform &shown, QSize size);

// Where ink shown departs from reference (fineInk of the same stroke), both on white: a pixel
// the reference covers whole, with the eight around it, shown lighter than the pen's colour by
// more than 32 grey levels (a seam, a speck); any other pixel whose grey differs by more than 64
// (a notch, a step, stray ink).
struct InkFaults
{
    int inside = 0; // pixels covered whole with all eight around them
    int lightInside = 0;
    int lightest = 0; // grey levels above the pen's colour, inside
    QPoint lightestAt;
    int wrongEdges = 0;
    int worstEdge = 0;
    QPoint worstEdgeAt;
    bool whole() const { return inside > 0 && lightInside == 0 && wrongEdges == 0; }
    QString toString() const;
};
InkFaults inkFaults(const QImage &reference, const QImage &shown, const QColor &colour);

} // namespace InkFixture
