#pragma once

#include <chrono>
#include <optional>

namespace fotonar {

/// When a present may put a frame on the screen. Frames follow the screen's cadence: on average
/// no more than one a refresh, never two within three quarters of a refresh, and a present that
/// comes a refresh or more after the last frame always gets its own.
class FramePacer
{
public:
    using Clock = std::chrono::steady_clock;
    /// The refresh rate to assume, in hertz, where the screen does not tell its own.
    static constexpr int kUnknownRefreshRate = 60;
    /// One refresh at `hertz`, or at kUnknownRefreshRate where `hertz` is not a rate (<= 1).
    static std::chrono::nanoseconds refreshInterval(double hertz);

    /// Whether a frame may go out at `now`.
    bool due(Clock::time_point now) const { return !m_nextFrame || now >= *m_nextFrame; }
    /// A frame went out at `now`, on a screen that refreshes every `interval` (> 0).
    void frameShown(Clock::time_point now, std::chrono::nanoseconds interval);

private:
    std::optional<Clock::time_point> m_nextFrame;
};

} // namespace fotonar
