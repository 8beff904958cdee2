#pragma once

#include <vector>

// What the benchmarks print: figures of several runs, so that one slow run does not decide.
namespace BenchFigures {

double median(std::vector<double> values);

} // namespace BenchFigures
