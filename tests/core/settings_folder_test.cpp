// Where the settings file lives: beside a portable program, in the account's
// settings folder for an installed one.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/settings_folder.h"
#include "support/temp_dir.h"

namespace {

using tavlo::platform::AccountSettingsFolder;
using tavlo::platform::SettingsFolder;

TEST(AccountSettingsFolder, FollowsTheBaseDirectories)
{
    struct Case {
        const char* xdgConfigHome;
        const char* home;
        std::string expected;
    };
    const Case cases[] = {
        {"/srv/config", "/home/a", "/srv/config/tavlo"},
        {"/srv/config/", "/home/a", "/srv/config/tavlo"},
        {nullptr, "/home/a", "/home/a/.config/tavlo"},
        {"", "/home/a", "/home/a/.config/tavlo"},
        // A relative XDG_CONFIG_HOME is invalid and ignored.
        {"config", "/home/a", "/home/a/.config/tavlo"},
        {nullptr, nullptr, ""},
        {nullptr, "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AccountSettingsFolder(c.xdgConfigHome, c.home), c.expected)
            << (c.xdgConfigHome ? c.xdgConfigHome : "(unset)") << " / " << (c.home ? c.home : "(unset)");
    }
}

// Only the install's mark tells an installed program, never whether its
// folder can be written: a portable program in a folder it cannot write
// stays portable, and an installed one makes its account's folder, parents
// included, for the account alone.
TEST(SettingsFolder, BesideAPortableProgramInTheAccountsFolderForAnInstalledOne)
{
    const tavlo::test::TempDir dir;
    const std::string bin = dir.file("bin");
    std::filesystem::create_directory(bin);
    const std::string config = dir.file("config");
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);  // each test runs in a process of its own

    ::chmod(bin.c_str(), 0555);
    EXPECT_EQ(SettingsFolder(bin), bin);
    EXPECT_FALSE(std::filesystem::exists(config));

    std::filesystem::create_directories(dir.file("share/tavlo"));
    tavlo::test::WriteFile(dir.file("share/tavlo/installed"), "");
    EXPECT_EQ(SettingsFolder(bin), config + "/tavlo");
    for (const std::string& made : {config, config + "/tavlo"}) {
        struct stat info {};
        ASSERT_EQ(::stat(made.c_str(), &info), 0) << made;
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u) << made;
    }
    // An existing folder is taken as it is.
    EXPECT_EQ(SettingsFolder(bin), config + "/tavlo");
}

}  // namespace
