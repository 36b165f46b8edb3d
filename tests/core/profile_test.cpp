#include "settings/profile.h"

#include "platform/executable_dir.h"
#include "platform/ini_document.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace tavlo {
namespace {

using test::FileExists;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

const std::string kSep(1, platform::kPathSeparator);

// Shows NUL and line ends readably in test names and messages.
std::string Visible(const std::string& text)
{
    std::string shown;
    for (const char c : text) {
        if (c == '\0')
            shown += "\\0";
        else if (c == '\r')
            shown += "\\r";
        else if (c == '\n')
            shown += "\\n";
        else
            shown += c;
    }
    return shown;
}

// --- JoinPath, GetProfilePath, TrimAtNull -----------------------------------

struct JoinCase {
    std::string directory;
    std::string expected;
};

void PrintTo(const JoinCase& value, std::ostream* out)
{
    *out << (value.directory.empty() ? "(empty)" : value.directory);
}

class JoinPathTest : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinPathTest, PutsExactlyOneSeparator)
{
    EXPECT_EQ(JoinPath(GetParam().directory, "Tavlo.ini"), GetParam().expected);
}

const char kOtherSep = platform::kPathSeparator == '/' ? '\\' : '/';

INSTANTIATE_TEST_SUITE_P(
    Directories, JoinPathTest,
    testing::Values(JoinCase{"dir", "dir" + kSep + "Tavlo.ini"}, JoinCase{"dir" + kSep, "dir" + kSep + "Tavlo.ini"},
                    JoinCase{kSep, kSep + "Tavlo.ini"}, JoinCase{"", kSep + "Tavlo.ini"},
                    // Only the platform's own separator counts.
                    JoinCase{std::string("dir") + kOtherSep, std::string("dir") + kOtherSep + kSep + "Tavlo.ini"}));

TEST(GetProfilePathTest, NamesTavloIniBesideTheExecutable)
{
    EXPECT_EQ(GetProfilePath(), JoinPath(platform::ExecutableDirectory(), "Tavlo.ini"));
}

struct TrimCase {
    std::string text;
    std::string terminator;
    std::string expected;
};

void PrintTo(const TrimCase& value, std::ostream* out)
{
    *out << (value.text.empty() ? "(empty)" : Visible(value.text)) << " at " << Visible(value.terminator);
}

class TrimAtNullTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimAtNullTest, CutsAtTheFirstTerminator)
{
    EXPECT_EQ(TrimAtNull(GetParam().text, GetParam().terminator), GetParam().expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(Texts, TrimAtNullTest,
                         testing::Values(TrimCase{"abc", "\0"s, "abc"},      // no terminator
                                         TrimCase{"\0abc"s, "\0"s, ""},      // at position 1
                                         TrimCase{"ab\0c\0"s, "\0"s, "ab"},  // the first one
                                         TrimCase{"", "\0"s, ""},
                                         TrimCase{"a\0b\0\0c"s, "\0\0"s, "a\0b"s},  // a pair, not one
                                         TrimCase{"a\0b\0"s, "\0\0"s, "a\0b\0"s}));

// --- Reading ------------------------------------------------------------------

class ProfileFileTest : public testing::Test {
private:
    TempDir m_dir;  // first: m_path is made from it

protected:
    const std::string m_path = m_dir.file("Tavlo.ini");
};

TEST_F(ProfileFileTest, ReadStringGivesTheDefaultWithoutFileSectionOrKey)
{
    EXPECT_EQ(ReadProfileString("Condition", "Range", "none", m_path), "none");
    WriteFile(m_path, "[Condition]\r\nOther=1\r\n[Result]\r\n1=5\r\n");
    EXPECT_EQ(ReadProfileString("Condition", "Range", "none", m_path), "none");
    EXPECT_EQ(ReadProfileString("Missing", "1", "none", m_path), "none");
    EXPECT_EQ(ReadProfileString("result", "1", "none", m_path), "5");
}

TEST_F(ProfileFileTest, ReadStringGivesAnEmptyValueNotTheDefault)
{
    WriteFile(m_path, "[Condition]\r\nRange=\r\n");
    EXPECT_EQ(ReadProfileString("Condition", "Range", "none", m_path), "");
}

TEST_F(ProfileFileTest, ReadStringCutsALongValueTo2047Bytes)
{
    const std::string value(5000, 'x');
    WriteFile(m_path, "[s]\r\nk=" + value + "\r\n");
    EXPECT_EQ(ReadProfileString("s", "k", "", m_path), value.substr(0, 2047));
}

TEST_F(ProfileFileTest, ReadSectionIsNullForMissingOrEmptySections)
{
    EXPECT_FALSE(ReadProfileSection("Result", m_path).has_value()) << "no file";
    WriteFile(m_path, "[Condition]\r\nRange=1,9\r\n[Result]\r\n\r\n; nothing yet\r\n[Other]\r\nx=1\r\n");
    EXPECT_FALSE(ReadProfileSection("Missing", m_path).has_value());
    EXPECT_FALSE(ReadProfileSection("Result", m_path).has_value()) << "header, blank and comment only";
}

TEST_F(ProfileFileTest, ReadSectionArrivesWholeWhateverItsSize)
{
    std::string text = "[Result]\r\nmemo=" + std::string(40000, 'x') + "\r\n";
    for (int k = 1; k <= 20000; ++k)
        text += std::to_string(k) + "=" + std::to_string(k % 1000) + "\r\n";
    WriteFile(m_path, text);
    const auto list = ReadProfileSection("Result", m_path);
    ASSERT_TRUE(list.has_value());
    ASSERT_EQ(list->size(), 40002u);
    EXPECT_EQ((*list)[1].size(), 40000u);
    EXPECT_EQ(list->back(), "0");
}

TEST_F(ProfileFileTest, ReadSectionListsKeysAndValuesInFileOrder)
{
    WriteFile(m_path, "[Result]\r\n3=30\r\n1=10\r\n[Other]\r\n9=90\r\n[RESULT]\r\n2=20\r\n");
    const auto list = ReadProfileSection("result", m_path);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(*list, (SectionList{"3", "30", "1", "10"}));
}

struct SplitCase {
    std::string line;
    std::string key;
    std::string value;
};

void PrintTo(const SplitCase& value, std::ostream* out)
{
    *out << value.line;
}

class ReadSectionSplitTest : public testing::TestWithParam<SplitCase> {
protected:
    TempDir m_dir;
};

TEST_P(ReadSectionSplitTest, SplitsTheEntryLine)
{
    const std::string path = m_dir.file("t.ini");
    WriteFile(path, "[s]\r\n" + GetParam().line + "\r\n");
    const auto list = ReadProfileSection("s", path);
    ASSERT_TRUE(list.has_value());
    EXPECT_EQ(*list, (SectionList{GetParam().key, GetParam().value}));
}

INSTANTIATE_TEST_SUITE_P(Lines, ReadSectionSplitTest,
                         testing::Values(SplitCase{"abc", "abc", ""},        // no "=": the whole line is the key
                                         SplitCase{"=5", "", "5"},           // empty key
                                         SplitCase{"a=b=c", "a", "b=c"},     // later "=" stay in the value
                                         SplitCase{"k=v ; c", "k", "v"},     // comment and the spaces before it go
                                         SplitCase{"k=v\t; c", "k", "v\t"},  // only spaces are removed
                                         SplitCase{"k=;c", "k", ""},
                                         SplitCase{"k;x=v", "k", ""},  // ";" in the key drops the value
                                         SplitCase{"k  ;x=v;y", "k", ""}, SplitCase{"k=a;b;c", "k", "a"},
                                         SplitCase{"12=345", "12", "345"}));

// --- Writing in place -----------------------------------------------------------

// A file as a user might have touched it: own sections, comments, blank lines,
// odd spacing and a line without "=".
const std::string kUserFile =
    "; Tavlo settings\r\n"
    "\r\n"
    "[Condition]\r\n"
    "  Range = 1,100  \r\n"
    "Note\r\n"
    "\r\n"
    "; results below\r\n"
    "[Result]\r\n"
    "1=57\r\n"
    "2=3\r\n"
    "\r\n"
    ";   trailing comment\r\n"
    "[Mine]\r\n"
    "colour = \"blue\"\r\n";

TEST_F(ProfileFileTest, ChangingAValueTouchesOnlyItsLine)
{
    WriteFile(m_path, kUserFile);
    ASSERT_TRUE(WriteProfileString("condition", "RANGE", "7,20", m_path));
    std::string expected = kUserFile;
    expected.replace(expected.find("  Range = 1,100  "), 17, "Range=7,20");
    EXPECT_EQ(ReadFile(m_path), expected);
    EXPECT_EQ(ReadProfileString("Condition", "Range", "", m_path), "7,20");
}

TEST_F(ProfileFileTest, NewKeyGoesRightAfterTheSectionsLastEntry)
{
    WriteFile(m_path, kUserFile);
    ASSERT_TRUE(WriteProfileString("Result", "3", "88", m_path));
    std::string expected = kUserFile;
    expected.insert(expected.find("2=3\r\n") + 5, "3=88\r\n");
    EXPECT_EQ(ReadFile(m_path), expected);
}

TEST_F(ProfileFileTest, NewSectionGoesAtTheEnd)
{
    WriteFile(m_path, kUserFile);
    ASSERT_TRUE(WriteProfileString("Extra", "a", "b", m_path));
    EXPECT_EQ(ReadFile(m_path), kUserFile + "[Extra]\r\na=b\r\n");

    // A last line without a line end gets one before the new section.
    WriteFile(m_path, "[s]\r\nk=v");
    ASSERT_TRUE(WriteProfileString("Result", "1", "5", m_path));
    EXPECT_EQ(ReadFile(m_path), "[s]\r\nk=v\r\n[Result]\r\n1=5\r\n");
}

TEST_F(ProfileFileTest, ReplacedLastLineWithoutLineEndGetsCrLf)
{
    WriteFile(m_path, "[s]\r\nk=v");
    ASSERT_TRUE(WriteProfileString("s", "k", "w", m_path));
    EXPECT_EQ(ReadFile(m_path), "[s]\r\nk=w\r\n");
}

TEST_F(ProfileFileTest, WritesIntoTheFirstOfTwoEqualSections)
{
    WriteFile(m_path, "[Result]\r\n1=5\r\n[Other]\r\n[result]\r\n1=6\r\n");
    ASSERT_TRUE(WriteProfileString("Result", "2", "7", m_path));
    EXPECT_EQ(ReadFile(m_path), "[Result]\r\n1=5\r\n2=7\r\n[Other]\r\n[result]\r\n1=6\r\n");
}

TEST_F(ProfileFileTest, LfOnlyLinesKeepTheirLineEnds)
{
    WriteFile(m_path, "[Condition]\nRange=1,9\n[Result]\n1=4\n");
    ASSERT_TRUE(WriteProfileString("Condition", "Range", "2,9", m_path));
    ASSERT_TRUE(WriteProfileString("Result", "2", "8", m_path));
    EXPECT_EQ(ReadFile(m_path), "[Condition]\nRange=2,9\n[Result]\n1=4\n2=8\r\n");
}

TEST_F(ProfileFileTest, CreatesTheFileWithCrLfLines)
{
    ASSERT_TRUE(WriteProfileString("Condition", "Range", "001,100", m_path));
    ASSERT_TRUE(WriteProfileString("Result", "1", "57", m_path));
    ASSERT_TRUE(WriteProfileString("Result", "2", "3", m_path));
    EXPECT_EQ(ReadFile(m_path), "[Condition]\r\nRange=001,100\r\n[Result]\r\n1=57\r\n2=3\r\n");
}

TEST_F(ProfileFileTest, WritingIntoAMissingFolderFailsAndCreatesNothing)
{
    const std::string path = m_path + ".d" + kSep + "Tavlo.ini";
    EXPECT_FALSE(WriteProfileString("s", "k", "v", path));
    EXPECT_FALSE(FileExists(m_path + ".d"));
}

// --- Clearing and replacing sections ----------------------------------------------

TEST_F(ProfileFileTest, ClearRemovesHeaderAndEntriesButKeepsComments)
{
    WriteFile(m_path, kUserFile);
    ASSERT_TRUE(ClearProfileSection("RESULT", m_path));
    std::string expected = kUserFile;
    const std::string gone = "[Result]\r\n1=57\r\n2=3\r\n";
    expected.erase(expected.find(gone), gone.size());
    EXPECT_EQ(ReadFile(m_path), expected);
    EXPECT_FALSE(ReadProfileSection("Result", m_path).has_value());
}

TEST_F(ProfileFileTest, ClearOfAMissingSectionOrFileChangesNothing)
{
    WriteFile(m_path, kUserFile);
    EXPECT_TRUE(ClearProfileSection("Nothing", m_path));
    EXPECT_EQ(ReadFile(m_path), kUserFile);

    const std::string absent = m_path + ".none";
    EXPECT_TRUE(ClearProfileSection("Result", absent));
    EXPECT_FALSE(FileExists(absent));
}

TEST_F(ProfileFileTest, ClearThenDrawStartsAFreshSectionAtTheEnd)
{
    WriteFile(m_path, "[Result]\r\n1=5\r\n[Condition]\r\nRange=1,9\r\n");
    ASSERT_TRUE(ClearProfileSection("Result", m_path));
    ASSERT_TRUE(WriteProfileString("Result", "1", "8", m_path));
    EXPECT_EQ(ReadFile(m_path), "[Condition]\r\nRange=1,9\r\n[Result]\r\n1=8\r\n");
}

TEST_F(ProfileFileTest, WriteSectionReplacesEveryEntryInOneGo)
{
    WriteFile(m_path, kUserFile);
    ASSERT_TRUE(platform::ProfilePutSection("Result",
                                            "1=57\0"
                                            "2=3\0"
                                            "3=88\0",
                                            m_path.c_str()));
    std::string expected = kUserFile;
    expected.replace(expected.find("1=57\r\n2=3\r\n"), 11, "1=57\r\n2=3\r\n3=88\r\n");
    EXPECT_EQ(ReadFile(m_path), expected);

    ASSERT_TRUE(platform::ProfilePutSection("Result", "1=9\0", m_path.c_str()));
    EXPECT_EQ(*ReadProfileSection("Result", m_path), (SectionList{"1", "9"}));
    EXPECT_EQ(ReadProfileString("Mine", "colour", "", m_path), "blue");
    EXPECT_EQ(ReadProfileString("Condition", "Range", "", m_path), "1,100");
}

TEST_F(ProfileFileTest, WriteSectionAddsAMissingSection)
{
    WriteFile(m_path, "[Condition]\r\nRange=1,9");
    ASSERT_TRUE(platform::ProfilePutSection("Result",
                                            "1=4\0"
                                            "2=6\0",
                                            m_path.c_str()));
    EXPECT_EQ(ReadFile(m_path), "[Condition]\r\nRange=1,9\r\n[Result]\r\n1=4\r\n2=6\r\n");
}

// --- Hostile files ---------------------------------------------------------------------

TEST_F(ProfileFileTest, LargeFileIsEditedInPlace)
{
    std::string big;
    for (int i = 0; i < 100000; ++i)
        big += (i % 1000 == 0 ? "[s" + std::to_string(i / 1000) + "]\r\n" : "k" + std::to_string(i) + "=v\r\n");
    big += std::string(200000, 'L') + "\r\n";
    WriteFile(m_path, big);

    ASSERT_TRUE(WriteProfileString("s50", "k50999", "changed", m_path));
    ASSERT_TRUE(WriteProfileString("s0", "new", "1", m_path));
    std::string expected = big;
    expected.replace(expected.find("k50999=v\r\n"), 8, "k50999=changed");
    expected.insert(expected.find("k999=v\r\n") + 8, "new=1\r\n");
    EXPECT_EQ(ReadFile(m_path), expected);
    EXPECT_EQ(ReadProfileString("s99", "k99999", "", m_path), "v");
}

TEST(IniDocumentTest, JunkFilesReadBackWhatWasWritten)
{
    // Random bytes weighted towards the characters that mean something in an
    // INI file, with and without a UTF-16LE mark, in both kinds of code page.
    std::mt19937 bits(20240611);
    const std::string alphabet = "[]=; \t\r\n\0\x1a\"'sSkK\xff\xfe\xef\xbb\xbf\x83"s;
    for (int round = 0; round < 3000; ++round) {
        std::string junk = round % 5 == 0 ? "\xff\xfe"s : ""s;
        const auto length = static_cast<std::uint32_t>(bits() % 400);
        for (std::uint32_t i = 0; i < length; ++i)
            junk += (bits() % 4 == 0) ? static_cast<char>(bits() & 0xFF) : alphabet[bits() % alphabet.size()];
        const unsigned codePage = round % 3 == 0 ? platform::kCodePageShiftJis : platform::kCodePageUtf8;
        platform::IniDocument document(junk, codePage);
        SCOPED_TRACE("round " + std::to_string(round) + ": " + Visible(junk));

        document.SetValue("S", "k", "v1");
        EXPECT_EQ(document.Value("s", "K"), "v1");
        document.ReplaceSection("Result", {"1=2"});
        EXPECT_EQ(document.Value("Result", "1"), "2");
        EXPECT_EQ(document.Value("s", "K"), "v1");
        EXPECT_TRUE(document.RemoveFirstSection("Result"));
        EXPECT_EQ(document.Value("Result", "1"), std::nullopt);
        // What was read from the edited bytes is what a fresh read finds.
        EXPECT_EQ(platform::IniDocument(document.bytes(), codePage).Value("S", "k"), "v1");
    }
}

}  // namespace
}  // namespace tavlo
