// The kana modes: each keystroke is one half-width kana byte; a voiced kana takes its base key
// and then the mark key (が: ｶ then ﾞ).
#include "kana/kana_tables.h"
#include "lessons/kibiki_doc.h"
#include "text/sjis.h"

namespace kibiki {

namespace {

std::string_view KanaAt(const std::string& text, int nPos) {
    return nPos < 0 ? std::string_view() : BytesAt(text, static_cast<std::size_t>(nPos), 2);
}

}  // namespace

// 0 when the question has nothing typable here (ヴ without a base, a kanji, the end).
unsigned char CKibikiDoc::ExpectedKana(bool* pVoiced) const {
    const std::string_view kana = KanaAt(m_run.m_strQuestion, m_run.m_nKanaPos);
    if (kana.size() != 2) return 0;
    unsigned char base = 0, mark = 0;
    SplitVoicedKana(base, kana, mark);
    if (mark) {
        if (pVoiced) *pVoiced = true;
        return m_run.m_bBaseStroke ? base : mark;
    }
    std::string half;
    ConvertKana(half, true, kana);
    return half.empty() ? 0 : static_cast<unsigned char>(half[0]);
}

void CKibikiDoc::AdvanceKanaAnswer(std::string& strAnswer, int& nCaret) {
    strAnswer.clear();
    if (m_run.m_bVoiced && m_run.m_bBaseStroke) {
        // The base of a voiced kana: show it plain (か while が is typed); the position stays.
        m_run.m_bBaseStroke = false;
        AppendKanaPart(strAnswer, m_run.m_nKanaPos);
        unsigned char base = 0, mark = 0;
        SplitVoicedKana(base, KanaAt(m_run.m_strQuestion, m_run.m_nKanaPos), mark);
        const char typed = static_cast<char>(base);
        std::string hiragana;
        ConvertKana(hiragana, false, std::string_view(&typed, base ? 1 : 0));
        strAnswer += hiragana;
    } else {
        m_run.m_bVoiced = false;
        m_run.m_nKanaPos += 2;
        m_run.m_bBaseStroke = true;
        AppendKanaPart(strAnswer, m_run.m_nKanaPos);
    }
    nCaret = static_cast<int>(strAnswer.size());
}

}  // namespace kibiki
