#pragma once

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tavlo::test {

// The file's non-blank lines, without their line ends.
inline std::vector<std::string> FileLines(const std::string& path)
{
    std::vector<std::string> lines;
    const std::string text = ReadFile(path);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// The entry lines of section [Result], in file order.
inline std::vector<std::string> ResultLines(const std::string& path)
{
    std::vector<std::string> entries;
    bool inResult = false;
    for (const std::string& line : FileLines(path)) {
        if (line.front() == '[')
            inResult = line == "[Result]";
        else if (inResult)
            entries.push_back(line);
    }
    return entries;
}

}  // namespace tavlo::test
