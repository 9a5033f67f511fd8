#include "progress/weak_key_drill_start.h"

#include "kana/romaji_matcher.h"
#include "lessons/kibiki_doc.h"
#include "lessons/kibiki_view.h"
#include "lessons/lesson_number.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "progress/weak_key_drill.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/history_file.h"

namespace kibiki {

bool StartWeakKeyDrill(CKibikiView& view, CKibikiDoc& doc) {
    if (!view.CanStartLesson()) return false;
    const PracticeMode mode = KnownMode(doc.UserMode());
    const CHistoryRecords records(ReadHistoryText(doc.Settings()));
    const MissedKeyCounts counts = CountMissedKeys(records, mode, kWeakKeyRuns);
    // The letters the user's own spellings give, built aside from the run's matcher.
    CRomajiMatcher matcher(&doc.RomajiCallbacks());
    const RomajiBuilder romaji = [&](const std::string& strReading) {
        std::string text = strReading;
        return matcher.BuildRoman(text, doc.RomanMode()) ? matcher.Roman() : std::string();
    };
    const std::vector<DrillEntry> entries = BuiltInDrillEntries(mode, romaji);
    Clock* pClock = doc.GetClock();
    std::mt19937 rng(static_cast<std::uint32_t>(pClock ? pClock->Now() : 0));
    const std::vector<std::size_t> chosen = ChooseDrillQuestions(entries, counts, rng);
    const std::string title = StringOrEmpty(IDS_WEAK_KEY_DRILL);
    if (chosen.empty()) {
        if (Messenger* pMessenger = doc.GetMessenger())
            pMessenger->ShowMessage(StringOrEmpty(IDS_NO_WEAK_KEYS), title, MsgButtons::Ok,
                                    MsgIcon::Information);
        return false;
    }

    Lesson lesson;
    lesson.source = LessonSource::WeakKeyDrill;
    lesson.mode = mode;
    lesson.nNumber = kCustomLessonInOrder;
    lesson.order = QuestionOrder::Drawn;
    lesson.strTitle = WeakKeysTitle(mode, WorstCaps(counts, entries));
    lesson.strHistoryName = title;
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

}  // namespace kibiki
