#include "accessiblename.h"

#include <oleacc.h>

namespace fotonar::win32 {

namespace {

IAccPropServices *annotationService()
{
    IAccPropServices *service = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
            IID_IAccPropServices, reinterpret_cast<void **>(&service))))
        return nullptr;
    return service;
}

} // namespace

void annotateName(HWND control, const wchar_t *name)
{
    if (IAccPropServices *service = annotationService()) {
        service->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, name);
        service->Release();
    }
}

void describeImage(HWND window, const wchar_t *description)
{
    if (IAccPropServices *service = annotationService()) {
        VARIANT role {};
        role.vt = VT_I4;
        role.lVal = ROLE_SYSTEM_GRAPHIC;
        service->SetHwndProp(window, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_ROLE, role);
        service->SetHwndPropStr(
            window, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_DESCRIPTION, description);
        service->Release();
    }
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, window, OBJID_CLIENT, CHILDID_SELF);
}

void annotateLiveRegion(HWND window)
{
    // UI Automation's LiveSetting property, which MSAA's annotation passes on; 1 is polite.
    static constexpr GUID kLiveSetting {
        0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
    if (IAccPropServices *service = annotationService()) {
        VARIANT polite {};
        polite.vt = VT_I4;
        polite.lVal = 1;
        service->SetHwndProp(window, DWORD(OBJID_CLIENT), CHILDID_SELF, kLiveSetting, polite);
        service->Release();
    }
}

void announce(HWND window, const wchar_t *message)
{
    SetWindowTextW(window, message);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, window, OBJID_CLIENT, CHILDID_SELF);
}

void forgetAnnotatedName(HWND control)
{
    if (IAccPropServices *service = annotationService()) {
        MSAAPROPID name = PROPID_ACC_NAME;
        service->ClearHwndProps(control, DWORD(OBJID_CLIENT), CHILDID_SELF, &name, 1);
        service->Release();
    }
}

} // namespace fotonar::win32
