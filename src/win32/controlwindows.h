#pragma once

#include "gdi.h"
#include "labelview.h"
#include "layout.h"
#include "optionview.h"
#include "windowfit.h"

#include <array>
#include <map>
#include <span>
#include <string_view>
#include <utility>

namespace fotonar::win32 {

/// The layout's controls as native child windows of the main window, made from the table and
/// stacked in its order: frames, option buttons (painted with the classic indicator where the
/// window is zoomed), the scroll bar (framed while it has the focus), buttons, and labels and
/// images that paint themselves. They take their fonts, lengths and places from the window's
/// fit; each control is found by its ControlId or its window.
class ControlWindows
{
public:
    /// Creates every control over what `parent` already holds; `background` is the window's grey
    /// that the option buttons stand on, and stays the caller's.
    ControlWindows(HWND parent, HINSTANCE instance, HBRUSH background);
    ControlWindows(const ControlWindows &) = delete;
    ControlWindows &operator=(const ControlWindows &) = delete;

    HWND handle(ControlId id) const { return m_windows[std::size_t(id)]; }
    /// The control whose window is `window`; nullptr for any other window.
    const ControlSpec *at(HWND window) const;
    /// Shows option button `option` as chosen, the others of its frame as not.
    void select(const ControlSpec &option);

    /// The fonts at a new scale, each made once for all the controls of its size.
    void applyFonts(std::span<const ControlFont> fonts);
    /// The focus frame's and the options' lengths at a new scale; at `zoom` 1 the system paints
    /// the option buttons, in the desktop's own style.
    void applyLengths(const ControlLengths &lengths, double zoom);
    /// Puts `control` at `box`, client coordinates of the parent, device pixels.
    void place(const ControlSpec &control, const Box &box);
    /// Moves `control` to `box`'s corner; its size stays as the last fit made it.
    void move(const ControlSpec &control, const Box &box);
    /// Widens the title up to the room it has, and closes up its letters where even that is too
    /// narrow, in its font at `fit`.
    void fitTitle(const ControlSpec &title, const DesignFit &fit);

private:
    HWND create(const ControlSpec &entry, HWND parent, HINSTANCE instance, int id);
    void setUpScrollBar(HWND scrollBar, const ControlSpec &entry);
    void setUpLabel(HWND label, const ControlSpec &entry);

    std::array<HWND, kControlCount> m_windows {}; ///< by ControlId
    std::map<std::pair<bool, int>, Font> m_fonts; ///< by ControlFont's caption and pixels
    std::map<ControlId, LabelLook> m_looks; ///< of the labels and images
    std::map<std::string_view, Bitmap> m_bitmaps; ///< the images', by bitmap name
    int m_focusWidth = kFocusFrame; ///< the scroll bar's focus frame, device pixels
    OptionLook m_optionLook;
};

} // namespace fotonar::win32
