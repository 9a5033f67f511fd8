// The keystroke judge and the flows of a run: start, restart, finish, stop.
#include "lessons/kibiki_view.h"

#include <algorithm>

#include "kana/kana_tables.h"
#include "kana/romaji_spelling.h"
#include "lessons/catalogue.h"
#include "lessons/evaluation.h"
#include "lessons/kibiki_doc.h"
#include "lessons/lesson_file.h"
#include "lessons/lesson_number.h"
#include "platform/clock.h"
#include "platform/regular_file.h"
#include "text/control_marks.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/history_file.h"

namespace kibiki {

CKibikiView::CKibikiView(CKibikiDoc& doc, PracticeForm& form, KeyboardLayout& layout, Clock& clock)
    : m_doc(doc), m_form(form), m_layout(layout), m_clock(clock) {
    if (!m_doc.GetClock()) m_doc.SetClock(&clock);
    if (!m_doc.GetMessenger()) m_doc.SetMessenger(&form);
}

PracticeMode CKibikiView::ShownMode() const {
    return m_bRunning ? m_doc.CurrentLesson().mode : m_doc.UserMode();
}

void CKibikiView::AddListener(KeystrokeListener* pListener) {
    if (pListener && std::find(m_listeners.begin(), m_listeners.end(), pListener) == m_listeners.end())
        m_listeners.push_back(pListener);
}

void CKibikiView::RemoveListener(KeystrokeListener* pListener) {
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), pListener), m_listeners.end());
}

void CKibikiView::TellRunStart() {
    m_bRunOpen = true;
    m_bQuestionStart = true;
    for (KeystrokeListener* p : m_listeners) p->OnRunStart(m_doc.CurrentLesson());
}

void CKibikiView::EndRun(RunEnd end) {
    if (!m_bRunOpen) return;
    m_bRunOpen = false;
    for (KeystrokeListener* p : m_listeners) p->OnRunEnd(end);
}

int CKibikiView::PageLines() const {
    // A hand-edited Font outside 1-3 is taken as the default, small.
    return m_nFont >= 1 && m_nFont <= 3 ? m_nFont : 3;
}

void CKibikiView::SetProgressForQuestion() {
    // One step per page, the last page counted even when it is not full, so the bar never
    // runs past its end and starts again.
    const int n = PageLines();
    m_form.SetProgressRange(0, std::max(1, (m_form.QuestionLineCount() + n - 1) / n));
}

void CKibikiView::OnTypedChar(unsigned char ch) {
    if (m_bMissMarked) {
        const int cap = CapOf(m_chMissKey);
        if (cap >= 0) m_form.SetCapSunken(IDC_KEY_FIRST + cap, false);
        m_form.SetControlText(IDC_MISS_KEY, "");
        m_bMissMarked = false;
    }
    if (!m_bRunning) return;
    // A key after the limit counts for nothing: the tick was late.
    if (TimeIsUp()) {
        EndTimedTest();
        return;
    }

    // Wrong keys start the clock too.
    if (m_doc.Run().StartTick() == 0) m_doc.StartClock(m_clock.Now(), m_clock.TickCount());
    const Lesson& lesson = m_doc.CurrentLesson();
    const PracticeMode type = lesson.mode;
    const bool fold = !IsCustomLesson(lesson.nNumber) || IsRomajiAnswer(type) ||
                      (ShowsRomaji(type) && !lesson.bEnglish);
    if (fold) ch = UpperAsciiChar(ch);
    if (m_bFirstKey && IsKanaAnswer(type)) {
        // The kana lock may not have been on for the very first key of the lesson.
        std::string kana;
        ConvertKeyChar(kana, true, ch);
        if (!kana.empty()) ch = static_cast<unsigned char>(kana[0]);
        m_bFirstKey = false;
    }

    // What was due is read before the judge moves on; copied only for listeners.
    const bool bTell = !m_listeners.empty();
    KeystrokeEvent event;
    std::string due;
    if (bTell) {
        event.dwTime = m_clock.TickCount();
        due = m_doc.DueKana();
        event.nKanaPos = m_doc.Run().KanaPos();
    }
    unsigned char expected = 0;
    const bool bRight = m_doc.IsExpectedKey(ch, expected);
    if (bTell) {
        event.nCap = CapOf(ch);
        event.chTyped = ch;
        event.chDue = expected;
        event.kanaDue = due;
        event.bQuestionStart = m_bQuestionStart;
        event.bRight = bRight;
        for (KeystrokeListener* p : m_listeners) p->OnKeystroke(event);
    }
    m_bQuestionStart = false;
    if (bRight) {
        if (!RightKey()) return;  // the lesson ended: the evaluation set the kana lock
    } else {
        WrongKey(ch, expected);
    }
    m_form.CloseInputMethod();
    m_doc.ApplyKanaLock(type);
}

bool CKibikiView::RightKey() {
    std::string answer;
    int caret = 0;
    m_doc.AdvanceAnswer(answer, caret);
    m_form.SetCaret(IDC_QUESTION, caret);
    m_form.SetCaret(IDC_ANSWER, caret);

    // Pages of N lines: the question box shows the caret's page from its first line, and the
    // answer box starts afresh on each page. A caret that skipped a line still turns the page.
    const int line = m_form.QuestionLineFromOffset(caret);
    if (line != m_nCaretLine) {
        const int page = line / PageLines();
        const bool newPage = page != m_nCaretLine / PageLines();
        m_nCaretLine = line;
        if (newPage) {
            m_nAnswerStart = caret;
            m_form.ShowQuestionFromLine(page * PageLines());
            m_form.Repaint(IDC_QUESTION);
            m_form.SetProgressPos(page + 1);
        }
    }
    const std::size_t from = std::min<std::size_t>(static_cast<std::size_t>(std::max(m_nAnswerStart, 0)), answer.size());
    const std::size_t length = caret > m_nAnswerStart ? static_cast<std::size_t>(caret - m_nAnswerStart) : 0;
    m_form.SetControlText(IDC_ANSWER, answer.substr(from, length));

    unsigned char guide = 0;
    std::string next, accuracy;
    bool faulty = false;
    if (m_doc.AdvanceQuestion(guide, next, accuracy, m_form, faulty)) {
        GuideChar(guide, false);
        if (faulty) {
            EndRun(RunEnd::Faulty);
            StopRun();
        } else {
            FinishRun();
        }
        return false;
    }
    if (!next.empty()) {
        m_form.SetControlText(IDC_ACCURACY, accuracy);
        m_form.SetControlText(IDC_ANSWER, "");
        m_form.SetControlText(IDC_MISS_KEY, "");
        m_form.SetControlText(IDC_QUESTION, next);
        SetProgressForQuestion();
        m_form.SetProgressPos(1);
        m_bMissMarked = false;
        m_bShiftLit = false;
        m_nCaretLine = 0;
        m_nAnswerStart = 0;
        m_bQuestionStart = true;
    }
    AdvanceGuide();
    return true;
}


void CKibikiView::WrongKey(unsigned char ch, unsigned char expected) {
    const PracticeMode type = m_doc.CurrentLesson().mode;
    if (!ShowsRomaji(type)) ch = UpperAsciiChar(ch);
    m_chMissKey = ch;
    // A wrong key that types no visible character is named instead.
    std::string shown = ControlMark(ch);
    if (shown.empty()) shown = MissedKeyText(type, ch);
    m_form.SetControlText(IDC_MISS_KEY, shown);

    // The tally counts the key that should have been pressed.
    const int cap = CapOf(ch);
    if (cap >= 0) m_form.SetCapSunken(IDC_KEY_FIRST + cap, true);
    m_bMissMarked = true;
    m_form.Beep();
    m_doc.CountMiss(expected);
    m_form.SetControlText(IDC_MISS_COUNT, std::to_string(m_doc.Run().Misses()));
}

bool CKibikiView::OnNewDocument() {
    if (m_doc.TakeFirstNewDocument()) return true;
    if (m_bRunning) return true;
    const PracticeMode mode = m_doc.UserMode();
    const auto labels = LessonSelectLabels(mode);
    const int index = m_form.RunLessonSelectDialog(labels);
    if (index < 0 || index >= static_cast<int>(labels.size())) return true;
    if (IsBuiltInLesson(index + 1)) {
        Lesson lesson = BuiltInLesson(mode, index + 1);
        lesson.strTitle = labels[index];
        StartLesson(std::move(lesson));
    } else {
        StartCustomLesson();
    }
    return true;
}

bool CKibikiView::StartLesson(Lesson lesson) {
    if (m_bRunning) return false;
    const PracticeMode mode = lesson.mode;
    const std::string title = lesson.strTitle;
    m_doc.SetLesson(std::move(lesson));
    if (mode != m_doc.UserMode()) ShowLegendsOf(mode);
    StartRun(&title);
    if (!m_bRunning && mode != m_doc.UserMode()) ShowKeyLegends();
    m_strCountdown.clear();
    OnTimer();
    return m_bRunning;
}

void CKibikiView::StartRun(const std::string* pTitle) {
    std::string display;
    m_doc.ResetRun(display, m_form);
    if (display.empty()) {
        m_form.SetControlText(IDC_TITLE, "");
        m_form.SetControlText(IDC_REMAINING, "");
        return;
    }
    m_bRunning = true;
    m_bFirstKey = true;
    m_bShiftLit = false;
    m_bMissMarked = false;
    m_chMissKey = 0;
    m_nCaretLine = 0;
    m_nAnswerStart = 0;
    if (pTitle) m_form.SetControlText(IDC_TITLE, *pTitle);
    m_form.SetControlText(IDC_QUESTION, display);
    SetProgressForQuestion();
    m_form.SetProgressStep(1);
    m_form.StepProgress();
    m_form.SetControlText(IDC_MISS_COUNT, "0");
    m_form.EnableSettingMenus(false);
    AdvanceGuide();
    m_form.CloseInputMethod();
    m_doc.ApplyKanaLock(m_doc.CurrentLesson().mode);
    TellRunStart();
}

void CKibikiView::RestartRun() {
    const std::string title = m_doc.CurrentLesson().strTitle;
    m_form.SetControlText(IDC_MISS_COUNT, "0");
    std::string display;
    m_doc.ResetRun(display, m_form);
    if (display.empty()) {
        StopRun();
        return;
    }
    m_form.SetControlText(IDC_QUESTION, display);
    m_form.SetControlText(IDC_TITLE, title);
    m_form.SetControlText(IDC_ANSWER, "");
    m_form.SetControlText(IDC_REMAINING, "");
    m_form.SetControlText(IDC_ACCURACY, "");
    m_form.SetControlText(IDC_MISS_KEY, "");
    m_form.SetProgressPos(0);
    m_nCaretLine = 0;
    m_nAnswerStart = 0;
    AdvanceGuide();
    m_bFirstKey = true;
    TellRunStart();
}

void CKibikiView::StopRun() {
    const unsigned char next = m_doc.NextExpectedKey();
    GuideChar(m_doc.Run().GuideKey(), false);
    GuideChar(next, false);
    GuideChar(m_chMissKey, false);
    const int cap = CapOf(m_chMissKey);
    if (cap >= 0) m_form.SetCapSunken(IDC_KEY_FIRST + cap, false);
    EndRun(RunEnd::Stopped);
    const bool bOtherMode = m_bRunning && m_doc.CurrentLesson().mode != m_doc.UserMode();
    m_bRunning = false;
    if (bOtherMode) ShowKeyLegends();
    for (int id : {IDC_QUESTION, IDC_ANSWER, IDC_REMAINING, IDC_ACCURACY, IDC_MISS_KEY,
                   IDC_MISS_COUNT, IDC_TITLE})
        m_form.SetControlText(id, "");
    m_form.SetProgressPos(0);
    m_form.EnableSettingMenus(true);
}

void CKibikiView::FinishRun() {
    // A timed test's text finished early is scored; ended from the menu it stops, unasked.
    if (IsTimedTest()) {
        if (m_doc.Run().QuestionsDone() == m_doc.Run().QuestionCount())
            EndTimedTest();
        else
            OnEscape();
        return;
    }
    const CKibikiDoc::Evaluation ev = m_doc.Evaluate(m_form);
    if (ev.outcome == CKibikiDoc::Evaluation::Stop) {
        StopRun();
        return;
    }
    if (ev.outcome == CKibikiDoc::Evaluation::Continue) return;
    EndRun(RunEnd::Finished);

    const std::vector<MissedKey> missed = m_doc.SummariseMisses();
    const std::vector<MissedKeyView> keys = ViewsOf(missed);
    // The dialog shows even when the record could not be written; the user was told.
    AppendHistory(m_doc.Settings(), ev.strDate, m_doc.CurrentLesson().HistoryKey(), ev.strSpeed,
                  ev.strAccuracy, MissedKeysField(keys), &m_form);

    LessonEndInfo info;
    info.strTopThree = LessonEndTopThree(keys);
    info.strDetails = LessonEndDetails(keys);
    info.strMessage = StringOrEmpty(ev.nMessageId);
    info.strSpeed = ev.strSpeed;
    info.strKanaSpeed = ev.strKanaSpeed;
    info.strAccuracy = ev.strAccuracy;
    info.bNextEnabled = !ev.bNoNext;
    info.bShowAllEnabled = keys.size() > kTopMissedKeys;
    if (m_fnLessonEndNote) info.strGoal = m_fnLessonEndNote();
    switch (m_form.RunLessonEndDialog(info)) {
        case LESSON_END_NEXT:
            if (!ev.bNoNext) m_doc.NextBuiltInLesson();
            RestartRun();
            break;
        case LESSON_END_AGAIN:
            RestartRun();
            break;
        default:
            StopRun();
            break;
    }
}

void CKibikiView::StartCustomLesson() {
    std::string path;
    int nMode = 0;
    if (!m_form.RunCustomStartDialog(m_doc.Settings(), path, nMode)) {
        m_form.SetControlText(IDC_TITLE, "");
        return;
    }
    LessonFile file;
    FileFault fault = FileFault::None;
    const int fileMode = ReadLessonFile(path, file, &fault);
    const auto refuse = [&](int nText, const std::string& strDetail, int nCaption, MsgIcon icon) {
        m_form.ShowMessage(StringOrEmpty(nText) + strDetail, nCaption ? StringOrEmpty(nCaption) : "",
                           MsgButtons::Ok, icon);
        m_form.SetControlText(IDC_TITLE, "");
    };
    if (fileMode < 0) {
        refuse(IDS_CANNOT_OPEN, LessonFaultDetail(path, fault), 0, MsgIcon::Warning);
        return;
    }
    if (!IsKnownMode(static_cast<PracticeMode>(fileMode))) {
        refuse(IDS_BAD_HEADER, "", IDS_CONFIRM_CAPTION_WARNING, MsgIcon::None);
        return;
    }
    const LessonTexts& texts = file.texts;
    if (texts.aReadings.empty()) {
        refuse(IDS_NO_QUESTIONS, "", 0, MsgIcon::Warning);
        return;
    }
    // An empty line ends the lesson, so asked in file order this one would end before it began.
    if (nMode != 1 && texts.aReadings[0].empty() && (texts.aKanji.empty() || texts.aKanji[0].empty())) {
        refuse(IDS_EMPTY_FIRST_QUESTION, "", 0, MsgIcon::Warning);
        return;
    }
    // A question with a byte that is no UTF-8 cannot be what the user meant to type; in the
    // header or the name line it is only pointed out.
    if (file.nMalformedLine != std::string::npos) {
        const bool bQuestion = file.nMalformedLine >= 2;
        m_form.ShowMessage(MalformedLineText(file.nMalformedLine, file.strMalformedLine), "", MsgButtons::Ok,
                           MsgIcon::Warning);
        if (bQuestion) {
            m_form.SetControlText(IDC_TITLE, "");
            return;
        }
    }
    // Asked or not, a question the file could not hold is the user's to correct now.
    if (!file.strLostLine.empty()) {
        ReportFaultyText(m_doc.GetMessenger(), file.strLostLine);
        m_form.SetControlText(IDC_TITLE, "");
        return;
    }
    // A registered file's cut name was shown when it was registered.
    if (file.bNameCut && std::find(m_doc.Settings().m_aFile.begin(), m_doc.Settings().m_aFile.end(),
                                   Utf8ToCp932(path)) == m_doc.Settings().m_aFile.end())
        m_form.ShowMessage(NameCutText(file.strTitle), "", MsgButtons::Ok, MsgIcon::Information);
    Lesson lesson;
    lesson.source = LessonSource::File;
    lesson.mode = static_cast<PracticeMode>(fileMode);
    lesson.nNumber = nMode == 1 ? kCustomLessonRandom : kCustomLessonInOrder;
    lesson.order = nMode == 1 ? QuestionOrder::Random20 : QuestionOrder::All;
    lesson.strTitle = std::move(file.strTitle);
    lesson.strHistoryName = std::move(file.strHistoryName);
    lesson.texts = std::move(file.texts);
    if (ShowsRomaji(lesson.mode))
        lesson.bEnglish = m_form.ShowMessage(StringOrEmpty(IDS_ENGLISH_QUESTION), "", MsgButtons::YesNo,
                                             MsgIcon::Question) == MsgResult::Yes;
    StartLesson(std::move(lesson));
}

}  // namespace kibiki
