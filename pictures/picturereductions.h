#pragma once

#include <QImage>
#include <QVector>

// Pictures averaged down to the sizes they are shown at. Two kinds:
// - Halvings, for the board: a picture halved n times, each pixel the average of the 2^n x 2^n
//   pixels it covers. One serves every size from its own down to half of it, so the steps of a
//   zoom mostly find the one they need, made once. Those the board has not shown since its
//   scale last changed are given back once it keeps still.
// - Exact reductions, for what is drawn into a picture at once (thumbnails, exports): averaged
//   to the size asked, within a budget of memory.
// Any thread may average and find them.
namespace PictureReductions {

// picture averaged down to size (no larger than its own either way): the one kept, else made,
// and kept when keep is true and it cost enough to make.
QImage reduced(const QImage &picture, QSize size, bool keep);
// Whether averaging picture down costs the board enough to be done beside it, from halvings.
bool costly(const QImage &picture);

// How often a picture of pixels is halved to be shown at shown: as often as it stays at least
// shown either way (0 where it shows at more than half its size, or larger).
int halvingsFor(QSize pixels, QSize shown);
// The size of a picture of pixels halved halvings times (odd sides rounded up).
QSize halvedSize(QSize pixels, int halvings);
// Each pixel of into (half of from's size, rounded down) the average of the 2 x 2 pixels of from
// over it; both 32 bits a pixel, alpha premultiplied where there is one.
void halveInto(const QImage &from, QImage *into);

// picture halved halvings times (none: picture itself): the one kept, else made now from the
// nearest finer halving kept (or picture itself), and kept while the board shows it.
QImage halved(const QImage &picture, int halvings);
// Of picture and its halvings kept, the one halved the nearest number of times to halvings
// (of two as near, the coarser); nothing is made.
QImage nearestHalving(const QImage &picture, int halvings);
// The halving counts kept of picture, fewest first.
QVector<int> keptHalvings(const QImage &picture);

// The board shows another scale: what it showed is given back by the next
// giveBackOtherScales(), unless shown again before; what was made small for anything else
// (thumbnails, exports) goes then too, or as the budget is reached.
void newScaleShown();
void giveBackOtherScales();

} // namespace PictureReductions
