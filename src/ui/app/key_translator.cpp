#include "app/key_translator.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>

#include "text/cp932.h"

namespace kibiki::ui {

namespace {

// Per key index (column by column, digit row down): Linux input code, the JIS kana layer
// unshifted and with Shift, and the characters a JIS keyboard prints on the key.
struct KeyPlace {
    int nCode;
    const char* pszKana;
    const char* pszShiftKana;
    const char* pszPrinted;
};

constexpr KeyPlace kKeys[48] = {
    {2, "ﾇ", "ﾇ", "1!"},  {16, "ﾀ", "ﾀ", "Q"},  {30, "ﾁ", "ﾁ", "A"},  {44, "ﾂ", "ｯ", "Z"},
    {3, "ﾌ", "ﾌ", "2\""}, {17, "ﾃ", "ﾃ", "W"},  {31, "ﾄ", "ﾄ", "S"},  {45, "ｻ", "ｻ", "X"},
    {4, "ｱ", "ｧ", "3#"},  {18, "ｲ", "ｨ", "E"},  {32, "ｼ", "ｼ", "D"},  {46, "ｿ", "ｿ", "C"},
    {5, "ｳ", "ｩ", "4$"},  {19, "ｽ", "ｽ", "R"},  {33, "ﾊ", "ﾊ", "F"},  {47, "ﾋ", "ﾋ", "V"},
    {6, "ｴ", "ｪ", "5%"},  {20, "ｶ", "ｶ", "T"},  {34, "ｷ", "ｷ", "G"},  {48, "ｺ", "ｺ", "B"},
    {7, "ｵ", "ｫ", "6&"},  {21, "ﾝ", "ﾝ", "Y"},  {35, "ｸ", "ｸ", "H"},  {49, "ﾐ", "ﾐ", "N"},
    {8, "ﾔ", "ｬ", "7'"},  {22, "ﾅ", "ﾅ", "U"},  {36, "ﾏ", "ﾏ", "J"},  {50, "ﾓ", "ﾓ", "M"},
    {9, "ﾕ", "ｭ", "8("},  {23, "ﾆ", "ﾆ", "I"},  {37, "ﾉ", "ﾉ", "K"},  {51, "ﾈ", "､", ",<"},
    {10, "ﾖ", "ｮ", "9)"}, {24, "ﾗ", "ﾗ", "O"},  {38, "ﾘ", "ﾘ", "L"},  {52, "ﾙ", "｡", ".>"},
    {11, "ﾜ", "ｦ", "0"},  {25, "ｾ", "ｾ", "P"},  {39, "ﾚ", "ﾚ", ";+"}, {53, "ﾒ", "･", "/?"},
    {12, "ﾎ", "ﾎ", "-="}, {26, "ﾞ", "ﾞ", "@`"}, {40, "ｹ", "ｹ", ":*"}, {89, "ﾛ", "ﾛ", "_"},
    {13, "ﾍ", "ﾍ", "^~"}, {27, "ﾟ", "｢", "[{"}, {43, "ﾑ", "｣", "]}"}, {124, "ｰ", "ｰ", "\\|"},
};

struct KanaBytes {
    std::array<char, 48> unshifted{}, shifted{};
};

const KanaBytes& Kana() {
    static const KanaBytes bytes = [] {
        KanaBytes b;
        for (int k = 0; k < 48; ++k) {
            b.unshifted[k] = Utf8ToCp932(kKeys[k].pszKana).at(0);
            b.shifted[k] = Utf8ToCp932(kKeys[k].pszShiftKana).at(0);
        }
        return b;
    }();
    return bytes;
}

char ByteOf(char32_t ch) {
    if (ch < 0x80) return static_cast<char>(ch);
    if (ch == 0xA5) return 0x5C;  // the yen sign is byte 0x5C in CP932
    const std::string utf8 = QString::fromUcs4(&ch, 1).toStdString();
    bool bLossless = true;
    const std::string bytes = Utf8ToCp932(utf8, &bLossless);
    return (bLossless && bytes.size() == 1) ? bytes[0] : KeyTranslator::kUnknownChar;
}

}  // namespace

int KeyTranslator::KeyIndexFromInputCode(int nCode) {
    for (int k = 0; k < 48; ++k)
        if (kKeys[k].nCode == nCode) return k;
    return -1;
}

int KeyTranslator::KeyIndexFromQtKey(int nKey) {
    if (nKey == Qt::Key_yen) return 47;
    if (nKey <= 0 || nKey >= 0x7F) return -1;
    for (int k = 0; k < 48; ++k)
        for (const char* p = kKeys[k].pszPrinted; *p; ++p)
            if (*p == nKey) return k;
    return -1;
}

char KeyTranslator::KanaOf(int nKeyIndex, bool bShift) {
    if (nKeyIndex < 0 || nKeyIndex >= 48) return 0;
    return bShift ? Kana().shifted[nKeyIndex] : Kana().unshifted[nKeyIndex];
}

std::string KeyTranslator::Translate(const QKeyEvent& event) const {
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool bCommand = mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (m_pState && m_pState->KanaLock() && !bCommand && !(mods & Qt::KeypadModifier)) {
        // X and Wayland report XKB keycodes, which are Linux input codes + 8; other platforms none.
        int nIndex = -1;
        if (event.nativeScanCode() > 8)
            nIndex = KeyIndexFromInputCode(static_cast<int>(event.nativeScanCode()) - 8);
        if (nIndex < 0 && event.nativeScanCode() == 0) nIndex = KeyIndexFromQtKey(event.key());
        if (nIndex >= 0) return std::string(1, KanaOf(nIndex, mods & Qt::ShiftModifier));
    }
    std::string bytes;
    for (char32_t ch : event.text().toUcs4()) bytes += ByteOf(ch);
    return bytes;
}

}  // namespace kibiki::ui
