#pragma once

#include <QStyleOptionGraphicsItem>

class DCustomItem;
class QGraphicsItem;
class QPainter;
class QRectF;

// Painting and cloning steps that the picture, sound, animated-image, text and video objects
// share: they differ only in their graphics-item base.
namespace ItemPlacement {

// The style option an object paints with, and whether its frame may show: a member of a group
// shows no frame, and a member of an unselected group no selection outline either.
QStyleOptionGraphicsItem paintOption(const QGraphicsItem *item,
                                     const QStyleOptionGraphicsItem *option, bool *standalone);

// Lays copy exactly over source (same centre in the scene, rotation, scale and flags), gives
// the copy's frame the counter-scale and the source's context menu. Links are not copied.
void placeCopy(const QGraphicsItem *source, const DCustomItem *sourceObject, QGraphicsItem *copy,
               DCustomItem *copyObject);

// Scene coordinates truncated toward zero, as every release report carries them.
QPoint truncated(const QPointF &scenePoint);

// Whether item is painted for the board (its page is the one shown), not into a picture of its
// page (a thumbnail, an export), which must be whole when drawn.
bool paintedForBoard(const QGraphicsItem *item);

// The toolkit's dashed outline about a selected object's bounds, inset by half penWidth, for
// objects that draw themselves rather than through the toolkit's painting.
void paintSelectionOutline(QPainter *painter, const QStyleOptionGraphicsItem *style,
                           const QRectF &bounds, qreal penWidth);

} // namespace ItemPlacement
