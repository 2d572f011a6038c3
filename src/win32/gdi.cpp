#include "gdi.h"

#include "classiccolours.h"

namespace fotonar::win32 {

COLORREF classicColour(int entry)
{
    return toColorRef(*classicSystemColour(entry));
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
