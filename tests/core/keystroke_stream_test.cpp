// Every judged key of a run reaches the view's listeners with its time, key, what was due and
// the verdict, and each run's start and end, in every practice mode.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "lessons/keystroke_stream.h"
#include "lessons/lesson.h"
#include "progress/weak_key_drill_start.h"
#include "support/practice_harness.h"

namespace kibiki {
namespace {

using test::PracticeHarness;
using test::U8;

// One line per event: "start <title>", "<typed> <+|!> <due> [<kana>] cap<n> @<ms>", "end <how>".
class RecordingListener : public KeystrokeListener {
public:
    void OnRunStart(const Lesson& lesson) override {
        m_lines.push_back("start " + U8(lesson.strTitle) + " mode" + std::to_string(ModeValue(lesson.mode)));
    }
    void OnKeystroke(const KeystrokeEvent& e) override {
        auto text = [](unsigned char c) { return c ? U8(std::string(1, static_cast<char>(c))) : std::string("-"); };
        m_lines.push_back(text(e.chTyped) + (e.bRight ? " + " : " ! ") + text(e.chDue) + " [" +
                          U8(std::string(e.kanaDue)) + "] cap" + std::to_string(e.nCap) + " @" +
                          std::to_string(e.dwTime));
    }
    void OnRunEnd(RunEnd end) override {
        static const char* const kNames[] = {"finished", "stopped", "faulty"};
        m_lines.push_back(std::string("end ") + kNames[static_cast<int>(end)]);
    }
    std::string Text() const {
        std::string out;
        for (const std::string& line : m_lines) out += line + "\n";
        return out;
    }
    std::vector<std::string> m_lines;
};

struct Rig {
    Rig() {
        h.m_doc.SetRomanMode(false);  // alternatives accepted and learned
        h.m_view.AddListener(&listener);
    }
    PracticeHarness h;
    RecordingListener listener;
};

TEST(KeystrokeStream, EveryModeReportsEachJudgedKeyAndTheRunsEnd) {
    struct Case {
        const char* name;
        const char* file;
        bool bEnglish;
        const char* keys;
        const char* events;
    };
    const Case cases[] = {
        {"kana: a voiced kana is two keys, a wrong key tallied against the one due",
         "#KANA\nT\nがき\n", false, "ｷｶﾞｷ",
         "start T mode0\n"
         "ｷ ! ｶ [が] cap18 @50000\n"
         "ｶ + ｶ [が] cap17 @50500\n"
         "ﾞ + ﾞ [が] cap41 @51000\n"
         "ｷ + ｷ [き] cap18 @51500\n"
         "end finished\n"},
        {"romaji input: letters as they stand, folded to capitals", "#ROMAN\nT\nかさ\n", false, "kasxa",
         "start T mode1\n"
         "K + K [] cap30 @50000\n"
         "A + A [] cap2 @50500\n"
         "S + S [] cap6 @51000\n"
         "X ! A [] cap7 @51500\n"
         "A + A [] cap2 @52000\n"
         "end finished\n"},
        {"hiragana to romaji: SHI for SI is right and learned, the next し expects it",
         "#ROMANJ\nT\nしか\nしゃし\n", false, "SHIKASHASHI",
         "start T mode2\n"
         "S + S [し] cap6 @50000\n"
         "H + I [し] cap22 @50500\n"
         "I + I [し] cap29 @51000\n"
         "K + K [か] cap30 @51500\n"
         "A + A [か] cap2 @52000\n"
         "S + S [しゃ] cap6 @52500\n"
         "H + Y [しゃ] cap22 @53000\n"
         "A + A [しゃ] cap2 @53500\n"
         "S + S [し] cap6 @54000\n"
         "H + H [し] cap22 @54500\n"
         "I + I [し] cap29 @55000\n"
         "end finished\n"},
        {"kana with kanji: the reading's kana", "#KANAKANJI\nT\n鳩,はと\n", false, "ﾊﾄ",
         "start T mode3\n"
         "ﾊ + ﾊ [は] cap14 @50000\n"
         "ﾄ + ﾄ [と] cap6 @50500\n"
         "end finished\n"},
        {"romaji with kanji: the unit of each letter", "#ROMANJKANJI\nT\n鳩,はと\n", false, "HATQO",
         "start T mode4\n"
         "H + H [は] cap22 @50000\n"
         "A + A [は] cap2 @50500\n"
         "T + T [と] cap17 @51000\n"
         "Q ! O [と] cap1 @51500\n"
         "O + O [と] cap33 @52000\n"
         "end finished\n"},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.h.m_form.m_msgAnswers.push_back(c.bEnglish ? MsgResult::Yes : MsgResult::No);
        rig.h.StartCustom(c.file);
        ASSERT_TRUE(rig.h.m_view.IsRunning()) << c.name;
        rig.h.Type(c.keys);
        EXPECT_EQ(rig.listener.Text(), c.events) << c.name;
    }
}

TEST(KeystrokeStream, RestartsStopsAndFaultyQuestionsEndEachRunOnce) {
    Rig rig;
    rig.h.m_form.m_lessonEndAnswers.push_back(LESSON_END_AGAIN);
    rig.h.StartCustom("#KANA\nT\nか\n");
    rig.h.Type("ｶ");  // finished; "もう一度" starts it again
    rig.h.m_form.m_msgAnswers.push_back(MsgResult::Yes);
    rig.h.m_view.FinishRun();  // ended early
    // The second question cannot be typed: the run ends as faulty.
    rig.h.StartCustom("#KANA\nT\nか\nA\n");
    rig.h.Type("ｶ");
    EXPECT_FALSE(rig.h.m_view.IsRunning());
    EXPECT_EQ(rig.listener.Text(),
              "start T mode0\n"
              "ｶ + ｶ [か] cap17 @50000\n"
              "end finished\n"
              "start T mode0\n"
              "end stopped\n"
              "start T mode0\n"
              "ｶ + ｶ [か] cap17 @50500\n"
              "end faulty\n");

    // A listener removed hears nothing more; the run goes on without it.
    rig.h.m_view.RemoveListener(&rig.listener);
    rig.h.StartCustom("#KANA\nT\nか\n");
    rig.h.Type("ｶ");
    EXPECT_EQ(rig.listener.m_lines.size(), 8u);
}

TEST(KeystrokeStream, TheDrillIsALessonOfItsOwnWithTheUsersMode) {
    Rig rig;
    rig.h.m_doc.SetUserMode(PracticeMode::RomajiInput);
    std::ofstream(rig.h.m_doc.Settings().Folder() + "test.hst", std::ios::binary)
        << test::Sj("2024年01月01日 10:00,11,100,90,Q  4 \r\n");
    const std::string before = test::ReadFile(rig.h.m_doc.Settings().Folder() + "test.dat");
    struct Drill : RecordingListener {
        void OnRunStart(const Lesson& lesson) override {
            source = lesson.source;
            mode = lesson.mode;
            name = lesson.HistoryKey();
        }
        LessonSource source = LessonSource::BuiltIn;
        PracticeMode mode = PracticeMode::KanaInput;
        std::string name;
    } drill;
    rig.h.m_view.AddListener(&drill);
    ASSERT_TRUE(StartWeakKeyDrill(rig.h.m_view, rig.h.m_doc));
    EXPECT_EQ(drill.source, LessonSource::WeakKeyDrill);
    EXPECT_EQ(drill.mode, PracticeMode::RomajiInput);
    EXPECT_EQ(U8(drill.name), "苦手キーの練習");
    EXPECT_EQ(test::ReadFile(rig.h.m_doc.Settings().Folder() + "test.dat"), before);
}

}  // namespace
}  // namespace kibiki
