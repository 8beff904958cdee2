#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

// The bucket fill: the area of one colour around a seed, as a picture of its own.
namespace FloodFill {

// Fills the 4-connected area of the seed's colour (alpha ignored, no tolerance) around seed
// with colour. Returns the filled area cut to its bounds, colour on transparent, and writes its
// top-left into topLeft. When nothing would change (seed outside the image, or colour already
// the seed's colour) returns a 1 x 1 image and leaves topLeft alone.
QImage fill(const QImage &image, QPoint seed, const QColor &colour, QPoint *topLeft);

} // namespace FloodFill
