#include "platform/executable_dir.h"

#include <windows.h>

#include <vector>

#include "platform/wide_text_win.h"

namespace tavlo::platform {

// The W form: the A form spells a name outside the ANSI code page with "?"
// (or a look-alike letter), and the path then leads nowhere, or elsewhere.
std::string ExecutablePath()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return WideToUtf8(std::wstring_view(buffer.data(), length));
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
