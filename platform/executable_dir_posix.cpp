#include "platform/executable_dir.h"

#include <unistd.h>

#include <vector>

namespace tavlo::platform {

std::string ReadLink(const std::string& path)
{
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutablePath()
{
    // /proc/self/exe names the running program even when it was started
    // through a symbolic link or a relative path.
    return ReadLink("/proc/self/exe");
}

}  // namespace tavlo::platform
