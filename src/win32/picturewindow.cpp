#include "picturewindow.h"

#include "accessiblename.h"

#include <commctrl.h>

#include <stdexcept>

namespace fotonar::win32 {

PictureWindow::PictureWindow(
    HWND parent, HINSTANCE instance, PixelSurface &surface, const Brush &grey)
    : m_surface(surface)
    , m_grey(grey)
{
    const wchar_t *pictureClass
        = registerWindowClass(instance, L"FotonarPicture", pictureProcedure);
    // Under every control: created first, it stays at the bottom of the window's children. A
    // control over it is cut out of its painting; a frame, transparent, is painted after it.
    m_picture = CreateWindowExW(0, pictureClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
        0, 0, 0, 0, parent, nullptr, instance, nullptr);
    if (!m_picture)
        throw std::runtime_error("cannot create the picture");
    SetWindowLongPtrW(m_picture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_announcer = CreateWindowExW(0, WC_STATICW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
        nullptr, instance, nullptr);
    annotateLiveRegion(m_announcer);
}

LRESULT CALLBACK PictureWindow::pictureProcedure(HWND picture, UINT message, WPARAM w, LPARAM l)
{
    auto *self = reinterpret_cast<PictureWindow *>(GetWindowLongPtrW(picture, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT:
        if (self) {
            // Rectangle by rectangle of what changed: the bounding box of a path's tiles is most
            // of the picture's fan of legs, four times their pixels on a 4K screen.
            const PaintDc dc(picture);
            for (const RECT &area : dc.rectangles())
                self->paintPicture(dc, area);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_NCHITTEST:
        return HTTRANSPARENT; // a click on the picture is the window's
    }
    return DefWindowProcW(picture, message, w, l);
}

void PictureWindow::paintPicture(HDC dc, const RECT &area)
{
    // Straight from the picture's memory, which is laid out as a top-down 32-bit DIB: described
    // from the area's first row on, so that its rows count from the top whatever GDI's origin.
    // Before the first drawing the picture is grey.
    const std::uint32_t *pixels = m_surface.pixels();
    const RECT picture {0, 0, m_surface.deviceWidth(), m_surface.deviceHeight()};
    RECT shown {};
    if (!pixels || !IntersectRect(&shown, &area, &picture)) {
        FillRect(dc, &area, m_grey.get());
        return;
    }
    BITMAPINFO info {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.right, -(shown.bottom - shown.top), 1, 32,
        BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, shown.left, shown.top, DWORD(shown.right - shown.left),
        DWORD(shown.bottom - shown.top), shown.left, 0, 0, UINT(shown.bottom - shown.top),
        pixels + std::size_t(shown.top) * std::size_t(picture.right), &info, DIB_RGB_COLORS);
}

void PictureWindow::place(const Box &area)
{
    SetWindowPos(
        m_picture, HWND_BOTTOM, area.left, area.top, area.width, area.height, SWP_NOACTIVATE);
}

void PictureWindow::describe(const PictureDescription &picture)
{
    // Its window text is its name, as a screen reader reads a window's.
    SetWindowTextW(m_picture, widen(picture.name).c_str());
    describeImage(m_picture, widen(picture.description).c_str());
}

void PictureWindow::announce(const std::string &message)
{
    win32::announce(m_announcer, widen(message).c_str());
}

} // namespace fotonar::win32
