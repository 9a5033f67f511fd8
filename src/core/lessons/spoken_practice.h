#pragma once
// The practice window's spoken description while a lesson runs: what is due, a miss, the end.
// A keystroke listener notes what happened; the window asks for the text once the view has
// moved on (the next key is known only then) and tells a screen reader when it changed.
#include <functional>
#include <string>

#include "lessons/keystroke_stream.h"

namespace kibiki {

class CKibikiDoc;

class SpokenPractice : public KeystrokeListener {
public:
    explicit SpokenPractice(const CKibikiDoc& doc) : m_doc(doc) {}

    void OnRunStart(const Lesson& lesson) override;
    void OnKeystroke(const KeystrokeEvent& event) override;
    void OnRunEnd(RunEnd end) override;

    // The description now (UTF-8); true when it is to be said: a key was judged or the run
    // ended since the last call, or the text changed.
    bool Take(std::string& strText);
    // Called once the end is noted: the lesson-end dialog follows before the key returns.
    std::function<void()> m_fnEnded;

private:
    const CKibikiDoc& m_doc;
    bool m_bRunning = false;
    std::string m_strEvent;  // a miss or the end, said in place of the due key until the next key
    std::string m_strLast;
    bool m_bNews = false;
};

}  // namespace kibiki
