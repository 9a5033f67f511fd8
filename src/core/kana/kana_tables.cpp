#include "kana/kana_tables.h"

#include <array>
#include <bitset>
#include <cstdint>

#include "kana/jis_keyboard.h"
#include "platform/keyboard_state.h"
#include "text/sjis.h"
#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {
namespace {

struct Tables {
    std::string hiragana, katakana, half;
    std::string voicedHiragana, voicedKatakana, voicedBase;
    std::string semiHiragana, semiKatakana, semiBase;
    std::bitset<65536> kanaSet;
};

const Tables& TheTables() {
    static const Tables t = [] {
        Tables r;
        r.hiragana = StringOrEmpty(IDS_HIRAGANA_ROW);
        r.katakana = StringOrEmpty(IDS_KATAKANA_ROW);
        r.half = StringOrEmpty(IDS_HALF_ROW);
        r.voicedHiragana = StringOrEmpty(IDS_VOICED_HIRAGANA);
        r.voicedKatakana = StringOrEmpty(IDS_VOICED_KATAKANA);
        r.voicedBase = StringOrEmpty(IDS_VOICED_BASE);
        r.semiHiragana = StringOrEmpty(IDS_SEMI_HIRAGANA);
        r.semiKatakana = StringOrEmpty(IDS_SEMI_KATAKANA);
        r.semiBase = StringOrEmpty(IDS_SEMI_BASE);
        const std::string set = StringOrEmpty(IDS_KANA_SET);
        for (std::size_t i = 0; i + 1 < set.size(); i += 2)
            r.kanaSet.set(static_cast<unsigned char>(set[i]) << 8 | static_cast<unsigned char>(set[i + 1]));
        return r;
    }();
    return t;
}

// Index of a double-byte character in a row of double-byte characters, or -1.
int IndexInWideRow(const std::string& row, std::string_view ch) {
    if (ch.size() != 2) return -1;
    for (std::size_t i = 0; i + 1 < row.size(); i += 2)
        if (row[i] == ch[0] && row[i + 1] == ch[1]) return static_cast<int>(i / 2);
    return -1;
}

std::string_view WideAt(const std::string& row, int index) {
    return BytesAt(row, static_cast<std::size_t>(index) * 2, 2);
}

unsigned char ByteAt(const std::string& row, std::size_t index) {
    return index < row.size() ? static_cast<unsigned char>(row[index]) : 0;
}


}  // namespace

// The conversion pairs each key's kana with its character, then the shifted kana it knows a
// character for; a lookup takes the first pair that matches ("-" gives ﾎ, "0" gives ﾜ).
void ConvertKeyChar(std::string& strOut, bool bToKana, unsigned char ch) {
    if (ch == 0) return;
    if (!bToKana && IsAsciiAlnum(ch)) {
        strOut.assign(1, static_cast<char>(UpperAsciiChar(ch)));
        return;
    }
    const char key = static_cast<char>(UpperAsciiChar(ch));
    for (const bool bShifted : {false, true}) {
        for (int k = 0; k < kKeyCount; ++k) {
            const char convert = ConvertCharOfKey(k, bShifted);
            if (convert == 0) continue;
            if (bToKana && convert == key) {
                strOut.assign(1, static_cast<char>(KanaOfKey(k, bShifted)));
                return;
            }
            if (!bToKana && KanaOfKey(k, bShifted) == ch) {
                strOut.assign(1, convert);
                return;
            }
        }
    }
}

void ConvertKana(std::string& strOut, bool bToHalf, std::string_view in) {
    const Tables& t = TheTables();
    if (bToHalf) {
        int i = IndexInWideRow(t.hiragana, in);
        if (i < 0) i = IndexInWideRow(t.katakana, in);
        if (i >= 0 && static_cast<std::size_t>(i) < t.half.size()) strOut.assign(1, t.half[i]);
        return;
    }
    if (in.size() != 1) return;
    const auto pos = t.half.find(in[0]);
    if (pos == std::string::npos) return;
    const auto hira = WideAt(t.hiragana, static_cast<int>(pos));
    if (hira.size() == 2) strOut.assign(hira);
}

void SplitVoicedKana(unsigned char& base, std::string_view kana, unsigned char& mark) {
    const Tables& t = TheTables();
    base = 0;
    mark = 0;
    int i = IndexInWideRow(t.voicedHiragana, kana);
    if (i < 0) i = IndexInWideRow(t.voicedKatakana, kana);
    if (i >= 0) {
        base = ByteAt(t.voicedBase, i);
        mark = base ? kVoicedMark : 0;
        return;
    }
    i = IndexInWideRow(t.semiHiragana, kana);
    if (i < 0) i = IndexInWideRow(t.semiKatakana, kana);
    if (i >= 0) {
        base = ByteAt(t.semiBase, i);
        mark = base ? kSemiVoicedMark : 0;
    }
}

namespace {

// The first legend holding the character; -1 when none does.
int SearchKeyIndex(bool bKana, unsigned char ch) {
    std::string text(1, static_cast<char>(UpperAsciiChar(ch)));
    int firstId = IDS_ASCII_LEGEND_FIRST;
    if (bKana) {
        // A kana typed with Shift is found on the key of its unshifted kana (ｦ on わ).
        text.assign(1, static_cast<char>(UnshiftedKana(static_cast<unsigned char>(text[0]))));
        ConvertKana(text, false, std::string_view(text));
        firstId = IDS_KANA_LEGEND_FIRST;
    }
    for (int k = 0; k < kKeyCount; ++k) {
        const std::string* legend = FindString(firstId + k);
        // Whole characters only: "[" is the second byte of "ー".
        if (legend && FindWhole(*legend, text) != std::string_view::npos) return k;
    }
    return -1;
}

// Every byte's key, searched once: the keyboard guide asks on every keystroke.
struct KeyIndexes {
    std::array<std::int8_t, 256> kana, ascii;
};

const KeyIndexes& TheKeyIndexes() {
    static const KeyIndexes k = [] {
        KeyIndexes r;
        for (int ch = 0; ch < 256; ++ch) {
            r.kana[ch] = static_cast<std::int8_t>(SearchKeyIndex(true, static_cast<unsigned char>(ch)));
            r.ascii[ch] = static_cast<std::int8_t>(SearchKeyIndex(false, static_cast<unsigned char>(ch)));
        }
        return r;
    }();
    return k;
}

}  // namespace

void FindKeyIndex(PracticeMode mode, unsigned char ch, int& nIndex) {
    if (ch == 0) return;
    const KeyIndexes& k = TheKeyIndexes();
    const int index = IsKanaAnswer(mode) ? k.kana[ch] : k.ascii[ch];
    if (index >= 0) nIndex = index;
}

void ApplyKanaLock(KeyboardState& keyboard, PracticeMode mode) {
    KeyStateArray state{};
    keyboard.GetKeyboardState(state);
    if (IsKanaAnswer(mode)) {
        if (state[VK_KANA] != 1) state[VK_KANA] = 1;
    } else if (state[VK_KANA] == 1) {
        state[VK_KANA] = 0;
    }
    keyboard.SetKeyboardState(state);
}

bool IsKanaChar(std::string_view ch) {
    if (ch.size() < 2 || !IsLeadByte(static_cast<unsigned char>(ch[0]))) return false;
    return TheTables().kanaSet.test(static_cast<unsigned char>(ch[0]) << 8 |
                                    static_cast<unsigned char>(ch[1]));
}

}  // namespace kibiki
