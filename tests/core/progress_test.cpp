// Progress from the history: records read as numbers, the chart's series, missed keys per cap,
// the weak-key drill's questions, kana per minute and the CSV export.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numeric>

#include "lessons/evaluation.h"
#include "progress/heat_map.h"
#include "progress/history_csv.h"
#include "progress/missed_key_counts.h"
#include "progress/progress_series.h"
#include "progress/weak_key_drill.h"
#include "progress/weak_key_drill_start.h"
#include "lessons/catalogue.h"
#include "support/colour_contrast.h"
#include "support/practice_harness.h"
#include "support/test_util.h"
#include "text/string_table.h"

namespace kibiki {
namespace {

using test::Sj;
using test::U8;

CHistoryRecords Records(std::string_view utf8) { return CHistoryRecords(Sj(utf8)); }

// A history of n runs of lesson 1 in kana input, one a day from 2024-01-01, speed 100 + i,
// accuracy 90, each run missing ち twice and し once.
std::string ManyRuns(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) {
        char date[64];
        std::snprintf(date, sizeof date, "%04d年%02d月%02d日 %02d:%02d", 2024 + i / 336, i / 28 % 12 + 1,
                      i % 28 + 1, i % 24, i % 60);
        text += std::string(date) + ",10," + std::to_string(100 + i % 50) + ",90,ち し  2 1 \r\n";
    }
    return Sj(text);
}

TEST(HistoryRecords, FieldsReadAsNumbersAndDamagedFieldsAsMissing) {
    const CHistoryRecords r = Records(
        "2004年05月06日 09:07,31,120,95,A K S  3 2 1 \r\n"
        "2004年05月06日 09:08,Words, A,8,100, \r\n"   // custom: the name stops at its comma
        "\r\n"
        "garbage\n"
        "2004年13月06日 09:07,81,fast,150,A K  x 2 \n"  // month 13, lesson 8, no numbers
        "2004年05月06日 24:00,74,1e400,-5,ス\n");
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0].nMinute, ParseHistoryDate(Sj("2004年05月06日 09:07")));
    EXPECT_EQ(IsoMinute(r[0].nMinute), "2004-05-06T09:07");
    EXPECT_EQ(r[1].nMinute - r[0].nMinute, 1);
    EXPECT_EQ(r[0].nMode, 1);
    EXPECT_EQ(r[0].nLesson, 3);
    EXPECT_EQ(r[0].nSpeed, 120);
    EXPECT_EQ(r[0].nAccuracy, 95);
    const auto misses = r[0].misses;
    ASSERT_EQ(misses.size(), 3u);
    EXPECT_EQ(misses[0], (MissedKeyView{"A", 3}));
    EXPECT_EQ(misses[2], (MissedKeyView{"S", 1}));

    EXPECT_FALSE(r[1].IsBuiltIn());
    EXPECT_EQ(r[1].strLesson, "Words");
    EXPECT_EQ(r[1].nSpeed, -1);  // " A" is no number
    EXPECT_TRUE(r[1].misses.empty());

    EXPECT_EQ(r[2].nMinute, kNoTime);
    EXPECT_EQ(r[2].nSpeed, -1);
    EXPECT_FALSE(r[2].IsBuiltIn());

    EXPECT_EQ(r[3].nMinute, kNoTime);  // month 13
    EXPECT_FALSE(r[3].IsBuiltIn());    // lesson 8 is no built-in lesson
    EXPECT_EQ(r[3].nAccuracy, -1);    // over 100
    EXPECT_EQ(std::vector<MissedKeyView>(r[3].misses.begin(), r[3].misses.end()), (std::vector<MissedKeyView>{{"K", 2}}));

    EXPECT_EQ(r[4].nMinute, kNoTime);  // hour 24
    EXPECT_EQ(r[4].nMode, 4);
    EXPECT_EQ(r[4].nSpeed, -1);       // not finite
    EXPECT_TRUE(r[4].misses.empty());  // a key without its count

    EXPECT_EQ(U8(r.CustomNames().at(0)), "Words");
    EXPECT_TRUE(CHistoryRecords().empty());
    EXPECT_EQ(IsoMinute(-1), "1969-12-31T23:59");
}

TEST(ProgressSeries, OnePointPerMatchingRunInTimeOrderWithTheMeanOfTheLastTen) {
    EXPECT_TRUE(BuildProgressSeries(CHistoryRecords(), {}).aPoints.empty());

    std::string text;
    for (int i = 0; i < 12; ++i)
        text += "2024年01月" + std::string(i < 9 ? "0" : "") + std::to_string(i + 1) + "日 10:00,20," +
                std::to_string(100 + 10 * i) + "," + std::to_string(80 + i) + ", \r\n";
    text += "2023年12月31日 23:00,10,50,50, \r\n";  // the clock was set back: first in time
    text += "bad,20,1,1, \r\n";                     // matches, but has no time
    text += "2024年01月01日 10:00,Words,10,10, \r\n";
    const CHistoryRecords r = Records(text);

    ProgressFilter modeZero;
    modeZero.nMode = 0;
    const ProgressSeries all = BuildProgressSeries(r, modeZero);
    ASSERT_EQ(all.aPoints.size(), 13u);
    EXPECT_EQ(all.nSkipped, 1u);
    EXPECT_EQ(all.aPoints[0].dSpeed, 50);
    EXPECT_EQ(all.aPoints[0].dSpeedAverage, 50);
    EXPECT_EQ(all.aPoints[0].nRecord, 12u);

    ProgressFilter lessonTwo = modeZero;
    lessonTwo.nLesson = 2;
    const ProgressSeries s = BuildProgressSeries(r, lessonTwo);
    ASSERT_EQ(s.aPoints.size(), 12u);
    EXPECT_EQ(s.aPoints[0].dSpeedAverage, 100);
    EXPECT_EQ(s.aPoints[1].dSpeedAverage, 105);
    // Point 11: runs 2..11, speeds 120..210, accuracies 82..91.
    EXPECT_EQ(s.aPoints[11].dSpeedAverage, 165);
    EXPECT_DOUBLE_EQ(s.aPoints[11].dAccuracyAverage, 86.5);

    ProgressFilter otherMode;
    otherMode.nMode = 3;
    EXPECT_TRUE(BuildProgressSeries(r, otherMode).aPoints.empty());

    ProgressFilter custom;
    custom.bCustom = true;
    custom.strCustomName = "Words";
    const ProgressSeries words = BuildProgressSeries(r, custom);
    ASSERT_EQ(words.aPoints.size(), 1u);
    EXPECT_EQ(words.aPoints[0].dAccuracy, 10);
}

TEST(ProgressSeries, TheSpeedAxisHasAFewTicksWhateverTheLargestValue) {
    // A largest value of 1e-20 once made the chart step through 4e11 ticks.
    struct Case { double dMax; double dTop; std::size_t nTicks; };
    const Case cases[] = {
        {120, 150, 4},   {100, 100, 5},  {1, 1, 5},          {7, 8, 5},
        {0, 1, 5},       {1e-20, 1, 5},  {-5, 1, 5},         {std::nan(""), 1, 5},
        {1e9, 1e9, 5},   {1e300, kMaxAxisSpeed, 5},          {HUGE_VAL, kMaxAxisSpeed, 5},
    };
    for (const Case& c : cases) {
        const SpeedAxis axis = SpeedAxisFor(c.dMax);
        EXPECT_EQ(axis.dTop, c.dTop) << c.dMax;
        ASSERT_EQ(axis.aTicks.size(), c.nTicks) << c.dMax;
        EXPECT_EQ(axis.aTicks.front(), 0);
        EXPECT_EQ(axis.aTicks.back(), axis.dTop);
    }
}

TEST(MissedKeyCounts, KeysAsTheLessonEndNamesThemFallOnTheirCaps) {
    struct Case { PracticeMode mode; const char* key; int cap; };
    const Case cases[] = {
        {PracticeMode::KanaInput, "ち", 2},         {PracticeMode::KanaInput, "っ", 3},  // small: the つ key
        {PracticeMode::KanaKanji, "゛", 41},        {PracticeMode::KanaInput, "ー", 47},
        {PracticeMode::KanaInput, "を", 36},        {PracticeMode::RomajiInput, "A", 2},
        {PracticeMode::RomajiInput, "!", 0},        {PracticeMode::HiraganaRomaji, "・", 39},
        {PracticeMode::RomajiKanji, "-", 40},       {PracticeMode::RomajiInput, "スペース", -1},
        {PracticeMode::KanaInput, "漢", -1},        {PracticeMode::RomajiInput, "", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CapOfMissedKey(c.mode, Sj(c.key)), c.cap) << c.key;
}

TEST(MissedKeyCounts, LatestRunsOfOneModeOnly) {
    const CHistoryRecords r = Records(
        "2024年01月01日 10:00,10,100,90,ち し  5 1 \r\n"
        "2024年01月02日 10:00,11,100,90,A  7 \r\n"       // romaji input: another mode
        "2024年01月03日 10:00,20,100,90,し スペース  2 4 \r\n"
        "2024年01月04日 10:00,Words,100,90,ち  9 \r\n"   // custom: mode unknown
        "2024年01月05日 10:00,70,100,100, \r\n");
    const MissedKeyCounts latestTwo = CountMissedKeys(r, PracticeMode::KanaInput, 2);
    EXPECT_EQ(latestTwo.nRuns, 2u);
    EXPECT_EQ(latestTwo.anCap[2], 0);  // ち was missed three runs back
    EXPECT_EQ(latestTwo.anCap[10], 2);
    EXPECT_EQ(latestTwo.nOther, 4);
    const MissedKeyCounts all = CountMissedKeys(r, PracticeMode::KanaInput, kAllRuns);
    EXPECT_EQ(all.nRuns, 3u);
    EXPECT_EQ(all.anCap[2], 5);
    EXPECT_EQ(all.anCap[10], 3);
    EXPECT_EQ(all.Max(), 5);
    EXPECT_FALSE(CountMissedKeys(r, PracticeMode::KanaKanji, kAllRuns).Any());
    EXPECT_FALSE(CountMissedKeys(CHistoryRecords(), PracticeMode::KanaInput, kAllRuns).Any());
}

TEST(HeatMap, CapsTakeTheirModesLegendCountAndAShadeByShareOfTheTop) {
    struct Level { long long count, max; int level; };
    for (const Level& c : {Level{0, 0, 0}, {0, 100, 0}, {1, 100, 1}, {25, 100, 1}, {26, 100, 2}, {50, 100, 2},
                           {51, 100, 3}, {75, 100, 3}, {76, 100, 4}, {100, 100, 4}, {7, 7, 4}})
        EXPECT_EQ(HeatLevel(c.count, c.max), c.level) << c.count << "/" << c.max;

    const CHistoryRecords r = Records("2024年01月01日 10:00,10,100,90,ち し  4 1 \r\n"
                                      "2024年01月02日 10:00,10,100,90,ち  4 \r\n");
    const std::vector<HeatCap> kana = HeatMap(CountMissedKeys(r, PracticeMode::KanaInput, kAllRuns),
                                              PracticeMode::KanaInput, true);
    ASSERT_EQ(kana.size(), 48u);
    EXPECT_EQ(U8(kana[2].strLegend), "ち");
    EXPECT_EQ(kana[2].nCount, 8);
    EXPECT_EQ(kana[2].nLevel, 4);
    EXPECT_EQ(kana[10].nCount, 1);
    EXPECT_EQ(kana[10].nLevel, 1);
    EXPECT_EQ(kana[0].nLevel, 0);
    // Romaji modes show the printed characters, JIS forms on a JIS keyboard.
    const std::vector<HeatCap> romaji = HeatMap(MissedKeyCounts(), PracticeMode::RomajiInput, true);
    EXPECT_EQ(romaji[2].strLegend, "A");
    EXPECT_EQ(romaji[41].strLegend, "@ `");
    EXPECT_NE(HeatMap(MissedKeyCounts(), PracticeMode::RomajiInput, false)[41].strLegend, "@ `");

    // One hue from light to dark reads in grey too; the count on it reads at every level.
    for (int level = 0; level < kHeatLevels; ++level) {
        EXPECT_GE(test::Contrast(HeatBackColour(level), HeatTextColour(level)), 4.5) << level;
        if (level > 0) {
            EXPECT_LT(test::Luminance(test::ToLinear(HeatBackColour(level))),
                      test::Luminance(test::ToLinear(HeatBackColour(level - 1))) * 0.8) << level;
        }
    }
}

TEST(WeakKeyDrill, EntriesKnowTheirCaps) {
    const RomajiBuilder none;
    // が: the か key and the mark key; the kanji and the bars are not typed.
    const KeyCaps ga = CapsOfEntry(PracticeMode::KanaKanji, Sj("画,が｜"), none);
    EXPECT_EQ(ga.count(), 2u);
    EXPECT_TRUE(ga.test(17));  // か
    EXPECT_TRUE(ga.test(41));  // ゛
    EXPECT_EQ(CapsOfEntry(PracticeMode::RomajiInput, "A<B", none).count(), 3u);
    const RomajiBuilder fake = [](const std::string&) { return std::string("KA"); };
    EXPECT_EQ(CapsOfEntry(PracticeMode::HiraganaRomaji, Sj("か"), fake).count(), 2u);

    const auto entries = BuiltInDrillEntries(PracticeMode::RomajiInput, none);
    EXPECT_EQ(entries.size(), 20u + 20 + 13 + 16 + 20 + 20 + 100);
    const auto kana = BuiltInDrillEntries(PracticeMode::KanaInput, none);
    for (const DrillEntry& e : kana) EXPECT_TRUE(e.caps.any()) << U8(e.strText);
}

TEST(WeakKeyDrill, TwentyQuestionsHoldingTheWorstKeysAndTheSameForTheSameSeed) {
    const auto entries = BuiltInDrillEntries(PracticeMode::KanaInput, {});
    MissedKeyCounts counts;
    std::mt19937 rng(1);
    EXPECT_TRUE(ChooseDrillQuestions(entries, counts, rng).empty());

    counts.anCap[2] = 90;   // ち
    counts.anCap[33] = 10;  // ら
    counts.anCap[0] = 1;    // ぬ
    for (int k : {4, 5, 6, 7}) counts.anCap[static_cast<std::size_t>(k)] = 1;  // ふ て と さ: past the five
    EXPECT_EQ(WorstCaps(counts, entries), (std::vector<int>{2, 33, 0, 4, 5}));

    std::mt19937 a(42), b(42), c(43);
    const auto chosen = ChooseDrillQuestions(entries, counts, a);
    ASSERT_EQ(chosen.size(), static_cast<std::size_t>(kDrillQuestions));
    EXPECT_EQ(chosen, ChooseDrillQuestions(entries, counts, b));
    EXPECT_NE(chosen, ChooseDrillQuestions(entries, counts, c));
    int withChi = 0;
    for (std::size_t i : chosen) {
        const KeyCaps& caps = entries[i].caps;
        EXPECT_TRUE(caps.test(2) || caps.test(33) || caps.test(0) || caps.test(4) || caps.test(5));
        withChi += caps.test(2);
    }
    EXPECT_GE(withChi, 12);  // about nine in ten draws go to ち
    // No repeats while there are fresh entries for the drawn key.
    EXPECT_EQ(std::set<std::size_t>(chosen.begin(), chosen.end()).size(), chosen.size());
}

TEST(WeakKeyDrill, RunsLikeACustomLessonAndIsRecordedUnderItsName) {
    test::PracticeHarness h;
    h.m_doc.SetUserMode(PracticeMode::RomajiInput);
    // No history yet: refused with a message, nothing starts.
    EXPECT_FALSE(StartWeakKeyDrill(h.m_view, h.m_doc));
    EXPECT_FALSE(h.m_view.IsRunning());
    EXPECT_NE(h.m_form.Lines({"message"}).find("間違えたキーがまだありません"), std::string::npos);

    std::ofstream(h.m_doc.Settings().Folder() + "test.hst", std::ios::binary)
        << Sj("2024年01月01日 10:00,11,100,90,Q  4 \r\n");
    ASSERT_TRUE(StartWeakKeyDrill(h.m_view, h.m_doc));
    // The title box names the keys before the first one is typed.
    EXPECT_EQ(h.Shown(IDC_TITLE), "苦手キー: Q");
    EXPECT_EQ(h.Shown(IDC_REMAINING), "20");
    // Romaji input asks the entries as they stand, every one with a Q.
    EXPECT_NE(h.Shown(IDC_QUESTION).find('Q'), std::string::npos) << h.Shown(IDC_QUESTION);
    h.TypeQuestions(20);
    EXPECT_FALSE(h.m_view.IsRunning());
    const std::string history = h.HistoryFile();
    EXPECT_NE(history.find("\r\n2004年05月06日 09:07,苦手キーの練習,"), std::string::npos) << history;
    EXPECT_EQ(h.m_doc.UserMode(), PracticeMode::RomajiInput);
    EXPECT_EQ(h.m_doc.CurrentLesson().source, LessonSource::WeakKeyDrill);
}

TEST(WeakKeyDrill, TitleNamesTheKeysAsTheHistoryDoes) {
    struct Case { PracticeMode mode; std::vector<int> caps; const char* title; };
    const Case cases[] = {
        {PracticeMode::RomajiInput, {1, 38, 7, 37}, "苦手キー: Q ; X P"},
        {PracticeMode::KanaInput, {2, 41, 3, 47}, "苦手キー: ち　゛　つ　ー"},
        {PracticeMode::HiraganaRomaji, {39, 2}, "苦手キー: ・ A"},  // the "/" key types ・
        {PracticeMode::KanaKanji, {}, "苦手キー:"},
    };
    for (const Case& c : cases) EXPECT_EQ(U8(WeakKeysTitle(c.mode, c.caps)), c.title);
}

TEST(KanaPerMinute, EveryCharacterOfTheReadingIsOneKana) {
    EXPECT_EQ(CountKana(Sj("がっこう")), 4);
    EXPECT_EQ(CountKana(Sj("「おはよう。」")), 7);
    EXPECT_EQ(CountKana(""), 0);
}

TEST(KanaPerMinute, ShownAtTheLessonEndBesideKeystrokesButNotInRomajiInput) {
    struct Case { int nMode; bool bShown; };
    for (const Case c : {Case{0, true}, Case{2, true}, Case{3, true}, Case{1, false}}) {
        test::PracticeHarness h;
        h.StartBuiltIn(c.nMode, 1);
        int kana = 0;
        for (int id = 0; id < 20; ++id) {
            int first = 0, last = 0;
            LessonIdRange(PracticeMode{c.nMode}, 1, first, last);
            std::string text = StringOrEmpty(first + id);
            if (c.nMode == 3 && text.find(',') != std::string::npos) text.erase(0, text.find(',') + 1);
            // The bars that divide a reading among its kanji are not typed.
            for (std::size_t bar; (bar = text.find(Sj("｜"))) != std::string::npos;) text.erase(bar, 2);
            kana += CountKana(text);
        }
        h.TypeQuestions(20);
        const LessonEndInfo& info = h.m_form.m_lastLessonEnd;
        ASSERT_FALSE(info.strSpeed.empty()) << c.nMode;
        if (!c.bShown) {
            EXPECT_EQ(info.strKanaSpeed, "") << c.nMode;
            continue;
        }
        const std::uint32_t seconds = static_cast<std::uint32_t>(h.m_doc.Run().EndTick() - h.m_doc.Run().StartTick()) / 1000;
        // Worked out as the speed is, kana ÷ seconds × 60: the other order can round the other way.
        EXPECT_EQ(U8(info.strKanaSpeed), WholeNumber(static_cast<double>(kana) / seconds * 60.0) + "字/分") << c.nMode;
    }
}

TEST(HistoryCsv, BomHeaderIsoTimesAndQuotedFields) {
    EXPECT_EQ(HistoryCsv(""),
              "\xEF\xBB\xBF日時,レッスン名,速度(打/分),正解率(%),間違えたキー\r\n");
    const std::string csv = HistoryCsv(Sj(
        "2004年05月06日 09:07,31,120,95,A K  3 2 \r\n"
        "2004年05月07日 21:30,He said \"hi\"，ok,80,100, \r\n"
        "yesterday,=SUM(A1),x,,- \"  1 \n"));
    EXPECT_EQ(csv,
              "\xEF\xBB\xBF日時,レッスン名,速度(打/分),正解率(%),間違えたキー\r\n"
              "2004-05-06T09:07,Lesson3(ローマ字),120,95,A×3 K×2\r\n"
              "2004-05-07T21:30,\"He said \"\"hi\"\"，ok\",80,100,\r\n"
              "yesterday,'=SUM(A1),x,,'-×1\r\n");
}

TEST(HistoryCsv, DamagedFieldsLoseNothingTheFileSaysAndCarryNoNul) {
    struct Case {
        const char* name;
        std::string line;
        const char* row;  // UTF-8, without the line break
    };
    const Case cases[] = {
        {"a count beyond int keeps its digits", "2004年05月06日 09:07,31,120,95,A K  99999999999 2 ",
         "2004-05-06T09:07,Lesson3(ローマ字),120,95,A×99999999999 K×2"},
        {"a speed beyond int stands as written", "2004年05月06日 09:07,31,99999999999,95, ",
         "2004-05-06T09:07,Lesson3(ローマ字),99999999999,95,"},
        {"zero and signed counts stay out, as in the list", "2004年05月06日 09:07,31,120,95,A K S  0 -1 4 ",
         "2004-05-06T09:07,Lesson3(ローマ字),120,95,S×4"},
        {"NUL bytes are left out of every field",
         std::string("2004年05月06日 09:07,My\0Name,1\0,95,A\0B  1 ", 45),
         "2004-05-06T09:07,MyName,1,95,AB×1"},
    };
    const std::string head = HistoryCsv("");
    for (const Case& c : cases) {
        const std::string csv = HistoryCsv(Sj(c.line) + "\r\n");
        EXPECT_EQ(csv, head + c.row + "\r\n") << c.name;
        EXPECT_EQ(csv.find('\0'), std::string::npos) << c.name;
    }
}

TEST(Progress, OneHundredThousandRuns) {
    const CHistoryRecords r(ManyRuns(100000));
    ASSERT_EQ(r.size(), 100000u);
    ProgressFilter f;
    f.nMode = 0;
    const ProgressSeries s = BuildProgressSeries(r, f);
    EXPECT_EQ(s.aPoints.size(), 100000u);
    EXPECT_EQ(s.nSkipped, 0u);
    const MissedKeyCounts counts = CountMissedKeys(r, PracticeMode::KanaInput, kWeakKeyRuns);
    EXPECT_EQ(counts.nRuns, 50u);
    EXPECT_EQ(counts.anCap[2], 100);
    EXPECT_EQ(CountMissedKeys(r, PracticeMode::KanaInput, kAllRuns).anCap[10], 100000);
    const std::string csv = HistoryCsv(ManyRuns(100000));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 100001);
}

}  // namespace
}  // namespace kibiki
