#pragma once

#include <windows.h>

namespace fotonar::win32 {

/// Gives `control` the name that screen readers read (the Name property of Active Accessibility,
/// which UI Automation passes on), for a standard control that has no caption of its own to be
/// named by, such as a scroll bar. Needs COM on this thread; where the annotation service is
/// missing, the control keeps the name its kind gives it.
void annotateName(HWND control, const wchar_t *name);

/// Drops the annotation of a control that is being destroyed.
void forgetAnnotatedName(HWND control);

} // namespace fotonar::win32
