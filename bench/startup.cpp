// Start-up against a bare Qt Widgets window: from launch to the window mapped on the display,
// from launch to its first picture (the first drawing the display reports after the map), and
// the resident memory once shown. Launches the two programs alternately on the display in
// DISPLAY (make bench uses one Xvfb, no window manager) and prints the medians.
// Goals: time to the map within 1.25x and memory within 1.2x of the bare window.
// Usage: fotonar-startup FOTONAR BARE [LAUNCHES]   (default 9 each)

#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Time to wait after the map before reading the memory: the first paint has gone out by then.
constexpr auto kSettle = std::chrono::milliseconds(300);
constexpr auto kMapTimeout = std::chrono::seconds(20);

struct Launch
{
    double toMap = 0; ///< ms
    double toPicture = 0; ///< ms
    long residentKiB = 0;
};

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

// Watches the root window until a window is mapped and then drawn into. Drawing shows as damage
// to the root, which takes in every window on a display without a compositor.
bool watchLaunch(Display *display, int damageEvent, Clock::time_point start, Launch &result)
{
    const int fd = ConnectionNumber(display);
    const auto deadline = start + kMapTimeout;
    bool mapped = false;
    while (Clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !mapped) {
                mapped = true;
                result.toMap = millisecondsSince(start);
            } else if (event.type == damageEvent + XDamageNotify && mapped) {
                result.toPicture = millisecondsSince(start);
                return true;
            }
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval tick {0, 1000};
        select(fd + 1, &readable, nullptr, nullptr, &tick);
    }
    return false;
}

bool launch(Display *display, int damageEvent, const char *program, Launch &result)
{
    XSync(display, True); // forget earlier events
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stderr)) // the programs' own chatter
            _exit(127);
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    const bool shown = pid > 0 && watchLaunch(display, damageEvent, start, result);
    if (shown) {
        std::this_thread::sleep_for(kSettle);
        result.residentKiB = residentKiB(pid);
    }
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    return shown;
}

template<typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: fotonar-startup FOTONAR BARE [LAUNCHES]\n");
        return 2;
    }
    const int launches = argc > 3 ? std::max(1, std::atoi(argv[3])) : 9;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "fotonar-startup: cannot open the display\n");
        return 1;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError)) {
        std::fprintf(stderr, "fotonar-startup: the display has no DAMAGE extension\n");
        return 1;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XDamageCreate(display, DefaultRootWindow(display), XDamageReportRawRectangles);

    std::vector<double> toMap[2], toPicture[2];
    std::vector<long> memory[2];
    for (int i = 0; i < launches; ++i) {
        for (int which = 0; which < 2; ++which) {
            Launch result;
            if (!launch(display, damageEvent, argv[1 + which], result)) {
                std::fprintf(
                    stderr, "fotonar-startup: %s did not show a window\n", argv[1 + which]);
                return 1;
            }
            toMap[which].push_back(result.toMap);
            toPicture[which].push_back(result.toPicture);
            memory[which].push_back(result.residentKiB);
        }
    }
    XCloseDisplay(display);

    const auto print = [](const char *what, double fotonar, double bare, const char *unit) {
        std::printf("  %-24s fotonar %.1f %s, bare window %.1f %s: %.2fx\n", what, fotonar, unit,
            bare, unit, fotonar / bare);
    };
    std::printf("start-up, medians of %d launches each, alternating:\n", launches);
    print("launch to mapped window:", median(toMap[0]), median(toMap[1]), "ms");
    print("launch to first picture:", median(toPicture[0]), median(toPicture[1]), "ms");
    print("memory once shown:", double(median(memory[0])) / 1024.0,
        double(median(memory[1])) / 1024.0, "MiB");
    return 0;
}
