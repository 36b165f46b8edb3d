// Kills a drawing process at random moments and checks that the settings file
// always holds exactly the draws that completed (or those and the one in
// flight), readable and without a number twice.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "settings/profile.h"
#include "support/temp_dir.h"

namespace tavlo {
namespace {

constexpr int kRuns = 200;

std::optional<int> ReadInt(const std::string& text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The numbers of the file's Result section, by ordinal from 1. Fails the test
// when the section is not a clean run of ordinals 1..n with numbers of 0..999,
// so it reads the raw text, which the settings file's reads would forgive.
std::vector<int> ReadDraws(const std::string& path)
{
    std::vector<int> draws;
    const std::optional<SectionList> list = ReadProfileSection("Result", path);
    if (!list)
        return draws;
    EXPECT_EQ(list->size() % 2, 0u);
    for (std::size_t i = 0; i + 1 < list->size(); i += 2) {
        const std::optional<int> ordinal = ReadInt((*list)[i]);
        const std::optional<int> number = ReadInt((*list)[i + 1]);
        EXPECT_TRUE(ordinal && *ordinal == static_cast<int>(draws.size()) + 1)
            << "entry " << (*list)[i] << "=" << (*list)[i + 1];
        EXPECT_TRUE(number && *number >= 0 && *number <= 999) << (*list)[i + 1];
        draws.push_back(number.value_or(-1));
    }
    EXPECT_EQ(ReadProfileString("Condition", "Range", "", path), "0,999");
    return draws;
}

struct RunOutput {
    std::string text;
    bool killed = false;
};

// Starts the driver and kills it after `delay`, unless it ends first.
RunOutput RunAndKill(const std::string& directory, std::chrono::microseconds delay)
{
    RunOutput output;
    int fds[2];
    if (::pipe(fds) != 0) {
        ADD_FAILURE() << "pipe failed";
        return output;
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::close(fds[0]);
        ::close(fds[1]);
        ::execl(TAVLO_DURABILITY_DRIVER, TAVLO_DURABILITY_DRIVER, directory.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        ADD_FAILURE() << "fork failed";
        return output;
    }

    const auto deadline = std::chrono::steady_clock::now() + delay;
    bool open = true;
    char buffer[4096];
    while (open) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 && !output.killed) {
            ::kill(pid, SIGKILL);
            output.killed = true;
        }
        pollfd entry{fds[0], POLLIN, 0};
        const int timeout = output.killed ? -1 : static_cast<int>((left.count() + 999) / 1000);
        if (::poll(&entry, 1, timeout) <= 0)
            continue;
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n > 0)
            output.text.append(buffer, static_cast<std::size_t>(n));
        else
            open = false;
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!output.killed || !WIFSIGNALED(status)) {
        output.killed = false;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "driver status " << status;
    }
    return output;
}

// The complete "<ordinal> <number>" lines; a line cut by the kill is left out.
std::vector<std::pair<int, int>> ReportedDraws(const std::string& text)
{
    std::vector<std::pair<int, int>> draws;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; start = end + 1, end = text.find('\n', start)) {
        const std::string line = text.substr(start, end - start);
        const std::size_t space = line.find(' ');
        const std::optional<int> ordinal = ReadInt(line.substr(0, space));
        const std::optional<int> number = space == std::string::npos ? std::nullopt : ReadInt(line.substr(space + 1));
        EXPECT_TRUE(ordinal && number) << "driver printed: " << line;
        draws.emplace_back(ordinal.value_or(-1), number.value_or(-1));
    }
    return draws;
}

TEST(DurabilityTest, KilledDrawingsLeaveExactlyTheCompletedDraws)
{
    const test::TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    std::mt19937 random(std::random_device{}());
    // Most kills come early in a run, where the program reads and writes its
    // first draws; some let a run go on for dozens of draws.
    std::uniform_int_distribution<int> shortDelay(0, 10000);
    std::uniform_int_distribution<int> longDelay(0, 150000);
    int killed = 0;
    int inFlight = 0;
    std::size_t completed = 0;
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        std::vector<int> before = ReadDraws(path);
        if (before.size() == 1000) {
            std::filesystem::remove(path);
            before.clear();
        }
        const int delay = run % 2 == 0 ? shortDelay(random) : longDelay(random);
        const RunOutput output = RunAndKill(dir.path().string(), std::chrono::microseconds(delay));
        killed += output.killed ? 1 : 0;
        const std::vector<std::pair<int, int>> reported = ReportedDraws(output.text);
        completed += reported.size();
        const std::vector<int> after = ReadDraws(path);

        ASSERT_GE(after.size(), before.size() + reported.size());
        ASSERT_LE(after.size(), before.size() + reported.size() + 1);
        if (after.size() > before.size() + reported.size())
            ++inFlight;
        if (!output.killed) {
            ASSERT_EQ(after.size(), 1000u);
        }
        for (std::size_t i = 0; i < before.size(); ++i)
            ASSERT_EQ(after[i], before[i]) << "earlier draw " << i + 1 << " changed";
        for (std::size_t i = 0; i < reported.size(); ++i) {
            const std::size_t ordinal = before.size() + i + 1;
            ASSERT_EQ(reported[i].first, static_cast<int>(ordinal));
            ASSERT_EQ(reported[i].second, after[ordinal - 1]);
        }
        const std::set<int> distinct(after.begin(), after.end());
        ASSERT_EQ(distinct.size(), after.size()) << "a number drawn twice";
    }
    std::printf("%d of %d runs killed, %zu draws completed, %d kills with a draw in flight\n", killed, kRuns, completed,
                inFlight);
}

}  // namespace
}  // namespace tavlo
