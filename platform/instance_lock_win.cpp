#include "platform/instance_lock.h"

#include <windows.h>

#include <cstdio>

namespace tavlo::platform {

namespace {

// The name of the lock for one folder. A path can be spelt many ways (letter
// case, 8.3 names, "/" for "\\", a junction), so the folder's identity names
// the lock: its volume and file index. A folder that cannot be opened falls
// back on its path with ASCII letters folded. Either way the name stays well
// below the length the system allows.
std::string LockName(const std::string& folder)
{
    char name[64];
    const HANDLE file = ::CreateFileA(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        BY_HANDLE_FILE_INFORMATION info;
        const BOOL known = ::GetFileInformationByHandle(file, &info);
        ::CloseHandle(file);
        if (known) {
            std::snprintf(name, sizeof name, "Local\\Tavlo-%08lx-%08lx%08lx",
                          static_cast<unsigned long>(info.dwVolumeSerialNumber),
                          static_cast<unsigned long>(info.nFileIndexHigh),
                          static_cast<unsigned long>(info.nFileIndexLow));
            return name;
        }
    }
    // FNV-1a over the folded path.
    unsigned long long hash = 14695981039346656037ull;
    for (char c : folder) {
        if (c == '/')
            c = '\\';
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    }
    std::snprintf(name, sizeof name, "Local\\Tavlo-path-%016llx", hash);
    return name;
}

}  // namespace

// A named mutex per settings folder; the system closes it with the process.
InstanceLock::InstanceLock(const std::string& folder)
{
    m_handle = ::CreateMutexA(nullptr, FALSE, LockName(folder).c_str());
    // Without a mutex there is nothing to lock against: better to run than
    // to refuse a raffle.
    m_owns = m_handle == nullptr || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

InstanceLock::~InstanceLock()
{
    if (m_handle)
        ::CloseHandle(static_cast<HANDLE>(m_handle));
}

}  // namespace tavlo::platform
