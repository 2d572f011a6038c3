#pragma once

#include <array>
#include <chrono>
#include <optional>

namespace fotonar {

/// When a present may put a frame on the screen. Frames follow the screen's cadence: on average
/// no more than one a refresh, never two within three quarters of a refresh. And the pacer learns
/// what a frame costs to show, so that showing stays a small share of a run on any machine and
/// toolkit: a frame waits until the run has gone on for kShowingPercent's worth of its cost (the
/// first frame of a run for twice that, since it pays for the run's last frame too, which comes
/// however short the run), unless the paths it shows took longer each, on average, than showing
/// it does or than a refresh. A slow screen then gets fewer frames of quick paths, and a
/// slowed-down run shows every path that outlasts a refresh, whatever a frame costs.
class FramePacer
{
public:
    using Clock = std::chrono::steady_clock;
    /// The refresh rate to assume, in hertz, where the screen does not tell its own.
    static constexpr int kUnknownRefreshRate = 60;
    /// The most of a run's time that showing frames may take, where paths are quicker than frames.
    static constexpr int kShowingPercent = 4;
    /// What a frame costs at least, whatever the run's clock says of it (1 ms).
    static constexpr std::chrono::nanoseconds kLeastShowingCost {1'000'000};
    /// The longest a run keeps the toolkit's events waiting while frames are held back (a
    /// screen slow to show on a busy machine): clicks show at once, and the window never counts
    /// as not responding.
    static constexpr std::chrono::milliseconds kMostWithoutEvents {100};
    /// One refresh at `hertz`, or at kUnknownRefreshRate where `hertz` is not a rate (<= 1).
    static std::chrono::nanoseconds refreshInterval(double hertz);

    /// A present at `now`, after the path drawn since the last one: whether it shows a frame.
    bool due(Clock::time_point now);
    /// A frame went to the screen at `handedOver`, and showing it (with the yield after it) was
    /// done at `done`, on a screen that refreshes every `interval` (> 0). The first frame sets
    /// the screen up (a browser makes its GL context then) and teaches nothing about what frames
    /// cost.
    void frameShown(
        Clock::time_point handedOver, Clock::time_point done, std::chrono::nanoseconds interval);
    /// A present at `now` that shows no frame: whether the toolkit is to deliver its events
    /// nonetheless, the last frame or delivery being kMostWithoutEvents ago.
    bool eventsDue(Clock::time_point now) const { return now - m_lastEvents >= kMostWithoutEvents; }
    /// The toolkit delivered its events, done at `done`.
    void eventsDelivered(Clock::time_point done) { m_lastEvents = done; }
    /// Drawing begins again at `now` after a rest (the end of a run): the time at rest was no
    /// run's time, and earns the next frame nothing. The first path after it is taken to be as
    /// long as the last one before it.
    void restEnded(Clock::time_point now);
    /// What showing a frame costs, as learnt from the last frames (the median of up to
    /// kRemembered), and never less than kLeastShowingCost.
    std::chrono::nanoseconds showingCost() const;

private:
    static constexpr std::size_t kRemembered = 8;

    /// The paths since the last frame, and the waits for the next one, count from `from`.
    void startCounting(Clock::time_point from);

    std::optional<Clock::time_point> m_nextFrame; ///< on the screen's cadence
    Clock::time_point m_lastDone {}; ///< when showing the last frame was done
    Clock::time_point m_lastPresent {}; ///< when the last present returned
    Clock::time_point m_lastEvents {}; ///< when the toolkit last delivered its events
    /// How long a path took, on average since the last frame; until one was measured, longer
    /// than any frame.
    Clock::duration m_lastPath = Clock::duration::max();
    /// One refresh of the screen the last frame went to; until then, longer than any path.
    Clock::duration m_refresh = Clock::duration::max();
    Clock::duration m_pathsTime {}; ///< the paths since the last frame (or rest), and how many
    int m_paths = 0;
    bool m_rested = false; ///< no present since the end of a rest
    bool m_shownSinceRest = false; ///< a frame was shown since the end of the last rest
    std::array<std::chrono::nanoseconds, kRemembered> m_costs {};
    std::size_t m_frames = 0; ///< frames whose cost was learnt
};

} // namespace fotonar
