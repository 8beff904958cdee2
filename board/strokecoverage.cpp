#include "strokecoverage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

// Every point of a pixel lies within this of its centre.
constexpr qreal kHalfDiagonal = 0.70710678118654752;
// A pixel clipped by this many edges has no part of it left worth measuring.
constexpr int kMostCorners = 36;
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
    int firstRow; // of the picture: the rows whose pixels it may touch
    int lastRow;
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

// Where the horizontal line at y crosses the pixels the capsule touches, and those it covers
// whole: a span each (the capsule being convex), of the pixels' centres. Beside the line a pixel
// is cut where its centre lies within its spread of the edge; about the ends, within half its
// diagonal of the circle.
void across(const Capsule &capsule, qreal y, qreal radius, Span *wideSpan, Span *narrowSpan)
{
    const qreal wide = radius + kHalfDiagonal;
    const qreal narrow = radius - kHalfDiagonal;
    const auto end = [y, wide, narrow, wideSpan, narrowSpan](qreal x, qreal endY) {
        const qreal rise = y - endY;
        const qreal wideSquared = wide * wide - rise * rise;
        if (wideSquared < 0)
            return;
        const qreal wideHalf = std::sqrt(wideSquared);
        wideSpan->add(x - wideHalf, x + wideHalf);
        const qreal narrowSquared = narrow * narrow - rise * rise;
        if (narrow > 0 && narrowSquared >= 0) {
            const qreal narrowHalf = std::sqrt(narrowSquared);
            narrowSpan->add(x - narrowHalf, x + narrowHalf);
        }
    };
    end(capsule.ax, capsule.ay);
    end(capsule.ax + capsule.dx, capsule.ay + capsule.dy);
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

// A row's pixels from least to most whose centres lie within span, in from and to; false when
// none does. Held in floating point until then: a coordinate far off the picture fits no int.
bool centresWithin(const Span &span, int least, int most, int *from, int *to)
{
    const qreal low = span.from - 0.5;
    const qreal high = span.to - 0.5;
    if (!(low <= high) || high < least || low > most)
        return false;
    // Rounded up and down by hand: the library's rounding is a call on most processors.
    const qreal lowHeld = std::max(low, qreal(least) - 1);
    const qreal highHeld = std::min(high, qreal(most) + 1);
    int first = int(lowHeld);
    first += first < lowHeld ? 1 : 0;
    int last = int(highHeld);
    last -= last > highHeld ? 1 : 0;
    *from = std::max(first, least);
    *to = std::min(last, most);
    return *from <= *to;
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

// The share of a pixel on the ink's side of edge, a line across it.
qreal inside(const Edge &edge)
{
    // Along the normal the pixel's corners spread (a + b) / 2 either way of its centre; the ink
    // reaches this far across it from the corner nearest the ink.
    qreal a = std::abs(edge.normalX);
    qreal b = std::abs(edge.normalY);
    if (a < b)
        std::swap(a, b);
    const qreal reach = (a + b) / 2 - edge.offset;
    if (reach <= 0)
        return 0;
    if (reach >= a + b)
        return 1;
    constexpr qreal kLevel = 1e-9;
    if (b < kLevel)
        return reach / a;
    if (reach <= b)
        return reach * reach / (2 * a * b);
    if (reach <= a)
        return (reach - b / 2) / a;
    const qreal left = a + b - reach;
    return 1 - left * left / (2 * a * b);
}

// Whether two edges cross within the pixel.
bool crossWithin(const Edge &one, const Edge &two)
{
    const qreal turn = one.normalX * two.normalY - one.normalY * two.normalX;
    const qreal x = two.offset * one.normalY - one.offset * two.normalY; // times turn
    const qreal y = one.offset * two.normalX - two.offset * one.normalX;
    const qreal half = std::abs(turn) / 2;
    return std::abs(x) <= half && std::abs(y) <= half && turn != 0;
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
            inBoth |= inOne && inTwo;
            outOfBoth |= !inOne && !inTwo;
        }
    }
    const qreal shareOne = inside(one);
    const qreal shareTwo = inside(two);
    return inBoth && outOfBoth ? std::max(shareOne, shareTwo)
                               : std::min(qreal(1), shareOne + shareTwo);
}

// The pixel touched by capsules: each entry from first on names one, and the next entry.
struct Touching
{
    const std::vector<const Capsule *> &capsules;
    const std::vector<int> &next;
    int first;
};

// The share of the pixel whose centre is (x, y) that the capsules cover. What the capsules leave
// of the pixel is the pixel cut by each of their edges, a convex polygon.
qreal covered(const Touching &touching, qreal x, qreal y, qreal radius)
{
    Edge edges[kMostCorners];
    int cutting = 0;
    for (int entry = touching.first; entry >= 0 && cutting < kMostCorners - 4;
         entry = touching.next[size_t(entry)]) {
        const Capsule &capsule = *touching.capsules[size_t(entry)];
        const qreal fromX = x - capsule.ax;
        const qreal fromY = y - capsule.ay;
        const qreal along = (fromX * capsule.dx + fromY * capsule.dy) * capsule.perLengthSquared;
        Edge edge;
        if (along >= 0 && along <= 1) {
            // Beside the line: the distance across it, and its normal, need no root.
            const qreal across = (fromX * capsule.dy - fromY * capsule.dx) * capsule.perLength;
            const qreal side = across < 0 ? -capsule.perLength : capsule.perLength;
            edge = { capsule.dy * side, -capsule.dx * side, std::abs(across) - radius };
        } else {
            const qreal awayX = along < 0 ? fromX : fromX - capsule.dx;
            const qreal awayY = along < 0 ? fromY : fromY - capsule.dy;
            const qreal distance = std::sqrt(awayX * awayX + awayY * awayY);
            if (distance <= radius - kHalfDiagonal)
                return 1;
            const qreal perDistance = 1 / distance;
            edge = { awayX * perDistance, awayY * perDistance, distance - radius };
        }
        const qreal spread = (std::abs(edge.normalX) + std::abs(edge.normalY)) / 2;
        if (edge.offset <= -spread)
            return 1;
        if (edge.offset >= spread)
            continue;
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
    if (cutting == 0)
        return 0;
    if (cutting == 1)
        return inside(edges[0]);
    if (cutting == 2 && !crossWithin(edges[0], edges[1]))
        return apart(edges[0], edges[1]);
    Corner corners[2][kMostCorners];
    corners[0][0] = { -0.5, -0.5 };
    corners[0][1] = { 0.5, -0.5 };
    corners[0][2] = { 0.5, 0.5 };
    corners[0][3] = { -0.5, 0.5 };
    int corner = 0; // which array holds the polygon
    int size = 4;
    qreal outside[kMostCorners];
    for (int n = 0; n < cutting; ++n) {
        const Edge &edge = edges[n];
        const Corner *from = corners[corner];
        int cut = 0;
        for (int i = 0; i < size; ++i) {
            outside[i] = edge.normalX * from[i].x + edge.normalY * from[i].y + edge.offset;
            cut += outside[i] < 0 ? 1 : 0;
        }
        if (cut == 0)
            continue;
        if (cut == size)
            return 1;
        Corner *to = corners[1 - corner];
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
        corner = 1 - corner;
        size = kept;
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
    // In the picture's pixels; pixel (x, y) has its centre at (x + 0.5, y + 0.5).
    std::vector<Capsule> capsules;
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
            if (right < 0 || left > width
                || !centresWithin(rows, 0, height - 1, &capsule.firstRow, &capsule.lastRow))
                continue;
            capsules.push_back(capsule);
        }
    }
    if (capsules.empty())
        return picture;
    std::sort(capsules.begin(), capsules.end(),
              [](const Capsule &a, const Capsule &b) { return a.firstRow < b.firstRow; });

    struct Touch
    {
        const Capsule *capsule;
        int from; // pixels it may touch
        int to;
        int fullFrom; // pixels it covers whole
        int fullTo;
    };
    std::vector<const Capsule *> active;
    std::vector<Touch> touches;
    std::vector<char> full(size_t(width), 0);
    std::vector<int> first(size_t(width), -1); // per pixel: its first capsule in the lists below
    std::vector<int> next; // per entry: the pixel's next entry
    std::vector<const Capsule *> entries;
    std::vector<int> partial; // pixels with entries, in order of their first
    const Shades shades(colour);
    const QRgb ink = colour;
    size_t waiting = 0;
    for (int row = 0; row < height; ++row) {
        while (waiting < capsules.size() && capsules[waiting].firstRow <= row)
            active.push_back(&capsules[waiting++]);
        active.erase(
                std::remove_if(active.begin(), active.end(),
                               [row](const Capsule *capsule) { return capsule->lastRow < row; }),
                active.end());
        if (active.empty())
            continue;
        const qreal y = row + 0.5;
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(row));
        touches.clear();
        int least = width;
        int most = -1;
        for (const Capsule *capsule : active) {
            Span reach;
            Span whole;
            across(*capsule, y, radius, &reach, &whole);
            Touch touch{ capsule, 0, -1, 0, -1 };
            if (!centresWithin(reach, 0, width - 1, &touch.from, &touch.to))
                continue;
            centresWithin(whole, touch.from, touch.to, &touch.fullFrom, &touch.fullTo);
            if (touch.fullFrom <= touch.fullTo) {
                std::memset(&full[size_t(touch.fullFrom)], 1,
                            size_t(touch.fullTo - touch.fullFrom + 1));
                std::fill(line + touch.fullFrom, line + touch.fullTo + 1, ink);
            }
            least = std::min(least, touch.from);
            most = std::max(most, touch.to);
            touches.push_back(touch);
        }
        entries.clear();
        next.clear();
        partial.clear();
        for (const Touch &touch : touches) {
            for (int x = touch.from; x <= touch.to; ++x) {
                if (x == touch.fullFrom && touch.fullFrom <= touch.fullTo) {
                    x = touch.fullTo;
                    continue;
                }
                if (full[size_t(x)])
                    continue;
                if (first[size_t(x)] < 0)
                    partial.push_back(x);
                next.push_back(first[size_t(x)]);
                first[size_t(x)] = int(entries.size());
                entries.push_back(touch.capsule);
            }
        }
        for (const int x : partial) {
            const qreal share = covered({ entries, next, first[size_t(x)] }, x + 0.5, y, radius);
            first[size_t(x)] = -1;
            line[x] = shades.of[int(share * 255 + 0.5)];
        }
        if (least <= most)
            std::memset(&full[size_t(least)], 0, size_t(most - least + 1));
    }
    return picture;
}

} // namespace StrokeCoverage
