#include "fotonarwindow.h"

#include <commctrl.h>
#include <objbase.h>

#include <exception>

namespace {

// COM for the names that screen readers read, the window's one thread its apartment, for as long
// as wWinMain runs, however it leaves.
class ComApartment
{
public:
    ComApartment()
        : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))
    { }
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComApartment(const ComApartment &) = delete;
    ComApartment &operator=(const ComApartment &) = delete;

private:
    HRESULT m_result;
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const ComApartment com;
    try {
        fotonar::win32::FotonarWindow window(instance);
        window.showOnScreen(showCommand);
        MSG message {};
        while (GetMessageW(&message, nullptr, 0, 0) > 0)
            window.dispatch(message);
        return int(message.wParam);
    } catch (const std::exception &error) {
        const std::wstring text = fotonar::win32::widen(fotonar::startupFailureText(error.what()));
        MessageBoxW(nullptr, text.c_str(), L"Fotonar", MB_OK | MB_ICONERROR);
        return fotonar::WindowController::kStartupFailureExitStatus;
    }
}
