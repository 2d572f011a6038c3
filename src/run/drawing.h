#pragma once

#include "surface.h"

namespace fotonar {

/// A position in pixels of the client area, in double precision as the run computes it.
struct Point
{
    double x = 0;
    double y = 0;
};

/// The run's pen: hands double-precision positions to a Surface as single-precision pixels.
/// A value that is not finite or does not fit a single-precision number is an overflow and
/// throws RunError instead of reaching the screen.
class Drawing
{
public:
    explicit Drawing(Surface &surface)
        : m_surface(surface)
    { }

    void penWidth(int pixels) { m_surface.setPenWidth(pixels); }
    void fillColour(Colour colour) { m_surface.setFillColour(colour); }
    void fillSolid() { m_surface.setFillStyle(FillStyle::Solid); }

    void line(Point from, Point to, Colour colour);
    /// A line in the window's foreground colour.
    void line(Point from, Point to);
    void circle(Point centre, double radius, Colour outline);
    /// A circle outlined in the window's foreground colour.
    void circle(Point centre, double radius);

    /// Makes a label or image visible, then puts its top-left corner at `topLeft`.
    void reveal(Control control, Point topLeft);
    void present() { m_surface.present(); }
    void flush() { m_surface.flush(); }

private:
    void line(Point from, Point to, std::optional<Colour> colour);
    void circle(Point centre, double radius, std::optional<Colour> outline);

    Surface &m_surface;
};

/// `value` as a single-precision number; throws RunError when it is not finite or too large.
float toSingle(double value);

} // namespace fotonar
