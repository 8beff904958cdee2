#pragma once

#include <QPainterPath>

class QPainter;
class QPen;

// Strokes in a round pen drawn whole and true where the toolkit's own antialiased stroke is not:
// a line through many points, in a plain pen, on a painter's pixels, is drawn as the share of
// each pixel its ink covers (StrokeCoverage), with no dark notch where it levels out or at its
// corners, and as one ink however long it is.
namespace PenStroke {

enum class Curves {
    AsCurves,
    AsLines, // through the points a file holds along them (CurveLines) at the scale shown
};

// painter->drawPath(path) with the painter's pen and brush, and with its curves as asked.
void drawPath(QPainter *painter, const QPainterPath &path, Curves curves);

// Whether drawPath draws a path of lines in pen on painter as one ink, measured: a plain round
// pen at least two pixels wide where shown, neither stretched nor slanted, on antialiased pixels.
// Not in a PDF, SVG or PostScript file, whose readers stroke the pen themselves.
bool inksWhole(const QPainter *painter, const QPen &pen);

} // namespace PenStroke
