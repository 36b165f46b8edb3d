#include "platform/profile_api.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/wide_text_win.h"

// The profile functions of kernel32, in their W forms: the path reaches them
// in UTF-16, whatever script the folder is named in. Names and values pass in
// the ANSI code page both ways, as the A forms would hand them over, and the
// file keeps the encoding the functions give it (a new file is ANSI). Windows
// edits the file in place and writes it back itself; the atomic replace that
// the portable layer makes is not promised here.
//
// The functions keep a file's full path in MAX_PATH characters, its NUL
// included: from 260 characters on, Wine's read nothing and write nothing,
// and so do Windows' in a program without long paths. Such a path is refused
// here for every call alike, reads answering as for a missing file and
// writes failing, so that no system can give a file that reads as empty and
// yet takes writes; start-up says the file cannot be read.
namespace tavlo::platform {

namespace {

bool TooLongForProfiles(const std::wstring& path)
{
    // The length of the full path the functions would make, its NUL included.
    return ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr) > MAX_PATH;
}

// The full path in the form that the file functions take at any length.
std::wstring ExtendedPath(const std::wstring& path)
{
    std::wstring full(::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr), L'\0');
    full.resize(::GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
    if (full.starts_with(L"\\\\?\\") || full.starts_with(L"\\\\.\\"))
        return full;
    if (full.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

// What GetPrivateProfileStringW gives for a missing file: no names for a
// list, otherwise the default without its trailing spaces.
DWORD MissingFileText(const char* section, const char* key, const char* defaultValue, std::vector<wchar_t>& wide)
{
    if (section == nullptr || key == nullptr || defaultValue == nullptr)
        return 0;
    std::wstring text = AnsiToWide(defaultValue);
    text.erase(text.find_last_not_of(L' ') + 1);
    const std::size_t length = std::min(text.size(), wide.size() - 1);
    std::copy_n(text.data(), length, wide.data());
    return static_cast<DWORD>(length);
}

// A narrow argument as a W function takes it; a null pointer stays null.
class Wide {
public:
    explicit Wide(const char* ansi) : m_null(ansi == nullptr)
    {
        if (ansi != nullptr)
            m_text = AnsiToWide(ansi);
    }
    // A NUL-terminated list closed by one more NUL, converted as a whole.
    static Wide List(const char* ansi)
    {
        Wide list(nullptr);
        if (ansi == nullptr)
            return list;
        const char* end = ansi;
        while (*end != '\0')
            end += std::strlen(end) + 1;
        list.m_null = false;
        list.m_text = AnsiToWide(std::string_view(ansi, static_cast<std::size_t>(end - ansi) + 1));
        return list;
    }
    const wchar_t* get() const { return m_null ? nullptr : m_text.c_str(); }

private:
    bool m_null;
    std::wstring m_text;
};

std::wstring WidePath(const FileRef& file)
{
    return Utf8ToWide(file.name());
}

// The number of bytes of `text` that fit in `room`, never splitting a
// double-byte character.
std::size_t FittingBytes(const std::string& text, std::size_t room)
{
    if (text.size() <= room)
        return text.size();
    std::size_t at = 0;
    while (at < room) {
        const std::size_t step = ::IsDBCSLeadByte(static_cast<BYTE>(text[at])) ? 2 : 1;
        if (at + step > room)
            break;
        at += step;
    }
    return at;
}

// One text, as GetPrivateProfileStringA returns it: cut to fit, NUL-terminated.
std::uint32_t CopyText(std::wstring_view wide, char* buffer, std::uint32_t size)
{
    const std::string ansi = WideToAnsi(wide);
    const std::size_t length = FittingBytes(ansi, size - 1);
    std::memcpy(buffer, ansi.data(), length);
    buffer[length] = '\0';
    return static_cast<std::uint32_t>(length);
}

// A list as the A forms return it: NUL-terminated texts and one more NUL. A
// list that was cut, or that no longer fits once in the code page, is cut to
// `size` - 2 bytes and closed with two NULs; `size` - 2 is returned.
std::uint32_t CopyList(const std::vector<wchar_t>& wide, std::uint32_t got, char* buffer, std::uint32_t size)
{
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    const bool cut = got + 2 >= size && got > 0;
    const std::string ansi = WideToAnsi(std::wstring_view(wide.data(), cut ? got : got + 1));
    if (!cut && ansi.size() <= size) {
        std::memcpy(buffer, ansi.data(), ansi.size());
        if (got == 0)
            buffer[1] = '\0';
        return static_cast<std::uint32_t>(ansi.size() - 1);
    }
    const std::size_t room = size - 2;
    const std::size_t length = std::min(ansi.size(), room);
    std::memcpy(buffer, ansi.data(), length);
    std::memset(buffer + length, '\0', size - length);
    return static_cast<std::uint32_t>(room);
}

}  // namespace

std::uint32_t ProfileGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                               std::uint32_t size, const FileRef& file)
{
    if (buffer == nullptr || size == 0)
        return 0;
    std::vector<wchar_t> wide(size, L'\0');
    const std::wstring path = WidePath(file);
    const DWORD got = TooLongForProfiles(path)
                          ? MissingFileText(section, key, defaultValue, wide)
                          : ::GetPrivateProfileStringW(Wide(section).get(), Wide(key).get(), Wide(defaultValue).get(),
                                                       wide.data(), static_cast<DWORD>(size), path.c_str());
    if (section == nullptr || key == nullptr)
        return CopyList(wide, got, buffer, size);
    return CopyText(std::wstring_view(wide.data(), got), buffer, size);
}

std::uint32_t ProfileGetSection(const char* section, char* buffer, std::uint32_t size, const FileRef& file)
{
    if (buffer == nullptr || size == 0)
        return 0;
    std::vector<wchar_t> wide(size, L'\0');
    const std::wstring path = WidePath(file);
    const DWORD got = TooLongForProfiles(path) ? 0
                                               : ::GetPrivateProfileSectionW(Wide(section).get(), wide.data(),
                                                                             static_cast<DWORD>(size), path.c_str());
    return CopyList(wide, got, buffer, size);
}

bool ProfilePutString(const char* section, const char* key, const char* value, const FileRef& file)
{
    const std::wstring path = WidePath(file);
    return !TooLongForProfiles(path)
           && ::WritePrivateProfileStringW(Wide(section).get(), Wide(key).get(), Wide(value).get(), path.c_str())
                  != FALSE;
}

bool ProfilePutSection(const char* section, const char* entries, const FileRef& file)
{
    const std::wstring path = WidePath(file);
    return !TooLongForProfiles(path)
           && ::WritePrivateProfileSectionW(Wide(section).get(), Wide::List(entries).get(), path.c_str()) != FALSE;
}

namespace {

// kernel32 removes the first section of the name at each call.
bool ClearSection(const wchar_t* section, const wchar_t* path)
{
    for (int pass = 0; pass < kMaxSectionsOfOneName; ++pass) {
        if (::WritePrivateProfileSectionW(section, nullptr, path) == FALSE)
            return false;
        wchar_t probe[16];
        if (::GetPrivateProfileSectionW(section, probe, static_cast<DWORD>(std::size(probe)), path) == 0)
            return true;
    }
    return false;
}

bool KeyIsMissing(const wchar_t* section, const wchar_t* key, const wchar_t* path)
{
    // A default that no stored value can read as.
    const wchar_t* const kMissing = L"\x01\x02";
    wchar_t value[8];
    ::GetPrivateProfileStringW(section, key, kMissing, value, static_cast<DWORD>(std::size(value)), path);
    return std::wcscmp(value, kMissing) == 0;
}

}  // namespace

// Windows writes each change as it comes; removals come first in the batches
// the program makes, so a crash between two leaves an older state, not a mix.
bool ProfilePutChanges(const std::vector<ProfileChange>& changes, const FileRef& file)
{
    const std::wstring path = WidePath(file);
    if (TooLongForProfiles(path))
        return false;
    for (const ProfileChange& change : changes) {
        const Wide section(change.section.c_str());
        const Wide key(change.key.c_str());
        bool ok = true;
        switch (change.kind) {
            case ProfileChange::Kind::ClearSection:
                ok = ClearSection(section.get(), path.c_str());
                break;
            case ProfileChange::Kind::StoreIfMissing:
                if (!KeyIsMissing(section.get(), key.get(), path.c_str()))
                    break;
                [[fallthrough]];
            case ProfileChange::Kind::Store:
                ok = ::WritePrivateProfileStringW(section.get(), key.get(), Wide(change.value.c_str()).get(),
                                                  path.c_str())
                     != FALSE;
                break;
        }
        if (!ok)
            return false;
    }
    return true;
}

bool ProfileClearSection(const char* section, const FileRef& file)
{
    const std::wstring path = WidePath(file);
    return !TooLongForProfiles(path) && ClearSection(Wide(section).get(), path.c_str());
}

void ProfileRemoveLeftovers(const FileRef&)
{
    // kernel32 writes the file in place and leaves nothing beside it.
}

// A file there at a path too long for the profile functions cannot be read
// through them; whether it is there is asked past their limit.
bool ProfileFileUnreadable(const FileRef& file)
{
    std::wstring name = WidePath(file);
    const bool tooLong = TooLongForProfiles(name);
    if (tooLong)
        name = ExtendedPath(name);
    const HANDLE handle =
        ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
    }
    ::CloseHandle(handle);
    return tooLong;
}

}  // namespace tavlo::platform
