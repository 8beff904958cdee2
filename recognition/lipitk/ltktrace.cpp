#include "ltktrace.h"

#include "ltkerrors.h"

int LTKTrace::addPoint(const std::vector<float> &point)
{
    if (point.size() != 2)
        return LTKErrors::kInvalidArgument;
    m_x.push_back(point[0]);
    m_y.push_back(point[1]);
    return LTKErrors::kSuccess;
}

int LTKTrace::getPointAt(int index, std::vector<float> &point) const
{
    if (index < 0 || index >= getNumberOfPoints())
        return LTKErrors::kInvalidArgument;
    point.assign({ m_x[std::size_t(index)], m_y[std::size_t(index)] });
    return LTKErrors::kSuccess;
}
