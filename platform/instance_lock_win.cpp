#include "platform/instance_lock.h"

#include <windows.h>

#include <algorithm>

namespace tavlo::platform {

// A named mutex per program path; the system closes it with the process.
InstanceLock::InstanceLock(const std::string& programPath)
{
    std::string name = "Local\\Tavlo-" + programPath;
    std::replace(name.begin() + 6, name.end(), '\\', '/');
    m_handle = ::CreateMutexA(nullptr, FALSE, name.c_str());
    m_owns = m_handle == nullptr || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

InstanceLock::~InstanceLock()
{
    if (m_handle)
        ::CloseHandle(static_cast<HANDLE>(m_handle));
}

}  // namespace tavlo::platform
