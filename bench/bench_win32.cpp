// fotonar-bench.exe [PAIRS]: what a run of the Windows build costs beyond its own pause, as
// fotonar-bench measures the Linux build: pairs of the pause alone and a whole run on the real
// window, at slow-down 1 (default 31 pairs). Run under Wine by make bench; a figure to watch,
// no goal yet.

#include "fotonarwindow.h"
#include "runpairs.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace fotonar;
using namespace fotonar::bench;

int main(int argc, char *argv[])
{
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    win32::FotonarWindow window(GetModuleHandleW(nullptr));
    window.showOnScreen(SW_SHOWNORMAL);
    // Let the window appear and paint before anything is timed.
    MSG message;
    for (int i = 0; i < 50; ++i) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        Sleep(10);
    }
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    PixelSurface &surface = window.pixelSurface();
    const auto frames = [&] { return surface.framesShown(); };
    const Pairs fastest = measurePairs(surface, window.controller().fields(), "1", pairs, frames);
    report("1", fastest);
    std::printf(
        "run/pause ratio at slow-down 1 (Windows under Wine): %.3f\n", median(fastest.ratio));
    return 0;
}
