#include "devicepixels.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace fotonar {

int toPixel(float coordinate)
{
    return int(std::lround(std::clamp(double(coordinate), -kCoordinateLimit, kCoordinateLimit)));
}

int toDevice(int logical, double scale)
{
    return int(std::lround(logical * scale));
}

int devicePenWidth(int logicalWidth, double scale)
{
    // The small allowance keeps 2 x 1.5 at 3, not 4, where the product comes out a hair high.
    return std::max(1, int(std::ceil(logicalWidth * scale - 1e-9)));
}

PixelRect sweptByPen(int x1, int y1, int x2, int y2, int width)
{
    // The pen's square is centred on the line's pixels, its odd pixel to the right and below.
    const int before = width / 2;
    const int after = width - 1 - before;
    return {std::min(x1, x2) - before, std::min(y1, y2) - before, std::max(x1, x2) + after,
        std::max(y1, y2) + after};
}

bool FillPile::extend(const PixelRect &area, unsigned colour)
{
    if (!m_pile)
        return false;
    PixelRect &pile = m_pile->area;
    const bool continues = colour == m_pile->colour && area.left == pile.left
        && area.right == pile.right && area.top <= pile.bottom + 1 && area.bottom >= pile.top - 1;
    if (continues) {
        pile.top = std::min(pile.top, area.top);
        pile.bottom = std::max(pile.bottom, area.bottom);
    }
    return continues;
}

std::optional<FillPile::Fill> FillPile::take()
{
    return std::exchange(m_pile, std::nullopt);
}

} // namespace fotonar
