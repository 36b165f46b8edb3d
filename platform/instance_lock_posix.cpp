#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace tavlo::platform {

// An advisory lock on the folder itself: every path that leads to it (a
// symbolic link, a copy of the program beside the first) meets the same lock,
// no lock file is left behind, and the kernel drops the lock with the last
// descriptor, so a killed instance never blocks the next start.
InstanceLock::InstanceLock(const std::string& folder)
{
    m_fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_fd < 0) {
        m_owns = true;
        return;
    }
    m_owns = ::flock(m_fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

}  // namespace tavlo::platform
