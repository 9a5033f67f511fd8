#include "lessons/spoken_text.h"

#include "kana/jis_keyboard.h"
#include "kana/kana_tables.h"
#include "lessons/evaluation.h"
#include "lessons/practice_form.h"
#include "text/cp932.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {

namespace {

// The table's text (UTF-8) with %1, %2, %3 replaced by the arguments (UTF-8).
std::string Spoken(int nId, std::string_view a1 = {}, std::string_view a2 = {}, std::string_view a3 = {}) {
    const std::string format = Cp932ToUtf8(StringOrEmpty(nId));
    const std::string_view args[] = {a1, a2, a3};
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] >= '1' && format[i + 1] <= '3') {
            out += args[format[i + 1] - '1'];
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

std::string HandOf(int nKey) {
    return Spoken(IsRightHandKey(nKey) ? IDS_SPOKEN_RIGHT_HAND : IDS_SPOKEN_LEFT_HAND);
}

std::string FingerOf(int nKey) { return Cp932ToUtf8(FingerGroupName(FingerGroupOfKey(nKey))); }

// A single byte as it reads: half-width kana as hiragana, a space by its name.
std::string SpokenByte(unsigned char ch) {
    if (ch == ' ') return Cp932ToUtf8(StringOrEmpty(IDS_SPACE_KEY));
    return SpokenKana(std::string(1, static_cast<char>(ch)));
}

}  // namespace

std::string SpokenKana(std::string_view cp932) {
    std::string wide;
    for (std::size_t i = 0; i < cp932.size(); i += CharLenAt(cp932, i)) {
        const std::string_view ch = cp932.substr(i, CharLenAt(cp932, i));
        std::string hira;
        if (ch.size() == 1 && static_cast<unsigned char>(ch[0]) >= 0xA1 && static_cast<unsigned char>(ch[0]) <= 0xDF)
            ConvertKana(hira, false, ch);
        wide += hira.empty() ? std::string(ch) : hira;
    }
    std::string out = Cp932ToUtf8(wide);
    // Katakana U+30A1-U+30F6 (E3 82 A1 .. E3 83 B6) are their hiragana less 0x60.
    for (std::size_t i = 0; i + 2 < out.size(); ++i) {
        auto b = [&](std::size_t k) { return static_cast<unsigned char>(out[i + k]); };
        if (b(0) != 0xE3) continue;
        int cp = 0x3000 | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
        if (cp < 0x30A1 || cp > 0x30F6) continue;
        cp -= 0x60;
        out[i + 1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[i + 2] = static_cast<char>(0x80 | (cp & 0x3F));
        i += 2;
    }
    return out;
}

std::string SpokenControlName(int nId, std::string_view shownCp932) {
    // Single kana (a legend, a missed key) read as hiragana; titles and figures as they stand.
    const bool bKana = (nId >= IDC_KEY_FIRST && nId <= IDC_KEY_LAST) || nId == IDC_MISS_KEY;
    const std::string shown = bKana ? SpokenKana(shownCp932) : Cp932ToUtf8(shownCp932);
    if (nId >= IDC_KEY_FIRST && nId <= IDC_KEY_LAST) {
        const int key = nId - IDC_KEY_FIRST;
        return Spoken(IDS_SPOKEN_CAP, shown, HandOf(key), FingerOf(key));
    }
    if (nId >= IDC_FINGER_FIRST && nId <= IDC_FINGER_LAST) {
        const int finger = nId - IDC_FINGER_FIRST;
        return Spoken(finger < 4 ? IDS_SPOKEN_LEFT_HAND : IDS_SPOKEN_RIGHT_HAND) +
               Cp932ToUtf8(FingerGroupName(GroupOfFinger(finger)));
    }
    if (nId >= IDC_MARKER_FIRST && nId <= IDC_MARKER_LAST) return Spoken(IDS_SPOKEN_MARKER);
    auto counter = [&](int nIdsWith) {
        // An empty counter says its label alone.
        std::string text = Spoken(nIdsWith, shown.empty() ? "" : shown);
        if (shown.empty()) {
            const std::size_t space = text.find(' ');
            text = text.substr(0, space);
        }
        return text;
    };
    switch (nId) {
        case IDC_TITLE: return counter(IDS_SPOKEN_TITLE);
        case IDC_QUESTION: return Spoken(IDS_SPOKEN_QUESTION);
        case IDC_ANSWER: return Spoken(IDS_SPOKEN_ANSWER);
        case IDC_MISS_COUNT: return counter(IDS_SPOKEN_MISS_COUNT);
        case IDC_ACCURACY: return counter(IDS_SPOKEN_ACCURACY);
        case IDC_REMAINING: return counter(IDS_SPOKEN_REMAINING);
        case IDC_MISS_KEY: return counter(IDS_SPOKEN_MISS_KEY);
        case IDC_SHIFT_LEFT: return Spoken(IDS_SPOKEN_SHIFT_LEFT);
        case IDC_SHIFT_RIGHT: return Spoken(IDS_SPOKEN_SHIFT_RIGHT);
        case IDC_PROGRESS: return Spoken(IDS_SPOKEN_PROGRESS);
        case 0: return Spoken(IDS_SPOKEN_PRACTICE);
        default: return {};
    }
}

std::string SpokenDue(PracticeMode mode, unsigned char chDue) {
    if (chDue == 0) return {};
    if (!IsKanaAnswer(mode)) return Spoken(IDS_SPOKEN_DUE, SpokenByte(chDue));
    int key = ShiftedKeyOf(chDue, true);
    const bool bShift = key >= 0;
    if (!bShift) FindKeyIndex(mode, chDue, key);
    if (key < 0) return Spoken(IDS_SPOKEN_DUE, SpokenByte(chDue));
    std::string finger = FingerOf(key);
    if (bShift) finger += Spoken(IDS_SPOKEN_WITH_SHIFT);
    return Spoken(IDS_SPOKEN_DUE_KANA, SpokenByte(chDue), HandOf(key), finger);
}

std::string SpokenMiss(PracticeMode mode, unsigned char chTyped) {
    const std::string shown = chTyped == ' ' ? StringOrEmpty(IDS_SPACE_KEY) : MissedKeyText(mode, chTyped);
    return Spoken(IDS_SPOKEN_MISS, SpokenKana(shown));
}

std::string SpokenEnd(double dAccuracy) { return Spoken(IDS_SPOKEN_END, WholeNumber(dAccuracy)); }

std::string SpokenStopped() { return Spoken(IDS_SPOKEN_STOPPED); }

}  // namespace kibiki
