#include "platform/instance_lock.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>

#include "platform/paths.h"
#include "platform/wide_text_win.h"

namespace tavlo::platform {

namespace {

// The files whose lock files cover the drawing: the settings file as named,
// and the file its writes reach when that is a link to a file elsewhere.
std::vector<std::string> FilesOf(const std::string& settingsPath)
{
    std::vector<std::string> files{settingsPath};
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
            files.push_back(WideToUtf8(target));
        }
    }
    return files;
}

// A file's identity, whatever path spells it (letter case, 8.3 names, a
// junction, a link): its volume and file index.
std::pair<DWORD, ULONGLONG> IdentityOf(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(file, &info))
        return {0, 0};
    return {info.dwVolumeSerialNumber, (ULONGLONG{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

}  // namespace

// Each instance opens the lock file for writing alone and shares only the
// writing: a second instance opens it too and finds the first byte locked,
// while an account that may not write it cannot open it at all, and one that
// holds it open to read makes this open fail with a sharing violation, which
// no instance causes, and is passed by. The lock is a byte-range lock, which
// a file server passes on to the other machines that open the folder.
InstanceLock::InstanceLock(const FileRef& settings)
{
    std::vector<std::pair<DWORD, ULONGLONG>> locked;
    for (const std::string& file : FilesOf(settings.name())) {
        const std::string lockPath = JoinPath(FolderOf(file), LockFileName(file));
        const HANDLE lock = ::CreateFileW(Utf8ToWide(lockPath).c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (lock == INVALID_HANDLE_VALUE)
            continue;
        const auto identity = IdentityOf(lock);
        if (std::find(locked.begin(), locked.end(), identity) != locked.end()) {
            ::CloseHandle(lock);
            continue;
        }
        OVERLAPPED firstByte{};
        if (::LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &firstByte)) {
            locked.push_back(identity);
            m_handles.push_back(lock);
            continue;
        }
        if (::GetLastError() == ERROR_LOCK_VIOLATION)
            m_owns = false;
        ::CloseHandle(lock);
    }
}

InstanceLock::~InstanceLock()
{
    for (void* handle : m_handles)
        ::CloseHandle(static_cast<HANDLE>(handle));
}

}  // namespace tavlo::platform
