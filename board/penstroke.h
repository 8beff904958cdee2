#pragma once

#include <QPainterPath>
#include <QPen>

class QPainter;

// Strokes drawn by the toolkit's own stroker (Qt 5), without the notches it leaves in lines.
//
// A round join between two lines is swept from the direction of one to the other without going
// round through 0 degrees, so where a line's direction passes the x axis, at the top or bottom
// of a bend, the join is a whole circle about the corner rather than a sliver of one;
// antialiasing adds the circle's share of the edge pixels it has in common with the lines to
// theirs, and a line along a curve (a pen stroke, a stroke read from a file, a curve drawn as
// lines) has a dark notch on both edges wherever it levels out. A curve has no joins inside it,
// so such a corner is drawn as a tiny curve.
namespace PenStroke {

// path as pen should stroke it: path itself unless a round join of pen's between two lines
// turns through the x axis by a few degrees; those corners become curves a hundredth of the
// pen's width across.
QPainterPath strokable(const QPainterPath &path, const QPen &pen);

enum class Curves {
    AsCurves,
    AsLines, // through the points a file holds along them (CurveLines) at the scale shown
};

// painter->drawPath(path) with the painter's pen and brush, strokable() and with its curves as
// asked, where the toolkit strokes the pen itself: not in a PDF, SVG or PostScript file, whose
// readers stroke it.
void drawPath(QPainter *painter, const QPainterPath &path, Curves curves);

} // namespace PenStroke
