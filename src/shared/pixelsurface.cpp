#include "pixelsurface.h"

#include "classiccolours.h"
#include "runerror.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace fotonar {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t swapRedBlue(std::uint32_t value)
{
    return (value & 0xFF00FF00u) | ((value >> 16) & 0xFFu) | ((value & 0xFFu) << 16);
}

} // namespace

std::optional<Colour> PixelSurface::Screen::systemColour(int entry)
{
    return classicSystemColour(entry);
}

PixelSurface::PixelSurface(Screen &screen, PixelOrder order)
    : m_screen(screen)
    , m_order(order)
{ }

std::uint32_t PixelSurface::toPixel(Colour colour) const
{
    const std::uint32_t rgba = (colour & 0xFFFFFFu) | kOpaque; // R lowest: the bytes R, G, B, A
    return m_order == PixelOrder::Rgba ? rgba : swapRedBlue(rgba);
}

std::uint32_t PixelSurface::resolve(std::optional<Colour> colour) const
{
    const Colour chosen = colour.value_or(m_foreground);
    if (!isSystemColour(chosen))
        return toPixel(chosen);
    const int entry = int(chosen & 0xFFu);
    const std::optional<Colour> resolved = m_screen.systemColour(entry);
    if (!resolved)
        throw RunError("Neplatná systémová barva " + std::to_string(entry) + ".");
    return toPixel(*resolved);
}

void PixelSurface::resize(int width, int height, double scale)
{
    m_logicalWidth = std::max(width, kSceneExtentWidth);
    m_logicalHeight = std::max(height, kSceneExtentHeight);
    if (!m_raster.isEmpty() || scale != m_scale)
        regrow(m_logicalWidth, m_logicalHeight, scale);
}

void PixelSurface::ensurePicture()
{
    if (m_raster.isEmpty())
        regrow(m_logicalWidth, m_logicalHeight, m_scale);
}

void PixelSurface::regrow(int width, int height, double scale)
{
    // Only ever grown at one scale, so that what a shrunken window hides is there again when it
    // grows back.
    if (m_raster.isEmpty() && scale != m_scale) { // nothing drawn yet: made at the next drawing
        m_scale = scale;
        return;
    }
    m_extentWidth = std::max(m_extentWidth, width);
    m_extentHeight = std::max(m_extentHeight, height);
    const bool rescaled = scale != m_scale;
    const int newWidth = int(std::ceil(m_extentWidth * scale));
    const int newHeight = int(std::ceil(m_extentHeight * scale));
    if (!rescaled && newWidth == m_raster.width() && newHeight == m_raster.height()
        && !m_raster.isEmpty())
        return;
    fillPending();
    const std::uint32_t grey = toPixel(kBackgroundGrey);
    std::vector<std::uint32_t> grown(std::size_t(newWidth) * std::size_t(newHeight), grey);
    const bool redraw = rescaled && m_log.isComplete();
    if (!redraw)
        resample(grown, newWidth, newHeight, scale);
    const bool uniform = m_raster.isEmpty() || redraw;
    m_raster.adopt(std::move(grown), newWidth, newHeight);
    m_scale = scale;
    m_changed.resize(newWidth, newHeight, uniform ? grey : ChangedTiles::kUnknown);
    // At a new scale, everything is drawn again as it would have been drawn at that scale.
    if (redraw)
        for (const Drawn &drawing : m_log.drawings())
            render(drawing);
    fillPending();
    invalidate(kBackgroundGrey);
}

void PixelSurface::resample(
    std::vector<std::uint32_t> &into, int width, int height, double scale) const
{
    // The nearest pixel of the old picture, where the drawings that made it are no longer known.
    const double ratio = m_scale / scale;
    for (int y = 0; y < height && !m_raster.isEmpty(); ++y) {
        const int fromY = int(y * ratio);
        if (fromY >= m_raster.height())
            break;
        std::uint32_t *to = into.data() + std::size_t(y) * width;
        for (int x = 0; x < width && int(x * ratio) < m_raster.width(); ++x)
            to[x] = m_raster.at(int(x * ratio), fromY);
    }
}

void PixelSurface::keep(const Drawn &drawing)
{
    if (std::exchange(m_resting, false))
        m_pacer.restEnded(FramePacer::Clock::now());
    m_log.keep(drawing);
}

void PixelSurface::render(const Drawn &drawing)
{
    switch (drawing.kind) {
    case Drawn::Kind::Rows:
        for (int y = drawing.y1; y <= drawing.y2; ++y)
            renderLine(drawing.x1, y, drawing.x2, y, drawing.pen, drawing.colour);
        break;
    case Drawn::Kind::Line:
        renderLine(drawing.x1, drawing.y1, drawing.x2, drawing.y2, drawing.pen, drawing.colour);
        break;
    case Drawn::Kind::Circle:
        renderCircle(drawing);
        break;
    }
}

const std::uint32_t *PixelSurface::pixels()
{
    fillPending();
    return m_raster.isEmpty() ? nullptr : m_raster.pixels();
}

Colour PixelSurface::pixelAt(int x, int y)
{
    if (m_raster.isEmpty())
        return x >= 0 && y >= 0 ? kBackgroundGrey : 0;
    fillPending();
    if (x < 0 || y < 0 || x >= m_raster.width() || y >= m_raster.height())
        return 0;
    const std::uint32_t pixel = m_raster.at(x, y);
    return (m_order == PixelOrder::Rgba ? pixel : swapRedBlue(pixel)) & 0xFFFFFFu;
}

void PixelSurface::invalidate(std::optional<Colour> shows)
{
    m_changed.screenLost(shows ? toPixel(*shows) : ChangedTiles::kUnknown);
}

void PixelSurface::fillLater(const PixelRect &device, std::uint32_t pixel)
{
    if (m_pendingFills.extend(device, pixel))
        return;
    fillPending();
    m_pendingFills.start(device, pixel);
}

void PixelSurface::fillPending()
{
    if (const std::optional<FillPile::Fill> pile = m_pendingFills.take())
        fill(pile->area, pile->colour);
}

void PixelSurface::fill(const PixelRect &device, std::uint32_t pixel)
{
    // What already holds the colour is left as it is: a run's erase writes only where the last
    // run drew.
    for (const PixelRect &changing : m_changed.unlike(device, pixel))
        m_raster.fill(changing, pixel);
    m_changed.markFill(device, pixel);
}

void PixelSurface::drawLine(float x1, float y1, float x2, float y2, std::optional<Colour> colour)
{
    const std::uint32_t pixel = resolve(colour);
    ensurePicture();
    const int fromX = fotonar::toPixel(x1), fromY = fotonar::toPixel(y1);
    const int toX = fotonar::toPixel(x2), toY = fotonar::toPixel(y2);
    const Drawn drawing = fromY == toY
        ? Drawn {Drawn::Kind::Rows, std::min(fromX, toX), fromY, std::max(fromX, toX), toY,
            m_penWidth, pixel, std::nullopt}
        : Drawn {Drawn::Kind::Line, fromX, fromY, toX, toY, m_penWidth, pixel, std::nullopt};
    keep(drawing);
    render(drawing);
}

void PixelSurface::renderLine(int x1, int y1, int x2, int y2, int pen, std::uint32_t pixel)
{
    const int ax = toDevice(x1, m_scale), ay = toDevice(y1, m_scale);
    const int bx = toDevice(x2, m_scale), by = toDevice(y2, m_scale);
    const int width = devicePenWidth(pen, m_scale);
    if (ax == bx || ay == by) {
        // Upright and level lines (the erase, the medium, the axes, the time bars): the pen's
        // square swept from one end to the other.
        fillLater(sweptByPen(ax, ay, bx, by, width), pixel);
        return;
    }
    fillPending(); // what was drawn before comes first
    if (const auto walked = m_raster.line(ax, ay, bx, by, width, pixel))
        // The pen reaches half its width from the walked pixels, which lie within half a pixel
        // of the line, and the chain of boxes that marks it keeps within a pixel of it.
        m_changed.markLine(walked->ax, walked->ay, walked->bx, walked->by, width / 2 + 2);
}

void PixelSurface::drawCircle(float x, float y, float r, std::optional<Colour> colour)
{
    const std::uint32_t outline = resolve(colour);
    const std::uint32_t inside = resolve(m_fillColour);
    ensurePicture();
    const Drawn circle {Drawn::Kind::Circle, fotonar::toPixel(x), fotonar::toPixel(y),
        std::abs(fotonar::toPixel(r)), 0, m_penWidth, outline,
        m_fillStyle == FillStyle::Solid ? std::optional(inside) : std::nullopt};
    keep(circle);
    render(circle);
}

void PixelSurface::renderCircle(const Drawn &circle)
{
    fillPending();
    const int x = toDevice(circle.x1, m_scale), y = toDevice(circle.y1, m_scale);
    const int radius = toDevice(circle.x2, m_scale), pen = devicePenWidth(circle.pen, m_scale);
    m_raster.circle(x, y, radius, pen, circle.colour, circle.fill);
    const int reach = radius + pen / 2 + 1;
    m_changed.mark({x - reach, y - reach, x + reach, y + reach});
}

void PixelSurface::showControl(Control control)
{
    m_screen.showControl(control);
}

void PixelSurface::moveControl(Control control, float left, float top)
{
    m_screen.moveControl(control, fotonar::toPixel(left), fotonar::toPixel(top));
}

void PixelSurface::present()
{
    // A frame the screen would not show, or one that would make showing a large share of the
    // run, is held back: the drawing goes out with a later present. The toolkit's events are
    // not held back as long.
    const auto now = FramePacer::Clock::now();
    if (m_pacer.due(now)) {
        showFrame();
    } else if (m_pacer.eventsDue(now)) {
        m_screen.yield();
        m_pacer.eventsDelivered(FramePacer::Clock::now());
    }
}

void PixelSurface::flush()
{
    showFrame();
    m_resting = true;
}

void PixelSurface::showFrame()
{
    // A frame's cost runs from when it is handed over to when the toolkit is done with it and
    // the run goes on; drawing that left every tile as it was last shown is no frame.
    const auto handedOver = FramePacer::Clock::now();
    const bool shown = putChanges();
    m_screen.yield();
    if (shown)
        m_pacer.frameShown(handedOver, FramePacer::Clock::now(), m_screen.frameInterval());
}

void PixelSurface::showChanges()
{
    // A first picture, a new scale or a lost screen, outside a run: what that costs (a browser
    // makes its GL context at the first picture, tens of milliseconds) says nothing about a
    // run's frames, and learnt as one it would hold the next run's frames back for seconds.
    putChanges();
}

bool PixelSurface::putChanges()
{
    fillPending();
    const std::vector<PixelRect> changed = m_changed.take();
    if (changed.empty())
        return false;
    for (const PixelRect &rect : changed)
        m_changed.painted(rect);
    m_screen.show(changed);
    ++m_framesShown;
    return true;
}

} // namespace fotonar
