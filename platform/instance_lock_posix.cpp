#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tavlo::platform {

// An advisory lock on the program file itself: one instance per installed
// copy, no lock file to leave behind, and the kernel drops the lock with the
// last descriptor, so a killed instance never blocks the next start.
InstanceLock::InstanceLock(const std::string& programPath)
{
    m_fd = ::open(programPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        // Nothing to lock against: better to run than to refuse a raffle.
        m_owns = true;
        return;
    }
    m_owns = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

}  // namespace tavlo::platform
