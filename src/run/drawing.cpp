#include "drawing.h"

#include "runerror.h"

#include <cmath>
#include <limits>
#include <string>

namespace fotonar {

float toSingle(double value)
{
    // Converting an out-of-range double to float is undefined behaviour, and a NaN or infinite
    // coordinate would draw garbage: both are the overflow the run reports instead.
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        throw RunError("Přetečení: výpočet dal hodnotu " + std::to_string(value)
            + ", kterou nelze nakreslit.");
    return static_cast<float>(value);
}

void Drawing::line(Point from, Point to, Colour colour)
{
    line(from, to, std::optional<Colour>(colour));
}

void Drawing::line(Point from, Point to)
{
    line(from, to, std::nullopt);
}

void Drawing::circle(Point centre, double radius, Colour outline)
{
    circle(centre, radius, std::optional<Colour>(outline));
}

void Drawing::circle(Point centre, double radius)
{
    circle(centre, radius, std::nullopt);
}

void Drawing::line(Point from, Point to, std::optional<Colour> colour)
{
    // Convert all four before drawing, so that a failing value leaves nothing half drawn.
    const float x1 = toSingle(from.x), y1 = toSingle(from.y);
    const float x2 = toSingle(to.x), y2 = toSingle(to.y);
    m_surface.drawLine(x1, y1, x2, y2, colour);
}

void Drawing::circle(Point centre, double radius, std::optional<Colour> outline)
{
    const float x = toSingle(centre.x), y = toSingle(centre.y), r = toSingle(radius);
    m_surface.drawCircle(x, y, r, outline);
}

void Drawing::reveal(Control control, Point topLeft)
{
    const float left = toSingle(topLeft.x), top = toSingle(topLeft.y);
    m_surface.showControl(control);
    m_surface.moveControl(control, left, top);
}

} // namespace fotonar
