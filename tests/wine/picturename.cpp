// fotonar-picture-name: what a screen reader reads as the name of the picture, through Active
// Accessibility as it reads it: the window is made in this process (Wine cannot hand an object
// of another process over), then its picture window's accessible name is asked before any run
// and after a default run. Prints both, a line each, in UTF-8; exit status 0, or 2 when there is
// no such window or object.

#include "fotonarwindow.h"

#include <commctrl.h>
#include <oleacc.h>

#include <cstdio>

namespace {

void settle()
{
    MSG message {};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool printName(HWND picture)
{
    IAccessible *accessible = nullptr;
    const HRESULT found = AccessibleObjectFromWindow(picture, DWORD(OBJID_CLIENT),
        __uuidof(IAccessible), reinterpret_cast<void **>(&accessible));
    if (FAILED(found)) {
        std::fprintf(stderr, "fotonar-picture-name: no accessible object (%08lx)\n", found);
        return false;
    }
    VARIANT self {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    accessible->get_accName(self, &name);
    std::printf("%s\n", name ? fotonar::win32::narrow(name).c_str() : "");
    SysFreeString(name);
    accessible->Release();
    return true;
}

} // namespace

int main()
{
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    fotonar::win32::FotonarWindow fotonar(GetModuleHandleW(nullptr));
    fotonar.showOnScreen(SW_SHOWNORMAL);
    settle();
    const HWND picture = FindWindowExW(fotonar.handle(), nullptr, L"FotonarPicture", nullptr);
    if (!picture || !printName(picture))
        return 2;
    fotonar.controller().cmdStart_Click(); // the default run, to its end
    settle();
    return printName(picture) ? 0 : 2;
}
