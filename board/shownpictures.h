#pragma once

#include <QImage>
#include <QRect>
#include <QTransform>

class QGraphicsItem;
class QGraphicsScene;
class QPainter;

// Large pictures the board shows smaller than their pixels, as it shows them: averaged over
// the pixels each shown pixel covers, at the scale and place shown, made on threads beside the
// board from the picture's halving for that size (PictureReductions). Averaged while the board
// painted, eight photos held a zoom step up twice as long as filtered alone. While one is made
// the board shows what it has, filtered as it is: the object's picture of the scale before,
// else the nearest halving; and the object is repainted when it comes. What the board has not
// shown since its scale last changed is given back once it keeps still. A page's picture, its
// background, is made so too, over the whole board, and the board's cache of it painted again
// when it comes.
namespace ShownPictures {

// An object's picture drawn over target (painter coordinates), which toDevice takes to the
// device's pixels, of which it covers area.
struct Shown
{
    QGraphicsItem *item; // a QObject too
    QImage picture;
    QRectF target;
    QTransform toDevice;
    QRect area;
    int halvings; // those of picture it is averaged from
};

// A page's picture, its background: tiled from the page's origin as brush (the background
// brush's own transform) lays it, toDevice taking the page to the device's pixels, of which it
// covers area.
struct ShownFill
{
    QGraphicsScene *page;
    QImage picture;
    QTransform brush;
    QTransform toDevice;
    QRect area;
    int halvings; // those of picture it is averaged from
};

// Draws shown on painter (GUI thread): as made beside the board, or what stands in for it
// while it is.
void draw(QPainter *painter, const Shown &shown);
void fill(QPainter *painter, const ShownFill &shown);
// Pictures still being made.
bool coming();

// The board shows another scale, or another page: what it showed is given back by the next
// giveBackOtherScales() unless shown again before (halvings too).
void newScaleShown();
void giveBackOtherScales();

} // namespace ShownPictures
