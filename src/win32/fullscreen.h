#pragma once

#include <windows.h>

#include <optional>

namespace fotonar::win32 {

/// A top-level window made to fill its monitor the classic way, without its frame, and given
/// back the frame and the place (normal or maximized) it had before.
class FullScreen
{
public:
    /// Whether `set` made the window fill its monitor and has not given it back yet.
    bool isOn() const { return m_restored.has_value(); }
    /// Makes `window` fill its monitor (`full`) or gives it back what it was; nothing where it
    /// already is so.
    void set(HWND window, bool full);

private:
    void enter(HWND window);
    void leave(HWND window);

    struct Restored
    {
        WINDOWPLACEMENT placement;
        LONG_PTR style;
    };
    std::optional<Restored> m_restored; ///< while full screen: what the window was before
};

} // namespace fotonar::win32
