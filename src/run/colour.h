#pragma once

#include <cstdint>

namespace fotonar {

/// A colour as the run names it: 0x00BBGGRR for a plain RGB colour (red in the low byte),
/// or 0x800000nn for entry nn of the system colour table (see kSystemColourFlag).
using Colour = std::uint32_t;

/// Top bit set: the low byte is an index into the system colour table.
inline constexpr Colour kSystemColourFlag = 0x80000000u;

/// Composes a plain colour from its components, each 0 to 255.
constexpr Colour rgb(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return Colour(red) | (Colour(green) << 8) | (Colour(blue) << 16);
}

/// Names entry `index` (0 to 255) of the system colour table.
constexpr Colour systemColour(std::uint8_t index)
{
    return kSystemColourFlag | index;
}

constexpr bool isSystemColour(Colour colour)
{
    return (colour & kSystemColourFlag) != 0;
}

/// The program's palette.
inline constexpr Colour kBackgroundGrey = 0xC0C0C0; ///< (192, 192, 192), the window's background
inline constexpr Colour kLightGreen = 0xC0FFC0; ///< (192, 255, 192), the lower medium
inline constexpr Colour kDarkGrey = 0x404040; ///< (64, 64, 64), lines of the scene and the sweep
inline constexpr Colour kCaptionText
    = systemColour(9); ///< fill of the source and the final detector
inline constexpr Colour kAppWorkspace = systemColour(12); ///< the window's foreground colour
inline constexpr Colour kResultantGreen = rgb(0, 255, 0); ///< the resultant arrow

} // namespace fotonar
