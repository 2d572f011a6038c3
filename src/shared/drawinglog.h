#pragma once

#include "devicepixels.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fotonar {

/// One drawing in logical pixels, as the surface was asked for it, its colours already pixels.
struct Drawn
{
    enum class Kind : std::uint8_t { Rows, Line, Circle } kind;
    int x1, y1, x2, y2; ///< Rows: x1 to x2 on rows y1 to y2; Circle: centre x1, y1, radius x2
    int pen; ///< width in logical pixels
    std::uint32_t colour;
    std::optional<std::uint32_t> fill; ///< a circle's, while the fill style is solid

    /// The logical pixels it may touch at any scale.
    PixelRect extent() const;
};

/// What the picture shows, as the drawings that made it, oldest first, so that a new scale can
/// draw it again exactly rather than resample it. Level lines each one row below the last (an
/// erase, the lower medium) are kept as one pile of rows, and a pile that covers everything
/// before it leaves nothing of that to keep: a run's erase starts the log afresh.
class DrawingLog
{
public:
    /// At most this many drawings are kept; beyond it the log gives up (isComplete() is false).
    static constexpr std::size_t kMostKept = 200'000;

    void keep(const Drawn &drawing);
    /// Whether the drawings hold everything the picture shows.
    bool isComplete() const { return m_complete; }
    std::span<const Drawn> drawings() const { return m_drawn; }

private:
    std::vector<Drawn> m_drawn;
    PixelRect m_keptBefore; ///< the extent of all but the last drawing kept
    bool m_complete = true;
};

} // namespace fotonar
