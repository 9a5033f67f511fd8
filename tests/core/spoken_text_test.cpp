// What a screen reader is told: control names from what the controls show, and during a run
// the key due, a miss and the end, taken once the view has moved on.
#include <gtest/gtest.h>

#include "lessons/practice_form.h"
#include "lessons/spoken_practice.h"
#include "lessons/spoken_text.h"
#include "support/practice_harness.h"

namespace kibiki {
namespace {

using test::PracticeHarness;
using test::Sj;

TEST(SpokenText, ControlNamesSayWhatIsShownWithItsMeaning) {
    struct Case { int nId; const char* shown; const char* name; };
    const Case cases[] = {
        {IDC_KEY_FIRST + 17, "ｶ", "か キー、左手人差し指"},
        {IDC_KEY_FIRST + 30, "K", "K キー、右手中指"},
        {IDC_KEY_FIRST + 0, "ﾇ", "ぬ キー、左手小指"},
        {IDC_KEY_FIRST + 41, "ﾞ", "゛ キー、右手小指"},
        {IDC_FINGER_FIRST + 0, "小指", "左手小指"},
        {IDC_FINGER_FIRST + 4, "人差し指", "右手人差し指"},
        {IDC_MISS_COUNT, "3", "ミス回数 3"},
        {IDC_MISS_COUNT, "", "ミス回数"},
        {IDC_ACCURACY, "92", "正解率 92%"},
        {IDC_REMAINING, "5", "あと 5問"},
        {IDC_MISS_KEY, "ﾀ", "ミスキー た"},
        {IDC_QUESTION, "かさ", "問題"},
        {IDC_SHIFT_RIGHT, "SHIFT", "右 SHIFT キー"},
        {IDC_MARKER_FIRST + 3, "", "ホームポジションの印"},
        {IDC_TITLE, "Lesson1　ホーム", "レッスン名 Lesson1　ホーム"},
        {0, "", "練習"},
        {999, "x", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpokenControlName(c.nId, Sj(c.shown)), c.name) << c.nId << " " << c.shown;
}

TEST(SpokenText, DueMissAndEnd) {
    EXPECT_EQ(SpokenDue(PracticeMode::KanaInput, 0xB6), "次は か、左手人差し指");  // ｶ
    EXPECT_EQ(SpokenDue(PracticeMode::KanaInput, 0xA7), "次は ぁ、左手中指、SHIFT");  // ｧ
    EXPECT_EQ(SpokenDue(PracticeMode::RomajiInput, 'K'), "次は K");
    EXPECT_EQ(SpokenDue(PracticeMode::RomajiInput, 0), "");
    EXPECT_EQ(SpokenMiss(PracticeMode::KanaInput, 0xC0), "ミス: た");  // ﾀ
    EXPECT_EQ(SpokenMiss(PracticeMode::RomajiInput, 'Q'), "ミス: Q");
    EXPECT_EQ(SpokenEnd(91.7), "レッスン終了、正解率 92%");
}

TEST(SpokenPractice, FollowsARunKeyByKey) {
    PracticeHarness h;
    SpokenPractice spoken(h.m_doc);
    h.m_view.AddListener(&spoken);
    std::string text;
    h.m_form.m_msgAnswers.push_back(MsgResult::No);
    h.StartCustom("#KANA\nT\nがき\n");
    ASSERT_TRUE(spoken.Take(text));
    EXPECT_EQ(text, "次は か、左手人差し指");
    EXPECT_FALSE(spoken.Take(text));  // nothing new

    h.Type("ﾀ");
    ASSERT_TRUE(spoken.Take(text));
    EXPECT_EQ(text, "ミス: た");
    h.Type("ﾀ");
    EXPECT_TRUE(spoken.Take(text)) << "a second miss is said again";

    h.Type("ｶ");
    ASSERT_TRUE(spoken.Take(text));
    EXPECT_EQ(text, "次は ゛、右手小指");
    h.Type("ﾞ");
    ASSERT_TRUE(spoken.Take(text));
    EXPECT_EQ(text, "次は き、左手人差し指");
    h.Type("ｷ");  // 3 keys of 5 right
    ASSERT_TRUE(spoken.Take(text));
    EXPECT_EQ(text, "レッスン終了、正解率 33%");
}

}  // namespace
}  // namespace kibiki
