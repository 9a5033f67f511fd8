#include "progress/weak_key_drill_start.h"

#include "kana/romaji_matcher.h"
#include "lessons/kibiki_doc.h"
#include "lessons/kibiki_view.h"
#include "lessons/lesson_number.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "practice_log/practice_log.h"
#include "progress/weak_key_drill.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/history_file.h"

namespace kibiki {

namespace {

std::vector<DrillEntry> EntriesFor(CKibikiDoc& doc, PracticeMode mode) {
    // The letters the user's own spellings give, built aside from the run's matcher.
    CRomajiMatcher matcher(&doc.RomajiCallbacks());
    const RomajiBuilder romaji = [&](const std::string& strReading) {
        std::string text = strReading;
        return matcher.BuildRoman(text, doc.RomanMode()) ? matcher.Roman() : std::string();
    };
    return BuiltInDrillEntries(mode, romaji);
}

std::mt19937 SeededRng(CKibikiDoc& doc) {
    Clock* pClock = doc.GetClock();
    return std::mt19937(static_cast<std::uint32_t>(pClock ? pClock->Now() : 0));
}

void Tell(CKibikiDoc& doc, int nTextId) {
    if (Messenger* pMessenger = doc.GetMessenger())
        pMessenger->ShowMessage(StringOrEmpty(nTextId), StringOrEmpty(IDS_WEAK_KEY_DRILL), MsgButtons::Ok,
                                MsgIcon::Information);
}

bool StartDrill(CKibikiView& view, PracticeMode mode, const std::vector<DrillEntry>& entries,
                const std::vector<std::size_t>& chosen, std::string strTitle) {
    Lesson lesson;
    lesson.source = LessonSource::WeakKeyDrill;
    lesson.mode = mode;
    lesson.nNumber = kCustomLessonInOrder;
    lesson.order = QuestionOrder::Drawn;
    lesson.strTitle = std::move(strTitle);
    lesson.strHistoryName = StringOrEmpty(IDS_WEAK_KEY_DRILL);
    for (std::size_t i : chosen) {
        std::string kanji, reading;
        if (HasKanjiQuestions(mode)) {
            SplitKanjiReading(entries[i].strText, kanji, reading);
            lesson.texts.aKanji.push_back(std::move(kanji));
        } else {
            reading = entries[i].strText;
        }
        lesson.texts.aReadings.push_back(std::move(reading));
    }
    return view.StartLesson(std::move(lesson));
}

}  // namespace

SpeedFigures ReadSpeedFigures(PracticeLog& log, PracticeMode mode) {
    std::vector<LoggedRun> runs;
    if (log.ReadRuns(mode, kSpeedWindowKeys, runs) != LogFault::None) return {};
    return ComputeSpeedFigures(runs, mode, log.TargetMs());
}

bool StartWeakKeyDrill(CKibikiView& view, CKibikiDoc& doc, PracticeLog* pLog, std::optional<PracticeMode> given) {
    if (!view.CanStartLesson()) return false;
    const PracticeMode mode = KnownMode(given.value_or(doc.UserMode()));
    const CHistoryRecords records(ReadHistoryText(doc.Settings()));
    const MissedKeyCounts counts = CountMissedKeys(records, mode, kWeakKeyRuns);
    SpeedFigures figures;
    if (pLog) figures = ReadSpeedFigures(*pLog, mode);
    const CapWeights weights = DrillWeights(pLog ? &figures : nullptr, counts);
    const std::vector<DrillEntry> entries = EntriesFor(doc, mode);
    std::mt19937 rng = SeededRng(doc);
    const std::vector<std::size_t> chosen = ChooseDrillQuestions(entries, weights, rng);
    if (chosen.empty()) {
        Tell(doc, IDS_NO_WEAK_KEYS);
        return false;
    }
    return StartDrill(view, mode, entries, chosen, WeakKeysTitle(mode, WorstCaps(weights, entries)));
}

bool StartPairDrill(CKibikiView& view, CKibikiDoc& doc, const std::vector<KeyPair>& pairs,
                    std::optional<PracticeMode> given) {
    if (!view.CanStartLesson()) return false;
    const PracticeMode mode = KnownMode(given.value_or(doc.UserMode()));
    const std::vector<DrillEntry> entries = EntriesFor(doc, mode);
    std::mt19937 rng = SeededRng(doc);
    const std::vector<std::size_t> chosen = ChoosePairDrillQuestions(entries, pairs, rng);
    if (chosen.empty()) {
        Tell(doc, IDS_NO_DRILLABLE_PAIRS);
        return false;
    }
    return StartDrill(view, mode, entries, chosen, WeakPairsTitle(DrillablePairs(entries, pairs)));
}

}  // namespace kibiki
