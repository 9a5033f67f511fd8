#pragma once
// The machine behind the core's platform interfaces: time and the keyboard layout.
#include "platform/clock.h"
#include "platform/keyboard_layout.h"

namespace kibiki::ui {

// A 32-bit millisecond counter from the steady clock, and the calendar time.
class SystemClock : public Clock {
public:
    std::uint32_t TickCount() override;
    std::time_t Now() override;
};

// Asks the window system whether the active layout is the JIS one: on it "~" is Shift + the
// key right of "-" (the caret key). The answer for each of the keyboard's layout groups is read
// once from X; key events then tell which group is active, so no keystroke waits for the X
// server. Without an X display (Wayland, offscreen) the trainer's keyboard is taken to be JIS.
class WindowSystemKeyboardLayout : public KeyboardLayout {
public:
    bool IsJisLayout() override { return m_abJis[m_nGroup & 3]; }
    // Reads the layouts and the active group again (start-up, keymap changes).
    void Refresh();
    // The group a key event was typed in (X core state bits 13-14).
    void SetGroupFromNativeModifiers(unsigned nNativeModifiers) { m_nGroup = (nNativeModifiers >> 13) & 3; }

private:
    bool m_abJis[4] = {true, true, true, true};
    int m_nGroup = 0;
};

}  // namespace kibiki::ui
