#include "optionview.h"

#include "classiccolours.h"
#include "gdi.h"

#include <commctrl.h>

#include <string>

namespace fotonar::win32 {

namespace {

void paintOption(HWND option, HDC dc, const OptionLook &look)
{
    RECT box {};
    GetClientRect(option, &box);
    FillRect(dc, &box, look.background);
    const auto state = LRESULT(SendMessageW(option, BM_GETSTATE, 0, 0));
    RECT indicator {0, (box.bottom - look.indicator) / 2, look.indicator, 0};
    indicator.bottom = indicator.top + look.indicator;
    UINT drawn = DFCS_BUTTONRADIO;
    drawn |= (state & BST_CHECKED) ? DFCS_CHECKED : 0;
    drawn |= (state & BST_PUSHED) ? DFCS_PUSHED : 0;
    drawn |= IsWindowEnabled(option) ? 0 : DFCS_INACTIVE;
    DrawFrameControl(dc, &indicator, DFC_BUTTON, drawn);

    std::wstring text(std::size_t(GetWindowTextLengthW(option)), L'\0');
    GetWindowTextW(option, text.data(), int(text.size()) + 1);
    const Selection font(dc, reinterpret_cast<HFONT>(SendMessageW(option, WM_GETFONT, 0, 0)));
    RECT caption {indicator.right + look.spacing, 0, box.right, box.bottom};
    DrawTextW(dc, text.c_str(), int(text.size()), &caption,
        DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    OffsetRect(&caption, 0, (box.bottom - caption.bottom) / 2);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, classicColour(kWindowTextEntry));
    DrawTextW(dc, text.c_str(), int(text.size()), &caption, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    if (GetFocus() == option) {
        InflateRect(&caption, 1, 1);
        DrawFocusRect(dc, &caption);
    }
}

LRESULT CALLBACK optionProcedure(
    HWND option, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data)
{
    const auto &look = *reinterpret_cast<const OptionLook *>(data);
    if (look.indicator == 0 && message != WM_NCDESTROY)
        return DefSubclassProc(option, message, w, l);
    switch (message) {
    case WM_PAINT: {
        const PaintDc dc(option);
        paintOption(option, dc, look);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_NCDESTROY:
        RemoveWindowSubclass(option, optionProcedure, 0);
        break;
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
    case WM_SETTEXT:
    case WM_SETFONT: {
        // The system's button paints these changes at once, its own way; ours follows.
        const LRESULT result = DefSubclassProc(option, message, w, l);
        InvalidateRect(option, nullptr, FALSE);
        return result;
    }
    }
    return DefSubclassProc(option, message, w, l);
}

} // namespace

void paintAsOption(HWND option, const OptionLook &look)
{
    SetWindowSubclass(option, optionProcedure, 0, reinterpret_cast<DWORD_PTR>(&look));
}

} // namespace fotonar::win32
