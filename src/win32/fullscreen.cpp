#include "fullscreen.h"

#include <utility>

namespace fotonar::win32 {

void FullScreen::set(HWND window, bool full)
{
    if (full && !m_restored)
        enter(window);
    else if (!full && m_restored)
        leave(window);
}

void FullScreen::enter(HWND window)
{
    Restored restored {};
    restored.placement.length = sizeof(WINDOWPLACEMENT);
    restored.style = GetWindowLongPtrW(window, GWL_STYLE);
    MONITORINFO monitor {};
    monitor.cbSize = sizeof(monitor);
    if (!GetWindowPlacement(window, &restored.placement)
        || !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    m_restored = restored;
    SetWindowLongPtrW(window, GWL_STYLE, restored.style & ~LONG_PTR(WS_OVERLAPPEDWINDOW));
    const RECT &screen = monitor.rcMonitor;
    SetWindowPos(window, HWND_TOP, screen.left, screen.top, screen.right - screen.left,
        screen.bottom - screen.top, SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

void FullScreen::leave(HWND window)
{
    const Restored restored = *std::exchange(m_restored, std::nullopt);
    SetWindowLongPtrW(window, GWL_STYLE, restored.style);
    SetWindowPlacement(window, &restored.placement);
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

} // namespace fotonar::win32
