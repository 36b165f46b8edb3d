// What the draw engine leaves in the settings file, line by line, and how it
// catches up after writes that failed.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/draw_state.h"
#ifndef _WIN32
#include "platform/durable_file.h"
#endif
#include "engine_test_support.h"
#include "support/scripted_random.h"
#include "support/temp_dir.h"

namespace tavlo {
namespace {

namespace fs = std::filesystem;
using test::FileLines;
using test::ResultLines;
using test::ScriptedRandom;
using test::TempDir;
using Lines = std::vector<std::string>;

const float kBelowOne = std::nextafter(1.0f, 0.0f);

class EngineFileTest : public ::testing::Test {
protected:
    DrawOutcome Draw(float r)
    {
        m_random.Push(r);
        return m_state.DrawNumber();
    }
    // The settings directory becomes a regular file: every write fails.
    void BreakDisk()
    {
        fs::rename(m_settingsDir, m_dir.path() / "saved");
        test::WriteFile(m_settingsDir.string(), "not a directory");
    }
    // The file becomes a folder: it is there but cannot be read or replaced.
    void BreakFile()
    {
        fs::rename(m_path, m_dir.path() / "saved.ini");
        fs::create_directory(m_path);
    }
    void RepairFile()
    {
        fs::remove(m_path);
        fs::rename(m_dir.path() / "saved.ini", m_path);
    }
    // The directory comes back, with the file as it was before the failure or
    // without any file at all.
    void RepairDisk(bool keepOldFile)
    {
        fs::remove(m_settingsDir);
        if (keepOldFile)
            fs::rename(m_dir.path() / "saved", m_settingsDir);
        else
            fs::create_directory(m_settingsDir);
    }
    // The state a fresh start-up reads from the file.
    std::vector<std::int16_t> ReloadedResults()
    {
        SettingsFile file(m_path);
        ScriptedRandom random;
        DrawState state(file, random);
        state.Load();
        return state.Results();
    }

    TempDir m_dir;
    fs::path m_settingsDir = m_dir.path() / "settings";
    std::string m_path = (m_settingsDir / "Tavlo.ini").string();
    SettingsFile m_file{m_path};
    ScriptedRandom m_random;
    DrawState m_state{m_file, m_random};

    void SetUp() override { fs::create_directory(m_settingsDir); }
};

TEST_F(EngineFileTest, LifeCycleFromNoFileToAFreshResultSection)
{
    m_state.Load();
    EXPECT_FALSE(test::FileExists(m_path));

    ASSERT_TRUE(m_state.ApplyRange(1, 100, "001", "100"));
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=001,100"}));

    EXPECT_EQ(Draw(0.0f).number, 1);
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=001,100", "[Result]", "1=1"}));
    EXPECT_EQ(Draw(kBelowOne).number, 100);
    EXPECT_EQ(Draw(0.5f).number, 51);
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=001,100", "[Result]", "1=1", "2=100", "3=51"}));
    // Every line the program writes ends in CR LF.
    const std::string text = test::ReadFile(m_path);
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && text[at - 1] == '\r') << "bare LF at byte " << at;

    // A restart resumes where the drawing stood.
    EXPECT_EQ(ReloadedResults(), (std::vector<std::int16_t>{0, 1, 100, 51}));

    ASSERT_TRUE(m_state.ResetResults());
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=001,100"}));

    EXPECT_EQ(Draw(0.0f).number, 1);
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=001,100", "[Result]", "1=1"}));

    // A widening replaces Range where it stands and leaves Result alone.
    ASSERT_TRUE(m_state.ApplyRange(1, 200, "1", "200"));
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,200", "[Result]", "1=1"}));

    SettingsFile file(m_path);
    ScriptedRandom random;
    DrawState reloaded(file, random);
    reloaded.Load();
    EXPECT_EQ(reloaded.RangeMin(), 1);
    EXPECT_EQ(reloaded.RangeMax(), 200);
    EXPECT_EQ(random.reseeds, 1);
}

TEST_F(EngineFileTest, ClearingPutsTheNextResultSectionAtTheEnd)
{
    test::WriteFile(m_path, "[Result]\r\n1=4\r\n[Condition]\r\nRange=1,9\r\n");
    m_state.Load();
    ASSERT_TRUE(m_state.ResetResults());
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,9"}));
    Draw(kBelowOne);
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,9", "[Result]", "1=9"}));
}

// A hand-edited file may hold Result twice; a clearing that left the second
// would bring its numbers back at the next start.
TEST_F(EngineFileTest, ClearingRemovesEveryResultSection)
{
    test::WriteFile(m_path,
                    "[Condition]\r\nRange=1,30\r\n[Result]\r\n1=3\r\n[Other]\r\nx=1\r\n"
                    "[Result]\r\n2=25\r\n[result]\r\n3=4\r\n");
    m_state.Load();
    ASSERT_TRUE(m_state.ResetResults());
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,30", "[Other]", "x=1"}));
    EXPECT_EQ(ReloadedResults(), (std::vector<std::int16_t>{0}));
}

TEST_F(EngineFileTest, FailedDrawIsReportedAndWrittenBackOnRecovery)
{
    int caughtUp = 0;
    m_state.SetCaughtUpListener([&caughtUp] { ++caughtUp; });
    ASSERT_TRUE(m_state.ApplyRange(1, 50, "1", "50"));
    EXPECT_TRUE(Draw(0.0f).saved);
    EXPECT_TRUE(Draw(0.0f).saved);
    EXPECT_FALSE(m_state.IsFileBehind());

    BreakDisk();
    const DrawOutcome lost1 = Draw(0.0f);
    const DrawOutcome lost2 = Draw(kBelowOne);
    EXPECT_FALSE(lost1.saved);
    EXPECT_FALSE(lost2.saved);
    // The draws stand in memory all the same.
    EXPECT_EQ(lost1.number, 3);
    EXPECT_EQ(lost2.number, 50);
    EXPECT_EQ(m_state.Count(), 4);
    EXPECT_TRUE(m_state.IsFileBehind());

    RepairDisk(true);
    EXPECT_EQ(ResultLines(m_path), (Lines{"1=1", "2=2"}));
    EXPECT_TRUE(Draw(0.0f).saved);
    EXPECT_FALSE(m_state.IsFileBehind());
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,50", "[Result]", "1=1", "2=2", "3=3", "4=50", "5=4"}));
    EXPECT_EQ(ReloadedResults(), m_state.Results());

    // Caught up: the next draw is an ordinary one-key write. Only the
    // recovery was told.
    EXPECT_TRUE(Draw(0.0f).saved);
    EXPECT_EQ(ResultLines(m_path).back(), "6=5");
    EXPECT_EQ(caughtUp, 1);
}

TEST_F(EngineFileTest, LostFileIsRebuiltWholeOnRecovery)
{
    ASSERT_TRUE(m_state.ApplyRange(0, 9, "0", "09"));
    Draw(0.0f);
    BreakDisk();
    EXPECT_FALSE(Draw(0.0f).saved);
    RepairDisk(false);
    EXPECT_TRUE(Draw(0.0f).saved);
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=0,09", "[Result]", "1=0", "2=1", "3=2"}));
}

TEST_F(EngineFileTest, ResetThatFailedIsCarriedByTheNextDraw)
{
    ASSERT_TRUE(m_state.ApplyRange(1, 10, "1", "10"));
    Draw(0.0f);
    Draw(0.0f);
    BreakFile();
    EXPECT_FALSE(m_state.ResetResults());
    EXPECT_EQ(m_state.Count(), 0);
    RepairFile();
    // The old draws must not come back with the first draw after the clearing.
    EXPECT_TRUE(Draw(kBelowOne).saved);
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,10", "[Result]", "1=10"}));
}

TEST_F(EngineFileTest, RangeThatFailedIsCarriedByTheNextReset)
{
    ASSERT_TRUE(m_state.ApplyRange(1, 10, "1", "10"));
    Draw(0.0f);
    BreakDisk();
    EXPECT_FALSE(m_state.ApplyRange(1, 5, "1", "5"));
    EXPECT_EQ(m_state.RangeMax(), 5);
    RepairDisk(true);
    EXPECT_TRUE(m_state.ResetResults());
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,5"}));
}

TEST_F(EngineFileTest, RangeWriteBackKeepsTheResults)
{
    ASSERT_TRUE(m_state.ApplyRange(1, 10, "1", "10"));
    Draw(0.0f);
    BreakDisk();
    EXPECT_FALSE(Draw(0.0f).saved);
    RepairDisk(false);
    EXPECT_TRUE(m_state.ApplyRange(1, 20, "1", "020"));
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,020", "[Result]", "1=1", "2=2"}));
}

TEST_F(EngineFileTest, WriteBackKeepsMissingOrdinalsMissing)
{
    test::WriteFile(m_path, "[Condition]\r\nRange=1,10\r\n[Result]\r\n1=5\r\n3=7\r\n");
    m_state.Load();
    BreakDisk();
    EXPECT_FALSE(Draw(0.0f).saved);
    RepairDisk(false);
    EXPECT_TRUE(Draw(0.0f).saved);
    // A written "2=0" would turn the gap into a draw of 0.
    EXPECT_EQ(ResultLines(m_path), (Lines{"1=5", "3=7", "4=1", "5=2"}));
    EXPECT_EQ(ReloadedResults(), m_state.Results());
}

TEST_F(EngineFileTest, FailureWithoutRecoveryKeepsReporting)
{
    ASSERT_TRUE(m_state.ApplyRange(1, 10, "1", "10"));
    BreakDisk();
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(Draw(0.0f).saved);
    EXPECT_FALSE(m_state.ResetResults());
    EXPECT_FALSE(m_state.ApplyRange(1, 9, "1", "9"));
    EXPECT_TRUE(m_state.IsFileBehind());
    RepairDisk(true);
    EXPECT_TRUE(Draw(0.0f).saved);
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,9", "[Result]", "1=1"}));
}

// A megabyte of junk above the draws: start-up reads the whole section, the
// next draw goes past every ordinal, and the catch-up after a failed write
// keeps the line it did not load.
TEST_F(EngineFileTest, NoWriteReplacesAStoredDraw)
{
    const std::string memo = "memo=" + std::string(1 << 20, 'x');
    test::WriteFile(m_path, "[Condition]\r\nRange=0,999\r\n[Result]\r\n" + memo + "\r\n1=1\r\n2=2\r\n3=3\r\n");
    m_state.Load();
    ASSERT_EQ(m_state.Count(), 3);
    BreakDisk();
    EXPECT_FALSE(Draw(0.0f).saved);
    RepairDisk(true);
    EXPECT_TRUE(Draw(0.0f).saved);
    const Lines lines = ResultLines(m_path);
    EXPECT_TRUE(lines == (Lines{memo, "1=1", "2=2", "3=3", "4=0", "5=4"})) << lines.size() << " lines";
}

// A write that failed half-way may have left a draw of this run cut off
// ("2=3" for 3xx); the catch-up puts it right. What start-up read stays as
// the file has it.
TEST_F(EngineFileTest, CatchUpPutsRightADrawOfThisRun)
{
    test::WriteFile(m_path, "[Condition]\r\nRange=0,999\r\n[Result]\r\n1=7\r\n");
    m_state.Load();
    BreakDisk();
    const int lost = Draw(0.5f).number;
    RepairDisk(false);
    test::WriteFile(m_path, "[Condition]\r\nRange=0,999\r\n[Result]\r\n1=8\r\n2=3\r\n");
    EXPECT_TRUE(Draw(0.0f).saved);
    EXPECT_EQ(ResultLines(m_path), (Lines{"1=8", "2=" + std::to_string(lost), "3=0"}));
}

#ifndef _WIN32
// A range change with clearing reaches the file in one replace: a crash
// leaves the old range with its draws or the new one without them.
TEST_F(EngineFileTest, RangeWithClearingIsOneReplace)
{
    test::WriteFile(m_path, "[Condition]\r\nRange=1,90\r\n[Result]\r\n1=5\r\n[Result]\r\n2=7\r\n");
    m_state.Load();
    static int replaces;
    replaces = 0;
    platform::SetDurableFaultHook([](platform::DurableStep step) {
        replaces += step == platform::DurableStep::Rename ? 1 : 0;
        return false;
    });
    EXPECT_TRUE(m_state.ApplyRange(1, 50, "1", "50", true));
    platform::SetDurableFaultHook(nullptr);
    EXPECT_EQ(replaces, 1);
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=1,50"}));
    EXPECT_EQ(m_state.Count(), 0);
}
#endif

}  // namespace
}  // namespace tavlo
