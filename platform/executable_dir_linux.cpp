#include "platform/executable_dir.h"

#include <sys/auxv.h>

#include <bit>
#include <climits>
#include <cstdlib>

#include "platform/links.h"

namespace tavlo::platform {

std::string ExecutablePath()
{
    // /proc/self/exe names the running program even when it was started
    // through a symbolic link or a relative path.
    if (std::string path = ReadLink("/proc/self/exe"); !path.empty() && path.front() == '/')
        return path;
    // Without /proc (a sandbox that hides it): the name the program was
    // started by, which the kernel hands every program; resolved against the
    // working folder, which nothing has changed yet.
    // The auxiliary vector holds the name's address as a number.
    const auto* started = std::bit_cast<const char*>(::getauxval(AT_EXECFN));
    char resolved[PATH_MAX];
    if (started != nullptr && ::realpath(started, resolved) != nullptr)
        return resolved;
    return {};
}

}  // namespace tavlo::platform
