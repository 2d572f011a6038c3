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

// Liang and Barsky: the part of the segment from a to b inside [low, high] in both axes, as
// fractions of the way from a; nothing where none of it is.
bool clipSegment(const double a[2], const double b[2], const double low[2], const double high[2],
    double &enter, double &leave)
{
    enter = 0;
    leave = 1;
    for (int axis = 0; axis < 2; ++axis) {
        const double span = b[axis] - a[axis];
        for (const auto &[p, q] :
            {std::pair {-span, a[axis] - low[axis]}, std::pair {span, high[axis] - a[axis]}}) {
            if (p == 0) {
                if (q < 0)
                    return false;
                continue;
            }
            const double t = q / p;
            if (p < 0)
                enter = std::max(enter, t);
            else
                leave = std::min(leave, t);
        }
    }
    return enter <= leave;
}

// The largest whole d >= 0 with d * d <= value (value >= 0).
std::int64_t floorSqrt(std::int64_t value)
{
    auto root = std::int64_t(std::sqrt(double(value)));
    while (root * root > value)
        --root;
    while ((root + 1) * (root + 1) <= value)
        ++root;
    return root;
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
    if (!m_pixels.empty() || scale != m_scale)
        regrow(m_logicalWidth, m_logicalHeight, scale);
}

void PixelSurface::ensurePicture()
{
    if (m_pixels.empty())
        regrow(m_logicalWidth, m_logicalHeight, m_scale);
}

void PixelSurface::regrow(int width, int height, double scale)
{
    // Only ever grown at one scale, so that what a shrunken window hides is there again when it
    // grows back.
    if (m_pixels.empty() && scale != m_scale) { // nothing drawn yet: made at the next drawing
        m_scale = scale;
        return;
    }
    m_extentWidth = std::max(m_extentWidth, width);
    m_extentHeight = std::max(m_extentHeight, height);
    const bool rescaled = scale != m_scale;
    const int newWidth = int(std::ceil(m_extentWidth * scale));
    const int newHeight = int(std::ceil(m_extentHeight * scale));
    if (!rescaled && newWidth == m_width && newHeight == m_height && !m_pixels.empty())
        return;
    fillPending();
    const std::uint32_t grey = toPixel(kBackgroundGrey);
    std::vector<std::uint32_t> grown(std::size_t(newWidth) * std::size_t(newHeight), grey);
    const bool redraw = rescaled && m_replayable;
    if (!redraw)
        resample(grown, newWidth, newHeight, scale);
    const bool uniform = m_pixels.empty() || redraw;
    m_pixels.swap(grown);
    m_width = newWidth;
    m_height = newHeight;
    m_scale = scale;
    m_changed.resize(int(std::ceil(newWidth / scale)), int(std::ceil(newHeight / scale)),
        uniform ? grey : ChangedTiles::kUnknown);
    // At a new scale, everything is drawn again as it would have been drawn at that scale.
    if (redraw)
        for (const Drawn &drawn : m_drawn)
            render(drawn);
    fillPending();
    invalidate(kBackgroundGrey);
}

void PixelSurface::resample(
    std::vector<std::uint32_t> &into, int width, int height, double scale) const
{
    // The nearest pixel of the old picture, where the drawings that made it are no longer known.
    const double ratio = m_scale / scale;
    for (int y = 0; y < height && !m_pixels.empty(); ++y) {
        const int fromY = int(y * ratio);
        if (fromY >= m_height)
            break;
        const std::uint32_t *from = m_pixels.data() + std::size_t(fromY) * m_width;
        std::uint32_t *to = into.data() + std::size_t(y) * width;
        for (int x = 0; x < width && int(x * ratio) < m_width; ++x)
            to[x] = from[int(x * ratio)];
    }
}

void PixelSurface::keep(const Drawn &drawn)
{
    if (std::exchange(m_resting, false))
        m_pacer.restEnded(FramePacer::Clock::now());
    if (!m_replayable)
        return;
    Drawn *last = m_drawn.empty() ? nullptr : &m_drawn.back();
    const bool continues = last && drawn.kind == Drawn::Kind::Rows
        && last->kind == Drawn::Kind::Rows && last->x1 == drawn.x1 && last->x2 == drawn.x2
        && last->pen == drawn.pen && last->colour == drawn.colour && drawn.y1 == last->y2 + 1;
    if (continues) {
        last->y2 = drawn.y2;
    } else {
        if (last) {
            const PixelRect before = extentOf(*last);
            m_keptBefore = m_keptBefore.isEmpty()
                ? before
                : PixelRect {std::min(m_keptBefore.left, before.left),
                    std::min(m_keptBefore.top, before.top),
                    std::max(m_keptBefore.right, before.right),
                    std::max(m_keptBefore.bottom, before.bottom)};
        }
        m_drawn.push_back(drawn);
    }
    // A pile of rows that covers everything drawn before it (a run's erase) leaves nothing of it
    // to be seen: only what follows needs keeping.
    const Drawn &pile = m_drawn.back();
    if (pile.kind == Drawn::Kind::Rows && m_drawn.size() > 1
        && sweptByPen(pile.x1, pile.y1, pile.x2, pile.y2, pile.pen).contains(m_keptBefore)) {
        m_drawn.erase(m_drawn.begin(), m_drawn.end() - 1);
        m_keptBefore = {};
    }
    if (m_drawn.size() > kMostKept) {
        m_drawn.clear();
        m_replayable = false;
    }
}

PixelRect PixelSurface::extentOf(const Drawn &drawn)
{
    // Rows cover their pen's swept rectangle at any scale, as a later pile of them does; the
    // other drawings with a pixel to spare for rounding.
    if (drawn.kind == Drawn::Kind::Rows)
        return sweptByPen(drawn.x1, drawn.y1, drawn.x2, drawn.y2, drawn.pen);
    const int reach = drawn.pen / 2 + 2;
    if (drawn.kind == Drawn::Kind::Circle)
        return {drawn.x1 - drawn.x2 - reach, drawn.y1 - drawn.x2 - reach,
            drawn.x1 + drawn.x2 + reach, drawn.y1 + drawn.x2 + reach};
    return {std::min(drawn.x1, drawn.x2) - reach, std::min(drawn.y1, drawn.y2) - reach,
        std::max(drawn.x1, drawn.x2) + reach, std::max(drawn.y1, drawn.y2) + reach};
}

void PixelSurface::render(const Drawn &drawn)
{
    switch (drawn.kind) {
    case Drawn::Kind::Rows:
        for (int y = drawn.y1; y <= drawn.y2; ++y)
            renderLine(drawn.x1, y, drawn.x2, y, drawn.pen, drawn.colour);
        break;
    case Drawn::Kind::Line:
        renderLine(drawn.x1, drawn.y1, drawn.x2, drawn.y2, drawn.pen, drawn.colour);
        break;
    case Drawn::Kind::Circle:
        renderCircle(drawn);
        break;
    }
}

const std::uint32_t *PixelSurface::pixels()
{
    fillPending();
    return m_pixels.empty() ? nullptr : m_pixels.data();
}

Colour PixelSurface::pixelAt(int x, int y)
{
    if (m_pixels.empty())
        return x >= 0 && y >= 0 ? kBackgroundGrey : 0;
    fillPending();
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    const std::uint32_t pixel = m_pixels[std::size_t(y) * m_width + x];
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
    // The first row is filled and the others copied from it: a block copy is the memory's own
    // move, where a WebAssembly fill stores its 32-bit words one by one (the erase is two
    // million pixels on a projector).
    const int top = std::max(device.top, 0), bottom = std::min(device.bottom, m_height - 1);
    const int left = std::max(device.left, 0), right = std::min(device.right, m_width - 1);
    if (top <= bottom && left <= right) {
        fillRow(top, left, right, pixel);
        const std::uint32_t *first = m_pixels.data() + std::size_t(top) * m_width + left;
        const std::size_t bytes = std::size_t(right - left + 1) * sizeof(std::uint32_t);
        for (int y = top + 1; y <= bottom; ++y)
            std::memcpy(m_pixels.data() + std::size_t(y) * m_width + left, first, bytes);
    }
    m_changed.markFill(touchedLogical(device, m_scale), coveredLogical(device, m_scale), pixel);
}

void PixelSurface::fillRow(int y, int left, int right, std::uint32_t pixel)
{
    left = std::max(left, 0);
    right = std::min(right, m_width - 1);
    if (left <= right) {
        std::uint32_t *row = m_pixels.data() + std::size_t(y) * m_width;
        std::fill(row + left, row + right + 1, pixel);
    }
}

void PixelSurface::plot(int x, int y, std::uint32_t pixel)
{
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[std::size_t(y) * m_width + x] = pixel;
}

const PixelSurface::PenShape &PixelSurface::penShape(int width)
{
    // The round pen's pixels: those whose centres lie within half the width of the pen's centre
    // (between pixels for an even width), a span of them on each of its rows. Made once for the
    // lines of a width that follow one another.
    PenShape &shape = m_pen;
    if (shape.width == width)
        return shape;
    shape = {width, {}};
    const int before = width / 2;
    const double centre = (width - 1) / 2.0 - before;
    const double reach = width / 2.0;
    for (int dy = -before; dy < width - before; ++dy) {
        PenShape::Span span {dy, width, -width};
        for (int dx = -before; dx < width - before; ++dx)
            if ((dx - centre) * (dx - centre) + (dy - centre) * (dy - centre) <= reach * reach)
                span = {dy, std::min(span.from, dx), std::max(span.to, dx)};
        if (span.from <= span.to)
            shape.rows.push_back(span);
    }
    return shape;
}

void PixelSurface::stampPen(int x, int y, const PenShape &pen, std::uint32_t pixel)
{
    for (const PenShape::Span &span : pen.rows)
        if (y + span.dy >= 0 && y + span.dy < m_height)
            fillRow(y + span.dy, x + span.from, x + span.to, pixel);
}

void PixelSurface::drawLine(float x1, float y1, float x2, float y2, std::optional<Colour> colour)
{
    const std::uint32_t pixel = resolve(colour);
    ensurePicture();
    const int fromX = fotonar::toPixel(x1), fromY = fotonar::toPixel(y1);
    const int toX = fotonar::toPixel(x2), toY = fotonar::toPixel(y2);
    const Drawn drawn = fromY == toY
        ? Drawn {Drawn::Kind::Rows, std::min(fromX, toX), fromY, std::max(fromX, toX), toY,
            m_penWidth, pixel, std::nullopt}
        : Drawn {Drawn::Kind::Line, fromX, fromY, toX, toY, m_penWidth, pixel, std::nullopt};
    keep(drawn);
    render(drawn);
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
    // Only the part that can touch the picture is walked: a line to a far-off point costs no
    // more than one across the window.
    const double a[2] {double(ax), double(ay)}, b[2] {double(bx), double(by)};
    const double low[2] {-double(width), -double(width)};
    const double high[2] {double(m_width + width), double(m_height + width)};
    double enter = 0, leave = 1;
    if (!clipSegment(a, b, low, high, enter, leave))
        return;
    if (enter > 0 || leave < 1) {
        const auto along = [&](double t, int axis) {
            return int(std::lround(a[axis] + (b[axis] - a[axis]) * t));
        };
        bresenham(along(enter, 0), along(enter, 1), along(leave, 0), along(leave, 1), width, pixel);
    } else {
        bresenham(ax, ay, bx, by, width, pixel);
    }
    m_changed.markLine(x1, y1, x2, y2, (pen + 1) / 2 + 1);
}

void PixelSurface::bresenham(int ax, int ay, int bx, int by, int width, std::uint32_t pixel)
{
    // Both ends included, the pen stamped at every pixel of the line.
    const PenShape &pen = penShape(width);
    const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    const int stepX = ax < bx ? 1 : -1, stepY = ay < by ? 1 : -1;
    int error = dx + dy;
    for (int x = ax, y = ay;;) {
        if (width == 1)
            plot(x, y, pixel);
        else
            stampPen(x, y, pen, pixel);
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
    const int centreX = circle.x1, centreY = circle.y1, radius = circle.x2;
    const std::int64_t cx = toDevice(centreX, m_scale), cy = toDevice(centreY, m_scale);
    // In halves of a device pixel, so that the pen's half width is whole: a pixel at distance d
    // from the centre is on the outline where |d - radius| <= pen / 2, inside where it is nearer.
    const std::int64_t twiceRadius = 2 * std::int64_t(toDevice(radius, m_scale));
    const std::int64_t pen = devicePenWidth(circle.pen, m_scale);
    const std::int64_t outer = (twiceRadius + pen) * (twiceRadius + pen);
    const std::int64_t inner = twiceRadius > pen ? (twiceRadius - pen) * (twiceRadius - pen) : 0;
    const std::int64_t reach = (twiceRadius + pen) / 2;
    // Row by row, only the rows and spans within the picture: a huge circle costs no more than
    // one the size of the window.
    const std::int64_t top = std::max<std::int64_t>(cy - reach, 0);
    const std::int64_t bottom = std::min<std::int64_t>(cy + reach, m_height - 1);
    for (std::int64_t py = top; py <= bottom; ++py) {
        const std::int64_t rowDistance = 4 * (py - cy) * (py - cy);
        if (rowDistance > outer)
            continue;
        const std::int64_t outerHalf = floorSqrt((outer - rowDistance) / 4);
        // The widest |dx| strictly inside: 4 dx^2 < inner - rowDistance.
        const std::int64_t room = inner - rowDistance;
        const std::int64_t innerHalf = room > 0 ? floorSqrt((room - 1) / 4) : -1;
        const auto span = [&](std::int64_t from, std::int64_t to, std::uint32_t pixel) {
            const std::int64_t left = std::max<std::int64_t>(cx + from, -1);
            const std::int64_t right = std::min<std::int64_t>(cx + to, m_width);
            if (left <= right)
                fillRow(int(py), int(left), int(right), pixel);
        };
        span(-outerHalf, -innerHalf - 1, circle.colour);
        span(innerHalf + 1, outerHalf, circle.colour);
        if (innerHalf >= 0 && circle.fill)
            span(-innerHalf, innerHalf, *circle.fill);
    }
    const int margin = radius + (circle.pen + 1) / 2 + 1;
    m_changed.mark({centreX - margin, centreY - margin, centreX + margin, centreY + margin});
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

PixelRect PixelSurface::toDeviceRect(const PixelRect &logical) const
{
    return {std::max(0, int(std::floor(logical.left * m_scale))),
        std::max(0, int(std::floor(logical.top * m_scale))),
        std::min(m_width - 1, int(std::ceil((logical.right + 1) * m_scale)) - 1),
        std::min(m_height - 1, int(std::ceil((logical.bottom + 1) * m_scale)) - 1)};
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
    std::vector<PixelRect> device;
    for (const PixelRect &tiles : m_changed.take()) {
        m_changed.painted(tiles);
        if (const PixelRect rect = toDeviceRect(tiles); !rect.isEmpty())
            device.push_back(rect);
    }
    if (device.empty())
        return false;
    m_screen.show(device);
    ++m_framesShown;
    return true;
}

} // namespace fotonar
