// The one-instance lock of a settings file across real processes: a second
// holder is refused while the first lives, and a first holder killed with
// SIGKILL leaves no stale lock behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <vector>

#include "platform/instance_lock.h"
#include "support/temp_dir.h"

namespace {

constexpr uid_t kNobody = 65534;

// Where a holder runs: as the tests' user or as nobody (root may list any
// folder; nobody meets the folder's mode), and in the tests' network
// namespace or a new one, as a sandbox without network has.
enum Holder { kSameUser = 0, kNobodyUser = 1, kOtherNetwork = 2 };

// Forks a child that takes the lock and reports through a pipe, then waits
// to be killed.
pid_t SpawnHolder(const std::string& path, bool& owns, int where = kSameUser)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        if ((where & kOtherNetwork) != 0 && ::unshare(CLONE_NEWNET) != 0)
            ::_exit(1);
        if ((where & kNobodyUser) != 0 && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(1);
        tavlo::platform::InstanceLock lock(path);
        const char answer = lock.owns() ? '1' : '0';
        (void)!::write(fds[1], &answer, 1);
        for (;;)
            ::pause();
    }
    ::close(fds[1]);
    char answer = '?';
    (void)!::read(fds[0], &answer, 1);
    ::close(fds[0]);
    owns = answer == '1';
    return pid;
}

void Kill(pid_t pid)
{
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

}  // namespace

TEST(InstanceLock, SecondInstanceRefusedAndKilledFirstLeavesNoStaleLock)
{
    tavlo::test::TempDir dir;
    const std::string file = dir.file("Tavlo.ini");

    bool firstOwns = false;
    const pid_t first = SpawnHolder(file, firstOwns);
    ASSERT_GT(first, 0);
    EXPECT_TRUE(firstOwns);
    {
        // The same folder by another path is the same settings file.
        const std::string link = dir.file("link");
        std::filesystem::create_directory_symlink(dir.path(), link);
        tavlo::platform::InstanceLock second(link + "/Tavlo.ini");
        EXPECT_FALSE(second.owns());
    }

    Kill(first);
    tavlo::platform::InstanceLock third(file);
    EXPECT_TRUE(third.owns());

    // Another folder holds another settings file: another instance.
    const std::string other = dir.file("other");
    std::filesystem::create_directory(other);
    tavlo::platform::InstanceLock elsewhere(other + "/Tavlo.ini");
    EXPECT_TRUE(elsewhere.owns());
}

// Whatever way the file is reached, its instance holds it alone: through a
// settings file that is a symbolic link into another instance's folder, and
// in a folder that may be searched and written but not listed.
TEST(InstanceLock, CoversTheFileItsWritesReach)
{
    tavlo::test::TempDir dir;
    const std::string a = dir.file("a");
    const std::string b = dir.file("b");
    const std::string shared = dir.file("shared");
    for (const std::string& folder : {a, b, shared})
        std::filesystem::create_directory(folder);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
    std::filesystem::permissions(shared, std::filesystem::perms(0333));
    {
        std::ofstream(a + "/Tavlo.ini") << "[Result]\r\n1=1\r\n";
    }
    std::filesystem::create_symlink(a + "/Tavlo.ini", b + "/Tavlo.ini");

    bool owns = false;
    const pid_t holderOfA = SpawnHolder(a + "/Tavlo.ini", owns);
    EXPECT_TRUE(owns);
    const pid_t firstInShared = SpawnHolder(shared + "/Tavlo.ini", owns, kNobodyUser);
    EXPECT_TRUE(owns);

    const pid_t throughTheLink = SpawnHolder(b + "/Tavlo.ini", owns);
    EXPECT_FALSE(owns) << "a link into a running instance's folder";
    const pid_t secondInShared = SpawnHolder(shared + "/Tavlo.ini", owns, kNobodyUser);
    EXPECT_FALSE(owns) << "a folder that cannot be listed";
    std::vector<pid_t> holders{holderOfA, firstInShared, throughTheLink, secondInShared};
    if (::geteuid() == 0) {
        holders.push_back(SpawnHolder(shared + "/Tavlo.ini", owns, kNobodyUser | kOtherNetwork));
        EXPECT_FALSE(owns) << "a folder that cannot be listed, from another network namespace";
    }
    for (const pid_t pid : holders)
        Kill(pid);
}

// An account that may only read the drawing holds whatever it can get of the
// folder, the file and the lock file, and still cannot keep the program from
// starting.
TEST(InstanceLock, AnAccountThatCannotWriteTheDrawingCannotHoldIt)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs a second account: runs where the tests run as root";
    tavlo::test::TempDir dir;
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    const std::string file = dir.file("Tavlo.ini");
    std::ofstream(file) << "[Condition]\r\nRange=1,9\r\n";
    // An earlier run left its lock file.
    {
        tavlo::platform::InstanceLock earlier(file);
    }

    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t reader = ::fork();
    if (reader == 0) {
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(1);
        (void)!::flock(::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY), LOCK_SH);
        for (const std::string& path : {file, dir.file(".Tavlo.ini.lock")}) {
            struct flock whole {};
            whole.l_type = F_RDLCK;
            (void)!::fcntl(::open(path.c_str(), O_RDONLY), F_OFD_SETLK, &whole);
        }
        (void)!::write(fds[1], "1", 1);
        for (;;)
            ::pause();
    }
    ::close(fds[1]);
    char ready = 0;
    ASSERT_EQ(::read(fds[0], &ready, 1), 1);
    ::close(fds[0]);
    tavlo::platform::InstanceLock lock(file);
    EXPECT_TRUE(lock.owns());
    Kill(reader);
}
