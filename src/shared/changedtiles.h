#pragma once

#include "devicepixels.h"

#include <cstdint>
#include <vector>

namespace fotonar {

/// The parts of the picture changed since the last frame, as a grid of square tiles of device
/// pixels. Marking costs the same whatever shapes were drawn before, where a toolkit's region
/// grows slower with every slanted line added to it; the rectangles handed out keep to the tiles
/// a line crosses, and being of the screen's own pixels, a line on a projector's zoomed picture
/// takes no wider a band of it than on the design's.
///
/// A tile may also be known to hold one colour throughout, after a fill that covered it. A fill
/// leaves alone what already holds its colour, and a tile known to hold the colour it had when
/// last painted to the screen is left out of the region: each run erases the whole scene and
/// paints the lower medium again, yet only where the last run drew are pixels written and does
/// the screen change.
class ChangedTiles
{
public:
    /// Side of a tile in device pixels.
    static constexpr int kTile = 32;
    /// An opaque colour as the surface keeps its pixels (never kUnknown).
    using Rgb = std::uint32_t;
    /// What a tile holds when nobody knows: never an opaque colour.
    static constexpr Rgb kUnknown = 0;

    /// Covers a picture of `width` x `height` device pixels from (0, 0), unmarked. With `uniform`
    /// set, the whole picture is now that colour; otherwise what every tile holds is unknown.
    void resize(int width, int height, Rgb uniform = kUnknown);
    /// Marks every tile that `area` touches; what lies outside the picture is left out.
    void mark(const PixelRect &area);
    /// `area` was filled with `colour`: the tiles it covers whole now hold it, the others it
    /// touches are marked unknown, but those that held `colour` already, which did not change.
    void markFill(const PixelRect &area, Rgb colour);
    /// Marks a line from (x1, y1) to (x2, y2) drawn `margin` pixels either side of its middle:
    /// a long slanted line touches few of the tiles in its bounding box, so it is marked as a
    /// chain of small boxes along it.
    void markLine(int x1, int y1, int x2, int y2, int margin);
    /// The parts of `area` (inside the picture) that a fill of `colour` would change: all of it
    /// but the tiles known to hold `colour` already, as one rectangle per run of such tiles in a
    /// row of tiles.
    std::vector<PixelRect> unlike(const PixelRect &area, Rgb colour) const;
    bool isEmpty() const { return !m_any; }
    /// The marked tiles as one rectangle per run of tiles in a row, in device pixels inside the
    /// picture, without those that hold what the screen last got; clears the marks.
    std::vector<PixelRect> take();
    /// The screen has lost the picture and now shows `shows` throughout (kUnknown: anything):
    /// every tile that holds something else goes to it again.
    void screenLost(Rgb shows = kUnknown);
    /// The picture was painted to the screen in `area`.
    void painted(const PixelRect &area);

private:
    struct Span
    {
        int first = 0;
        int last = -1;
    };
    Span columns(int left, int right) const;
    Span rows(int top, int bottom) const;
    std::size_t at(int row, int column) const { return std::size_t(row) * m_columns + column; }
    /// The tile's pixels inside the picture.
    PixelRect tileRect(int row, int column) const;
    /// Each run of tiles in the rows and columns of `area` for which `take` holds, as the
    /// rectangle of those tiles within `area`.
    template<typename Take> std::vector<PixelRect> runs(const PixelRect &area, Take take) const;

    int m_width = 0;
    int m_height = 0;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::uint8_t> m_marked; ///< one byte a tile, row by row
    std::vector<Rgb> m_holds; ///< the colour a tile holds throughout, or kUnknown
    std::vector<Rgb> m_shown; ///< the colour it held when last painted whole, or kUnknown
    bool m_any = false;
};

} // namespace fotonar
