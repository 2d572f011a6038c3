#include "fotonarwindow.h"

#include "accessiblename.h"

#include "classiccolours.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace fotonar::win32 {

namespace {

constexpr wchar_t kWindowClass[] = L"Fotonar";
constexpr wchar_t kPictureClass[] = L"FotonarPicture";
constexpr int kFirstControlId = 100;

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

// The window paints its own grey and light green behind the captions, so the captions keep the
// classic dark text whatever colours the desktop's scheme gives text: a high-contrast scheme's
// white would vanish on them.
COLORREF classicColour(int entry)
{
    return toColorRef(*classicSystemColour(entry));
}

Font timesBold(int pixels)
{
    return Font(CreateFontW(-pixels, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
        widen(kCaptionFamily).c_str()));
}

Font defaultFont(int pixels)
{
    // The controls without a font of their own: the classic dialog font's size, in Arial.
    return Font(CreateFontW(-pixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
        widen(kDefaultFamily).c_str()));
}

// The scroll bar shows its focus only by a blinking thumb, easily missed on a projector; as in
// every build it gets a frame in the classic highlight colour while it has the focus.
LRESULT CALLBACK scrollBarFocus(
    HWND scrollBar, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR focusWidth)
{
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        InvalidateRect(scrollBar, nullptr, TRUE);
        break;
    case WM_PAINT: {
        const LRESULT painted = DefSubclassProc(scrollBar, message, w, l);
        if (GetFocus() == scrollBar) {
            const WindowDc dc(scrollBar);
            RECT box {};
            GetClientRect(scrollBar, &box);
            const int width = *reinterpret_cast<const int *>(focusWidth);
            const Brush highlight(CreateSolidBrush(classicColour(kHighlightEntry)));
            for (int ring = 0; ring < width; ++ring) {
                FrameRect(dc, &box, highlight.get());
                InflateRect(&box, -1, -1);
            }
        }
        return painted;
    }
    case WM_NCDESTROY:
        forgetAnnotatedName(scrollBar);
        RemoveWindowSubclass(scrollBar, scrollBarFocus, 0);
        break;
    }
    return DefSubclassProc(scrollBar, message, w, l);
}

} // namespace

FotonarWindow::FotonarWindow(HINSTANCE instance)
    : m_instance(instance)
    , m_surface(*this, PixelOrder::Bgra) // a 32-bit DIB's bytes
    , m_controller(*this, localeDecimalSeparator())
    , m_grey(CreateSolidBrush(toColorRef(kBackgroundGrey)))
    , m_fit(*this, WindowFit::Origin::ClientArea)
{
    m_optionLook.background = m_grey.get();
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(instance, L"FOTONAR");
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    m_window = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, widen(windowCaption()).c_str(),
        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
        CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (!m_window)
        throw std::runtime_error("cannot create the window");
    m_density = dpiScale(m_window);
    m_surface.setForeground(kAppWorkspace);
    createControls();
    followClientArea();
    m_controller.Form_Load();
}

FotonarWindow::~FotonarWindow()
{
    if (m_window)
        DestroyWindow(m_window);
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
    SetFocus(controlHandle(kStartFocus));
}

LRESULT CALLBACK FotonarWindow::windowProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    if (message == WM_NCCREATE) {
        auto *self
            = static_cast<FotonarWindow *>(reinterpret_cast<CREATESTRUCTW *>(l)->lpCreateParams);
        self->m_window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
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
        return onControlColour(reinterpret_cast<HDC>(w), reinterpret_cast<HWND>(l));
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT: { // the margins around the picture, which its own window paints
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_window, &paint);
        FillRect(dc, &paint.rcPaint, m_grey.get());
        EndPaint(m_window, &paint);
        return 0;
    }
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
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        m_window = nullptr;
        PostQuitMessage(m_exitStatus);
        return 0;
    }
    return DefWindowProcW(m_window, message, w, l);
}

void FotonarWindow::createPicture()
{
    WNDCLASSEXW pictureClass {};
    pictureClass.cbSize = sizeof(pictureClass);
    pictureClass.lpfnWndProc = pictureProcedure;
    pictureClass.hInstance = m_instance;
    pictureClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    pictureClass.lpszClassName = kPictureClass;
    RegisterClassExW(&pictureClass);
    // Under every control: created first, it stays at the bottom of the window's children. A
    // control over it is cut out of its painting; a frame, transparent, is painted after it.
    m_picture = CreateWindowExW(0, kPictureClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
        0, 0, 0, 0, m_window, nullptr, m_instance, nullptr);
    if (!m_picture)
        throw std::runtime_error("cannot create the picture");
    SetWindowLongPtrW(m_picture, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    // A screen reader's polite announcements: a label of no size, which shows nothing.
    m_announcer = CreateWindowExW(0, WC_STATICW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
        m_window, nullptr, m_instance, nullptr);
    annotateLiveRegion(m_announcer);
}

LRESULT CALLBACK FotonarWindow::pictureProcedure(HWND picture, UINT message, WPARAM w, LPARAM l)
{
    auto *self = reinterpret_cast<FotonarWindow *>(GetWindowLongPtrW(picture, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT:
        if (self) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(picture, &paint);
            self->paintPicture(dc, paint.rcPaint);
            EndPaint(picture, &paint);
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_NCHITTEST:
        return HTTRANSPARENT; // a click on the picture is the window's
    }
    return DefWindowProcW(picture, message, w, l);
}

void FotonarWindow::createControls()
{
    createPicture();
    for (const std::string_view name : {"alfa", "beta"})
        m_bitmaps[name] = Bitmap(static_cast<HBITMAP>(
            LoadImageW(m_instance, widen(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    int id = kFirstControlId;
    for (const ControlSpec &entry : windowLayout())
        m_controls.push_back({&entry, createControl(entry, id++)});
    stackInTableOrder();
}

void FotonarWindow::stackInTableOrder()
{
    // A later control of the table stands over an earlier one, as on every platform: a frame
    // under its options, α and β over the prompt. Windows puts a new child window under its
    // older siblings, so each is raised in turn and the last ends on top. The picture stays
    // under them all. (The keyboard's order is the table's tab indices, not this.)
    for (const ControlWindow &control : m_controls)
        SetWindowPos(
            control.handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND FotonarWindow::createControl(const ControlSpec &entry, int id)
{
    const std::wstring caption
        = widen(entry.kind == ControlKind::Image ? accessibleName(entry) : entry.caption);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (entry.visible ? WS_VISIBLE : 0)
        | (entry.enabled ? 0 : WS_DISABLED);
    const wchar_t *windowClass = WC_BUTTONW;
    switch (entry.kind) {
    case ControlKind::Frame:
        style |= BS_GROUPBOX;
        break;
    case ControlKind::Option:
        style |= BS_RADIOBUTTON | WS_TABSTOP;
        break;
    case ControlKind::Button:
        style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case ControlKind::ScrollBar:
        windowClass = WC_SCROLLBARW;
        style |= SBS_HORZ | WS_TABSTOP;
        break;
    case ControlKind::Label:
    case ControlKind::Image:
        windowClass = labelClass(m_instance);
        break;
    }
    // A frame paints only its edge and title: what lies inside it is the window's to paint.
    const DWORD extendedStyle = entry.kind == ControlKind::Frame ? WS_EX_TRANSPARENT : 0;
    HWND control = CreateWindowExW(extendedStyle, windowClass, caption.c_str(), style, 0, 0, 0, 0,
        m_window, reinterpret_cast<HMENU>(INT_PTR(id)), m_instance, nullptr);
    if (entry.kind == ControlKind::ScrollBar) {
        SCROLLINFO range {sizeof(range), SIF_RANGE | SIF_POS | SIF_PAGE, kSlowDownMin, kSlowDownMax,
            0, kSlowDownMin, 0};
        SetScrollInfo(control, SB_CTL, &range, TRUE);
        // A scroll bar shows no caption that screen readers could name it by: its window text
        // says it for some, the annotation for all.
        const std::wstring name = widen(accessibleName(entry));
        SetWindowTextW(control, name.c_str());
        annotateName(control, name.c_str());
        SetWindowSubclass(control, scrollBarFocus, 0, reinterpret_cast<DWORD_PTR>(&m_focusWidth));
    }
    if (entry.kind == ControlKind::Option)
        paintAsOption(control, m_optionLook);
    if (entry.kind == ControlKind::Label || entry.kind == ControlKind::Image) {
        LabelLook &look = m_looks[entry.id];
        look.background = toColorRef(entry.background.value_or(kBackgroundGrey));
        if (entry.kind == ControlKind::Image)
            look.bitmap = m_bitmaps[entry.caption].get();
        SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&look));
    }
    return control;
}

void FotonarWindow::applyFonts(std::span<const ControlFont> fonts)
{
    // One font a size, made at the new scale; the old ones go once no control uses them.
    std::map<std::pair<bool, int>, Font> made;
    for (const ControlFont &font : fonts) {
        Font &slot = made[{font.caption, font.pixels}];
        if (!slot)
            slot = font.caption ? timesBold(font.pixels) : defaultFont(font.pixels);
        SendMessageW(controlHandle(font.control->id), WM_SETFONT,
            reinterpret_cast<WPARAM>(slot.get()), TRUE);
        if (auto look = m_looks.find(font.control->id); look != m_looks.end())
            look->second.font = slot.get();
    }
    m_fonts = std::move(made);
}

void FotonarWindow::applyLengths(const ControlLengths &lengths)
{
    m_focusWidth = lengths.focusFrame;
    // At the design's size the system paints the options, in the desktop's own style.
    m_optionLook.indicator = m_fit.fit().zoom() == 1 ? 0 : lengths.optionIndicator;
    m_optionLook.spacing = lengths.optionSpacing;
}

void FotonarWindow::placePicture(const Box &area, const DesignFit &fit)
{
    // The picture is drawn again at the new scale.
    m_surface.resize(kPreferredWidth, kPreferredHeight, fit.scale());
    SetWindowPos(
        m_picture, HWND_BOTTOM, area.left, area.top, area.width, area.height, SWP_NOACTIVATE);
}

void FotonarWindow::placeControl(const ControlSpec &control, const Box &box)
{
    SetWindowPos(controlHandle(control.id), nullptr, box.left, box.top, box.width, box.height,
        SWP_NOZORDER | SWP_NOACTIVATE);
}

void FotonarWindow::placeMoved(const ControlSpec &control, const Box &box)
{
    // Its size stays as the last fit made it, until the next.
    SetWindowPos(controlHandle(control.id), nullptr, box.left, box.top, 0, 0,
        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FotonarWindow::fitTitle(const ControlSpec &title, const DesignFit &fit)
{
    HWND label = controlHandle(title.id);
    LabelLook &look = m_looks[title.id];
    std::wstring text(std::size_t(GetWindowTextLengthW(label)), L'\0');
    GetWindowTextW(label, text.data(), int(text.size()) + 1);
    const WindowDc dc(label);
    const Selection selected(dc, look.font);
    SIZE extent {};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
    const TitleFit fitted = fotonar::fitTitle(extent.cx, int(text.size()), fit.scale());
    // GDI spaces letters by whole pixels: closed up a whole pixel more rather than overflow.
    look.characterExtra = int(std::floor(fitted.letterSpacing));
    SetWindowPos(label, nullptr, 0, 0, int(std::lround(fitted.width)), fit.place(title).height,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND FotonarWindow::controlHandle(ControlId id) const
{
    return m_controls[std::size_t(id)].handle;
}

const FotonarWindow::ControlWindow *FotonarWindow::controlAt(HWND handle) const
{
    for (const ControlWindow &control : m_controls)
        if (control.handle == handle)
            return &control;
    return nullptr;
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
    const ControlWindow *focused = key == keys.end() ? nullptr : controlAt(GetFocus());
    if (!focused || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0)
        return false;
    const bool shifted = key->second == Key::Tab && GetKeyState(VK_SHIFT) < 0;
    return m_controller.keyPressed(focused->entry->id, shifted ? Key::BackTab : key->second);
}

void FotonarWindow::selectOption(const ControlSpec &option)
{
    for (const ControlWindow &control : m_controls)
        if (control.entry->kind == ControlKind::Option
            && control.entry->container == option.container)
            SendMessageW(control.handle, BM_SETCHECK,
                control.entry == &option ? BST_CHECKED : BST_UNCHECKED, 0);
}

void FotonarWindow::showSlowDown(int value)
{
    SetScrollPos(controlHandle(ControlId::HScroll1), SB_CTL, value, TRUE);
}

void FotonarWindow::focus(const ControlSpec &control)
{
    SetFocus(controlHandle(control.id));
}

Surface &FotonarWindow::surface()
{
    return m_surface;
}

void FotonarWindow::paintPicture(HDC dc, const RECT &area)
{
    // Straight from the picture's memory, which is laid out as a top-down 32-bit DIB: described
    // from the area's first row on, so that its rows count from the top whatever GDI's origin.
    // Before the first drawing the picture is grey.
    const std::uint32_t *pixels = m_surface.pixels();
    const RECT picture {0, 0, m_surface.deviceWidth(), m_surface.deviceHeight()};
    RECT shown {};
    if (!pixels || !IntersectRect(&shown, &area, &picture)) {
        FillRect(dc, &area, m_grey.get());
        return;
    }
    BITMAPINFO info {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), picture.right, -(shown.bottom - shown.top), 1, 32,
        BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(dc, shown.left, shown.top, DWORD(shown.right - shown.left),
        DWORD(shown.bottom - shown.top), shown.left, 0, 0, UINT(shown.bottom - shown.top),
        pixels + std::size_t(shown.top) * std::size_t(picture.right), &info, DIB_RGB_COLORS);
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

void FotonarWindow::show(std::span<const PixelRect> rectangles)
{
    for (const PixelRect &rect : rectangles) {
        const RECT area {rect.left, rect.top, rect.right + 1, rect.bottom + 1};
        InvalidateRect(m_picture, &area, FALSE);
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
    ShowWindow(controlHandle(revealedControl(control).id), SW_SHOWNA);
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

void FotonarWindow::onCommand(WPARAM w, LPARAM l)
{
    if (HIWORD(w) != BN_CLICKED)
        return;
    if (const ControlWindow *control = controlAt(reinterpret_cast<HWND>(l)))
        m_controller.click(control->entry->id);
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

LRESULT FotonarWindow::onControlColour(HDC dc, HWND)
{
    // Frames and option buttons stand on the window's grey.
    SetBkColor(dc, toColorRef(kBackgroundGrey));
    SetTextColor(dc, classicColour(kWindowTextEntry));
    return reinterpret_cast<LRESULT>(m_grey.get());
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

void FotonarWindow::setFullScreen(bool full)
{
    // The classic way: the frame goes and the window covers its monitor; leaving, it gets back
    // its frame and the place (normal or maximized) it had.
    if (full && !m_restored) {
        Restored restored {};
        restored.placement.length = sizeof(WINDOWPLACEMENT);
        restored.style = GetWindowLongPtrW(m_window, GWL_STYLE);
        MONITORINFO monitor {};
        monitor.cbSize = sizeof(monitor);
        if (!GetWindowPlacement(m_window, &restored.placement)
            || !GetMonitorInfoW(MonitorFromWindow(m_window, MONITOR_DEFAULTTONEAREST), &monitor))
            return;
        m_restored = restored;
        SetWindowLongPtrW(m_window, GWL_STYLE, restored.style & ~LONG_PTR(WS_OVERLAPPEDWINDOW));
        const RECT &screen = monitor.rcMonitor;
        SetWindowPos(m_window, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
            screen.bottom - screen.top, SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    } else if (!full && m_restored) {
        const Restored restored = *std::exchange(m_restored, std::nullopt);
        SetWindowLongPtrW(m_window, GWL_STYLE, restored.style);
        SetWindowPlacement(m_window, &restored.placement);
        SetWindowPos(m_window, nullptr, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    }
}

void FotonarWindow::describePicture(const PictureDescription &picture)
{
    // Its window text is its name, as a screen reader reads a window's.
    SetWindowTextW(m_picture, widen(picture.name).c_str());
    describeImage(m_picture, widen(picture.description).c_str());
}

void FotonarWindow::announce(const std::string &message)
{
    win32::announce(m_announcer, widen(message).c_str());
}

void FotonarWindow::onClose()
{
    if (m_controller.Form_QueryUnload())
        DestroyWindow(m_window);
}

} // namespace fotonar::win32
