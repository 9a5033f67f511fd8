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
    LessonRun& run = doc.m_run;
    const PracticeMode mode = KnownMode(run.m_nType);
    const CHistoryRecords records(ReadHistoryText(doc.m_settings));
    const MissedKeyCounts counts = CountMissedKeys(records, mode, kWeakKeyRuns);
    // The letters the user's own spellings give, built aside from the run's matcher.
    CRomajiMatcher matcher(&doc.m_romajiUser);
    const RomajiBuilder romaji = [&](const std::string& strReading) {
        std::string text = strReading;
        return matcher.BuildRoman(text, doc.m_bRomanMode) ? matcher.Roman() : std::string();
    };
    const std::vector<DrillEntry> entries = BuiltInDrillEntries(mode, romaji);
    std::mt19937 rng(static_cast<std::uint32_t>(doc.m_pClock ? doc.m_pClock->Now() : 0));
    const std::vector<std::size_t> chosen = ChooseDrillQuestions(entries, counts, rng);
    const std::string title = StringOrEmpty(IDS_WEAK_KEY_DRILL);
    if (chosen.empty()) {
        if (doc.m_pMessenger)
            doc.m_pMessenger->ShowMessage(StringOrEmpty(IDS_NO_WEAK_KEYS), title, MsgButtons::Ok,
                                          MsgIcon::Information);
        return false;
    }

    // The lists a lesson file would fill: header, name, then the readings; kanji texts aside.
    doc.m_aLessonLines = {std::string(), title};
    doc.m_aLessonKanji.clear();
    for (std::size_t i : chosen) {
        std::string text = entries[i].strText;
        std::string kanji;
        if (HasKanjiQuestions(mode)) {
            const std::size_t comma = text.find(',');
            if (comma != std::string::npos) {
                kanji = text.substr(0, comma);
                text.erase(0, comma + 1);
            }
            doc.m_aLessonKanji.push_back(kanji);
        }
        doc.m_aLessonLines.push_back(text);
    }
    doc.m_settings.m_strCustomName = title;
    view.m_nSavedType = run.m_nType;
    run.m_nType = mode;
    run.m_bEnglish = false;
    doc.m_bBuiltInTexts = true;
    run.m_nLesson = kCustomLessonInOrder;
    view.StartRun(&title);
    if (!view.m_bRunning) doc.m_bBuiltInTexts = false;
    return view.m_bRunning;
}

}  // namespace kibiki
