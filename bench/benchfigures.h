#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <vector>

// What the benchmarks print: figures of several runs, so that one slow run does not decide.
namespace BenchFigures {

double median(std::vector<double> values);

// The longest time the event loop could not turn: a 1 ms heartbeat and the largest gap between
// two of its beats (or since the last one). It beats from its making to the end; each step of
// the run takes the longest gap since the step before, a gap that spans two steps counting in
// the later one.
class StallWatch
{
public:
    StallWatch();
    double takeLongestMs();

private:
    void beat();
    QTimer m_heartbeat;
    QElapsedTimer m_since;
    double m_longest = 0;
};

} // namespace BenchFigures
