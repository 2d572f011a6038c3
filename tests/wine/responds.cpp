// fotonar-responds SECONDS: for SECONDS, asks fotonar.exe's window again and again to answer a
// WM_NULL, as Windows does before it marks a window "Not responding" (after 5 s without an
// answer), and prints the longest wait. Exit status 0 when every message was answered within
// the 5 s, 1 when one was not, 2 when there is no window.

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    using Clock = std::chrono::steady_clock;
    constexpr UINT kHungAfterMs = 5000;
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2;
    const HWND window = FindWindowW(L"Fotonar", nullptr);
    if (!window) {
        std::fprintf(stderr, "fotonar-responds: no Fotonar window\n");
        return 2;
    }
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    double longestMs = 0;
    int answered = 0;
    while (Clock::now() < end) {
        const auto sent = Clock::now();
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kHungAfterMs, &result)) {
            std::printf("no answer within %u ms\n", kHungAfterMs);
            return 1;
        }
        const std::chrono::duration<double, std::milli> waited = Clock::now() - sent;
        longestMs = waited.count() > longestMs ? waited.count() : longestMs;
        ++answered;
        Sleep(20);
    }
    std::printf("%d answers, the longest after %.0f ms\n", answered, longestMs);
    return 0;
}
