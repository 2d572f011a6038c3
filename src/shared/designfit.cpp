#include "designfit.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace fotonar {

namespace {

int rounded(double pixels)
{
    return int(std::lround(pixels));
}

} // namespace

bool DesignFit::fitTo(double width, double height, double density, double leastZoom)
{
    // Half a pixel of allowance: a client area of the preferred size, rounded to whole pixels at
    // a density such as 1.25, is zoom 1 and not a hair less.
    const double fits = std::min(
        (width + 0.5) / (kPreferredWidth * density), (height + 0.5) / (kPreferredHeight * density));
    const double fittedZoom
        = std::max({std::floor(fits / kZoomStep) * kZoomStep, leastZoom, kZoomStep});
    const double fittedScale = density * fittedZoom;
    const int fittedLeft
        = std::max(0, int(std::floor((width - rounded(kPreferredWidth * fittedScale)) / 2)));
    const int fittedTop
        = std::max(0, int(std::floor((height - rounded(kPreferredHeight * fittedScale)) / 2)));
    const bool changed = fittedZoom != m_zoom || density != m_density || fittedLeft != m_left
        || fittedTop != m_top;
    m_zoom = fittedZoom;
    m_density = density;
    m_left = fittedLeft;
    m_top = fittedTop;
    return changed;
}

int DesignFit::pictureDivisor() const
{
    const double pixels = kPreferredWidth * kPreferredHeight * scale() * scale();
    const int most = std::max(1, int(std::floor(scale())));
    return std::min(most, int(std::ceil(std::sqrt(pixels / kMostPicturePixels))));
}

Box DesignFit::place(const Box &design) const
{
    const double s = scale();
    const int x = rounded(design.left * s);
    const int y = rounded(design.top * s);
    return {m_left + x, m_top + y, rounded(design.right() * s) - x,
        rounded((design.top + design.height) * s) - y};
}

Box DesignFit::designBox(const ControlSpec &entry) const
{
    Box box = entry.box;
    if (entry.revealedAs)
        if (const auto moved = m_moved.find(*entry.revealedAs); moved != m_moved.end())
            std::tie(box.left, box.top) = moved->second;
    if (entry.container) {
        const Box &frame = controlSpec(*entry.container).box;
        box.left += frame.left;
        box.top += frame.top;
    }
    return box;
}

Box DesignFit::place(const ControlSpec &entry) const
{
    return place(designBox(entry));
}

Box DesignFit::placeInContainer(const ControlSpec &entry) const
{
    Box placed = place(entry);
    if (entry.container) {
        // Its edges where the window's rule puts them, counted from its frame's.
        const Box frame = place(controlSpec(*entry.container));
        placed.left -= frame.left;
        placed.top -= frame.top;
    }
    return placed;
}

int DesignFit::length(int designPixels) const
{
    return std::max(1, rounded(designPixels * scale()));
}

void DesignFit::moveControl(Control control, int left, int top)
{
    m_moved[control] = {left, top};
}

} // namespace fotonar
