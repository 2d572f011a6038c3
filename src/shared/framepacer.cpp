#include "framepacer.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace fotonar {

std::chrono::nanoseconds FramePacer::refreshInterval(double hertz)
{
    const double rate = hertz > 1 ? hertz : kUnknownRefreshRate;
    return std::chrono::nanoseconds(std::int64_t(1e9 / rate));
}

bool FramePacer::due(Clock::time_point now)
{
    // Paths are averaged since the last frame: a clock of whole milliseconds (Firefox's, WebKit's)
    // times a path of half a millisecond at 0 or 1, and a path timed at 1 must not pass for one
    // that outlasts its frame. The first path after a rest is taken to be as long as the last.
    const auto since = now - std::exchange(m_lastPresent, now);
    if (!std::exchange(m_rested, false)) {
        m_pathsTime += since;
        ++m_paths;
    }
    const auto path = m_paths > 0 ? m_pathsTime / m_paths : m_lastPath;
    m_lastPath = path;
    if (m_nextFrame && now < *m_nextFrame)
        return false;
    // A frame that costs c, shown after the run went on for (100 / share - 1) c, takes the share.
    // A run's last frame is flushed whatever the run's length: in a run that is over in a few
    // tens of milliseconds (slow-down 1), it and a frame just before it would take twice the
    // share, so the run's first frame waits for both.
    const std::chrono::nanoseconds cost = showingCost();
    if (now - m_lastDone >= cost * (100 / kShowingPercent - 1) * (m_shownSinceRest ? 1 : 2))
        return true;
    // A path that outlasts a refresh is one the screen can show on its own, and it gets its
    // frame whatever showing costs: the class is to see every step of a slowed-down sweep, and a
    // screen slow to show makes the run longer, never the sweep jumpy. Quicker paths share a
    // frame, unless each took longer than showing one does. (Longer, not as long: a frame costs
    // a millisecond at least, and a clock of whole milliseconds times even the one path after a
    // frame at 1 when it stepped within it.)
    return path >= m_refresh || path > cost;
}

void FramePacer::frameShown(
    Clock::time_point handedOver, Clock::time_point done, std::chrono::nanoseconds interval)
{
    // The first frame sets the screen up: learnt as a frame's cost (tens of milliseconds in a
    // browser), it would hold back every frame of a slowed-down first run.
    const bool first = !m_nextFrame;
    m_refresh = interval;
    // One refresh after the frame that was due, not after this one: a path whose pause came out
    // a little short of a refresh (the pause is counted in sines, not in time) still gets a
    // frame of its own when the frames before it were late. The lateness carried over is at
    // most half a refresh, so that frames due long ago cannot come in a burst; with less, paths
    // a little shorter than a refresh (13 ms against 16.7) lose one frame in seven to the
    // lateness they cannot carry. The first frame, or the first after a rest, counts as late.
    const Clock::time_point cadence = m_nextFrame ? *m_nextFrame + interval : handedOver;
    m_nextFrame = std::max(cadence, handedOver + interval / 2);
    if (!first)
        m_costs[m_frames++ % kRemembered] = std::max(done - handedOver, Clock::duration::zero());
    startCounting(done);
    m_shownSinceRest = true;
}

void FramePacer::restEnded(Clock::time_point now)
{
    startCounting(now);
    m_rested = true;
    m_shownSinceRest = false;
}

void FramePacer::startCounting(Clock::time_point from)
{
    m_lastDone = from;
    m_lastPresent = from;
    m_lastEvents = from;
    m_pathsTime = {};
    m_paths = 0;
}

std::chrono::nanoseconds FramePacer::showingCost() const
{
    // The median: one frame that met a busy moment (an exposure of the whole window, a page
    // reflow) should not hold the next frames back for long.
    // And never less than a millisecond: most of what a frame costs happens beside the run, on
    // the same cores, where the run's clock does not see it (the X server, a compositor, a
    // browser's other processes); and a browser's clock may step by whole milliseconds, so that
    // a frame seems to cost nothing. Firefox's frames, timed at 0, cost its runs about a
    // millisecond each.
    const std::size_t count = std::min(m_frames, kRemembered);
    if (count == 0)
        return kLeastShowingCost;
    std::array<std::chrono::nanoseconds, kRemembered> costs = m_costs;
    std::nth_element(costs.begin(), costs.begin() + count / 2, costs.begin() + count);
    return std::max(costs[count / 2], kLeastShowingCost);
}

} // namespace fotonar
