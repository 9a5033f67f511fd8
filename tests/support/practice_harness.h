#pragma once
// A practice window without a window: document, view, recording form, fake clock, keyboard and
// profile, a settings folder of its own. Keystrokes are typed as UTF-8 strings ("ｶﾞ", "SHI").
#include <stdlib.h>
#include <time.h>

#include <fstream>
#include <string>

#include "lessons/kibiki_doc.h"
#include "lessons/kibiki_view.h"
#include "platform/keyboard_layout.h"
#include "support/fakes.h"
#include "support/recording_form.h"
#include "support/test_util.h"

namespace kibiki::test {

// 2004-05-06 09:07:00 UTC; the harness runs in UTC.
constexpr std::time_t kStartTime = 1083834420;

class PracticeHarness {
public:
    PracticeHarness() : m_view(m_doc, m_form, m_layout, m_clock) {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        m_doc.Settings().SetFolder(m_dir + "/Setting/");
        m_doc.Settings().SetProfile(&m_profile);
        m_doc.Settings().SetMessenger(&m_form);
        m_doc.Settings().SetFlushToDisk(false);
        m_doc.Settings().LoadUser("test");
        m_doc.SetKeyboard(&m_keyboard);
        m_view.SetColorKeys(false);
        m_clock.m_tNow = kStartTime;
        m_clock.m_dwTick = 50000;
        m_view.OnNewDocument();  // the start-up document: no dialog
    }
    // A built-in lesson started as the lesson-select dialog would (title: the radio label).
    void StartBuiltIn(int nType, int nLesson) {
        m_doc.SetUserMode(PracticeMode{nType});
        m_form.m_lessonSelectAnswers.push_back(nLesson - 1);
        m_view.OnNewDocument();
    }

    // A lesson file written from UTF-8 lines, started through "オリジナルレッスン".
    std::string WriteLessonFile(const std::string& strName, const std::string& strUtf8Lines) {
        const std::string path = m_dir + "/" + strName;
        std::ofstream(path, std::ios::binary) << Sj(strUtf8Lines);
        return path;
    }
    void StartCustom(const std::string& strUtf8Lines, int nMode = 0,
                     const std::string& strName = "words.txt") {
        const std::string path = WriteLessonFile(strName, strUtf8Lines);
        m_form.m_customStartAnswers.push_back({path, nMode});
        m_form.m_lessonSelectAnswers.push_back(7);
        m_view.OnNewDocument();
    }

    // Each keystroke takes m_dwMsPerKey on the fake clock.
    void Type(std::string_view utf8) {
        for (char c : Sj(utf8)) {
            m_view.OnTypedChar(static_cast<unsigned char>(c));
            m_clock.m_dwTick += m_dwMsPerKey;
        }
    }
    // Types what is expected until the question is done or the run ends.
    void TypeQuestion() {
        const int done = m_doc.Run().QuestionsDone();
        while (m_view.IsRunning() && m_doc.Run().QuestionsDone() == done) {
            const unsigned char ch = m_doc.NextExpectedKey();
            if (ch == 0) return;
            m_view.OnTypedChar(ch);
            m_clock.m_dwTick += m_dwMsPerKey;
        }
    }
    void TypeQuestions(int n) {
        for (int i = 0; i < n; ++i) TypeQuestion();
    }

    std::string Shown(int nId) const { return m_form.Text(nId); }
    std::string HistoryFile() const { return U8(ReadFile(m_dir + "/Setting/test.hst")); }

    TempFolder m_folder{"kibiki_run"};
    const std::string m_dir = m_folder.Path();
    FakeClock m_clock;
    FakeKeyboardState m_keyboard;
    FakeProfile m_profile;
    FixedKeyboardLayout m_layout{true};
    RecordingPracticeForm m_form;
    CKibikiDoc m_doc;
    CKibikiView m_view;
    std::uint32_t m_dwMsPerKey = 500;
};

}  // namespace kibiki::test
