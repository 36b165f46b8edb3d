#include "platform/instance_lock.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "platform/paths.h"
#include "platform/wide_text_win.h"

namespace tavlo::platform {

namespace {

// The folders whose lock covers the file: the one that holds it, and the one
// its writes reach when it is a symbolic link to a file elsewhere.
std::vector<std::string> FoldersOf(const std::string& settingsPath)
{
    std::vector<std::string> folders{FolderOf(settingsPath)};
    const HANDLE file =
        ::CreateFileW(Utf8ToWide(settingsPath).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        std::wstring target(32768, L'\0');
        const DWORD length =
            ::GetFinalPathNameByHandleW(file, target.data(), static_cast<DWORD>(target.size()), FILE_NAME_NORMALIZED);
        ::CloseHandle(file);
        if (length > 0 && length < target.size()) {
            target.resize(length);
            folders.push_back(FolderOf(WideToUtf8(target)));
        }
    }
    return folders;
}

// The name of the lock for one folder. A path can be spelt many ways (letter
// case, 8.3 names, "/" for "\\", a junction, a link), so the folder's
// identity names the lock: its volume and file index. A folder that cannot
// be opened falls back on its path, UTF-16 and so distinct for every name,
// with ASCII letters folded. "Global\\" makes one name for every session of
// every user signed in, so that two of them cannot each run an instance on
// one folder.
std::wstring LockName(const std::string& folderPath)
{
    const std::wstring folder = Utf8ToWide(folderPath);
    wchar_t name[64];
    const HANDLE file = ::CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info;
        const BOOL known = ::GetFileInformationByHandle(file, &info);
        ::CloseHandle(file);
        if (known) {
            std::swprintf(name, std::size(name), L"Global\\Tavlo-%08lx-%08lx%08lx",
                          static_cast<unsigned long>(info.dwVolumeSerialNumber),
                          static_cast<unsigned long>(info.nFileIndexHigh),
                          static_cast<unsigned long>(info.nFileIndexLow));
            return name;
        }
    }
    // FNV-1a over the folded path, two bytes a character.
    unsigned long long hash = 14695981039346656037ull;
    for (wchar_t c : folder) {
        if (c == L'/')
            c = L'\\';
        else if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        hash = (hash ^ static_cast<unsigned>(c & 0xFF)) * 1099511628211ull;
        hash = (hash ^ static_cast<unsigned>((c >> 8) & 0xFF)) * 1099511628211ull;
    }
    std::swprintf(name, std::size(name), L"Global\\Tavlo-path-%016llx", hash);
    return name;
}

}  // namespace

// A named mutex per settings folder; the system closes it with the process.
InstanceLock::InstanceLock(const std::string& settingsPath)
{
    std::vector<std::wstring> names;
    for (const std::string& folder : FoldersOf(settingsPath)) {
        std::wstring name = LockName(folder);
        if (std::find(names.begin(), names.end(), name) != names.end())
            continue;
        const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, name.c_str());
        const DWORD error = ::GetLastError();
        names.push_back(std::move(name));
        if (mutex != nullptr)
            m_handles.push_back(mutex);
        // Another instance made it, or another user did, whose mutex this
        // account may not open. Without a mutex for any other reason there
        // is nothing to lock against: better to run than to refuse a raffle.
        if (error == ERROR_ALREADY_EXISTS || (mutex == nullptr && error == ERROR_ACCESS_DENIED))
            m_owns = false;
    }
}

InstanceLock::~InstanceLock()
{
    for (void* handle : m_handles)
        ::CloseHandle(static_cast<HANDLE>(handle));
}

}  // namespace tavlo::platform
