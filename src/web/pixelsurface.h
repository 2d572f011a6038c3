#pragma once

#include "changedtiles.h"
#include "devicepixels.h"
#include "framepacer.h"
#include "surface.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

namespace fotonar {

/// The run's Surface over a picture of pixels in memory that the program draws itself: aliased
/// lines and circles, every coordinate rounded to a whole logical pixel of the 96-dpi design and
/// then scaled, the same shapes as on the desktop. For a front end whose own drawing smooths
/// every line (the browser's canvas). Plain C++: the toolkit's side comes in as callbacks.
///
/// Pixels are 32-bit, red in the lowest byte and alpha (opaque) in the highest: in memory the
/// R, G, B, A bytes of a canvas's ImageData. System colours are the classic desktop's.
class PixelSurface : public Surface
{
public:
    struct Callbacks
    {
        /// Puts these device rectangles of pixels() on the screen.
        std::function<void(const std::vector<PixelRect> &)> show;
        /// After a frame, or a flush that had nothing new: lets the toolkit paint and deliver
        /// what is not input, while the run keeps going.
        std::function<void()> yield;
        /// Makes a label or image visible; puts its top-left corner at logical (left, top).
        std::function<void(Control)> showControl;
        std::function<void(Control, int, int)> moveControl;
        /// One refresh of the screen.
        std::function<std::chrono::nanoseconds()> frameInterval;
    };

    explicit PixelSurface(Callbacks callbacks);

    /// A picture of `width` x `height` logical pixels (at least the scene's extent is kept), at
    /// `scale` device pixels a logical pixel (> 0); what was drawn is carried over unsmoothed. A
    /// new size is a new screen, which shows the window's grey until the next flush.
    void resize(int width, int height, double scale);
    int deviceWidth() const { return m_width; }
    int deviceHeight() const { return m_height; }
    double scale() const { return m_scale; }
    /// The picture as flush() last put it on the screen, row by row.
    const std::uint32_t *pixels() const { return m_pixels.data(); }
    /// The pixel at device (x, y), 0x00BBGGRR, with everything drawn so far; 0 outside.
    std::uint32_t pixelAt(int x, int y);
    /// The colour of lines and circles drawn without a colour of their own.
    void setForeground(Colour colour) { m_foreground = colour; }
    /// How many frames have been put on the screen.
    int framesShown() const { return m_framesShown; }
    /// Everything goes on the screen again at the next flush, after the screen lost it; where
    /// the screen now shows `shows` (0x00BBGGRR) throughout, what holds that colour need not.
    void invalidate(std::optional<Colour> shows = std::nullopt);
    /// Puts what changed since the last frame on the screen now, as flush() does, but without
    /// yielding: for the toolkit's own calls, outside a run.
    void showChanges();

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
    std::uint32_t resolve(std::optional<Colour> colour) const;
    void fillLater(const PixelRect &device, std::uint32_t pixel);
    void fillPending();
    void fill(const PixelRect &device, std::uint32_t pixel);
    void plot(int x, int y, std::uint32_t pixel);
    void stampPen(int x, int y, int width, std::uint32_t pixel);
    PixelRect toDeviceRect(const PixelRect &logical) const;

    Callbacks m_callbacks;
    std::vector<std::uint32_t> m_pixels;
    int m_width = 0;
    int m_height = 0;
    double m_scale = 1;
    int m_penWidth = 1;
    FillStyle m_fillStyle = FillStyle::Transparent;
    Colour m_fillColour = 0;
    Colour m_foreground = 0;
    FillPile m_pendingFills; ///< device pixels still to fill
    ChangedTiles m_changed;
    FramePacer m_pacer;
    int m_framesShown = 0;
};

} // namespace fotonar
