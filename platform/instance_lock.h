#pragma once

#include <string>
#include <vector>

namespace tavlo::platform {

// Holds the one-instance lock of a settings file for as long as it lives:
// one instance per settings file, whatever copy or version of the program
// runs and by whatever path it reaches the file. The system drops the lock
// when the process ends, however it ends, so a killed instance never blocks
// the next start.
class InstanceLock {
public:
    // Tries to take the lock of the folder that holds `settingsPath` and,
    // when the file is a symbolic link, of the folder its writes reach as
    // well; owns() tells whether it did. A lock that cannot be had for any
    // reason other than another holder counts as owned: better to run than
    // to end without a word.
    explicit InstanceLock(const std::string& settingsPath);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another running instance already holds the lock.
    bool owns() const { return m_owns; }

private:
    bool m_owns = true;
    // What holds the lock: descriptors on POSIX, mutex handles on Windows.
#ifdef _WIN32
    std::vector<void*> m_handles;
#else
    std::vector<int> m_fds;
#endif
};

}  // namespace tavlo::platform
