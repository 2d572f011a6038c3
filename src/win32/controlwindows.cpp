#include "controlwindows.h"

#include "accessiblename.h"

#include "classiccolours.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace fotonar::win32 {

namespace {

constexpr int kFirstControlId = 100;

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

// The window class and styles that make a control of `entry`'s kind.
struct WindowKind
{
    const wchar_t *windowClass = WC_BUTTONW;
    DWORD style = 0;
    DWORD extendedStyle = 0;
};

WindowKind windowKind(const ControlSpec &entry, HINSTANCE instance)
{
    WindowKind kind;
    kind.style = WS_CHILD | WS_CLIPSIBLINGS | (entry.visible ? WS_VISIBLE : 0)
        | (entry.enabled ? 0 : WS_DISABLED);
    switch (entry.kind) {
    case ControlKind::Frame:
        kind.style |= BS_GROUPBOX;
        // It paints only its edge and title: what lies inside it is the window's to paint.
        kind.extendedStyle = WS_EX_TRANSPARENT;
        break;
    case ControlKind::Option:
        kind.style |= BS_RADIOBUTTON | WS_TABSTOP;
        break;
    case ControlKind::Button:
        kind.style |= BS_PUSHBUTTON | WS_TABSTOP;
        break;
    case ControlKind::ScrollBar:
        kind.windowClass = WC_SCROLLBARW;
        kind.style |= SBS_HORZ | WS_TABSTOP;
        break;
    case ControlKind::Label:
    case ControlKind::Image:
        kind.windowClass = labelClass(instance);
        break;
    }
    return kind;
}

} // namespace

ControlWindows::ControlWindows(HWND parent, HINSTANCE instance, HBRUSH background)
{
    m_optionLook.background = background;
    for (const std::string_view name : {"alfa", "beta"})
        m_bitmaps[name] = Bitmap(static_cast<HBITMAP>(
            LoadImageW(instance, widen(name).c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    int id = kFirstControlId;
    for (const ControlSpec &entry : windowLayout())
        m_windows[std::size_t(entry.id)] = create(entry, parent, instance, id++);
    // A later control of the table stands over an earlier one, as on every platform: a frame
    // under its options, α and β over the prompt. Windows puts a new child window under its
    // older siblings, so each is raised in turn and the last ends on top. The picture stays
    // under them all. (The keyboard's order is the table's tab indices, not this.)
    for (HWND control : m_windows)
        SetWindowPos(control, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND ControlWindows::create(const ControlSpec &entry, HWND parent, HINSTANCE instance, int id)
{
    const std::wstring caption
        = widen(entry.kind == ControlKind::Image ? accessibleName(entry) : entry.caption);
    const WindowKind kind = windowKind(entry, instance);
    HWND control = CreateWindowExW(kind.extendedStyle, kind.windowClass, caption.c_str(),
        kind.style, 0, 0, 0, 0, parent, reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
    if (entry.kind == ControlKind::ScrollBar)
        setUpScrollBar(control, entry);
    if (entry.kind == ControlKind::Option)
        paintAsOption(control, m_optionLook);
    if (entry.kind == ControlKind::Label || entry.kind == ControlKind::Image)
        setUpLabel(control, entry);
    return control;
}

void ControlWindows::setUpScrollBar(HWND scrollBar, const ControlSpec &entry)
{
    SCROLLINFO range {sizeof(range), SIF_RANGE | SIF_POS | SIF_PAGE, kSlowDownMin, kSlowDownMax, 0,
        kSlowDownMin, 0};
    SetScrollInfo(scrollBar, SB_CTL, &range, TRUE);
    // A scroll bar shows no caption that screen readers could name it by: its window text says
    // it for some, the annotation for all.
    const std::wstring name = widen(accessibleName(entry));
    SetWindowTextW(scrollBar, name.c_str());
    annotateName(scrollBar, name.c_str());
    SetWindowSubclass(scrollBar, scrollBarFocus, 0, reinterpret_cast<DWORD_PTR>(&m_focusWidth));
}

void ControlWindows::setUpLabel(HWND label, const ControlSpec &entry)
{
    LabelLook &look = m_looks[entry.id];
    look.background = toColorRef(entry.background.value_or(kBackgroundGrey));
    if (entry.kind == ControlKind::Image)
        look.bitmap = m_bitmaps[entry.caption].get();
    SetWindowLongPtrW(label, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&look));
}

const ControlSpec *ControlWindows::at(HWND window) const
{
    const auto *const found = std::find(m_windows.begin(), m_windows.end(), window);
    if (!window || found == m_windows.end())
        return nullptr;
    return &controlSpec(ControlId(found - m_windows.begin()));
}

void ControlWindows::select(const ControlSpec &option)
{
    for (const ControlSpec &entry : windowLayout())
        if (entry.kind == ControlKind::Option && entry.container == option.container)
            SendMessageW(
                handle(entry.id), BM_SETCHECK, &entry == &option ? BST_CHECKED : BST_UNCHECKED, 0);
}

void ControlWindows::applyFonts(std::span<const ControlFont> fonts)
{
    // The old fonts go once every control has its new one.
    std::map<std::pair<bool, int>, Font> made;
    for (const ControlFont &font : fonts) {
        Font &slot = made[{font.caption, font.pixels}];
        if (!slot)
            slot = font.caption ? timesBold(font.pixels) : defaultFont(font.pixels);
        SendMessageW(
            handle(font.control->id), WM_SETFONT, reinterpret_cast<WPARAM>(slot.get()), TRUE);
        if (auto look = m_looks.find(font.control->id); look != m_looks.end())
            look->second.font = slot.get();
    }
    m_fonts = std::move(made);
}

void ControlWindows::applyLengths(const ControlLengths &lengths, double zoom)
{
    m_focusWidth = lengths.focusFrame;
    m_optionLook.indicator = zoom == 1 ? 0 : lengths.optionIndicator;
    m_optionLook.spacing = lengths.optionSpacing;
}

void ControlWindows::place(const ControlSpec &control, const Box &box)
{
    SetWindowPos(handle(control.id), nullptr, box.left, box.top, box.width, box.height,
        SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlWindows::move(const ControlSpec &control, const Box &box)
{
    SetWindowPos(handle(control.id), nullptr, box.left, box.top, 0, 0,
        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ControlWindows::fitTitle(const ControlSpec &title, const DesignFit &fit)
{
    HWND label = handle(title.id);
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

} // namespace fotonar::win32
