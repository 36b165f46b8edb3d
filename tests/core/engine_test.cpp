// The draw engine against a settings file in a temporary directory, with
// scripted random values.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "engine_test_support.h"
#include "support/scripted_random.h"
#include "support/temp_dir.h"

namespace tavlo {
namespace {

using test::ReadFile;
using test::ScriptedRandom;
using test::TempDir;
using test::WriteFile;

const float kBelowOne = std::nextafter(1.0f, 0.0f);

class EngineTest : public ::testing::Test {
protected:
    void StartUp(const std::string& fileText)
    {
        WriteFile(m_path, fileText);
        m_state.Load();
    }
    // Draws with r and expects the draw to be saved.
    int Draw(float r)
    {
        m_random.Push(r);
        const DrawOutcome outcome = m_state.DrawNumber();
        EXPECT_TRUE(outcome.saved);
        return outcome.number;
    }
    std::vector<int> FlaggedNumbers() const
    {
        std::vector<int> flagged;
        for (std::size_t x = 0; x < m_state.Drawn().size(); ++x) {
            if (m_state.Drawn()[x])
                flagged.push_back(static_cast<int>(x));
        }
        return flagged;
    }

    TempDir m_dir;
    std::string m_path = m_dir.file("Tavlo.ini");
    SettingsFile m_file{m_path};
    ScriptedRandom m_random;
    DrawState m_state{m_file, m_random};
};

TEST_F(EngineTest, NoFileLeavesRangeUnsetAndNothingDrawn)
{
    m_state.Load();
    EXPECT_EQ(m_state.RangeMin(), -1);
    EXPECT_EQ(m_state.RangeMax(), -1);
    EXPECT_FALSE(m_state.IsRangeValid());
    EXPECT_EQ(m_state.Count(), 0);
    EXPECT_TRUE(m_state.Drawn().empty());
    EXPECT_EQ(m_state.DrawNumber().number, -1);
    EXPECT_EQ(m_state.Count(), 0);
    EXPECT_FALSE(test::FileExists(m_path));
}

struct RangeCase {
    const char* stored;
    int rangeMin;
    int rangeMax;
    bool valid;
};

void PrintTo(const RangeCase& c, std::ostream* out)
{
    *out << "Range=" << c.stored;
}

class LoadRangeTest : public EngineTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(LoadRangeTest, ReadsTheStoredText)
{
    const RangeCase& c = GetParam();
    StartUp(std::string("[Condition]\r\nRange=") + c.stored + "\r\n");
    EXPECT_EQ(m_state.RangeMin(), c.rangeMin);
    EXPECT_EQ(m_state.RangeMax(), c.rangeMax);
    EXPECT_EQ(m_state.IsRangeValid(), c.valid);
    EXPECT_EQ(m_state.Size(), c.valid ? c.rangeMax - c.rangeMin + 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Values, LoadRangeTest,
                         ::testing::Values(RangeCase{"", -1, -1, false}, RangeCase{"1,100", 1, 100, true},
                                           RangeCase{"007,100", 7, 100, true}, RangeCase{"1,100,7", 1, 100, true},
                                           RangeCase{"1,100,junk", 1, 100, true}, RangeCase{"50,10", 50, 10, false},
                                           RangeCase{"-5,10", -5, 10, false}, RangeCase{"7,7", 7, 7, true},
                                           RangeCase{"0,999", 0, 999, true}, RangeCase{" 3 , 9", 3, 9, true},
                                           RangeCase{"+3,4", 3, 4, true},
                                           // A bound beyond the three digits shown is no range, and
                                           // neither is anything short of two readable 16-bit integers.
                                           RangeCase{"0,1000", -1, -1, false}, RangeCase{"1000,2000", -1, -1, false},
                                           RangeCase{"5", -1, -1, false}, RangeCase{"5,", -1, -1, false},
                                           RangeCase{",5", -1, -1, false}, RangeCase{"abc,5", -1, -1, false},
                                           RangeCase{"1,99999", -1, -1, false}, RangeCase{"1,32768", -1, -1, false},
                                           RangeCase{"1.5,9", -1, -1, false}, RangeCase{"1,1e3", -1, -1, false},
                                           RangeCase{"0x10,20", -1, -1, false}, RangeCase{"- 1,5", -1, -1, false}));

// Which number a draw gives, for the range, the numbers drawn before and r.
struct ChoiceCase {
    const char* name;
    const char* range;
    const char* results;  // the Result section's entry lines
    float r;
    int expected;
};

void PrintTo(const ChoiceCase& c, std::ostream* out)
{
    *out << c.name;
}

class DrawChoiceTest : public EngineTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(DrawChoiceTest, TakesTheKthUndrawnNumber)
{
    const ChoiceCase& c = GetParam();
    StartUp(std::string("[Condition]\r\nRange=") + c.range + "\r\n[Result]\r\n" + c.results);
    const int before = m_state.Count();
    EXPECT_EQ(Draw(c.r), c.expected);
    EXPECT_EQ(m_state.Count(), before + 1);
    EXPECT_EQ(m_state.Results().back(), c.expected);
    EXPECT_TRUE(m_state.Drawn()[c.expected]);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DrawChoiceTest,
    ::testing::Values(ChoiceCase{"ZeroGivesSmallest", "1,10", "", 0.0f, 1},
                      ChoiceCase{"BelowOneGivesLargest", "1,10", "", kBelowOne, 10},
                      ChoiceCase{"WideRangeBelowOne", "0,999", "", kBelowOne, 999},
                      ChoiceCase{"WideRangeHalf", "0,999", "", 0.5f, 500},
                      ChoiceCase{"ZeroSkipsDrawnLow", "1,10", "1=1\r\n2=2\r\n", 0.0f, 3},
                      ChoiceCase{"BelowOneSkipsDrawnHigh", "1,10", "1=10\r\n", kBelowOne, 9},
                      ChoiceCase{"MiddleDrawnRJustBelowHalf", "10,12", "1=11\r\n", 0.49999f, 10},
                      ChoiceCase{"MiddleDrawnRHalf", "10,12", "1=11\r\n", 0.5f, 12},
                      ChoiceCase{"MiddleDrawnZero", "10,12", "1=11\r\n", 0.0f, 10},
                      ChoiceCase{"MiddleDrawnBelowOne", "10,12", "1=11\r\n", kBelowOne, 12},
                      ChoiceCase{"SingleNumberZero", "7,7", "", 0.0f, 7},
                      ChoiceCase{"SingleNumberBelowOne", "7,7", "", kBelowOne, 7},
                      ChoiceCase{"LastOneLeft", "0,9",
                                 "1=0\r\n2=1\r\n3=2\r\n4=3\r\n5=4\r\n6=5\r\n7=6\r\n8=7\r\n9=8\r\n", 0.3f, 9},
                      // A source that breaks its promise still cannot leave the range.
                      ChoiceCase{"OneIsClampedToLargest", "1,10", "", 1.0f, 10},
                      ChoiceCase{"NegativeIsClampedToSmallest", "1,10", "", -0.5f, 1}),
    [](const ::testing::TestParamInfo<ChoiceCase>& choice) { return std::string(choice.param.name); });

TEST_F(EngineTest, SingleNumberRangeIsAllDrawnAfterOneDraw)
{
    StartUp("[Condition]\r\nRange=7,7\r\n");
    EXPECT_FALSE(m_state.IsAllDrawn());
    EXPECT_EQ(Draw(0.9f), 7);
    EXPECT_TRUE(m_state.IsAllDrawn());
    EXPECT_EQ(m_state.DrawNumber().number, -1);
    EXPECT_EQ(m_state.Count(), 1);
}

TEST_F(EngineTest, InvalidRangeRefusesToDraw)
{
    StartUp("[Condition]\r\nRange=50,10\r\n");
    EXPECT_FALSE(m_state.IsRangeValid());
    EXPECT_FALSE(m_state.IsAllDrawn());
    EXPECT_EQ(m_state.DrawNumber().number, -1);
    EXPECT_EQ(m_state.Count(), 0);
}

TEST_F(EngineTest, DrawsEveryNumberOnceThenStops)
{
    StartUp("[Condition]\r\nRange=20,29\r\n");
    std::set<int> seen;
    const float script[] = {0.99f, 0.0f, 0.5f, 0.25f, kBelowOne, 0.7f, 0.1f, 0.3f, 0.6f, 0.4f};
    for (const float r : script) {
        ASSERT_FALSE(m_state.IsAllDrawn());
        const int x = Draw(r);
        EXPECT_GE(x, 20);
        EXPECT_LE(x, 29);
        EXPECT_TRUE(seen.insert(x).second) << x << " drawn twice";
    }
    EXPECT_TRUE(m_state.IsAllDrawn());
    EXPECT_EQ(m_state.Count(), 10);
}

TEST_F(EngineTest, LoadedGapsCountAsDrawsButFlagNothing)
{
    StartUp("[Condition]\r\nRange=1,10\r\n[Result]\r\n1=5\r\n3=7\r\n");
    EXPECT_EQ(m_state.Count(), 3);
    EXPECT_EQ(m_state.Results(), (std::vector<std::int16_t>{0, 5, 0, 7}));
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{5, 7}));
    EXPECT_EQ(m_state.Drawn().size(), 11u);
    // The gap counts as a draw but flags nothing: U is the eight clear flags,
    // so every ticket still comes up, 10 the highest.
    EXPECT_EQ(Draw(kBelowOne), 10);
    EXPECT_EQ(m_state.Count(), 4);
    for (const int expected : {1, 2, 3, 4, 6, 8}) {
        ASSERT_FALSE(m_state.IsAllDrawn());
        EXPECT_EQ(Draw(0.0f), expected);
    }
    EXPECT_EQ(Draw(kBelowOne), 9);
    EXPECT_TRUE(m_state.IsAllDrawn());
}

TEST_F(EngineTest, LoadedNumberOutsideTheRangeCountsButIsNotFlagged)
{
    StartUp("[Condition]\r\nRange=1,10\r\n[Result]\r\n1=15\r\n2=-3\r\n");
    EXPECT_EQ(m_state.Count(), 2);
    EXPECT_EQ(m_state.Results(), (std::vector<std::int16_t>{0, 15, -3}));
    EXPECT_TRUE(FlaggedNumbers().empty());
    EXPECT_EQ(m_state.Drawn().size(), 11u);
    // U counts the clear flags, not S - n: all ten tickets are drawn.
    std::set<int> seen;
    while (!m_state.IsAllDrawn())
        seen.insert(Draw(0.5f));
    EXPECT_EQ(seen.size(), 10u);
}

TEST_F(EngineTest, LoadedResultsWithoutRangeAreKeptUnflagged)
{
    StartUp("[Result]\r\n1=4\r\n2=8\r\n");
    EXPECT_EQ(m_state.Count(), 2);
    EXPECT_TRUE(m_state.Drawn().empty());
}

TEST_F(EngineTest, EntryOrderDoesNotMatter)
{
    StartUp("[Condition]\r\nRange=1,10\r\n[Result]\r\n3=9\r\n1=2\r\n2=4\r\n");
    const std::vector<std::int16_t> shuffled = m_state.Results();
    const std::vector<bool> shuffledFlags = m_state.Drawn();
    StartUp("[Condition]\r\nRange=1,10\r\n[Result]\r\n1=2\r\n2=4\r\n3=9\r\n");
    EXPECT_EQ(shuffled, m_state.Results());
    EXPECT_EQ(shuffledFlags, m_state.Drawn());
    EXPECT_EQ(shuffled, (std::vector<std::int16_t>{0, 2, 4, 9}));
}

TEST_F(EngineTest, KeyZeroFillsElementZeroAndFlagsItsNumber)
{
    StartUp("[Condition]\r\nRange=1,10\r\n[Result]\r\n0=4\r\n1=6\r\n");
    EXPECT_EQ(m_state.Count(), 1);
    EXPECT_EQ(m_state.Results(), (std::vector<std::int16_t>{4, 6}));
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{4, 6}));
}

TEST_F(EngineTest, DuplicateKeyKeepsLaterValueAndFlagsBoth)
{
    StartUp("[Condition]\r\nRange=1,10\r\n[Result]\r\n1=3\r\n1=8\r\n");
    EXPECT_EQ(m_state.Count(), 1);
    EXPECT_EQ(m_state.Results(), (std::vector<std::int16_t>{0, 8}));
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{3, 8}));
}

TEST_F(EngineTest, ValueWithCommentReadsAsTheNumber)
{
    StartUp("[Condition]\r\nRange=1,20\r\n[Result]\r\n1=3\r\n2=12 ; note\r\n");
    EXPECT_EQ(m_state.Results(), (std::vector<std::int16_t>{0, 3, 12}));
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{3, 12}));
}

// More flags than draws: the walk must still end on an undrawn number of the
// range, and the drawing ends when the clear flags run out, not when n says.
TEST_F(EngineTest, MoreFlagsThanDrawsNeverRepeatsOrLeavesTheRange)
{
    StartUp("[Condition]\r\nRange=1,5\r\n[Result]\r\n0=1\r\n1=3\r\n1=5\r\n");
    EXPECT_EQ(m_state.Count(), 1);
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{1, 3, 5}));
    std::set<int> drawn;
    while (!m_state.IsAllDrawn()) {
        const int x = Draw(kBelowOne);
        EXPECT_TRUE(x == 2 || x == 4) << x;
        EXPECT_TRUE(drawn.insert(x).second);
    }
    EXPECT_EQ(drawn.size(), 2u);
    EXPECT_EQ(m_state.DrawNumber().number, -1);
}

TEST_F(EngineTest, UnreadableEntriesAreSkipped)
{
    StartUp(
        "[Condition]\r\nRange=1,10\r\n[Result]\r\n"
        "1=4\r\n"
        "x=5\r\n"      // key not a number
        "2=abc\r\n"    // value not a number
        "-1=6\r\n"     // negative key
        "40000=7\r\n"  // key out of range
        "3=70000\r\n"  // value out of range
        "4\r\n"        // no value at all
        "=8\r\n"       // no key
        "2= 9 \r\n");  // blanks around a number are fine
    // Ordinals 3 and 4 hold no readable number but still count, so the next
    // draw writes past them.
    EXPECT_EQ(m_state.Results(), (std::vector<std::int16_t>{0, 4, 9, 0, 0}));
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{4, 9}));
}

TEST_F(EngineTest, HighestOrdinalSetsTheCount)
{
    StartUp("[Condition]\r\nRange=0,999\r\n[Result]\r\n1=1\r\n2=2\r\n5=5\r\n");
    EXPECT_EQ(m_state.Count(), 5);
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{1, 2, 5}));  // gap zeros are not flags
    Draw(0.0f);
    EXPECT_EQ(test::ResultLines(m_path).back(), "6=0");
}

TEST_F(EngineTest, LargestOrdinalEndsTheDrawing)
{
    StartUp("[Condition]\r\nRange=0,999\r\n[Result]\r\n32767=1\r\n");
    EXPECT_EQ(m_state.Count(), 32767);
    EXPECT_TRUE(m_state.IsAllDrawn());
    EXPECT_EQ(m_state.DrawNumber().number, -1);
}

TEST_F(EngineTest, WideningWithoutResetKeepsFlagsAndCount)
{
    StartUp("[Condition]\r\nRange=1,10\r\n");
    const int first[] = {Draw(0.0f), Draw(kBelowOne), Draw(0.5f), Draw(0.2f)};
    EXPECT_EQ(first[0], 1);
    EXPECT_EQ(first[1], 10);
    const std::vector<bool> before = m_state.Drawn();

    ASSERT_TRUE(m_state.ApplyRange(1, 20, "1", "20"));
    EXPECT_EQ(m_random.reseeds, 2);  // at start-up and for the new range
    ASSERT_EQ(m_state.Drawn().size(), 21u);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), m_state.Drawn().begin()));
    for (int x = 11; x <= 20; ++x)
        EXPECT_FALSE(m_state.Drawn()[x]) << x;
    EXPECT_EQ(m_state.Count(), 4);
    // U = 16: sixteen more draws, then the range is used up.
    EXPECT_EQ(Draw(kBelowOne), 20);
    for (int i = 0; i < 15; ++i) {
        ASSERT_FALSE(m_state.IsAllDrawn()) << i;
        Draw(0.5f);
    }
    EXPECT_TRUE(m_state.IsAllDrawn());
    std::set<int> seen(m_state.Results().begin() + 1, m_state.Results().end());
    EXPECT_EQ(seen.size(), 20u);
}

TEST_F(EngineTest, NarrowingDropsFlagsAboveTheNewTop)
{
    StartUp("[Condition]\r\nRange=1,10\r\n[Result]\r\n1=3\r\n2=9\r\n");
    m_state.ApplyRange(1, 5, "1", "5");
    EXPECT_EQ(m_state.Drawn().size(), 6u);
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{3}));
}

// A stored number above the range carries no flag; a widening that takes it
// in must flag it, or the raffle could draw it a second time.
TEST_F(EngineTest, WideningOverAStoredNumberNeverDrawsItAgain)
{
    StartUp("[Condition]\r\nRange=1,10\r\n[Result]\r\n1=15\r\n3=4\r\n");
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{4}));
    ASSERT_TRUE(m_state.ApplyRange(0, 20, "0", "20"));
    // 15 is flagged; the gap at ordinal 2 does not flag 0.
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{4, 15}));
    std::set<int> seen;
    while (!m_state.IsAllDrawn()) {
        const int x = Draw(0.37f);
        EXPECT_NE(x, 15);
        EXPECT_NE(x, 4);
        EXPECT_TRUE(seen.insert(x).second) << x;
    }
    // Every number of 0..20 but the two stored ones, 0 included: the gap at
    // ordinal 2 counts as a draw but takes no ticket.
    EXPECT_EQ(seen.size(), 19u);
}

// The same ordinal twice: start-up flags both numbers, so a widening that
// takes in the overwritten one must flag it too.
TEST_F(EngineTest, WideningOverAnOverwrittenStoredNumberFlagsIt)
{
    StartUp("[Condition]\r\nRange=1,10\r\n[Result]\r\n1=15\r\n1=4\r\n");
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{4}));
    ASSERT_TRUE(m_state.ApplyRange(1, 20, "1", "20"));
    EXPECT_EQ(FlaggedNumbers(), (std::vector<int>{4, 15}));
    // A reset forgets it with everything else.
    ASSERT_TRUE(m_state.ResetResults());
    EXPECT_TRUE(FlaggedNumbers().empty());
}

TEST_F(EngineTest, ResetForgetsEveryDrawAndTheSection)
{
    StartUp("[Condition]\r\nRange=1,20\r\n[Result]\r\n1=3\r\n0=9\r\n");
    Draw(0.0f);
    ASSERT_TRUE(m_state.ResetResults());
    EXPECT_EQ(m_state.Count(), 0);
    EXPECT_EQ(m_state.Results(), (std::vector<std::int16_t>{0}));
    EXPECT_EQ(m_state.Drawn(), std::vector<bool>(21, false));
    EXPECT_EQ(ReadFile(m_path).find("[Result]"), std::string::npos);
    EXPECT_EQ(test::ResultLines(m_path), std::vector<std::string>{});

    EXPECT_EQ(Draw(0.0f), 1);
    EXPECT_EQ(test::ResultLines(m_path), (std::vector<std::string>{"1=1"}));
}

TEST_F(EngineTest, ResetWithoutRangeKeepsTheFlags)
{
    StartUp("[Result]\r\n1=3\r\n");
    ASSERT_TRUE(m_state.ResetResults());
    EXPECT_EQ(m_state.Count(), 0);
    EXPECT_TRUE(m_state.Drawn().empty());
}

}  // namespace
}  // namespace tavlo
