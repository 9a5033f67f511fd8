#pragma once
// Types a keystroke script against the document the way the practice run does and writes what
// happened as one line: "S:S H:SH I:し" (key:answer after a right key), "A!N" (typed A, N was
// due; "A!" when no key was due) and " [done]" once the question's end is reached.
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "kana/kana_tables.h"
#include "lessons/kibiki_doc.h"
#include "lessons/lesson_number.h"
#include "support/doc_test_peer.h"
#include "support/fakes.h"
#include "support/recording_form.h"
#include "support/test_util.h"

namespace kibiki::test {

inline std::string TypeScript(CKibikiDoc& doc, std::string_view keysUtf8) {
    const std::string keys = Sj(keysUtf8);
    const bool bKana = IsKanaAnswer(doc.CurrentLesson().mode);
    std::string out;
    for (const char k : keys) {
        const auto ch = static_cast<unsigned char>(k);
        if (!out.empty()) out += ' ';
        out += U8(std::string(1, k));
        unsigned char expected = 0;
        if (!doc.IsExpectedKey(ch, expected)) {
            out += '!';
            if (expected) out += U8(std::string(1, static_cast<char>(expected)));
            continue;
        }
        std::string answer;
        int caret = -1;
        doc.AdvanceAnswer(answer, caret);
        EXPECT_EQ(caret, static_cast<int>(answer.size())) << U8(answer);
        out += ':';
        out += U8(answer);
    }
    const bool bDone = bKana ? doc.Run().KanaPos() >= static_cast<int>(doc.Run().Question().size())
                             : doc.Matcher().RomanPos() >= static_cast<int>(doc.Matcher().Roman().size());
    if (bDone) out += " [done]";
    return out;
}

// A document with a user in a temporary settings folder and a recording messenger.
class DocFixture : public ::testing::Test {
protected:
    void SetUp() override {
        m_doc.Settings().SetFolder(m_dir);
        m_doc.Settings().LoadUser("taro");
        m_doc.SetMessenger(&m_messages);
        m_doc.SetRomanMode(false);
    }

    // A run started on a custom lesson of this one question: reading (UTF-8), optional kanji
    // text (modes 3, 4); bEnglish: romaji input of the text as it stands. False when the
    // question was refused as a faulty text.
    bool Start(int nMode, std::string_view reading, std::string_view kanji = {}, bool bEnglish = false) {
        Lesson lesson;
        lesson.source = LessonSource::File;
        lesson.mode = PracticeMode{nMode};
        lesson.nNumber = kCustomLessonInOrder;
        lesson.texts = {{Sj(reading)}, {Sj(kanji)}};
        lesson.bEnglish = bEnglish;
        m_doc.SetLesson(std::move(lesson));
        const std::size_t nShown = m_messages.m_shown.size();
        std::string display;
        m_doc.ResetRun(display, m_form);
        return m_messages.m_shown.size() == nShown;
    }

    std::string Roman() const { return m_doc.Matcher().Roman(); }
    std::string SavedFile() const { return ReadFile(m_dir + "taro.dat"); }

    TempFolder m_folder{"kibiki_kana"};
    const std::string m_dir = m_folder.Path() + "/";
    RecordingMessenger m_messages;
    RecordingPracticeForm m_form;
    CKibikiDoc m_doc;
};

}  // namespace kibiki::test
