#include "support/recording_form.h"

#include <algorithm>
#include <cstdio>

#include "lessons/control_names.h"
#include "text/cp932.h"

namespace kibiki {

namespace {

// CP932 text as a one-line UTF-8 literal: line breaks written as \r \n.
std::string Quoted(const std::string& cp932) {
    std::string out = "\"";
    for (char c : Cp932ToUtf8(cp932)) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else out += c;
    }
    return out + "\"";
}

const char* ButtonsName(MsgButtons b) {
    switch (b) {
        case MsgButtons::Ok: return "ok";
        case MsgButtons::OkCancel: return "okcancel";
        case MsgButtons::YesNo: return "yesno";
        case MsgButtons::YesNoDefaultNo: return "yesno-default-no";
    }
    return "?";
}

const char* IconName(MsgIcon i) {
    switch (i) {
        case MsgIcon::None: return "none";
        case MsgIcon::Information: return "information";
        case MsgIcon::Warning: return "warning";
        case MsgIcon::Error: return "error";
        case MsgIcon::Question: return "question";
    }
    return "?";
}

const char* ResultName(MsgResult r) {
    switch (r) {
        case MsgResult::Ok: return "ok";
        case MsgResult::Cancel: return "cancel";
        case MsgResult::Yes: return "yes";
        case MsgResult::No: return "no";
    }
    return "?";
}

}  // namespace

std::string ColorText(COLORREF color) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", static_cast<unsigned>(color & 0xFFFFFF));
    return buf;
}

void RecordingPracticeForm::Log(std::string line) {
    if (m_bRecord) m_log.push_back(std::move(line));
}

std::string RecordingPracticeForm::Transcript() const {
    std::string out;
    for (const auto& line : m_log) {
        if (!out.empty()) out += '\n';
        out += line;
    }
    return out;
}

std::string RecordingPracticeForm::Lines(std::initializer_list<const char*> prefixes) const {
    std::string out;
    for (const auto& line : m_log) {
        const bool keep = std::any_of(prefixes.begin(), prefixes.end(), [&](const char* p) {
            return line.compare(0, std::char_traits<char>::length(p), p) == 0;
        });
        if (!keep) continue;
        if (!out.empty()) out += '\n';
        out += line;
    }
    return out;
}

std::string RecordingPracticeForm::Text(int nId) const {
    const auto it = m_texts.find(nId);
    return it == m_texts.end() ? std::string() : Cp932ToUtf8(it->second);
}

void RecordingPracticeForm::SetControlText(int nId, const std::string& text) {
    m_texts[nId] = text;
    if (nId == IDC_QUESTION) m_nQuestionTopLine = 0;
    if (m_bRecord) Log("text " + ControlName(nId) + " " + Quoted(text));
}

std::string RecordingPracticeForm::GetControlText(int nId) {
    const auto it = m_texts.find(nId);
    return it == m_texts.end() ? std::string() : it->second;
}

void RecordingPracticeForm::Repaint(int nId) {
    if (m_bRecord) Log("repaint " + ControlName(nId));
}

void RecordingPracticeForm::SetCaret(int nId, int nOffset) {
    if (m_bRecord) Log("caret " + ControlName(nId) + " " + std::to_string(nOffset));
}

int RecordingPracticeForm::QuestionLineCount() {
    if (m_nLineBytes <= 0) return 1;
    const int n = static_cast<int>(m_texts[IDC_QUESTION].size());
    return std::max(1, (n + m_nLineBytes - 1) / m_nLineBytes);
}

int RecordingPracticeForm::QuestionLineFromOffset(int nOffset) {
    if (m_nLineBytes <= 0) return 0;
    // The caret after the last byte of a full line stays on that line, as in an edit box.
    return std::min(std::max(nOffset, 0) / m_nLineBytes, QuestionLineCount() - 1);
}

void RecordingPracticeForm::ShowQuestionFromLine(int nLine) {
    m_nQuestionTopLine = nLine;
    Log("top-line " + ControlName(IDC_QUESTION) + " " + std::to_string(nLine));
}

void RecordingPracticeForm::SetProgressRange(int nLower, int nUpper) {
    m_nProgressLower = nLower;
    m_nProgressUpper = nUpper;
    if (m_bRecord) Log("progress range " + std::to_string(nLower) + ".." + std::to_string(nUpper));
}

void RecordingPracticeForm::SetProgressPos(int nPos) {
    m_nProgressPos = nPos;
    if (m_bRecord) Log("progress pos " + std::to_string(nPos));
}

void RecordingPracticeForm::SetProgressStep(int nStep) {
    m_nProgressStep = nStep;
    if (m_bRecord) Log("progress step " + std::to_string(nStep));
}

void RecordingPracticeForm::StepProgress() {
    // A progress bar wraps to its lower bound when a step passes the upper one.
    m_nProgressPos += m_nProgressStep;
    if (m_nProgressPos > m_nProgressUpper) m_nProgressPos = m_nProgressLower;
    if (m_bRecord) Log("progress step-it " + std::to_string(m_nProgressPos));
}

void RecordingPracticeForm::SetTextColor(int nId, COLORREF color) {
    m_textColors[nId] = color;
    if (m_bRecord) Log("color " + ControlName(nId) + " " + ColorText(color));
}

void RecordingPracticeForm::SetBackColor(int nId, COLORREF color) {
    m_backColors[nId] = color;
    if (m_bRecord) Log("back " + ControlName(nId) + " " + ColorText(color));
}

void RecordingPracticeForm::SetCapSunken(int nId, bool bSunken) {
    if (bSunken) m_sunken.insert(nId);
    else m_sunken.erase(nId);
    if (m_bRecord) Log(std::string(bSunken ? "sunken " : "raised ") + ControlName(nId));
}

// Logged when the frame comes or goes: a form that never frames a cap records nothing.
void RecordingPracticeForm::SetCapFramed(int nId, bool bFramed) {
    if (bFramed == (m_framed.count(nId) != 0)) return;
    if (bFramed) m_framed.insert(nId);
    else m_framed.erase(nId);
    if (m_bRecord) Log(std::string(bFramed ? "framed " : "unframed ") + ControlName(nId));
}

void RecordingPracticeForm::SetMarker(int nId, COLORREF color, bool bVisible) {
    m_markers[nId] = {color, bVisible};
    if (m_bRecord)
        Log("marker " + ControlName(nId) + " " + ColorText(color) + (bVisible ? " shown" : " hidden"));
}

void RecordingPracticeForm::EnableSettingMenus(bool bEnable) {
    m_bMenusEnabled = bEnable;
    Log(bEnable ? "menus on" : "menus off");
}

void RecordingPracticeForm::Beep() {
    ++m_nBeeps;
    Log("beep");
}

void RecordingPracticeForm::CloseInputMethod() { Log("ime close"); }

int RecordingPracticeForm::RunTimedTestResultDialog(const TimedTestResultInfo& info) {
    m_timedResults.push_back(info);
    int answer = LESSON_END_STOP;
    if (!m_lessonEndAnswers.empty()) {
        answer = m_lessonEndAnswers.front();
        m_lessonEndAnswers.pop_front();
    }
    Log("timed-test result " + Quoted(info.strTitle) + " next=" + Quoted(info.strNextGrade));
    return answer;
}

int RecordingPracticeForm::RunLessonEndDialog(const LessonEndInfo& info) {
    m_lastLessonEnd = info;
    int answer = LESSON_END_STOP;
    if (!m_lessonEndAnswers.empty()) {
        answer = m_lessonEndAnswers.front();
        m_lessonEndAnswers.pop_front();
    }
    if (m_bRecord)
        Log("lesson-end message=" + Quoted(info.strMessage) + " accuracy=" + Quoted(info.strAccuracy) +
            " speed=" + Quoted(info.strSpeed) + " top=" + Quoted(info.strTopThree) +
            " details=" + Quoted(info.strDetails) + " next=" + (info.bNextEnabled ? "on" : "off") +
            " showall=" + (info.bShowAllEnabled ? "on" : "off") + " -> " + std::to_string(answer));
    return answer;
}

int RecordingPracticeForm::RunLessonSelectDialog(const std::array<std::string, 8>& labels) {
    int answer = -1;
    if (!m_lessonSelectAnswers.empty()) {
        answer = m_lessonSelectAnswers.front();
        m_lessonSelectAnswers.pop_front();
    }
    if (m_bRecord) {
        std::string line = "lesson-select";
        for (const auto& label : labels) line += " " + Quoted(label);
        Log(line + " -> " + std::to_string(answer));
    }
    return answer;
}

bool RecordingPracticeForm::RunCustomStartDialog(CUserSettings&, std::string& strPath, int& nMode) {
    if (m_customStartAnswers.empty()) {
        Log("custom-start -> cancel");
        return false;
    }
    const CustomStart answer = m_customStartAnswers.front();
    m_customStartAnswers.pop_front();
    strPath = answer.strPath;
    nMode = answer.nMode;
    if (m_bRecord) Log("custom-start -> " + answer.strPath + " mode " + std::to_string(answer.nMode));
    return true;
}

MsgResult RecordingPracticeForm::ShowMessage(const std::string& text, const std::string& caption,
                                             MsgButtons buttons, MsgIcon icon) {
    MsgResult answer = buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgResult::Ok : MsgResult::Yes;
    if (!m_msgAnswers.empty()) {
        answer = m_msgAnswers.front();
        m_msgAnswers.pop_front();
    }
    if (m_bRecord)
        Log("message " + Quoted(text) + " caption=" + Quoted(caption) + " " + ButtonsName(buttons) +
            " " + IconName(icon) + " -> " + ResultName(answer));
    return answer;
}

}  // namespace kibiki
