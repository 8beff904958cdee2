#pragma once

#include <map>
#include <string>

// "key = value" lines; blank lines and lines starting with '#' are skipped, blanks around keys
// and values dropped.
class LTKConfigFileReader
{
public:
    // False when the file cannot be read or a line is neither blank, comment nor key = value.
    bool read(const std::string &fileName);
    bool contains(const std::string &key) const { return m_values.count(key) != 0; }
    std::string value(const std::string &key, const std::string &fallback = {}) const;
    // The value as a number, or fallback when the key is absent or not a finite number.
    double number(const std::string &key, double fallback) const;
    const std::string &error() const { return m_error; }

private:
    std::map<std::string, std::string> m_values;
    std::string m_error;
};
