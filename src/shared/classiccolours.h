#pragma once

#include "colour.h"

#include <optional>

namespace fotonar {

/// Entries of the desktop's system colour table that the program uses, by their classic
/// index (0 to 30).
enum SystemColourEntry : int {
    kWindowEntry = 5, ///< background of text fields
    kWindowTextEntry = 8,
    kCaptionTextEntry = 9, ///< fill of the source and the final detector
    kAppWorkspaceEntry = 12, ///< the window's foreground colour: lines drawn without a colour
    kHighlightEntry = 13, ///< focus and selection
    kHighlightTextEntry = 14,
    kButtonFaceEntry = 15,
    kButtonShadowEntry = 16,
    kGrayTextEntry = 17, ///< disabled captions ("Čas")
    kButtonTextEntry = 18,
    kButtonHighlightEntry = 20,
    kDarkShadowEntry = 21,
    kLightEntry = 22,
    kInfoTextEntry = 23,
    kInfoBackgroundEntry = 24,
};

/// The classic light desktop's value of a system colour table entry, as a plain 0x00BBGGRR
/// colour; nothing for an entry the program does not know. The window uses these whatever the
/// desktop's theme, since it fixes its own backgrounds (grey, light green) and the captions on
/// them must stay readable.
std::optional<Colour> classicSystemColour(int entry);

} // namespace fotonar
