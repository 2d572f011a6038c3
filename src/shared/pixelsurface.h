#pragma once

#include "changedtiles.h"
#include "devicepixels.h"
#include "drawinglog.h"
#include "framepacer.h"
#include "raster.h"
#include "surface.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace fotonar {

/// How the four bytes of a pixel lie in memory, the lowest address first; alpha is always
/// opaque. Rgba is a canvas's ImageData and a WebGL texture; Bgra is Qt's RGB32 and a Windows
/// 32-bit DIB on a little-endian machine.
enum class PixelOrder { Rgba, Bgra };

/// The run's Surface on every front end: a picture of pixels in memory that the program draws
/// itself. Lines and circles are aliased, every coordinate rounded to a whole logical pixel of
/// the 96-dpi design and then scaled, so the picture is the same pixels on every toolkit and
/// stays sharp at any scale. The front end only copies the changed rectangles to the screen.
///
/// The picture is made by the first drawing (the window opens without waiting for it), covers
/// at least the scene's extent and the window, and only ever grows; a new scale carries what was
/// drawn over, unsmoothed.
class PixelSurface : public Surface
{
public:
    /// The toolkit's side of the surface.
    class Screen
    {
    public:
        virtual ~Screen() = default;
        /// Puts these rectangles of pixels() (device pixels) on the screen.
        virtual void show(std::span<const PixelRect> rectangles) = 0;
        /// After a frame, or a flush that had nothing new: lets the toolkit paint and deliver its
        /// events while the run keeps going.
        virtual void yield() = 0;
        /// Makes a hidden label or image visible; puts its top-left corner at logical (left, top).
        virtual void showControl(Control control) = 0;
        virtual void moveControl(Control control, int left, int top) = 0;
        /// One refresh of the window's screen.
        virtual std::chrono::nanoseconds frameInterval() = 0;
        /// Entry `entry` (0 to 255) of the desktop's system colour table as 0x00BBGGRR; nothing
        /// where the desktop has no such entry. The classic table unless the desktop has its own.
        virtual std::optional<Colour> systemColour(int entry);
    };

    PixelSurface(Screen &screen, PixelOrder order);

    /// The window's client area is `width` x `height` logical pixels at `scale` device pixels a
    /// logical pixel (> 0). A new scale is a new screen, which shows the window's grey until the
    /// next flush.
    void resize(int width, int height, double scale);
    /// The picture's size in device pixels; 0 x 0 until the first drawing.
    int deviceWidth() const { return m_raster.width(); }
    int deviceHeight() const { return m_raster.height(); }
    double scale() const { return m_scale; }
    /// The picture with everything drawn so far, deviceWidth() pixels a row, rows top first;
    /// null until the first drawing.
    const std::uint32_t *pixels();
    /// The pixel at device (x, y) as 0x00BBGGRR, with everything drawn so far; the window's grey
    /// where nothing was drawn, 0 outside the picture.
    Colour pixelAt(int x, int y);
    /// The colour of lines and circles drawn without a colour of their own.
    void setForeground(Colour colour) { m_foreground = colour; }
    /// How many frames have been put on the screen.
    int framesShown() const { return m_framesShown; }
    /// The screen lost the picture: everything goes to it again at the next flush; where the
    /// screen now shows `shows` throughout, what holds that colour need not.
    void invalidate(std::optional<Colour> shows = std::nullopt);
    /// Puts what changed since the last frame on the screen now, as flush() does, but without
    /// yielding: for the toolkit's own calls, outside a run. What it costs teaches the frame
    /// pacer nothing.
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
    void keep(const Drawn &drawing);
    void render(const Drawn &drawing);
    void renderLine(int x1, int y1, int x2, int y2, int pen, std::uint32_t pixel);
    void renderCircle(const Drawn &circle);
    void showFrame();
    void resample(std::vector<std::uint32_t> &into, int width, int height, double scale) const;
    std::uint32_t toPixel(Colour colour) const;
    std::uint32_t resolve(std::optional<Colour> colour) const;
    void ensurePicture();
    void regrow(int width, int height, double scale);
    void fillLater(const PixelRect &device, std::uint32_t pixel);
    void fillPending();
    void fill(const PixelRect &device, std::uint32_t pixel);
    /// Hands what changed since the last frame to the screen; false where nothing had.
    bool putChanges();

    Screen &m_screen;
    PixelOrder m_order;
    Raster m_raster;
    int m_logicalWidth = kSceneExtentWidth; ///< of the window, at least the scene's extent
    int m_logicalHeight = kSceneExtentHeight;
    int m_extentWidth = 0; ///< of the picture, in logical pixels: the largest window so far
    int m_extentHeight = 0;
    double m_scale = 1;
    int m_penWidth = 1;
    FillStyle m_fillStyle = FillStyle::Transparent;
    Colour m_fillColour = 0;
    Colour m_foreground = 0;
    DrawingLog m_log; ///< what the picture shows
    FillPile m_pendingFills; ///< device pixels still to fill
    ChangedTiles m_changed;
    FramePacer m_pacer;
    bool m_resting = true; ///< flushed, and nothing drawn since
    int m_framesShown = 0;
};

} // namespace fotonar
