// What the document expects next and shows after a right key, in every mode: the kana rules
// in the kana modes, the matcher in the romaji modes.
#include <algorithm>

#include "kana/kana_input.h"
#include "lessons/kibiki_doc.h"
#include "text/sjis.h"

namespace kibiki {

bool CKibikiDoc::IsExpectedKey(unsigned char ch, unsigned char& expected) {
    if (IsKanaAnswer(m_lesson.mode)) {
        bool bVoiced = false;
        expected = ExpectedKana(m_run.m_strQuestion, m_run.m_nKanaPos, m_run.m_bBaseStroke, &bVoiced);
        if (bVoiced) m_run.m_bVoiced = true;
        return expected != 0 && ch == expected;
    }
    return m_matcher.IsExpectedKey(ch, expected, IsRomajiAnswer(m_lesson.mode) && !m_bRomanMode,
                                   m_run.m_nKanaPos);
}

unsigned char CKibikiDoc::NextExpectedKey() const {
    if (IsKanaAnswer(m_lesson.mode))
        return ExpectedKana(m_run.m_strQuestion, m_run.m_nKanaPos, m_run.m_bBaseStroke);
    return m_matcher.NextExpectedKey();
}

void CKibikiDoc::AdvanceAnswer(std::string& strAnswer, int& nCaret) {
    strAnswer.clear();
    const PracticeMode type = m_lesson.mode;
    if (IsKanaAnswer(type)) {
        std::string pending;
        AdvanceKanaAnswer(m_run.m_strQuestion, m_run.m_nKanaPos, m_run.m_bBaseStroke, m_run.m_bVoiced, pending);
        AppendKanaPart(strAnswer);
        strAnswer += pending;
    } else if (ShowsRomaji(type)) {
        m_matcher.AppendTypedLetters(strAnswer);
    } else {
        // Completed units show as kana (or kanji), the unit being typed as letters.
        m_matcher.AdvanceAnswer(m_run.m_nKanaPos);
        AppendKanaPart(strAnswer);
        m_matcher.AppendUnitLetters(strAnswer, !m_bRomanMode);
    }
    nCaret = static_cast<int>(strAnswer.size());
    if (!IsKanaAnswer(type)) m_matcher.NextLetter();
}

std::string_view CKibikiDoc::DueKana() const {
    const std::string_view question = m_run.m_strQuestion;
    const std::size_t pos = static_cast<std::size_t>(std::max(m_run.m_nKanaPos, 0));
    if (pos >= question.size()) return {};
    if (IsKanaAnswer(m_lesson.mode)) return question.substr(pos, CharLenAt(question, pos));
    if (!IsRomajiAnswer(m_lesson.mode)) return {};
    const auto& units = m_matcher.Units();
    const int unit = m_matcher.CurrentUnit();
    const std::size_t bytes = unit >= 0 && static_cast<std::size_t>(unit) < units.size()
                                  ? static_cast<std::size_t>(std::max(units[unit].nBytes, 1))
                                  : CharLenAt(question, pos);
    return question.substr(pos, bytes);
}

void CKibikiDoc::AppendKanaPart(std::string& strOut) {
    const std::string& reading = m_run.m_strQuestion;
    if (HasKanjiQuestions(m_lesson.mode)) {
        m_segments.AppendKanaPart(strOut, reading, m_run.m_strKanji, m_run.m_nKanaPos);
        return;
    }
    const std::size_t p = static_cast<std::size_t>(std::max(m_run.m_nKanaPos, 0));
    strOut.append(reading, 0, std::min(p, reading.size()));
}

}  // namespace kibiki
