#include "inkfeatures.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace InkFeatures {

namespace {

constexpr int kFine = 32; // the ink is laid on a finer grid before pooling
constexpr double kPi = 3.14159265358979323846;
constexpr int kDots = 4; // the plane of the dots
// A stroke that stays within this share of the character is a dot (the mark of an i, a colon).
constexpr double kDotShare = 0.12;
// How far a fine cell's ink spreads over the coarse grid (in coarse cells).
constexpr double kSpread = 0.8;

// The line evenly resampled every kStep of the character and smoothed over about kSmooth of
// it, so that a shaky hand's zigzags (many short lines going every way, more of them the bigger
// it writes, as a pen reports a point every few pixels) leave the ink of the line it meant.
constexpr double kStep = 0.01;
constexpr double kSmooth = 0.04;
std::vector<std::pair<double, double>> smoothed(const std::vector<std::pair<double, double>> &line)
{
    if (line.size() < 3)
        return line;
    std::vector<std::pair<double, double>> even{ line.front() };
    double carried = 0.0; // length since the last point kept
    for (size_t i = 1; i < line.size(); ++i) {
        double x = line[i - 1].first, y = line[i - 1].second;
        const double dx = line[i].first - x, dy = line[i].second - y;
        double length = std::hypot(dx, dy);
        if (length <= 0.0)
            continue;
        double at = kStep - carried;
        while (at <= length) {
            even.push_back({ x + dx * at / length, y + dy * at / length });
            at += kStep;
        }
        carried = length - (at - kStep);
    }
    if (even.back() != line.back())
        even.push_back(line.back());
    const int reach = int(std::ceil(2.0 * kSmooth / kStep));
    std::vector<double> weight(size_t(reach + 1));
    for (int k = 0; k <= reach; ++k) {
        const double d = k * kStep / kSmooth;
        weight[size_t(k)] = std::exp(-0.5 * d * d);
    }
    std::vector<std::pair<double, double>> result(even.size());
    const int count = int(even.size());
    for (int i = 0; i < count; ++i) {
        // Near an end the window shrinks to stay even, so the end does not move.
        const int window = std::min({ reach, i, count - 1 - i });
        double sx = 0.0, sy = 0.0, total = 0.0;
        for (int k = -window; k <= window; ++k) {
            const double w = weight[size_t(std::abs(k))];
            sx += w * even[size_t(i + k)].first;
            sy += w * even[size_t(i + k)].second;
            total += w;
        }
        result[size_t(i)] = { sx / total, sy / total };
    }
    return result;
}

} // namespace

bool compute(const StrokeMatcher::Shape &input, float dotExtent, Vector &features)
{
    features.fill(0.0f);
    const StrokeMatcher::Shape strokes = StrokeMatcher::cleaned(input);
    if (strokes.empty())
        return false;
    // Doubles: the page hands scene coordinates that may lie far from the origin.
    double left = std::numeric_limits<double>::max();
    double top = left;
    double right = std::numeric_limits<double>::lowest();
    double bottom = right;
    for (const StrokeMatcher::Stroke &stroke : strokes) {
        for (const StrokeMatcher::Point &point : stroke) {
            left = std::min(left, double(point.x));
            right = std::max(right, double(point.x));
            top = std::min(top, double(point.y));
            bottom = std::max(bottom, double(point.y));
        }
    }
    const double extent = std::max(right - left, bottom - top);
    if (!(extent >= double(dotExtent)) || extent <= 0.0)
        return false;
    const double middleX = (left + right) / 2.0;
    const double middleY = (top + bottom) / 2.0;
    // Ink on the fine grid: a cell is inked or not, so a line drawn twice counts once.
    float ink[kPlanes][kFine][kFine] = {};
    const auto cell = [](double unit) {
        return std::clamp(int(unit * kFine), 0, kFine - 1);
    };
    bool lines = false;
    for (const StrokeMatcher::Stroke &stroke : strokes) {
        double low[2] = { 1e9, 1e9 };
        double high[2] = { -1e9, -1e9 };
        std::vector<std::pair<double, double>> raw;
        raw.reserve(stroke.size());
        for (const StrokeMatcher::Point &point : stroke) {
            const double u = (point.x - middleX) / extent + 0.5;
            const double v = (point.y - middleY) / extent + 0.5;
            raw.push_back({ u, v });
            low[0] = std::min(low[0], u);
            low[1] = std::min(low[1], v);
            high[0] = std::max(high[0], u);
            high[1] = std::max(high[1], v);
        }
        const std::vector<std::pair<double, double>> points = smoothed(raw);
        if (std::max(high[0] - low[0], high[1] - low[1]) < kDotShare) {
            if (strokes.size() > 1)
                ink[kDots][cell((low[1] + high[1]) / 2)][cell((low[0] + high[0]) / 2)] = 1.0f;
            continue;
        }
        for (size_t i = 1; i < points.size(); ++i) {
            const double dx = points[i].first - points[i - 1].first;
            const double dy = points[i].second - points[i - 1].second;
            const double length = std::hypot(dx, dy);
            if (length <= 0.0)
                continue;
            double angle = std::atan2(dy, dx);
            if (angle < 0.0)
                angle += kPi;
            // Shared between the two nearest of the four directions.
            const double bin = std::fmod(angle / (kPi / 4.0), 4.0);
            const int first = int(bin) % 4;
            const int second = (first + 1) % 4;
            const float toSecond = float(bin - std::floor(bin));
            const int steps = int(std::ceil(length * kFine * 2.0));
            for (int s = 0; s <= steps; ++s) {
                const double t = double(s) / steps;
                const int x = cell(points[i - 1].first + t * dx);
                const int y = cell(points[i - 1].second + t * dy);
                ink[first][y][x] = std::max(ink[first][y][x], 1.0f - toSecond);
                ink[second][y][x] = std::max(ink[second][y][x], toSecond);
            }
            lines = true;
        }
    }
    if (!lines)
        return false;
    // Pooled over the coarse grid, each fine cell spread over the coarse cells around it, so
    // that a line a little to one side in another hand still meets this one.
    const double ratio = double(kGrid) / kFine;
    float spread[kFine][kGrid];
    for (int f = 0; f < kFine; ++f) {
        const double at = (f + 0.5) * ratio - 0.5;
        for (int c = 0; c < kGrid; ++c) {
            const double d = (at - c) / kSpread;
            spread[f][c] = d * d < 9.0 ? float(std::exp(-0.5 * d * d)) : 0.0f;
        }
    }
    for (int plane = 0; plane < kPlanes; ++plane) {
        float *out = &features[size_t(plane * kGrid * kGrid)];
        for (int y = 0; y < kFine; ++y) {
            for (int x = 0; x < kFine; ++x) {
                const float value = ink[plane][y][x];
                if (value == 0.0f)
                    continue;
                for (int row = 0; row < kGrid; ++row) {
                    const float weightY = value * spread[y][row];
                    if (weightY == 0.0f)
                        continue;
                    for (int column = 0; column < kGrid; ++column)
                        out[row * kGrid + column] += weightY * spread[x][column];
                }
            }
        }
    }
    double sum = 0.0;
    for (float value : features)
        sum += double(value) * value;
    const float scale = float(1.0 / std::sqrt(sum));
    for (float &value : features)
        value *= scale;
    return true;
}

float distance(const Vector &a, const Vector &b)
{
    float sum = 0.0f;
    for (int i = 0; i < kSize; ++i) {
        const float d = a[size_t(i)] - b[size_t(i)];
        sum += d * d;
    }
    return sum;
}

} // namespace InkFeatures
