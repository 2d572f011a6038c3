#pragma once

#include "designfit.h"
#include "layout.h"

#include <optional>
#include <span>

namespace fotonar {

/// A control's font at a fit. Sizes in the front end's pixels, as DesignFit measures them.
struct ControlFont
{
    const ControlSpec *control;
    /// True: the captions' kCaptionFamily, bold; false: the default kDefaultFamily, regular.
    bool caption;
    int pixels; ///< its pixel size at the fit, at least 1
};

/// The lengths a front end draws its controls with at a fit, in its pixels, each at least 1.
struct ControlLengths
{
    int focusFrame; ///< around the focused scroll bar: kFocusFrame at the design's size
    int optionIndicator; ///< the option buttons' round indicator: kOptionIndicator at that size
    int optionSpacing; ///< between it and the caption: kOptionSpacing at that size
};

/// The window's design fitted to its client area and followed there, the same for every front end
/// that lays out widgets of its own: at each new client area or density the fit, then the fonts
/// and the lengths where the scale changed, the picture, every control (a label or image that a
/// run moved where the run put it) and the title fitted to its caption, in that order; nothing
/// where the fit stayed as it was. The front end applies each box, font and length to its widget.
class WindowFit
{
public:
    /// A front end's widgets, as the fit sets them. Boxes and lengths are in its own pixels.
    class Widgets
    {
    public:
        virtual ~Widgets() = default;
        /// The fonts at a new scale: each control that shows text, with its font.
        virtual void applyFonts(std::span<const ControlFont> fonts) = 0;
        /// The lengths at a new scale.
        virtual void applyLengths(const ControlLengths &lengths) = 0;
        /// The picture covers `area` (the design's whole area) and is drawn at `fit`'s scale.
        virtual void placePicture(const Box &area, const DesignFit &fit) = 0;
        /// `control` stands at `box`.
        virtual void placeControl(const ControlSpec &control, const Box &box) = 0;
        /// A run has just moved `control`, a label or image it reveals, to `box`; by default as
        /// placeControl does.
        virtual void placeMoved(const ControlSpec &control, const Box &box)
        {
            placeControl(control, box);
        }
        /// The title (labFotonar), placed, is fitted to its caption in its font at `fit`.
        virtual void fitTitle(const ControlSpec &title, const DesignFit &fit) = 0;
    };

    /// Where a control's box counts from: the client area's corner, or its frame's for a control
    /// in a frame (where the toolkit makes a frame the parent of its options).
    enum class Origin { ClientArea, Frame };

    WindowFit(Widgets &widgets, Origin origin);

    /// The client area is now `width` x `height` pixels (> 0), `density` (> 0) of them a pixel of
    /// the design at zoom 1: fits the design (at least DesignFit::kDesktopLeastZoom) and lays the
    /// widgets out again where that changed the fit, and always the first time. True where it
    /// laid them out.
    bool follow(double width, double height, double density);
    /// A run moved `control`'s top-left corner to (left, top), pixels of the design: it stands
    /// there at this fit and every later one.
    void moveControl(Control control, int left, int top);

    const DesignFit &fit() const { return m_fit; }

private:
    Box placed(const ControlSpec &control) const;

    Widgets &m_widgets;
    Origin m_origin;
    DesignFit m_fit;
    std::optional<double> m_fontScale; ///< the scale of the fonts; none before the first fit
};

} // namespace fotonar
