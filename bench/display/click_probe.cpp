// Measures, on a real X server, how long mouse clicks take to reach the screen. Clicks are made
// with the XTest extension, as a user's would arrive, and the screen is read back pixel by pixel.
//
//   click_probe single X Y
//       one left click at screen point (X, Y); prints the microseconds until the pixel there
//       changes.
//   click_probe burst PID N AX AY BX BY
//       stops process PID, queues N - 1 clicks at (AX, AY), alternating left and right buttons,
//       then one left click at (BX, BY), lets the process go on, and prints the microseconds from
//       then until the pixel at (BX, BY) changes, and the clicks per second that makes.
// Exits 1 when nothing changed within 10 seconds.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/types.h>

namespace {

using Clock = std::chrono::steady_clock;

unsigned long pixel_at(Display* d, int x, int y) {
    XImage* image = XGetImage(d, DefaultRootWindow(d), x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return ~0ul;
    const unsigned long p = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return p;
}

void click(Display* d, int x, int y, unsigned button) {
    XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
    XTestFakeButtonEvent(d, button, True, CurrentTime);
    XTestFakeButtonEvent(d, button, False, CurrentTime);
}

// Microseconds from `start` until the pixel at (x, y) differs from `before`; -1 after 10 s.
long long wait_change(Display* d, int x, int y, unsigned long before, Clock::time_point start) {
    while (Clock::now() - start < std::chrono::seconds(10)) {
        if (pixel_at(d, x, y) != before)
            return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start)
                .count();
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "click_probe: no display\n");
        return 2;
    }
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "single" && argc == 4) {
        const int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
        XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
        XSync(d, False);
        const unsigned long before = pixel_at(d, x, y);
        const auto start = Clock::now();
        click(d, x, y, 1);
        XFlush(d);
        const long long us = wait_change(d, x, y, before, start);
        std::printf("%lld\n", us);
        return us < 0;
    }
    if (mode == "burst" && argc == 8) {
        const pid_t pid = static_cast<pid_t>(std::atol(argv[2]));
        const int n = std::atoi(argv[3]);
        const int ax = std::atoi(argv[4]), ay = std::atoi(argv[5]);
        const int bx = std::atoi(argv[6]), by = std::atoi(argv[7]);
        const unsigned long before = pixel_at(d, bx, by);
        kill(pid, SIGSTOP);
        for (int i = 0; i < n - 1; ++i)
            click(d, ax, ay, (i & 1) ? 3 : 1);
        click(d, bx, by, 1);
        XSync(d, False);
        const auto start = Clock::now();
        kill(pid, SIGCONT);
        const long long us = wait_change(d, bx, by, before, start);
        std::printf("%lld %.0f\n", us, us > 0 ? n * 1e6 / static_cast<double>(us) : 0.0);
        return us < 0;
    }
    std::fprintf(stderr, "usage: click_probe single X Y | burst PID N AX AY BX BY\n");
    return 2;
}
