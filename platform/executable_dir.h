#pragma once

#include <string>
#include <string_view>

namespace tavlo::platform {

// The directory that holds the running executable, without a trailing
// separator except at a root. Empty when the system cannot tell.
std::string ExecutableDirectory();

// The full path of the running executable. Empty when the system cannot tell.
std::string ExecutablePath();

// The separator JoinPath puts between a directory and a file name.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
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

#ifndef _WIN32
// The text of the symbolic link at `path`, however long; empty when it cannot
// be read.
std::string ReadLink(const std::string& path);
#endif

}  // namespace tavlo::platform
