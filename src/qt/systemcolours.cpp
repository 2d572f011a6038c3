#include "systemcolours.h"

#include "classiccolours.h"

namespace fotonar {

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
    for (const auto &[role, entry] : roles)
        palette.setColor(QPalette::All, role, toQColor(systemColour(std::uint8_t(entry))));
    for (const QPalette::ColorRole role :
        {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, toQColor(systemColour(kGrayTextEntry)));
    return palette;
}

QColor toQColor(Colour colour)
{
    if (isSystemColour(colour))
        colour = classicSystemColour(int(colour & 0xFFu)).value_or(0);
    return QColor(int(colour & 0xFFu), int((colour >> 8) & 0xFFu), int((colour >> 16) & 0xFFu));
}

} // namespace fotonar
