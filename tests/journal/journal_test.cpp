// The journal of a drawing: asked for by its file alone, chained line by line,
// and never in the way of a draw.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/draw_state.h"
#include "journal/journal.h"
#include "support/scripted_random.h"
#include "support/temp_dir.h"

namespace tavlo {
namespace {

using test::ReadFile;
using test::WriteFile;

class JournalTest : public ::testing::Test {
protected:
    // One run of the program: start-up, `work`, the end.
    template <typename Work>
    void Run(Work work)
    {
        SettingsFile file(m_ini);
        test::ScriptedRandom random;
        DrawState state(file, random);
        std::unique_ptr<Journal> journal = Journal::IfAsked(m_log, m_ini, m_log);
        state.SetLog(journal.get());
        state.Load();
        work(state);
        m_failure = state.TakeLogFailure();
        m_secondFailure = state.TakeLogFailure();
    }

    // The journal split at each line end (CR LF on Windows): "" last when
    // the last line ended.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines{""};
        for (const char c : ReadFile(m_log)) {
            if (c == '\n')
                lines.emplace_back();
            else if (c != '\r')
                lines.back() += c;
        }
        return lines;
    }

    // The event and the fields of a line, without its number, time and hashes.
    static std::string Event(const std::string& line)
    {
        const auto event = line.find(' ', line.find(' ') + 1) + 1;
        return line.substr(event, line.find(" prev=") - event);
    }

    test::TempDir m_dir;
    std::string m_ini = m_dir.file("Tavlo.ini");
    std::string m_log = m_dir.file("Tavlo.log");
    std::optional<std::string> m_failure;
    std::optional<std::string> m_secondFailure;
};

TEST_F(JournalTest, NoFileNoJournal)
{
    Run([](DrawState& state) {
        state.ApplyRange(1, 9, "1", "9");
        state.DrawNumber();
    });
    EXPECT_FALSE(test::FileExists(m_log));
    EXPECT_FALSE(m_failure);
}

// Each line follows the one before it: its "prev" is that line's hash, and
// a run's OPEN names the settings file its CLOSE left.
TEST_F(JournalTest, ARunWithDrawsAClearingAndARestart)
{
    WriteFile(m_log, "");
    Run([](DrawState& state) {
        state.ApplyRange(1, 9, "1", "9");
        state.DrawNumber();
        state.DrawNumber();
        state.ResetResults();
        state.DrawNumber();
    });
    Run([](DrawState& state) { state.DrawNumber(); });

    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines.back(), "");  // every line ends
    std::vector<std::string> events;
    std::string previous(64, '0');
    for (std::size_t k = 0; k + 1 < lines.size(); ++k) {
        const std::string& line = lines[k];
        EXPECT_EQ(line.substr(0, line.find(' ')), std::to_string(k + 1));
        EXPECT_NE(line.find(" prev=" + previous + " hash="), std::string::npos) << line;
        EXPECT_EQ(journal::Sha256Hex(line.substr(0, line.rfind(" hash="))), line.substr(line.rfind('=') + 1));
        previous = line.substr(line.rfind('=') + 1);
        events.push_back(Event(line));
    }
    EXPECT_EQ(events[0], "OPEN version=1.0 from=-1 to=-1 draws=0 ini=missing");
    EXPECT_EQ(events[1], "RANGE from=1 to=9 stored=yes");
    EXPECT_EQ(events[2], "DRAW ordinal=1 number=1 stored=yes");
    EXPECT_EQ(events[3], "DRAW ordinal=2 number=2 stored=yes");
    EXPECT_EQ(events[4], "CLEAR forgotten=2 stored=yes");
    EXPECT_EQ(events[5], "DRAW ordinal=1 number=1 stored=yes");
    EXPECT_EQ(events[6].substr(0, 10), "CLOSE ini=");
    EXPECT_EQ(events[7].substr(0, events[7].find(" ini=")), "OPEN version=1.0 from=1 to=9 draws=1");
    EXPECT_EQ(events[6].substr(events[6].find("ini=")), events[7].substr(events[7].find("ini=")));
    EXPECT_EQ(events[8], "DRAW ordinal=2 number=2 stored=yes");
    EXPECT_EQ(events[9], "CLOSE ini=" + journal::Sha256Hex(ReadFile(m_ini)));
    EXPECT_FALSE(m_failure);
}

// A line cut by a crash stays as it is; the next line chains from the whole
// line before it and says that one was torn.
TEST_F(JournalTest, TornLastLine)
{
    WriteFile(m_log, "");
    Run([](DrawState& state) { state.ApplyRange(1, 9, "1", "9"); });
    const std::string whole = Lines()[2];
    WriteFile(m_log, ReadFile(m_log) + "4 2026-12-08T10:00:00+09:00 DRA");
    Run([](DrawState& state) { state.DrawNumber(); });

    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[3], "4 2026-12-08T10:00:00+09:00 DRA");
    EXPECT_EQ(lines[4].substr(0, 2), "4 ");
    EXPECT_NE(lines[4].find(" torn=1 prev=" + whole.substr(whole.rfind('=') + 1)), std::string::npos) << lines[4];
    EXPECT_EQ(lines[5].find("torn"), std::string::npos);
    EXPECT_FALSE(m_failure);
}

// A journal that cannot be written (here a folder in its place) keeps no
// draw from being made and stored, and is reported once.
TEST_F(JournalTest, UnwritableJournalNeverStopsADraw)
{
    std::filesystem::create_directory(m_log);
    Run([](DrawState& state) {
        state.ApplyRange(1, 9, "1", "9");
        EXPECT_TRUE(state.DrawNumber().saved);
    });
    EXPECT_EQ(ReadFile(m_ini), "[Condition]\r\nRange=1,9\r\n[Result]\r\n1=1\r\n");
    EXPECT_EQ(m_failure, m_log);
    EXPECT_FALSE(m_secondFailure);
}

}  // namespace
}  // namespace tavlo
