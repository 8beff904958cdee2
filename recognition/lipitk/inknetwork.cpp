#include "inknetwork.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

bool InkNetwork::read(const std::string &fileName, std::string *error)
{
    const auto fail = [&](const std::string &why) {
        *this = InkNetwork();
        if (error)
            *error = fileName + ": " + why;
        return false;
    };
    std::ifstream file(fileName);
    if (!file)
        return fail("cannot read the network file");
    std::string keyword;
    if (!(file >> keyword >> inputs >> hidden >> classes) || keyword != "network")
        return fail("no \"network <inputs> <hidden> <classes>\" line");
    if (inputs < 1 || hidden < 1 || classes < 1 || inputs > 100000 || hidden > 10000
        || classes > 100000)
        return fail("layer sizes out of range");
    std::string line;
    std::getline(file, line);
    if (!std::getline(file, line))
        return fail("no \"from\" line");
    std::istringstream words(line);
    if (!(words >> keyword) || keyword != "from")
        return fail("no \"from\" line");
    for (std::string style; words >> style;)
        styles.push_back(style);
    const auto take = [&](std::vector<float> &values, size_t count) {
        values.resize(count);
        for (float &value : values) {
            if (!(file >> value) || !std::isfinite(value))
                return false;
        }
        return true;
    };
    if (!take(w1, size_t(hidden) * size_t(inputs)) || !take(b1, size_t(hidden))
        || !take(w2, size_t(classes) * size_t(hidden)) || !take(b2, size_t(classes)))
        return fail("weights missing or not numbers");
    return true;
}

bool InkNetwork::write(const std::string &fileName) const
{
    std::ofstream file(fileName);
    if (!file)
        return false;
    file << "network " << inputs << ' ' << hidden << ' ' << classes << "\nfrom";
    for (const std::string &style : styles)
        file << ' ' << style;
    file << '\n';
    char number[32];
    for (const std::vector<float> *values : { &w1, &b1, &w2, &b2 }) {
        int column = 0;
        for (float value : *values) {
            std::snprintf(number, sizeof number, "%.5g", double(value));
            file << number << (++column % 16 == 0 ? '\n' : ' ');
        }
        file << '\n';
    }
    return bool(file.flush());
}

std::vector<float> InkNetwork::probabilities(const float *features) const
{
    std::vector<float> active(size_t(hidden), 0.0f);
    for (int h = 0; h < hidden; ++h) {
        const float *row = &w1[size_t(h) * size_t(inputs)];
        float sum = b1[size_t(h)];
        for (int i = 0; i < inputs; ++i)
            sum += row[i] * features[i];
        active[size_t(h)] = std::max(0.0f, sum);
    }
    std::vector<float> result(size_t(classes), 0.0f);
    float highest = -1e30f;
    for (int c = 0; c < classes; ++c) {
        const float *row = &w2[size_t(c) * size_t(hidden)];
        float sum = b2[size_t(c)];
        for (int h = 0; h < hidden; ++h)
            sum += row[h] * active[size_t(h)];
        result[size_t(c)] = sum;
        highest = std::max(highest, sum);
    }
    float total = 0.0f;
    for (float &value : result) {
        value = std::exp(value - highest);
        total += value;
    }
    for (float &value : result)
        value /= total;
    return result;
}
