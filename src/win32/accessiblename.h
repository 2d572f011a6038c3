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

/// Makes `window` an image to screen readers (a graphic, named by its window text) with the
/// description `description`, and tells them that its name and description changed.
void describeImage(HWND window, const wchar_t *description);

/// Makes `window` a polite live region, whose window text screen readers say when it changes,
/// after what they are saying.
void annotateLiveRegion(HWND window);
/// Says `message` through live region `window`, without moving the keyboard focus.
void announce(HWND window, const wchar_t *message);

} // namespace fotonar::win32
