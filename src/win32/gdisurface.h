#pragma once

#include "framepacer.h"
#include "gdi.h"
#include "surface.h"

#include <chrono>
#include <map>

namespace fotonar::win32 {

/// The run's Surface over GDI. Everything is drawn into a bitmap kept at the window's scale
/// (dots per inch / 96), so the picture survives covering, minimising and moving between
/// monitors; WM_PAINT copies the changed part of it to the window. Every coordinate is rounded
/// to a whole logical pixel first, then scaled, as on every platform.
/// present() puts the changes on the screen at most once per refresh of the screen, flush() at
/// once; both let the window paint but leave input queued for after the run.
class GdiSurface : public Surface
{
public:
    explicit GdiSurface(HWND window);

    /// Device pixels per logical pixel (1 at 96 dpi, 2 at 192); the picture is carried over.
    void setScale(double scale);
    double scale() const { return m_scale; }
    void setForeground(Colour colour) { m_foreground = colour; }
    /// Lets the run show and move `control` (a child window of the window).
    void addControl(Control control, HWND child) { m_controls[control] = child; }
    /// Copies the picture's part under `area` (client pixels) to `dc`.
    void paint(HDC dc, const RECT &area);
    int framesFlushed() const { return m_framesFlushed; }

    void setPenWidth(int pixels) override { m_penWidth = pixels; }
    void setFillStyle(FillStyle style) override { m_fillStyle = style; }
    void setFillColour(Colour colour) override { m_fillColour = colour; }
    void drawLine(float x1, float y1, float x2, float y2, std::optional<Colour> colour) override;
    void drawCircle(float x, float y, float r, std::optional<Colour> colour) override;
    void showControl(Control control) override;
    void moveControl(Control control, float left, float top) override;
    void present() override;
    void flush() override;

private:
    void ensurePicture();
    POINT toDevice(float x, float y) const;
    int penPixels() const;
    HWND control(Control control) const;
    void markChanged(RECT device);
    std::chrono::nanoseconds screenFrameInterval() const;

    HWND m_window;
    MemoryDc m_dc;
    Bitmap m_bitmap;
    HGDIOBJ m_originalBitmap = nullptr;
    SIZE m_size {0, 0}; ///< of the bitmap, in device pixels
    double m_scale = 1;
    int m_penWidth = 1;
    FillStyle m_fillStyle = FillStyle::Transparent;
    Colour m_fillColour = 0;
    Colour m_foreground = 0;
    RECT m_changed {0, 0, 0, 0}; ///< device pixels since the last frame; empty when none
    std::map<Control, HWND> m_controls;
    FramePacer m_pacer;
    int m_framesFlushed = 0;
};

/// A colour as GDI takes it; a system colour comes from the desktop's own table.
COLORREF toColorRef(Colour colour);

} // namespace fotonar::win32
