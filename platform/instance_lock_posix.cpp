#include "platform/durable_file.h"
#include "platform/instance_lock.h"
#include "platform/paths.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <utility>

namespace tavlo::platform {

namespace {

// The folders whose lock covers the file: the one that holds it, and the one
// its writes reach when it is a symbolic link to a file elsewhere.
std::vector<std::string> FoldersOf(const std::string& settingsPath)
{
    std::vector<std::string> folders{FolderOf(settingsPath)};
    if (const std::optional<std::string> target = WriteTarget(settingsPath))
        folders.push_back(FolderOf(*target));
    return folders;
}

}  // namespace

// Each folder is locked twice over, so that every instance meets at least one
// lock another instance holds:
// - an advisory flock() on the folder itself, which every path to it meets
//   (a symbolic link, a bind mount, a copy of the program beside the first)
//   and which no lock file is left behind for;
// - an abstract socket named after the folder's identity, which a folder the
//   process may search but not list (mode 0333) gets too, where no descriptor
//   for flock() can be opened.
// The kernel drops both with the process, so a killed instance blocks nothing.
InstanceLock::InstanceLock(const std::string& settingsPath)
{
    std::vector<std::pair<dev_t, ino_t>> seen;
    for (const std::string& folder : FoldersOf(settingsPath)) {
        struct stat info {};
        if (::stat(folder.c_str(), &info) != 0)
            continue;
        const std::pair<dev_t, ino_t> identity{info.st_dev, info.st_ino};
        if (std::find(seen.begin(), seen.end(), identity) != seen.end())
            continue;
        seen.push_back(identity);

        const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd >= 0) {
            m_fds.push_back(folderFd);
            if (::flock(folderFd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK)
                m_owns = false;
        }

        const int socketFd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (socketFd < 0)
            continue;
        m_fds.push_back(socketFd);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        // A name that starts with a NUL lives in no folder and goes with its socket.
        const std::string name = "tavlo-lock-" + std::to_string(info.st_dev) + "-" + std::to_string(info.st_ino);
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
        if (::bind(socketFd, reinterpret_cast<const sockaddr*>(&address), length) != 0 && errno == EADDRINUSE)
            m_owns = false;
    }
}

InstanceLock::~InstanceLock()
{
    for (const int fd : m_fds)
        ::close(fd);
}

}  // namespace tavlo::platform
