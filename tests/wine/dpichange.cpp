// fotonar-dpi-change: the window moved to a monitor of another density. Windows then sends
// WM_DPICHANGED with the rectangle it suggests; Wine sends none, so this program makes the
// window in its own process and sends it: to 200 % after a default run, then back to 100 %.
// At each step the window must take the suggested rectangle, the controls and fonts the
// layout's boxes and sizes at the new scale, a label that the run placed its place scaled,
// and the run's picture must be kept: each sampled pixel away from the controls is the pixel
// of the picture before, where the scale puts it (within a pixel at 200 %, where the picture is
// drawn again at the new scale), and exactly so back at 100 %. Wine's frame does not grow with
// the density, so the client area at 200 % is a little more than twice the design: the design
// stands centred in it, as the window fits it. Exit status 0 when all holds, 1
// after a line for each thing that did not, 77 when the desktop is not at 100 % to begin with.

#include "designfit.h"
#include "fotonarwindow.h"
#include "gdi.h"
#include "layout.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using fotonar::ControlId;
using fotonar::controlSpec;
using namespace fotonar::win32;

int failures = 0;

void check(bool holds, const char *what)
{
    if (!holds) {
        std::printf("FAIL: %s\n", what);
        ++failures;
    }
}

void settle()
{
    MSG message {};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

struct Snapshot
{
    std::vector<RECT> controls; // the visible controls, in client coordinates
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;

    DWORD at(int x, int y) const { return pixels[std::size_t(y) * width + x] & 0xFFFFFFu; }
    bool onControl(int x, int y) const
    {
        return std::ranges::any_of(controls, [x, y](const RECT &box) {
            return x >= box.left - 1 && x <= box.right && y >= box.top - 1 && y <= box.bottom;
        });
    }
};

RECT placeOf(HWND control)
{
    RECT box {};
    GetWindowRect(control, &box);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT *>(&box), 2);
    return box;
}

Snapshot grab(HWND window)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Snapshot shot;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t kind[32] {};
        GetClassNameW(child, kind, 32);
        if (IsWindowVisible(child) && std::wstring_view(kind) != L"FotonarPicture")
            shot.controls.push_back(placeOf(child));
    }
    RECT client {};
    GetClientRect(window, &client);
    shot.width = client.right;
    shot.height = client.bottom;
    shot.pixels.resize(std::size_t(shot.width) * shot.height);
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const WindowDc windowDc(window);
    const MemoryDc memory(CreateCompatibleDC(windowDc));
    const Bitmap bitmap(CreateCompatibleBitmap(windowDc, shot.width, shot.height));
    {
        const Selection selected(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, shot.width, shot.height, windowDc, 0, 0, SRCCOPY);
    }
    GetDIBits(memory.get(), bitmap.get(), 0, UINT(shot.height), shot.pixels.data(), &info,
        DIB_RGB_COLORS);
    return shot;
}

// The share of picture points on a 5 px grid of `before` that `now`, at `scale` times its size,
// shows in the same colour where the scale puts them: throughout the block of `scale` x `scale`
// pixels at the first size, and within a pixel of that block at another (the picture is drawn
// again at the new scale, its lines as thin as the pen makes them there). Points on or beside a
// control at either size are left out.
double pictureKept(const Snapshot &before, const Snapshot &now, int scale, POINT origin)
{
    int same = 0, sampled = 0;
    for (int y = 2; origin.y + scale * y + scale <= now.height && y < before.height; y += 5)
        for (int x = 2; origin.x + scale * x + scale <= now.width && x < before.width; x += 5) {
            const int nearX = origin.x + scale * x, nearY = origin.y + scale * y,
                      farX = nearX + scale - 1, farY = nearY + scale - 1;
            if (before.onControl(x, y) || now.onControl(nearX, nearY) || now.onControl(farX, farY))
                continue;
            ++sampled;
            bool kept = scale == 1 && before.at(x, y) == now.at(nearX, nearY);
            for (int dy = -1; scale > 1 && !kept && dy <= scale; ++dy)
                for (int dx = -1; !kept && dx <= scale; ++dx)
                    kept = before.at(x, y) == now.at(nearX + dx, nearY + dy);
            same += kept ? 1 : 0;
        }
    std::printf("at %d00 %%: %d of %d sampled picture points kept\n", scale, same, sampled);
    return sampled > 1000 ? double(same) / sampled : 0;
}

bool placedAt(HWND control, const fotonar::Box &expected)
{
    const RECT box = placeOf(control);
    return box.left == expected.left && box.top == expected.top
        && box.right - box.left == expected.width && box.bottom - box.top == expected.height;
}

int fontPixels(HWND control)
{
    LOGFONTW font {};
    GetObjectW(
        reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
}

// The window's fit at the new density.
fotonar::DesignFit moveTo(HWND window, int dpi, RECT suggested)
{
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    settle();
    RECT now {};
    GetWindowRect(window, &now);
    check(EqualRect(&now, &suggested) != 0, "the window takes the suggested rectangle");
    RECT client {};
    GetClientRect(window, &client);
    fotonar::DesignFit fit;
    fit.fitTo(client.right, client.bottom, dpi / 96.0, fotonar::DesignFit::kDesktopLeastZoom);
    check(fit.zoom() == 1, "the design at its size");
    return fit;
}

} // namespace

int main()
{
    const INITCOMMONCONTROLSEX controls {sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    FotonarWindow fotonar(GetModuleHandleW(nullptr));
    const HWND window = fotonar.handle();
    if (GetDpiForWindow(window) != 96) {
        std::printf("SKIP: the desktop is at %u dpi, not 96\n", GetDpiForWindow(window));
        return 77;
    }
    fotonar.showOnScreen(SW_SHOWNORMAL);
    settle();
    const auto named = [window](ControlId id) {
        return FindWindowExW(window, nullptr, nullptr, widen(controlSpec(id).caption).c_str());
    };
    const HWND start = named(ControlId::cmdStart), source = named(ControlId::labZdroj);
    SendMessageW(start, BM_CLICK, 0, 0); // the default run, to its end
    settle();
    const Snapshot before = grab(window);
    const RECT sourcePlaced = placeOf(source); // in pixels of the design, at 100 %
    RECT atHundred {};
    GetWindowRect(window, &atHundred);

    // At the screen's corner, so that the whole window is on the screen to be read back.
    const RECT atTwoHundred {
        0, 0, 2 * (atHundred.right - atHundred.left), 2 * (atHundred.bottom - atHundred.top)};
    for (const auto &[scale, suggested] : {std::pair {2, atTwoHundred}, std::pair {1, atHundred}}) {
        fotonar::DesignFit fit = moveTo(window, 96 * scale, suggested);
        check(placedAt(start, fit.place(controlSpec(ControlId::cmdStart))),
            "Start at its box, scaled");
        check(fontPixels(start) == scale * controlSpec(ControlId::cmdStart).fontPixels,
            "Start's font, scaled");
        fit.moveControl(fotonar::Control::labZdroj, sourcePlaced.left, sourcePlaced.top);
        check(placedAt(source, fit.place(controlSpec(ControlId::labZdroj))),
            "the run's label at its place, scaled");
        check(pictureKept(before, grab(window), scale, {fit.left(), fit.top()}) > 0.99,
            "the picture kept");
    }
    return failures ? 1 : 0;
}
