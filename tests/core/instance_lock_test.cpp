// The one-instance lock of a settings folder across real processes: a second
// holder is refused while the first lives, and a first holder killed with
// SIGKILL leaves no stale lock behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/instance_lock.h"
#include "support/temp_dir.h"

namespace {

// Forks a child that takes the lock and reports through a pipe, then waits to be killed.
pid_t SpawnHolder(const std::string& path, bool& owns)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
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
    const std::string folder = dir.path().string();

    bool firstOwns = false;
    const pid_t first = SpawnHolder(folder, firstOwns);
    ASSERT_GT(first, 0);
    EXPECT_TRUE(firstOwns);
    {
        // The same folder by another path is the same settings file.
        const std::string link = dir.file("link");
        std::filesystem::create_directory_symlink(folder, link);
        tavlo::platform::InstanceLock second(link);
        EXPECT_FALSE(second.owns());
    }

    Kill(first);
    tavlo::platform::InstanceLock third(folder);
    EXPECT_TRUE(third.owns());

    // Another folder holds another settings file: another instance.
    const std::string other = dir.file("other");
    std::filesystem::create_directory(other);
    tavlo::platform::InstanceLock elsewhere(other);
    EXPECT_TRUE(elsewhere.owns());
}
