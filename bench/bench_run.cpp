// How much a run costs beyond its own pause. In one process, on the real window:
//   (a) the pause alone for 102 paths at slow-down 1,
//   (b) a whole run at slow-down 1, and (c) a whole run at slow-down 6,
// each several times; prints the medians and their ratios. Run it on a display (make bench uses
// Xvfb). The goal is (b)/(a) <= 1.3: set-up, drawing and presenting all 102 paths cost under
// 30 % of the pause.

#include "fotonar.h"
#include "run.h"
#include "surfacewidget.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace fotonar;

namespace {

double medianMilliseconds(int repetitions, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Fotonar window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "fotonar-bench: the window did not appear\n");
        return 1;
    }
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    ParameterFields &fields = window.fields();
    SurfaceWidget &surface = *window.surface();

    fields.setFieldText(Field::nSpomaleni, QStringLiteral("1"));
    const double pause = medianMilliseconds(repetitions, [&] {
        Run run(surface, fields);
        for (int path = 0; path < 102; ++path)
            run.pause();
    });
    const double run1 = medianMilliseconds(repetitions, [&] { Run(surface, fields).execute(); });
    fields.setFieldText(Field::nSpomaleni, QStringLiteral("6"));
    const double run6
        = medianMilliseconds(std::max(1, repetitions / 2), [&] { Run(surface, fields).execute(); });

    std::printf("platform: %s, %d repetitions (slow-down 6: %d)\n",
        qPrintable(QGuiApplication::platformName()), repetitions, std::max(1, repetitions / 2));
    std::printf("(a) pause alone, 102 paths, slow-down 1: %9.1f ms\n", pause);
    std::printf("(b) whole run, slow-down 1:              %9.1f ms\n", run1);
    std::printf("(c) whole run, slow-down 6:              %9.1f ms\n", run6);
    std::printf(
        "slow-down 6 / slow-down 1 ratio: %.1f (the pause alone grows 36 times)\n", run6 / run1);
    std::printf("run/pause ratio at slow-down 1: %.3f\n", run1 / pause);
    return 0;
}
