// Hand-edited and damaged settings files: start-up must complete, and every
// draw that follows must give a number of the range that was never drawn.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "engine_test_support.h"
#include "platform/random_source.h"
#include "support/temp_dir.h"

namespace tavlo {
namespace {

namespace fs = std::filesystem;

// A range so wide that drawing it out would take long: this many draws show enough.
constexpr int kDrawLimit = 400;

void LoadAndDrawOut(const std::string& bytes)
{
    const test::TempDir dir;
    const std::string path = dir.file("Tavlo.ini");
    test::WriteFile(path, bytes);
    SettingsFile file(path);
    platform::SystemRandomSource random;
    DrawState state(file, random);
    state.Load();
    if (!state.IsRangeValid()) {
        // What the condition dialog does for a range that reads as not set.
        ASSERT_TRUE(state.ApplyRange(0, 59, "0", "59"));
    }
    ASSERT_TRUE(state.IsRangeValid());

    // Everything recorded before: the flags, and every non-zero stored number
    // (a zero may be no more than a missing ordinal).
    std::set<int> before;
    for (const std::int16_t x : state.Results()) {
        if (x != 0)
            before.insert(x);
    }
    for (std::size_t x = 0; x < state.Drawn().size(); ++x) {
        if (state.Drawn()[x])
            before.insert(static_cast<int>(x));
    }

    const int low = state.RangeMin();
    const int high = state.RangeMax();
    std::set<int> drawn;
    int draws = 0;
    while (!state.IsAllDrawn() && draws < kDrawLimit) {
        const int countBefore = state.Count();
        const DrawOutcome outcome = state.DrawNumber();
        ++draws;
        ASSERT_TRUE(outcome.saved);
        ASSERT_GE(outcome.number, low);
        ASSERT_LE(outcome.number, high);
        ASSERT_EQ(before.count(outcome.number), 0u) << outcome.number << " was drawn before";
        ASSERT_TRUE(drawn.insert(outcome.number).second) << outcome.number << " drawn twice";
        ASSERT_EQ(state.Count(), countBefore + 1);
    }
    if (draws < kDrawLimit) {
        // Ended as all drawn: by the count, or with every number of the range used.
        const bool rangeUsedUp =
            std::all_of(state.Drawn().begin() + low, state.Drawn().begin() + high + 1, [](bool flag) { return flag; });
        EXPECT_TRUE(state.Count() >= state.Size() || rangeUsedUp);
        EXPECT_EQ(state.DrawNumber().number, -1);
    }

    // A restart on the file the draws left behind goes on where the drawing
    // stood: the writes into the damaged file read back as they were made.
    SettingsFile again(path);
    platform::SystemRandomSource random2;
    DrawState restarted(again, random2);
    restarted.Load();
    EXPECT_EQ(restarted.RangeMin(), state.RangeMin());
    EXPECT_EQ(restarted.RangeMax(), state.RangeMax());
    EXPECT_EQ(restarted.Results(), state.Results());
    EXPECT_EQ(restarted.Drawn(), state.Drawn());
}

TEST(EngineMalformedTest, EveryCorpusFileLoadsAndDrawsSoundly)
{
    const char* data = std::getenv("TAVLO_TEST_DATA");
    ASSERT_NE(data, nullptr) << "TAVLO_TEST_DATA is not set";
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(data) / "malformed")) {
        if (entry.path().extension() == ".ini")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 20u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        LoadAndDrawOut(test::ReadFile(file.string()));
    }
}

TEST(EngineMalformedTest, HundredThousandResultLines)
{
    std::string text = "[Condition]\r\nRange=0,999\r\n[Result]\r\n";
    for (int i = 1; i <= 100000; ++i)
        text += std::to_string(i) + "=" + std::to_string(i * 7919 % 1000) + "\r\n";
    LoadAndDrawOut(text);
}

TEST(EngineMalformedTest, HundredThousandJunkLinesBeforeTheState)
{
    std::string text = "[Junk]\r\n";
    for (int i = 0; i < 100000; ++i)
        text += (i % 3 == 0 ? "; comment " : i % 3 == 1 ? "x" : "[") + std::to_string(i) + "\r\n";
    text += "[Condition]\r\nRange=1,12\r\n[Result]\r\n1=7\r\n2=12\r\n";
    LoadAndDrawOut(text);
}

TEST(EngineMalformedTest, HundredThousandUnreadableResultLines)
{
    std::string text = "[Condition]\r\nRange=1,40\r\n[Result]\r\n";
    for (int i = 0; i < 100000; ++i)
        text += "k" + std::to_string(i) + "=v\r\n";
    LoadAndDrawOut(text);
}

TEST(EngineMalformedTest, MegabyteLines)
{
    const std::string digits(1 << 20, '9');
    LoadAndDrawOut("[Condition]\r\nRange=" + digits + ",5\r\n[Result]\r\n1=" + digits + "\r\n" + digits + "=3\r\n");
    LoadAndDrawOut("[Condition]\r\nRange=1,5" + std::string(1 << 20, ' ') + "\r\n");
}

}  // namespace
}  // namespace tavlo
