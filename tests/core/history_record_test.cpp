// One history record read once: the two ways a lesson field is named, the fields a damaged or
// hostile line holds, the dates, and the missed keys formatted for the file and the screen.
#include "users/history_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_util.h"

namespace kibiki {
namespace {

using test::Sj;
using test::U8;

TEST(HistoryRecord, TheListAndTheChartNameALessonFieldEachByItsOwnRule) {
    // The list reads two leading digits; the chart exactly two, lesson 1-7 and mode 0-4.
    struct Case { const char* field; const char* listName; int chartLesson; int chartMode; };
    const Case cases[] = {
        {"31", "Lesson3(ローマ字)", 3, 1},
        {"74", "Lesson7(漢字ローマ字)", 7, 4},
        {"10分の練習", "Lesson1(かな)", 0, -1},  // a custom lesson to the chart
        {"81", "Lesson8(ローマ字)", 0, -1},
        {"15", "Lesson1", 0, -1},
        {"01", "Lesson0(ローマ字)", 0, -1},
        {"3", "3", 0, -1},
        {"Words A", "Words A", 0, -1},
        {"", "", 0, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(U8(LessonName(Sj(c.field))), c.listName) << c.field;
        const auto chart = ChartLesson(Sj(c.field));
        EXPECT_EQ(chart ? chart->nLesson : 0, c.chartLesson) << c.field;
        EXPECT_EQ(chart ? chart->nMode : -1, c.chartMode) << c.field;
        std::vector<MissedKeyView> misses;
        const HistoryRecord r = ParseHistoryRecord(Sj(std::string("d,") + c.field + ",1,2, "), misses);
        EXPECT_EQ(r.nLesson, c.chartLesson) << c.field;
        EXPECT_EQ(r.nMode, c.chartMode) << c.field;
    }
    EXPECT_EQ(U8(BuiltInLessonName(3, 1)), "Lesson3(ローマ字)");
}

TEST(HistoryRecord, SpeedAndAccuracyAreWholeNumbersInRangeOrDamaged) {
    // A speed of 1e-20 once hung the chart; only what the program writes is a number.
    struct Case { const char* speed; const char* accuracy; int nSpeed; int nAccuracy; };
    const Case cases[] = {
        {"120", "95", 120, 95},       {"0", "0", 0, 0},
        {"1000000000", "100", 1000000000, 100},
        {"1e-20", "95", -1, 95},      {"120.5", "95.0", -1, -1},
        {"1000000001", "101", -1, -1}, {"99999999999", "-5", -1, -1},
        {"+5", " 95", -1, -1},        {"", "", -1, -1},
        {"nan", "inf", -1, -1},       {"0x10", "9５", -1, -1},
    };
    for (const Case& c : cases) {
        std::vector<MissedKeyView> misses;
        const std::string line = Sj(std::string("2004年05月06日 09:07,11,") + c.speed + "," + c.accuracy + ", ");
        const HistoryRecord r = ParseHistoryRecord(line, misses);
        EXPECT_EQ(r.nSpeed, c.nSpeed) << c.speed;
        EXPECT_EQ(r.nAccuracy, c.nAccuracy) << c.accuracy;
        // Shown as written all the same.
        EXPECT_EQ(U8(std::string(r.strSpeed)), c.speed);
    }
}

TEST(HistoryRecord, HugeFieldsAreCutAndExtraKeysLeftOut) {
    std::string keys, counts;
    for (int i = 0; i < 20000; ++i) {
        keys += "A ";
        counts += "3 ";
    }
    const std::string longName(30000, 'n');
    std::string wideName;
    for (int i = 0; i < 1000; ++i) wideName += Sj("あ");
    const std::string damagedKeys = "d,11,1,2," + std::string(kHistoryKeyCap + 1, 'K') + " A B C D  1 2 0 x 99999999999 ";
    struct Case {
        std::string line;
        std::size_t nMisses, nLessonBytes, nDateBytes;
    };
    const Case cases[] = {
        {"d,11,1,2," + keys + " " + counts, kHistoryMissedKeysCap, 2, 1},
        {"d," + longName + ",1,2,A  1 ", 1, kHistoryLessonCap, 1},
        // Cut between whole characters only.
        {"d," + wideName + ",1,2, ", 0, kHistoryLessonCap, 1},
        {"d,x" + wideName + ",1,2, ", 0, kHistoryLessonCap - 1, 1},
        {"x" + wideName + ",11,1,2, ", 0, 2, kHistoryTextCap - 1},
        // Keys too long, counts that are no count: left out, the rest kept.
        {damagedKeys, 1, 2, 1},
    };
    for (const Case& c : cases) {
        std::vector<MissedKeyView> misses;
        const HistoryRecord r = ParseHistoryRecord(c.line, misses);
        EXPECT_EQ(r.misses.size(), c.nMisses) << c.line.substr(0, 40);
        EXPECT_EQ(r.strLesson.size(), c.nLessonBytes) << c.line.substr(0, 40);
        EXPECT_EQ(r.strDate.size(), c.nDateBytes) << c.line.substr(0, 40);
    }
    std::vector<MissedKeyView> misses;
    const HistoryRecord r = ParseHistoryRecord(damagedKeys, misses);
    ASSERT_EQ(r.misses.size(), 1u);
    EXPECT_EQ(r.misses[0], (MissedKeyView{"A", 2}));
}

TEST(HistoryRecord, DatesAreDaysThatExist) {
    struct Case { const char* date; const char* iso; };
    const Case cases[] = {
        {"2004年05月06日 09:07", "2004-05-06T09:07"},
        {"2004年02月29日 23:59", "2004-02-29T23:59"},
        {"1969年12月31日 23:59", "1969-12-31T23:59"},
        {"0001年01月01日 00:00", "0001-01-01T00:00"},
        {"9999年12月31日 23:59", "9999-12-31T23:59"},
        {"2004年02月31日 09:07", nullptr},  // once read as 2004-03-02
        {"2003年02月29日 09:07", nullptr},
        {"0000年01月01日 00:00", nullptr},  // once drawn as -0001/1/1
        {"2004年00月06日 09:07", nullptr},
        {"2004年05月06日 24:00", nullptr},
        {"2004年05月06日 09:60", nullptr},
        {"2004年05月06日 09:07 ", nullptr},
        {"2004/05/06 09:07", nullptr},
    };
    for (const Case& c : cases) {
        const std::int64_t minute = ParseHistoryDate(Sj(c.date));
        if (!c.iso) {
            EXPECT_EQ(minute, kNoTime) << c.date;
            continue;
        }
        ASSERT_NE(minute, kNoTime) << c.date;
        EXPECT_EQ(IsoMinute(minute), c.iso);
    }
    EXPECT_EQ(ParseHistoryDate(Sj("1970年01月01日 00:01")), 1);
}

TEST(MissedKeys, FormattedForTheFileTheListAndTheLessonEnd) {
    // As a finished run's keys come, most missed first.
    struct Case {
        std::vector<MissedKey> keys;
        const char* field;
        const char* listTop;
        const char* endTop;
        const char* lines;
    };
    const Case cases[] = {
        {{{"A", 5}, {"S", 5}, {"D", 2}, {"F", 1}}, "A S D F  5 5 2 1 ", "A…5回　S…5回　D…2回　",
         "A…5回　S…5回　D…2回", "A…5回\r\nS…5回\r\nD…2回\r\nF…1回\r\n"},
        {{{"A", 1}, {"B", 1}, {"C", 1}}, "A B C  1 1 1 ", "A…1回　B…1回　C…1回　", "A…1回　B…1回　C…1回",
         "A…1回\r\nB…1回\r\nC…1回\r\n"},
        {{{"A", 5}, {"S", 1}}, "A S  5 1 ", "A…5回　S…1回　", "A…5回　S…1回　", "A…5回\r\nS…1回\r\n"},
        {{{"スペース", 2}, {",", 1}}, "スペース ,  2 1 ", "スペース…2回　,…1回　", "スペース…2回　,…1回　",
         "スペース…2回\r\n,…1回\r\n"},
        {{}, " ", "間違いはありません", "間違いはありませんでした", ""},
    };
    for (const Case& c : cases) {
        std::vector<MissedKey> keys;
        for (const MissedKey& k : c.keys) keys.push_back({Sj(k.strKey), k.nCount});
        const std::vector<MissedKeyView> views = ViewsOf(keys);
        EXPECT_EQ(U8(MissedKeysField(views)), c.field);
        EXPECT_EQ(U8(HistoryTopThree(views)), c.listTop);
        EXPECT_EQ(U8(LessonEndTopThree(views)), c.endTop);
        EXPECT_EQ(U8(MissedKeyLines(views)), c.lines);
        EXPECT_EQ(U8(LessonEndDetails(views)), views.empty() ? "間違いはありませんでした" : c.lines);
        // The field reads back as the keys it was made from.
        std::vector<MissedKeyView> read;
        const std::string line = "d,11,1,2," + MissedKeysField(views);
        const HistoryRecord r = ParseHistoryRecord(line, read);
        EXPECT_EQ(std::vector<MissedKeyView>(r.misses.begin(), r.misses.end()), views) << c.field;
    }
}

TEST(HistoryRecords, EachLineParsedOnceAndTheRecordsSurviveAMove) {
    CHistoryRecords moved(Sj("d,31,1,2,A  1 \r\n\r\nd,Words,3,4, \n\r\n"));
    const CHistoryRecords records(std::move(moved));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].strLesson, "31");
    ASSERT_EQ(records[0].misses.size(), 1u);
    EXPECT_EQ(records[0].misses[0], (MissedKeyView{"A", 1}));
    EXPECT_EQ(records[1].nSpeed, 3);
    EXPECT_EQ(records.CustomNames(), (std::vector<std::string>{"Words"}));
}

}  // namespace
}  // namespace kibiki
