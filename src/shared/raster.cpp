#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace fotonar {

namespace {

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

void Raster::reset(int width, int height, std::uint32_t background)
{
    m_pixels.assign(std::size_t(width) * std::size_t(height), background);
    m_width = width;
    m_height = height;
}

void Raster::adopt(std::vector<std::uint32_t> &&pixels, int width, int height)
{
    m_pixels = std::move(pixels);
    m_width = width;
    m_height = height;
}

void Raster::fill(const PixelRect &area, std::uint32_t pixel)
{
    // The first row is filled and the others copied from it: a block copy is the memory's own
    // move, where a WebAssembly fill stores its 32-bit words one by one (the erase is two
    // million pixels on a projector).
    const int top = std::max(area.top, 0), bottom = std::min(area.bottom, m_height - 1);
    const int left = std::max(area.left, 0), right = std::min(area.right, m_width - 1);
    if (top > bottom || left > right)
        return;
    fillRow(top, left, right, pixel);
    const std::uint32_t *first = m_pixels.data() + std::size_t(top) * m_width + left;
    const std::size_t bytes = std::size_t(right - left + 1) * sizeof(std::uint32_t);
    for (int y = top + 1; y <= bottom; ++y)
        std::memcpy(m_pixels.data() + std::size_t(y) * m_width + left, first, bytes);
}

void Raster::fillRow(int y, int left, int right, std::uint32_t pixel)
{
    left = std::max(left, 0);
    right = std::min(right, m_width - 1);
    if (left <= right) {
        std::uint32_t *row = m_pixels.data() + std::size_t(y) * m_width;
        std::fill(row + left, row + right + 1, pixel);
    }
}

void Raster::plot(int x, int y, std::uint32_t pixel)
{
    if (x >= 0 && y >= 0 && x < m_width && y < m_height)
        m_pixels[std::size_t(y) * m_width + x] = pixel;
}

const Raster::PenShape &Raster::penShape(int width)
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

std::optional<Raster::Segment> Raster::line(
    int ax, int ay, int bx, int by, int width, std::uint32_t pixel)
{
    // Only the part that can touch the picture is walked: a line to a far-off point costs no
    // more than one across the window.
    const double a[2] {double(ax), double(ay)}, b[2] {double(bx), double(by)};
    const double low[2] {-double(width), -double(width)};
    const double high[2] {double(m_width + width), double(m_height + width)};
    double enter = 0, leave = 1;
    if (!clipSegment(a, b, low, high, enter, leave))
        return std::nullopt;
    Segment walked {ax, ay, bx, by};
    if (enter > 0 || leave < 1) {
        const auto along = [&](double t, int axis) {
            return int(std::lround(a[axis] + (b[axis] - a[axis]) * t));
        };
        walked = {along(enter, 0), along(enter, 1), along(leave, 0), along(leave, 1)};
    }
    bresenham(walked.ax, walked.ay, walked.bx, walked.by, width, pixel);
    return walked;
}

void Raster::bresenham(int ax, int ay, int bx, int by, int width, std::uint32_t pixel)
{
    // Both ends included, the pen stamped at every pixel of the line.
    if (width == 1) {
        walk(ax, ay, bx, by, [&](int x, int y) { plot(x, y, pixel); });
        return;
    }
    // The union of the stamps is one span on each row (every row of the round pen holds its
    // centre column, and neighbouring stamps are one pixel apart), so each row is filled once
    // rather than once for every stamp that touches it: at a projector's zoom a pen is 8 pixels
    // wide and a stamp wrote each of them 8 times over.
    const PenShape &pen = penShape(width);
    const int top = std::min(ay, by);
    std::vector<Span> &steps = m_steps; // the line's own pixels, row by row
    steps.assign(std::size_t(std::abs(by - ay)) + 1, Span {});
    walk(ax, ay, bx, by, [&](int x, int y) {
        Span &row = steps[std::size_t(y - top)];
        row = {std::min(row.first, x), std::max(row.last, x)};
    });
    const int first = std::max(top + pen.rows.front().dy, 0);
    const int last = std::min(top + int(steps.size()) - 1 + pen.rows.back().dy, m_height - 1);
    for (int y = first; y <= last; ++y) {
        Span covered;
        for (const PenShape::Span &span : pen.rows) {
            const int step = y - span.dy - top;
            if (step >= 0 && step < int(steps.size()))
                covered = {std::min(covered.first, steps[std::size_t(step)].first + span.from),
                    std::max(covered.last, steps[std::size_t(step)].last + span.to)};
        }
        if (covered.first <= covered.last)
            fillRow(y, covered.first, covered.last, pixel);
    }
}

template<typename Visit> void Raster::walk(int ax, int ay, int bx, int by, Visit visit)
{
    const int dx = std::abs(bx - ax), dy = -std::abs(by - ay);
    const int stepX = ax < bx ? 1 : -1, stepY = ay < by ? 1 : -1;
    int error = dx + dy;
    for (int x = ax, y = ay;;) {
        visit(x, y);
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

void Raster::circle(std::int64_t cx, std::int64_t cy, std::int64_t radius, std::int64_t pen,
    std::uint32_t outline, std::optional<std::uint32_t> inside)
{
    // In halves of a pixel, so that the pen's half width is whole: a pixel at distance d from
    // the centre is on the outline where |d - radius| <= pen / 2, inside where it is nearer.
    const std::int64_t twiceRadius = 2 * radius;
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
        span(-outerHalf, -innerHalf - 1, outline);
        span(innerHalf + 1, outerHalf, outline);
        if (innerHalf >= 0 && inside)
            span(-innerHalf, innerHalf, *inside);
    }
}

} // namespace fotonar
