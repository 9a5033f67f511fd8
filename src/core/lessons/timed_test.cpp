// The timed test: its lesson, and the view's side of the run (the countdown, the end at the
// limit, Esc, the result).
#include "lessons/timed_test.h"

#include <climits>

#include "kana/kana_input.h"
#include "kana/kanji_segments.h"
#include "kana/romaji_matcher.h"
#include "lessons/evaluation.h"
#include "lessons/kibiki_doc.h"
#include "lessons/kibiki_view.h"
#include "lessons/lesson_number.h"
#include "lessons/test_text.h"
#include "platform/clock.h"
#include "platform/messenger.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/history_file.h"
#include "users/history_record.h"

namespace kibiki {

namespace {

Lesson TestLessonTitled(const std::string& strTitle, bool bRomaji, int nMinutes) {
    Lesson lesson;
    lesson.source = LessonSource::TimedTest;
    lesson.mode = bRomaji ? PracticeMode::RomajiKanji : PracticeMode::KanaKanji;
    // The sentences are asked as one long question (test_text.h), read with a lesson file's
    // separator.
    lesson.nNumber = kCustomLessonInOrder;
    lesson.order = QuestionOrder::All;
    lesson.nTimeLimitSec = nMinutes * 60;
    lesson.strHistoryName = TimedTestName(nMinutes);
    lesson.strTitle = lesson.strHistoryName + "\x81\x40" /* 　 */ + strTitle;
    return lesson;
}

// Whether the input can type a reading to its end: the kana keys, or the letters of every kana
// in their fixed spellings.
bool CanType(const std::string& strReading, bool bRomaji) {
    if (!bRomaji) return KanaKeysCanType(strReading);
    CRomajiMatcher matcher;
    std::string text = strReading;
    return matcher.BuildRoman(text, true);
}

}  // namespace

Lesson FileTestLesson(const LessonFile& file, bool bRomaji, int nMinutes, std::string_view strSeparator) {
    Lesson lesson = TestLessonTitled(file.strTitle, bRomaji, nMinutes);
    const LessonTexts& texts = file.texts;
    for (std::size_t i = 0; i < texts.aReadings.size(); ++i) {
        const std::string& kanji = i < texts.aKanji.size() ? texts.aKanji[i] : std::string();
        std::string reading = texts.aReadings[i];
        CKanjiSegments segments;
        segments.SplitKanjiSegments(kanji, reading, strSeparator);
        if (reading.empty() || !CanType(reading, bRomaji)) continue;
        lesson.texts.aKanji.push_back(kanji);
        lesson.texts.aReadings.push_back(texts.aReadings[i]);
    }
    return lesson;
}

Lesson TimedTestLesson(const TestPassage& passage, bool bRomaji, int nMinutes) {
    Lesson lesson = TestLessonTitled(passage.strTitle, bRomaji, nMinutes);
    for (const std::string& entry : passage.aEntries) {
        std::string kanji, reading;
        SplitKanjiReading(entry, kanji, reading);
        lesson.texts.aKanji.push_back(std::move(kanji));
        lesson.texts.aReadings.push_back(std::move(reading));
    }
    return lesson;
}

TimedTestChoice DefaultTestChoice(PracticeMode userMode) {
    TimedTestChoice choice;
    choice.bRomaji = !IsKanaAnswer(KnownMode(userMode));
    return choice;
}

bool ChosenTestLesson(const TimedTestChoice& choice, unsigned nDraw, std::string_view strSeparator, Lesson& lesson,
                      Messenger* pMessenger) {
    bool known = false;
    for (int m : kTestMinutes) known = known || m == choice.nMinutes;
    if (!known) return false;
    if (!choice.strFile.empty()) {
        LessonFile file;
        FileFault fault = FileFault::None;
        const int mode = ReadLessonFile(choice.strFile, file, &fault);
        std::string message;
        if (mode < 0) {
            message = StringOrEmpty(IDS_CANNOT_OPEN) + LessonFaultDetail(choice.strFile, fault);
        } else {
            lesson = FileTestLesson(file, choice.bRomaji, choice.nMinutes, strSeparator);
            if (!lesson.texts.aReadings.empty()) return true;
            message = StringOrEmpty(IDS_TEST_FILE_UNUSABLE);
        }
        if (pMessenger) pMessenger->ShowMessage(message, "", MsgButtons::Ok, MsgIcon::Warning);
        return false;
    }
    const auto& passages = TestPassages();
    if (passages.empty()) return false;
    const std::size_t index = choice.nPassage < 0 ? nDraw % passages.size() : static_cast<std::size_t>(choice.nPassage);
    if (index >= passages.size()) return false;
    lesson = TimedTestLesson(passages[index], choice.bRomaji, choice.nMinutes);
    return true;
}

TimedTestResultInfo ResultInfo(const std::string& strTitle, const TestScore& s, int nBestSpeed) {
    TimedTestResultInfo info;
    info.strTitle = strTitle;
    const std::string chars = StringOrEmpty(IDS_TEST_UNIT_CHARS);
    const auto row = [&](int nLabel, std::string value) { info.rows.emplace_back(StringOrEmpty(nLabel), std::move(value)); };
    row(IDS_TEST_ROW_CHARS, std::to_string(s.nChars) + chars);
    row(IDS_TEST_ROW_PER_10MIN, WholeNumber(s.dCharsPer10Min) + chars);
    row(IDS_TEST_ROW_KEYS, WholeNumber(s.dKeysPerMinute) + StringOrEmpty(IDS_PER_MINUTE));
    row(IDS_TEST_ROW_KANA, WholeNumber(s.dKanaPerMinute) + StringOrEmpty(IDS_KANA_PER_MINUTE));
    row(IDS_TEST_ROW_ACCURACY, WholeNumber(s.dAccuracy) + StringOrEmpty(IDS_PERCENT));
    row(IDS_TEST_ROW_MISSES, std::to_string(s.nMisses) + StringOrEmpty(IDS_TEST_UNIT_TIMES));
    if (nBestSpeed >= 0) row(IDS_TEST_ROW_BEST, std::to_string(nBestSpeed) + StringOrEmpty(IDS_PER_MINUTE));
    for (const TestSetResult& set : s.sets) info.rows.emplace_back(set.strSet, ReachedText(set));
    info.strNextGrade = NextGradeText(s);
    return info;
}

bool CKibikiView::IsTimedTest() const {
    return m_bRunning && !m_bTestEnding && m_doc.CurrentLesson().nTimeLimitSec > 0;
}

bool CKibikiView::TimeIsUp() const {
    if (!IsTimedTest() || m_doc.Run().StartTick() == 0) return false;
    const std::uint32_t elapsed = m_clock.TickCount() - m_doc.Run().StartTick();
    return elapsed >= static_cast<std::uint32_t>(m_doc.CurrentLesson().nTimeLimitSec) * 1000u;
}

void CKibikiView::OnTimer() {
    if (!IsTimedTest()) return;
    if (TimeIsUp()) {
        EndTimedTest();
        return;
    }
    const std::uint32_t limit = static_cast<std::uint32_t>(m_doc.CurrentLesson().nTimeLimitSec) * 1000u;
    const std::uint32_t start = m_doc.Run().StartTick();
    const std::uint32_t left = start == 0 ? limit : limit - (m_clock.TickCount() - start);
    const std::string text = m_doc.CurrentLesson().strTitle + "\x81\x40" /* 　 */ + CountdownText(left);
    if (text == m_strCountdown) return;
    m_strCountdown = text;
    m_form.SetControlText(IDC_TITLE, text);
}

bool CKibikiView::OnEscape() {
    if (!IsTimedTest()) return false;
    m_strCountdown.clear();
    StopRun();
    return true;
}

void CKibikiView::EndTimedTest() {
    const Lesson& lesson = m_doc.CurrentLesson();
    const LessonRun& run = m_doc.Run();
    const std::uint32_t limit = static_cast<std::uint32_t>(lesson.nTimeLimitSec) * 1000u;
    std::uint32_t elapsed = m_clock.TickCount() - run.StartTick();
    if (elapsed > limit) elapsed = limit;
    m_doc.StopClock(run.StartTick() + elapsed);
    // Whole sentences count as characters; the keys count as far as they went.
    const bool whole = run.QuestionsDone() >= run.QuestionCount();
    const int chars = FinishedChars(JoinTestText(lesson.texts, m_doc.KanaSeparator(), kMaxQuestionBytes),
                                    whole ? INT_MAX : run.KanaPos());
    if (!whole) m_doc.CountUnfinishedQuestion();
    m_doc.SetFinishedChars(chars);
    // The countdown stops where the test did, not at the last tick before it.
    m_form.SetControlText(IDC_TITLE, lesson.strTitle + "\x81\x40" /* 　 */ + CountdownText(limit - elapsed));
    m_strCountdown.clear();
    m_bTestEnding = true;
    EndRun(RunEnd::Finished);

    TestTally tally;
    tally.nChars = chars;
    tally.nKana = run.KanaTyped();
    tally.dKeystrokes = run.Keystrokes();
    tally.nMisses = run.Misses();
    tally.dwElapsedMs = elapsed;
    const TestScore score = ScoreTimedTest(tally);

    // The history keeps each test's speed, so the best so far is read from it before this one.
    int nBest = -1;
    if (const auto records = ReadHistoryRecords(m_doc.Settings()))
        for (const HistoryRecord& r : records->Records())
            if (r.strLesson == lesson.HistoryKey() && r.nSpeed > nBest) nBest = r.nSpeed;
    // The views point into the summary: it must outlive them.
    const std::vector<MissedKey> missed = m_doc.SummariseMisses();
    const std::vector<MissedKeyView> keys = ViewsOf(missed);
    AppendHistory(m_doc.Settings(), HistoryDate(static_cast<std::time_t>(run.StartTime())), lesson.HistoryKey(),
                  WholeNumber(score.dKeysPerMinute) + StringOrEmpty(IDS_PER_MINUTE),
                  WholeNumber(score.dAccuracy) + StringOrEmpty(IDS_PERCENT), MissedKeysField(keys), &m_form);

    const TimedTestResultInfo info = ResultInfo(lesson.strHistoryName, score, nBest);
    const int answer = m_form.RunTimedTestResultDialog(info);
    m_bTestEnding = false;
    if (answer == LESSON_END_AGAIN) {
        RestartRun();
        OnTimer();
    } else {
        StopRun();
    }
}

}  // namespace kibiki
