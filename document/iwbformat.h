#pragma once

#include <QColor>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QTransform>

class QPainterPath;

// The value texts of an IWB "content.xml": what the writer puts into attributes and how the
// readers take them back. Readers keep the quirks that stored files rely on (a rotation in
// exponent form reads 0, "#ABCDEF" is read as numbers, "4, 2" is a dot line); no text ever
// gives a number that is not finite.
namespace IwbFormat {

// --- Writing ---

// Six significant digits in the shorter of fixed and exponent form: 12.5, 0.333333, 1e-05.
// -0 is written "0"; a value that is not finite is written "0".
QString number(qreal value);
QString colour(const QColor &colour); // "#rrggbb", lower case, no alpha
QString opacity(const QColor &colour); // the alpha, "0" to "255"
// "translate(0,0) rotate(<r>,0,0) scale(<s>)"; r counter-clockwise (the negative of the item's
// rotation). A rotation that is not finite is written 0, such a scale 1.
QString transform(qreal counterClockwiseDegrees, qreal scale);
QString dashArray(Qt::PenStyle style); // "1, 0", "2, 1" (dash), "5, 1" (dot), "5, 1, 2" or ""
// "x,y x,y ...": every path element (control points included) moved by offset.
QString points(const QPainterPath &path, const QPointF &offset);
// The points of the line that path draws, for readers that draw a line through the points: the
// elements of a path without curves (the very text points() gives), and along each curve the
// points the board strokes it through (CurveLines) where the object is shown at scale times its
// size.
QString linePoints(const QPainterPath &path, const QPointF &offset, qreal scale);
// False when any element of path is not finite: such an object is not written.
bool isFinite(const QPainterPath &path);
// Paragraph alignment of the text object's HTML as "text-align": "" start, "right" end.
QString textAlign(const QString &htmlAlign);

// --- Reading ---

float readNumber(const QString &text); // single precision; not a number or not finite: 0
int readInteger(const QString &text); // decimal; not an integer: 0
int readTruncated(const QString &text); // a number truncated toward zero: "12.9" 12, "-3.7" -3
// "stroke-opacity" as an alpha bounded to 0..255; polylines fall back to hexadecimal.
int readOpacity(const QString &text, bool hexadecimalFallback);

// Rotation of a "transform", 0 when there is no "rotate(<digits>,"; exponent forms read 0.
float readRotation(const QString &transform);
// Scale of a "transform", 1 when there is no "scale(<digits>"; "1e-05" reads 1. A scale of 0
// also reads 1: the object would vanish and its handles be sized by 1 / 0.
float readScale(const QString &transform);
Qt::PenStyle readPenStyle(const QString &dashArray);
// A colour text that QColor::setNamedColor takes: a text holding "#" and lower-case
// hexadecimal or letters is returned as it is; otherwise the first three numbers 0 to 299 are
// red, green and blue (a later one replaces blue; missing ones are 255; above 255 counts 255).
QString readColourText(const QString &text);
QColor readColour(const QString &text); // readColourText as a colour; may be invalid ("#zz")
// The pairs of a "points" text plus offset; "12" is (12,12), two blanks give an extra (0,0).
QList<QPointF> readPoints(const QString &text, const QPointF &offset = QPointF());
// The points of a list as a path: a move to the first, lines to the others. unreadable (when
// given) is set when a number of the list is not one a board can hold (isReadable).
QPainterPath readPolyline(const QString &text, bool *unreadable = nullptr);
// A number a board can hold: finite, and within its reach (kBoardReach). The readers above
// take any other as 0 ("nan", "inf", "1e39" beyond a float, "1e30" beyond the reach); an
// object that holds one cannot be read as it was written.
bool isReadable(float value);
// The text as readNumber reads it is such a number ("" and words, which read 0, are).
bool isReadable(const QString &text);
bool arePointsReadable(const QString &text); // every number of a "points" list
// "fillType" and "fill" as the object's fill kind: 0 none, 1 solid, 2 gradient, 3 texture.
int readFillKind(const QString &fillType, const QString &fill);
// A "textarea" "font-weight" as the CSS word of its HTML: "75" bold, "" 400, others kept.
QString readWeightWord(const QString &fontWeight);
// A paragraph "text-align" as the HTML "align": "end" right, "start" none, others kept.
QString readTextAlign(const QString &textAlign);
// The width of a text's box, which its lines wrap to: a positive number a board can hold;
// anything else (absent, 0, negative, not a number, beyond the reach) is no box, -1.
qreal readTextWidth(const QString &text);

// A UBZ "matrix(a,b,c,d,e,f)": position (e, f) truncated, the rotation atan2(c, a) in degrees
// and the matrix's own scale; a text with fewer than six parts gives position 0, rotation 0 and
// scale 1. The other program's page is centred on its origin: positions are about the centre
// of the page they land on.
struct UbzPlacement
{
    QPoint position;
    float rotation = 0;
    // The matrix's scale as one factor (the square root of the area it scales by; 1 when it
    // scales to nothing), and what is left of it along the object's own width and height.
    qreal scale = 1;
    QSizeF stretch{ 1, 1 };
    bool isMatrix = false; // six parts were read
    QTransform matrix; // the whole matrix, for shapes given by their points

    QPointF objectPosition(const QPointF &pageCentre) const { return position + pageCentre; }
};
UbzPlacement readUbzMatrix(const QString &transform);

} // namespace IwbFormat
