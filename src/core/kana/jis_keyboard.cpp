#include "kana/jis_keyboard.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/string_ids.h"
#include "text/string_table.h"

namespace kibiki {
namespace {

struct Key {
    unsigned char kana[2] = {0, 0};  // unshifted, shifted
    char printed[2] = {0, 0};
    char convert[2] = {0, 0};
    int finger = 0;
};

// Fields of a key's line in order; a character field holds one byte or nothing.
Key ParseKey(std::string_view line) {
    std::array<std::string_view, 7> field{};
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto tab = line.find('\t');
        field[i] = line.substr(0, tab);
        line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
    }
    auto byte = [](std::string_view f) { return f.size() == 1 ? f[0] : '\0'; };
    Key k;
    for (int s = 0; s < 2; ++s) {
        k.kana[s] = static_cast<unsigned char>(byte(field[s]));
        k.printed[s] = byte(field[2 + s]);
        k.convert[s] = byte(field[4 + s]);
    }
    if (field[6].size() == 1 && field[6][0] >= '0' && field[6][0] <= '7') k.finger = field[6][0] - '0';
    return k;
}

struct Keyboard {
    std::array<Key, kKeyCount> keys;
    // By byte: the key typing it with Shift (kana / kana or printed), and the unshifted kana.
    std::array<std::int8_t, 256> shiftedKana, shiftedAny;
    std::array<unsigned char, 256> unshiftedKana;
};

const Keyboard& TheKeyboard() {
    static const Keyboard board = [] {
        Keyboard b;
        for (int k = 0; k < kKeyCount; ++k) b.keys[k] = ParseKey(StringOrEmpty(IDS_KEYBOARD_FIRST + k));
        b.shiftedKana.fill(-1);
        b.shiftedAny.fill(-1);
        for (int ch = 0; ch < 256; ++ch) b.unshiftedKana[ch] = static_cast<unsigned char>(ch);
        for (int k = kKeyCount - 1; k >= 0; --k) {  // the first key wins
            const Key& key = b.keys[k];
            if (key.printed[1]) b.shiftedAny[static_cast<unsigned char>(key.printed[1])] = static_cast<std::int8_t>(k);
        }
        for (int k = kKeyCount - 1; k >= 0; --k) {
            const Key& key = b.keys[k];
            if (key.kana[1] && key.kana[1] != key.kana[0]) {
                b.shiftedKana[key.kana[1]] = b.shiftedAny[key.kana[1]] = static_cast<std::int8_t>(k);
                b.unshiftedKana[key.kana[1]] = key.kana[0];
            }
        }
        return b;
    }();
    return board;
}

bool IsKey(int nKey) { return nKey >= 0 && nKey < kKeyCount; }

}  // namespace

unsigned char KanaOfKey(int nKey, bool bShifted) {
    return IsKey(nKey) ? TheKeyboard().keys[nKey].kana[bShifted] : 0;
}

char PrintedOfKey(int nKey, bool bShifted) {
    return IsKey(nKey) ? TheKeyboard().keys[nKey].printed[bShifted] : '\0';
}

char ConvertCharOfKey(int nKey, bool bShifted) {
    return IsKey(nKey) ? TheKeyboard().keys[nKey].convert[bShifted] : '\0';
}

int KeyOfPrinted(char ch) {
    if (ch == 0) return -1;
    const auto& keys = TheKeyboard().keys;
    for (int k = 0; k < kKeyCount; ++k)
        if (keys[k].printed[0] == ch || keys[k].printed[1] == ch) return k;
    return -1;
}

int FingerOfKey(int nKey) { return IsKey(nKey) ? TheKeyboard().keys[nKey].finger : 0; }

int FingerGroupOfKey(int nKey) { return GroupOfFinger(FingerOfKey(nKey)); }

std::string FingerGroupName(int nGroup) {
    return nGroup >= 0 && nGroup < 4 ? StringOrEmpty(IDS_FINGER_GROUP_FIRST + nGroup) : std::string();
}

bool IsRightHandKey(int nKey) { return FingerOfKey(nKey) >= 4; }

int ShiftedKeyOf(unsigned char ch, bool bKanaOnly) {
    const Keyboard& b = TheKeyboard();
    return bKanaOnly ? b.shiftedKana[ch] : b.shiftedAny[ch];
}

unsigned char UnshiftedKana(unsigned char ch) { return TheKeyboard().unshiftedKana[ch]; }

std::string CapLegend(PracticeMode mode, int nCap, bool bJisLayout) {
    if (nCap < 0 || nCap >= 48) return std::string();
    const bool bKana = IsKanaAnswer(mode);
    if (!bKana && bJisLayout && nCap == 41) return "@ `";
    if (!bKana && bJisLayout && nCap == 44) return "^ ~";
    return StringOrEmpty((bKana ? IDS_KANA_LEGEND_FIRST : IDS_ASCII_LEGEND_FIRST) + nCap);
}

}  // namespace kibiki
