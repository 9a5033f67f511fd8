// The kana modes: each keystroke is one half-width kana byte; a voiced kana takes its base key
// and then the mark key (が: ｶ then ﾞ).
#include "kana/kana_input.h"

#include "kana/kana_tables.h"
#include "text/sjis.h"

namespace kibiki {

namespace {

std::string_view KanaAt(std::string_view text, int nPos) {
    return nPos < 0 ? std::string_view() : BytesAt(text, static_cast<std::size_t>(nPos), 2);
}

}  // namespace

unsigned char ExpectedKana(std::string_view strQuestion, int nKanaPos, bool bBaseStroke, bool* pVoiced) {
    const std::string_view kana = KanaAt(strQuestion, nKanaPos);
    if (kana.size() != 2) return 0;
    unsigned char base = 0, mark = 0;
    SplitVoicedKana(base, kana, mark);
    if (mark) {
        if (pVoiced) *pVoiced = true;
        return bBaseStroke ? base : mark;
    }
    std::string half;
    ConvertKana(half, true, kana);
    return half.empty() ? 0 : static_cast<unsigned char>(half[0]);
}

void AdvanceKanaAnswer(std::string_view strQuestion, int& nKanaPos, bool& bBaseStroke, bool& bVoiced,
                       std::string& strPending) {
    strPending.clear();
    if (bVoiced && bBaseStroke) {
        bBaseStroke = false;
        unsigned char base = 0, mark = 0;
        SplitVoicedKana(base, KanaAt(strQuestion, nKanaPos), mark);
        const char typed = static_cast<char>(base);
        ConvertKana(strPending, false, std::string_view(&typed, base ? 1 : 0));
    } else {
        bVoiced = false;
        nKanaPos += 2;
        bBaseStroke = true;
    }
}

bool KanaKeysCanType(std::string_view reading) {
    if (reading.size() % 2 != 0) return false;
    for (std::size_t i = 0; i < reading.size(); i += 2) {
        const std::string_view ch = reading.substr(i, 2);
        std::string half;
        ConvertKana(half, true, ch);
        if (!half.empty()) continue;
        unsigned char base = 0, mark = 0;
        SplitVoicedKana(base, ch, mark);
        if (base == 0) return false;
    }
    return true;
}

}  // namespace kibiki
