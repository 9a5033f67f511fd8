#include "users/history_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/fakes.h"
#include "support/test_util.h"
#include "users/user_settings.h"

namespace kibiki {
namespace {

namespace fs = std::filesystem;
using test::Sj;
using test::U8;

class HistoryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_settings.SetFolder(m_dir + "/Setting/");
        m_settings.m_strUser = Sj("花子");
    }
    std::string FileBytes() const { return test::ReadFile(m_dir + "/Setting/花子.hst"); }
    bool Append(const char* lesson, const char* missed = " ") {
        return AppendHistory(m_settings, Sj("2004年05月06日 09:07"), Sj(lesson), Sj("120／分"),
                             Sj("95％"), Sj(missed), &m_messenger);
    }

    test::TempFolder m_folder{"kibiki_history"};
    const std::string m_dir = m_folder.Path();
    CUserSettings m_settings;
    RecordingMessenger m_messenger;
};

TEST_F(HistoryFileTest, AppendCreatesTheFolderAndFileThenAddsLinesAfterTheLast) {
    ASSERT_TRUE(Append("31", "A K S  3 2 1 "));
    EXPECT_EQ(U8(FileBytes()), "2004年05月06日 09:07,31,120,95,A K S  3 2 1 \r\n");
    ASSERT_TRUE(Append("74"));
    EXPECT_EQ(U8(FileBytes()),
              "2004年05月06日 09:07,31,120,95,A K S  3 2 1 \r\n"
              "2004年05月06日 09:07,74,120,95, \r\n");
    EXPECT_TRUE(m_messenger.m_shown.empty());
}

TEST_F(HistoryFileTest, CustomNameWithCommaOrDoubleSpaceStillReadsBackInItsFields) {
    ASSERT_TRUE(Append("Words, A  and  B", "A  2 "));
    EXPECT_EQ(U8(FileBytes()), "2004年05月06日 09:07,Words， A and B,120,95,A  2 \r\n");
    const auto rows = ReadHistory(m_settings);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(U8(rows[0].strLesson), "Words， A and B");
    EXPECT_EQ(U8(rows[0].strSpeed), "120");
    EXPECT_EQ(U8(rows[0].strAccuracy), "95");
    EXPECT_EQ(U8(rows[0].strTopThree), "A…2回　");
}

TEST_F(HistoryFileTest, FailedAppendTellsTheUserAndReportsFailure) {
    // A folder where the file should be: open() fails.
    fs::create_directories(m_dir + "/Setting/花子.hst");
    EXPECT_FALSE(Append("31"));
    ASSERT_EQ(m_messenger.m_shown.size(), 1u);
    EXPECT_NE(m_messenger.m_shown[0].text.find("保存できませんでした"), std::string::npos);
    EXPECT_NE(m_messenger.m_shown[0].text.find("花子.hst"), std::string::npos);
}

TEST_F(HistoryFileTest, MissingFileHasNoRecords) {
    EXPECT_TRUE(ReadHistory(m_settings).empty());
}

TEST(HistoryReader, GivesTheSixDisplayValuesOfEachRecord) {
    struct Case {
        const char* line;
        const char* lesson;
        const char* topThree;
        const char* details;
    };
    const Case cases[] = {
        {"2004年05月06日 09:07,31,120,95,A K S  3 2 1 ", "Lesson3(ローマ字)",
         "A…3回　K…2回　S…1回　", "A…3回\r\nK…2回\r\nS…1回\r\n"},
        {"2004年05月06日 09:07,74,120,95, ", "Lesson7(漢字ローマ字)", "間違いはありません", ""},
        {"2004年05月06日 09:07,15,120,95, ", "Lesson1", "間違いはありません", ""},
        {"2004年05月06日 09:07,Words A,120,95, ", "Words A", "間違いはありません", ""},
        {"2004年05月06日 09:07,10,120,95,か ゛ ス 、 ;  9 7 5 3 1 ", "Lesson1(かな)",
         "か…9回　゛…7回　ス…5回　", "か…9回\r\n゛…7回\r\nス…5回\r\n、…3回\r\n;…1回\r\n"},
        // A last key without its count is left out.
        {"2004年05月06日 09:07,22,80,70,A B  4 ", "Lesson2(ひらがなローマ字)", "A…4回　", "A…4回\r\n"},
    };
    for (const auto& c : cases) {
        const HistoryRow row = ParseHistoryLine(Sj(c.line));
        EXPECT_EQ(U8(row.strTime), "2004年05月06日 09:07") << c.line;
        EXPECT_EQ(U8(row.strLesson), c.lesson) << c.line;
        EXPECT_EQ(U8(row.strTopThree), c.topThree) << c.line;
        EXPECT_EQ(U8(row.strDetails), c.details) << c.line;
    }
    const HistoryRow row = ParseHistoryLine(Sj(cases[0].line));
    EXPECT_EQ(row.strSpeed, "120");
    EXPECT_EQ(row.strAccuracy, "95");
}

TEST(HistoryReader, TakesAnyLineWithoutFailing) {
    // CR LF and LF, blank lines skipped, short and odd lines give what they hold.
    const auto rows = ParseHistory(Sj("a,b\r\n\r\nx,31,1,2,3,4  5 \nonly\n,,,,  \n") + "\x81");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].strTime, "a");
    EXPECT_EQ(rows[0].strLesson, "b");
    EXPECT_EQ(U8(rows[0].strTopThree), "間違いはありません");
    EXPECT_EQ(U8(rows[1].strDetails), "3,4…5回\r\n");
    EXPECT_EQ(rows[2].strTime, "only");
    EXPECT_EQ(U8(rows[3].strTopThree), "間違いはありません");
    EXPECT_EQ(rows[4].strTime, "\x81");
}

}  // namespace
}  // namespace kibiki
