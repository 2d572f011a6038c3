#pragma once

#include <optional>

namespace fotonar {

/// How every surface turns the run's coordinates into pixels: a coordinate is first rounded to
/// a whole logical pixel (of the 96-dpi design), then scaled to the screen's device pixels, so
/// that the picture has the same shape at every scale and on every toolkit.

/// A rectangle of whole pixels, both corners included.
struct PixelRect
{
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;

    bool isEmpty() const { return right < left || bottom < top; }
    bool contains(const PixelRect &other) const
    {
        return other.left >= left && other.right <= right && other.top >= top
            && other.bottom <= bottom;
    }
    bool operator==(const PixelRect &) const = default;
};

/// A single-precision coordinate as a whole logical pixel, rounded to the nearest and kept
/// within kCoordinateLimit, so that whole-pixel arithmetic cannot overflow however far off the
/// window a run with a wild distance draws.
int toPixel(float coordinate);
inline constexpr double kCoordinateLimit = 1'000'000;

/// A whole logical pixel in device pixels at `scale` (device pixels per logical pixel, > 0).
int toDevice(int logical, double scale);

/// A pen of `logicalWidth` pixels in device pixels at `scale`: rounded up and at least 1, so
/// that rows drawn one logical pixel apart still meet at 125 % (the erase relies on that).
int devicePenWidth(int logicalWidth, double scale);

/// The rectangle swept by a square pen of `width` device pixels along the upright or level line
/// from (x1, y1) to (x2, y2), device pixels: what a surface fills for such a line.
PixelRect sweptByPen(int x1, int y1, int x2, int y2, int width);

/// A pile of fills of one colour, each touching or overlapping the last and as wide as it: the
/// erase and the lower medium are hundreds of rows, each one pixel below the last, and a pile of
/// them is one rectangle, filled and booked in one go.
class FillPile
{
public:
    struct Fill
    {
        PixelRect area;
        unsigned colour;
    };

    /// Adds the fill to the pile where it continues it; false where it does not (the pile is then
    /// to be filled, and a new one started).
    bool extend(const PixelRect &area, unsigned colour);
    void start(const PixelRect &area, unsigned colour) { m_pile = Fill {area, colour}; }
    /// The pile so far, emptied; nothing when it is empty.
    std::optional<Fill> take();

private:
    std::optional<Fill> m_pile;
};

} // namespace fotonar
