#include "app/platform_qt.h"

#include <QGuiApplication>
#include <chrono>
#include <ctime>

#ifdef KIBIKI_HAVE_X11
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#endif

namespace kibiki::ui {

std::uint32_t SystemClock::TickCount() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    return static_cast<std::uint32_t>(ms.count());
}

std::time_t SystemClock::Now() { return std::time(nullptr); }

bool WindowSystemKeyboardLayout::IsJisLayout() {
#ifdef KIBIKI_HAVE_X11
    if (auto* pX11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr) {
        if (Display* pDisplay = pX11->display()) {
            XkbStateRec state{};
            XkbGetState(pDisplay, XkbUseCoreKbd, &state);
            constexpr int kCaretKey = 13 + 8;  // Linux input code of the key right of "-", as X keycode
            return XkbKeycodeToKeysym(pDisplay, kCaretKey, state.group, 1) == XK_asciitilde;
        }
    }
#endif
    return true;
}

}  // namespace kibiki::ui
