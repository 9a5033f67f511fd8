// The packed rows of a history file and deleting the history.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/fakes.h"
#include "support/test_util.h"
#include "users/history_file.h"
#include "users/user_settings.h"

namespace kibiki {
namespace {

namespace fs = std::filesystem;
using test::Sj;
using test::U8;

TEST(HistoryRows, CellsDetailsAndTheRowsThatHoldTheLongestTexts) {
    const CHistoryRows rows(Sj("2004年05月06日 09:07,31,120,95,A K  3 1 \r\n"
                               "t,Words of a custom lesson,8,100, \r\n"
                               "\r\n"
                               "t2,74,1200,9,ス  12 \n"));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(U8(rows.Text(0, CHistoryRows::COL_LESSON)), "Lesson3(ローマ字)");
    EXPECT_EQ(U8(rows.Text(0, CHistoryRows::COL_TOP_THREE)), "A…3回　K…1回　");
    EXPECT_EQ(U8(rows.Details(0)), "A…3回\r\nK…1回\r\n");
    EXPECT_EQ(rows.Details(1), "");
    EXPECT_EQ(U8(rows.Text(2, CHistoryRows::COL_TIME)), "t2");
    EXPECT_EQ(U8(rows[2].strDetails), "ス…12回\r\n");
    EXPECT_EQ(rows.Text(3, 0), "");  // past the end
    EXPECT_EQ(rows.Text(0, 7), "");

    EXPECT_EQ(rows.LongestRows(CHistoryRows::COL_LESSON, 2), (std::vector<std::size_t>{1, 2}));
    EXPECT_EQ(rows.LongestRows(CHistoryRows::COL_SPEED, 9), (std::vector<std::size_t>{2, 0, 1}));
    EXPECT_EQ(rows.LongestRows(CHistoryRows::COL_TOP_THREE, 1), (std::vector<std::size_t>{1}));
    EXPECT_TRUE(CHistoryRows().LongestRows(0, 5).empty());
}

TEST(HistoryRows, DeletingAskedFirstAndAFailureIsReported) {
    const test::TempFolder folder("kibiki_hrows");
    CUserSettings settings;
    settings.SetFolder(folder.Path());
    settings.m_strUser = Sj("花子");
    RecordingMessenger messenger;
    messenger.m_answer = MsgResult::Yes;

    // No history yet: nothing to delete, nothing to report.
    EXPECT_TRUE(AskAndDeleteHistory(settings, messenger));
    ASSERT_EQ(messenger.m_shown.size(), 1u);
    EXPECT_EQ(messenger.m_shown[0].text, "ユーザ名　花子の履歴をすべて削除していいですか？");
    EXPECT_EQ(messenger.m_shown[0].buttons, MsgButtons::YesNoDefaultNo);

    std::ofstream(HistoryPath(settings)) << "x\r\n";
    messenger.m_answer = MsgResult::No;
    EXPECT_FALSE(AskAndDeleteHistory(settings, messenger));
    EXPECT_TRUE(fs::exists(HistoryPath(settings)));
    messenger.m_answer = MsgResult::Yes;
    EXPECT_TRUE(AskAndDeleteHistory(settings, messenger));
    EXPECT_FALSE(fs::exists(HistoryPath(settings)));

    fs::create_directories(HistoryPath(settings) + "/inside");
    messenger.m_shown.clear();
    EXPECT_FALSE(DeleteHistory(settings, &messenger));
    ASSERT_EQ(messenger.m_shown.size(), 1u);
    EXPECT_EQ(messenger.m_shown[0].text.rfind("履歴を削除できませんでした。", 0), 0u);
}

}  // namespace
}  // namespace kibiki
