#pragma once

#include <QImage>
#include <QList>
#include <QPointF>
#include <QString>
#include <QVector>

// Pen strokes of printed characters, taken from fonts, for the engine to learn from and for the
// recognition benchmark to write with. Every glyph is given in the engine's letter box: y
// downwards, the capitals' top at 0 and the baseline at 100, small letters as high as the font
// makes them, x from the glyph's left side.
namespace GlyphStrokes {

using Strokes = QList<QVector<QPointF>>;

// The engine's classes, in order: class n is the character at index n.
QString characters();
constexpr int kClassCount = 73;

// One glyph per class (empty where the font has none).
using Alphabet = QVector<Strokes>;

// A Hershey font (.jhf): single-stroke glyphs, taken as drawn.
Alphabet hershey(const QString &fileName);
// An SVG font of single-line glyphs (paths of M, L, C and Q segments, y upwards).
Alphabet svgFont(const QString &fileName);
// An outline font (TrueType or OpenType): each glyph is rendered, thinned to a line one pixel
// wide, and that line's branches joined into pen strokes. Needs a QGuiApplication.
Alphabet outlineFont(const QString &fileName);

// The centre lines of the ink (pixels darker than mid-grey) as pen strokes in pixel
// coordinates: the ink thinned to one pixel, short spurs left by corners dropped, and branches
// that run straight on through a crossing joined into one stroke. A blob too small to have a
// line is a dot (a stroke of one point).
Strokes centreLines(const QImage &ink);

} // namespace GlyphStrokes
