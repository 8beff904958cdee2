#include "shapemodel.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

bool parsePoint(const std::string &text, StrokeMatcher::Point &point)
{
    std::istringstream stream(text);
    stream.imbue(std::locale::classic());
    char comma = 0;
    float x = 0.0f;
    float y = 0.0f;
    if (!(stream >> x >> comma >> y) || comma != ',' || !std::isfinite(x) || !std::isfinite(y))
        return false;
    std::string rest;
    if (stream >> rest)
        return false;
    point = { x, y };
    return true;
}

} // namespace

bool ShapeModel::fail(const std::string &fileName, int line, const std::string &why)
{
    m_variants.clear();
    m_error = fileName + ":" + std::to_string(line) + ": " + why;
    return false;
}

bool ShapeModel::read(const std::string &fileName, int classCount)
{
    m_variants.clear();
    m_error.clear();
    std::ifstream file(fileName);
    if (!file)
        return fail(fileName, 0, "cannot read the model file");
    std::vector<int> variantsPerClass(size_t(std::max(classCount, 0)), 0);
    int currentClass = -1;
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string keyword;
        if (!(words >> keyword) || keyword[0] == '#')
            continue;
        if (keyword == "shape") {
            int id = -1;
            if (!(words >> id) || id < 0 || id >= classCount)
                return fail(fileName, lineNumber, "class id outside 0 to the class count");
            if (variantsPerClass[size_t(id)] > 0)
                return fail(fileName, lineNumber, "class given twice");
            currentClass = id;
            m_variants.push_back({ id, {} });
            ++variantsPerClass[size_t(id)];
        } else if (keyword == "variant") {
            if (currentClass < 0)
                return fail(fileName, lineNumber, "variant before any shape");
            if (m_variants.back().strokes.empty())
                return fail(fileName, lineNumber, "variant without strokes");
            m_variants.push_back({ currentClass, {} });
            ++variantsPerClass[size_t(currentClass)];
        } else if (keyword == "from") {
            // The writing style the way comes from: for the reader, not for matching.
            if (currentClass < 0)
                return fail(fileName, lineNumber, "from before any shape");
        } else if (keyword == "stroke") {
            if (currentClass < 0)
                return fail(fileName, lineNumber, "stroke before any shape");
            StrokeMatcher::Stroke stroke;
            std::string pair;
            while (words >> pair) {
                StrokeMatcher::Point point;
                if (!parsePoint(pair, point))
                    return fail(fileName, lineNumber, "point \"" + pair + "\" is not x,y");
                stroke.push_back(point);
            }
            if (stroke.empty())
                return fail(fileName, lineNumber, "stroke without points");
            m_variants.back().strokes.push_back(std::move(stroke));
        } else {
            return fail(fileName, lineNumber, "unknown keyword \"" + keyword + "\"");
        }
    }
    if (!m_variants.empty() && m_variants.back().strokes.empty())
        return fail(fileName, lineNumber, "shape without strokes");
    for (int id = 0; id < classCount; ++id) {
        if (variantsPerClass[size_t(id)] == 0)
            return fail(fileName, lineNumber, "no template for class " + std::to_string(id));
    }
    return true;
}
