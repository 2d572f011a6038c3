#include "windowfit.h"

#include <vector>

namespace fotonar {

namespace {

// `control`'s font at `fit`; none for a control without text (the scroll bar, an image).
std::optional<ControlFont> controlFont(const ControlSpec &control, const DesignFit &fit)
{
    if (control.kind == ControlKind::ScrollBar || control.kind == ControlKind::Image)
        return std::nullopt;
    if (control.fontPixels > 0)
        return ControlFont {&control, true, fit.length(control.fontPixels)};
    return ControlFont {&control, false, fit.length(kDefaultFontPixels)};
}

} // namespace

WindowFit::WindowFit(Widgets &widgets, Origin origin)
    : m_widgets(widgets)
    , m_origin(origin)
{ }

bool WindowFit::follow(double width, double height, double density)
{
    if (!m_fit.fitTo(width, height, density, DesignFit::kDesktopLeastZoom) && m_fontScale)
        return false;
    // Fonts first: the title's width follows from its font.
    if (m_fontScale != m_fit.scale()) {
        m_fontScale = m_fit.scale();
        std::vector<ControlFont> fonts;
        for (const ControlSpec &entry : windowLayout())
            if (const std::optional<ControlFont> font = controlFont(entry, m_fit))
                fonts.push_back(*font);
        m_widgets.applyFonts(fonts);
        m_widgets.applyLengths({m_fit.length(kFocusFrame), m_fit.length(kOptionIndicator),
            m_fit.length(kOptionSpacing)});
    }
    m_widgets.placePicture(m_fit.designArea(), m_fit);
    for (const ControlSpec &entry : windowLayout())
        m_widgets.placeControl(entry, placed(entry));
    m_widgets.fitTitle(controlSpec(ControlId::labFotonar), m_fit);
    return true;
}

void WindowFit::moveControl(Control control, int left, int top)
{
    m_fit.moveControl(control, left, top);
    const ControlSpec &entry = revealedControl(control);
    m_widgets.placeMoved(entry, placed(entry));
}

Box WindowFit::placed(const ControlSpec &control) const
{
    return m_origin == Origin::Frame ? m_fit.placeInContainer(control) : m_fit.place(control);
}

} // namespace fotonar
