#include "platform/profile_api.h"

#include <windows.h>

// The profile functions of kernel32, in their ANSI forms. Windows edits the
// file in place and writes it back itself; the atomic replace that the
// portable layer makes is not promised here.
namespace tavlo::platform {

std::uint32_t ProfileGetString(const char* section, const char* key, const char* defaultValue,
                               char* buffer, std::uint32_t size, const char* path)
{
    return static_cast<std::uint32_t>(
        ::GetPrivateProfileStringA(section, key, defaultValue, buffer, static_cast<DWORD>(size), path));
}

std::uint32_t ProfileGetSection(const char* section, char* buffer, std::uint32_t size, const char* path)
{
    return static_cast<std::uint32_t>(
        ::GetPrivateProfileSectionA(section, buffer, static_cast<DWORD>(size), path));
}

bool ProfilePutString(const char* section, const char* key, const char* value, const char* path)
{
    return ::WritePrivateProfileStringA(section, key, value, path) != FALSE;
}

bool ProfilePutSection(const char* section, const char* entries, const char* path)
{
    return ::WritePrivateProfileSectionA(section, entries, path) != FALSE;
}

bool ProfileDeleteSection(const char* section, const char* path)
{
    // No entry list: the section goes, header and entries.
    return ::WritePrivateProfileSectionA(section, nullptr, path) != FALSE;
}

}  // namespace tavlo::platform
