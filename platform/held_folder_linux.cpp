#include "platform/held_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

#include "platform/links.h"
#include "platform/paths.h"

namespace tavlo::platform {

// O_PATH opens any folder the process may search, one it may not list
// included. The *at() calls resolve names in the folder the descriptor holds,
// wherever that folder is now.
HeldFolder::HeldFolder(std::string path)
    : m_path(std::move(path)), m_fd(::open(m_path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC))
{
}

HeldFolder::~HeldFolder()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

FileRef HeldFolder::File(std::string_view name) const
{
    if (m_fd < 0)
        return JoinPath(m_path, name);
    return FileRef::In(m_fd, std::string(name));
}

std::string HeldFolder::DisplayPathTo(std::string_view name) const
{
    // Only /proc tells where the folder is now; without it, where it was.
    if (m_fd >= 0) {
        std::string now = ReadLink("/proc/self/fd/" + std::to_string(m_fd));
        // The kernel marks a folder that has been removed; it had that path.
        constexpr std::string_view kDeleted = " (deleted)";
        struct stat info {};
        if (::fstat(m_fd, &info) == 0 && info.st_nlink == 0 && now.ends_with(kDeleted))
            now.resize(now.size() - kDeleted.size());
        if (!now.empty() && now.front() == '/')
            return JoinPath(now, name);
    }
    return JoinPath(m_path, name);
}

}  // namespace tavlo::platform
