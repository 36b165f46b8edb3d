// The settings file wrapper: names, layout and whole-section rewrites.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine_test_support.h"
#include "settings/settings_file.h"
#include "support/temp_dir.h"

namespace tavlo {
namespace {

using test::FileLines;
using test::WriteFile;
using Lines = std::vector<std::string>;

class SettingsFileTest : public ::testing::Test {
protected:
    test::TempDir m_dir;
    std::string m_path = m_dir.file("Tavlo.ini");
    SettingsFile m_file{m_path};
};

TEST_F(SettingsFileTest, PathIsTheGivenFileOrTheDefault)
{
    EXPECT_EQ(m_file.path(), m_path);
    const SettingsFile defaultFile;
    EXPECT_EQ(defaultFile.path(), GetProfilePath());
    const std::string name = "Tavlo.ini";
    ASSERT_GT(defaultFile.path().size(), name.size());
    EXPECT_EQ(defaultFile.path().substr(defaultFile.path().size() - name.size()), name);
}

TEST_F(SettingsFileTest, MissingFileReadsAsNothing)
{
    EXPECT_EQ(m_file.ReadRange(), "");
    EXPECT_FALSE(m_file.ReadResults().has_value());
    EXPECT_FALSE(test::FileExists(m_path));
}

TEST_F(SettingsFileTest, WritesTheLayoutOfTheFile)
{
    ASSERT_TRUE(m_file.WriteRange("007,020"));
    ASSERT_TRUE(m_file.WriteResult(1, 12));
    ASSERT_TRUE(m_file.WriteResult(2, 0));
    ASSERT_TRUE(m_file.WriteResult(3, 999));
    EXPECT_EQ(FileLines(m_path),
              (Lines{"[Condition]", "Range=007,020", "[Result]", "1=12", "2=0", "3=999"}));
    EXPECT_EQ(m_file.ReadRange(), "007,020");
    EXPECT_EQ(m_file.ReadResults(), (SectionList{"1", "12", "2", "0", "3", "999"}));

    ASSERT_TRUE(m_file.ClearResults());
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=007,020"}));
    EXPECT_FALSE(m_file.ReadResults().has_value());
}

TEST_F(SettingsFileTest, NamesMatchWithoutRegardToCase)
{
    WriteFile(m_path, "[CONDITION]\r\nrange=3,4\r\n[result]\r\n1=3\r\n");
    EXPECT_EQ(m_file.ReadRange(), "3,4");
    EXPECT_EQ(m_file.ReadResults(), (SectionList{"1", "3"}));
}

TEST_F(SettingsFileTest, RewriteReplacesTheWholeSection)
{
    WriteFile(m_path, "[Result]\r\n1=1\r\n2=2\r\n3=3\r\n4=4\r\n[Condition]\r\nRange=1,9\r\n");
    ASSERT_TRUE(m_file.RewriteResults({0, 5, 7, 9}));
    EXPECT_EQ(m_file.ReadResults(), (SectionList{"1", "5", "2", "7", "3", "9"}));
    EXPECT_EQ(m_file.ReadRange(), "1,9");
}

TEST_F(SettingsFileTest, RewriteWritesOnlyRecordedElements)
{
    WriteFile(m_path, "[Condition]\r\nRange=0,9\r\n");
    ASSERT_TRUE(m_file.RewriteResults({4, 5, 0, 7}, {true, true, false, true}));
    EXPECT_EQ(FileLines(m_path),
              (Lines{"[Condition]", "Range=0,9", "[Result]", "0=4", "1=5", "3=7"}));

    ASSERT_TRUE(m_file.RewriteResults({4, 5}, {false, false}));
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=0,9"}));
    ASSERT_TRUE(m_file.RewriteResults({0}));
    EXPECT_EQ(FileLines(m_path), (Lines{"[Condition]", "Range=0,9"}));
}

TEST_F(SettingsFileTest, WritesReportFailure)
{
    WriteFile(m_dir.file("file"), "x");
    const SettingsFile broken(m_dir.file("file") + "/Tavlo.ini");
    EXPECT_FALSE(broken.WriteRange("1,2"));
    EXPECT_FALSE(broken.WriteResult(1, 2));
    EXPECT_FALSE(broken.RewriteResults({0, 1}));
    EXPECT_EQ(broken.ReadRange(), "");
    EXPECT_FALSE(broken.ReadResults().has_value());
}

}  // namespace
}  // namespace tavlo
