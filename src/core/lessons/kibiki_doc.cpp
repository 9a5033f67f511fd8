#include "lessons/kibiki_doc.h"

#include "kana/kana_tables.h"
#include "lessons/lesson_number.h"

namespace kibiki {

CKibikiDoc::CKibikiDoc() {
    m_romajiUser.fnFixedSpelling = [this](int nKanaNumber) {
        return m_settings.GetIndexedString("Roman", nKanaNumber, std::string());
    };
    m_romajiUser.fnLearnedSpelling = [this](int nKanaId) {
        return m_settings.GetIndexedInt("DynRoman", nKanaId, 0);
    };
    m_romajiUser.fnLearn = [this](int nKanaId, int nAltId) {
        m_settings.SetIndexedInt("DynRoman", nKanaId, nAltId);
        m_settings.SaveUser();
    };
    m_romajiUser.fnFaultyText = [this](const std::string& strText) { ReportFaultyText(m_pMessenger, strText); };
    m_romajiUser.fnImeSpellings = [this] { return m_settings.m_bImeSpellings; };
    // A hand-edited value that spells nothing is passed over by the matcher, which checks every
    // preferred spelling against the ways the unit can be typed.
    m_romajiUser.fnImeLearned = [this](int nKanaId) {
        return m_settings.GetIndexedString("ImeRoman", nKanaId, std::string());
    };
    m_romajiUser.fnLearnIme = [this](int nKanaId, const std::string& strLetters) {
        if (strLetters.empty()) m_settings.m_mapImeRoman.erase(nKanaId);
        else m_settings.m_mapImeRoman[nKanaId] = strLetters;
        m_settings.SaveUser();
    };
}

bool CKibikiDoc::BuildRoman(std::string& strText) {
    const bool bInputMethod = IsRomajiAnswer(m_lesson.mode) && m_romajiUser.fnImeSpellings &&
                              m_romajiUser.fnImeSpellings();
    if (!m_matcher.BuildRoman(strText, m_bRomanMode, bInputMethod)) return false;
    if (ShowsRomaji(m_lesson.mode) && IsCustomLesson(m_lesson.nNumber)) strText = m_matcher.Roman();
    return true;
}

std::string_view CKibikiDoc::KanaSeparator() const {
    return IsCustomLesson(m_lesson.nNumber) ? std::string_view(m_settings.m_strKanaSepa) : std::string_view();
}

void CKibikiDoc::NextBuiltInLesson() {
    if (m_lesson.source != LessonSource::BuiltIn || !HasNextLesson(m_lesson.nNumber)) return;
    m_lesson = BuiltInLesson(m_lesson.mode, m_lesson.nNumber + 1);
}

void CKibikiDoc::ApplyKanaLock(PracticeMode mode) {
    if (m_pKeyboard) kibiki::ApplyKanaLock(*m_pKeyboard, mode);
}

}  // namespace kibiki
