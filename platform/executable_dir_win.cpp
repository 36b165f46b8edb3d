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

}  // namespace tavlo::platform
