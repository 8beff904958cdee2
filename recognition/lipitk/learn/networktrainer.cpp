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
        StrokeMatcher::Stroke moved;
        for (size_t i = 0; i < dense.size(); ++i) {
            const double wave = wobble * std::sin(phase + 0.15 * double(i));
            const double x = (dense[i].x - slant * (dense[i].y - 100.0)) * wide + offsetX + wave;
            const double y = dense[i].y + offsetY - wave;
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
    std::vector<InkFeatures::Vector> inputs;
    std::vector<int> labels;
    for (const Example &example : examples) {
        for (int copy = 0; copy <= settings.copies; ++copy) {
            InkFeatures::Vector features;
            const StrokeMatcher::Shape shape =
                    copy == 0 ? example.strokes : written(example.strokes, random);
            if (InkFeatures::compute(shape, 0.0f, features)) {
                inputs.push_back(features);
                labels.push_back(example.classId);
            }
        }
    }
    InkNetwork network;
    network.inputs = InkFeatures::kSize;
    network.hidden = settings.hidden;
    network.classes = classCount;
    network.styles = styles;
    const int n = network.inputs, h = network.hidden, k = network.classes;
    network.w1.resize(size_t(h) * size_t(n));
    network.b1.assign(size_t(h), 0.0f);
    network.w2.resize(size_t(k) * size_t(h));
    network.b2.assign(size_t(k), 0.0f);
    std::normal_distribution<float> first(0.0f, float(std::sqrt(2.0 / n)));
    for (float &w : network.w1)
        w = first(random);
    std::normal_distribution<float> second(0.0f, float(std::sqrt(2.0 / h)));
    for (float &w : network.w2)
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
            const float *x = inputs[index].data();
            for (int j = 0; j < h; ++j) {
                const float *row = &network.w1[size_t(j) * size_t(n)];
                float sum = network.b1[size_t(j)];
                for (int i = 0; i < n; ++i)
                    sum += row[i] * x[i];
                active[size_t(j)] = std::max(0.0f, sum);
            }
            float highest = -1e30f;
            for (int c = 0; c < k; ++c) {
                const float *row = &network.w2[size_t(c) * size_t(h)];
                float sum = network.b2[size_t(c)];
                for (int j = 0; j < h; ++j)
                    sum += row[j] * active[size_t(j)];
                output[size_t(c)] = sum;
                highest = std::max(highest, sum);
            }
            float total = 0.0f;
            for (float &value : output) {
                value = std::exp(value - highest);
                total += value;
            }
            std::fill(back.begin(), back.end(), 0.0f);
            for (int c = 0; c < k; ++c) {
                const float error = output[size_t(c)] / total - (c == labels[index] ? 1.0f : 0.0f);
                if (std::fabs(error) < 1e-6f)
                    continue;
                float *row = &network.w2[size_t(c) * size_t(h)];
                for (int j = 0; j < h; ++j) {
                    back[size_t(j)] += row[j] * error;
                    row[j] -= rate * error * active[size_t(j)];
                }
                network.b2[size_t(c)] -= rate * error;
            }
            for (int j = 0; j < h; ++j) {
                if (active[size_t(j)] <= 0.0f || back[size_t(j)] == 0.0f)
                    continue;
                const float error = rate * back[size_t(j)];
                float *row = &network.w1[size_t(j) * size_t(n)];
                for (int i = 0; i < n; ++i)
                    row[i] -= error * x[i];
                network.b1[size_t(j)] -= error;
            }
        }
    }
    return network;
}

} // namespace NetworkTrainer
