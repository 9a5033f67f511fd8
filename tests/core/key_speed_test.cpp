// Per-key speed from logged runs: which presses are timed, the latest presses only, units,
// confidence against a target, and the slowest pairs.
#include <gtest/gtest.h>

#include "progress/key_figures_map.h"
#include "progress/key_speed.h"
#include "progress/weak_key_drill.h"
#include "support/test_util.h"

namespace kibiki {
namespace {

using test::Sj;
using test::U8;

struct K {
    char due;
    std::uint32_t ms;
    bool right = true;
    const char* unit = "";  // a unit's first key names it; "" carries the one before on
    bool questionStart = false;
};

LoggedRun RunOf(PracticeMode mode, std::initializer_list<K> keys) {
    LoggedRun run;
    run.mode = mode;
    std::string unit;
    for (const K& k : keys) {
        LoggedKey key;
        key.chDue = static_cast<unsigned char>(k.due);
        key.chTyped = k.right ? key.chDue : 'X';
        key.nMs = k.ms;
        key.nFlags = static_cast<std::uint8_t>((k.right ? LoggedKey::kRight : 0) |
                                               (k.questionStart ? LoggedKey::kQuestionStart : 0));
        if (*k.unit) {
            unit = Sj(k.unit);
            key.nFlags |= LoggedKey::kUnitStart;
        }
        key.nUnitLen = static_cast<std::uint8_t>(unit.size());
        std::copy(unit.begin(), unit.end(), key.unit.begin());
        run.keys.push_back(key);
    }
    return run;
}

const KeySpeed* Find(const std::vector<KeySpeed>& list, const std::string& utf8) {
    for (const KeySpeed& k : list)
        if (U8(k.strKey) == utf8) return &k;
    return nullptr;
}

TEST(KeySpeed, OnlyCleanPressesAreTimedAndUnitsRunFromTheKeyBeforeThem) {
    const PracticeMode mode = PracticeMode::HiraganaRomaji;
    const std::vector<LoggedRun> runs = {
        // newest
        RunOf(mode, {{'K', 0, true, "か", true},   // a question's first key: not timed
                     {'A', 300},                   // timed
                     {'K', 200, false, "か"},       // a miss on K
                     {'K', 800},                   // after a miss: not timed
                     {'A', 250},                   // timed
                     {'K', 2500, true, "か"},       // after a pause: not timed
                     {'A', 100}}),
        RunOf(mode, {{'K', 0, true, "か", true}, {'A', 200}, {'K', 150, true, "か"}, {'A', 150}}),
    };
    const SpeedFigures f = ComputeSpeedFigures(runs, mode, std::nullopt);
    const KeySpeed* a = Find(f.keys, "A");
    const KeySpeed* k = Find(f.keys, "K");
    ASSERT_TRUE(a && k);
    EXPECT_EQ(a->nTimed, 5);
    EXPECT_EQ(a->nMedianMs, 200);  // 300 250 100 200 150
    EXPECT_EQ(a->nMissed, 0);
    EXPECT_EQ(k->nTimed, 1);
    EXPECT_EQ(k->nMedianMs, 150);
    EXPECT_EQ(k->nDue, 6);
    EXPECT_EQ(k->nMissed, 1);
    EXPECT_EQ(k->nCap, 30);
    const KeySpeed* ka = Find(f.units, "か");
    ASSERT_TRUE(ka);
    EXPECT_EQ(ka->nDue, 5);
    EXPECT_EQ(ka->nMissed, 1);
    EXPECT_EQ(ka->nTimed, 1);   // only the older run's second か: 150 + 150
    EXPECT_EQ(ka->nMedianMs, 300);
    EXPECT_EQ(f.nKeysRead, 11u);
}

TEST(KeySpeed, AKeyIsJudgedByItsLatestPressesAgainstTheTarget) {
    const PracticeMode mode = PracticeMode::KanaInput;
    auto many = [&](unsigned char due, std::uint32_t ms, int n) {
        LoggedRun run = RunOf(mode, {});
        for (int i = 0; i < n; ++i) {
            LoggedKey key;
            key.chDue = key.chTyped = due;
            key.nMs = ms;
            key.nFlags = LoggedKey::kRight;
            run.keys.push_back(key);
        }
        return run;
    };
    const unsigned char ka = static_cast<unsigned char>(Sj("ｶ")[0]);
    const unsigned char ta = static_cast<unsigned char>(Sj("ﾀ")[0]);
    // Newest first: 300 fast presses of か hide the slow ones before them.
    std::vector<LoggedRun> runs = {many(ka, 100, 300), many(ka, 900, 300), many(ta, 400, 50)};
    SpeedFigures f = ComputeSpeedFigures(runs, mode, std::nullopt);
    const KeySpeed* k = Find(f.keys, "か");
    const KeySpeed* t = Find(f.keys, "た");
    ASSERT_TRUE(k && t);
    EXPECT_EQ(k->nMedianMs, 100);
    EXPECT_EQ(k->nTimed, kSpeedPresses);
    EXPECT_EQ(k->nDue, kSpeedPresses);
    EXPECT_EQ(k->nCap, 17);
    // Without a target the user's own median key time is it: (100 + 400) / 2.
    EXPECT_EQ(f.nTargetMs, 250);
    EXPECT_DOUBLE_EQ(k->dConfidence, 2.5);
    EXPECT_DOUBLE_EQ(t->dConfidence, 0.625);
    f = ComputeSpeedFigures(runs, mode, 200);
    EXPECT_DOUBLE_EQ(Find(f.keys, "た")->dConfidence, 0.5);
    // Runs of another mode count for nothing.
    EXPECT_TRUE(ComputeSpeedFigures(runs, PracticeMode::KanaKanji, std::nullopt).Empty());
}

TEST(KeySpeed, TheSlowestPairsAreRankedFromEnoughSamples) {
    const PracticeMode mode = PracticeMode::RomajiInput;
    LoggedRun run = RunOf(mode, {});
    auto press = [&](char due, std::uint32_t ms) {
        LoggedKey key;
        key.chDue = key.chTyped = static_cast<unsigned char>(due);
        key.nMs = ms;
        key.nFlags = LoggedKey::kRight;
        run.keys.push_back(key);
    };
    // Pairs A→B .. A→M, each 20 times, B slowest; A→Z only 19 times, slower still.
    for (char to = 'B'; to <= 'M'; ++to)
        for (int i = 0; i < kPairMinSamples; ++i) {
            press('A', 100);
            press(to, static_cast<std::uint32_t>(1000 - (to - 'B') * 50));
        }
    for (int i = 0; i < kPairMinSamples - 1; ++i) {
        press('A', 100);
        press('Z', 1900);
    }
    const SpeedFigures f = ComputeSpeedFigures({run}, mode, std::nullopt);
    ASSERT_EQ(f.slowPairs.size(), kSlowPairs);
    EXPECT_EQ(f.slowPairs[0].strFrom, "A");
    EXPECT_EQ(f.slowPairs[0].strTo, "B");
    EXPECT_EQ(f.slowPairs[0].nMedianMs, 1000);
    EXPECT_EQ(f.slowPairs[0].nSamples, kPairMinSamples);
    EXPECT_EQ(f.slowPairs[9].strTo, "K");
    for (const KeyPair& p : f.slowPairs) EXPECT_NE(p.strTo, "Z");
}

}  // namespace
}  // namespace kibiki

namespace kibiki {
namespace {

TEST(AimedDrill, TheLogsSlowAndMissedKeysOutweighTheHistoryAndPairsAreDrilledWhereTyped) {
    const auto entries = BuiltInDrillEntries(PracticeMode::RomajiInput, {});
    SpeedFigures f;
    auto key = [&](const char* label, int cap, int median, int due, int missed, double confidence) {
        KeySpeed k;
        k.strKey = label;
        k.nCap = cap;
        k.nMedianMs = median;
        k.nTimed = due;
        k.nDue = due;
        k.nMissed = missed;
        k.dConfidence = confidence;
        f.keys.push_back(k);
    };
    key("A", 2, 150, 200, 0, 1.2);    // fast and sure: 0
    key("K", 30, 400, 200, 0, 0.5);   // half the target: 0.5
    key("S", 6, 200, 100, 20, 1.0);   // one miss in five: 0.4
    key("Q", 1, 900, 5, 5, 0.2);      // too few presses to count
    MissedKeyCounts history;
    history.anCap[33] = 50;  // the history's worst key is not the log's
    const CapWeights w = DrillWeights(&f, history);
    EXPECT_EQ(WorstCaps(w, entries), (std::vector<int>{30, 6}));
    EXPECT_DOUBLE_EQ(w[30], 0.5);
    EXPECT_DOUBLE_EQ(w[6], 0.4);
    // A log that knows no key of the mode leaves the choice to the history.
    EXPECT_EQ(WorstCaps(DrillWeights(nullptr, history), entries), (std::vector<int>{33}));
    SpeedFigures sparse;
    EXPECT_EQ(WorstCaps(DrillWeights(&sparse, history), entries), (std::vector<int>{33}));

    std::mt19937 a(5), b(5);
    const auto chosen = ChooseDrillQuestions(entries, w, a);
    ASSERT_EQ(chosen.size(), static_cast<std::size_t>(kDrillQuestions));
    EXPECT_EQ(chosen, ChooseDrillQuestions(entries, w, b));
    for (std::size_t i : chosen) EXPECT_TRUE(entries[i].caps.test(30) || entries[i].caps.test(6));

    // Pairs: K then A is typed (KA), Q then Z nowhere.
    KeyPair ka{30, 2, "K", "A", 600, 20};
    KeyPair qz{1, 44, "Q", "Z", 900, 20};
    EXPECT_EQ(DrillablePairs(entries, {qz, ka}).size(), 1u);
    // The list's choice: the pairs chosen, or all of them when none is.
    EXPECT_EQ(ChosenPairs({qz, ka}, {false, true}).size(), 1u);
    EXPECT_EQ(ChosenPairs({qz, ka}, {false, true})[0].strFrom, "K");
    EXPECT_EQ(ChosenPairs({qz, ka}, {false, false}).size(), 2u);
    std::mt19937 r(9);
    const auto pairQuestions = ChoosePairDrillQuestions(entries, {qz, ka}, r);
    ASSERT_EQ(pairQuestions.size(), static_cast<std::size_t>(kDrillQuestions));
    for (std::size_t i : pairQuestions) EXPECT_TRUE(entries[i].HasPair(30, 2)) << U8(entries[i].strText);
    EXPECT_TRUE(ChoosePairDrillQuestions(entries, {qz}, r).empty());
    EXPECT_EQ(U8(WeakPairsTitle({ka})), "苦手な運指: K→A");
}

}  // namespace
}  // namespace kibiki

namespace kibiki {
namespace {

TEST(KeyFigureCaps, BadgesTipsAndShadesInEachView) {
    SpeedFigures f;
    KeySpeed k;
    k.strKey = "K";
    k.nCap = 30;
    k.nMedianMs = 400;
    k.nTimed = 150;
    k.nDue = 200;
    k.nMissed = 7;
    k.dConfidence = 0.5;
    f.keys.push_back(k);
    MissedKeyCounts history;
    history.anCap[2] = 4;
    const auto speed = KeyFigureCaps(&f, history, PracticeMode::RomajiInput, true, FigureView::Speed);
    EXPECT_EQ(speed[30].strBadge, "400");
    EXPECT_EQ(speed[30].nLevel, 4);
    EXPECT_EQ(U8(speed[30].strTip), "K：中央値 400ms・最近の200回でミス7回（3.5%）・目標の50%");
    EXPECT_EQ(U8(speed[2].strTip), "A：まだ記録がありません");
    const auto misses = KeyFigureCaps(&f, history, PracticeMode::RomajiInput, true, FigureView::Misses);
    EXPECT_EQ(misses[30].strBadge, "3.5%");
    EXPECT_EQ(misses[30].nLevel, 2);
    EXPECT_EQ(misses[2].strBadge, "4");  // the history's count where the log has no presses
    EXPECT_EQ(U8(misses[2].strTip), "A：履歴でミス4回");
    EXPECT_EQ(U8(FigureLevelLabels(FigureView::Speed, true)[1]), "目標の85%以上");
    EXPECT_EQ(U8(FigureLevelLabels(FigureView::Misses, false)[4]), "最も多い");
}

}  // namespace
}  // namespace kibiki
