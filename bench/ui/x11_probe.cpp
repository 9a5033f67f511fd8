// Measures a window from outside, as a user's X server sees it:
//   x11_probe latency NAME COUNT KEY     time from an XTest key press to the first changed pixel
//   x11_probe right NAME COUNT KEY,KEY.. the same for right keys only: the keys are tried in
//                                        turn, and a press that leaves the miss counter alone
//                                        (found by two presses of the first key) was right
//   x11_probe startup NAME -- CMD...     time from exec to the window's MapNotify and to its
//                                        first painted frame, and its RSS
// Pixels are polled with GetImage a fraction of a millisecond apart, every polled rectangle in one
// round trip. Every timed press is also
// printed as "sample NAME KIND MS", for medians over several runs.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <xcb/xcb.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void Nap(int us) { std::this_thread::sleep_for(std::chrono::microseconds(us)); }

Window FindWindow(Display* dpy, Window w, const char* name) {
    char* wmName = nullptr;
    if (XFetchName(dpy, w, &wmName) && wmName) {
        const bool hit = std::strcmp(wmName, name) == 0;
        XFree(wmName);
        if (hit) return w;
    }
    Window root, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(dpy, w, &root, &parent, &children, &n)) return 0;
    Window found = 0;
    for (unsigned i = 0; i < n && !found; ++i) found = FindWindow(dpy, children[i], name);
    if (children) XFree(children);
    return found;
}

struct Rect { int x = 0, y = 0, w = 0, h = 0; };

// Raw image bytes of a part of the window; equal bytes mean equal pixels.
std::vector<char> Grab(Display* dpy, Window w, const Rect& r) {
    std::vector<char> px;
    XImage* img = XGetImage(dpy, w, r.x, r.y, r.w, r.h, AllPlanes, ZPixmap);
    if (!img) return px;
    px.assign(img->data, img->data + static_cast<size_t>(img->bytes_per_line) * img->height);
    XDestroyImage(img);
    return px;
}

// Timed presses poll over a connection of their own, every polled rectangle asked for at once
// and the answers awaited together: polling several rectangles costs one round trip to the
// server, as polling one does, so a key whose change is looked for in more places is not timed
// slower for it.
xcb_connection_t* g_pPoll = nullptr;

std::vector<std::vector<char>> Poll(Window w, const std::vector<Rect>& rects) {
    std::vector<xcb_get_image_cookie_t> cookies;
    for (const Rect& r : rects)
        cookies.push_back(xcb_get_image(g_pPoll, XCB_IMAGE_FORMAT_Z_PIXMAP, static_cast<xcb_drawable_t>(w),
                                        static_cast<int16_t>(r.x), static_cast<int16_t>(r.y),
                                        static_cast<uint16_t>(r.w), static_cast<uint16_t>(r.h), ~0u));
    std::vector<std::vector<char>> grabs;
    for (const auto& cookie : cookies) {
        xcb_get_image_reply_t* reply = xcb_get_image_reply(g_pPoll, cookie, nullptr);
        std::vector<char> px;
        if (reply) {
            const char* data = reinterpret_cast<const char*>(xcb_get_image_data(reply));
            px.assign(data, data + xcb_get_image_data_length(reply));
            std::free(reply);
        }
        grabs.push_back(std::move(px));
    }
    return grabs;
}

// Pixel (x, y) of a grab of a w-wide rectangle, 32-bit visuals only (Xvfb's 24-bit depth).
unsigned Pixel(const std::vector<char>& px, int w, int x, int y) {
    unsigned v;
    std::memcpy(&v, px.data() + (static_cast<size_t>(y) * w + x) * 4, 4);
    return v & 0xFFFFFF;
}

bool Viewable(Display* dpy, Window w, Rect& r) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable) return false;
    r = {0, 0, a.width, a.height};
    return true;
}

double Percentile(std::vector<double> v, double p) {
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p / 100.0 * (v.size() - 1) + 0.5));
    return v[i];
}

void Press(Display* dpy, KeyCode code) {
    XTestFakeKeyEvent(dpy, code, True, CurrentTime);
    XFlush(dpy);
}

void Release(Display* dpy, KeyCode code) {
    XTestFakeKeyEvent(dpy, code, False, CurrentTime);
    XFlush(dpy);
}

KeyCode Code(Display* dpy, const std::string& keyName) {
    const KeyCode code = XKeysymToKeycode(dpy, XStringToKeysym(keyName.c_str()));
    if (!code) std::fprintf(stderr, "no key %s\n", keyName.c_str());
    return code;
}

// Bounding box of the pixels that differ between two grabs of the same rectangle.
bool Changed(const std::vector<char>& a, const std::vector<char>& b, const Rect& r, Rect& out) {
    int x0 = r.w, y0 = r.h, x1 = -1, y1 = -1;
    for (int y = 0; y < r.h; ++y)
        for (int x = 0; x < r.w; ++x)
            if (Pixel(a, r.w, x, y) != Pixel(b, r.w, x, y)) {
                x0 = std::min(x0, x); y0 = std::min(y0, y);
                x1 = std::max(x1, x); y1 = std::max(y1, y);
            }
    if (x1 < 0) return false;
    out = {r.x + x0, r.y + y0, x1 - x0 + 1, y1 - y0 + 1};
    return true;
}

std::vector<char> PressUntimed(Display* dpy, Window w, KeyCode code, const Rect& full) {
    Press(dpy, code);
    Release(dpy, code);
    Nap(300000);
    return Grab(dpy, w, full);
}

// Presses a key and polls the rectangles until one changes; -1 if none did within a second.
double TimedPress(Display* dpy, Window w, KeyCode code, const std::vector<Rect>& polled) {
    const std::vector<std::vector<char>> base = Poll(w, polled);
    const auto t0 = Clock::now();
    Press(dpy, code);
    double ms = -1;
    while (ms < 0 && Ms(Clock::now() - t0) < 1000) {
        if (Poll(w, polled) != base) ms = Ms(Clock::now() - t0);
        else Nap(100);
    }
    Release(dpy, code);
    return ms;
}

void Report(const char* name, const char* kind, const std::vector<double>& samples, const Rect& region) {
    for (double ms : samples) std::printf("sample %s %s %.3f\n", name, kind, ms);
    std::printf("latency %s %s: n=%zu region=%dx%d median=%.2f ms p99=%.2f ms\n", name, kind,
                samples.size(), region.w, region.h, Percentile(samples, 50), Percentile(samples, 99));
}

bool Target(Display* dpy, const char* name, Window& w, Rect& full) {
    w = FindWindow(dpy, DefaultRootWindow(dpy), name);
    if (w && Viewable(dpy, w, full)) return true;
    std::fprintf(stderr, "no viewable window named %s\n", name);
    return false;
}

int Latency(Display* dpy, const char* name, int count, const char* keyName) {
    Window w;
    Rect full;
    if (!Target(dpy, name, w, full)) return 1;
    const KeyCode code = Code(dpy, keyName);
    if (!code) return 1;
    // Two untimed presses find the part of the window that every press repaints (the first one
    // may also change what stays changed, such as a cap that sinks); timed presses then poll
    // only that part, so a poll costs little and the clock is read often.
    const auto before = PressUntimed(dpy, w, code, full);
    const auto after = PressUntimed(dpy, w, code, full);
    Rect region;
    if (!Changed(before, after, full, region)) {
        std::fprintf(stderr, "a press of %s changes nothing\n", keyName);
        return 1;
    }
    std::vector<double> samples;
    for (int i = 0; i < count; ++i) {
        Nap(20000);  // let the previous press settle
        const double ms = TimedPress(dpy, w, code, {region});
        if (ms >= 0) samples.push_back(ms);
    }
    if (samples.empty()) return 1;
    Report(name, "wrong", samples, region);
    return 0;
}

// Full-width strips through the middle of each run of changed rows: a right key changes the
// answer's line (a new character, or the line cleared at a question's end) and the guide's caps.
std::vector<Rect> Strips(const std::vector<char>& a, const std::vector<char>& b, const Rect& full,
                         const Rect& skip) {
    std::vector<Rect> strips;
    int runStart = -1, lastChanged = -10;
    auto close = [&] {
        if (runStart >= 0) strips.push_back({0, std::max(0, (runStart + lastChanged) / 2 - 1), full.w, 3});
    };
    for (int y = 0; y < full.h; ++y) {
        bool bRow = false;
        for (int x = 0; x < full.w && !bRow; ++x) {
            const bool bSkip = x >= skip.x && x < skip.x + skip.w && y >= skip.y && y < skip.y + skip.h;
            bRow = !bSkip && Pixel(a, full.w, x, y) != Pixel(b, full.w, x, y);
        }
        if (!bRow) continue;
        if (y - lastChanged > 3) { close(); runStart = y; }
        lastChanged = y;
    }
    close();
    return strips;
}

int Right(Display* dpy, const char* name, int count, const char* keyList) {
    Window w;
    Rect full;
    if (!Target(dpy, name, w, full)) return 1;
    std::vector<KeyCode> codes;
    for (const char* p = keyList; *p;) {
        const char* e = std::strchr(p, ',');
        const std::string key = e ? std::string(p, e) : std::string(p);
        if (const KeyCode c = Code(dpy, key)) codes.push_back(c); else return 1;
        p = e ? e + 1 : p + key.size();
    }
    // The miss counter: what two presses of a wrong key (the first in the list) change.
    const auto before = PressUntimed(dpy, w, codes[0], full);
    const auto after = PressUntimed(dpy, w, codes[0], full);
    Rect misses;
    if (!Changed(before, after, full, misses)) {
        std::fprintf(stderr, "a press of the first key changes nothing\n");
        return 1;
    }
    // An untimed right press finds the strips to poll.
    std::vector<Rect> polled;
    auto missGrab = [&] { return Grab(dpy, w, misses); };
    size_t next = 1;
    std::vector<char> last = after;
    for (int tries = 0; tries < 100 && polled.empty(); ++tries) {
        const auto missBefore = missGrab();
        const auto now = PressUntimed(dpy, w, codes[next], full);
        next = next % (codes.size() - 1) + 1;
        if (missGrab() == missBefore && now != last) polled = Strips(last, now, full, misses);
        last = now;
    }
    if (polled.empty()) {
        std::fprintf(stderr, "no right key among %s\n", keyList);
        return 1;
    }
    polled.push_back(misses);
    std::vector<double> samples, wrongs;
    for (int tries = 0; tries < 40 * count && static_cast<int>(samples.size()) < count; ++tries) {
        Nap(20000);
        const auto missBefore = missGrab();
        const double ms = TimedPress(dpy, w, codes[next], polled);
        next = next % (codes.size() - 1) + 1;
        Nap(20000);
        if (ms < 0) continue;
        (missGrab() == missBefore ? samples : wrongs).push_back(ms);
    }
    if (samples.empty()) return 1;
    Report(name, "right", samples, polled.front());
    // The wrong presses in between, timed with the same polls: what the polls themselves cost.
    if (!wrongs.empty()) Report(name, "wrong-polled-as-right", wrongs, polled.back());
    return 0;
}

long RssKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

bool Named(Display* dpy, Window w, const char* name) {
    char* wmName = nullptr;
    if (!XFetchName(dpy, w, &wmName) || !wmName) return false;
    const bool hit = std::strcmp(wmName, name) == 0;
    XFree(wmName);
    return hit;
}

int Startup(Display* dpy, const char* name, char** argv) {
    // Without a window manager a top-level window is a child of the root: its MapNotify comes
    // to whoever listens to the root's substructure.
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);
    XSync(dpy, True);
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    double mapMs = -1, frameMs = -1;
    Window w = 0;
    while (Ms(Clock::now() - t0) < 10000 && frameMs < 0) {
        while (!w && XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify && Named(dpy, ev.xmap.window, name)) {
                mapMs = Ms(Clock::now() - t0);
                w = ev.xmap.window;
            }
        }
        Rect r;
        if (w && Viewable(dpy, w, r)) {
            const auto px = Grab(dpy, w, r);
            // Painted: more than one colour in the window.
            bool bPainted = false;
            for (int y = 0; y < r.h && !bPainted; ++y)
                for (int x = 0; x < r.w && !bPainted; ++x) bPainted = Pixel(px, r.w, x, y) != Pixel(px, r.w, 0, 0);
            if (bPainted) frameMs = Ms(Clock::now() - t0);
        }
        if (frameMs < 0) Nap(200);
    }
    XSelectInput(dpy, DefaultRootWindow(dpy), NoEventMask);
    Nap(500000);
    const long rss = RssKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (frameMs < 0) {
        std::fprintf(stderr, "%s never painted\n", name);
        return 1;
    }
    std::printf("startup %s: window %.1f ms, first frame %.1f ms, rss %.1f MB\n", name, mapMs, frameMs,
                rss / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Display* dpy = XOpenDisplay(nullptr);
    g_pPoll = xcb_connect(nullptr, nullptr);
    if (!dpy || xcb_connection_has_error(g_pPoll)) {
        std::fprintf(stderr, "cannot open display\n");
        return 1;
    }
    int rc = 2;
    if (argc == 5 && std::strcmp(argv[1], "latency") == 0) {
        rc = Latency(dpy, argv[2], std::atoi(argv[3]), argv[4]);
    } else if (argc == 5 && std::strcmp(argv[1], "right") == 0) {
        rc = Right(dpy, argv[2], std::atoi(argv[3]), argv[4]);
    } else if (argc >= 5 && std::strcmp(argv[1], "startup") == 0 && std::strcmp(argv[3], "--") == 0) {
        rc = Startup(dpy, argv[2], argv + 4);
    } else {
        std::fprintf(stderr, "usage: x11_probe latency NAME COUNT KEY | right NAME COUNT KEY,KEY... | startup NAME -- CMD...\n");
    }
    XCloseDisplay(dpy);
    xcb_disconnect(g_pPoll);
    return rc;
}
