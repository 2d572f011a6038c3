#include "runpairs.h"

#include "run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace fotonar::bench {

namespace {

double milliseconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

} // namespace

Pairs measurePairs(Surface &surface, FieldTexts &fields, const char *slowDown, int pairs,
    const std::function<int()> &framesShown)
{
    fields.set(Field::nSpomaleni, slowDown);
    const auto pauseAlone = [&] {
        return milliseconds([&] {
            Run run(surface, fields);
            for (int path = 0; path < Run::kPathCount; ++path)
                run.pause();
        });
    };
    Pairs result;
    for (int i = 0; i < pairs; ++i) {
        const bool runFirst = i % 2 == 1;
        const double pauseBefore = runFirst ? 0 : pauseAlone();
        const int framesBefore = framesShown();
        const double run = milliseconds([&] { Run(surface, fields).execute(); });
        result.frames.push_back(framesShown() - framesBefore);
        const double pause = runFirst ? pauseAlone() : pauseBefore;
        result.pause.push_back(pause);
        result.run.push_back(run);
        result.ratio.push_back(run / pause);
    }
    return result;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void report(const char *slowDown, const Pairs &pairs)
{
    const auto [least, most] = std::minmax_element(pairs.ratio.begin(), pairs.ratio.end());
    std::printf("slow-down %s, %zu pairs: pause alone %.1f ms, whole run %.1f ms (medians); "
                "frames a run: %.0f\n",
        slowDown, pairs.ratio.size(), median(pairs.pause), median(pairs.run), median(pairs.frames));
    std::printf(
        "  run/pause ratio: min %.3f, median %.3f, max %.3f\n", *least, median(pairs.ratio), *most);
    std::fflush(stdout);
}

void measureBothSlowDowns(
    Surface &surface, FieldTexts &fields, int pairs, const std::function<int()> &framesShown)
{
    report("6", measurePairs(surface, fields, "6", std::min(5, pairs), framesShown));
    const Pairs fastest = measurePairs(surface, fields, "1", pairs, framesShown);
    report("1", fastest);
    std::printf("run/pause ratio at slow-down 1: %.3f\n", median(fastest.ratio));
}

} // namespace fotonar::bench
