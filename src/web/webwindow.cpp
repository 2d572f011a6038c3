// The browser front end's WebAssembly side: the shared window controller, the run and the
// picture, wired to the page (fotonar.js) through a few imported JavaScript functions and
// exported C functions. The page builds its controls from the layout table that
// fotonar_layout() hands it and puts what the user does in its inbox; the program takes the
// inbox's events when the page pumps it, and at each of a run's frames, where the run yields to
// the browser (Asyncify) so that the page paints and stays responsive.

#include "classiccolours.h"
#include "designfit.h"
#include "layout.h"
#include "pixelsurface.h"
#include "run.h"
#include "windowcontroller.h"

#include <emscripten.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// The page's side, in JavaScript (fotonar.js keeps the controls and the canvas).
// clang-format off
// The picture's changed rectangles onto the canvas, straight from the module's memory.
EM_JS(void, js_put_pixels, (const void *pixels, int width, int height, const int *rects, int count), {
    Fotonar.putPixels(HEAPU8, pixels, width, height, HEAP32.subarray(rects >> 2, (rects >> 2) + 4 * count));
});
// A task of its own (the page's nextTask): the browser paints what is due and handles what is
// not input, then the run goes on.
EM_ASYNC_JS(void, js_yield, (), { await Fotonar.nextTask(); });
// The inbox's oldest event: its kind (PageEvent), the control's index (-1: none) and its number
// (a Key, the scroll bar's value, a scale); false where the inbox is empty.
EM_JS(bool, js_take_event, (int *kind, int *control, double *value), {
    const event = Fotonar.takeEvent();
    if (event === undefined)
        return false;
    HEAP32[kind >> 2] = event.kind;
    HEAP32[control >> 2] = event.control;
    HEAPF64[value >> 3] = event.value;
    return true;
});
// The window and its controls as the page builds them; colours as 0xBBGGRR, -1 for none.
EM_JS(void, js_lay_out_window, (const char *caption, int width, int height, int slowDownMin,
    int slowDownMax, int focusColour, int startFocus, int start, int title), {
    Fotonar.layOutWindow({caption: UTF8ToString(caption), width, height,
        slowDown: [slowDownMin, slowDownMax], focus: focusColour, startFocus, start, title});
});
EM_JS(void, js_lay_out_control, (int index, const char *kind, const char *name, int container,
    int left, int top, int width, int height, const char *caption, const char *accessibleName,
    int fontPixels, int background, int tabIndex, bool visible, bool enabled), {
    Fotonar.layOutControl({index, kind: UTF8ToString(kind), name: UTF8ToString(name), container,
        box: [left, top, width, height], caption: UTF8ToString(caption),
        accessibleName: UTF8ToString(accessibleName), fontPixels, background, tabIndex,
        visible: !!visible, enabled: !!enabled});
});
// The browser's name of a key (KeyboardEvent.key; Shift+Tab as the page names it) and its Key.
EM_JS(void, js_lay_out_key, (const char *name, int key), { Fotonar.layOutKey(UTF8ToString(name), key); });
// The numbers of the inbox's kinds of event (PageEvent).
EM_JS(void, js_lay_out_events, (int click, int scroll, int key, int resize, int repaint), {
    Fotonar.layOutEvents({click, scroll, key, resize, repaint});
});
EM_JS(void, js_show_control, (int control), { Fotonar.showControl(control); });
EM_JS(void, js_move_control, (int control, int left, int top), {
    Fotonar.moveControl(control, left, top);
});
EM_JS(double, js_frame_interval, (), { return Fotonar.frameInterval(); });
EM_JS(void, js_select_option, (int option), { Fotonar.selectOption(option); });
EM_JS(void, js_show_slow_down, (int value), { Fotonar.showSlowDown(value); });
EM_JS(void, js_focus, (int control), { Fotonar.focus(control); });
EM_JS(void, js_show_error, (const char *message), { Fotonar.showError(UTF8ToString(message)); });
EM_JS(void, js_describe_picture, (const char *name, const char *description), {
    Fotonar.describePicture(UTF8ToString(name), UTF8ToString(description));
});
EM_JS(void, js_announce, (const char *message), { Fotonar.announce(UTF8ToString(message)); });
EM_JS(void, js_quit, (int status), { Fotonar.quit(status); });
// clang-format on

using fotonar::ControlId;
using fotonar::Key;

// What the page puts in its inbox.
enum class PageEvent { Click, Scroll, Key, Resize, Repaint };

// The keys of the window's keyboard by the browser's names.
constexpr std::array<std::pair<const char *, Key>, 12> kKeys {
    {{"Tab", Key::Tab}, {"Shift+Tab", Key::BackTab}, {"ArrowLeft", Key::Left},
        {"ArrowRight", Key::Right}, {"ArrowUp", Key::Up}, {"ArrowDown", Key::Down},
        {"PageUp", Key::PageUp}, {"PageDown", Key::PageDown}, {"Home", Key::Home},
        {"End", Key::End}, {" ", Key::Space}, {"Enter", Key::Enter}}};

// The control at `index` of the table the page was handed; none for another number.
std::optional<ControlId> controlAt(int index)
{
    if (index < 0 || std::size_t(index) >= fotonar::kControlCount)
        return std::nullopt;
    return ControlId(index);
}

int indexOf(ControlId control)
{
    return int(control);
}

// A colour as the page takes it: 0xBBGGRR, -1 for none.
int colourNumber(std::optional<fotonar::Colour> colour)
{
    return colour ? int(*colour & 0xFFFFFF) : -1;
}

class WebWindow : public fotonar::WindowFrontEnd, private fotonar::PixelSurface::Screen
{
public:
    WebWindow(double scale)
        : m_surface(*this, fotonar::PixelOrder::Rgba) // a canvas's and a texture's bytes
        , m_controller(*this, ".")
    {
        m_surface.setForeground(fotonar::kAppWorkspace);
        m_surface.resize(fotonar::kPreferredWidth, fotonar::kPreferredHeight, scale);
        m_controller.Form_Load();
    }

    fotonar::WindowController &controller() { return m_controller; }
    fotonar::PixelSurface &pixels() { return m_surface; }

    /// Hands every event of the page's inbox to the controller, in order.
    void deliverEvents()
    {
        int kind = 0;
        int control = -1;
        double value = 0;
        while (js_take_event(&kind, &control, &value))
            handle(PageEvent(kind), controlAt(control), value);
    }

private:
    void handle(PageEvent kind, std::optional<ControlId> control, double value)
    {
        switch (kind) {
        case PageEvent::Click:
            if (control)
                m_controller.click(*control);
            break;
        case PageEvent::Scroll:
            m_controller.HScroll1_Change(int(value));
            break;
        case PageEvent::Key:
            if (control)
                m_controller.keyPressed(*control, Key(int(value)));
            break;
        case PageEvent::Resize:
            m_surface.resize(fotonar::kPreferredWidth, fotonar::kPreferredHeight, value);
            m_surface.showChanges();
            break;
        case PageEvent::Repaint: // the browser dropped the canvas's pixels
            m_surface.invalidate();
            m_surface.showChanges();
            break;
        }
    }

    void selectOption(const fotonar::ControlSpec &option) override
    {
        js_select_option(indexOf(option.id));
    }
    void showSlowDown(int value) override { js_show_slow_down(value); }
    void focus(const fotonar::ControlSpec &control) override { js_focus(indexOf(control.id)); }
    fotonar::Surface &surface() override { return m_surface; }
    void showRunError(const std::string &message) override { js_show_error(message.c_str()); }
    void quit(int exitStatus) override { js_quit(exitStatus); }
    void describePicture(const fotonar::PictureDescription &picture) override
    {
        js_describe_picture(picture.name.c_str(), picture.description.c_str());
    }
    void announce(const std::string &message) override { js_announce(message.c_str()); }

    void show(std::span<const fotonar::PixelRect> rects) override
    {
        std::vector<int> flat;
        flat.reserve(rects.size() * 4);
        for (const fotonar::PixelRect &rect : rects)
            flat.insert(flat.end(),
                {rect.left, rect.top, rect.right - rect.left + 1, rect.bottom - rect.top + 1});
        js_put_pixels(m_surface.pixels(), m_surface.deviceWidth(), m_surface.deviceHeight(),
            flat.data(), int(rects.size()));
    }
    void yield() override
    {
        js_yield();
        deliverEvents();
    }
    void showControl(fotonar::Control control) override
    {
        js_show_control(indexOf(fotonar::revealedControl(control).id));
    }
    void moveControl(fotonar::Control control, int left, int top) override
    {
        js_move_control(indexOf(fotonar::revealedControl(control).id), left, top);
    }
    std::chrono::nanoseconds frameInterval() override
    {
        return std::chrono::nanoseconds(std::int64_t(js_frame_interval() * 1e6));
    }

    fotonar::PixelSurface m_surface;
    fotonar::WindowController m_controller;
};

std::unique_ptr<WebWindow> window;
std::string text; // what the last call that returns text returned

fotonar::DesignFit viewport; // the design in the browser's viewport, as the page last asked

} // namespace

extern "C" {

/// Hands the page the window (its caption, size, slow-down range, focus colour, the control
/// that has the focus first, Start and the title), every control of the layout table in table
/// order with its place, caption, font size, background and tab index, the keys of its keyboard
/// and the kinds of event its inbox takes.
EMSCRIPTEN_KEEPALIVE void fotonar_layout()
{
    using namespace fotonar;
    static constexpr const char *kKinds[] {
        "frame", "option", "scrollbar", "button", "label", "image"};
    js_lay_out_window(windowCaption().c_str(), kPreferredWidth, kPreferredHeight, kSlowDownMin,
        kSlowDownMax, colourNumber(classicSystemColour(kHighlightEntry)), indexOf(kStartFocus),
        indexOf(ControlId::cmdStart), indexOf(ControlId::labFotonar));
    for (const ControlSpec &entry : windowLayout())
        js_lay_out_control(indexOf(entry.id), kKinds[int(entry.kind)],
            std::string(entry.name).c_str(), entry.container ? indexOf(*entry.container) : -1,
            entry.box.left, entry.box.top, entry.box.width, entry.box.height,
            std::string(entry.caption).c_str(), std::string(accessibleName(entry)).c_str(),
            entry.fontPixels, colourNumber(entry.background), entry.tabIndex, entry.visible,
            entry.enabled);
    for (const auto &[name, key] : kKeys)
        js_lay_out_key(name, int(key));
    js_lay_out_events(int(PageEvent::Click), int(PageEvent::Scroll), int(PageEvent::Key),
        int(PageEvent::Resize), int(PageEvent::Repaint));
}

/// Makes the window, `scale` being the canvas's device pixels a CSS pixel of the design, and
/// selects the start-up options.
EMSCRIPTEN_KEEPALIVE void fotonar_start(double scale)
{
    window = std::make_unique<WebWindow>(scale);
}

/// The browser's decimal separator. The page asks the browser for it after the first picture,
/// since the browser loads its locale data for that, and tells it before any option is clicked.
EMSCRIPTEN_KEEPALIVE void fotonar_set_separator(const char *separator)
{
    window->controller().fields().setSeparator(separator);
}

/// Takes the page's inbox: clicks, the scroll bar's moves, keys (of the window's keyboard, on
/// the focused control), a new scale and a repaint. A Start runs inside this call, yielding as
/// it goes (call it asynchronously).
EMSCRIPTEN_KEEPALIVE void fotonar_pump()
{
    window->deliverEvents();
}

/// Fits the window's design to a viewport of `width` x `height` device pixels at `density`
/// device pixels a CSS pixel; returns the zoom.
EMSCRIPTEN_KEEPALIVE double fotonar_fit(double width, double height, double density)
{
    viewport.fitTo(width, height, density, fotonar::DesignFit::kBrowserLeastZoom);
    return viewport.zoom();
}

/// Where that fit puts the design's top-left corner, device pixels from the viewport's.
EMSCRIPTEN_KEEPALIVE int fotonar_fit_left()
{
    return viewport.left();
}

EMSCRIPTEN_KEEPALIVE int fotonar_fit_top()
{
    return viewport.top();
}

/// By how much the picture's density is divided at that fit (DesignFit::pictureDivisor).
EMSCRIPTEN_KEEPALIVE int fotonar_fit_divisor()
{
    return viewport.pictureDivisor();
}

/// The title's box width and the space between its letters (fitTitle) for a caption `advance`
/// CSS pixels wide at the window's `zoom`, in the same pixels.
EMSCRIPTEN_KEEPALIVE double fotonar_title_width(double advance, int characters, double zoom)
{
    return fotonar::fitTitle(advance, characters, zoom).width;
}

EMSCRIPTEN_KEEPALIVE double fotonar_title_spacing(double advance, int characters, double zoom)
{
    return fotonar::fitTitle(advance, characters, zoom).letterSpacing;
}

/// The space between the letters of label `control`'s caption, `advance` CSS pixels wide at the
/// window's `zoom`, that makes it fit its box (negative: closed up; 0 where it fits).
EMSCRIPTEN_KEEPALIVE double fotonar_caption_spacing(
    int control, double advance, int characters, double zoom)
{
    const std::optional<ControlId> label = controlAt(control);
    return label ? fotonar::captionSpacing(fotonar::controlSpec(*label), advance, characters, zoom)
                 : 0;
}

/// For tests and diagnostics: a parameter field's text (0 nIndex, 1 nVzdalenost,
/// 2 nSpomaleni), and writing one as no control of the window can.
EMSCRIPTEN_KEEPALIVE const char *fotonar_field(int field)
{
    text = window->controller().fields().text(fotonar::Field(field));
    return text.c_str();
}

EMSCRIPTEN_KEEPALIVE void fotonar_set_field(int field, const char *value)
{
    window->controller().fields().set(fotonar::Field(field), value);
}

/// For the benchmark: the pauses of one run alone, at the slow-down in the field.
EMSCRIPTEN_KEEPALIVE void fotonar_pauses()
{
    fotonar::Run run(window->pixels(), window->controller().fields());
    for (int path = 0; path < fotonar::Run::kPathCount; ++path)
        run.pause();
}

/// How many frames the surface has put on the canvas, and how many runs have begun.
EMSCRIPTEN_KEEPALIVE int fotonar_frames()
{
    return window->pixels().framesShown();
}

EMSCRIPTEN_KEEPALIVE int fotonar_runs()
{
    return window->controller().runsStarted();
}

} // extern "C"
