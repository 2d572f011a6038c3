#include "classiccolours.h"

namespace fotonar {

std::optional<Colour> classicSystemColour(int entry)
{
    switch (entry) {
    case kWindowEntry:
    case kCaptionTextEntry:
    case kHighlightTextEntry:
    case kButtonHighlightEntry:
        return rgb(255, 255, 255);
    case kWindowTextEntry:
    case kButtonTextEntry:
    case kDarkShadowEntry:
    case kInfoTextEntry:
        return rgb(0, 0, 0);
    case kAppWorkspaceEntry:
    case kButtonShadowEntry:
    case kGrayTextEntry:
        return rgb(128, 128, 128);
    case kHighlightEntry:
        return rgb(0, 0, 128);
    case kButtonFaceEntry:
        return rgb(192, 192, 192);
    case kLightEntry:
        return rgb(223, 223, 223);
    case kInfoBackgroundEntry:
        return rgb(255, 255, 225);
    default:
        return std::nullopt;
    }
}

} // namespace fotonar
