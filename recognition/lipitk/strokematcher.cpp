#include "strokematcher.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace StrokeMatcher {

namespace {

constexpr double kPi = 3.14159265358979323846;

double length(const Stroke &stroke)
{
    double total = 0.0;
    for (size_t i = 1; i < stroke.size(); ++i)
        total += std::hypot(double(stroke[i].x) - stroke[i - 1].x,
                            double(stroke[i].y) - stroke[i - 1].y);
    return total;
}

// Points per stroke adding up to exactly total: a dot gets a few (it is seen, whatever its
// size), the rest go by length, largest remainders first.
std::vector<int> shares(const std::vector<double> &lengths, int total)
{
    const size_t count = lengths.size();
    std::vector<int> result(count, 0);
    double drawn = 0.0;
    int dots = 0;
    for (double value : lengths) {
        drawn += value;
        dots += value > 0.0 ? 0 : 1;
    }
    const int dotPoints = std::max(1, total / 8);
    int left = total;
    for (size_t i = 0; i < count; ++i) {
        if (lengths[i] <= 0.0 || drawn <= 0.0) {
            result[i] = drawn <= 0.0 ? std::max(1, total / int(count)) : dotPoints;
            left -= result[i];
        }
    }
    if (drawn <= 0.0 || left <= 0)
        return result;
    std::vector<std::pair<double, size_t>> remainders;
    int given = 0;
    for (size_t i = 0; i < count; ++i) {
        if (lengths[i] <= 0.0)
            continue;
        const double exact = left * lengths[i] / drawn;
        result[i] = int(exact);
        given += result[i];
        remainders.push_back({ exact - result[i], i });
    }
    std::sort(remainders.begin(), remainders.end(),
              [](const auto &a, const auto &b) { return a.first > b.first; });
    for (size_t k = 0; given < left; ++k, ++given)
        ++result[remainders[k % remainders.size()].second];
    return result;
}

// The line through a resampled point: from its neighbour before to its neighbour after.
float lineAt(const Stroke &points, size_t i)
{
    const Point &from = points[i > 0 ? i - 1 : i];
    const Point &to = points[i + 1 < points.size() ? i + 1 : i];
    const double dx = double(to.x) - from.x;
    const double dy = double(to.y) - from.y;
    if (std::hypot(dx, dy) < 1e-6)
        return -1.0f;
    double angle = std::atan2(dy, dx);
    if (angle < 0.0)
        angle += kPi;
    if (angle >= kPi)
        angle -= kPi;
    return float(angle);
}

// Greedy matching of every point of a to its nearest unmatched point of b, starting at a's
// point start; earlier matches weigh more, as they had more choice. cost is row-major, a by b.
double cloudDistance(const std::vector<float> &cost, int n, int start, double bestSoFar)
{
    std::vector<char> matched(size_t(n), 0);
    double sum = 0.0;
    double weights = 0.0;
    int i = start;
    for (int step = 0; step < n; ++step) {
        const float *row = &cost[size_t(i) * size_t(n)];
        int index = -1;
        float nearest = std::numeric_limits<float>::max();
        for (int j = 0; j < n; ++j) {
            if (!matched[size_t(j)] && row[j] < nearest) {
                nearest = row[j];
                index = j;
            }
        }
        matched[size_t(index)] = 1;
        const double weight = 1.0 - double(step) / n;
        sum += weight * nearest;
        weights += weight;
        // Later points can only add: a start already worse than the best is dropped.
        if (sum >= bestSoFar * (n + 1) / 2.0)
            return std::numeric_limits<double>::infinity();
        i = (i + 1) % n;
    }
    return sum / weights;
}

} // namespace

Shape cleaned(const Shape &shape)
{
    Shape result;
    for (const Stroke &stroke : shape) {
        Stroke kept;
        for (const Point &point : stroke) {
            if (std::isfinite(point.x) && std::isfinite(point.y))
                kept.push_back(point);
        }
        if (!kept.empty())
            result.push_back(std::move(kept));
    }
    return result;
}

Stroke resampled(const Stroke &stroke, int count)
{
    if (stroke.empty() || count <= 0)
        return {};
    const double total = length(stroke);
    if (count == 1 || total <= 0.0)
        return Stroke(size_t(count), stroke.front());
    Stroke result;
    result.reserve(size_t(count));
    const double step = total / (count - 1);
    result.push_back(stroke.front());
    double walked = 0.0; // along the stroke up to segment i's start
    size_t i = 1;
    for (int k = 1; k < count - 1; ++k) {
        const double wanted = step * k;
        while (i < stroke.size()) {
            const double segment = std::hypot(double(stroke[i].x) - stroke[i - 1].x,
                                              double(stroke[i].y) - stroke[i - 1].y);
            if (walked + segment >= wanted && segment > 0.0) {
                const double t = (wanted - walked) / segment;
                result.push_back({ float(stroke[i - 1].x + t * (stroke[i].x - stroke[i - 1].x)),
                                   float(stroke[i - 1].y + t * (stroke[i].y - stroke[i - 1].y)) });
                break;
            }
            walked += segment;
            ++i;
        }
        if (i >= stroke.size())
            result.push_back(stroke.back());
    }
    result.push_back(stroke.back());
    return result;
}

Shape sheared(const Shape &shape, float amount)
{
    Shape result = shape;
    for (Stroke &stroke : result) {
        for (Point &point : stroke)
            point.x -= amount * point.y;
    }
    return result;
}

Prepared prepare(const Shape &input, const Settings &settings)
{
    Prepared prepared;
    const Shape strokes = cleaned(input);
    prepared.strokes = int(strokes.size());
    if (strokes.empty())
        return prepared;
    // Doubles: the page hands scene coordinates that may lie far from the origin.
    double left = std::numeric_limits<double>::max();
    double top = left;
    double right = std::numeric_limits<double>::lowest();
    double bottom = right;
    for (const Stroke &stroke : strokes) {
        for (const Point &point : stroke) {
            left = std::min(left, double(point.x));
            right = std::max(right, double(point.x));
            top = std::min(top, double(point.y));
            bottom = std::max(bottom, double(point.y));
        }
    }
    const double extent = std::max(right - left, bottom - top);
    const int total = std::max(settings.points, 4);
    prepared.points.reserve(size_t(total));
    prepared.lines.reserve(size_t(total));
    if (!(extent >= double(settings.dotExtent)) || extent <= 0.0) {
        // A dot (or taps on one place) has neither size nor lines.
        prepared.points.assign(size_t(total), Point());
        prepared.lines.assign(size_t(total), -1.0f);
        return prepared;
    }
    Shape local;
    std::vector<double> lengths;
    for (const Stroke &stroke : strokes) {
        Stroke moved;
        moved.reserve(stroke.size());
        for (const Point &point : stroke)
            moved.push_back({ float((point.x - left) / extent), float((point.y - top) / extent) });
        lengths.push_back(length(moved));
        // A stroke that stays within a small part of the shape is a dot, however it was made
        // (a tap, a small ring, a scribble): it stands at its middle.
        float low[2] = { moved.front().x, moved.front().y };
        float high[2] = { low[0], low[1] };
        for (const Point &point : moved) {
            low[0] = std::min(low[0], point.x);
            low[1] = std::min(low[1], point.y);
            high[0] = std::max(high[0], point.x);
            high[1] = std::max(high[1], point.y);
        }
        if (strokes.size() > 1 && std::max(high[0] - low[0], high[1] - low[1]) < 0.12f) {
            lengths.back() = 0.0;
            moved = { { (low[0] + high[0]) / 2.0f, (low[1] + high[1]) / 2.0f } };
        } else if (lengths.back() < 0.01) {
            lengths.back() = 0.0;
        }
        local.push_back(std::move(moved));
    }
    const std::vector<int> counts = shares(lengths, total);
    double sumX = 0.0;
    double sumY = 0.0;
    for (size_t s = 0; s < local.size(); ++s) {
        const Stroke points = lengths[s] > 0.0 ? resampled(local[s], counts[s])
                                               : Stroke(size_t(counts[s]), local[s].front());
        for (size_t i = 0; i < points.size(); ++i) {
            prepared.points.push_back(points[i]);
            prepared.lines.push_back(lengths[s] > 0.0 ? lineAt(points, i) : -1.0f);
            sumX += points[i].x;
            sumY += points[i].y;
        }
    }
    const float centreX = float(sumX / double(prepared.points.size()));
    const float centreY = float(sumY / double(prepared.points.size()));
    for (Point &point : prepared.points) {
        point.x -= centreX;
        point.y -= centreY;
    }
    return prepared;
}

float distance(const Prepared &a, const Prepared &b, const Settings &settings)
{
    const int n = int(a.points.size());
    if (n == 0 || int(b.points.size()) != n)
        return std::numeric_limits<float>::infinity();
    std::vector<float> forward(size_t(n) * size_t(n));
    std::vector<float> backward(size_t(n) * size_t(n));
    const float halfTurn = float(kPi / 2.0);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            const Point &p = a.points[size_t(i)];
            const Point &q = b.points[size_t(j)];
            float cost = std::hypot(p.x - q.x, p.y - q.y);
            const float u = a.lines[size_t(i)];
            const float v = b.lines[size_t(j)];
            if (u >= 0.0f && v >= 0.0f) {
                float turn = std::fabs(u - v);
                turn = std::min(turn, float(kPi) - turn);
                cost += settings.orientationWeight * turn / halfTurn;
            }
            forward[size_t(i) * size_t(n) + size_t(j)] = cost;
            backward[size_t(j) * size_t(n) + size_t(i)] = cost;
        }
    }
    const int step = std::max(1, int(std::floor(std::sqrt(double(n)))));
    double best = std::numeric_limits<double>::infinity();
    for (int start = 0; start < n; start += step) {
        best = std::min(best, cloudDistance(forward, n, start, best));
        best = std::min(best, cloudDistance(backward, n, start, best));
    }
    return float(best) + settings.strokePenalty * float(std::abs(a.strokes - b.strokes));
}

} // namespace StrokeMatcher
