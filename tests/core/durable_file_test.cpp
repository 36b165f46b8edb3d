#include "platform/durable_file.h"
#include "settings/profile.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// The real system calls of a replace, recorded in order: the test program
// is linked with the calls wrapped (tests/core/CMakeLists.txt).
namespace {
std::vector<std::string>* g_calls = nullptr;

void Record(const char* call, int fd)
{
    struct stat info {};
    if (g_calls != nullptr && ::fstat(fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISDIR(info.st_mode)))
        g_calls->push_back(std::string(call) + (S_ISDIR(info.st_mode) ? " folder" : " file"));
}
}  // namespace

extern "C" {
ssize_t __real_write(int fd, const void* data, size_t size);
int __real_fsync(int fd);
int __real_renameat(int from, const char* fromName, int to, const char* toName);

ssize_t __wrap_write(int fd, const void* data, size_t size)
{
    Record("write", fd);
    return __real_write(fd, data, size);
}
int __wrap_fsync(int fd)
{
    Record("fsync", fd);
    return __real_fsync(fd);
}
int __wrap_renameat(int from, const char* fromName, int to, const char* toName)
{
    if (g_calls != nullptr)
        g_calls->push_back("rename");
    return __real_renameat(from, fromName, to, toName);
}
}

namespace tavlo::platform {
namespace {

using test::FileExists;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

std::vector<std::string> Entries(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

ino_t Inode(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_ino;
}

mode_t Mode(const std::string& path)
{
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

const std::string kOld = "[Condition]\r\nRange=1,100\r\n[Result]\r\n1=57\r\n";

// Runs `work` in a child process as an ordinary user: nobody when the tests
// run as root (who may write anything), else the caller. What `work`
// returned; none when the child could not become that user.
template <typename Work>
std::optional<bool> AsOrdinaryUser(Work work)
{
    const uid_t nobody = 65534;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(nobody) != 0 || ::setuid(nobody) != 0))
            ::_exit(2);
        ::_exit(work() ? 1 : 0);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) > 1)
        return std::nullopt;
    return WEXITSTATUS(status) == 1;
}

// Gives `path` to nobody when the tests run as root, so that the work of
// AsOrdinaryUser owns it.
void GiveToOrdinaryUser(const std::string& path)
{
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    }
}

TEST(ReadWholeFileTest, TellsAMissingFileFromAnEmptyOne)
{
    TempDir dir;
    EXPECT_EQ(ReadWholeFile(dir.file("none")).status, FileReadStatus::Missing);

    WriteFile(dir.file("empty"), "");
    const FileContents empty = ReadWholeFile(dir.file("empty"));
    EXPECT_EQ(empty.status, FileReadStatus::Ok);
    EXPECT_EQ(empty.bytes, "");

    WriteFile(dir.file("plain"), kOld);
    EXPECT_EQ(ReadWholeFile(dir.file("plain")).bytes, kOld);
    // A file standing where a folder should be: the file below it is missing.
    EXPECT_EQ(ReadWholeFile(dir.file("plain") + "/x.ini").status, FileReadStatus::Missing);
}

TEST(ReadWholeFileTest, RefusesWhatIsNoRegularFile)
{
    TempDir dir;
    EXPECT_EQ(ReadWholeFile(dir.path().string()).status, FileReadStatus::Failed);
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(dir.file("fifo")).status, FileReadStatus::Failed) << "must not hang either";
}

TEST(ReplaceFileDurablyTest, CreatesAndReplacesLeavingOnlyTheFile)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    ASSERT_TRUE(ReplaceFileDurably(path, kOld));
    EXPECT_EQ(ReadFile(path), kOld);
    ASSERT_TRUE(ReplaceFileDurably(path, "new"));
    EXPECT_EQ(ReadFile(path), "new");
    ASSERT_TRUE(ReplaceFileDurably(path, ""));
    EXPECT_EQ(ReadWholeFile(path).status, FileReadStatus::Ok);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Tavlo.ini"});
}

// A power cut at any moment leaves the old bytes or the new ones only if the
// new bytes reach the disk before the rename, and the rename before success
// is reported.
TEST(ReplaceFileDurablyTest, FlushesTheNewFileBeforeTheRenameAndTheFolderAfter)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    std::vector<std::string> calls;
    g_calls = &calls;
    const bool written = ReplaceFileDurably(path, "new");
    g_calls = nullptr;
    EXPECT_TRUE(written);
    EXPECT_EQ(calls, (std::vector<std::string>{"write file", "fsync file", "rename", "fsync folder"}));
}

TEST(ReplaceFileDurablyTest, KeepsPermissionBits)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFileDurably(path, "new"));
    EXPECT_EQ(Mode(path), 0640u);
}

TEST(ReplaceFileDurablyTest, WritesThroughASymbolicLink)
{
    TempDir dir;
    const std::string target = dir.file("real.ini");
    const std::string link = dir.file("Tavlo.ini");
    WriteFile(target, kOld);
    std::filesystem::create_symlink(target, link);
    ASSERT_TRUE(ReplaceFileDurably(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(target), "new");
}

// A link whose target's folder is gone (its drive not mounted) reads as a
// file that cannot be read, and no write puts a file in its place; once the
// folder is there, the first write makes the file at the link's target.
TEST(ReplaceFileDurablyTest, NeverReplacesALinkWithAFile)
{
    TempDir dir;
    const std::string link = dir.file("Tavlo.ini");
    std::filesystem::create_symlink(dir.file("drive/Tavlo.ini"), link);
    EXPECT_EQ(ReadWholeFile(link).status, FileReadStatus::Failed);
    EXPECT_FALSE(ReplaceFileDurably(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));

    std::filesystem::create_directory(dir.file("drive"));
    EXPECT_EQ(ReadWholeFile(link).status, FileReadStatus::Missing);
    EXPECT_TRUE(WriteProfileString("Result", "1", "5", link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(dir.file("drive/Tavlo.ini")), "[Result]\r\n1=5\r\n");
}

// In a sticky folder that every account may write, another account's link
// planted as the settings file is not followed: the file it points to, one of
// this user's, is neither read nor written.
TEST(ReplaceFileDurablyTest, NeverFollowsAnotherAccountsLinkInASharedFolder)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a second account: runs where the tests run as root";
    TempDir dir;
    const std::string shared = dir.file("shared");
    const std::string own = dir.file("own.txt");
    const std::string link = shared + "/Tavlo.ini";
    std::filesystem::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    WriteFile(own, kOld);
    ASSERT_EQ(AsOrdinaryUser([&] { return ::symlink(own.c_str(), link.c_str()) == 0; }), true);

    EXPECT_EQ(ReadWholeFile(link).status, FileReadStatus::Failed);
    EXPECT_FALSE(WriteProfileString("Result", "1", "5", link));
    EXPECT_EQ(ReadFile(own), kOld);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

TEST(ReplaceFileDurablyTest, RefusesAFileWithoutWritePermission)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    GiveToOrdinaryUser(dir.path().string());
    GiveToOrdinaryUser(path);
    EXPECT_EQ(AsOrdinaryUser([&] { return ReplaceFileDurably(path, "new"); }), false);
    EXPECT_EQ(ReadFile(path), kOld);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Tavlo.ini"});
}

// A folder the user may not write, holding a file the user may: the file is
// written in place, since no temporary file can be made beside it.
TEST(ReplaceFileDurablyTest, WritesInPlaceWhereTheFolderRefusesNewFiles)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    GiveToOrdinaryUser(path);  // the folder stays root's
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    const auto written = AsOrdinaryUser([&] { return ReplaceFileDurably(path, "new"); });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(written, true);
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Tavlo.ini"});
}

// A shared folder with the sticky bit, holding a file of another user that
// anyone may write: the replacing rename is refused, the file is written in
// place and the temporary file goes.
TEST(ReplaceFileDurablyTest, WritesInPlaceWhereAStickyFolderRefusesTheRename)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a file of another user";
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 01777), 0);
    EXPECT_EQ(AsOrdinaryUser([&] { return ReplaceFileDurably(path, "new"); }), true);
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Tavlo.ini"});
}

// The same write failing half-way, as on a full disk: the old bytes stay,
// not a cut-off value that would read as a stored draw.
TEST(ReplaceFileDurablyTest, FailedWriteInPlaceLeavesTheOldFile)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    GiveToOrdinaryUser(path);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    // No SIGXFSZ handler: the write must fail, not end the process.
    const auto refused = AsOrdinaryUser([&] {
        const rlimit small{64, 64};
        return ::setrlimit(RLIMIT_FSIZE, &small) == 0 && !ReplaceFileDurably(path, std::string(200, '9'));
    });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(refused, true);
    EXPECT_EQ(ReadFile(path), kOld);
}

// A folder the user may write and search but not list (mode 0333) opens for
// no flush; the write still succeeds, flushed through the file's file system.
TEST(ReplaceFileDurablyTest, ReplacesInAFolderThatCannotBeListed)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    GiveToOrdinaryUser(path);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0333), 0);
    const auto written = AsOrdinaryUser([&] { return ReplaceFileDurably(path, "new"); });
    ::chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(written, true);
    EXPECT_EQ(ReadFile(path), "new");
}

TEST(WriteAllTest, AWriteThatMakesNoProgressFails)
{
    const auto nothing = [](int, const void*, std::size_t) -> long { return 0; };
    EXPECT_FALSE(WriteAll(-1, "bytes", nothing));
}

// What writes killed in the middle left: only this layer's own names go.
TEST(RemoveLeftoverTemporariesTest, RemovesOnlyItsOwnTemporaryFiles)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    for (const char* name : {".Tavlo.ini.tmp-12-0-345", ".Tavlo.ini.tmp-1-2-3", ".Tavlo.ini.tmp-1-2",
                             ".Tavlo.ini.tmp-1-2-3x", ".Other.ini.tmp-1-2-3", "notes.txt"})
        WriteFile(dir.file(name), "x");
    RemoveLeftoverTemporaries(path);
    std::vector<std::string> left = Entries(dir.path());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".Other.ini.tmp-1-2-3", ".Tavlo.ini.tmp-1-2", ".Tavlo.ini.tmp-1-2-3x",
                                              "Tavlo.ini", "notes.txt"}));
    EXPECT_EQ(ReadFile(path), kOld);
}

const char* StepName(DurableStep step)
{
    switch (step) {
        case DurableStep::CreateTemp:
            return "CreateTemp";
        case DurableStep::Write:
            return "Write";
        case DurableStep::Sync:
            return "Sync";
        case DurableStep::Close:
            return "Close";
        case DurableStep::Rename:
            return "Rename";
        case DurableStep::SyncFolder:
            return "SyncFolder";
    }
    return "?";
}

DurableStep g_failingStep = DurableStep::CreateTemp;

bool FailOneStep(DurableStep step)
{
    return step == g_failingStep;
}

}  // namespace

void PrintTo(DurableStep step, std::ostream* out)
{
    *out << StepName(step);
}

namespace {

class FailedStepTest : public testing::TestWithParam<DurableStep> {
protected:
    void SetUp() override
    {
        g_failingStep = GetParam();
        SetDurableFaultHook(&FailOneStep);
    }
    void TearDown() override { SetDurableFaultHook(nullptr); }
};

TEST_P(FailedStepTest, LeavesTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    EXPECT_FALSE(ReplaceFileDurably(path, "new bytes"));
    EXPECT_EQ(ReadFile(path), kOld);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Tavlo.ini"});

    // The profile writes report the failure the same way.
    EXPECT_FALSE(WriteProfileString("Result", "2", "3", path));
    EXPECT_FALSE(ProfilePutSection("Result", "1=9\0", path.c_str()));
    EXPECT_FALSE(ClearProfileSection("Result", path));
    EXPECT_EQ(ReadFile(path), kOld);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Tavlo.ini"});
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedStepTest,
                         testing::Values(DurableStep::CreateTemp, DurableStep::Write, DurableStep::Sync,
                                         DurableStep::Close, DurableStep::Rename),
                         [](const testing::TestParamInfo<DurableStep>& step) { return StepName(step.param); });

TEST(ReplaceFileDurablyTest, FailedFolderSyncIsReportedAfterTheRename)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    g_failingStep = DurableStep::SyncFolder;
    SetDurableFaultHook(&FailOneStep);
    EXPECT_FALSE(ReplaceFileDurably(path, "new"));
    SetDurableFaultHook(nullptr);
    EXPECT_EQ(ReadFile(path), "new");
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Tavlo.ini"});
}

// A real refusal by the system: a file size limit below the new file's size.
TEST(ReplaceFileDurablyTest, DiskRefusingTheWriteLeavesTheOldFile)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = WriteProfileString("Result", "2", std::string(200, '9'), path);
    ::setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(path), kOld);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"Tavlo.ini"});
}

TEST(ProfileWriteFailureTest, UnreadableFileIsNeverReplaced)
{
    // A folder where the file should be cannot be read, so it is not
    // replaced by a file built from nothing.
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    std::filesystem::create_directory(path);
    WriteFile(path + "/keep", "x");
    EXPECT_FALSE(WriteProfileString("Result", "1", "5", path));
    EXPECT_FALSE(ClearProfileSection("Result", path));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(ReadFile(path + "/keep"), "x");
}

TEST(ProfileWriteFailureTest, ParentThatIsAFileFails)
{
    TempDir dir;
    WriteFile(dir.file("plain"), kOld);
    EXPECT_FALSE(WriteProfileString("Result", "1", "5", dir.file("plain") + "/Tavlo.ini"));
    EXPECT_EQ(ReadFile(dir.file("plain")), kOld);
    EXPECT_EQ(Entries(dir.path()), std::vector<std::string>{"plain"});
}

TEST(ProfileWriteFailureTest, WriteThatChangesNothingDoesNotReplaceTheFile)
{
    TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    WriteFile(path, kOld);
    const ino_t before = Inode(path);
    EXPECT_TRUE(WriteProfileString("RESULT", "1", "57", path));
    EXPECT_TRUE(ClearProfileSection("Missing", path));
    EXPECT_TRUE(ProfilePutSection("Result", "1=57\0", path.c_str()));
    EXPECT_EQ(Inode(path), before);
    EXPECT_EQ(ReadFile(path), kOld);
}

}  // namespace
}  // namespace tavlo::platform
