// The browser front end's WebAssembly side: the shared window controller and the run, wired to
// the page (fotonar.js) through a few imported JavaScript functions and exported C functions.
// The page builds its controls from the layout table that fotonar_layout() hands it, forwards
// their events, and holds them back while a run is going on; a run yields to the browser at
// every frame the pacer asks for (Asyncify), so the page paints and stays responsive.

#include "layout.h"
#include "pixelsurface.h"
#include "run.h"
#include "windowcontroller.h"

#include <emscripten.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

// The page's side, in JavaScript (fotonar.js keeps the controls and the canvas).
// clang-format off
// The picture's changed rectangles onto the canvas, straight from the module's memory.
EM_JS(void, js_put_pixels, (const void *pixels, int width, int height, const int *rects, int count), {
    const image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, pixels, width * height * 4),
        width, height);
    Fotonar.putImage(image, Array.from(HEAP32.subarray(rects >> 2, (rects >> 2) + 4 * count)));
});
// A task of its own: the browser paints what is due and handles what is not input, then the run
// goes on. A message, not a timer, which the browser would hold back after a few in a row.
EM_ASYNC_JS(void, js_yield, (), {
    await new Promise(function(resolve) {
        const channel = new MessageChannel();
        channel.port1.onmessage = function() { resolve(); };
        channel.port2.postMessage(null);
    });
});
EM_JS(void, js_show_control, (const char *name), { Fotonar.showControl(UTF8ToString(name)); });
EM_JS(void, js_move_control, (const char *name, int left, int top), {
    Fotonar.moveControl(UTF8ToString(name), left, top);
});
EM_JS(double, js_frame_interval, (), { return Fotonar.frameInterval(); });
EM_JS(void, js_select_option, (const char *name), { Fotonar.selectOption(UTF8ToString(name)); });
EM_JS(void, js_show_error, (const char *message), { Fotonar.showError(UTF8ToString(message)); });
EM_JS(void, js_quit, (int status), { Fotonar.quit(status); });
// clang-format on

const char *nameOf(fotonar::Control control)
{
    for (const fotonar::ControlSpec &entry : fotonar::windowLayout())
        if (entry.revealedAs == control)
            return entry.name.data();
    return "";
}

class WebWindow : public fotonar::WindowFrontEnd
{
public:
    WebWindow(std::string separator, double scale)
        : m_surface(callbacks())
        , m_controller(*this, std::move(separator))
    {
        m_surface.setForeground(fotonar::kAppWorkspace);
        m_surface.resize(fotonar::kPreferredWidth, fotonar::kPreferredHeight, scale);
        m_controller.Form_Load();
    }

    fotonar::WindowController &controller() { return m_controller; }
    fotonar::PixelSurface &pixels() { return m_surface; }

    void selectOption(const fotonar::ControlSpec &option) override
    {
        js_select_option(option.name.data());
    }
    fotonar::Surface &surface() override { return m_surface; }
    void showRunError(const std::string &message) override { js_show_error(message.c_str()); }
    void quit(int exitStatus) override { js_quit(exitStatus); }

private:
    fotonar::PixelSurface::Callbacks callbacks()
    {
        return {[this](const std::vector<fotonar::PixelRect> &rects) { show(rects); }, js_yield,
            [](fotonar::Control control) { js_show_control(nameOf(control)); },
            [](fotonar::Control control, int left, int top) {
                js_move_control(nameOf(control), left, top);
            },
            [] { return std::chrono::nanoseconds(std::int64_t(js_frame_interval() * 1e6)); }};
    }

    void show(const std::vector<fotonar::PixelRect> &rects)
    {
        std::vector<int> flat;
        flat.reserve(rects.size() * 4);
        for (const fotonar::PixelRect &rect : rects)
            flat.insert(flat.end(),
                {rect.left, rect.top, rect.right - rect.left + 1, rect.bottom - rect.top + 1});
        js_put_pixels(m_surface.pixels(), m_surface.deviceWidth(), m_surface.deviceHeight(),
            flat.data(), int(rects.size()));
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

const char *kindName(fotonar::ControlKind kind)
{
    switch (kind) {
    case fotonar::ControlKind::Frame:
        return "frame";
    case fotonar::ControlKind::Option:
        return "option";
    case fotonar::ControlKind::ScrollBar:
        return "scrollbar";
    case fotonar::ControlKind::Button:
        return "button";
    case fotonar::ControlKind::Label:
        return "label";
    case fotonar::ControlKind::Image:
        return "image";
    }
    return "";
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

/// The window as JSON: its caption, size and slow-down range, and every control of the layout
/// table in table order, with its place, caption, font size, background and tab index.
EMSCRIPTEN_KEEPALIVE const char *fotonar_layout()
{
    using namespace fotonar;
    text = "{\"caption\":" + jsonString(windowCaption())
        + ",\"width\":" + std::to_string(kPreferredWidth)
        + ",\"height\":" + std::to_string(kPreferredHeight) + ",\"slowDown\":["
        + std::to_string(kSlowDownMin) + "," + std::to_string(kSlowDownMax) + "],\"controls\":[";
    bool first = true;
    for (const ControlSpec &entry : windowLayout()) {
        text += first ? "" : ",";
        first = false;
        text += "{\"kind\":\"" + std::string(kindName(entry.kind)) + "\",\"name\":"
            + jsonString(entry.name) + ",\"container\":" + jsonString(entry.container)
            + ",\"box\":[" + std::to_string(entry.box.left) + "," + std::to_string(entry.box.top)
            + "," + std::to_string(entry.box.width) + "," + std::to_string(entry.box.height)
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
    window = std::make_unique<WebWindow>(".", scale);
}

/// The browser's decimal separator. The page asks the browser for it after the first picture,
/// since the browser loads its locale data for that, and tells it before any option is clicked.
EMSCRIPTEN_KEEPALIVE void fotonar_set_separator(const char *separator)
{
    window->controller().fields().setSeparator(separator);
}

/// The canvas now has `scale` device pixels a CSS pixel of the design; the picture is carried
/// over and everything goes to the canvas again.
EMSCRIPTEN_KEEPALIVE void fotonar_resize(double scale)
{
    window->pixels().resize(fotonar::kPreferredWidth, fotonar::kPreferredHeight, scale);
    window->pixels().showChanges();
}

/// The canvas lost what was put on it (the browser may drop a hidden canvas's pixels): the whole
/// picture goes to it again.
EMSCRIPTEN_KEEPALIVE void fotonar_repaint()
{
    window->pixels().invalidate();
    window->pixels().showChanges();
}

EMSCRIPTEN_KEEPALIVE void fotonar_option_click(const char *option)
{
    window->controller().option_Click(option);
}

EMSCRIPTEN_KEEPALIVE void fotonar_scroll_change(int value)
{
    window->controller().HScroll1_Change(value);
}

/// A whole run; yields to the browser as it goes (call it asynchronously).
EMSCRIPTEN_KEEPALIVE void fotonar_start_click()
{
    window->controller().cmdStart_Click();
}

EMSCRIPTEN_KEEPALIVE void fotonar_konec_click()
{
    window->controller().cmdKonec_Click();
}

/// The title's box width and letter spacing for a caption `advance` CSS pixels wide, as two
/// numbers "width spacing".
EMSCRIPTEN_KEEPALIVE const char *fotonar_fit_title(double advance, int characters)
{
    const fotonar::TitleFit fit = fotonar::fitTitle(advance, characters);
    text = std::to_string(fit.width) + " " + std::to_string(fit.letterSpacing);
    return text.c_str();
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

/// How many frames the surface has put on the canvas.
EMSCRIPTEN_KEEPALIVE int fotonar_frames()
{
    return window->pixels().framesShown();
}

} // extern "C"
