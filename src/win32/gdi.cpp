#include "gdi.h"

#include "classiccolours.h"

namespace fotonar::win32 {

COLORREF classicColour(int entry)
{
    return toColorRef(*classicSystemColour(entry));
}

namespace {

// The rectangles of `window`'s update region, as BeginPaint is about to take it.
std::vector<RECT> updateRectangles(HWND window)
{
    const GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    if (GetUpdateRgn(window, region.get(), FALSE) <= NULLREGION)
        return {};
    const DWORD size = GetRegionData(region.get(), 0, nullptr);
    std::vector<RECT> data(size / sizeof(RECT) + 2); // the header and the rectangles, in RECTs
    auto *header = reinterpret_cast<RGNDATA *>(data.data());
    if (size == 0 || !GetRegionData(region.get(), size, header))
        return {};
    const auto *rectangles = reinterpret_cast<const RECT *>(header->Buffer);
    return {rectangles, rectangles + header->rdh.nCount};
}

} // namespace

PaintDc::PaintDc(HWND window)
    : m_window(window)
    , m_rectangles(updateRectangles(window))
    , m_dc(BeginPaint(window, &m_paint))
{
    if (m_rectangles.empty())
        m_rectangles.push_back(m_paint.rcPaint);
}

const wchar_t *registerWindowClass(
    HINSTANCE instance, const wchar_t *name, WNDPROC procedure, UINT style, HICON icon)
{
    WNDCLASSEXW windowClass {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
    return name;
}

std::wstring widen(std::string_view text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string narrow(std::wstring_view text)
{
    const int length = WideCharToMultiByte(
        CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(std::size_t(length), '\0');
    WideCharToMultiByte(
        CP_UTF8, 0, text.data(), int(text.size()), utf8.data(), length, nullptr, nullptr);
    return utf8;
}

} // namespace fotonar::win32
