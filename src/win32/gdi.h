#pragma once

#include "colour.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace fotonar::win32 {

/// Owners of GDI handles: each object is deleted when its owner goes.
struct GdiObjectDeleter
{
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
template<typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;

struct MemoryDcDeleter
{
    void operator()(HDC dc) const { DeleteDC(dc); }
};
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, MemoryDcDeleter>;

/// Keeps `object` selected into `dc` for a scope, then puts back what was there.
class Selection
{
public:
    Selection(HDC dc, HGDIOBJ object)
        : m_dc(dc)
        , m_previous(SelectObject(dc, object))
    { }
    ~Selection() { SelectObject(m_dc, m_previous); }
    Selection(const Selection &) = delete;
    Selection &operator=(const Selection &) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

/// A window's device context for a scope.
class WindowDc
{
public:
    explicit WindowDc(HWND window)
        : m_window(window)
        , m_dc(GetDC(window))
    { }
    ~WindowDc() { ReleaseDC(m_window, m_dc); }
    WindowDc(const WindowDc &) = delete;
    WindowDc &operator=(const WindowDc &) = delete;
    operator HDC() const { return m_dc; }

private:
    HWND m_window;
    HDC m_dc;
};

/// BeginPaint and EndPaint around a scope: what WM_PAINT paints `window`'s invalid area with.
class PaintDc
{
public:
    explicit PaintDc(HWND window);
    ~PaintDc() { EndPaint(m_window, &m_paint); }
    PaintDc(const PaintDc &) = delete;
    PaintDc &operator=(const PaintDc &) = delete;
    operator HDC() const { return m_dc; }
    /// What is to be painted, in client coordinates: the bounding box of the rectangles.
    const RECT &area() const { return m_paint.rcPaint; }
    /// What is to be painted, rectangle by rectangle.
    const std::vector<RECT> &rectangles() const { return m_rectangles; }

private:
    HWND m_window;
    std::vector<RECT> m_rectangles; ///< read before BeginPaint takes the region
    PAINTSTRUCT m_paint {};
    HDC m_dc;
};

/// A plain colour (0x00BBGGRR, the layout of a COLORREF) as GDI takes it.
inline COLORREF toColorRef(Colour colour)
{
    return COLORREF(colour & 0xFFFFFFu);
}

/// Entry `entry` (COLOR_WINDOWTEXT, ...) of the classic system colour table, which the window's
/// captions keep on its fixed grey and light green whatever the desktop's scheme.
COLORREF classicColour(int entry);

/// Registers window class `name` of `instance`: `procedure`, the arrow cursor, `style` and
/// `icon`. Returns `name`.
const wchar_t *registerWindowClass(HINSTANCE instance, const wchar_t *name, WNDPROC procedure,
    UINT style = 0, HICON icon = nullptr);

/// UTF-8 to the UTF-16 that Windows takes, and back.
std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);

} // namespace fotonar::win32
