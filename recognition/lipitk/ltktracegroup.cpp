#include "ltktracegroup.h"

#include "ltkerrors.h"

int LTKTraceGroup::addTrace(const LTKTrace &trace)
{
    m_traces.push_back(trace);
    return LTKErrors::kSuccess;
}

int LTKTraceGroup::getTraceAt(int index, LTKTrace &trace) const
{
    if (index < 0 || index >= getNumTraces())
        return LTKErrors::kInvalidArgument;
    trace = m_traces[std::size_t(index)];
    return LTKErrors::kSuccess;
}
