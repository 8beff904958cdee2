#include "benchfigures.h"

#include <algorithm>

namespace BenchFigures {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace BenchFigures
