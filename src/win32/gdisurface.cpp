#include "gdisurface.h"

#include "devicepixels.h"
#include "runerror.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace fotonar::win32 {

namespace {

constexpr int kHighestSystemColour = COLOR_MENUBAR;

RECT around(POINT a, POINT b, int margin)
{
    return {std::min(a.x, b.x) - margin, std::min(a.y, b.y) - margin,
        std::max(a.x, b.x) + margin + 1, std::max(a.y, b.y) + margin + 1};
}

Pen roundPen(COLORREF colour, int width)
{
    const LOGBRUSH brush {BS_SOLID, colour, 0};
    return Pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, DWORD(width),
        &brush, 0, nullptr));
}

} // namespace

COLORREF toColorRef(Colour colour)
{
    if (isSystemColour(colour)) {
        const int entry = int(colour & 0xFFu);
        if (entry > kHighestSystemColour)
            throw RunError("Neplatná systémová barva " + std::to_string(entry) + ".");
        return GetSysColor(entry);
    }
    return COLORREF(colour & 0xFFFFFFu);
}

GdiSurface::GdiSurface(HWND window)
    : m_window(window)
{ }

void GdiSurface::setScale(double scale)
{
    if (scale == m_scale && m_bitmap)
        return;
    const double old = m_scale;
    m_scale = scale;
    if (!m_bitmap)
        return;
    // Carry the picture over to the new scale, unsmoothed: a bitmap of the new size, then a
    // fresh fill and a stretched copy.
    MemoryDc oldDc = std::move(m_dc);
    Bitmap oldBitmap = std::move(m_bitmap);
    const HGDIOBJ oldOriginal = m_originalBitmap;
    const SIZE oldSize = m_size;
    m_size = {0, 0};
    ensurePicture();
    SetStretchBltMode(m_dc.get(), COLORONCOLOR);
    StretchBlt(m_dc.get(), 0, 0, int(std::lround(oldSize.cx * scale / old)),
        int(std::lround(oldSize.cy * scale / old)), oldDc.get(), 0, 0, oldSize.cx, oldSize.cy,
        SRCCOPY);
    SelectObject(oldDc.get(), oldOriginal);
}

void GdiSurface::paint(HDC dc, const RECT &area)
{
    ensurePicture();
    BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, m_dc.get(),
        area.left, area.top, SRCCOPY);
}

void GdiSurface::drawLine(float x1, float y1, float x2, float y2, std::optional<Colour> colour)
{
    ensurePicture();
    const POINT from = toDevice(x1, y1);
    const POINT to = toDevice(x2, y2);
    const COLORREF rgb = toColorRef(colour.value_or(m_foreground));
    const int width = penPixels();
    HDC dc = m_dc.get();
    if (from.x == to.x || from.y == to.y) {
        // Upright and level lines (the erase, the medium, the axes, the time bars) are plain
        // rectangles: the pen's square swept from one end to the other.
        const PixelRect pen = sweptByPen(from.x, from.y, to.x, to.y, width);
        const RECT swept {pen.left, pen.top, pen.right + 1, pen.bottom + 1};
        SetDCBrushColor(dc, rgb);
        FillRect(dc, &swept, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    } else if (width == 1) {
        SetDCPenColor(dc, rgb);
        const Selection pen(dc, GetStockObject(DC_PEN));
        MoveToEx(dc, from.x, from.y, nullptr);
        LineTo(dc, to.x, to.y);
        SetPixelV(dc, to.x, to.y, rgb); // GDI leaves out a line's last pixel
    } else {
        const Pen wide = roundPen(rgb, width);
        const Selection pen(dc, wide.get());
        MoveToEx(dc, from.x, from.y, nullptr);
        LineTo(dc, to.x, to.y);
    }
    markChanged(around(from, to, width));
}

void GdiSurface::drawCircle(float x, float y, float r, std::optional<Colour> colour)
{
    ensurePicture();
    const POINT centre = toDevice(x, y);
    const int radius = fotonar::toDevice(std::abs(toPixel(r)), m_scale);
    const int width = penPixels();
    HDC dc = m_dc.get();
    const Pen outline = roundPen(toColorRef(colour.value_or(m_foreground)), width);
    const Selection pen(dc, outline.get());
    SetDCBrushColor(dc, toColorRef(m_fillColour));
    const Selection brush(
        dc, GetStockObject(m_fillStyle == FillStyle::Solid ? DC_BRUSH : NULL_BRUSH));
    Ellipse(dc, centre.x - radius, centre.y - radius, centre.x + radius + 1, centre.y + radius + 1);
    markChanged(around(centre, centre, radius + width));
}

void GdiSurface::showControl(Control which)
{
    ShowWindow(control(which), SW_SHOWNA);
}

void GdiSurface::moveControl(Control which, float left, float top)
{
    const POINT at = toDevice(left, top);
    SetWindowPos(
        control(which), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void GdiSurface::present()
{
    // A second frame within one refresh would never be seen. Held back, the drawing goes out
    // with the next present, one path's pause later.
    if (!m_pacer.due(FramePacer::Clock::now()))
        return;
    flush();
}

void GdiSurface::flush()
{
    // A frame's time is when it is handed over, not when painting it is done. Nothing drawn
    // since the last frame is no frame.
    const auto handedOver = FramePacer::Clock::now();
    GdiFlush();
    if (!IsRectEmpty(&m_changed)) {
        // The monitor's rate is read once a frame: the window may have moved to another monitor.
        m_pacer.frameShown(handedOver, screenFrameInterval());
        InvalidateRect(m_window, &m_changed, FALSE);
        m_changed = {0, 0, 0, 0};
        ++m_framesFlushed;
    }
    RedrawWindow(m_window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    // The run keeps the thread busy: let Windows paint and deliver what it sends, so that the
    // window never counts as not responding, but leave clicks and keys queued until the run
    // has returned.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT | PM_QS_POSTMESSAGE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void GdiSurface::ensurePicture()
{
    RECT client {};
    GetClientRect(m_window, &client);
    const SIZE needed {std::max<LONG>(client.right, LONG(std::ceil(kSceneExtentWidth * m_scale))),
        std::max<LONG>(client.bottom, LONG(std::ceil(kSceneExtentHeight * m_scale)))};
    if (m_bitmap && m_size.cx >= needed.cx && m_size.cy >= needed.cy)
        return;
    // The picture only ever grows, so drawing outside a shrunken window is still there when the
    // window grows again.
    const SIZE size {std::max(needed.cx, m_size.cx), std::max(needed.cy, m_size.cy)};
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = -size.cy; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    const WindowDc screen(m_window);
    Bitmap bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc dc(CreateCompatibleDC(screen));
    if (!bitmap || !dc)
        throw RunError("Nelze vytvořit obraz okna.");
    const HGDIOBJ original = SelectObject(dc.get(), bitmap.get());
    const RECT all {0, 0, size.cx, size.cy};
    SetDCBrushColor(dc.get(), toColorRef(kBackgroundGrey));
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    if (m_dc) {
        BitBlt(dc.get(), 0, 0, m_size.cx, m_size.cy, m_dc.get(), 0, 0, SRCCOPY);
        SelectObject(m_dc.get(), m_originalBitmap);
    }
    m_dc = std::move(dc);
    m_bitmap = std::move(bitmap);
    m_originalBitmap = original;
    m_size = size;
}

POINT GdiSurface::toDevice(float x, float y) const
{
    return {fotonar::toDevice(toPixel(x), m_scale), fotonar::toDevice(toPixel(y), m_scale)};
}

int GdiSurface::penPixels() const
{
    return devicePenWidth(m_penWidth, m_scale);
}

HWND GdiSurface::control(Control which) const
{
    const auto found = m_controls.find(which);
    if (found == m_controls.end())
        throw RunError("Okno nemá ovládací prvek, který má běh ukázat.");
    return found->second;
}

void GdiSurface::markChanged(RECT device)
{
    UnionRect(&m_changed, &m_changed, &device);
}

std::chrono::nanoseconds GdiSurface::screenFrameInterval() const
{
    const WindowDc dc(m_window);
    const int rate = GetDeviceCaps(dc, VREFRESH);
    return FramePacer::refreshInterval(rate);
}

} // namespace fotonar::win32
