#pragma once

#include "gdi.h"
#include "layout.h"
#include "picturedescription.h"
#include "pixelsurface.h"

#include <string>

namespace fotonar::win32 {

/// The picture's child window: the design's area under every control, showing the shared
/// PixelSurface, whose memory is laid out as a top-down 32-bit DIB and copied to the screen in
/// WM_PAINT. To screen readers it is an image, named and described in words; beside it a live
/// region says a run's announcements. Clicks on it are the window's.
class PictureWindow
{
public:
    /// Creates it, with the live region, as the first children of `parent`: under every control.
    /// `grey` paints it before the first drawing; both stay the caller's and outlive it.
    PictureWindow(HWND parent, HINSTANCE instance, PixelSurface &surface, const Brush &grey);
    PictureWindow(const PictureWindow &) = delete;
    PictureWindow &operator=(const PictureWindow &) = delete;

    HWND handle() const { return m_picture; }
    /// Puts it over `area` of the parent's client area, device pixels, under every control.
    void place(const Box &area);
    /// Hands `picture` to screen readers as its name and description.
    void describe(const PictureDescription &picture);
    /// Says `message` (UTF-8) politely, without moving the keyboard focus.
    void announce(const std::string &message);

private:
    static LRESULT CALLBACK pictureProcedure(HWND picture, UINT message, WPARAM w, LPARAM l);
    void paintPicture(HDC dc, const RECT &area);

    PixelSurface &m_surface;
    const Brush &m_grey;
    HWND m_picture = nullptr;
    HWND m_announcer = nullptr; ///< a label of no size, which shows nothing
};

} // namespace fotonar::win32
