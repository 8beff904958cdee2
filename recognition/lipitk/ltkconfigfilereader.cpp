#include "ltkconfigfilereader.h"

#include <cmath>
#include <fstream>
#include <sstream>

namespace {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace

bool LTKConfigFileReader::read(const std::string &fileName)
{
    m_values.clear();
    std::ifstream file(fileName);
    if (!file) {
        m_error = "cannot read " + fileName;
        return false;
    }
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        const std::string text = trimmed(line);
        if (text.empty() || text[0] == '#')
            continue;
        const auto equals = text.find('=');
        const std::string key =
                equals == std::string::npos ? std::string() : trimmed(text.substr(0, equals));
        if (key.empty()) {
            m_error = fileName + ":" + std::to_string(lineNumber) + ": expected key = value";
            return false;
        }
        m_values[key] = trimmed(text.substr(equals + 1));
    }
    return true;
}

std::string LTKConfigFileReader::value(const std::string &key, const std::string &fallback) const
{
    const auto found = m_values.find(key);
    return found == m_values.end() ? fallback : found->second;
}

double LTKConfigFileReader::number(const std::string &key, double fallback) const
{
    const auto found = m_values.find(key);
    if (found == m_values.end())
        return fallback;
    std::istringstream stream(found->second);
    stream.imbue(std::locale::classic());
    double result = 0.0;
    if (!(stream >> result) || !std::isfinite(result))
        return fallback;
    return result;
}
