// Scoring a finished run and summarising its missed keys.
#include "lessons/evaluation.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "kana/kana_tables.h"
#include "lessons/kibiki_doc.h"
#include "lessons/lesson_number.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

}  // namespace

double AccuracyPercent(double dKeystrokes, int nMisses) {
    if (!(dKeystrokes > 0.0)) return 0.0;
    const double x = (dKeystrokes - nMisses) / dKeystrokes * 100.0;
    return x < 0.0 ? 0.0 : x;
}

int EvaluationMessageId(double dAccuracy, int nMisses) {
    if (nMisses == 0) return IDS_PERFECT;
    if (dAccuracy >= 90.0) return IDS_EXCELLENT;
    if (dAccuracy >= 80.0) return IDS_PASSED;
    if (dAccuracy >= 75.0) return IDS_NEARLY;
    return IDS_MORE_PRACTICE;
}

double KeystrokesPerMinute(double dKeystrokes, std::uint32_t dwElapsedMs) {
    const std::uint32_t seconds = dwElapsedMs / 1000;
    if (seconds > 0) return dKeystrokes / seconds * 60.0;
    return dKeystrokes * 60000.0 / (dwElapsedMs > 0 ? dwElapsedMs : 1);
}

int CountKana(std::string_view reading) {
    int n = 0;
    for (std::size_t i = 0; i < reading.size(); i += CharLenAt(reading, i)) ++n;
    return n;
}

std::string WholeNumber(double d) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.0f", std::round(d));
    return buf;
}

std::string HistoryDate(std::time_t t) {
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return {};
    char buf[128];
    const std::size_t n = std::strftime(buf, sizeof buf, StringOrEmpty(IDS_DATE_FORMAT).c_str(), &tm);
    return std::string(buf, n);
}

std::string MissedKeyText(PracticeMode mode, unsigned char key) {
    const std::string typed(1, static_cast<char>(key));
    if (IsKanaAnswer(mode)) {
        // With the kana lock on only the keypad types ASCII ("+", "-", digits): a miss on it
        // shows what it typed, as every other wrong key does.
        if (key > 0x20 && key < 0x7F) return typed;
        std::string kana;
        ConvertKana(kana, false, typed);
        return kana;
    }
    if (IsRomajiAnswer(mode) && key == '/') return StringOrEmpty(IDS_MIDDLE_DOT);
    return typed;
}

CKibikiDoc::Evaluation CKibikiDoc::Evaluate(Messenger& confirm) {
    Evaluation ev;
    const double accuracy = AccuracyPercent(m_run.m_dKeystrokes, m_run.m_nMisses);
    if (m_run.m_nQuestionsDone == m_run.m_nQuestionCount) {
        ev.outcome = Evaluation::Complete;
        ev.nMessageId = EvaluationMessageId(accuracy, m_run.m_nMisses);
        const std::uint32_t elapsed = m_run.m_dwEndTick - m_run.m_dwStartTick;
        ev.strSpeed = WholeNumber(KeystrokesPerMinute(m_run.m_dKeystrokes, elapsed)) +
                      StringOrEmpty(IDS_PER_MINUTE);
        // Romaji input and English text have no kana to count.
        if (!ShowsRomaji(m_lesson.mode))
            ev.strKanaSpeed = WholeNumber(KeystrokesPerMinute(m_run.m_nKanaTyped, elapsed)) +
                              StringOrEmpty(IDS_KANA_PER_MINUTE);
        ev.strAccuracy = WholeNumber(accuracy) + StringOrEmpty(IDS_PERCENT);
        ev.bNoNext = !HasNextLesson(m_lesson.nNumber);
        ev.strDate = HistoryDate(static_cast<std::time_t>(m_run.m_tStart));
    } else if (confirm.ShowMessage(StringOrEmpty(IDS_CONFIRM_END),
                                   StringOrEmpty(IDS_CONFIRM_END_CAPTION), MsgButtons::YesNo,
                                   MsgIcon::Question) == MsgResult::Yes) {
        m_run.m_nKanaPos = 0;
        m_matcher.Restart();
        ev.outcome = Evaluation::Stop;
    } else {
        ev.outcome = Evaluation::Continue;
    }
    ApplyKanaLock(m_lesson.mode);
    return ev;
}

std::vector<MissedKey> CKibikiDoc::SummariseMisses() const {
    return kibiki::SummariseMisses(m_lesson.mode, m_run.m_missedKeys);
}

std::vector<MissedKey> SummariseMisses(PracticeMode type, const std::map<unsigned char, int>& missed) {
    std::vector<MissedKey> keys;
    for (const auto& [key, count] : missed) {
        // A bare space would vanish on screen and split the history record.
        std::string text = key == ' ' ? StringOrEmpty(IDS_SPACE_KEY) : MissedKeyText(type, key);
        if (text.empty()) text.assign(1, static_cast<char>(key));
        // Before the first entry with a strictly lower count: equal counts keep their order.
        auto at = keys.begin();
        while (at != keys.end() && at->nCount >= count) ++at;
        keys.insert(at, {std::move(text), count});
    }
    return keys;
}

}  // namespace kibiki
