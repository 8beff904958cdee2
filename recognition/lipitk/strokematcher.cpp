#include "strokematcher.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace StrokeMatcher {

namespace {

double length(const Stroke &stroke)
{
    double total = 0.0;
    for (size_t i = 1; i < stroke.size(); ++i)
        total += std::hypot(double(stroke[i].x) - stroke[i - 1].x,
                            double(stroke[i].y) - stroke[i - 1].y);
    return total;
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

Shape normalised(const Shape &shape, float dotExtent)
{
    // Doubles: the page hands scene coordinates that may lie far from the origin.
    double left = std::numeric_limits<double>::max();
    double top = left;
    double right = std::numeric_limits<double>::lowest();
    double bottom = right;
    for (const Stroke &stroke : shape) {
        for (const Point &point : stroke) {
            left = std::min(left, double(point.x));
            right = std::max(right, double(point.x));
            top = std::min(top, double(point.y));
            bottom = std::max(bottom, double(point.y));
        }
    }
    const double extent = std::max(right - left, bottom - top);
    const double centreX = (left + right) / 2.0;
    const double centreY = (top + bottom) / 2.0;
    const bool dot = !(extent >= double(dotExtent)) || extent <= 0.0;
    Shape result = shape;
    for (Stroke &stroke : result) {
        for (Point &point : stroke) {
            point.x = dot ? 0.0f : float((point.x - centreX) / extent);
            point.y = dot ? 0.0f : float((point.y - centreY) / extent);
        }
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

Prepared prepare(const Shape &shape, const Settings &settings)
{
    const Shape strokes = normalised(cleaned(shape), settings.dotExtent);
    Prepared prepared;
    prepared.strokes = int(strokes.size());
    if (strokes.empty())
        return prepared;
    std::vector<double> lengths;
    double total = 0.0;
    for (const Stroke &stroke : strokes) {
        lengths.push_back(length(stroke));
        total += lengths.back();
    }
    const int budget = std::max(settings.points, prepared.strokes);
    for (size_t i = 0; i < strokes.size(); ++i) {
        // Long strokes get most points; a dot among them still counts once.
        const int count = total > 0.0 ? std::max(1, int(std::lround(budget * lengths[i] / total)))
                                      : std::max(1, budget / prepared.strokes);
        const Stroke points = resampled(strokes[i], count);
        prepared.points.insert(prepared.points.end(), points.begin(), points.end());
    }
    return prepared;
}

float warpDistance(const std::vector<Point> &a, const std::vector<Point> &b, float band)
{
    const int n = int(a.size());
    const int m = int(b.size());
    if (n == 0 || m == 0)
        return std::numeric_limits<float>::infinity();
    const int window = std::max(std::abs(n - m), int(std::ceil(band * std::max(n, m))) + 1);
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<double> previous(size_t(m + 1), infinity);
    std::vector<double> current(size_t(m + 1), infinity);
    previous[0] = 0.0;
    for (int i = 1; i <= n; ++i) {
        std::fill(current.begin(), current.end(), infinity);
        // The window follows the diagonal of the two lengths.
        const int centre = int(std::lround(double(i) * m / n));
        const int from = std::max(1, centre - window);
        const int to = std::min(m, centre + window);
        for (int j = from; j <= to; ++j) {
            const Point &p = a[size_t(i - 1)];
            const Point &q = b[size_t(j - 1)];
            const double cost = std::hypot(double(p.x) - q.x, double(p.y) - q.y);
            const double best = std::min(
                    { previous[size_t(j)], current[size_t(j - 1)], previous[size_t(j - 1)] });
            current[size_t(j)] = cost + best;
        }
        std::swap(previous, current);
    }
    return float(previous[size_t(m)] / (n + m));
}

float distance(const Prepared &a, const Prepared &b, const Settings &settings)
{
    const float warp = warpDistance(a.points, b.points, settings.band);
    return warp + settings.strokePenalty * float(std::abs(a.strokes - b.strokes));
}

} // namespace StrokeMatcher
