#include "strokecoverage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// Every point of a pixel lies within this of its centre.
constexpr qreal kHalfDiagonal = 0.70710678118654752;
// The most corners a pixel's polygon reaches, clipped by the most edges measured (four fewer).
// At the edge of a stroke wide against the steps between its points, a pixel is cut by the
// circles about dozens of them; with fewer measured it came out too light.
constexpr int kMostCorners = 132;
constexpr qreal kInfinity = std::numeric_limits<qreal>::infinity();
// Edges across a pixel whose normals are this close (a cosine) are taken as one: the share of a
// pixel between them is a thousandth at most.
constexpr qreal kSameEdge = 1 - 1e-6;

// One line of a stroke and the disc swept along it: from a, along (dx, dy).
struct Capsule
{
    qreal ax;
    qreal ay;
    qreal dx;
    qreal dy;
    qreal lengthSquared;
    qreal perLengthSquared;
    qreal perLength;
    qreal slope; // dx / dy, 0 when level
    qreal perDx; // 1 / dx, 0 when upright
    qreal widthPerRadius; // in x across the line: length / |dy|, 0 when level
    // How far the corners of a pixel beside the line spread either way of its centre, across
    // the line: pixels nearer the edge than this are cut by it.
    qreal spread;
    // The line's unit normal, (dy, -dx) over its length, and the spread worked out from it as
    // each pixel beside the line once worked it out (spread may differ in the last place).
    qreal normalX;
    qreal normalY;
    qreal besideSpread;
    int firstRow; // of the picture: the rows whose pixels it may touch
    int lastRow;
    // The line before, when it ends where this one starts: past this one's start a pixel that
    // is past the end of the line before too is cut by the one circle about that point, and the
    // edge of the line before stands for both.
    const Capsule *before;
};

Capsule capsuleOf(const QPointF &a, const QPointF &b)
{
    Capsule capsule{};
    capsule.ax = a.x();
    capsule.ay = a.y();
    capsule.dx = b.x() - a.x();
    capsule.dy = b.y() - a.y();
    capsule.lengthSquared = capsule.dx * capsule.dx + capsule.dy * capsule.dy;
    if (!(capsule.lengthSquared > 0) || !std::isfinite(capsule.lengthSquared))
        return capsule; // no line: left out
    capsule.perLengthSquared = 1 / capsule.lengthSquared;
    capsule.perLength = std::sqrt(capsule.perLengthSquared);
    capsule.spread = (std::abs(capsule.dx) + std::abs(capsule.dy)) * capsule.perLength / 2;
    capsule.normalX = capsule.dy * capsule.perLength;
    capsule.normalY = -capsule.dx * capsule.perLength;
    capsule.besideSpread = (std::abs(capsule.normalX) + std::abs(capsule.normalY)) / 2;
    if (capsule.dx != 0)
        capsule.perDx = 1 / capsule.dx;
    if (capsule.dy != 0) {
        capsule.slope = capsule.dx / capsule.dy;
        capsule.widthPerRadius = std::sqrt(capsule.lengthSquared) / std::abs(capsule.dy);
    }
    return capsule;
}

struct Span
{
    qreal from = kInfinity;
    qreal to = -kInfinity;
    void add(qreal least, qreal most)
    {
        from = std::min(from, least);
        to = std::max(to, most);
    }
};

// Where the horizontal line at y crosses the pixels the body of a level or upright capsule
// touches, and those it covers whole: a span each, of the pixels' centres. A pixel is cut where
// its centre lies within its spread of the edge.
inline void bodyAcross(const Capsule &capsule, qreal y, qreal radius, Span *wideSpan,
                       Span *narrowSpan)
{
    // The body: within the radius of the line through the ends, between their perpendiculars.
    // In x from the first end.
    const qreal rise = y - capsule.ay;
    qreal from = -kInfinity;
    qreal to = kInfinity;
    if (capsule.dx != 0) {
        const qreal a = -rise * capsule.dy * capsule.perDx;
        const qreal b = (capsule.lengthSquared - rise * capsule.dy) * capsule.perDx;
        from = std::min(a, b);
        to = std::max(a, b);
    } else if (rise * capsule.dy < 0 || rise * capsule.dy > capsule.lengthSquared) {
        return;
    }
    const qreal wideBody = radius + capsule.spread;
    const qreal narrowBody = radius - capsule.spread;
    if (capsule.dy == 0) {
        if (std::abs(rise) <= wideBody)
            wideSpan->add(capsule.ax + from, capsule.ax + to);
        if (std::abs(rise) <= narrowBody)
            narrowSpan->add(capsule.ax + from, capsule.ax + to);
        return;
    }
    const qreal centre = rise * capsule.slope;
    const auto body = [&](qreal radius, Span *span) {
        const qreal half = radius * capsule.widthPerRadius;
        const qreal least = std::max(from, centre - half);
        const qreal most = std::min(to, centre + half);
        if (least <= most)
            span->add(capsule.ax + least, capsule.ax + most);
    };
    body(wideBody, wideSpan);
    body(narrowBody, narrowSpan);
}

// Pixels of a row, from first to last: none when first > last.
struct Run
{
    int first;
    int last;
};

// The pixels of a row whose centres lie within from and to, which lie within the row (as then
// does the run).
inline Run centresBetween(qreal from, qreal to)
{
    // Rounded up and down by hand: the library's rounding is a call on most processors.
    const qreal low = from - 0.5;
    const qreal high = to - 0.5;
    int first = int(low);
    first += first < low ? 1 : 0;
    int last = int(high);
    last -= last > high ? 1 : 0;
    return { first, last };
}

// A row's pixels from least to most whose centres lie within span. Held in floating point until
// then: a coordinate far off the picture fits no int.
inline Run centresWithin(const Span &span, int least, int most)
{
    const qreal low = span.from - 0.5;
    const qreal high = span.to - 0.5;
    if (!(low <= high) || high < least || low > most)
        return { 0, -1 };
    const Run run = centresBetween(std::max(span.from, qreal(least) - 0.5),
                                   std::min(span.to, qreal(most) + 1.5));
    return { std::max(run.first, least), std::min(run.last, most) };
}

// The half widths of the circles about an end of a capsule, wide and narrow, on the rows within
// reach of it, from top to bottom; beyond reach negative infinity, which adds nothing to a span.
// Lines meeting at a point share them, which halves the roots taken.
struct EndRows
{
    qreal x = kInfinity;
    qreal y = kInfinity;
    int top = 0;
    int bottom = -1;
    std::vector<qreal> halves; // wide then narrow, row after row
};

void endRowsOf(qreal x, qreal y, qreal radius, int height, EndRows *end)
{
    const qreal wideReach = radius + kHalfDiagonal;
    const qreal narrowReach = radius - kHalfDiagonal;
    end->x = x;
    end->y = y;
    // The rows within reach, and a row more either way. Held in floating point until within the
    // picture: a coordinate far off it fits no int.
    const auto held = [height](qreal row) {
        return int(std::max(qreal(-1), std::min(qreal(height), row)));
    };
    end->top = std::max(0, held(y - wideReach) - 1);
    end->bottom = std::min(height - 1, held(y + wideReach));
    end->halves.resize(2 * size_t(std::max(0, end->bottom - end->top + 1)));
    qreal *halves = end->halves.data();
    for (int row = end->top; row <= end->bottom; ++row, halves += 2) {
        const qreal rise = (row + 0.5) - y;
        const qreal wideSquared = wideReach * wideReach - rise * rise;
        const qreal narrowSquared = narrowReach * narrowReach - rise * rise;
        halves[0] = wideSquared >= 0 ? std::sqrt(wideSquared) : -kInfinity;
        halves[1] = narrowReach > 0 && narrowSquared >= 0 ? std::sqrt(narrowSquared) : -kInfinity;
    }
}

// The spans of rows first, first + 1, ... (count of them) that the capsule crosses, in wide (the
// pixels it may touch) and narrow (those it covers whole), from and to in turn, held within the
// row (of width pixels), its pixels' centres then as they were: a coordinate far off the picture
// fits no int (nor one that is not a number, which the arguments of max and min below hold too).
// The body is measured row after row (a slanted one's rows all alike), and then the circles about
// its ends, start and finish, on the few rows about them. Held in a pass of its own: with the
// rounding that follows, the compiler branches on the clamps, hard to foretell.
void spansOf(const Capsule &capsule, int first, int count, qreal radius, int width,
             const EndRows &start, const EndRows &finish, qreal *wide, qreal *narrow)
{
    if (capsule.dx == 0 || capsule.dy == 0) {
        for (int n = 0; n < count; ++n) {
            Span wideSpan;
            Span narrowSpan;
            bodyAcross(capsule, first + n + 0.5, radius, &wideSpan, &narrowSpan);
            wide[2 * n] = wideSpan.from;
            wide[2 * n + 1] = wideSpan.to;
            narrow[2 * n] = narrowSpan.from;
            narrow[2 * n + 1] = narrowSpan.to;
        }
    } else {
        const qreal ax = capsule.ax;
        const qreal ay = capsule.ay;
        const qreal dy = capsule.dy;
        const qreal perDx = capsule.perDx;
        const qreal lengthSquared = capsule.lengthSquared;
        const qreal slope = capsule.slope;
        const qreal wideHalf = (radius + capsule.spread) * capsule.widthPerRadius;
        const qreal narrowHalf = (radius - capsule.spread) * capsule.widthPerRadius;
        for (int n = 0; n < count; ++n) {
            const qreal rise = (first + n + 0.5) - ay;
            const qreal a = -rise * dy * perDx;
            const qreal b = (lengthSquared - rise * dy) * perDx;
            const qreal from = std::min(a, b);
            const qreal to = std::max(a, b);
            const qreal centre = rise * slope;
            const qreal wideLeast = std::max(from, centre - wideHalf);
            const qreal wideMost = std::min(to, centre + wideHalf);
            const qreal narrowLeast = std::max(from, centre - narrowHalf);
            const qreal narrowMost = std::min(to, centre + narrowHalf);
            const qreal wideFrom = ax + wideLeast;
            const qreal wideTo = ax + wideMost;
            const qreal narrowFrom = ax + narrowLeast;
            const qreal narrowTo = ax + narrowMost;
            const bool wideHeld = wideLeast <= wideMost;
            const bool narrowHeld = narrowLeast <= narrowMost;
            wide[2 * n] = wideHeld ? wideFrom : kInfinity;
            wide[2 * n + 1] = wideHeld ? wideTo : -kInfinity;
            narrow[2 * n] = narrowHeld ? narrowFrom : kInfinity;
            narrow[2 * n + 1] = narrowHeld ? narrowTo : -kInfinity;
        }
    }
    for (const EndRows *end : { &start, &finish }) {
        const int top = std::max(end->top, first);
        const int bottom = std::min(end->bottom, first + count - 1);
        const qreal *halves = end->halves.data() + 2 * (top - end->top);
        for (int row = top; row <= bottom; ++row, halves += 2) {
            const int n = row - first;
            wide[2 * n] = std::min(wide[2 * n], end->x - halves[0]);
            wide[2 * n + 1] = std::max(wide[2 * n + 1], end->x + halves[0]);
            narrow[2 * n] = std::min(narrow[2 * n], end->x - halves[1]);
            narrow[2 * n + 1] = std::max(narrow[2 * n + 1], end->x + halves[1]);
        }
    }
    for (int n = 0; n < 2 * count; ++n) {
        wide[n] = std::min(qreal(width), std::max(qreal(0), wide[n]));
        narrow[n] = std::min(qreal(width), std::max(qreal(0), narrow[n]));
    }
}

struct Corner
{
    qreal x;
    qreal y;
};

// A capsule's edge across a pixel, taken as the straight line that touches the capsule nearest
// the pixel's centre: outside it, normal . p + offset >= 0 (p from the centre).
struct Edge
{
    qreal normalX;
    qreal normalY;
    qreal offset;
};

// The share of a pixel on the ink's side of edge, a line across it. The measure of the piece the
// ink reaches into is picked, and then divided once: faster than a way through per piece, which
// piece being hard to foretell from one pixel to the next.
inline qreal inside(const Edge &edge)
{
    // Along the normal the pixel's corners spread (a + b) / 2 either way of its centre; the ink
    // reaches this far across it from the corner nearest the ink.
    const qreal x = std::abs(edge.normalX);
    const qreal y = std::abs(edge.normalY);
    const qreal a = std::max(x, y);
    const qreal b = std::min(x, y);
    const qreal reach = (a + b) / 2 - edge.offset;
    constexpr qreal kLevel = 1e-9;
    const bool level = b < kLevel;
    const bool corner = !level & (reach <= b); // a triangle at the corner
    const bool band = !level & !corner & (reach <= a); // a trapezoid
    const bool allBut = !level & !corner & !band; // all but a triangle at the far corner
    const qreal left = a + b - reach;
    const qreal twiceAB = 2 * a * b;
    const qreal numerator = level ? reach
            : corner              ? reach * reach
            : band                ? reach - b / 2
                                  : left * left;
    const qreal denominator = corner || allBut ? twiceAB : a;
    const qreal share = numerator / denominator;
    const qreal piece = allBut ? 1 - share : share;
    return reach <= 0 ? 0 : reach >= a + b ? 1 : piece;
}

// Whether two edges cross within the pixel.
bool crossWithin(const Edge &one, const Edge &two)
{
    const qreal turn = one.normalX * two.normalY - one.normalY * two.normalX;
    const qreal x = two.offset * one.normalY - one.offset * two.normalY; // times turn
    const qreal y = one.offset * two.normalX - two.offset * one.normalX;
    const qreal half = std::abs(turn) / 2;
    // Tested all at once (&, not &&): each test is hard to foretell.
    return (std::abs(x) <= half) & (std::abs(y) <= half) & (turn != 0);
}

// The share of a pixel on the ink's side of either of two edges that do not cross within it:
// one share holds the other where a corner lies on the ink's side of both and a corner on the
// side of neither; else they lie apart, or together cover the pixel.
qreal apart(const Edge &one, const Edge &two)
{
    bool inBoth = false;
    bool outOfBoth = false;
    for (const qreal x : { qreal(-0.5), qreal(0.5) }) {
        for (const qreal y : { qreal(-0.5), qreal(0.5) }) {
            const bool inOne = one.normalX * x + one.normalY * y + one.offset < 0;
            const bool inTwo = two.normalX * x + two.normalY * y + two.offset < 0;
            inBoth |= inOne & inTwo;
            outOfBoth |= !inOne & !inTwo;
        }
    }
    const qreal shareOne = inside(one);
    const qreal shareTwo = inside(two);
    const qreal larger = std::max(shareOne, shareTwo);
    const qreal both = std::min(qreal(1), shareOne + shareTwo);
    return inBoth & outOfBoth ? larger : both;
}

// How a capsule meets a pixel.
enum class Meeting { Clear, Cuts, Covers };

// How the capsule meets the pixel whose centre is (x, y), and where it cuts it, its edge. Not
// inlined: in the loop over a row's pixels it leaves that loop too large to run fast.
Q_NEVER_INLINE Meeting meeting(const Capsule &capsule, qreal x, qreal y, qreal radius, Edge *edge)
{
    const qreal fromX = x - capsule.ax;
    const qreal fromY = y - capsule.ay;
    const qreal along = (fromX * capsule.dx + fromY * capsule.dy) * capsule.perLengthSquared;
    qreal spread;
    if (along >= 0 && along <= 1) {
        // Beside the line: the distance across it, and its normal, need no root.
        const qreal across = (fromX * capsule.dy - fromY * capsule.dx) * capsule.perLength;
        // Its normal to the side of the pixel's centre (either side when on the line, the pixel
        // then covered).
        const qreal side = std::copysign(qreal(1), across);
        *edge = { side * capsule.normalX, side * capsule.normalY, std::abs(across) - radius };
        spread = capsule.besideSpread;
    } else {
        if (along < 0 && capsule.before) {
            const Capsule &before = *capsule.before;
            const qreal alongBefore = ((x - before.ax) * before.dx + (y - before.ay) * before.dy)
                    * before.perLengthSquared;
            if (alongBefore > 1)
                return Meeting::Clear;
        }
        const qreal awayX = along < 0 ? fromX : fromX - capsule.dx;
        const qreal awayY = along < 0 ? fromY : fromY - capsule.dy;
        const qreal distance = std::sqrt(awayX * awayX + awayY * awayY);
        if (distance <= radius - kHalfDiagonal)
            return Meeting::Covers;
        const qreal perDistance = 1 / distance;
        *edge = { awayX * perDistance, awayY * perDistance, distance - radius };
        spread = (std::abs(edge->normalX) + std::abs(edge->normalY)) / 2;
    }
    if (edge->offset <= -spread)
        return Meeting::Covers;
    return edge->offset >= spread ? Meeting::Clear : Meeting::Cuts;
}

// What is left of polygon from (size corners) on the pixel's side of edge, in to; its corners.
int clip(const Edge &edge, const Corner *from, int size, Corner *to)
{
    qreal outside[kMostCorners];
    for (int i = 0; i < size; ++i)
        outside[i] = edge.normalX * from[i].x + edge.normalY * from[i].y + edge.offset;
    int kept = 0;
    for (int i = 0; i < size; ++i) {
        const int j = i + 1 < size ? i + 1 : 0;
        if (outside[i] >= 0)
            to[kept++] = from[i];
        if ((outside[i] >= 0) != (outside[j] >= 0)) {
            const qreal share = outside[i] / (outside[i] - outside[j]);
            to[kept++] = { from[i].x + share * (from[j].x - from[i].x),
                           from[i].y + share * (from[j].y - from[i].y) };
        }
    }
    return kept;
}

// The share of a pixel that edges (count of them) cover: what they leave of it is the pixel cut
// by each of them, a convex polygon.
qreal clipped(const Edge *edges, int count)
{
    Corner corners[2][kMostCorners];
    corners[0][0] = { -0.5, -0.5 };
    corners[0][1] = { 0.5, -0.5 };
    corners[0][2] = { 0.5, 0.5 };
    corners[0][3] = { -0.5, 0.5 };
    int corner = 0; // which array holds the polygon
    int size = 4;
    for (int n = 0; n < count; ++n) {
        size = clip(edges[n], corners[corner], size, corners[1 - corner]);
        corner = 1 - corner;
    }
    const Corner *left = corners[corner];
    qreal twiceArea = 0;
    for (int i = 0; i < size; ++i) {
        const Corner &p = left[i];
        const Corner &q = left[i + 1 < size ? i + 1 : 0];
        twiceArea += p.x * q.y - q.x * p.y;
    }
    return 1 - std::abs(twiceArea) / 2;
}

// The share of a pixel on the ink's side of either of two edges that cross within it, at
// (crossX, crossY). What they leave of it is a wedge from there; its area is that of the triangles
// from there to the parts of the pixel's sides within the wedge. Each edge keeps a side from
// where it crosses it on, or up to there, as it runs into or out of the wedge along it, found by
// min and max: which way each goes is hard to foretell. Clipping the pixel by both costs more.
qreal crossing(const Edge &one, const Edge &two, qreal crossX, qreal crossY)
{
    // Per side (bottom, right, top, left, the pixel's corners running anticlockwise from its
    // left bottom one), the part of it, from 0 to 1, left by both edges.
    qreal least[4] = { 0, 0, 0, 0 };
    qreal most[4] = { 1, 1, 1, 1 };
    for (const Edge *edge : { &one, &two }) {
        const qreal halfX = edge->normalX / 2;
        const qreal halfY = edge->normalY / 2;
        // How far outside the edge each corner lies, and how fast that grows along each side.
        const qreal outside[4] = { edge->offset - halfX - halfY, edge->offset + halfX - halfY,
                                   edge->offset + halfX + halfY, edge->offset - halfX + halfY };
        const qreal growth[4] = { edge->normalX, edge->normalY, -edge->normalX, -edge->normalY };
        const qreal perX = 1 / edge->normalX;
        const qreal perY = 1 / edge->normalY;
        const qreal across[4] = { -outside[0] * perX, -outside[1] * perY, outside[2] * perX,
                                  outside[3] * perY };
        for (int side = 0; side < 4; ++side) {
            // Held near the side, where a step of 4 takes it past the side's far end: the edge
            // keeps the side beyond where it crosses it if it grows along the side, else before.
            const qreal at = std::max(qreal(-2), std::min(qreal(3), across[side]));
            const qreal stepped = at + std::copysign(qreal(4), growth[side]);
            least[side] = std::max(least[side], std::min(at, stepped));
            most[side] = std::min(most[side], std::max(at, stepped));
        }
    }
    const qreal height[4] = { crossY + 0.5, 0.5 - crossX, 0.5 - crossY, crossX + 0.5 };
    qreal twiceArea = 0;
    for (int side = 0; side < 4; ++side)
        twiceArea += height[side] * std::max(qreal(0), most[side] - least[side]);
    return 1 - twiceArea / 2;
}

// The share of a pixel that two capsules cutting it cover: as clipping the pixel by both edges
// would give it.
qreal coveredByTwo(const Edge &one, const Edge &two)
{
    // Two lines meeting at a point both end in its disc: one edge, cut once.
    if (one.normalX * two.normalX + one.normalY * two.normalY > kSameEdge)
        return inside({ one.normalX, one.normalY, std::min(one.offset, two.offset) });
    const qreal turn = one.normalX * two.normalY - one.normalY * two.normalX;
    const qreal x = two.offset * one.normalY - one.offset * two.normalY; // times turn
    const qreal y = one.offset * two.normalX - two.offset * one.normalX;
    if (!crossWithin(one, two))
        return apart(one, two);
    return crossing(one, two, x / turn, y / turn);
}

// The share of a pixel that capsules cutting it cover, their edges from first on, each naming the
// next. What the capsules leave of the pixel is the pixel cut by each of their edges, a convex
// polygon.
qreal covered(const Edge *cuts, const int *next, int first)
{
    // Most pixels are cut by one capsule or two.
    const int second = next[first];
    if (second < 0)
        return inside(cuts[first]);
    if (next[second] < 0)
        return coveredByTwo(cuts[first], cuts[second]);
    Edge edges[kMostCorners];
    int cutting = 0;
    for (int entry = first; entry >= 0 && cutting < kMostCorners - 4; entry = next[entry]) {
        const Edge &edge = cuts[entry];
        // Two lines meeting at a point both end in its disc: one edge, cut once.
        bool same = false;
        for (int n = 0; n < cutting && !same; ++n) {
            Edge &other = edges[n];
            if (other.normalX * edge.normalX + other.normalY * edge.normalY > kSameEdge) {
                other.offset = std::min(other.offset, edge.offset);
                same = true;
            }
        }
        if (!same)
            edges[cutting++] = edge;
    }
    if (cutting == 1)
        return inside(edges[0]);
    if (cutting == 2)
        return coveredByTwo(edges[0], edges[1]);
    return clipped(edges, cutting);
}

QRgb scaled(QRgb colour, int share)
{
    const auto part = [share](int channel) { return (channel * share + 127) / 255; };
    return qRgba(part(qRed(colour)), part(qGreen(colour)), part(qBlue(colour)),
                 part(qAlpha(colour)));
}

// The ink at every share of a pixel, 0 to 255.
struct Shades
{
    explicit Shades(QRgb colour)
    {
        for (int share = 0; share < 256; ++share)
            of[share] = scaled(colour, share);
    }
    QRgb of[256];
};

// A capsule where it crosses a row: the pixels it may touch, and those it covers whole.
struct Touch
{
    const Capsule *capsule;
    Run reach;
    Run whole;
};

// What a picture is worked out in, kept by each thread from one picture to the next (which mostly
// needs as much) rather than allocated for each.
struct Scratch
{
    std::vector<Capsule> capsules;
    std::vector<int> rowFirst; // of the row's touches
    std::vector<int> rowEnd; // past the row's touches
    std::vector<Touch> touches;
    std::vector<qreal> wide;
    std::vector<qreal> narrow;
    EndRows ends[2];
    // Per pixel: its first edge in the lists below, else -1 (as each row leaves it).
    std::vector<int> first;
    std::vector<Edge> cuts; // of the row's pixels
    std::vector<int> next; // per edge: the pixel's next edge
    std::vector<int> partial; // pixels with edges, in order of their first
};

} // namespace

namespace StrokeCoverage {

QImage draw(const QVector<QPolygonF> &lines, qreal radius, QRgb colour, const QRect &area)
{
    QImage picture(area.size(), QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull())
        return picture;
    picture.fill(Qt::transparent);
    const int width = area.width();
    const int height = area.height();
    thread_local Scratch scratch;
    // In the picture's pixels; pixel (x, y) has its centre at (x + 0.5, y + 0.5).
    std::vector<Capsule> &capsules = scratch.capsules;
    capsules.clear();
    for (const QPolygonF &line : lines) {
        for (int i = 1; i < line.size(); ++i) {
            const QPointF a = line[i - 1] - QPointF(area.topLeft());
            const QPointF b = line[i] - QPointF(area.topLeft());
            Capsule capsule = capsuleOf(a, b);
            if (!(capsule.lengthSquared > 0) || !std::isfinite(capsule.lengthSquared))
                continue; // no length: the line's other lines hold its ink, if any
            const qreal reach = radius + kHalfDiagonal;
            const qreal top = std::min(a.y(), b.y()) - reach;
            const qreal bottom = std::max(a.y(), b.y()) + reach;
            const qreal left = std::min(a.x(), b.x()) - reach;
            const qreal right = std::max(a.x(), b.x()) + reach;
            Span rows;
            rows.add(top, bottom);
            const Run crossed = centresWithin(rows, 0, height - 1);
            if (right < 0 || left > width || crossed.first > crossed.last)
                continue;
            capsule.firstRow = crossed.first;
            capsule.lastRow = crossed.last;
            capsules.push_back(capsule);
        }
    }
    if (capsules.empty())
        return picture;
    // Lines meeting end to start, exactly, share the circle there.
    for (size_t i = 1; i < capsules.size(); ++i) {
        const Capsule &before = capsules[i - 1];
        Capsule &capsule = capsules[i];
        if (capsule.ax == before.ax + before.dx && capsule.ay == before.ay + before.dy)
            capsule.before = &before;
    }

    // The touches of each row, in the order of the capsules (lines before lines after, as drawn):
    // each capsule's rows are measured together, row after row alike.
    std::vector<int> &rowFirst = scratch.rowFirst;
    rowFirst.assign(size_t(height) + 1, 0);
    for (const Capsule &capsule : capsules) {
        ++rowFirst[size_t(capsule.firstRow)];
        --rowFirst[size_t(capsule.lastRow) + 1];
    }
    {
        int crossing = 0;
        int sum = 0;
        for (int row = 0; row <= height; ++row) {
            crossing += rowFirst[size_t(row)];
            rowFirst[size_t(row)] = sum;
            sum += crossing;
        }
    }
    std::vector<int> &rowEnd = scratch.rowEnd;
    rowEnd.assign(rowFirst.begin(), rowFirst.end() - 1);
    std::vector<Touch> &touches = scratch.touches;
    touches.resize(size_t(rowFirst[size_t(height)]));
    std::vector<qreal> &wide = scratch.wide;
    std::vector<qreal> &narrow = scratch.narrow;
    wide.resize(2 * size_t(height));
    narrow.resize(2 * size_t(height));
    EndRows *start = &scratch.ends[0];
    EndRows *finish = &scratch.ends[1];
    finish->x = kInfinity;
    for (const Capsule &capsule : capsules) {
        // The finish of the line before serves as the start of this one when it starts there.
        std::swap(start, finish);
        if (!(start->x == capsule.ax && start->y == capsule.ay))
            endRowsOf(capsule.ax, capsule.ay, radius, height, start);
        endRowsOf(capsule.ax + capsule.dx, capsule.ay + capsule.dy, radius, height, finish);
        spansOf(capsule, capsule.firstRow, capsule.lastRow - capsule.firstRow + 1, radius, width,
                *start, *finish, wide.data(), narrow.data());
        for (int row = capsule.firstRow; row <= capsule.lastRow; ++row) {
            const size_t n = size_t(row - capsule.firstRow);
            const Run reached = centresBetween(wide[2 * n], wide[2 * n + 1]);
            if (reached.first > reached.last)
                continue;
            // Within those it may touch, the narrow span lying within the wide one.
            const Run covers = centresBetween(narrow[2 * n], narrow[2 * n + 1]);
            touches[size_t(rowEnd[size_t(row)]++)] = { &capsule, reached, covers };
        }
    }

    // A row's pixels hold ink where some capsule covers them whole while its partial ones wait
    // for all their capsules' edges; ink is their mark till then (a colour of no ink leaves the
    // picture clear either way).
    const QRgb ink = colour;
    const Shades shades(colour);
    std::vector<int> &first = scratch.first;
    if (first.size() < size_t(width))
        first.resize(size_t(width), -1);
    std::vector<Edge> &cuts = scratch.cuts;
    std::vector<int> &next = scratch.next;
    std::vector<int> &partial = scratch.partial;
    for (int row = 0; row < height; ++row) {
        const Touch *const rowTouches = touches.data() + rowFirst[size_t(row)];
        const Touch *const rowTouchesEnd = touches.data() + rowEnd[size_t(row)];
        if (rowTouches == rowTouchesEnd)
            continue;
        const qreal y = row + 0.5;
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(row));
        size_t most = 0; // edges the row may have
        for (const Touch *touch = rowTouches; touch != rowTouchesEnd; ++touch) {
            for (int x = touch->whole.first; x <= touch->whole.last; ++x)
                line[x] = ink;
            most += size_t(touch->reach.last - touch->reach.first + 1);
        }
        if (cuts.size() < most) {
            cuts.resize(most);
            next.resize(most);
            partial.resize(most);
        }
        Edge *const rowCuts = cuts.data();
        int *const rowNext = next.data();
        int *const rowPartial = partial.data();
        int cutCount = 0;
        int partialCount = 0;
        for (const Touch *touch = rowTouches; touch != rowTouchesEnd; ++touch) {
            const Capsule &capsule = *touch->capsule;
            const auto meet = [&](int x) {
                if (line[x] == ink)
                    return;
                Edge edge;
                const Meeting meets = meeting(capsule, x + 0.5, y, radius, &edge);
                if (meets == Meeting::Clear)
                    return;
                if (meets == Meeting::Covers) {
                    line[x] = ink;
                    return;
                }
                // Counted when new to the list, without a branch.
                rowPartial[partialCount] = x;
                partialCount += first[size_t(x)] < 0 ? 1 : 0;
                rowNext[cutCount] = first[size_t(x)];
                rowCuts[cutCount] = edge;
                first[size_t(x)] = cutCount++;
            };
            // Either side of the pixels it covers whole.
            const int leftEnd = std::min(touch->whole.first, touch->reach.last + 1);
            for (int x = touch->reach.first; x < leftEnd; ++x)
                meet(x);
            for (int x = std::max(touch->whole.last + 1, leftEnd); x <= touch->reach.last; ++x)
                meet(x);
        }
        for (int n = 0; n < partialCount; ++n) {
            const int x = rowPartial[n];
            if (line[x] != ink)
                line[x] = shades.of[int(covered(rowCuts, rowNext, first[size_t(x)]) * 255 + 0.5)];
            first[size_t(x)] = -1;
        }
    }
    return picture;
}

} // namespace StrokeCoverage
