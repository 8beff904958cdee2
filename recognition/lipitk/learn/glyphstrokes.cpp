#include "glyphstrokes.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace GlyphStrokes {

QString characters()
{
    return QString::fromUtf8(
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.,?-@:;()+ñ");
}

namespace {

// The height of a capital H in the glyphs' own units, from its strokes.
qreal capitalHeight(const Strokes &h, qreal *top)
{
    qreal low = 1e9;
    qreal high = -1e9;
    for (const QVector<QPointF> &stroke : h) {
        for (const QPointF &point : stroke) {
            low = std::min(low, point.y());
            high = std::max(high, point.y());
        }
    }
    *top = low;
    return high - low;
}

// Glyphs with y downwards and their capitals' top at top, scaled to the letter box and moved to
// start at x = 0.
Alphabet toLetterBox(const QVector<Strokes> &byClass, qreal top, qreal height)
{
    Alphabet alphabet(kClassCount);
    if (!(height > 0))
        return alphabet;
    const qreal scale = 100.0 / height;
    for (int id = 0; id < kClassCount && id < byClass.size(); ++id) {
        qreal left = 1e9;
        for (const QVector<QPointF> &stroke : byClass.at(id)) {
            for (const QPointF &point : stroke)
                left = std::min(left, point.x());
        }
        Strokes strokes;
        for (const QVector<QPointF> &stroke : byClass.at(id)) {
            QVector<QPointF> scaled;
            for (const QPointF &point : stroke)
                scaled << QPointF((point.x() - left) * scale, (point.y() - top) * scale);
            if (!scaled.isEmpty())
                strokes << scaled;
        }
        alphabet[id] = strokes;
    }
    return alphabet;
}

// Douglas-Peucker: the fewest points that stay within tolerance of the line.
QVector<QPointF> simplified(const QVector<QPointF> &line, qreal tolerance)
{
    if (line.size() < 3)
        return line;
    std::vector<char> keep(size_t(line.size()), 0);
    keep.front() = keep.back() = 1;
    std::vector<std::pair<int, int>> spans{ { 0, int(line.size()) - 1 } };
    while (!spans.empty()) {
        const auto [from, to] = spans.back();
        spans.pop_back();
        const QPointF a = line.at(from);
        const QPointF b = line.at(to);
        const QPointF d = b - a;
        const qreal length = std::hypot(d.x(), d.y());
        qreal farthest = -1.0;
        int index = -1;
        for (int i = from + 1; i < to; ++i) {
            const QPointF p = line.at(i) - a;
            const qreal off = length > 0 ? std::fabs(p.x() * d.y() - p.y() * d.x()) / length
                                         : std::hypot(p.x(), p.y());
            if (off > farthest) {
                farthest = off;
                index = i;
            }
        }
        if (index >= 0 && farthest > tolerance) {
            keep[size_t(index)] = 1;
            spans.push_back({ from, index });
            spans.push_back({ index, to });
        }
    }
    QVector<QPointF> result;
    for (int i = 0; i < line.size(); ++i) {
        if (keep[size_t(i)])
            result << line.at(i);
    }
    return result;
}

// A binary picture with a border of blank pixels, so neighbours never leave it.
struct Grid
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> cells;

    bool at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < width && y < height && cells[size_t(y * width + x)];
    }
    void set(int x, int y, bool on) { cells[size_t(y * width + x)] = on ? 1 : 0; }
};

const int kDx[8] = { 0, 1, 1, 1, 0, -1, -1, -1 }; // N, NE, E, SE, S, SW, W, NW
const int kDy[8] = { -1, -1, 0, 1, 1, 1, 0, -1 };

// Zhang and Suen's thinning, then the corners of stairs taken out so that every pixel of a
// line has two neighbours.
void thin(Grid &grid)
{
    std::vector<int> gone;
    for (bool changed = true; changed;) {
        changed = false;
        for (int pass = 0; pass < 2; ++pass) {
            gone.clear();
            for (int y = 0; y < grid.height; ++y) {
                for (int x = 0; x < grid.width; ++x) {
                    if (!grid.at(x, y))
                        continue;
                    bool p[8];
                    int count = 0;
                    for (int k = 0; k < 8; ++k) {
                        p[k] = grid.at(x + kDx[k], y + kDy[k]);
                        count += p[k];
                    }
                    int turns = 0;
                    for (int k = 0; k < 8; ++k)
                        turns += !p[k] && p[(k + 1) % 8];
                    if (count < 2 || count > 6 || turns != 1)
                        continue;
                    const bool n = p[0], e = p[2], s = p[4], w = p[6];
                    if (pass == 0 ? (n && e && s) || (e && s && w) : (n && e && w) || (n && s && w))
                        continue;
                    gone.push_back(y * grid.width + x);
                }
            }
            for (int cell : gone)
                grid.cells[size_t(cell)] = 0;
            changed = changed || !gone.empty();
        }
    }
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            if (!grid.at(x, y))
                continue;
            const bool n = grid.at(x, y - 1), e = grid.at(x + 1, y), s = grid.at(x, y + 1),
                       w = grid.at(x - 1, y);
            const bool ne = grid.at(x + 1, y - 1), se = grid.at(x + 1, y + 1),
                       sw = grid.at(x - 1, y + 1), nw = grid.at(x - 1, y - 1);
            if ((n && e && !s && !w && !sw) || (e && s && !n && !w && !nw)
                || (s && w && !n && !e && !ne) || (w && n && !s && !e && !se))
                grid.set(x, y, false);
        }
    }
}

struct Edge
{
    int from = -1; // node at points.front()
    int to = -1; // node at points.back()
    QVector<QPointF> points;
    bool removed = false;
};

qreal lengthOf(const QVector<QPointF> &line)
{
    qreal total = 0.0;
    for (int i = 1; i < line.size(); ++i)
        total += QLineF(line.at(i - 1), line.at(i)).length();
    return total;
}

// The way an edge leaves its node at end (0 its first point, 1 its last), over a few pixels.
QPointF leaving(const Edge &edge, int end, qreal reach)
{
    const QVector<QPointF> &points = edge.points;
    const int count = points.size();
    const QPointF start = end == 0 ? points.first() : points.last();
    QPointF far = start;
    for (int i = 1; i < count; ++i) {
        far = end == 0 ? points.at(i) : points.at(count - 1 - i);
        if (QLineF(start, far).length() >= reach)
            break;
    }
    const QPointF d = far - start;
    const qreal length = std::hypot(d.x(), d.y());
    return length > 0 ? d / length : QPointF();
}

} // namespace

Strokes centreLines(const QImage &image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    Grid grid;
    grid.width = grey.width() + 2;
    grid.height = grey.height() + 2;
    grid.cells.assign(size_t(grid.width * grid.height), 0);
    int inked = 0;
    for (int y = 0; y < grey.height(); ++y) {
        const uchar *row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x) {
            if (row[x] < 128) {
                grid.set(x + 1, y + 1, true);
                ++inked;
            }
        }
    }
    if (inked == 0)
        return {};
    // Gaps of a pixel or two inside a line (a dry brush, a rough pen) are closed, so that a
    // line's streaks thin to one line: grown by two pixels, then shrunk by as much.
    const auto grown = [&](bool ink) {
        std::vector<unsigned char> next = grid.cells;
        for (int y = 0; y < grid.height; ++y) {
            for (int x = 0; x < grid.width; ++x) {
                bool any = false;
                for (int dy = -2; dy <= 2 && !any; ++dy) {
                    for (int dx = -2; dx <= 2 && !any; ++dx) {
                        if (dx * dx + dy * dy <= 5)
                            any = grid.at(x + dx, y + dy) == ink
                                    && (ink || (x + dx >= 0 && y + dy >= 0 && x + dx < grid.width
                                                && y + dy < grid.height));
                    }
                }
                next[size_t(y * grid.width + x)] = ink ? any : !any;
            }
        }
        grid.cells.swap(next);
    };
    grown(true);
    grown(false);
    // Distance of every inked pixel from the paper (chamfer 3-4, in thirds of a pixel).
    std::vector<int> depth(grid.cells.size(), 0);
    for (int pass = 0; pass < 2; ++pass) {
        const int step = pass == 0 ? 1 : -1;
        for (int y = pass == 0 ? 0 : grid.height - 1; y >= 0 && y < grid.height; y += step) {
            for (int x = pass == 0 ? 0 : grid.width - 1; x >= 0 && x < grid.width; x += step) {
                const size_t at = size_t(y * grid.width + x);
                if (!grid.cells[at])
                    continue;
                int best = pass == 0 ? 1 << 20 : depth[at];
                for (const auto &[dx, dy, cost] : { std::tuple<int, int, int>{ -1, 0, 3 },
                                                    { 0, -1, 3 }, { -1, -1, 4 }, { 1, -1, 4 } }) {
                    const int nx = x + step * dx, ny = y + step * dy;
                    const int there = nx >= 0 && ny >= 0 && nx < grid.width && ny < grid.height
                            ? depth[size_t(ny * grid.width + nx)]
                            : 0;
                    best = std::min(best, there + cost);
                }
                depth[at] = best;
            }
        }
    }
    thin(grid);
    // The pen's width: twice the middle depth of the centre line.
    std::vector<int> middle;
    for (size_t at = 0; at < grid.cells.size(); ++at) {
        if (grid.cells[at])
            middle.push_back(depth[at]);
    }
    std::nth_element(middle.begin(), middle.begin() + long(middle.size() / 2), middle.end());
    const qreal pen = std::max(1.0, 2.0 * middle[middle.size() / 2] / 3.0);

    const auto index = [&](int x, int y) { return y * grid.width + x; };
    const auto neighbours = [&](int x, int y) {
        int count = 0;
        for (int k = 0; k < 8; ++k)
            count += grid.at(x + kDx[k], y + kDy[k]);
        return count;
    };
    const qreal spur = std::max(3.0, 0.8 * pen);

    // Nodes: line ends, single pixels and crossings (touching crossing pixels are one node).
    std::vector<int> node(grid.cells.size(), -1);
    QVector<QPointF> nodeAt;
    QVector<int> nodeKind; // 0 a dot, 1 an end, 3 a crossing
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            if (!grid.at(x, y) || node[size_t(index(x, y))] >= 0)
                continue;
            const int count = neighbours(x, y);
            if (count == 2)
                continue;
            const int id = nodeAt.size();
            if (count < 2) {
                node[size_t(index(x, y))] = id;
                nodeAt << QPointF(x - 1, y - 1);
                nodeKind << count;
                continue;
            }
            std::vector<std::pair<int, int>> todo{ { x, y } };
            node[size_t(index(x, y))] = id;
            QPointF sum;
            int members = 0;
            while (!todo.empty()) {
                const auto [cx, cy] = todo.back();
                todo.pop_back();
                sum += QPointF(cx - 1, cy - 1);
                ++members;
                for (int k = 0; k < 8; ++k) {
                    const int nx = cx + kDx[k], ny = cy + kDy[k];
                    if (grid.at(nx, ny) && node[size_t(index(nx, ny))] < 0
                        && neighbours(nx, ny) > 2) {
                        node[size_t(index(nx, ny))] = id;
                        todo.push_back({ nx, ny });
                    }
                }
            }
            nodeAt << sum / members;
            nodeKind << 3;
        }
    }

    // Edges: the lines between nodes, then rings that have none.
    std::vector<char> walked(grid.cells.size(), 0);
    QVector<Edge> edges;
    std::map<std::pair<int, int>, bool> touching;
    const auto walk = [&](int startX, int startY, int fromX, int fromY, int fromNode) {
        Edge edge;
        edge.from = fromNode;
        edge.points << (fromNode >= 0 ? nodeAt.at(fromNode) : QPointF(fromX - 1, fromY - 1));
        int px = fromX, py = fromY, cx = startX, cy = startY;
        for (;;) {
            const int here = index(cx, cy);
            if (node[size_t(here)] >= 0) {
                edge.to = node[size_t(here)];
                edge.points << nodeAt.at(edge.to);
                break;
            }
            if (walked[size_t(here)]) {
                edge.points << QPointF(cx - 1, cy - 1);
                break;
            }
            walked[size_t(here)] = 1;
            edge.points << QPointF(cx - 1, cy - 1);
            int nextX = -1, nextY = -1;
            // Straight neighbours first: a diagonal one beside them is the same way on.
            for (int k : { 0, 2, 4, 6, 1, 3, 5, 7 }) {
                const int nx = cx + kDx[k], ny = cy + kDy[k];
                if (!grid.at(nx, ny) || (nx == px && ny == py))
                    continue;
                const int there = index(nx, ny);
                if (fromNode >= 0 && node[size_t(there)] == fromNode && edge.points.size() < 3)
                    continue;
                if (walked[size_t(there)] && node[size_t(there)] < 0
                    && !(nx == startX && ny == startY && fromNode < 0))
                    continue;
                nextX = nx;
                nextY = ny;
                break;
            }
            if (nextX < 0)
                break;
            px = cx;
            py = cy;
            cx = nextX;
            cy = nextY;
        }
        return edge;
    };
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            const int here = index(x, y);
            if (!grid.at(x, y) || node[size_t(here)] < 0)
                continue;
            const int id = node[size_t(here)];
            for (int k = 0; k < 8; ++k) {
                const int nx = x + kDx[k], ny = y + kDy[k];
                if (!grid.at(nx, ny))
                    continue;
                const int there = index(nx, ny);
                if (node[size_t(there)] >= 0) {
                    const int other = node[size_t(there)];
                    if (other != id && !touching[{ std::min(id, other), std::max(id, other) }]) {
                        touching[{ std::min(id, other), std::max(id, other) }] = true;
                        Edge edge;
                        edge.from = id;
                        edge.to = other;
                        edge.points << nodeAt.at(id) << nodeAt.at(other);
                        edges << edge;
                    }
                } else if (!walked[size_t(there)]) {
                    Edge edge = walk(nx, ny, x, y, id);
                    if (edge.to == id && lengthOf(edge.points) < 3.0)
                        continue;
                    edges << edge;
                }
            }
        }
    }
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            if (grid.at(x, y) && node[size_t(index(x, y))] < 0 && !walked[size_t(index(x, y))]) {
                Edge ring = walk(x, y, x, y, -1);
                ring.points.removeFirst(); // the walk's start, given again as its first pixel
                if (!ring.points.isEmpty())
                    edges << ring;
            }
        }
    }

    // Short lines from a crossing to a free end are corners or serifs the thinning left.
    const auto degrees = [&]() {
        QVector<int> degree(nodeAt.size(), 0);
        for (const Edge &edge : qAsConst(edges)) {
            if (edge.removed)
                continue;
            if (edge.from >= 0)
                ++degree[edge.from];
            if (edge.to >= 0)
                ++degree[edge.to];
        }
        return degree;
    };
    // Each round takes off the spurs as they stand; a crossing keeps its longest line, so a
    // line's end with a few spurs near it is not eaten away round after round.
    for (int round = 0; round < 2; ++round) {
        const QVector<int> degree = degrees();
        std::map<int, std::vector<int>> spurs; // crossing -> its short lines to a free end
        for (int e = 0; e < edges.size(); ++e) {
            const Edge &edge = edges.at(e);
            if (edge.removed || edge.from < 0 || edge.to < 0 || lengthOf(edge.points) >= spur)
                continue;
            if (degree[edge.from] == 1 && degree[edge.to] >= 3)
                spurs[edge.to].push_back(e);
            else if (degree[edge.to] == 1 && degree[edge.from] >= 3)
                spurs[edge.from].push_back(e);
        }
        for (auto &[crossing, lines] : spurs) {
            std::sort(lines.begin(), lines.end(), [&](int a, int b) {
                return lengthOf(edges.at(a).points) < lengthOf(edges.at(b).points);
            });
            // All of a crossing's lines short: the longest stays.
            const size_t keep = lines.size() >= size_t(degree[crossing]) ? 1 : 0;
            for (size_t k = 0; k + keep < lines.size(); ++k)
                edges[lines[k]].removed = true;
        }
        if (spurs.empty())
            break;
    }

    // Two crossings a short bridge apart are one crossing (thick lines crossing at a slant
    // thin to an X with a short bar in its middle): the bridge goes and its ends become one.
    {
        const QVector<int> degree = degrees();
        for (Edge &bridge : edges) {
            if (bridge.removed || bridge.from < 0 || bridge.to < 0 || bridge.from == bridge.to
                || degree[bridge.from] < 3 || degree[bridge.to] < 3
                || lengthOf(bridge.points) >= pen)
                continue;
            bridge.removed = true;
            const int kept = bridge.from, gone = bridge.to;
            for (Edge &edge : edges) {
                if (edge.from == gone)
                    edge.from = kept;
                if (edge.to == gone)
                    edge.to = kept;
            }
        }
    }

    // Join, at every node, the lines that run on through it: two at a bend, the straightest
    // pairs at a crossing.
    const QVector<int> degree = degrees();
    std::map<std::pair<int, int>, std::pair<int, int>> joined; // (edge, end) -> (edge, end)
    for (int id = 0; id < nodeAt.size(); ++id) {
        if (degree[id] < 2)
            continue;
        QVector<std::pair<int, int>> ends;
        for (int e = 0; e < edges.size(); ++e) {
            if (edges.at(e).removed)
                continue;
            if (edges.at(e).from == id)
                ends.push_back({ e, 0 });
            if (edges.at(e).to == id)
                ends.push_back({ e, 1 });
        }
        std::vector<std::tuple<qreal, int, int>> pairs;
        for (int a = 0; a < ends.size(); ++a) {
            for (int b = a + 1; b < ends.size(); ++b) {
                if (ends.at(a).first == ends.at(b).first)
                    continue;
                const QPointF u = leaving(edges.at(ends.at(a).first), ends.at(a).second, 3 * pen);
                const QPointF v = leaving(edges.at(ends.at(b).first), ends.at(b).second, 3 * pen);
                const qreal straight = u.x() * v.x() + u.y() * v.y(); // -1: straight on
                if (ends.size() == 2 || straight < -0.7)
                    pairs.push_back({ straight, a, b });
            }
        }
        std::sort(pairs.begin(), pairs.end());
        std::vector<char> used(size_t(ends.size()), 0);
        for (const auto &[straight, a, b] : pairs) {
            if (used[size_t(a)] || used[size_t(b)])
                continue;
            used[size_t(a)] = used[size_t(b)] = 1;
            joined[ends.at(a)] = ends.at(b);
            joined[ends.at(b)] = ends.at(a);
        }
    }

    // Strokes: chains of joined edges, each from a free end (or anywhere on a closed chain).
    Strokes strokes;
    std::vector<char> taken(size_t(edges.size()), 0);
    // Thinning shortens a line by the pen's half width at a free end: it is drawn on again.
    const auto lengthened = [&](QVector<QPointF> &line, int nodeId, bool atStart) {
        if (nodeId < 0 || degree[nodeId] != 1 || line.size() < 2)
            return;
        const QPointF at = nodeAt.at(nodeId);
        const qreal reach = depth[size_t(index(int(at.x()) + 1, int(at.y()) + 1))] / 3.0;
        Edge edge;
        edge.points = line;
        const QPointF away = -leaving(edge, atStart ? 0 : 1, 2 * pen);
        if (atStart)
            line.prepend(at + away * reach);
        else
            line.append(at + away * reach);
    };
    const auto chainFrom = [&](int e, int end) {
        QVector<QPointF> line;
        const int first = end == 0 ? edges.at(e).from : edges.at(e).to;
        int last = first;
        for (;;) {
            last = end == 0 ? edges.at(e).to : edges.at(e).from;
            taken[size_t(e)] = 1;
            QVector<QPointF> points = edges.at(e).points;
            if (end == 1)
                std::reverse(points.begin(), points.end());
            if (!line.isEmpty())
                points.removeFirst();
            line += points;
            const auto next = joined.find({ e, 1 - end });
            if (next == joined.end() || taken[size_t(next->second.first)])
                break;
            e = next->second.first;
            end = next->second.second;
        }
        if (first != last || line.first() != line.last()) {
            lengthened(line, first, true);
            lengthened(line, last, false);
        }
        return line;
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (int e = 0; e < edges.size(); ++e) {
            if (edges.at(e).removed || taken[size_t(e)])
                continue;
            for (int end = 0; end < 2; ++end) {
                if (taken[size_t(e)])
                    break;
                // First pass: only chains that start at a free end; then the closed ones.
                if (pass == 0 && joined.count({ e, end }))
                    continue;
                strokes << chainFrom(e, end);
            }
        }
    }
    for (int id = 0; id < nodeAt.size(); ++id) {
        if (nodeKind.at(id) == 0)
            strokes << QVector<QPointF>{ nodeAt.at(id) };
    }

    // Marks smaller than a few pens are dots; every line is kept to the points that shape it.
    Strokes result;
    for (const QVector<QPointF> &stroke : qAsConst(strokes)) {
        QPointF low = stroke.first();
        QPointF high = low;
        for (const QPointF &point : stroke) {
            low = QPointF(std::min(low.x(), point.x()), std::min(low.y(), point.y()));
            high = QPointF(std::max(high.x(), point.x()), std::max(high.y(), point.y()));
        }
        if (std::max(high.x() - low.x(), high.y() - low.y()) < std::max(0.8 * pen, 3.0)) {
            result << QVector<QPointF>{ (low + high) / 2 };
            continue;
        }
        result << simplified(stroke, 0.7);
    }
    // Dots lying on a line of the glyph are left over from it.
    Strokes kept;
    for (const QVector<QPointF> &stroke : qAsConst(result)) {
        if (stroke.size() == 1 && result.size() > 1) {
            bool onLine = false;
            for (const QVector<QPointF> &other : qAsConst(result)) {
                if (other.size() < 2)
                    continue;
                for (const QPointF &point : other)
                    onLine = onLine || QLineF(point, stroke.first()).length() < 2.0 * pen;
            }
            if (onLine)
                continue;
        }
        kept << stroke;
    }
    return kept;
}

Alphabet hershey(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return Alphabet(kClassCount);
    // One glyph a line from the space on: vertices as letter pairs around 'R', " R" lifts the pen.
    QVector<Strokes> glyphs;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.size() < 10)
            continue;
        const QByteArray vertices = line.mid(10);
        Strokes strokes{ {} };
        for (int i = 0; i + 1 < vertices.size(); i += 2) {
            if (vertices.at(i) == ' ' && vertices.at(i + 1) == 'R') {
                strokes.append(QVector<QPointF>());
                continue;
            }
            strokes.last() << QPointF(vertices.at(i) - 'R', vertices.at(i + 1) - 'R');
        }
        strokes.removeAll(QVector<QPointF>());
        glyphs << strokes;
    }
    const QString chars = characters();
    QVector<Strokes> byClass(kClassCount);
    for (int id = 0; id < kClassCount; ++id) {
        const int at = int(chars.at(id).unicode()) - 32;
        if (at >= 0 && at < 95)
            byClass[id] = glyphs.value(at);
    }
    qreal top = 0.0;
    const qreal height = capitalHeight(byClass.at(7), &top); // H
    return toLetterBox(byClass, top, height);
}

Alphabet svgFont(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return Alphabet(kClassCount);
    const QString chars = characters();
    QVector<Strokes> byClass(kClassCount);
    QXmlStreamReader xml(&file);
    static const QRegularExpression token(
            QStringLiteral("[MmLlHhVvCcQqZz]|[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?"));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("glyph"))
            continue;
        const QString unicode = xml.attributes().value(QStringLiteral("unicode")).toString();
        const int id = unicode.size() == 1 ? chars.indexOf(unicode) : -1;
        if (id < 0 || !byClass.at(id).isEmpty())
            continue;
        QStringList tokens;
        auto matches = token.globalMatch(xml.attributes().value(QStringLiteral("d")).toString());
        while (matches.hasNext())
            tokens << matches.next().captured();
        Strokes strokes;
        QPointF at;
        QPointF start;
        QChar command;
        int i = 0;
        const auto number = [&]() { return i < tokens.size() ? tokens.at(i++).toDouble() : 0.0; };
        const auto point = [&](bool relative) {
            const qreal x = number();
            const qreal y = number();
            return relative ? at + QPointF(x, y) : QPointF(x, y);
        };
        while (i < tokens.size()) {
            if (tokens.at(i).at(0).isLetter())
                command = tokens.at(i++).at(0);
            const bool relative = command.isLower();
            switch (command.toUpper().unicode()) {
            case 'M':
                at = start = point(relative);
                strokes << QVector<QPointF>{ at };
                command = relative ? QLatin1Char('l') : QLatin1Char('L');
                break;
            case 'L':
                at = point(relative);
                break;
            case 'H':
                at.setX(relative ? at.x() + number() : number());
                break;
            case 'V':
                at.setY(relative ? at.y() + number() : number());
                break;
            case 'C':
            case 'Q': {
                const bool cubic = command.toUpper() == QLatin1Char('C');
                const QPointF from = at;
                const QPointF c1 = point(relative);
                const QPointF c2 = cubic ? point(relative) : c1;
                const QPointF to = point(relative);
                for (int k = 1; k < 8; ++k) {
                    const qreal t = k / 8.0, u = 1 - t;
                    strokes.last() << (cubic ? u * u * u * from + 3 * u * u * t * c1
                                                       + 3 * u * t * t * c2 + t * t * t * to
                                             : u * u * from + 2 * u * t * c1 + t * t * to);
                }
                at = to;
                break;
            }
            case 'Z':
                at = start;
                break;
            default:
                ++i; // nothing to draw with
                continue;
            }
            if (strokes.isEmpty())
                strokes << QVector<QPointF>{};
            strokes.last() << at;
        }
        for (QVector<QPointF> &stroke : strokes) {
            for (QPointF &p : stroke)
                p.setY(-p.y()); // y downwards, as the pen writes
        }
        strokes.removeAll(QVector<QPointF>());
        byClass[id] = strokes;
    }
    qreal top = 0.0;
    const qreal height = capitalHeight(byClass.at(7), &top);
    return toLetterBox(byClass, top, height);
}

Alphabet outlineFont(const QString &fileName)
{
    Alphabet alphabet(kClassCount);
    QRawFont font(fileName, 200);
    if (!font.isValid())
        return alphabet;
    const QString chars = characters();
    const auto pathOf = [&](QChar c) {
        const QVector<quint32> glyph = font.glyphIndexesForString(QString(c));
        return glyph.isEmpty() || glyph.first() == 0 ? QPainterPath()
                                                     : font.pathForGlyph(glyph.first());
    };
    const QRectF capital = pathOf(QLatin1Char('H')).boundingRect();
    const qreal height = capital.height() > 0 ? capital.height() : font.capHeight();
    if (!(height > 0))
        return alphabet;
    // Capitals about 90 pixels high: lines of several pixels, thin enough to thin quickly.
    const qreal scale = 90.0 / height;
    const int margin = 4;
    for (int id = 0; id < kClassCount; ++id) {
        QPainterPath path = pathOf(chars.at(id));
        const QRectF box = path.boundingRect();
        if (path.isEmpty() || box.isEmpty())
            continue;
        path.setFillRule(Qt::WindingFill);
        QImage ink(int(std::ceil(box.width() * scale)) + 2 * margin,
                   int(std::ceil(box.height() * scale)) + 2 * margin, QImage::Format_Grayscale8);
        ink.fill(255);
        {
            QPainter painter(&ink);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.translate(margin, margin);
            painter.scale(scale, scale);
            painter.translate(-box.topLeft());
            painter.fillPath(path, Qt::black);
        }
        Strokes strokes = centreLines(ink);
        // Back to the font's units (baseline at 0), then to the letter box.
        for (QVector<QPointF> &stroke : strokes) {
            for (QPointF &point : stroke) {
                const QPointF unit = (point - QPointF(margin, margin)) / scale + box.topLeft();
                point = QPointF((unit.x() - box.left()) * 100.0 / height,
                                100.0 + unit.y() * 100.0 / height);
            }
        }
        alphabet[id] = strokes;
    }
    return alphabet;
}

} // namespace GlyphStrokes
