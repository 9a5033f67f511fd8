#pragma once
// Whether the active keyboard layout is the Japanese (JIS) one: on it "~" is Shift + the caret
// key, which changes the ASCII legends of two caps and the base key of "~" and "`".
namespace kibiki {

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    virtual bool IsJisLayout() = 0;
};

// A layout answer fixed at construction (tests, benchmarks, and when the window system cannot
// be asked).
class FixedKeyboardLayout : public KeyboardLayout {
public:
    explicit FixedKeyboardLayout(bool bJis = true) : m_bJis(bJis) {}
    bool IsJisLayout() override { return m_bJis; }
    bool m_bJis;
};

}  // namespace kibiki
