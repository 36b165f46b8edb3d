// The settings file wrapper: names, layout and what its reads make of the text.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "engine_test_support.h"
#include "platform/executable_dir.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace tavlo {
namespace {

using test::FileLines;
using test::WriteFile;
using Lines = std::vector<std::string>;
using Results = std::vector<StoredResult>;

class SettingsFileTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    std::string m_path = m_dir.file("Tavlo.ini");
    SettingsFile m_file{m_path};
};

TEST_F(SettingsFileTest, PathIsTheGivenFile)
{
    EXPECT_EQ(m_file.DisplayPath(), m_path);
}

// The program's file stays in the folder it started in: the folder renamed
// while the program runs takes the file along, and a path that now names
// another folder (as a program file moved elsewhere would) is never written.
TEST_F(SettingsFileTest, FileInTheProgramFolderFollowsThatFolder)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows renames no folder that a running program lies in";
#endif
    const std::filesystem::path started = m_dir.path() / "started";
    const std::filesystem::path renamed = m_dir.path() / "renamed";
    std::filesystem::create_directory(started);
    const platform::HeldFolder folder(started.string());
    const SettingsFile file(folder);
    EXPECT_EQ(file.DisplayPath(), (started / "Tavlo.ini").string());

    std::filesystem::rename(started, renamed);
    std::filesystem::create_directory(started);
    ASSERT_TRUE(file.WriteResult(1, 7));
    EXPECT_EQ(FileLines((renamed / "Tavlo.ini").string()), (Lines{"[Result]", "1=7"}));
    EXPECT_FALSE(test::FileExists((started / "Tavlo.ini").string()));
    EXPECT_EQ(file.DisplayPath(), (renamed / "Tavlo.ini").string());

    // Once gone, the folder is named by the path it had.
    std::filesystem::remove_all(renamed);
    EXPECT_EQ(file.DisplayPath(), (renamed / "Tavlo.ini").string());
}

#ifndef _WIN32
// A sandbox that hides /proc, or /proc unmounted while the program runs:
// the program still finds its folder and keeps writing and reading its file.
TEST_F(SettingsFileTest, ProgramFolderNeedsNoProc)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a mount namespace of its own: runs where the tests run as root";
    const std::string programFolder = platform::ExecutableDirectory();
    const std::filesystem::path started = m_dir.path() / "started";
    std::filesystem::create_directory(started);
    const pid_t child = ::fork();
    if (child == 0) {
        const platform::HeldFolder folder(started.string());
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
            || ::mount("none", "/proc", "tmpfs", 0, nullptr) != 0)
            ::_exit(2);
        const SettingsFile file(folder);
        const bool works = platform::ExecutableDirectory() == programFolder && file.WriteResult(1, 7)
                           && file.ReadResults() == Results{{1, 7}};
        ::_exit(works ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 2) << "no mount namespace to hide /proc in";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(FileLines((started / "Tavlo.ini").string()), (Lines{"[Result]", "1=7"}));
}
#endif

TEST_F(SettingsFileTest, MissingFileReadsAsNothing)
{
    EXPECT_EQ(m_file.ReadRange(), StoredRange{});
    EXPECT_TRUE(m_file.ReadResults().empty());
    EXPECT_FALSE(test::FileExists(m_path));
}

TEST_F(SettingsFileTest, WritesTheLayoutOfTheFile)
{
    ASSERT_TRUE(m_file.WriteRange("007,020"));
    ASSERT_TRUE(m_file.WriteResult(1, 12));
    ASSERT_TRUE(m_file.WriteResult(2, 0));
    ASSERT_TRUE(m_file.WriteResult(3, 999));
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=007,020", "[Result]", "1=12", "2=0", "3=999"}));
    EXPECT_EQ(m_file.ReadRange(), (StoredRange{"007,020", 7, 20}));
    EXPECT_EQ(m_file.ReadResults(), (Results{{1, 12}, {2, 0}, {3, 999}}));

    ASSERT_TRUE(m_file.ClearResults());
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=007,020"}));
    EXPECT_TRUE(m_file.ReadResults().empty());
}

TEST_F(SettingsFileTest, NamesMatchWithoutRegardToCase)
{
    WriteFile(m_path, "[CONDITION]\r\nrange=3,4\r\n[result]\r\n1=3\r\n");
    EXPECT_EQ(m_file.ReadRange(), (StoredRange{"3,4", 3, 4}));
    EXPECT_EQ(m_file.ReadResults(), (Results{{1, 3}}));
}

TEST_F(SettingsFileTest, WritesReportFailure)
{
    WriteFile(m_dir.file("file"), "x");
    const SettingsFile broken(m_dir.file("file") + "/Tavlo.ini");
    EXPECT_FALSE(broken.WriteRange("1,2"));
    EXPECT_FALSE(broken.WriteResult(1, 2));
    EXPECT_FALSE(broken.WriteState({"1,2", true, {{1, 1, true}}}));
    EXPECT_EQ(broken.ReadRange(), StoredRange{});
    EXPECT_TRUE(broken.ReadResults().empty());
}

}  // namespace
}  // namespace tavlo
