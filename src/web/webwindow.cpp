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
#include <cstdlib>
#include <memory>
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
// The inbox's oldest event into `buffer`; 0 where the inbox is empty.
EM_JS(int, js_take_event, (char *buffer, int size), {
    const event = Fotonar.takeEvent();
    if (event === undefined)
        return 0;
    stringToUTF8(event, buffer, size);
    return 1;
});
EM_JS(void, js_show_control, (const char *name), { Fotonar.showControl(UTF8ToString(name)); });
EM_JS(void, js_move_control, (const char *name, int left, int top), {
    Fotonar.moveControl(UTF8ToString(name), left, top);
});
EM_JS(double, js_frame_interval, (), { return Fotonar.frameInterval(); });
EM_JS(void, js_select_option, (const char *name), { Fotonar.selectOption(UTF8ToString(name)); });
EM_JS(void, js_show_slow_down, (int value), { Fotonar.showSlowDown(value); });
EM_JS(void, js_focus, (const char *name), { Fotonar.focus(UTF8ToString(name)); });
EM_JS(void, js_show_error, (const char *message), { Fotonar.showError(UTF8ToString(message)); });
EM_JS(void, js_describe_picture, (const char *name, const char *description), {
    Fotonar.describePicture(UTF8ToString(name), UTF8ToString(description));
});
EM_JS(void, js_announce, (const char *message), { Fotonar.announce(UTF8ToString(message)); });
EM_JS(void, js_quit, (int status), { Fotonar.quit(status); });
// clang-format on

using fotonar::Key;

constexpr std::array<std::pair<std::string_view, Key>, 12> kKeys {
    {{"Tab", Key::Tab}, {"BackTab", Key::BackTab}, {"Left", Key::Left}, {"Right", Key::Right},
        {"Up", Key::Up}, {"Down", Key::Down}, {"PageUp", Key::PageUp}, {"PageDown", Key::PageDown},
        {"Home", Key::Home}, {"End", Key::End}, {"Space", Key::Space}, {"Enter", Key::Enter}}};

// "key op15 Right" as its words.
std::vector<std::string_view> words(std::string_view text)
{
    std::vector<std::string_view> split;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find(' '), text.size());
        split.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return split;
}

// The control the page names.
const fotonar::ControlSpec *controlNamed(std::string_view name)
{
    for (const fotonar::ControlSpec &entry : fotonar::windowLayout())
        if (entry.name == name)
            return &entry;
    return nullptr;
}

// A number the page wrote ("3", "1.25"); the module's C locale reads a point.
double number(std::string_view text)
{
    return std::strtod(std::string(text).c_str(), nullptr);
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
        std::array<char, 64> buffer {};
        while (js_take_event(buffer.data(), int(buffer.size())))
            handle(words(buffer.data()));
    }

private:
    void handle(const std::vector<std::string_view> &event)
    {
        const std::string_view kind = event.empty() ? "" : event[0];
        const fotonar::ControlSpec *control = event.size() > 1 ? controlNamed(event[1]) : nullptr;
        if (kind == "click" && control)
            m_controller.click(control->id);
        else if (kind == "scroll" && event.size() == 2)
            m_controller.HScroll1_Change(int(number(event[1])));
        else if (kind == "key" && event.size() == 3 && control)
            for (const auto &[name, key] : kKeys)
                if (name == event[2])
                    m_controller.keyPressed(control->id, key);
        if (kind == "resize" && event.size() == 2) {
            m_surface.resize(fotonar::kPreferredWidth, fotonar::kPreferredHeight, number(event[1]));
            m_surface.showChanges();
        } else if (kind == "repaint") { // the browser dropped the canvas's pixels
            m_surface.invalidate();
            m_surface.showChanges();
        }
    }

    void selectOption(const fotonar::ControlSpec &option) override
    {
        js_select_option(option.name.data());
    }
    void showSlowDown(int value) override { js_show_slow_down(value); }
    void focus(const fotonar::ControlSpec &control) override { js_focus(control.name.data()); }
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
        js_show_control(fotonar::revealedControl(control).name.data());
    }
    void moveControl(fotonar::Control control, int left, int top) override
    {
        js_move_control(fotonar::revealedControl(control).name.data(), left, top);
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

std::string jsonString(std::string_view value)
{
    std::string quoted = "\"";
    for (const char c : value) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string colourText(std::optional<fotonar::Colour> colour)
{
    if (!colour)
        return "null";
    const fotonar::Colour c = *colour;
    return "[" + std::to_string(c & 0xFF) + "," + std::to_string((c >> 8) & 0xFF) + ","
        + std::to_string((c >> 16) & 0xFF) + "]";
}

} // namespace

extern "C" {

/// The window as JSON: its caption, size, slow-down range and focus colour, and every control of
/// the layout table in table order, with its place, caption, font size, background and tab index.
EMSCRIPTEN_KEEPALIVE const char *fotonar_layout()
{
    using namespace fotonar;
    static constexpr const char *kinds[] {
        "frame", "option", "scrollbar", "button", "label", "image"};
    text = "{\"caption\":" + jsonString(windowCaption()) + ",\"width\":"
        + std::to_string(kPreferredWidth) + ",\"height\":" + std::to_string(kPreferredHeight)
        + ",\"slowDown\":[" + std::to_string(kSlowDownMin) + "," + std::to_string(kSlowDownMax)
        + "],\"focus\":" + colourText(classicSystemColour(kHighlightEntry)) + ",\"controls\":[";
    for (const ControlSpec &entry : windowLayout()) {
        text += (&entry == windowLayout().data() ? "" : ",");
        text += "{\"kind\":\"" + std::string(kinds[int(entry.kind)])
            + "\",\"name\":" + jsonString(entry.name) + ",\"container\":"
            + jsonString(entry.container ? controlSpec(*entry.container).name : "") + ",\"box\":["
            + std::to_string(entry.box.left) + "," + std::to_string(entry.box.top) + ","
            + std::to_string(entry.box.width) + "," + std::to_string(entry.box.height)
            + "],\"caption\":" + jsonString(entry.caption)
            + ",\"accessibleName\":" + jsonString(accessibleName(entry)) + ",\"fontPixels\":"
            + std::to_string(entry.fontPixels) + ",\"background\":" + colourText(entry.background)
            + ",\"tabIndex\":" + std::to_string(entry.tabIndex)
            + ",\"visible\":" + (entry.visible ? "true" : "false")
            + ",\"enabled\":" + (entry.enabled ? "true" : "false") + "}";
    }
    text += "]}";
    return text.c_str();
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

/// Takes the page's inbox: "click NAME", "scroll VALUE", "key NAME KEY" (the focused control
/// and a key of the window's keyboard), "resize SCALE" and "repaint". A Start runs inside this
/// call, yielding as it goes (call it asynchronously).
EMSCRIPTEN_KEEPALIVE void fotonar_pump()
{
    window->deliverEvents();
}

/// How the window's design fits a viewport of `width` x `height` device pixels at `density`
/// device pixels a CSS pixel: "zoom left top", the offsets in device pixels.
EMSCRIPTEN_KEEPALIVE const char *fotonar_fit(double width, double height, double density)
{
    fotonar::DesignFit fit;
    fit.fitTo(width, height, density, fotonar::DesignFit::kBrowserLeastZoom);
    text = std::to_string(fit.zoom()) + " " + std::to_string(fit.left()) + " "
        + std::to_string(fit.top());
    return text.c_str();
}

/// The title's box width and letter spacing for a caption `advance` CSS pixels wide at the
/// window's `zoom`, as two numbers "width spacing" in the same pixels.
EMSCRIPTEN_KEEPALIVE const char *fotonar_fit_title(double advance, int characters, double zoom)
{
    const fotonar::TitleFit fit = fotonar::fitTitle(advance, characters, zoom);
    text = std::to_string(fit.width) + " " + std::to_string(fit.letterSpacing);
    return text.c_str();
}

/// The space between the letters of label `name`'s caption, `advance` CSS pixels wide at the
/// window's `zoom`, that makes it fit its box (negative: closed up; 0 where it fits).
EMSCRIPTEN_KEEPALIVE double fotonar_caption_spacing(
    const char *name, double advance, int characters, double zoom)
{
    return fotonar::captionSpacing(*controlNamed(name), advance, characters, zoom);
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
