#pragma once

#include "colour.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

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

/// A plain colour (0x00BBGGRR, the layout of a COLORREF) as GDI takes it.
inline COLORREF toColorRef(Colour colour)
{
    return COLORREF(colour & 0xFFFFFFu);
}

/// UTF-8 to the UTF-16 that Windows takes, and back.
std::wstring widen(std::string_view text);
std::string narrow(std::wstring_view text);

} // namespace fotonar::win32
