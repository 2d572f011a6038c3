#include "systemcolours.h"

#include "classiccolours.h"
#include "runerror.h"

#include <string>

namespace fotonar {

QColor systemColourEntry(int entry)
{
    const std::optional<Colour> colour = classicSystemColour(entry);
    return colour ? toQColor(*colour) : QColor();
}

QPalette classicPalette()
{
    QPalette palette;
    const struct
    {
        QPalette::ColorRole role;
        int entry;
    } roles[] = {
        {QPalette::Window, kButtonFaceEntry},
        {QPalette::WindowText, kWindowTextEntry},
        {QPalette::Base, kWindowEntry},
        {QPalette::AlternateBase, kLightEntry},
        {QPalette::Text, kWindowTextEntry},
        {QPalette::PlaceholderText, kGrayTextEntry},
        {QPalette::Button, kButtonFaceEntry},
        {QPalette::ButtonText, kButtonTextEntry},
        {QPalette::BrightText, kButtonHighlightEntry},
        {QPalette::Light, kButtonHighlightEntry},
        {QPalette::Midlight, kLightEntry},
        {QPalette::Mid, kButtonShadowEntry},
        {QPalette::Dark, kButtonShadowEntry},
        {QPalette::Shadow, kDarkShadowEntry},
        {QPalette::Highlight, kHighlightEntry},
        {QPalette::HighlightedText, kHighlightTextEntry},
        {QPalette::ToolTipBase, kInfoBackgroundEntry},
        {QPalette::ToolTipText, kInfoTextEntry},
    };
    for (const auto &[role, index] : roles)
        palette.setColor(QPalette::All, role, systemColourEntry(index));
    for (const QPalette::ColorRole role :
        {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, systemColourEntry(kGrayTextEntry));
    return palette;
}

QColor toQColor(Colour colour)
{
    if (isSystemColour(colour)) {
        const int entry = int(colour & 0xFFu);
        const QColor resolved = systemColourEntry(entry);
        if (!resolved.isValid())
            throw RunError("Neplatná systémová barva " + std::to_string(entry) + ".");
        return resolved;
    }
    return QColor(int(colour & 0xFFu), int((colour >> 8) & 0xFFu), int((colour >> 16) & 0xFFu));
}

} // namespace fotonar
