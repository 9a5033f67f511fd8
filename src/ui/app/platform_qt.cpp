#include "ui/app/platform_qt.h"

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

void WindowSystemKeyboardLayout::Refresh() {
#ifdef KIBIKI_HAVE_X11
    auto* pX11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* pDisplay = pX11 ? pX11->display() : nullptr;
    if (!pDisplay) return;
    XkbStateRec state{};
    if (XkbGetState(pDisplay, XkbUseCoreKbd, &state) == Success) m_nGroup = state.group & 3;
    // A fresh copy of the keymap: the one Xlib caches is never told of changes, since Qt reads
    // the events.
    XkbDescPtr pKeymap = XkbGetMap(pDisplay, XkbKeyTypesMask | XkbKeySymsMask, XkbUseCoreKbd);
    if (!pKeymap) return;
    constexpr int kCaretKey = 13 + 8;  // Linux input code of the key right of "-", as X keycode
    const int nGroups = XkbKeyNumGroups(pKeymap, kCaretKey);
    for (int g = 0; g < 4; ++g) {
        const int group = nGroups > 0 ? g % nGroups : 0;  // groups beyond the key's wrap around
        m_abJis[g] = nGroups > 0 && XkbKeyGroupWidth(pKeymap, kCaretKey, group) > 1 &&
                     XkbKeySymEntry(pKeymap, kCaretKey, 1, group) == XK_asciitilde;
    }
    XkbFreeKeyboard(pKeymap, 0, True);
#endif
}

}  // namespace kibiki::ui
