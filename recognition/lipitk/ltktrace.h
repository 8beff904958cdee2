#pragma once

#include <cstddef>
#include <vector>

// One pen stroke: its points in drawing order, each an (x, y) pair in the caller's units.
class LTKTrace
{
public:
    // point holds x then y; anything else is refused and the trace is left unchanged.
    int addPoint(const std::vector<float> &point);
    int getNumberOfPoints() const { return int(m_x.size()); }
    // Writes the point's x and y into point; an index outside the trace is refused.
    int getPointAt(int index, std::vector<float> &point) const;
    const std::vector<float> &xChannel() const { return m_x; }
    const std::vector<float> &yChannel() const { return m_y; }

private:
    std::vector<float> m_x;
    std::vector<float> m_y;
};
