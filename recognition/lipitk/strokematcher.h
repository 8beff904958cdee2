#pragma once

#include <vector>

// Comparison of handwritten shapes, free of any file or engine. A shape is resampled into a
// fixed number of points spread over its strokes by length, moved to its centroid and scaled by
// its bounding box's longer side (keeping its proportions). Two shapes are compared as clouds of
// points: each point of one is matched to a point of the other, nearest first, so neither the
// direction a stroke was drawn in nor the order of the strokes changes the result. Each point
// also carries the line through it (its direction up to a half turn), which tells a bar from a
// row of dots without depending on the way it was drawn.
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
    int points = 32; // points of a resampled shape, shared among its strokes by length
    float strokePenalty = 0.02f; // added per stroke of difference
    float orientationWeight = 0.15f; // cost of lines at a right angle, against unit distance
    float dotExtent = 3.0f; // a shape smaller than this (input units) is a dot
};

// A shape ready for comparison: its resampled points, the line through each (radians in
// [0, pi), negative where a point lies on a dot) and its stroke count.
struct Prepared
{
    std::vector<Point> points;
    std::vector<float> lines;
    int strokes = 0;
};

// Drops non-finite points and empty strokes; an empty result means nothing to compare.
Shape cleaned(const Shape &shape);
// count points evenly spaced along the stroke (its first point when it has no length).
Stroke resampled(const Stroke &stroke, int count);
// The shape slanted: each x moved by amount times its y (y downwards: a positive amount leans
// the top to the left).
Shape sheared(const Shape &shape, float amount);
Prepared prepare(const Shape &shape, const Settings &settings);
// Smaller is closer; infinite when either shape is empty.
float distance(const Prepared &a, const Prepared &b, const Settings &settings);

} // namespace StrokeMatcher
