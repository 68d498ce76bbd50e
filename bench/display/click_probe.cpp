// Measures, on a real X server, how long mouse clicks take to reach the screen and what they cost
// the process that handles them. Clicks are made with the XTest extension, as a user's would
// arrive, and the screen is read back pixel by pixel.
//
//   click_probe single X Y [WX WY]
//       one left click at screen point (X, Y); prints the microseconds until the pixel there
//       changes and, when given, the pixel at (WX, WY) too (a far pixel that the click changes in
//       another window).
//   click_probe burst PID N TICKS AX AY BX BY [WX WY]
//       in rounds: stops process PID, queues N - 1 clicks at (AX, AY), alternating left and right
//       buttons and starting with the left, then one click at (BX, BY), left in the first round
//       and then right and left in turn, lets the process go on and waits until the pixel at
//       (BX, BY), and (WX, WY) when given, changed. So every round's last click must flip what is
//       shown at B. /proc counts CPU time in ticks of 1/sysconf(_SC_CLK_TCK) seconds, so the
//       rounds go on until the process has used TICKS of them (at most 2000 rounds or 60 s).
//       Prints four figures: the microseconds from the continues to the changes seen, summed over
//       the rounds; the clicks per second that makes; the process's CPU time (user and system, of
//       all its threads, from /proc/PID/stat) per click, in microseconds, taken from before the
//       first round until the process is idle after the last; the clicks made.
// Exits 1 when nothing changed within 10 seconds.
//
// Between two reads of the screen the probe sleeps some 50 microseconds, so that on a small
// machine it leaves the cores to the X server and the process under measure.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <sys/types.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Point {
    int x = 0;
    int y = 0;
};

unsigned long pixel_at(Display* d, Point p) {
    XImage* image = XGetImage(d, DefaultRootWindow(d), p.x, p.y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return ~0ul;
    const unsigned long value = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return value;
}

void click(Display* d, Point p, unsigned button) {
    XTestFakeMotionEvent(d, -1, p.x, p.y, CurrentTime);
    XTestFakeButtonEvent(d, button, True, CurrentTime);
    XTestFakeButtonEvent(d, button, False, CurrentTime);
}

std::vector<unsigned long> pixels_at(Display* d, const std::vector<Point>& points) {
    std::vector<unsigned long> values;
    for (const Point& p : points)
        values.push_back(pixel_at(d, p));
    return values;
}

// Microseconds from `start` until every pixel of `points` differs from its value in `before`;
// -1 after 10 s.
long long wait_change(Display* d, const std::vector<Point>& points,
                      const std::vector<unsigned long>& before, Clock::time_point start) {
    std::vector<bool> changed(points.size(), false);
    size_t left = points.size();
    while (Clock::now() - start < std::chrono::seconds(10)) {
        for (size_t i = 0; i < points.size(); ++i) {
            if (!changed[i] && pixel_at(d, points[i]) != before[i]) {
                changed[i] = true;
                --left;
            }
        }
        if (left == 0)
            return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start)
                .count();
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return -1;
}

// utime + stime of process `pid`, all threads, in clock ticks; -1 when unreadable.
long long cpu_ticks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The command name, in parentheses, may hold spaces; the fields after it are plain.
    const size_t end = stat.rfind(')');
    if (end == std::string::npos)
        return -1;
    std::istringstream fields(stat.substr(end + 1));
    std::string field;
    long long utime = -1, stime = -1;
    // After the name: state is field 3, utime field 14, stime field 15.
    for (int n = 3; n <= 15 && fields >> field; ++n) {
        if (n == 14)
            utime = std::atoll(field.c_str());
        if (n == 15)
            stime = std::atoll(field.c_str());
    }
    return utime < 0 || stime < 0 ? -1 : utime + stime;
}

// Waits until the process's CPU time stops growing (unchanged over 200 ms), at most 3 s; returns
// the last reading.
long long cpu_ticks_when_idle(pid_t pid) {
    long long last = cpu_ticks(pid);
    int still = 0;
    for (int i = 0; i < 60 && still < 4; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const long long now = cpu_ticks(pid);
        still = now == last ? still + 1 : 0;
        last = now;
    }
    return last;
}

std::vector<Point> watched(Point first, int argc, char** argv, int at) {
    std::vector<Point> points{first};
    if (argc == at + 2)
        points.push_back({std::atoi(argv[at]), std::atoi(argv[at + 1])});
    return points;
}

} // namespace

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "click_probe: no display\n");
        return 2;
    }
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "single" && (argc == 4 || argc == 6)) {
        const Point p{std::atoi(argv[2]), std::atoi(argv[3])};
        const std::vector<Point> points = watched(p, argc, argv, 4);
        XTestFakeMotionEvent(d, -1, p.x, p.y, CurrentTime);
        XSync(d, False);
        const std::vector<unsigned long> before = pixels_at(d, points);
        const auto start = Clock::now();
        click(d, p, 1);
        XFlush(d);
        const long long us = wait_change(d, points, before, start);
        std::printf("%lld\n", us);
        return us < 0;
    }
    if (mode == "burst" && (argc == 9 || argc == 11)) {
        const pid_t pid = static_cast<pid_t>(std::atol(argv[2]));
        const int n = std::atoi(argv[3]);
        const long long ticks = std::atoll(argv[4]);
        const Point a{std::atoi(argv[5]), std::atoi(argv[6])};
        const Point b{std::atoi(argv[7]), std::atoi(argv[8])};
        const std::vector<Point> points = watched(b, argc, argv, 9);
        const long long cpu_before = cpu_ticks(pid);
        if (n < 1 || cpu_before < 0) {
            std::fprintf(stderr, "click_probe: N must be positive and process %d readable\n",
                         static_cast<int>(pid));
            return 2;
        }
        long long total_us = 0;
        int rounds = 0;
        const auto began = Clock::now();
        do {
            const std::vector<unsigned long> before = pixels_at(d, points);
            kill(pid, SIGSTOP);
            for (int i = 0; i < n - 1; ++i)
                click(d, a, (i & 1) ? 3 : 1);
            click(d, b, (rounds & 1) ? 3 : 1);
            XSync(d, False);
            const auto start = Clock::now();
            kill(pid, SIGCONT);
            const long long us = wait_change(d, points, before, start);
            if (us < 0) {
                std::printf("-1 0 0 0\n");
                return 1;
            }
            total_us += us;
            ++rounds;
        } while (cpu_ticks(pid) - cpu_before < ticks && rounds < 2000 &&
                 Clock::now() - began < std::chrono::seconds(60));
        const long long cpu_after = cpu_ticks_when_idle(pid);
        const double clicks = static_cast<double>(n) * rounds;
        const double cpu_us = cpu_before < 0 || cpu_after < 0
                                  ? -1.0
                                  : (cpu_after - cpu_before) * 1e6 /
                                        static_cast<double>(sysconf(_SC_CLK_TCK)) / clicks;
        std::printf("%lld %.0f %.2f %.0f\n", total_us, clicks * 1e6 / static_cast<double>(total_us),
                    cpu_us, clicks);
        return 0;
    }
    std::fprintf(stderr, "usage: click_probe single X Y [WX WY] | "
                         "burst PID N TICKS AX AY BX BY [WX WY]\n");
    return 2;
}
