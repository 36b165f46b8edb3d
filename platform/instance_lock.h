#pragma once

#include <string>

namespace tavlo::platform {

// Holds the one-instance lock of a program file for as long as it lives. The
// system drops the lock when the process ends, however it ends, so a killed
// instance never blocks the next start.
class InstanceLock {
public:
    // Tries to take the lock tied to `programPath`; owns() tells whether it did.
    explicit InstanceLock(const std::string& programPath);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another running instance already holds the lock.
    bool owns() const { return m_owns; }

private:
    bool m_owns = false;
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

}  // namespace tavlo::platform
