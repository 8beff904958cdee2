#pragma once

#include <QRectF>

class QImage;
class QPainter;

// Pictures shown as a photo viewer shows them: filtered, with smooth edges, wherever the
// painter's transform does not lay them on the pixels one for one; laid as they are where it
// does, since a filter would change nothing there and only cost time.
namespace SmoothPicture {

// From now on painter shows pictures (and picture fills) so.
void prepare(QPainter *painter);

// Draws picture over target (painter's coordinates) so, the part of target that exposed covers
// at least. Filtered over much of a screen, it is filtered in bands on several threads at once
// and the bands laid in turn: on one core, a turned photo over a zoomed-in board held the board
// up for a frame.
void draw(QPainter *painter, const QRectF &target, const QImage &picture, const QRectF &exposed);

} // namespace SmoothPicture
