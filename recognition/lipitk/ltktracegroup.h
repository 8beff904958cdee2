#pragma once

#include "ltktrace.h"

#include <vector>

// The strokes of one character, in drawing order.
class LTKTraceGroup
{
public:
    int addTrace(const LTKTrace &trace);
    int getNumTraces() const { return int(m_traces.size()); }
    const std::vector<LTKTrace> &getAllTraces() const { return m_traces; }
    // An index outside the group is refused.
    int getTraceAt(int index, LTKTrace &trace) const;
    void emptyAllTraces() { m_traces.clear(); }

private:
    std::vector<LTKTrace> m_traces;
};
