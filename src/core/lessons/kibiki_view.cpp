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
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"
#include "users/history_file.h"

namespace kibiki {

CKibikiView::CKibikiView(CKibikiDoc& doc, PracticeForm& form, KeyboardLayout& layout, Clock& clock)
    : m_doc(doc), m_form(form), m_layout(layout), m_clock(clock) {
    if (!m_doc.m_pClock) m_doc.m_pClock = &clock;
    if (!m_doc.m_pMessenger) m_doc.m_pMessenger = &form;
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
    LessonRun& run = m_doc.m_run;
    if (m_bMissMarked) {
        const int cap = CapOf(m_chMissKey);
        if (cap >= 0) m_form.SetCapSunken(IDC_KEY_FIRST + cap, false);
        m_form.SetControlText(IDC_MISS_KEY, "");
        m_bMissMarked = false;
    }
    if (!m_bRunning) return;

    if (run.m_dwStartTick == 0) {
        // Wrong keys start the clock too.
        run.m_tStart = m_clock.Now();
        run.m_dwStartTick = m_clock.TickCount();
    }
    const PracticeMode type = run.m_nType;
    const bool fold = !IsCustomLesson(run.m_nLesson) || IsRomajiAnswer(type) ||
                      (ShowsRomaji(type) && !run.m_bEnglish);
    if (fold) ch = UpperAsciiChar(ch);
    if (m_bFirstKey && IsKanaAnswer(type)) {
        // The kana lock may not have been on for the very first key of the lesson.
        std::string kana;
        ConvertKeyChar(kana, true, ch);
        if (!kana.empty()) ch = static_cast<unsigned char>(kana[0]);
        m_bFirstKey = false;
    }

    unsigned char expected = 0;
    if (m_doc.IsExpectedKey(ch, expected)) {
        if (!RightKey()) return;  // the lesson ended: the evaluation set the kana lock
    } else {
        WrongKey(ch, expected);
    }
    m_form.CloseInputMethod();
    m_doc.ApplyKanaLock(m_doc.m_run.m_nType);
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
        if (faulty) StopRun();
        else FinishRun();
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
    }
    AdvanceGuide();
    return true;
}

namespace {

// A wrong key that types no visible character is named in the miss-key box instead: the usual
// two-letter names, caret notation for the other control bytes.
std::string KeyMark(unsigned char ch) {
    struct Named { unsigned char ch; int nId; };
    static constexpr Named kNamed[] = {{'\b', IDS_MARK_BACKSPACE}, {'\t', IDS_MARK_TAB},
                                       {'\n', IDS_MARK_LINE_FEED}, {'\r', IDS_MARK_ENTER},
                                       {0x1B, IDS_MARK_ESCAPE},     {' ', IDS_MARK_SPACE},
                                       {0x7F, IDS_MARK_DELETE}};
    for (const Named& n : kNamed)
        if (n.ch == ch) return StringOrEmpty(n.nId);
    if (ch < 0x20) return std::string{'^', static_cast<char>(ch + 0x40)};
    return {};
}

}  // namespace

void CKibikiView::WrongKey(unsigned char ch, unsigned char expected) {
    LessonRun& run = m_doc.m_run;
    const PracticeMode type = run.m_nType;
    if (!ShowsRomaji(type)) ch = UpperAsciiChar(ch);
    m_chMissKey = ch;
    std::string shown = KeyMark(ch);
    if (shown.empty()) shown = MissedKeyText(type, ch);
    m_form.SetControlText(IDC_MISS_KEY, shown);

    // The tally counts the key that should have been pressed.
    if (expected != 0) ++run.m_missedKeys[expected];
    const int cap = CapOf(ch);
    if (cap >= 0) m_form.SetCapSunken(IDC_KEY_FIRST + cap, true);
    m_bMissMarked = true;
    m_form.Beep();
    ++run.m_nMisses;
    m_form.SetControlText(IDC_MISS_COUNT, std::to_string(run.m_nMisses));
}

bool CKibikiView::OnNewDocument() {
    if (m_doc.m_bFirstNewDocument) {
        m_doc.m_bFirstNewDocument = false;
        return true;
    }
    if (m_bRunning) return true;
    const auto labels = LessonSelectLabels(m_doc.m_run.m_nType);
    const int index = m_form.RunLessonSelectDialog(labels);
    if (index < 0 || index >= static_cast<int>(labels.size())) return true;
    m_doc.m_run.m_nLesson = index + 1;
    if (IsBuiltInLesson(m_doc.m_run.m_nLesson)) StartRun(&labels[index]);
    else StartCustomLesson();
    return true;
}

void CKibikiView::StartRun(const std::string* pTitle) {
    LessonRun& run = m_doc.m_run;
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
    m_doc.ApplyKanaLock(run.m_nType);
}

void CKibikiView::RestartRun() {
    LessonRun& run = m_doc.m_run;
    std::string title;
    if (IsBuiltInLesson(run.m_nLesson))
        title = LessonTitle(run.m_nLesson, run.m_nType);
    else if (m_doc.m_aLessonLines.size() > 1)
        title = m_doc.m_aLessonLines[1];
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
}

void CKibikiView::RestoreSavedType() {
    m_doc.m_run.m_nType = KnownMode(m_nSavedType);
    ShowKeyLegends();
}

void CKibikiView::StopRun() {
    LessonRun& run = m_doc.m_run;
    const unsigned char next = m_doc.NextExpectedKey();
    GuideChar(run.m_chGuideKey, false);
    GuideChar(next, false);
    GuideChar(m_chMissKey, false);
    const int cap = CapOf(m_chMissKey);
    if (cap >= 0) m_form.SetCapSunken(IDC_KEY_FIRST + cap, false);
    if (IsCustomLesson(run.m_nLesson)) RestoreSavedType();
    m_bRunning = false;
    run.m_bEnglish = m_doc.m_bBuiltInTexts = false;
    for (int id : {IDC_QUESTION, IDC_ANSWER, IDC_REMAINING, IDC_ACCURACY, IDC_MISS_KEY,
                   IDC_MISS_COUNT, IDC_TITLE})
        m_form.SetControlText(id, "");
    m_form.SetProgressPos(0);
    m_form.EnableSettingMenus(true);
}

void CKibikiView::FinishRun() {
    LessonRun& run = m_doc.m_run;
    const CKibikiDoc::Evaluation ev = m_doc.Evaluate(m_form);
    if (ev.outcome == CKibikiDoc::Evaluation::Stop) {
        StopRun();
        return;
    }
    if (ev.outcome == CKibikiDoc::Evaluation::Continue) return;

    std::string display, history;
    m_doc.SummariseMisses(display, history);
    // The record names the lessons that were asked: a Type outside the five practised mode 4.
    const std::string lesson =
        IsBuiltInLesson(run.m_nLesson)
            ? std::to_string(run.m_nLesson) + std::to_string(ModeValue(KnownMode(run.m_nType)))
            : m_doc.m_settings.m_strCustomName;
    // The dialog shows even when the record could not be written; the user was told.
    AppendHistory(m_doc.m_settings, ev.strDate, lesson, ev.strSpeed, ev.strAccuracy, history, &m_form);

    LessonEndInfo info;
    SplitTopThree(display, info.strTopThree);
    info.strDetails = display;
    info.strMessage = StringOrEmpty(ev.nMessageId);
    info.strSpeed = ev.strSpeed;
    info.strKanaSpeed = ev.strKanaSpeed;
    info.strAccuracy = ev.strAccuracy;
    info.bNextEnabled = !ev.bNoNext;
    info.bShowAllEnabled = ShowAllHasMore(info.strDetails, info.strTopThree);
    switch (m_form.RunLessonEndDialog(info)) {
        case LESSON_END_NEXT:
            if (!ev.bNoNext) ++run.m_nLesson;
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
    LessonRun& run = m_doc.m_run;
    std::string path;
    int nMode = 0;
    if (!m_form.RunCustomStartDialog(m_doc.m_settings, path, nMode)) {
        m_form.SetControlText(IDC_TITLE, "");
        return;
    }
    std::string title;
    FileFault fault = FileFault::None;
    const int fileMode = m_doc.ReadLessonFile(path, title, &fault);
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
    if (m_doc.m_aLessonLines.size() < 3) {
        refuse(IDS_NO_QUESTIONS, "", 0, MsgIcon::Warning);
        return;
    }
    // An empty line ends the lesson, so asked in file order this one would end before it began.
    if (nMode != 1 && m_doc.m_aLessonLines[2].empty() &&
        (m_doc.m_aLessonKanji.empty() || m_doc.m_aLessonKanji[0].empty())) {
        refuse(IDS_EMPTY_FIRST_QUESTION, "", 0, MsgIcon::Warning);
        return;
    }
    // Asked or not, a question the file could not hold is the user's to correct now.
    if (!m_doc.m_strLostLine.empty()) {
        ReportFaultyText(m_doc.m_pMessenger, m_doc.m_strLostLine);
        m_form.SetControlText(IDC_TITLE, "");
        return;
    }
    m_nSavedType = run.m_nType;
    run.m_nType = static_cast<PracticeMode>(fileMode);
    run.m_bEnglish = m_doc.m_bBuiltInTexts = false;
    if (ShowsRomaji(run.m_nType))
        run.m_bEnglish = m_form.ShowMessage(StringOrEmpty(IDS_ENGLISH_QUESTION), "", MsgButtons::YesNo,
                                            MsgIcon::Question) == MsgResult::Yes;
    ShowKeyLegends();
    run.m_nLesson = nMode == 1 ? kCustomLessonRandom : kCustomLessonInOrder;
    StartRun(&title);
    if (!m_bRunning) {
        // The run did not start: nothing may keep the lesson file's mode.
        run.m_bEnglish = false;
        RestoreSavedType();
    }
}

}  // namespace kibiki
