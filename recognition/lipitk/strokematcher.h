#pragma once

#include <vector>

// Comparison of handwritten shapes, free of any file or engine: a shape is moved to its centre
// and scaled to a unit box (keeping its proportions), each stroke is resampled evenly along its
// length, and two shapes are compared by dynamic time warping over their strokes in drawing
// order, with a penalty for every stroke one has more than the other.
namespace StrokeMatcher {

struct Point
{
    float x = 0.0f;
    float y = 0.0f;
};
using Stroke = std::vector<Point>;
using Shape = std::vector<Stroke>;

struct Settings
{
    int points = 48; // points of a resampled shape, shared among its strokes by length
    float strokePenalty = 0.05f; // added per stroke of difference
    float band = 0.3f; // warping window, as a share of the longer sequence
    float dotExtent = 3.0f; // a shape smaller than this (input units) is a dot
};

// A shape ready for comparison: its resampled points in drawing order and its stroke count.
struct Prepared
{
    std::vector<Point> points;
    int strokes = 0;
};

// Drops non-finite points and empty strokes; an empty result means nothing to compare.
Shape cleaned(const Shape &shape);
// Centred on its bounding box and divided by the box's longer side; a dot becomes one place.
Shape normalised(const Shape &shape, float dotExtent);
// count points evenly spaced along the stroke (its first point when it has no length).
Stroke resampled(const Stroke &stroke, int count);
Prepared prepare(const Shape &shape, const Settings &settings);
float warpDistance(const std::vector<Point> &a, const std::vector<Point> &b, float band);
float distance(const Prepared &a, const Prepared &b, const Settings &settings);

} // namespace StrokeMatcher
