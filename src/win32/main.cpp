#include "fotonarwindow.h"

#include <commctrl.h>
#include <objbase.h>

#include <exception>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    // COM, for the names that screen readers read (the window's one thread is its apartment).
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    try {
        fotonar::win32::FotonarWindow window(instance);
        window.showOnScreen(showCommand);
        MSG message {};
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            window.dispatch(message);
        if (SUCCEEDED(com))
            CoUninitialize();
        return int(message.wParam);
    } catch (const std::exception &error) {
        const std::wstring text = fotonar::win32::widen(fotonar::startupFailureText(error.what()));
        MessageBoxW(nullptr, text.c_str(), L"Fotonar", MB_OK | MB_ICONERROR);
        return fotonar::WindowController::kStartupFailureExitStatus;
    }
}
