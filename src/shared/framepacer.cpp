#include "framepacer.h"

#include <algorithm>
#include <cstdint>

namespace fotonar {

std::chrono::nanoseconds FramePacer::refreshInterval(double hertz)
{
    const double rate = hertz > 1 ? hertz : kUnknownRefreshRate;
    return std::chrono::nanoseconds(std::int64_t(1e9 / rate));
}

void FramePacer::frameShown(Clock::time_point now, std::chrono::nanoseconds interval)
{
    // One refresh after the frame that was due, not after this one: a path whose pause came out
    // a little short of a refresh (the pause is counted in sines, not in time) still gets a
    // frame of its own when the frames before it were late. The lateness carried over is at
    // most a quarter of a refresh, so that frames due long ago cannot come in a burst; the
    // first frame, or the first after a rest, counts as late.
    const Clock::time_point cadence = m_nextFrame ? *m_nextFrame + interval : now;
    m_nextFrame = std::max(cadence, now + interval * 3 / 4);
}

} // namespace fotonar
