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
// key right of "-" (the caret key). Without an X display (Wayland, offscreen) the trainer's
// keyboard is taken to be JIS.
class WindowSystemKeyboardLayout : public KeyboardLayout {
public:
    bool IsJisLayout() override;
};

}  // namespace kibiki::ui
