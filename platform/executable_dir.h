#pragma once

#include <string>

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

}  // namespace tavlo::platform
