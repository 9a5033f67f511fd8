// The custom-lesson start dialog's rules, without the dialog.
#include <gtest/gtest.h>

#include "lessons/custom_start.h"
#include "support/practice_harness.h"

namespace kibiki::test {
namespace {

class CustomStartTest : public ::testing::Test {
protected:
    CustomStartTest() {
        for (const char* name : {"one", "two", "three"}) {
            const std::string path = h.WriteLessonFile(std::string(name) + ".txt", "#KANA\r\nname\r\nかさ\r\n");
            const int i = h.m_doc.Settings().GetInt("count", 0);
            h.m_doc.Settings().SetIndexedString("No", i, Sj(std::string("レッスン") + name));
            h.m_doc.Settings().SetIndexedString("File", i, Sj(path));
            h.m_doc.Settings().SetInt("count", i + 1);
        }
        h.m_doc.Settings().SaveUser();
    }
    std::string Names(const CCustomStartModel& m) {
        std::string s;
        for (const auto& n : m.m_aNames) s += U8(n) + ";";
        return s;
    }
    PracticeHarness h;
};

TEST_F(CustomStartTest, OpensWithTheRegisteredLessonsAndNothingToStart) {
    CCustomStartModel m(h.m_doc.Settings(), h.m_form);
    EXPECT_EQ(Names(m), "レッスンone;レッスンtwo;レッスンthree;");
    EXPECT_FALSE(m.m_bCanStart);
    EXPECT_EQ(m.m_nMode, 0);
    m.Select(1);
    EXPECT_TRUE(m.m_bCanStart);
    EXPECT_EQ(m.m_strPath, h.m_dir + "/two.txt");
    m.Select(-1);
    EXPECT_FALSE(m.m_bCanStart);
}

TEST_F(CustomStartTest, AnEntryWhoseFileIsGoneIsReportedRemovedAndSaved) {
    std::filesystem::remove(h.m_dir + "/one.txt");
    CCustomStartModel m(h.m_doc.Settings(), h.m_form);
    m.Browse(h.m_dir + "/two.txt");
    m.Select(0);
    ASSERT_EQ(h.m_form.m_log.empty(), false);
    EXPECT_NE(h.m_form.Transcript().find("ファイルがありません"), std::string::npos);
    EXPECT_EQ(Names(m), "レッスンtwo;レッスンthree;");
    EXPECT_FALSE(m.m_bCanStart);
    EXPECT_EQ(m.m_strPath, "");
    EXPECT_EQ(m.m_strBrowsedName, "");

    // Saved at once, in order, without the removed entry anywhere in the file.
    CUserSettings reread;
    reread.SetFolder(h.m_dir + "/Setting/");
    reread.LoadUser("test");
    EXPECT_EQ(reread.GetInt("count", 0), 2);
    EXPECT_EQ(U8(reread.GetIndexedString("No", 0, "")), "レッスンtwo");
    EXPECT_EQ(U8(reread.GetIndexedString("No", 1, "")), "レッスンthree");
    EXPECT_EQ(reread.FileText().find(Sj("one")), std::string::npos);
}

TEST_F(CustomStartTest, ABrowsedFileIsStartedButNotRegistered) {
    CCustomStartModel m(h.m_doc.Settings(), h.m_form);
    m.Browse("/somewhere/else/もじ.txt");
    EXPECT_TRUE(m.m_bCanStart);
    EXPECT_EQ(m.m_strPath, "/somewhere/else/もじ.txt");
    EXPECT_EQ(m.m_strBrowsedName, "もじ.txt");
    EXPECT_EQ(h.m_doc.Settings().GetInt("count", 0), 3);
    m.Select(2);  // choosing an entry afterwards clears the browsed name
    EXPECT_EQ(m.m_strBrowsedName, "");
    EXPECT_EQ(m.m_strPath, h.m_dir + "/three.txt");
}

TEST_F(CustomStartTest, DamagedHugeCountListsOnlyTheStoredEntries) {
    h.m_doc.Settings().SetInt("count", 2000000000);
    CCustomStartModel m(h.m_doc.Settings(), h.m_form);
    EXPECT_EQ(Names(m), "レッスンone;レッスンtwo;レッスンthree;");
    EXPECT_EQ(m.m_aPaths.size(), 3u);
}

}  // namespace
}  // namespace kibiki::test
