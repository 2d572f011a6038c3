#pragma once

#include "devicepixels.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace fotonar {

/// The picture's pixels and the drawing of them: fills, lines with a round pen and circles, in
/// device pixels, aliased, one colour a shape. It knows nothing of logical pixels, scales or the
/// screen; what lies outside the picture is left out, however far off a shape reaches.
/// Pixels are 32-bit words in the caller's byte order, rows top first, width() words a row.
class Raster
{
public:
    /// A new picture of `width` x `height` pixels (>= 0), every pixel `background`.
    void reset(int width, int height, std::uint32_t background);
    /// Takes `pixels` (width x height words) as the picture.
    void adopt(std::vector<std::uint32_t> &&pixels, int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }
    bool isEmpty() const { return m_pixels.empty(); }
    const std::uint32_t *pixels() const { return m_pixels.data(); }
    /// The pixel at (x, y), inside the picture.
    std::uint32_t at(int x, int y) const { return m_pixels[std::size_t(y) * m_width + x]; }

    /// Every pixel of `area` that lies in the picture.
    void fill(const PixelRect &area, std::uint32_t pixel);
    /// The part of a line that is drawn: its ends.
    struct Segment
    {
        int ax, ay, bx, by;
    };
    /// A line from (ax, ay) to (bx, by), both ends included, with a round pen `width` pixels
    /// wide (>= 1) stamped at each of its points. Returns the part of it walked, where the pen
    /// can touch the picture; nothing where it cannot.
    std::optional<Segment> line(int ax, int ay, int bx, int by, int width, std::uint32_t pixel);
    /// A circle around (cx, cy): where a pixel's distance from the centre is within half of
    /// `pen` of `radius`, the outline; nearer the centre, `inside` where given.
    void circle(std::int64_t cx, std::int64_t cy, std::int64_t radius, std::int64_t pen,
        std::uint32_t outline, std::optional<std::uint32_t> inside);

private:
    /// A round pen of a width in pixels, as a span of pixels on each of its rows.
    struct PenShape
    {
        struct Span
        {
            int dy, from, to;
        };
        int width = 0;
        std::vector<Span> rows;
    };
    const PenShape &penShape(int width);
    void fillRow(int y, int left, int right, std::uint32_t pixel);
    void plot(int x, int y, std::uint32_t pixel);
    void bresenham(int ax, int ay, int bx, int by, int width, std::uint32_t pixel);
    /// Bresenham's walk from (ax, ay) to (bx, by), both ends included.
    template<typename Visit> void walk(int ax, int ay, int bx, int by, Visit visit);

    /// The first and last column of a row that something covers; none where first > last.
    struct Span
    {
        int first = std::numeric_limits<int>::max();
        int last = std::numeric_limits<int>::min();
    };

    std::vector<std::uint32_t> m_pixels;
    int m_width = 0;
    int m_height = 0;
    PenShape m_pen; ///< the last lines' pen
    std::vector<Span> m_steps; ///< a wide line's own pixels, kept for the next line
};

} // namespace fotonar
