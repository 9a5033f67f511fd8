#pragma once
// The record of the lesson being typed; reset at every run start. The expected romaji letters
// and their position are the matcher's (CKibikiDoc::m_matcher).
#include <cstdint>
#include <map>
#include <string>

#include "kana/practice_mode.h"

namespace kibiki {

struct LessonRun {
    int m_nLesson = 0;          // see lesson_number.h
    PracticeMode m_nType = PracticeMode::KanaInput;  // the practice mode, any value kept as read
    bool m_bEnglish = false;    // custom romaji lesson typed as English text
    int m_nQuestionCount = 0;
    int m_nQuestionsDone = 0;
    std::string m_strQuestion;  // CP932 reading (kana)
    std::string m_strKanji;     // CP932 kanji display text; may be empty
    int m_nKanaPos = 0;         // byte offset of the current kana in m_strQuestion
    bool m_bBaseStroke = true;  // the next stroke of the current kana is its base key
    bool m_bVoiced = false;     // the current kana needs a second (mark) stroke
    double m_dKeystrokes = 0;   // keystrokes required so far
    int m_nKanaTyped = 0;       // characters of the completed questions' readings
    int m_nMisses = 0;
    std::int64_t m_tStart = 0;        // calendar seconds of the first keystroke
    std::uint32_t m_dwStartTick = 0;  // 0: no keystroke yet
    std::uint32_t m_dwEndTick = 0;
    std::map<unsigned char, int> m_missedKeys;  // expected key byte -> misses
    unsigned char m_chGuideKey = 0;             // 0: none lit
};

}  // namespace kibiki
