#pragma once

#include "gdi.h"
#include "labelview.h"
#include "layout.h"
#include "optionview.h"
#include "pixelsurface.h"
#include "windowcontroller.h"
#include "windowfit.h"

#include <map>
#include <optional>
#include <vector>

namespace fotonar::win32 {

/// The program's one window on Windows: the controls of the shared layout as native controls,
/// scaled to the monitor's dots per inch and zoomed to fill the window, over the picture that a
/// run draws (the shared PixelSurface, laid out as a 32-bit DIB and copied to a child window of
/// its own in WM_PAINT, which screen readers read as an image described in words). The window
/// object lives with its HWND; each message goes to a small handler. Its behaviour and keyboard
/// are the shared WindowController's; the window forwards the messages to it.
class FotonarWindow : private WindowFrontEnd,
                      private PixelSurface::Screen,
                      private WindowFit::Widgets
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
    /// Hands a message of the thread's queue on: keys to the window's keyboard first, the rest
    /// to its window. The program's message loop and a run's yields both go through here.
    void dispatch(MSG &message);
    HWND handle() const { return m_window; }
    /// For benchmarks and diagnostics.
    PixelSurface &pixelSurface() { return m_surface; }
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
    static LRESULT CALLBACK pictureProcedure(HWND picture, UINT message, WPARAM w, LPARAM l);
    LRESULT handleMessage(UINT message, WPARAM w, LPARAM l);

    void createControls();
    void createPicture();
    HWND createControl(const ControlSpec &entry, int id);
    HWND controlHandle(ControlId id) const;
    const ControlWindow *controlAt(HWND handle) const;

    void selectOption(const ControlSpec &option) override;
    void showSlowDown(int value) override;
    void focus(const ControlSpec &control) override;
    Surface &surface() override;
    void showRunError(const std::string &message) override;
    void quit(int exitStatus) override;

    void show(std::span<const PixelRect> rectangles) override;
    void yield() override;
    void showControl(Control control) override;
    void moveControl(Control control, int left, int top) override;
    std::chrono::nanoseconds frameInterval() override;
    std::optional<Colour> systemColour(int entry) override;
    bool isFullScreen() const override { return m_restored.has_value(); }
    void describePicture(const PictureDescription &picture) override;
    void announce(const std::string &message) override;
    void setFullScreen(bool full) override;

    void applyFonts(std::span<const ControlFont> fonts) override;
    void applyLengths(const ControlLengths &lengths) override;
    void placePicture(const Box &area, const DesignFit &fit) override;
    void placeControl(const ControlSpec &control, const Box &box) override;
    void placeMoved(const ControlSpec &control, const Box &box) override;
    void fitTitle(const ControlSpec &title, const DesignFit &fit) override;

    bool handleKey(const MSG &message);
    void paintPicture(HDC dc, const RECT &area);
    /// Fits the design to the client area at the monitor's density: the picture's scale, every
    /// control's place and font.
    void followClientArea();

    void stackInTableOrder();
    void onCommand(WPARAM w, LPARAM l);
    void onScroll(WPARAM w, LPARAM l);
    LRESULT onControlColour(HDC dc, HWND control);
    void onDpiChanged(WPARAM w, LPARAM l);
    void onClose();

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HWND m_picture = nullptr; ///< the design's area, under every control, showing the surface
    HWND m_announcer = nullptr; ///< says what a run's start and end announce
    PixelSurface m_surface;
    WindowController m_controller;
    std::vector<ControlWindow> m_controls; ///< in the table's order: by ControlId
    std::map<std::pair<bool, int>, Font> m_fonts; ///< by ControlFont's caption and pixels
    std::map<ControlId, LabelLook> m_looks; ///< of the labels and images
    std::map<std::string_view, Bitmap> m_bitmaps; ///< the images', by bitmap name
    Brush m_grey;
    double m_density = 1; ///< the monitor's dots per inch / 96
    WindowFit m_fit; ///< the design fitted to the client area at the monitor's density
    int m_focusWidth = 2; ///< the scroll bar's focus frame, device pixels
    OptionLook m_optionLook;
    struct Restored
    {
        WINDOWPLACEMENT placement;
        LONG_PTR style;
    };
    std::optional<Restored> m_restored; ///< while full screen: what the window was before
    int m_exitStatus = 0;
};

} // namespace fotonar::win32
