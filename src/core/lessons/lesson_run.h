#pragma once
// The record of the lesson being typed; reset at every run start. Only the document writes it;
// everyone else reads it. The expected romaji letters and their position are the matcher's.
#include <cstdint>
#include <map>
#include <string>

namespace kibiki {

class LessonRun {
public:
    int QuestionCount() const { return m_nQuestionCount; }
    int QuestionsDone() const { return m_nQuestionsDone; }
    const std::string& Question() const { return m_strQuestion; }  // CP932 reading (kana)
    const std::string& Kanji() const { return m_strKanji; }        // CP932; may be empty
    int KanaPos() const { return m_nKanaPos; }  // byte offset of the current kana in Question()
    bool BaseStroke() const { return m_bBaseStroke; }
    bool Voiced() const { return m_bVoiced; }
    double Keystrokes() const { return m_dKeystrokes; }
    int KanaTyped() const { return m_nKanaTyped; }
    // A timed test's characters of the whole sentences typed, once it ended; -1 for other runs.
    int FinishedChars() const { return m_nFinishedChars; }
    int Misses() const { return m_nMisses; }
    std::int64_t StartTime() const { return m_tStart; }
    std::uint32_t StartTick() const { return m_dwStartTick; }
    std::uint32_t EndTick() const { return m_dwEndTick; }
    const std::map<unsigned char, int>& MissedKeys() const { return m_missedKeys; }
    unsigned char GuideKey() const { return m_chGuideKey; }

private:
    friend class CKibikiDoc;
    friend struct DocTestPeer;  // tests and benchmarks

    int m_nQuestionCount = 0;
    int m_nQuestionsDone = 0;
    std::string m_strQuestion;
    std::string m_strKanji;
    int m_nKanaPos = 0;
    bool m_bBaseStroke = true;  // the next stroke of the current kana is its base key
    bool m_bVoiced = false;     // the current kana needs a second (mark) stroke
    double m_dKeystrokes = 0;   // keystrokes required so far
    int m_nKanaTyped = 0;       // characters of the completed questions' readings
    int m_nFinishedChars = -1;
    int m_nMisses = 0;
    std::int64_t m_tStart = 0;        // calendar seconds of the first keystroke
    std::uint32_t m_dwStartTick = 0;  // 0: no keystroke yet
    std::uint32_t m_dwEndTick = 0;
    std::map<unsigned char, int> m_missedKeys;  // expected key byte -> misses
    unsigned char m_chGuideKey = 0;             // 0: none lit
};

}  // namespace kibiki
