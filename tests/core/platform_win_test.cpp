// The Windows system services: the program's own path and the one-instance
// lock, where one settings folder is one lock however its path is spelt.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>

#include "platform/executable_dir.h"
#include "platform/instance_lock.h"
#include "support/temp_dir.h"

namespace {

using tavlo::platform::InstanceLock;

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::string Slashes(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

TEST(ExecutableDirectoryWindows, IsTheFolderOfTheRunningProgram)
{
    const std::string path = tavlo::platform::ExecutablePath();
    const std::string directory = tavlo::platform::ExecutableDirectory();
    const std::string name = "platform_win_test.exe";
    ASSERT_GT(path.size(), name.size());
    EXPECT_EQ(path.substr(path.size() - name.size()), name);
    EXPECT_EQ(path, directory + "\\" + name);
    // Opened by the system, so it is a full path: drive or share first.
    EXPECT_TRUE(path.compare(1, 2, ":\\") == 0 || path.compare(0, 2, "\\\\") == 0) << path;
}

TEST(InstanceLockWindows, OneFolderIsOneLockHoweverItsPathIsSpelt)
{
    tavlo::test::TempDir dir;
    const std::string folder = dir.file("Tavlo");
    std::filesystem::create_directory(folder);

    {
        const InstanceLock first(folder);
        EXPECT_TRUE(first.owns());
        EXPECT_FALSE(InstanceLock(folder).owns());
        EXPECT_FALSE(InstanceLock(Upper(folder)).owns());
        EXPECT_FALSE(InstanceLock(Slashes(folder)).owns());

        // Another folder holds another settings file: another instance.
        const std::string other = dir.file("Other");
        std::filesystem::create_directory(other);
        EXPECT_TRUE(InstanceLock(other).owns());
    }
    // The first instance has ended: the next one starts.
    EXPECT_TRUE(InstanceLock(Upper(folder)).owns());
}

TEST(InstanceLockWindows, FolderThatCannotBeOpenedLocksByItsPath)
{
    tavlo::test::TempDir dir;
    const std::string missing = dir.file("gone.exe");

    const InstanceLock first(missing);
    EXPECT_TRUE(first.owns());
    EXPECT_FALSE(InstanceLock(Upper(missing)).owns());
    EXPECT_FALSE(InstanceLock(Slashes(missing)).owns());
    EXPECT_TRUE(InstanceLock(dir.file("other.exe")).owns());

    // A path far longer than a kernel object's name may be still locks.
    const std::string longPath = dir.file(std::string(400, 'x') + ".exe");
    const InstanceLock longFirst(longPath);
    EXPECT_TRUE(longFirst.owns());
    EXPECT_FALSE(InstanceLock(longPath).owns());
}

}  // namespace
