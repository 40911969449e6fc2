#pragma once

#include <sstream>
#include <string>
#include <vector>

// The section names of a settings text, in file order.
inline std::vector<std::string> SectionsOf(const std::string& text)
{
    std::vector<std::string> sections;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line.front() == '[')
            sections.push_back(line.substr(1, line.find(']') - 1));
    return sections;
}

// The non-empty lines of one section of a settings text, in file order, without "\r".
inline std::vector<std::string> LinesOfSection(const std::string& text, const std::string& section)
{
    std::vector<std::string> found;
    std::istringstream lines(text);
    bool inSection = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[')
            inSection = line == "[" + section + "]";
        else if (inSection && !line.empty())
            found.push_back(line);
    }
    return found;
}

// The key names of one section of a settings text, in file order.
inline std::vector<std::string> KeysOfSection(const std::string& text, const std::string& section)
{
    std::vector<std::string> keys;
    for (const std::string& line : LinesOfSection(text, section))
        keys.push_back(line.substr(0, line.find('=')));
    return keys;
}

// The value of one key of one section of a settings text, or "" when it is not there.
inline std::string ValueOfKey(const std::string& text, const std::string& section, const std::string& key)
{
    for (const std::string& line : LinesOfSection(text, section))
        if (line.starts_with(key + "="))
            return line.substr(key.size() + 1);
    return "";
}
