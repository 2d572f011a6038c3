#pragma once

#include "gdi.h"

namespace fotonar::win32 {

/// How a label or image paints itself: opaque, its caption left-aligned from the top-left in
/// the classic text colour (greyed while disabled), or its bitmap scaled by whole device
/// pixels, never smoothed. The window text is what a screen reader reads.
struct LabelLook
{
    HFONT font = nullptr;
    COLORREF background = 0;
    HBITMAP bitmap = nullptr; ///< an image's bitmap; null for a label
    int characterExtra = 0; ///< pixels between letters, negative to close them up
};

/// The window class of the labels and images; LabelLook comes through GWLP_USERDATA.
const wchar_t *labelClass(HINSTANCE instance);

} // namespace fotonar::win32
