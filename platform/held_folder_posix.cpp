#include "platform/held_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <utility>

#include "platform/paths.h"

namespace tavlo::platform {

// O_PATH opens any folder the process may search, one it may not list
// included. The kernel resolves /proc/self/fd/<n> to the folder the
// descriptor holds, wherever that folder is now: the same as openat() on it,
// for every call that takes a path.
HeldFolder::HeldFolder(std::string path)
    : m_path(std::move(path)), m_fd(::open(m_path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{
}

HeldFolder::~HeldFolder()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::string HeldFolder::PathTo(std::string_view name) const
{
    if (m_fd < 0)
        return JoinPath(m_path, name);
    return JoinPath("/proc/self/fd/" + std::to_string(m_fd), name);
}

std::string HeldFolder::DisplayPathTo(std::string_view name) const
{
    if (m_fd >= 0) {
        const std::string now = ReadLink("/proc/self/fd/" + std::to_string(m_fd));
        if (!now.empty())
            return JoinPath(now, name);
    }
    return JoinPath(m_path, name);
}

}  // namespace tavlo::platform
