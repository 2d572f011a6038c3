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

void forgetAnnotatedName(HWND control)
{
    if (IAccPropServices *service = annotationService()) {
        MSAAPROPID name = PROPID_ACC_NAME;
        service->ClearHwndProps(control, DWORD(OBJID_CLIENT), CHILDID_SELF, &name, 1);
        service->Release();
    }
}

} // namespace fotonar::win32
