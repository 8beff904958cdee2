#include "networktrainer.h"

#include "inkfeatures.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace NetworkTrainer {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The template as another hand writes it. The letter box is about 100 units a side.
StrokeMatcher::Shape written(const StrokeMatcher::Shape &shape, std::mt19937 &random)
{
    const auto between = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const double turn = between(-8.0, 8.0) * kPi / 180.0;
    const double slant = between(-0.3, 0.3);
    const double wide = between(0.75, 1.3);
    const double c = std::cos(turn), s = std::sin(turn);
    // A smooth warp of the whole letter: parts of it bigger, smaller or moved against the rest,
    // as one hand's bowls are rounder or its stems longer than another's.
    const double warp = 5.0;
    const double warpX[4] = { between(-warp, warp), between(-1.0, 1.0) * 2 * kPi / 150.0,
                              between(-1.0, 1.0) * 2 * kPi / 150.0, between(0.0, 2 * kPi) };
    const double warpY[4] = { between(-warp, warp), between(-1.0, 1.0) * 2 * kPi / 150.0,
                              between(-1.0, 1.0) * 2 * kPi / 150.0, between(0.0, 2 * kPi) };
    StrokeMatcher::Shape result;
    for (const StrokeMatcher::Stroke &stroke : shape) {
        // Each stroke a little off where the template has it, as strokes of a hand never meet
        // quite where they should.
        const double offsetX = between(-4.0, 4.0), offsetY = between(-4.0, 4.0);
        const double wobble = between(0.0, 2.0), phase = between(0.0, 2 * kPi);
        StrokeMatcher::Stroke dense;
        for (size_t i = 0; i < stroke.size(); ++i) {
            if (i > 0) {
                const double dx = stroke[i].x - stroke[i - 1].x;
                const double dy = stroke[i].y - stroke[i - 1].y;
                const int steps = std::max(1, int(std::hypot(dx, dy) / 3.0));
                for (int k = 1; k < steps; ++k)
                    dense.push_back({ float(stroke[i - 1].x + dx * k / steps),
                                      float(stroke[i - 1].y + dy * k / steps) });
            }
            dense.push_back(stroke[i]);
        }
        if (dense.size() >= 4) {
            // Each end drawn a little shorter or longer than the template has it: a ring
            // left open or closed, a stem or tail of another length.
            for (int end = 0; end < 2; ++end) {
                if (between(0.0, 1.0) < 0.5)
                    continue;
                if (end == 1)
                    std::reverse(dense.begin(), dense.end());
                if (between(0.0, 1.0) < 0.5) {
                    const size_t cut = size_t(between(0.0, 0.12) * double(dense.size()));
                    dense.erase(dense.begin(),
                                dense.begin() + long(std::min(cut, dense.size() - 2)));
                } else {
                    // On the way the end points, a few units at most.
                    const StrokeMatcher::Point a = dense[0];
                    const StrokeMatcher::Point b = dense[3];
                    const double dx = a.x - b.x, dy = a.y - b.y, length = std::hypot(dx, dy);
                    const double more = between(0.0, 8.0);
                    for (double t = 3.0; length > 0 && t <= more; t += 3.0)
                        dense.insert(dense.begin(), { float(a.x + dx / length * t),
                                                      float(a.y + dy / length * t) });
                }
                if (end == 1)
                    std::reverse(dense.begin(), dense.end());
            }
        }
        StrokeMatcher::Stroke moved;
        for (size_t i = 0; i < dense.size(); ++i) {
            const double wave = wobble * std::sin(phase + 0.15 * double(i));
            double px = dense[i].x, py = dense[i].y;
            px += warpX[0] * std::sin(warpX[1] * px + warpX[2] * py + warpX[3]);
            py += warpY[0] * std::sin(warpY[1] * px + warpY[2] * py + warpY[3]);
            const double x = (px - slant * (py - 100.0)) * wide + offsetX + wave;
            const double y = py + offsetY - wave;
            moved.push_back({ float(c * x - s * y), float(s * x + c * y) });
        }
        result.push_back(std::move(moved));
    }
    return result;
}

} // namespace

InkNetwork train(const std::vector<Example> &examples, int classCount,
                 const std::vector<std::string> &styles, const Settings &settings)
{
    std::mt19937 random(settings.seed);
    // The inputs are mostly zeros: each is kept as its non-zero values and where they are.
    std::vector<std::vector<std::pair<int, float>>> inputs;
    std::vector<int> labels;
    for (const Example &example : examples) {
        for (int copy = 0; copy <= settings.copies; ++copy) {
            InkFeatures::Vector features;
            const StrokeMatcher::Shape shape =
                    copy == 0 ? example.strokes : written(example.strokes, random);
            if (!InkFeatures::compute(shape, 0.0f, features))
                continue;
            std::vector<std::pair<int, float>> sparse;
            for (int i = 0; i < InkFeatures::kSize; ++i) {
                if (features[size_t(i)] > 1e-4f)
                    sparse.push_back({ i, features[size_t(i)] });
            }
            inputs.push_back(std::move(sparse));
            labels.push_back(example.classId);
        }
    }
    InkNetwork network;
    network.inputs = InkFeatures::kSize;
    network.hidden = settings.hidden;
    network.classes = classCount;
    network.styles = styles;
    const int n = network.inputs, h = network.hidden, k = network.classes;
    // Learnt input by input and hidden unit by hidden unit (the transpose of the file's
    // order), so that every step runs along contiguous rows.
    std::vector<float> w1(size_t(n) * size_t(h)), b1(size_t(h), 0.0f);
    std::vector<float> w2(size_t(h) * size_t(k)), b2(size_t(k), 0.0f);
    std::normal_distribution<float> first(0.0f, float(std::sqrt(2.0 / n)));
    for (float &w : w1)
        w = first(random);
    std::normal_distribution<float> second(0.0f, float(std::sqrt(2.0 / h)));
    for (float &w : w2)
        w = second(random);

    // Plain stochastic gradient descent on the cross-entropy, the rate falling as it goes.
    std::vector<size_t> order(inputs.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::vector<float> active(static_cast<size_t>(h)), back(static_cast<size_t>(h));
    std::vector<float> output(static_cast<size_t>(k));
    const float rateFrom = 0.05f, rateTo = 0.002f;
    const size_t steps = size_t(settings.epochs) * order.size();
    size_t step = 0;
    for (int epoch = 0; epoch < settings.epochs; ++epoch) {
        std::shuffle(order.begin(), order.end(), random);
        for (size_t index : order) {
            const float rate = rateFrom
                    * std::pow(rateTo / rateFrom, float(step++) / float(std::max<size_t>(1, steps)));
            const std::vector<std::pair<int, float>> &x = inputs[index];
            std::copy(b1.begin(), b1.end(), active.begin());
            for (const auto &[i, value] : x) {
                const float *row = &w1[size_t(i) * size_t(h)];
                for (int j = 0; j < h; ++j)
                    active[size_t(j)] += value * row[j];
            }
            std::copy(b2.begin(), b2.end(), output.begin());
            for (int j = 0; j < h; ++j) {
                float &a = active[size_t(j)];
                if (a <= 0.0f) {
                    a = 0.0f;
                    continue;
                }
                const float *row = &w2[size_t(j) * size_t(k)];
                for (int c = 0; c < k; ++c)
                    output[size_t(c)] += a * row[c];
            }
            const float highest = *std::max_element(output.begin(), output.end());
            float total = 0.0f;
            for (float &value : output) {
                value = std::exp(value - highest);
                total += value;
            }
            // output becomes the error of each class.
            for (int c = 0; c < k; ++c)
                output[size_t(c)] = output[size_t(c)] / total - (c == labels[index] ? 1.0f : 0.0f);
            for (int j = 0; j < h; ++j) {
                float *row = &w2[size_t(j) * size_t(k)];
                float sum = 0.0f;
                if (active[size_t(j)] > 0.0f) {
                    const float step = rate * active[size_t(j)];
                    for (int c = 0; c < k; ++c) {
                        sum += row[c] * output[size_t(c)];
                        row[c] -= step * output[size_t(c)];
                    }
                }
                back[size_t(j)] = rate * sum;
            }
            for (int c = 0; c < k; ++c)
                b2[size_t(c)] -= rate * output[size_t(c)];
            for (const auto &[i, value] : x) {
                float *row = &w1[size_t(i) * size_t(h)];
                for (int j = 0; j < h; ++j)
                    row[j] -= value * back[size_t(j)];
            }
            for (int j = 0; j < h; ++j)
                b1[size_t(j)] -= back[size_t(j)];
        }
    }
    network.w1.resize(size_t(h) * size_t(n));
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < n; ++i)
            network.w1[size_t(j) * size_t(n) + size_t(i)] = w1[size_t(i) * size_t(h) + size_t(j)];
    }
    network.b1 = b1;
    network.w2.resize(size_t(k) * size_t(h));
    for (int c = 0; c < k; ++c) {
        for (int j = 0; j < h; ++j)
            network.w2[size_t(c) * size_t(h) + size_t(j)] = w2[size_t(j) * size_t(k) + size_t(c)];
    }
    network.b2 = b2;
    return network;
}

} // namespace NetworkTrainer
