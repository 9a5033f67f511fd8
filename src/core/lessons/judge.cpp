// What the document expects next and shows after a right key, in every mode: the kana rules
// in the kana modes, the matcher in the romaji modes.
#include <algorithm>

#include "kana/kana_input.h"
#include "lessons/kibiki_doc.h"

namespace kibiki {

bool CKibikiDoc::IsExpectedKey(unsigned char ch, unsigned char& expected) {
    if (IsKanaAnswer(m_run.m_nType)) {
        bool bVoiced = false;
        expected = ExpectedKana(m_run.m_strQuestion, m_run.m_nKanaPos, m_run.m_bBaseStroke, &bVoiced);
        if (bVoiced) m_run.m_bVoiced = true;
        return expected != 0 && ch == expected;
    }
    return m_matcher.IsExpectedKey(ch, expected, IsRomajiAnswer(m_run.m_nType) && !m_bRomanMode,
                                   m_run.m_nKanaPos);
}

unsigned char CKibikiDoc::NextExpectedKey() const {
    if (IsKanaAnswer(m_run.m_nType))
        return ExpectedKana(m_run.m_strQuestion, m_run.m_nKanaPos, m_run.m_bBaseStroke);
    return m_matcher.NextExpectedKey();
}

void CKibikiDoc::AdvanceAnswer(std::string& strAnswer, int& nCaret) {
    strAnswer.clear();
    const PracticeMode type = m_run.m_nType;
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
}

void CKibikiDoc::AppendKanaPart(std::string& strOut) {
    const std::string& reading = m_run.m_strQuestion;
    if (HasKanjiQuestions(m_run.m_nType)) {
        m_segments.AppendKanaPart(strOut, reading, m_run.m_strKanji, m_run.m_nKanaPos);
        return;
    }
    const std::size_t p = static_cast<std::size_t>(std::max(m_run.m_nKanaPos, 0));
    strOut.append(reading, 0, std::min(p, reading.size()));
}

}  // namespace kibiki
