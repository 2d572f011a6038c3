#include "fotonarwindow.h"

#include "classiccolours.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace fotonar::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"Fotonar";

std::string localeDecimalSeparator()
{
    wchar_t separator[8] {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 0)
        return ".";
    return narrow(separator);
}

double dpiScale(HWND window)
{
    return GetDpiForWindow(window) / 96.0;
}

} // namespace

FotonarWindow::FotonarWindow(HINSTANCE instance)
    : m_instance(instance)
    , m_surface(*this, PixelOrder::Bgra) // a 32-bit DIB's bytes
    , m_controller(*this, localeDecimalSeparator())
    , m_grey(CreateSolidBrush(toColorRef(kBackgroundGrey)))
    // The window first: the picture and then the controls are its children.
    , m_picture(createWindow(), instance, m_surface, m_grey)
    , m_controls(m_window, instance, m_grey.get())
    , m_density(dpiScale(m_window))
    , m_fit(*this, WindowFit::Origin::ClientArea)
{
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_surface.setForeground(kAppWorkspace);
    followClientArea();
    m_controller.Form_Load();
}

FotonarWindow::~FotonarWindow()
{
    if (m_window)
        DestroyWindow(m_window);
}

HWND FotonarWindow::createWindow()
{
    registerWindowClass(
        m_instance, kWindowClass, windowProcedure, 0, LoadIconW(m_instance, L"FOTONAR"));
    CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, widen(windowCaption()).c_str(),
        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, nullptr, nullptr, m_instance, this);
    if (!m_window)
        throw std::runtime_error("cannot create the window");
    return m_window;
}

void FotonarWindow::showOnScreen(int showCommand)
{
    RECT frame {0, 0, int(std::lround(kPreferredWidth * m_density)),
        int(std::lround(kPreferredHeight * m_density))};
    AdjustWindowRectExForDpi(
        &frame, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_CONTROLPARENT, GetDpiForWindow(m_window));
    MONITORINFO monitor {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT &work = monitor.rcWork;
    const LONG width = frame.right - frame.left;
    const LONG height = frame.bottom - frame.top;
    SetWindowPos(m_window, nullptr,
        work.left + std::max<LONG>(0, (work.right - work.left - width) / 2),
        work.top + std::max<LONG>(0, (work.bottom - work.top - height) / 2), width, height,
        SWP_NOZORDER | SWP_NOACTIVATE);
    const bool large = opensMaximized(work.right - work.left, work.bottom - work.top, m_density);
    ShowWindow(m_window, large ? SW_SHOWMAXIMIZED : showCommand);
    // The focus is always to be seen, not only after the first key press.
    SendMessageW(
        m_window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    SetFocus(m_controls.handle(kStartFocus));
}

LRESULT CALLBACK FotonarWindow::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    // The object knows its window from the first message on; the window's messages are the
    // object's once it is whole (the constructor hands them over), the default ones before.
    if (message == WM_NCCREATE) {
        auto *made
            = static_cast<FotonarWindow *>(reinterpret_cast<CREATESTRUCTW *>(l)->lpCreateParams);
        made->m_window = window;
    }
    auto *self = reinterpret_cast<FotonarWindow *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, w, l);
    return self->handleMessage(message, w, l);
}

LRESULT FotonarWindow::handleMessage(UINT message, WPARAM w, LPARAM l)
{
    switch (message) {
    case WM_COMMAND:
        onCommand(w, l);
        return 0;
    case WM_HSCROLL:
        onScroll(w, l);
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return onControlColour(reinterpret_cast<HDC>(w));
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_SIZE:
        followClientArea();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(w, l);
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    }
    return DefWindowProcW(m_window, message, w, l);
}

void FotonarWindow::dispatch(MSG &message)
{
    if (handleKey(message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool FotonarWindow::handleKey(const MSG &message)
{
    static const std::map<WPARAM, Key> keys {{VK_TAB, Key::Tab}, {VK_LEFT, Key::Left},
        {VK_RIGHT, Key::Right}, {VK_UP, Key::Up}, {VK_DOWN, Key::Down}, {VK_PRIOR, Key::PageUp},
        {VK_NEXT, Key::PageDown}, {VK_HOME, Key::Home}, {VK_END, Key::End}, {VK_SPACE, Key::Space},
        {VK_RETURN, Key::Enter}, {VK_F11, Key::FullScreen}, {VK_ESCAPE, Key::Escape}};
    if (message.message != WM_KEYDOWN)
        return false;
    const auto key = keys.find(message.wParam);
    const ControlSpec *focused = key == keys.end() ? nullptr : m_controls.at(GetFocus());
    if (!focused || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    const bool shifted = key->second == Key::Tab && GetKeyState(VK_SHIFT) < 0;
    return m_controller.keyPressed(focused->id, shifted ? Key::BackTab : key->second);
}

void FotonarWindow::followClientArea()
{
    RECT client {};
    GetClientRect(m_window, &client);
    if (client.right <= 0 || client.bottom <= 0) // minimised: the design stays as it was
        return;
    // Maximized, full screen, resized or on another monitor, during a run too: the picture is
    // drawn again at the new scale, the controls made again at their places.
    if (m_fit.follow(client.right, client.bottom, m_density))
        RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void FotonarWindow::applyLengths(const ControlLengths &lengths)
{
    m_controls.applyLengths(lengths, m_fit.fit().zoom());
}

void FotonarWindow::placePicture(const Box &area, const DesignFit &fit)
{
    // The picture is drawn again at the new scale.
    m_surface.resize(kPreferredWidth, kPreferredHeight, fit.scale());
    m_picture.place(area);
}

void FotonarWindow::placeControl(const ControlSpec &control, const Box &box)
{
    m_controls.place(control, box);
}

void FotonarWindow::placeMoved(const ControlSpec &control, const Box &box)
{
    m_controls.move(control, box);
}

void FotonarWindow::fitTitle(const ControlSpec &title, const DesignFit &fit)
{
    m_controls.fitTitle(title, fit);
}

void FotonarWindow::showSlowDown(int value)
{
    SetScrollPos(m_controls.handle(ControlId::HScroll1), SB_CTL, value, TRUE);
}

void FotonarWindow::focus(const ControlSpec &control)
{
    SetFocus(m_controls.handle(control.id));
}

void FotonarWindow::showRunError(const std::string &message)
{
    MessageBoxW(
        m_window, widen(message).c_str(), widen(windowCaption()).c_str(), MB_OK | MB_ICONERROR);
}

void FotonarWindow::quit(int exitStatus)
{
    m_exitStatus = exitStatus;
    DestroyWindow(m_window);
}

void FotonarWindow::describePicture(const PictureDescription &picture)
{
    m_picture.describe(picture);
}

void FotonarWindow::show(std::span<const PixelRect> rectangles)
{
    for (const PixelRect &rect : rectangles) {
        const RECT area {rect.left, rect.top, rect.right + 1, rect.bottom + 1};
        InvalidateRect(m_picture.handle(), &area, FALSE);
    }
}

void FotonarWindow::yield()
{
    // Paint now, and hand on whatever came meanwhile, input too, so that the window never counts
    // as not responding; the controller holds back what clicks and keys ask for until the run
    // has returned.
    RedrawWindow(m_window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(int(message.wParam));
            break;
        }
        dispatch(message);
    }
}

void FotonarWindow::showControl(Control control)
{
    ShowWindow(m_controls.handle(revealedControl(control).id), SW_SHOWNA);
}

void FotonarWindow::moveControl(Control control, int left, int top)
{
    m_fit.moveControl(control, left, top);
}

std::chrono::nanoseconds FotonarWindow::frameInterval()
{
    // Read once a frame: the window may have moved to another monitor.
    const WindowDc dc(m_window);
    return FramePacer::refreshInterval(GetDeviceCaps(dc, VREFRESH));
}

std::optional<Colour> FotonarWindow::systemColour(int entry)
{
    // The drawing's system colours follow the desktop's colour scheme, as on Windows they do.
    if (entry < 0 || entry > COLOR_MENUBAR)
        return std::nullopt;
    return Colour(GetSysColor(entry));
}

void FotonarWindow::onCommand(WPARAM w, LPARAM l)
{
    if (HIWORD(w) != BN_CLICKED)
        return;
    if (const ControlSpec *control = m_controls.at(reinterpret_cast<HWND>(l)))
        m_controller.click(control->id);
}

void FotonarWindow::onScroll(WPARAM w, LPARAM l)
{
    // The scroll bar's arrows and trough move it as its keys do; the thumb where it is dropped.
    static const std::map<WORD, Key> parts {{SB_LINELEFT, Key::Left}, {SB_LINERIGHT, Key::Right},
        {SB_PAGELEFT, Key::PageUp}, {SB_PAGERIGHT, Key::PageDown}, {SB_LEFT, Key::Home},
        {SB_RIGHT, Key::End}};
    HWND scrollBar = reinterpret_cast<HWND>(l);
    int value = m_controller.slowDown();
    if (const auto part = parts.find(LOWORD(w)); part != parts.end()) {
        value = slideTarget(value, part->second);
    } else if (LOWORD(w) == SB_THUMBTRACK || LOWORD(w) == SB_THUMBPOSITION) {
        SCROLLINFO info {sizeof(info), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        GetScrollInfo(scrollBar, SB_CTL, &info);
        value = std::clamp(info.nTrackPos, kSlowDownMin, kSlowDownMax);
    }
    SetScrollPos(scrollBar, SB_CTL, value, TRUE);
    if (value != m_controller.slowDown())
        m_controller.HScroll1_Change(value);
}

LRESULT FotonarWindow::onControlColour(HDC dc)
{
    // Frames and option buttons stand on the window's grey, their captions in the classic dark
    // text whatever the desktop's scheme gives text: a high-contrast scheme's white would vanish.
    SetBkColor(dc, toColorRef(kBackgroundGrey));
    SetTextColor(dc, classicColour(kWindowTextEntry));
    return reinterpret_cast<LRESULT>(m_grey.get());
}

void FotonarWindow::onPaint()
{
    // The margins around the picture, which its own window paints.
    const PaintDc dc(m_window);
    FillRect(dc, &dc.area(), m_grey.get());
}

void FotonarWindow::onDpiChanged(WPARAM w, LPARAM l)
{
    // Moved to a monitor of another density: the program scales everything itself.
    m_density = HIWORD(w) / 96.0;
    const RECT *suggested = reinterpret_cast<const RECT *>(l);
    SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
        suggested->right - suggested->left, suggested->bottom - suggested->top,
        SWP_NOZORDER | SWP_NOACTIVATE);
    followClientArea();
}

void FotonarWindow::onClose()
{
    if (m_controller.Form_QueryUnload())
        DestroyWindow(m_window);
}

void FotonarWindow::onDestroy()
{
    SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
    m_window = nullptr;
    PostQuitMessage(m_exitStatus);
}

} // namespace fotonar::win32
