#include "fotonarwindow.h"

#include <commctrl.h>

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    try {
        fotonar::win32::FotonarWindow window(instance);
        window.showOnScreen(showCommand);
        MSG message {};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (window.handleKey(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        return int(message.wParam);
    } catch (const std::exception &error) {
        MessageBoxW(
            nullptr, fotonar::win32::widen(error.what()).c_str(), L"Fotonar", MB_OK | MB_ICONERROR);
        return 1;
    }
}
