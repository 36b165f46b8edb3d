#pragma once

#include <string>
#include <string_view>

namespace tavlo::platform {

// What an install puts into <prefix>/share/tavlo, beside the program's
// <prefix>/bin: a program with this file there is installed. Nothing else
// tells; in particular not whether the program's folder can be written.
inline constexpr std::string_view kInstalledMarker = "share/tavlo/installed";

// The folder that holds the settings file of the program in `programFolder`.
// A portable program, in a folder of its own that the user may write (a build
// folder, an unpacked zip, a USB stick), keeps it in that folder; so does
// every program on Windows. A program installed on Linux keeps one per
// account, in the account's settings folder (AccountSettingsFolder), which is
// made here when missing so that it can be held and locked. Empty when an
// installed program finds no home for the account.
std::string SettingsFolder(const std::string& programFolder);

#ifndef _WIN32
// The account's settings folder for Tavlo, by the XDG base directories:
// $XDG_CONFIG_HOME/tavlo where that names an absolute path, otherwise
// <home>/.config/tavlo. Empty without either.
std::string AccountSettingsFolder(const char* xdgConfigHome, const char* home);
#endif

}  // namespace tavlo::platform
