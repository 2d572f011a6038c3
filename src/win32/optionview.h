#pragma once

#include <windows.h>

namespace fotonar::win32 {

/// How the option buttons paint themselves where the window is zoomed: the classic round
/// indicator at the window's zoom, which the system's own is not (it follows the monitor's
/// density alone), then the caption in the button's font and the classic text colour, on the
/// window's grey. At zoom 1 the system paints them, in the desktop's own style.
struct OptionLook
{
    int indicator = 0; ///< the indicator's diameter, device pixels; 0: the system's own
    int spacing = 3; ///< between the indicator and the caption
    HBRUSH background = nullptr;
};

/// Makes radio button `option` paint itself as `look` says; it stays the system's radio button
/// in everything else (its state, its keys, what screen readers read).
void paintAsOption(HWND option, const OptionLook &look);

} // namespace fotonar::win32
