#include "platform/settings_folder.h"

namespace tavlo::platform {

// Windows has no install of Tavlo: the unpacked zip is the program's folder.
std::string SettingsFolder(const std::string& programFolder)
{
    return programFolder;
}

}  // namespace tavlo::platform
