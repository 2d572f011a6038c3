// What a run costs beyond its own pause, on the real window in one process. Pairs of
//   the pause alone for 102 paths, and a whole run,
// measured one right after the other so that drift of the machine falls on both halves of a
// pair; prints the minimum, median and maximum of the pairs' ratios at slow-down 1 and 6, and
// how many frames a run put on the screen. Run it on a display (make bench uses Xvfb).
// Goals: median ratio at slow-down 1 <= 1.10 under Xvfb (<= 1.05 offscreen); at slow-down 6,
// where a pause outlasts a frame, at least 102 frames a run.
// Usage: fotonar-bench [PAIRS] [maximized]   (default 101 at slow-down 1; slow-down 6 takes 5,
// or fewer when PAIRS is fewer; maximized: the window fills the screen's work area, as on a
// projector, the design zoomed to it). The pairs of one run scatter widely on a shared machine;
// take their median over many (bench/README.md).

#include "fotonar.h"
#include "picturewidget.h"
#include "runpairs.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace fotonar;
using namespace fotonar::bench;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Fotonar window;
    if (argc > 2 && std::string_view(argv[2]) == "maximized")
        window.setGeometry(window.screen()->availableGeometry());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "fotonar-bench: the window did not appear\n");
        return 1;
    }
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 101;
    PixelSurface &surface = window.pictureWidget()->surface();
    FieldTexts &fields = window.controller().fields();
    const auto frames = [&] { return surface.framesShown(); };
    std::printf("platform: %s, screen refresh %.1f Hz, window %d x %d, picture %d x %d\n",
        qPrintable(QGuiApplication::platformName()), window.screen()->refreshRate(), window.width(),
        window.height(), window.pictureWidget()->width(), window.pictureWidget()->height());

    measureBothSlowDowns(surface, fields, pairs, frames);
    return 0;
}
