#include "thinline.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace fotonar {

namespace {

// The raster engine steps along the longer axis in 26.6 fixed point, with the position across
// it in 16.16, starting half a pixel before the first end and stopping half a pixel after the
// last (the caps). The same integer arithmetic gives the same pixels.
template<typename Put> void stepAlong(int along1, int across1, int along2, int across2, Put put)
{
    std::int64_t from = std::int64_t(along1) * 64;
    std::int64_t to = std::int64_t(along2) * 64;
    std::int64_t across = std::int64_t(across1) * 64;
    std::int64_t acrossEnd = std::int64_t(across2) * 64;
    if (from > to) {
        std::swap(from, to);
        std::swap(across, acrossEnd);
    }
    const std::int64_t increment = (acrossEnd - across) * 65536 / (to - from);
    std::int64_t position = across * 1024 - (increment >> 1);
    from -= 32;
    to += 32;
    std::int64_t step = (from + 32) >> 6;
    const std::int64_t last = (to + 32) >> 6;
    const std::int64_t round = increment > 0 ? 32 : 0;
    position += (step * 64 + round - from) * increment >> 6;
    for (; step < last; ++step, position += increment)
        put(int(step), int(position >> 16));
}

} // namespace

void drawThinLine(QImage &image, QPoint from, QPoint to, QRgb colour)
{
    uchar *const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const auto pixel
        = [&](int x, int y) -> QRgb & { return reinterpret_cast<QRgb *>(bits + y * stride)[x]; };
    if (from == to) {
        pixel(from.x(), from.y()) = colour;
        return;
    }
    if (std::abs(to.x() - from.x()) < std::abs(to.y() - from.y()))
        stepAlong(from.y(), from.x(), to.y(), to.x(), [&](int y, int x) { pixel(x, y) = colour; });
    else
        stepAlong(from.x(), from.y(), to.x(), to.y(), [&](int x, int y) { pixel(x, y) = colour; });
}

} // namespace fotonar
