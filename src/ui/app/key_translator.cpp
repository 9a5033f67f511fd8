#include "ui/app/key_translator.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include "kana/jis_keyboard.h"
#include "text/cp932.h"

namespace kibiki::ui {

namespace {

// Linux input code of each key index (column by column from the left, digit row down).
constexpr int kInputCodes[kKeyCount] = {
    2,  16, 30, 44,   3,  17, 31, 45,   4,  18, 32, 46,   5,  19, 33, 47,
    6,  20, 34, 48,   7,  21, 35, 49,   8,  22, 36, 50,   9,  23, 37, 51,
    10, 24, 38, 52,   11, 25, 39, 53,   12, 26, 40, 89,   13, 27, 43, 124,
};

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
    for (int k = 0; k < kKeyCount; ++k)
        if (kInputCodes[k] == nCode) return k;
    return -1;
}

int KeyTranslator::KeyIndexFromQtKey(int nKey) {
    if (nKey == Qt::Key_yen) return 47;
    if (nKey <= 0 || nKey >= 0x7F) return -1;
    return KeyOfPrinted(static_cast<char>(nKey));
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
        if (nIndex >= 0) return std::string(1, static_cast<char>(KanaOfKey(nIndex, mods & Qt::ShiftModifier)));
    }
    std::string bytes;
    for (char32_t ch : event.text().toUcs4()) bytes += ByteOf(ch);
    return bytes;
}

}  // namespace kibiki::ui
