#include "devicepixels.h"

#include <algorithm>
#include <cmath>

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

PixelRect touchedLogical(const PixelRect &device, double scale)
{
    return {int(std::floor(device.left / scale)), int(std::floor(device.top / scale)),
        int(std::ceil((device.right + 1) / scale)) - 1,
        int(std::ceil((device.bottom + 1) / scale)) - 1};
}

PixelRect coveredLogical(const PixelRect &device, double scale)
{
    return {int(std::ceil(device.left / scale)), int(std::ceil(device.top / scale)),
        int(std::floor((device.right + 1) / scale)) - 1,
        int(std::floor((device.bottom + 1) / scale)) - 1};
}

} // namespace fotonar
