#pragma once

#include "layout.h"
#include "surface.h"

#include <map>

namespace fotonar {

/// The window's design, kPreferredWidth x kPreferredHeight pixels at 96 dpi with every control
/// and the picture, fitted to a client area of any size: zoomed so that the whole of it shows,
/// centred, the margins in the window's grey. A projector or whiteboard gets the design as large
/// as it goes; the window at its preferred size gets it exactly as designed.
///
/// Sizes are in the front end's own pixels: `density` of them are one pixel of the design at
/// zoom 1 (1 for Qt's logical pixels, dpi / 96 for Windows' device pixels, devicePixelRatio for
/// a browser's device pixels). The offsets come out in whole pixels of the same kind.
class DesignFit
{
public:
    /// Zooms are multiples of this: a tiny resize keeps the zoom, and every zoom is an exact
    /// binary fraction, so that the design's pixels land where the picture's do.
    static constexpr double kZoomStep = 1.0 / 64;
    /// The desktop never shows the design smaller than designed; a browser on a phone does.
    static constexpr double kDesktopLeastZoom = 1;
    static constexpr double kBrowserLeastZoom = kZoomStep;

    /// Fits the design to a client area of `width` x `height` pixels (> 0), `density` (> 0) of
    /// them a pixel of the design at zoom 1; the zoom is at least `leastZoom`. Where even that
    /// does not fit, the design stands at the top-left corner. True where zoom or place changed.
    bool fitTo(double width, double height, double density, double leastZoom);

    /// How much larger than designed the window is shown: exactly 1 at the preferred size.
    double zoom() const { return m_zoom; }
    /// Pixels per pixel of the design: density x zoom.
    double scale() const { return m_density * m_zoom; }
    /// Where the design's top-left corner stands in the client area, whole pixels from its own.
    int left() const { return m_left; }
    int top() const { return m_top; }

    /// The most pixels a screen that composites the picture on the processor (a browser
    /// without a graphics processor) is given of it at each frame: about a 1920 x 1080 screen's.
    static constexpr double kMostPicturePixels = 2'200'000;
    /// Where the picture at scale() would have more than kMostPicturePixels pixels (a 4K
    /// whiteboard), it can be drawn at scale() / pictureDivisor() and shown by whole blocks of
    /// pixels, still aliased and in the palette's colours: the least whole divisor that keeps it
    /// within them, 1 where it fits, and never one that would draw the design at less than a
    /// pixel a pixel of the design.
    int pictureDivisor() const;

    /// A box of the design (its pixels from the design's top-left corner) in the client area.
    /// Edges are rounded one by one, so that boxes that meet in the design meet when fitted.
    Box place(const Box &design) const;
    /// The whole design: the area the picture shows and the controls stand on.
    Box designArea() const { return place({0, 0, kPreferredWidth, kPreferredHeight}); }
    /// Where `entry` stands in the client area; a label or image that a run has moved, where
    /// the run put it.
    Box place(const ControlSpec &entry) const;
    /// The same, counted from its frame's corner for a control inside a frame.
    Box placeInContainer(const ControlSpec &entry) const;
    /// A length of the design (a font's pixel size, a pen, an indicator) in whole pixels at this
    /// fit, at least 1.
    int length(int designPixels) const;

    /// A run put `control`'s top-left corner at (left, top), pixels of the design; it stays
    /// there at every later fit until a run moves it again.
    void moveControl(Control control, int left, int top);

private:
    Box designBox(const ControlSpec &entry) const;

    double m_zoom = 1;
    double m_density = 1;
    int m_left = 0;
    int m_top = 0;
    std::map<Control, std::pair<int, int>> m_moved;
};

} // namespace fotonar
