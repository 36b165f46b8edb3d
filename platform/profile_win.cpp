#include "platform/profile_api.h"

#include <windows.h>

#include <cstring>

// The profile functions of kernel32, in their ANSI forms. Windows edits the
// file in place and writes it back itself; the atomic replace that the
// portable layer makes is not promised here.
namespace tavlo::platform {

std::uint32_t ProfileGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               std::uint32_t size, const char* path)
{
    return static_cast<std::uint32_t>(
        ::GetPrivateProfileStringA(section, key, defaultValue, buffer, static_cast<DWORD>(size), path));
}

std::uint32_t ProfileGetSection(const char* section, char* buffer, std::uint32_t size, const char* path)
{
    return static_cast<std::uint32_t>(::GetPrivateProfileSectionA(section, buffer, static_cast<DWORD>(size), path));
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

namespace {

// Each removal takes the first section of the name only.
bool RemoveEverySection(const char* section, const char* path)
{
    constexpr int kMaxSectionRemovals = 1000;
    for (int pass = 0; pass < kMaxSectionRemovals; ++pass) {
        if (::WritePrivateProfileSectionA(section, nullptr, path) == FALSE)
            return false;
        char probe[16];
        if (::GetPrivateProfileSectionA(section, probe, sizeof probe, path) == 0)
            return true;
    }
    return false;
}

bool KeyIsMissing(const char* section, const char* key, const char* path)
{
    // A default that no stored value can read as.
    const char* const kMissing = "\x01\x02";
    char value[8];
    ::GetPrivateProfileStringA(section, key, kMissing, value, sizeof value, path);
    return std::strcmp(value, kMissing) == 0;
}

}  // namespace

// Windows writes each change as it comes; removals come first in the batches
// the program makes, so a crash between two leaves an older state, not a mix.
bool ProfilePutChanges(const ProfileChange* changes, std::size_t count, const char* path)
{
    for (std::size_t i = 0; i < count; ++i) {
        const ProfileChange& change = changes[i];
        bool ok = true;
        switch (change.kind) {
            case ProfileChangeKind::RemoveSection:
                ok = RemoveEverySection(change.section, path);
                break;
            case ProfileChangeKind::StoreIfMissing:
                if (!KeyIsMissing(change.section, change.key, path))
                    break;
                [[fallthrough]];
            case ProfileChangeKind::Store:
                ok = ::WritePrivateProfileStringA(change.section, change.key, change.value, path) != FALSE;
                break;
        }
        if (!ok)
            return false;
    }
    return true;
}

void ProfileRemoveLeftovers(const char*)
{
    // kernel32 writes the file in place and leaves nothing beside it.
}

bool ProfileFileUnreadable(const char* path)
{
    const HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    ::CloseHandle(file);
    return false;
}

}  // namespace tavlo::platform
