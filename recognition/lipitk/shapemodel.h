#pragma once

#include "strokematcher.h"

#include <string>
#include <vector>

// The stroke templates of a project, read from its model file:
//
//     # comment
//     shape 0 A            class id, then a label for the reader
//     stroke 0,100 30,0 60,100
//     stroke 12,60 48,60
//     variant              another way of writing the same class
//     from klee            the writing style a way comes from (optional, not used to match)
//     stroke ...
//
// Coordinates are in any unit, y downwards; every class from 0 to the class count - 1 needs at
// least one variant of at least one stroke.
class ShapeModel
{
public:
    struct Variant
    {
        int classId = 0;
        StrokeMatcher::Shape strokes;
    };

    bool read(const std::string &fileName, int classCount);
    const std::vector<Variant> &variants() const { return m_variants; }
    const std::string &error() const { return m_error; }

private:
    bool fail(const std::string &fileName, int line, const std::string &why);

    std::vector<Variant> m_variants;
    std::string m_error;
};
