#include "pixelsurface.h"

#include "classiccolours.h"
#include "runerror.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace fotonar {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t opaque(Colour colour)
{
    return (colour & 0xFFFFFFu) | kOpaque;
}

} // namespace

PixelSurface::PixelSurface(Callbacks callbacks)
    : m_callbacks(std::move(callbacks))
{ }

void PixelSurface::resize(int width, int height, double scale)
{
    const int logicalWidth = std::max(width, kSceneExtentWidth);
    const int logicalHeight = std::max(height, kSceneExtentHeight);
    const int newWidth = int(std::ceil(logicalWidth * scale));
    const int newHeight = int(std::ceil(logicalHeight * scale));
    if (newWidth == m_width && newHeight == m_height && scale == m_scale)
        return;
    fillPending();
    // Nearest pixel of the old picture, as the desktop carries its picture to a new scale.
    std::vector<std::uint32_t> grown(std::size_t(newWidth) * newHeight, opaque(kBackgroundGrey));
    if (!m_pixels.empty()) {
        const double ratio = m_scale / scale;
        for (int y = 0; y < newHeight; ++y) {
            const int fromY = int(y * ratio);
            if (fromY >= m_height)
                break;
            for (int x = 0; x < newWidth; ++x) {
                const int fromX = int(x * ratio);
                if (fromX >= m_width)
                    break;
                grown[std::size_t(y) * newWidth + x]
                    = m_pixels[std::size_t(fromY) * m_width + fromX];
            }
        }
    }
    const bool uniform = m_pixels.empty();
    m_pixels.swap(grown);
    m_width = newWidth;
    m_height = newHeight;
    m_scale = scale;
    m_changed.resize(
        logicalWidth, logicalHeight, uniform ? opaque(kBackgroundGrey) : ChangedTiles::kUnknown);
    invalidate(kBackgroundGrey);
}

std::uint32_t PixelSurface::pixelAt(int x, int y)
{
    fillPending();
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[std::size_t(y) * m_width + x] & 0xFFFFFFu;
}

void PixelSurface::invalidate(std::optional<Colour> shows)
{
    m_changed.screenLost(shows ? opaque(*shows) : ChangedTiles::kUnknown);
}

std::uint32_t PixelSurface::resolve(std::optional<Colour> colour) const
{
    const Colour chosen = colour.value_or(m_foreground);
    if (!isSystemColour(chosen))
        return opaque(chosen);
    const std::optional<Colour> entry = classicSystemColour(int(chosen & 0xFFu));
    if (!entry)
        throw RunError("Neplatná systémová barva " + std::to_string(chosen & 0xFFu) + ".");
    return opaque(*entry);
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
    const PixelRect clipped {std::max(device.left, 0), std::max(device.top, 0),
        std::min(device.right, m_width - 1), std::min(device.bottom, m_height - 1)};
    if (clipped.isEmpty())
        return;
    for (int y = clipped.top; y <= clipped.bottom; ++y) {
        std::uint32_t *row = m_pixels.data() + std::size_t(y) * m_width;
        std::fill(row + clipped.left, row + clipped.right + 1, pixel);
    }
    m_changed.markFill(touchedLogical(device, m_scale), coveredLogical(device, m_scale), pixel);
}

void PixelSurface::plot(int x, int y, std::uint32_t pixel)
{
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[std::size_t(y) * m_width + x] = pixel;
}

void PixelSurface::stampPen(int x, int y, int width, std::uint32_t pixel)
{
    // The round pen's pixels: those whose centres lie within half the width of the pen's centre
    // (between pixels for an even width).
    const int before = width / 2;
    const double centre = (width - 1) / 2.0 - before;
    const double reach = width / 2.0;
    for (int dy = -before; dy < width - before; ++dy)
        for (int dx = -before; dx < width - before; ++dx)
            if ((dx - centre) * (dx - centre) + (dy - centre) * (dy - centre) <= reach * reach)
                plot(x + dx, y + dy, pixel);
}

void PixelSurface::drawLine(float x1, float y1, float x2, float y2, std::optional<Colour> colour)
{
    const std::uint32_t pixel = resolve(colour);
    const int fromX = toPixel(x1), fromY = toPixel(y1), toX = toPixel(x2), toY = toPixel(y2);
    const int ax = toDevice(fromX, m_scale), ay = toDevice(fromY, m_scale);
    const int bx = toDevice(toX, m_scale), by = toDevice(toY, m_scale);
    const int width = devicePenWidth(m_penWidth, m_scale);
    if (ax == bx || ay == by) {
        // Upright and level lines (the erase, the medium, the axes, the time bars): the pen's
        // square swept from one end to the other.
        fillLater(sweptByPen(ax, ay, bx, by, width), pixel);
        return;
    }
    fillPending(); // what was drawn before comes first
    // Bresenham's line, both ends included, the pen stamped at every pixel of it.
    const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    const int stepX = ax < bx ? 1 : -1, stepY = ay < by ? 1 : -1;
    int error = dx + dy;
    for (int x = ax, y = ay;;) {
        if (width == 1)
            plot(x, y, pixel);
        else
            stampPen(x, y, width, pixel);
        if (x == bx && y == by)
            break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
    m_changed.markLine(fromX, fromY, toX, toY, (m_penWidth + 1) / 2 + 1);
}

void PixelSurface::drawCircle(float x, float y, float r, std::optional<Colour> colour)
{
    const std::uint32_t outline = resolve(colour);
    const std::uint32_t inside = resolve(m_fillColour);
    const int centreX = toPixel(x), centreY = toPixel(y), radius = std::abs(toPixel(r));
    const int cx = toDevice(centreX, m_scale), cy = toDevice(centreY, m_scale);
    const int deviceRadius = toDevice(radius, m_scale);
    const double halfPen = devicePenWidth(m_penWidth, m_scale) / 2.0;
    fillPending();
    const int reach = deviceRadius + int(std::ceil(halfPen));
    for (int py = cy - reach; py <= cy + reach; ++py) {
        for (int px = cx - reach; px <= cx + reach; ++px) {
            const double distance = std::hypot(px - cx, py - cy);
            if (std::abs(distance - deviceRadius) <= halfPen)
                plot(px, py, outline);
            else if (distance < deviceRadius && m_fillStyle == FillStyle::Solid)
                plot(px, py, inside);
        }
    }
    const int margin = radius + (m_penWidth + 1) / 2 + 1;
    m_changed.mark({centreX - margin, centreY - margin, centreX + margin, centreY + margin});
}

void PixelSurface::showControl(Control control)
{
    m_callbacks.showControl(control);
}

void PixelSurface::moveControl(Control control, float left, float top)
{
    m_callbacks.moveControl(control, toPixel(left), toPixel(top));
}

void PixelSurface::present()
{
    // A second frame within one refresh would never be seen. Held back, the drawing goes out
    // with the next present, one path's pause later.
    if (m_pacer.due(FramePacer::Clock::now()))
        flush();
}

PixelRect PixelSurface::toDeviceRect(const PixelRect &logical) const
{
    return {std::max(0, int(std::floor(logical.left * m_scale))),
        std::max(0, int(std::floor(logical.top * m_scale))),
        std::min(m_width - 1, int(std::ceil((logical.right + 1) * m_scale)) - 1),
        std::min(m_height - 1, int(std::ceil((logical.bottom + 1) * m_scale)) - 1)};
}

void PixelSurface::flush()
{
    showChanges();
    m_callbacks.yield();
}

void PixelSurface::showChanges()
{
    // A frame's time is when it is handed over; drawing that left every tile as it was last
    // shown is no frame.
    const auto handedOver = FramePacer::Clock::now();
    fillPending();
    std::vector<PixelRect> device;
    for (const PixelRect &tiles : m_changed.take()) {
        m_changed.painted(tiles);
        if (const PixelRect rect = toDeviceRect(tiles); !rect.isEmpty())
            device.push_back(rect);
    }
    if (!device.empty()) {
        m_pacer.frameShown(handedOver, m_callbacks.frameInterval());
        m_callbacks.show(device);
        ++m_framesShown;
    }
}

} // namespace fotonar
