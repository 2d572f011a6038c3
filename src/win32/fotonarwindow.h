#pragma once

#include "gdi.h"
#include "gdisurface.h"
#include "labelview.h"
#include "layout.h"
#include "windowcontroller.h"

#include <map>
#include <memory>
#include <vector>

namespace fotonar::win32 {

/// The program's one window on Windows: the controls of the shared layout as native controls,
/// scaled to the monitor's dots per inch, over the picture that a run draws. The window object
/// lives with its HWND; each message goes to a small handler. Its behaviour is the shared
/// WindowController's; the window forwards the messages to it.
class FotonarWindow : private WindowFrontEnd
{
public:
    /// Creates the window with its controls and runs the start-up handler; does not show it.
    explicit FotonarWindow(HINSTANCE instance);
    ~FotonarWindow();
    FotonarWindow(const FotonarWindow &) = delete;
    FotonarWindow &operator=(const FotonarWindow &) = delete;

    /// Shows the window at its preferred size, or maximized where that would nearly fill the
    /// screen, with the focus on Start.
    void showOnScreen(int showCommand);
    /// The keyboard of the message loop: Tab, the arrow keys among option buttons, Enter on a
    /// button. True when the message was handled.
    bool handleKey(const MSG &message);
    HWND handle() const { return m_window; }
    /// For benchmarks and diagnostics.
    GdiSurface &gdiSurface() { return *m_surface; }
    WindowController &controller() { return m_controller; }
    /// The status the program ends with: 0, or WindowController::kRunErrorExitStatus after a
    /// run-time error.
    int exitStatus() const { return m_exitStatus; }

private:
    struct ControlWindow
    {
        const ControlSpec *entry;
        HWND handle;
    };

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    LRESULT handleMessage(UINT message, WPARAM w, LPARAM l);

    void createControls();
    HWND createControl(const ControlSpec &entry, int id);
    /// Puts every control at its scaled place; those a run has placed are moved by `rescale`.
    void placeControls(double rescale = 1);
    void applyFonts();
    Box deviceBox(const ControlSpec &entry) const;
    int toDevice(int logical) const;
    HFONT font(int pixels);
    HWND controlHandle(std::string_view name) const;
    const ControlWindow *controlAt(HWND handle) const;

    void selectOption(const ControlSpec &option) override;
    Surface &surface() override;
    void showRunError(const std::string &message) override;
    void quit(int exitStatus) override;

    void stackInTableOrder();
    void fitTitle();
    void onCommand(WPARAM w, LPARAM l);
    void onScroll(WPARAM w, LPARAM l);
    LRESULT onControlColour(HDC dc, HWND control);
    void onDpiChanged(WPARAM w, LPARAM l);
    void onClose();

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    std::unique_ptr<GdiSurface> m_surface;
    WindowController m_controller;
    std::vector<ControlWindow> m_controls;
    std::map<int, Font> m_fonts; ///< by pixel size at 96 dpi, at the current scale
    std::map<std::string_view, LabelLook> m_looks; ///< of the labels and images, by name
    std::map<std::string_view, Bitmap> m_bitmaps; ///< the images', by bitmap name
    Brush m_grey;
    Brush m_lightGreen;
    double m_scale = 1;
    int m_slowDown = kSlowDownMin;
    int m_exitStatus = 0;
};

} // namespace fotonar::win32
