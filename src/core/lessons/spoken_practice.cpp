#include "lessons/spoken_practice.h"

#include "lessons/evaluation.h"
#include "lessons/kibiki_doc.h"
#include "lessons/lesson.h"
#include "lessons/spoken_text.h"

namespace kibiki {

void SpokenPractice::OnRunStart(const Lesson&) {
    m_bRunning = true;
    m_strEvent.clear();
}

void SpokenPractice::OnKeystroke(const KeystrokeEvent& event) {
    // Every key is answered, even where the text repeats: a second miss on the same key, the
    // same letter due twice.
    m_bNews = true;
    if (event.bRight) m_strEvent.clear();
    else m_strEvent = SpokenMiss(m_doc.CurrentLesson().mode, event.chTyped);
}

void SpokenPractice::OnRunEnd(RunEnd end) {
    m_bRunning = false;
    const LessonRun& run = m_doc.Run();
    m_strEvent = end == RunEnd::Finished ? SpokenEnd(AccuracyPercent(run.Keystrokes(), run.Misses()))
                                         : SpokenStopped();
    m_bNews = true;
    if (m_fnEnded) m_fnEnded();
}

bool SpokenPractice::Take(std::string& strText) {
    strText = !m_strEvent.empty() || !m_bRunning
                  ? m_strEvent
                  : SpokenDue(m_doc.CurrentLesson().mode, m_doc.NextExpectedKey());
    const bool bChanged = m_bNews || strText != m_strLast;
    m_bNews = false;
    m_strLast = strText;
    return bChanged;
}

}  // namespace kibiki
