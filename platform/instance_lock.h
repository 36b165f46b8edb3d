#pragma once

#include <string>

namespace tavlo::platform {

// Holds the one-instance lock of a settings folder for as long as it lives:
// one instance per settings file, whatever copy or version of the program
// runs. The system drops the lock when the process ends, however it ends, so
// a killed instance never blocks the next start.
class InstanceLock {
public:
    // Tries to take the lock tied to `folder`; owns() tells whether it did.
    // A lock that cannot be had for any reason other than another holder
    // (a file system without locks) counts as owned: better to run than to
    // end without a word.
    explicit InstanceLock(const std::string& folder);
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
