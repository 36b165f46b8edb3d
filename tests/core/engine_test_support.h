#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace tavlo::test {

// A fresh directory on tmpfs where there is one, for tests that write the
// settings file thousands of times; elsewhere in the system's temp directory.
class FastTempDir {
public:
    FastTempDir()
    {
        std::error_code error;
        std::filesystem::path base = "/dev/shm";
        if (!std::filesystem::is_directory(base, error))
            base = std::filesystem::temp_directory_path();
        std::random_device entropy;
        for (;;) {
            m_path = base / ("tavlo-test-" + std::to_string(entropy()));
            if (std::filesystem::create_directory(m_path))
                break;
        }
    }
    ~FastTempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    FastTempDir(const FastTempDir&) = delete;
    FastTempDir& operator=(const FastTempDir&) = delete;

    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

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
