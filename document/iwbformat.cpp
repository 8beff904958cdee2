#include "iwbformat.h"

#include "board/boardtypes.h"
#include "board/curvelines.h"
#include "document/iwblimits.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

struct DashText
{
    Qt::PenStyle style;
    const char *text;
};
// A dash line has the shorter array and a dot line the longer one: the reader decides on the
// first number, so this is what brings both back as they were saved.
// clang-format off
constexpr DashText kDashTexts[] = {
    { Qt::SolidLine,   "1, 0" },
    { Qt::DashLine,    "2, 1" },
    { Qt::DotLine,     "5, 1" },
    { Qt::DashDotLine, "5, 1, 2" },
};

struct WeightWord
{
    const char *weight;
    const char *word;
};
// Weights of the toolkit's 0 to 99 scale; 67 stands for demibold here, as stored files have it.
constexpr WeightWord kWeightWords[] = {
    { "25", "light" },
    { "50", "normal" },
    { "67", "demibold" },
    { "75", "bold" },
    { "87", "black" },
};
// clang-format on

constexpr float kTruncateLimit = 1.0e9f; // far beyond any page; keeps the int conversion defined

float finiteOr(float value, float fallback)
{
    return std::isfinite(value) ? value : fallback;
}

// What QStringRef::toFloat gives, for the plain decimals that point lists are made of: no more
// than 15 digits in all, so that the digits and the power of ten are exact doubles and their
// quotient is the correctly rounded double that toFloat narrows to a float. Anything else
// (exponents, spaces, long digit strings, words) goes to toFloat itself.
float pointNumber(const QStringRef &text)
{
    const QChar *at = text.constData();
    const QChar *const end = at + text.size();
    bool negative = false;
    if (at != end && (*at == QLatin1Char('-') || *at == QLatin1Char('+'))) {
        negative = *at == QLatin1Char('-');
        ++at;
    }
    static constexpr double kPowers[] = { 1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                          1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15 };
    qint64 digits = 0;
    int count = 0;
    int decimals = -1; // digits after the point, or -1 before it
    for (; at != end; ++at) {
        const ushort c = at->unicode();
        if (c >= '0' && c <= '9') {
            if (++count > 15)
                return text.toFloat();
            digits = digits * 10 + (c - '0');
            if (decimals >= 0)
                ++decimals;
        } else if (c == '.' && decimals < 0) {
            decimals = 0;
        } else {
            return text.toFloat();
        }
    }
    if (count == 0)
        return text.toFloat();
    const double value = double(digits) / kPowers[std::max(decimals, 0)];
    return float(negative ? -value : value);
}

// The number of the first "name(" followed by a number ("-", digits, then "." and digits, each
// optional but the first digit), and by a comma where one must follow: what the transform
// readers take, as the pattern name\([-]?[0-9]+[.]?[0-9]*, would find it. Read by hand: every
// object of a document has its transform read twice on the way in.
float numberAfter(const QString &text, QLatin1String name, bool comma, float fallback)
{
    const auto isDigit = [&text](int i) {
        return i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
    };
    for (int at = text.indexOf(name); at >= 0; at = text.indexOf(name, at + 1)) {
        const int start = at + name.size();
        int end = start;
        if (end < text.size() && text.at(end) == QLatin1Char('-'))
            ++end;
        if (!isDigit(end))
            continue;
        while (isDigit(end))
            ++end;
        if (end < text.size() && text.at(end) == QLatin1Char('.'))
            ++end;
        while (isDigit(end))
            ++end;
        // Only digits, "-" and "." were taken: no shorter number is followed by a comma either.
        if (comma && (end >= text.size() || text.at(end) != QLatin1Char(',')))
            continue;
        return finiteOr(pointNumber(text.midRef(start, end - start)), 0); // as readNumber
    }
    return fallback;
}

int truncated(float value)
{
    return int(std::trunc(qBound(-kTruncateLimit, finiteOr(value, 0), kTruncateLimit)));
}

QPointF elementPoint(const QPainterPath &path, int i)
{
    const QPainterPath::Element element = path.elementAt(i);
    return QPointF(element.x, element.y);
}

// The most a number takes as number() writes it: "-1.23457e-308".
constexpr int kNumberChars = 16;

// Writes value as QString::number(value, 'g', 6) does when value is 0 or lies from 1e-4 to just
// under 1e6, as the numbers of the board's points do; nullptr, with nothing written, for others.
// The toolkit's conversion took half the time of writing a lesson's pages. Exactly as it
// rounds: to nearest, halves away from zero, and the decisions are made on the exact value
// (each fused multiply-add rounds only once, so its sign is exact).
char *writePlainNumber(char *out, double value)
{
    if (value == 0) {
        *out = '0';
        return out + 1;
    }
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-5 && magnitude < 1e6))
        return nullptr;
    static constexpr double kPowers[] = { 1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10 };
    // Whether magnitude is at least 10 to the power n (-4 to 6).
    const auto atLeast = [magnitude](int n) {
        return std::fma(magnitude, 1e4, -kPowers[n + 4]) >= 0;
    };
    // The power of ten of the first digit, found on the rounded powers and then made exact.
    int exponent = -4;
    while (exponent < 5 && magnitude >= kPowers[exponent + 5] / 1e4)
        ++exponent;
    if (!atLeast(exponent)) {
        if (exponent == -4)
            return nullptr;
        --exponent;
    } else if (exponent < 5 && atLeast(exponent + 1)) {
        ++exponent;
    }
    const double scale = kPowers[5 - exponent];
    qint64 digits = qint64(std::floor(magnitude * scale));
    if (std::fma(magnitude, scale, -(double(digits) + 0.5)) >= 0)
        ++digits;
    if (digits == 1000000) { // 999999.5 and the like: the next power of ten
        if (exponent == 5)
            return nullptr; // written in exponent form
        digits = 100000;
        ++exponent;
    }
    char text[6];
    for (int n = 5; n >= 0; --n) {
        text[n] = char('0' + digits % 10);
        digits /= 10;
    }
    const int whole = exponent >= 0 ? exponent + 1 : 0;
    int used = 6;
    while (used > whole && text[used - 1] == '0')
        --used;
    if (value < 0)
        *out++ = '-';
    if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        for (int n = exponent + 1; n < 0; ++n)
            *out++ = '0';
    } else {
        std::memcpy(out, text, size_t(whole));
        out += whole;
        if (used > whole)
            *out++ = '.';
    }
    std::memcpy(out, text + whole, size_t(used - whole));
    return out + (used - whole);
}

// number() into out, which has room for kNumberChars; the end of what was written.
char *writeNumber(char *out, double value)
{
    if (!std::isfinite(value)) {
        *out = '0';
        return out + 1;
    }
    value += 0.0; // -0 is written 0
    if (char *end = writePlainNumber(out, value))
        return end;
    const QByteArray text = QByteArray::number(value, 'g', 6);
    std::memcpy(out, text.constData(), size_t(text.size()));
    return out + text.size();
}

} // namespace

namespace IwbFormat {

QString number(qreal value)
{
    char text[kNumberChars];
    return QString::fromLatin1(text, int(writeNumber(text, value) - text));
}

QString colour(const QColor &colour)
{
    return colour.name();
}

QString opacity(const QColor &colour)
{
    return QString::number(colour.alpha());
}

QString transform(qreal counterClockwiseDegrees, qreal scale)
{
    const qreal rotation = std::isfinite(counterClockwiseDegrees) ? counterClockwiseDegrees : 0;
    return QStringLiteral("translate(0,0) rotate(") + number(rotation)
            + QStringLiteral(",0,0) scale(") + number(std::isfinite(scale) ? scale : 1)
            + QLatin1Char(')');
}

QString dashArray(Qt::PenStyle style)
{
    for (const DashText &dash : kDashTexts) {
        if (dash.style == style)
            return QLatin1String(dash.text);
    }
    return QString();
}

QString points(const QPainterPath &path, const QPointF &offset)
{
    // Written as bytes and made a text once: a lesson's strokes have hundreds of thousands of
    // points, and a list of pairs joined at the end, or a text grown by a number at a time,
    // cost as much again as the numbers.
    const int count = path.elementCount();
    std::vector<char> text(size_t(count) * (2 * kNumberChars + 2));
    char *end = text.data();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (i > 0)
            *end++ = ' ';
        end = writeNumber(end, element.x + offset.x());
        *end++ = ',';
        end = writeNumber(end, element.y + offset.y());
    }
    return QString::fromLatin1(text.data(), int(end - text.data()));
}

QString linePoints(const QPainterPath &path, const QPointF &offset, qreal scale)
{
    if (!CurveLines::hasCurves(path))
        return points(path, offset);
    const qreal shown = std::abs(scale);
    const qreal tolerance =
            CurveLines::kShownTolerance / (std::isfinite(shown) && shown > 0 ? shown : qreal(1));
    const int count = path.elementCount();
    const auto isCurve = [&path, count](int i) {
        return path.elementAt(i).type == QPainterPath::CurveToElement && i > 0 && i + 2 < count;
    };
    // How finely each curve is cut, so that the whole list stays within what a reader takes
    // (it refuses a file with a longer list).
    QVector<int> pieces;
    qint64 others = 0;
    qint64 total = 0;
    for (int i = 0; i < count; ++i) {
        if (isCurve(i)) {
            pieces << CurveLines::pieces(elementPoint(path, i - 1), elementPoint(path, i),
                                         elementPoint(path, i + 1), elementPoint(path, i + 2),
                                         tolerance);
            total += pieces.last();
            i += 2;
        } else {
            ++others;
        }
    }
    if (others + total > IwbLimits::kMaxPoints && total > 0) {
        const double share = double(std::max<qint64>(IwbLimits::kMaxPoints - others, 0)) / total;
        for (int &n : pieces)
            n = std::max(1, int(n * share));
    }

    QString text;
    text.reserve(int(std::min<qint64>(others + total, IwbLimits::kMaxPoints)) * 16);
    const auto add = [&text, &offset](const QPointF &point) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += number(point.x() + offset.x());
        text += QLatin1Char(',');
        text += number(point.y() + offset.y());
    };
    int curve = 0;
    for (int i = 0; i < count; ++i) {
        if (!isCurve(i)) {
            add(elementPoint(path, i));
            continue;
        }
        const QPointF p0 = elementPoint(path, i - 1);
        const QPointF c1 = elementPoint(path, i);
        const QPointF c2 = elementPoint(path, i + 1);
        const QPointF p3 = elementPoint(path, i + 2);
        const int n = pieces.at(curve++);
        for (int k = 1; k < n; ++k)
            add(CurveLines::at(p0, c1, c2, p3, qreal(k) / n));
        add(p3);
        i += 2;
    }
    return text;
}

bool isFinite(const QPainterPath &path)
{
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        if (!std::isfinite(element.x) || !std::isfinite(element.y))
            return false;
    }
    return true;
}

QString textAlign(const QString &htmlAlign)
{
    if (htmlAlign.isEmpty())
        return QStringLiteral("start");
    if (htmlAlign == QLatin1String("right"))
        return QStringLiteral("end");
    return htmlAlign;
}

float readNumber(const QString &text)
{
    // toFloat gives 0 for text that is not a number. The plain decimals of most attributes
    // come to the same float without it, at a fraction of its cost.
    return finiteOr(pointNumber(QStringRef(&text)), 0);
}

int readInteger(const QString &text)
{
    return text.toInt(nullptr, 10);
}

int readTruncated(const QString &text)
{
    return truncated(readNumber(text));
}

int readOpacity(const QString &text, bool hexadecimalFallback)
{
    bool ok = false;
    int alpha = text.toInt(&ok, 10);
    if (!ok && hexadecimalFallback)
        alpha = text.toInt(&ok, 16);
    // QColor::setAlpha stores an out-of-range value wrapped, not bounded.
    return ok ? qBound(0, alpha, 255) : 0;
}

float readRotation(const QString &transform)
{
    return numberAfter(transform, QLatin1String("rotate("), true, 0);
}

float readScale(const QString &transform)
{
    const float scale = numberAfter(transform, QLatin1String("scale("), false, 1);
    return scale == 0 ? 1 : scale;
}

Qt::PenStyle readPenStyle(const QString &dashArray)
{
    if (dashArray.isEmpty()) // most strokes: no pattern to look for
        return Qt::SolidLine;
    // The first run of digits anywhere decides, read by hand: every stroke the writer saved
    // says "1, 0", and a pattern per stroke cost more than the rest of its attributes.
    const auto isDigit = [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); };
    const int size = dashArray.size();
    int start = 0;
    while (start < size && !isDigit(dashArray.at(start)))
        ++start;
    if (start == size)
        return Qt::SolidLine;
    int end = start;
    while (end < size && isDigit(dashArray.at(end)))
        ++end;
    const int firstNumber = dashArray.midRef(start, end - start).toInt();
    if (firstNumber == 1)
        return Qt::SolidLine;
    if (firstNumber == 2)
        return Qt::DashLine;
    static const QRegularExpression three(QStringLiteral("^([0-9]+), ([0-9]+), ([0-9]+)$"));
    const QRegularExpressionMatch triple = three.match(dashArray);
    if (triple.hasMatch() && triple.captured(1).toInt() == 5 && triple.captured(3).toInt() == 2)
        return Qt::DashDotLine;
    return Qt::DotLine;
}

QString readColourText(const QString &text)
{
    // "#" and a digit or letter, as the writer puts it, is taken without the pattern.
    const auto nameCharacter = [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    };
    if (text.size() >= 2 && text.at(0) == QLatin1Char('#') && nameCharacter(text.at(1)))
        return text;
    static const QRegularExpression named(QStringLiteral("#[0-9a-z]+"));
    if (named.match(text).hasMatch())
        return text;
    static const QRegularExpression component(QStringLiteral("([12]?[0-9]?[0-9])"));
    int rgb[3] = { 255, 255, 255 };
    int index = 0;
    QRegularExpressionMatchIterator matches = component.globalMatch(text);
    while (matches.hasNext()) {
        rgb[index] = qMin(matches.next().captured(1).toInt(), 255);
        index = qMin(index + 1, 2); // the third and every later number is blue
    }
    return QColor(rgb[0], rgb[1], rgb[2]).name();
}

QColor readColour(const QString &text)
{
    QColor colour;
    colour.setNamedColor(readColourText(text));
    return colour;
}

} // namespace IwbFormat

namespace {

// Hands each point of a list to take, in order.
// Whether a line to point would be left out as a repeat of previous: the toolkit's test, which
// is fuzzy, asked only of points whose x lies within what it could take for the same.
bool repeats(const QPointF &point, const QPointF &previous)
{
    const qreal near = 1e-12 * (1 + std::abs(point.x()) + std::abs(previous.x()));
    if (std::abs(point.x() - previous.x()) > near)
        return false;
    return point == previous;
}

// unreadable (when given) is set once a number of the text is not one a board can hold.
template <typename Take>
void forEachPoint(const QString &text, const QPointF &offset, Take take, bool *unreadable = nullptr)
{
    // One pass over the text, reading each number where it lies: a list of many points costs
    // in proportion to its length.
    const float offsetX = float(offset.x());
    const float offsetY = float(offset.y());
    // The blank and the comma of each pair are found in the same walk over its characters.
    const ushort *const data = text.utf16();
    const int size = text.size();
    int start = 0;
    while (start < size) {
        int blank = start;
        int comma = -1;
        for (; blank < size && data[blank] != ' '; ++blank) {
            if (comma < 0 && data[blank] == ',')
                comma = blank;
        }
        const QStringRef x(&text, start, (comma < 0 ? blank : comma) - start);
        const QStringRef y = comma < 0 ? x : QStringRef(&text, comma + 1, blank - comma - 1);
        const float pointX = pointNumber(x);
        const float pointY = pointNumber(y);
        if (unreadable && !(IwbFormat::isReadable(pointX) && IwbFormat::isReadable(pointY)))
            *unreadable = true;
        take(QPointF(finiteOr(finiteOr(pointX, 0) + offsetX, 0),
                     finiteOr(finiteOr(pointY, 0) + offsetY, 0)));
        if (blank >= size)
            break;
        start = blank + 1;
    }
}

} // namespace

namespace IwbFormat {

QList<QPointF> readPoints(const QString &text, const QPointF &offset)
{
    QList<QPointF> points;
    forEachPoint(text, offset, [&points](const QPointF &point) { points.append(point); });
    return points;
}

bool isReadable(float value)
{
    return std::abs(value) <= float(kBoardReach); // false for NaN as well
}

bool isReadable(const QString &text)
{
    return text.isEmpty() || isReadable(pointNumber(QStringRef(&text)));
}

bool arePointsReadable(const QString &text)
{
    bool unreadable = false;
    forEachPoint(
            text, QPointF(), [](const QPointF &) {}, &unreadable);
    return !unreadable;
}

QPainterPath readPolyline(const QString &text, bool *unreadable)
{
    QPainterPath path; // no text, no points: an empty path, as polylinePath makes of none
    if (text.isEmpty())
        return path;
    // The points go into the path together: a line to each in turn cost several times the
    // reading of its numbers. A point that repeats the one before is left out, as a line to it
    // would be, and the last one is a line of its own, which leaves the path's own notes on
    // its shape as the lines one by one left them.
    const ushort *const data = text.utf16();
    QPolygonF points;
    points.reserve(int(std::count(data, data + text.size(), ushort(' '))) + 1);
    forEachPoint(
            text, QPointF(),
            [&points](const QPointF &point) {
                if (points.isEmpty() || !repeats(point, points.constLast()))
                    points.append(point);
            },
            unreadable);
    if (points.isEmpty())
        return path;
    if (points.size() == 1) {
        path.moveTo(points.constFirst());
        return path;
    }
    const QPointF last = points.takeLast();
    path.reserve(points.size() + 1);
    path.addPolygon(points);
    path.lineTo(last);
    return path;
}

int readFillKind(const QString &fillType, const QString &fill)
{
    if (fillType == QLatin1String("2"))
        return 2;
    if (fillType == QLatin1String("3"))
        return 3;
    return fill.isEmpty() ? 0 : 1;
}

QString readWeightWord(const QString &fontWeight)
{
    if (fontWeight.isEmpty())
        return QStringLiteral("400");
    for (const WeightWord &entry : kWeightWords) {
        if (fontWeight == QLatin1String(entry.weight))
            return QLatin1String(entry.word);
    }
    return fontWeight;
}

QString readTextAlign(const QString &textAlign)
{
    if (textAlign == QLatin1String("end"))
        return QStringLiteral("right");
    if (textAlign == QLatin1String("start"))
        return QString();
    return textAlign;
}

qreal readTextWidth(const QString &text)
{
    const float width = readNumber(text.trimmed());
    return width > 0 && isReadable(width) ? qreal(width) : -1;
}

UbzPlacement readUbzMatrix(const QString &transform)
{
    const QStringList parts = transform.split(QLatin1Char(','));
    UbzPlacement placement;
    if (parts.size() < 6)
        return placement;
    const QStringList head = parts.at(0).split(QLatin1Char('('));
    const double a = head.size() > 1 ? double(readNumber(head.at(1))) : 0.0;
    const double b = double(readNumber(parts.at(1)));
    const double c = double(readNumber(parts.at(2)));
    const double d = double(readNumber(parts.at(3)));
    const QString f = parts.at(5).split(QLatin1Char(')')).at(0);
    placement.position = QPoint(readTruncated(parts.at(4)), readTruncated(f));
    placement.rotation = float(std::atan2(c, a) * 57.29577951308232);
    placement.isMatrix = true;
    placement.matrix =
            QTransform(a, b, c, d, double(readNumber(parts.at(4))), double(readNumber(f)));
    // The numbers are finite floats, so these are finite too; a matrix that scales to nothing
    // is taken as no scaling rather than as an object that is gone.
    const double width = std::hypot(a, b);
    const double height = std::hypot(c, d);
    const double scale = std::sqrt(width * height);
    if (scale > 0) {
        placement.scale = scale;
        placement.stretch = QSizeF(width / scale, height / scale);
    }
    return placement;
}

} // namespace IwbFormat
