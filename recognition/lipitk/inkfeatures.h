#pragma once

#include "strokematcher.h"

#include <array>

// What a character looks like on the board, whatever way it was written: the ink of its strokes,
// fitted in a square by its longer side, smoothed, split by the line's direction (four directions up to a
// half turn, and the dots apart) and pooled over a coarse grid. A line drawn twice, a stroke
// drawn backwards, strokes in another order or a letter made of more or fewer strokes leave the
// same ink, so they give the same features.
namespace InkFeatures {

constexpr int kGrid = 8; // cells a side
constexpr int kPlanes = 5; // four directions and the dots
constexpr int kSize = kGrid * kGrid * kPlanes;
using Vector = std::array<float, kSize>;

// The features of the shape, of unit length; false when it has no line to speak of (empty, or
// smaller than dotExtent input units, or dots only).
bool compute(const StrokeMatcher::Shape &shape, float dotExtent, Vector &features);

// The squared distance between two feature vectors (0 to 4; both of unit length).
float distance(const Vector &a, const Vector &b);

} // namespace InkFeatures
