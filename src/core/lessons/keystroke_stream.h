#pragma once
// Every judged key of a run, as it happens, for whoever keeps or measures keystrokes (the
// practice log, per-key speed, timed tests). Listeners are told synchronously on the judging
// thread; a run without listeners pays one branch per key.
#include <cstdint>
#include <string_view>

namespace kibiki {

struct Lesson;

enum class RunEnd {
    Finished,  // the last question was completed (told before the lesson-end dialog)
    Stopped,   // the user ended it early, or chose "やめる" after it was finished
    Faulty,    // a question that cannot be typed ended it
};

struct KeystrokeEvent {
    std::uint32_t dwTime = 0;  // Clock::TickCount at the key, milliseconds, monotonic
    int nCap = -1;             // the key cap (0-47) the typed byte sits on in the mode; -1: none
    unsigned char chTyped = 0; // the byte judged (after the run's case folding)
    unsigned char chDue = 0;   // the key that was due: a kana key, a voiced mark or a letter; 0: none
    // The kana being typed (CP932): in the kana modes the character, in the romaji modes of a
    // kana reading the unit the letter belongs to (きゃ, っか); empty for letters typed as they
    // stand. Valid during the call only.
    std::string_view kanaDue;
    int nKanaPos = 0;             // where that kana starts in the reading: a new place, a new unit
    bool bQuestionStart = false;  // the first key judged in this question
    bool bRight = false;
};

class KeystrokeListener {
public:
    virtual ~KeystrokeListener() = default;
    // A run started (again): the lesson it practises.
    virtual void OnRunStart(const Lesson& lesson) = 0;
    virtual void OnKeystroke(const KeystrokeEvent& event) = 0;
    virtual void OnRunEnd(RunEnd end) = 0;
};

}  // namespace kibiki
