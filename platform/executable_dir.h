#pragma once

#include <string>

#include "platform/paths.h"

namespace tavlo::platform {

// The full path of the running executable. Empty when the system cannot tell.
std::string ExecutablePath();

// The directory that holds the running executable, without a trailing
// separator except at a root. Empty when the system cannot tell.
inline std::string ExecutableDirectory()
{
    const std::string path = ExecutablePath();
    if (path.find_first_of(kPathSeparators) == std::string::npos)
        return {};
    return FolderOf(path);
}

}  // namespace tavlo::platform
