#include "platform/settings_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/paths.h"

namespace tavlo::platform {

namespace {

bool IsInstalled(const std::string& programFolder)
{
    struct stat info {};
    const std::string marker = JoinPath(FolderOf(programFolder), kInstalledMarker);
    return ::stat(marker.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The account's home as the account database has it, for a process started
// without HOME (a service, `env -i`).
std::string HomeOfAccount()
{
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr
        || found->pw_dir == nullptr)
        return {};
    return found->pw_dir;
}

// Makes `path` and whatever folders above it are missing, readable by the
// account alone as the base directories ask. A failure shows later, when the
// settings file cannot be written, naming the file.
void MakeFolders(const std::string& path)
{
    for (std::size_t end = path.find('/', 1);; end = path.find('/', end + 1)) {
        ::mkdir(path.substr(0, end).c_str(), 0700);
        if (end == std::string::npos)
            return;
    }
}

}  // namespace

std::string AccountSettingsFolder(const char* xdgConfigHome, const char* home)
{
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base
    // directories say.
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        return JoinPath(xdgConfigHome, "tavlo");
    if (home != nullptr && home[0] == '/')
        return JoinPath(JoinPath(home, ".config"), "tavlo");
    return {};
}

std::string SettingsFolder(const std::string& programFolder)
{
    if (!IsInstalled(programFolder))
        return programFolder;
    const char* home = std::getenv("HOME");
    const std::string accountHome = home != nullptr && home[0] != '\0' ? home : HomeOfAccount();
    std::string folder = AccountSettingsFolder(std::getenv("XDG_CONFIG_HOME"), accountHome.c_str());
    if (!folder.empty())
        MakeFolders(folder);
    return folder;
}

}  // namespace tavlo::platform
