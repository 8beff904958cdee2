#pragma once

#include <QImage>

class QGraphicsItem;

// Pictures averaged down to the sizes they are shown at, kept by the picture they were made
// from and their size, within a budget of memory: a picture shown at one scale is averaged
// once. Those the board has not shown since it last changed its scale are given back once it
// keeps still. Any thread may average and find them; a large picture averaged for the board is
// averaged beside it, and its object repainted when that comes.
namespace PictureReductions {

// picture averaged down to size (no larger than its own either way): the one kept, else made,
// and kept when keep is true and it cost enough to make.
QImage reduced(const QImage &picture, QSize size, bool keep);
// The one kept of picture at size; null when there is none.
QImage kept(const QImage &picture, QSize size);
// Whether averaging picture down costs the board enough to be done beside it.
bool costly(const QImage &picture);
// Averages picture down to size on a thread of its own, unless that is begun already, and then
// repaints item, if it still is (GUI thread). Gives the closest of picture kept, to stand in
// meanwhile; null when there is none.
QImage reduceSoon(const QImage &picture, QSize size, QGraphicsItem *item);
// Pictures begun by reduceSoon() still to come.
bool coming();

// The board shows another scale: what it showed is given back by the next
// giveBackOtherScales(), unless shown again before; what was made small for anything else
// (thumbnails, exports) goes then too, or as the budget is reached.
void newScaleShown();
void giveBackOtherScales();

} // namespace PictureReductions
