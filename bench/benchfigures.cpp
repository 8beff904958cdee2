#include "benchfigures.h"

#include <algorithm>
#include <utility>

namespace BenchFigures {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

StallWatch::StallWatch()
{
    m_heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_heartbeat, &QTimer::timeout, [this] { beat(); });
    m_heartbeat.start(1);
    m_since.start();
}

double StallWatch::takeLongestMs()
{
    beat();
    return std::exchange(m_longest, 0.0);
}

void StallWatch::beat()
{
    m_longest = std::max(m_longest, m_since.nsecsElapsed() / 1e6);
    m_since.restart();
}

} // namespace BenchFigures
