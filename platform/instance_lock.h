#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_ref.h"
#include "platform/paths.h"

namespace tavlo::platform {

// Holds the one-instance lock of a settings file for as long as it lives:
// one instance per drawing, whatever copy or version of the program runs, on
// whichever machine, by whatever path it reaches the file.
//
// The lock is a byte-range lock on a lock file beside the settings file
// (".Tavlo.ini.lock"), which the file system keeps and a file server passes
// on to every machine that opens the folder, and whose identity the writes of
// the settings file never change. Holding it takes write access to the lock
// file, which only the accounts that may write the drawing have, so no other
// account can keep the program from starting. The system drops the lock when
// the process ends, however it ends, so a killed instance never blocks the
// next start.
class InstanceLock {
public:
    // Tries to take the lock of `settings` and, when the file is a symbolic
    // link, of the file its writes reach as well; owns() tells whether it
    // did. A lock that cannot be had for any reason other than another
    // instance holding it counts as owned: better to run than to end without
    // a word.
    explicit InstanceLock(const FileRef& settings);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another running instance already holds the lock.
    bool owns() const { return m_owns; }

    // The lock file's name beside a settings file named `settingsName`.
    static std::string LockFileName(std::string_view settingsName) { return "." + BaseName(settingsName) + ".lock"; }

private:
    bool m_owns = true;
    // What holds the lock: descriptors on POSIX, file handles on Windows.
#ifdef _WIN32
    std::vector<void*> m_handles;
#else
    std::vector<int> m_fds;
#endif
};

}  // namespace tavlo::platform
