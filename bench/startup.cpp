// Start-up against a bare Qt Widgets window: from launch to the window mapped on the display,
// and the resident memory once shown. Launches the two programs alternately on the display in
// DISPLAY (make bench uses one Xvfb, no window manager) and prints the medians.
// Goals: time within 1.25x and memory within 1.2x of the bare window.
// Usage: fotonar-startup FOTONAR BARE [LAUNCHES]   (default 9 each)

#include <X11/Xlib.h>

#include <signal.h>
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
    double milliseconds = 0;
    long residentKiB = 0;
};

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

bool waitForMap(Display *display, std::chrono::steady_clock::time_point deadline)
{
    const int fd = ConnectionNumber(display);
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify)
                return true;
        }
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval tick {0, 1000};
        select(fd + 1, &readable, nullptr, nullptr, &tick);
    }
    return false;
}

bool launch(Display *display, const char *program, Launch &result)
{
    XSync(display, True); // forget earlier events
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stderr)) // the programs' own chatter
            _exit(127);
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    const bool mapped = pid > 0 && waitForMap(display, start + kMapTimeout);
    const auto end = std::chrono::steady_clock::now();
    if (mapped) {
        std::this_thread::sleep_for(kSettle);
        result.milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
        result.residentKiB = residentKiB(pid);
    }
    if (pid > 0) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
    return mapped;
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
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

    std::vector<double> time[2];
    std::vector<long> memory[2];
    for (int i = 0; i < launches; ++i) {
        for (int which = 0; which < 2; ++which) {
            Launch result;
            if (!launch(display, argv[1 + which], result)) {
                std::fprintf(stderr, "fotonar-startup: %s did not map a window\n", argv[1 + which]);
                return 1;
            }
            time[which].push_back(result.milliseconds);
            memory[which].push_back(result.residentKiB);
        }
    }
    XCloseDisplay(display);

    const double fotonarTime = median(time[0]), bareTime = median(time[1]);
    const long fotonarMemory = median(memory[0]), bareMemory = median(memory[1]);
    std::printf("start-up, medians of %d launches each, alternating:\n", launches);
    std::printf("  launch to mapped window: fotonar %.1f ms, bare window %.1f ms: %.2fx\n",
        fotonarTime, bareTime, fotonarTime / bareTime);
    std::printf("  memory once shown:       fotonar %.1f MiB, bare window %.1f MiB: %.2fx\n",
        fotonarMemory / 1024.0, bareMemory / 1024.0, double(fotonarMemory) / bareMemory);
    return 0;
}
