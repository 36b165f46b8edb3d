#include "platform/executable_dir.h"

#include <windows.h>

#include <vector>

namespace tavlo::platform {

std::string ExecutablePath()
{
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutableDirectory()
{
    const std::string path = ExecutablePath();
    const auto separator = path.find_last_of("\\/");
    if (separator == std::string::npos)
        return {};
    // The root of a drive keeps its separator: "C:\".
    if (separator == 2 && path[1] == ':')
        return path.substr(0, 3);
    return path.substr(0, separator);
}

}  // namespace tavlo::platform
