// fotonar-bench.exe [PAIRS] [maximized]: what a run of the Windows build costs beyond its own
// pause, as fotonar-bench measures the Linux build: pairs of the pause alone and a whole run on
// the real window, at slow-down 6 and 1 (default 31 pairs at slow-down 1); maximized: the window
// fills its screen, as on a projector. Run under Wine by make bench.

#include "fotonarwindow.h"
#include "runpairs.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace fotonar;
using namespace fotonar::bench;

int main(int argc, char *argv[])
{
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    win32::FotonarWindow window(GetModuleHandleW(nullptr));
    const bool maximized = argc > 2 && std::string_view(argv[2]) == "maximized";
    window.showOnScreen(SW_SHOWNORMAL);
    if (maximized) { // the work area, as a window manager maximizes it (Xvfb runs none)
        MONITORINFO monitor {};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(window.handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT &work = monitor.rcWork;
        SetWindowPos(window.handle(), nullptr, work.left, work.top, work.right - work.left,
            work.bottom - work.top, SWP_NOZORDER);
    }
    // Let the window appear and paint before anything is timed.
    MSG message;
    for (int i = 0; i < 50; ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(10);
    }
    RECT client {};
    GetClientRect(window.handle(), &client);
    HDC screen = GetDC(nullptr);
    std::printf("platform: Windows under Wine, screen refresh %d.0 Hz, window %ld x %ld\n",
        GetDeviceCaps(screen, VREFRESH) > 1 ? GetDeviceCaps(screen, VREFRESH) : 60, client.right,
        client.bottom);
    ReleaseDC(nullptr, screen);
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    PixelSurface &surface = window.pixelSurface();
    measureBothSlowDowns(
        surface, window.controller().fields(), pairs, [&] { return surface.framesShown(); });
    return 0;
}
