#pragma once

#include <string>
#include <string_view>

// Paths as text: joined and split.
// Paths are UTF-8 on Windows, the system's own bytes elsewhere.
namespace tavlo::platform {

// The separator JoinPath puts between a directory and a file name.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
inline constexpr std::string_view kPathSeparators = "\\/";
#else
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparators = "/";
#endif

// The directory and the file name with one separator between them: none is
// added after a directory that already ends in one.
inline std::string JoinPath(std::string_view directory, std::string_view fileName)
{
    std::string path(directory);
    if (path.empty() || path.back() != kPathSeparator)
        path += kPathSeparator;
    path += fileName;
    return path;
}

// The folder that holds `path`, without a trailing separator except at a
// root ("/", "C:\"); "." when the path names no folder.
inline std::string FolderOf(std::string_view path)
{
    const auto separator = path.find_last_of(kPathSeparators);
    if (separator == std::string_view::npos)
        return ".";
    bool root = separator == 0;
#ifdef _WIN32
    root = root || (separator == 2 && path[1] == ':');
#endif
    return std::string(path.substr(0, root ? separator + 1 : separator));
}

// The last part of `path`, after its last separator.
inline std::string BaseName(std::string_view path)
{
    const auto separator = path.find_last_of(kPathSeparators);
    return std::string(separator == std::string_view::npos ? path : path.substr(separator + 1));
}

}  // namespace tavlo::platform
