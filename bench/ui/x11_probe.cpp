// Measures a window from outside, as a user's X server sees it:
//   x11_probe latency NAME COUNT KEY   time from an XTest key press to the first changed pixel
//   x11_probe startup NAME -- CMD...   time from exec to the first painted window, and its RSS
// Pixels are polled with XGetImage a fraction of a millisecond apart.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
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

int Latency(Display* dpy, const char* name, int count, const char* keyName) {
    const Window w = FindWindow(dpy, DefaultRootWindow(dpy), name);
    Rect full;
    if (!w || !Viewable(dpy, w, full)) {
        std::fprintf(stderr, "no viewable window named %s\n", name);
        return 1;
    }
    const KeyCode code = XKeysymToKeycode(dpy, XStringToKeysym(keyName));
    if (!code) {
        std::fprintf(stderr, "no key %s\n", keyName);
        return 1;
    }
    // Two untimed presses find the part of the window that every press repaints (the first one
    // may also change what stays changed, such as a cap that sinks); timed presses then poll
    // only that part, so a poll costs little and the clock is read often.
    auto pressAndGrab = [&] {
        Press(dpy, code);
        Release(dpy, code);
        Nap(300000);
        return Grab(dpy, w, full);
    };
    const auto before = pressAndGrab();
    const auto after = pressAndGrab();
    int x0 = full.w, y0 = full.h, x1 = -1, y1 = -1;
    for (int y = 0; y < full.h; ++y)
        for (int x = 0; x < full.w; ++x)
            if (Pixel(before, full.w, x, y) != Pixel(after, full.w, x, y)) {
                x0 = std::min(x0, x); y0 = std::min(y0, y);
                x1 = std::max(x1, x); y1 = std::max(y1, y);
            }
    if (x1 < 0) {
        std::fprintf(stderr, "a press of %s changes nothing\n", keyName);
        return 1;
    }
    const Rect region{x0, y0, x1 - x0 + 1, y1 - y0 + 1};

    std::vector<double> samples;
    for (int i = 0; i < count; ++i) {
        Nap(20000);  // let the previous press settle
        const auto base = Grab(dpy, w, region);
        const auto t0 = Clock::now();
        Press(dpy, code);
        double ms = -1;
        while (Ms(Clock::now() - t0) < 1000) {
            if (Grab(dpy, w, region) != base) { ms = Ms(Clock::now() - t0); break; }
            Nap(100);
        }
        Release(dpy, code);
        if (ms >= 0) samples.push_back(ms);
    }
    if (samples.empty()) return 1;
    std::printf("latency %s: n=%zu region=%dx%d median=%.2f ms p99=%.2f ms\n", name, samples.size(),
                region.w, region.h, Percentile(samples, 50), Percentile(samples, 99));
    return 0;
}

long RssKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

int Startup(Display* dpy, const char* name, char** argv) {
    const auto t0 = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    double ms = -1;
    while (Ms(Clock::now() - t0) < 10000 && ms < 0) {
        const Window w = FindWindow(dpy, DefaultRootWindow(dpy), name);
        Rect r;
        if (w && Viewable(dpy, w, r)) {
            const auto px = Grab(dpy, w, r);
            // Painted: more than one colour in the window.
            bool bPainted = false;
            for (int y = 0; y < r.h && !bPainted; ++y)
                for (int x = 0; x < r.w && !bPainted; ++x) bPainted = Pixel(px, r.w, x, y) != Pixel(px, r.w, 0, 0);
            if (bPainted)
                ms = Ms(Clock::now() - t0);
        }
        if (ms < 0) Nap(200);
    }
    Nap(500000);
    const long rss = RssKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (ms < 0) {
        std::fprintf(stderr, "%s never painted\n", name);
        return 1;
    }
    std::printf("startup %s: first paint %.1f ms, rss %.1f MB\n", name, ms, rss / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "cannot open display\n");
        return 1;
    }
    int rc = 2;
    if (argc == 5 && std::strcmp(argv[1], "latency") == 0) {
        rc = Latency(dpy, argv[2], std::atoi(argv[3]), argv[4]);
    } else if (argc >= 5 && std::strcmp(argv[1], "startup") == 0 && std::strcmp(argv[3], "--") == 0) {
        rc = Startup(dpy, argv[2], argv + 4);
    } else {
        std::fprintf(stderr, "usage: x11_probe latency NAME COUNT KEY | startup NAME -- CMD...\n");
    }
    XCloseDisplay(dpy);
    return rc;
}
