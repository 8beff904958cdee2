#pragma once

#include <QStyleOptionGraphicsItem>

class DCustomItem;
class QGraphicsItem;

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

} // namespace ItemPlacement
