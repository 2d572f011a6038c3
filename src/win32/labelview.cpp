#include "labelview.h"

#include "classiccolours.h"

#include <string>

namespace fotonar::win32 {

namespace {

void paintLabel(HWND window, HDC dc, const LabelLook &look)
{
    RECT box {};
    GetClientRect(window, &box);
    if (look.bitmap) {
        BITMAP info {};
        GetObjectW(look.bitmap, sizeof(info), &info);
        MemoryDc source(CreateCompatibleDC(dc));
        const Selection bitmap(source.get(), look.bitmap);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, box.right, box.bottom, source.get(), 0, 0, info.bmWidth, info.bmHeight,
            SRCCOPY);
        return;
    }
    SetDCBrushColor(dc, look.background);
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    std::wstring text(std::size_t(GetWindowTextLengthW(window)), L'\0');
    GetWindowTextW(window, text.data(), int(text.size()) + 1);
    const Selection font(dc, look.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextCharacterExtra(dc, look.characterExtra);
    // The classic text colours, not the desktop scheme's: the label paints its own fixed
    // background, on which a high-contrast scheme's white text would vanish.
    SetTextColor(dc, classicColour(IsWindowEnabled(window) ? kWindowTextEntry : kGrayTextEntry));
    DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

LRESULT CALLBACK labelProcedure(HWND window, UINT message, WPARAM w, LPARAM l)
{
    const auto *look
        = reinterpret_cast<const LabelLook *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_PAINT: {
        const PaintDc dc(window);
        if (look)
            paintLabel(window, dc, *look);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_NCHITTEST:
        return HTTRANSPARENT; // clicks go to the window beneath, as on a plain label
    case WM_ENABLE:
        InvalidateRect(window, nullptr, FALSE);
        break;
    }
    return DefWindowProcW(window, message, w, l);
}

} // namespace

const wchar_t *labelClass(HINSTANCE instance)
{
    // Painted whole: a new size repaints it all.
    static const wchar_t *const name
        = registerWindowClass(instance, L"FotonarLabel", labelProcedure, CS_HREDRAW | CS_VREDRAW);
    return name;
}

} // namespace fotonar::win32
