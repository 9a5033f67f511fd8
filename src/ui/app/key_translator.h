#pragma once
// Turns a key event into the bytes the judge takes: ASCII as the keyboard layout gives it, or,
// with the kana lock on, the half-width kana of the JIS kana layout for the key's physical place
// (so a US keyboard types the kana at the same places, the ろ and ¥ keys included).
#include <optional>
#include <string>

#include "platform/keyboard_state.h"

class QKeyEvent;

namespace kibiki::ui {

// The 256 key states, kept in memory: no system-wide kana lock is touched.
class KeyStateStore : public KeyboardState {
public:
    void GetKeyboardState(KeyStateArray& state) override { state = m_state; }
    void SetKeyboardState(const KeyStateArray& state) override { m_state = state; }
    bool KanaLock() const { return (m_state[VK_KANA] & 1) != 0; }

private:
    KeyStateArray m_state{};
};

class KeyTranslator {
public:
    // Stands for a character that has no single-byte CP932 form: never expected, so wrong.
    static constexpr char kUnknownChar = 0x7F;

    explicit KeyTranslator(const KeyStateStore* pState) : m_pState(pState) {}

    // CP932 bytes for the judge, one per character; empty for keys that give no character.
    std::string Translate(const QKeyEvent& event) const;

    // Key index 0-47 of a physical key: Linux input code (X keycode − 8); -1 for other keys.
    static int KeyIndexFromInputCode(int nCode);
    // Key index of a Qt key, read as the character a JIS keyboard prints on it; -1 for none.
    static int KeyIndexFromQtKey(int nKey);

private:
    const KeyStateStore* m_pState;
};

}  // namespace kibiki::ui
