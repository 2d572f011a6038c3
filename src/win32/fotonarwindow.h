#pragma once

#include "controlwindows.h"
#include "fullscreen.h"
#include "gdi.h"
#include "layout.h"
#include "picturewindow.h"
#include "pixelsurface.h"
#include "windowcontroller.h"
#include "windowfit.h"

#include <optional>

namespace fotonar::win32 {

/// The program's one window on Windows: the controls of the shared layout as native controls
/// (ControlWindows), scaled to the monitor's dots per inch and zoomed to fill the window, over
/// the picture that a run draws (PictureWindow). The window object lives with its HWND; each
/// message goes to a small handler. Its behaviour and keyboard are the shared
/// WindowController's, its layout the shared WindowFit's; the window forwards the messages to
/// them and carries out what they ask.
class FotonarWindow : private WindowFrontEnd,
                      private PixelSurface::Screen,
                      private WindowFit::Widgets
{
public:
    /// Creates the window with its controls and runs the start-up handler; does not show it.
    explicit FotonarWindow(HINSTANCE instance);
    ~FotonarWindow() override;
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
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l);
    HWND createWindow();
    LRESULT handleMessage(UINT message, WPARAM w, LPARAM l);
    bool handleKey(const MSG &message);
    /// Fits the design to the client area at the monitor's density.
    void followClientArea();

    void selectOption(const ControlSpec &option) override { m_controls.select(option); }
    void showSlowDown(int value) override;
    void focus(const ControlSpec &control) override;
    Surface &surface() override { return m_surface; }
    void showRunError(const std::string &message) override;
    void quit(int exitStatus) override;
    bool isFullScreen() const override { return m_fullScreen.isOn(); }
    void setFullScreen(bool full) override { m_fullScreen.set(m_window, full); }
    void describePicture(const PictureDescription &picture) override;
    void announce(const std::string &message) override { m_picture.announce(message); }

    void show(std::span<const PixelRect> rectangles) override;
    void yield() override;
    void showControl(Control control) override;
    void moveControl(Control control, int left, int top) override;
    std::chrono::nanoseconds frameInterval() override;
    std::optional<Colour> systemColour(int entry) override;

    void applyFonts(std::span<const ControlFont> fonts) override { m_controls.applyFonts(fonts); }
    void applyLengths(const ControlLengths &lengths) override;
    void placePicture(const Box &area, const DesignFit &fit) override;
    void placeControl(const ControlSpec &control, const Box &box) override;
    void placeMoved(const ControlSpec &control, const Box &box) override;
    void fitTitle(const ControlSpec &title, const DesignFit &fit) override;

    void onCommand(WPARAM w, LPARAM l);
    void onScroll(WPARAM w, LPARAM l);
    LRESULT onControlColour(HDC dc);
    void onPaint();
    void onDpiChanged(WPARAM w, LPARAM l);
    void onClose();
    void onDestroy();

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    PixelSurface m_surface;
    WindowController m_controller;
    Brush m_grey;
    PictureWindow m_picture; ///< the design's area, under every control, showing the surface
    ControlWindows m_controls;
    double m_density = 1; ///< the monitor's dots per inch / 96
    WindowFit m_fit; ///< the design fitted to the client area at the monitor's density
    FullScreen m_fullScreen;
    int m_exitStatus = 0;
};

} // namespace fotonar::win32
