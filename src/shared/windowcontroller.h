#pragma once

#include "fieldtext.h"
#include "layout.h"
#include "surface.h"

#include <string>
#include <string_view>

namespace fotonar {

/// The toolkit's side of the window, as its behaviour needs it. Drawing, showing and moving the
/// labels and images that a run reveals, and putting frames on the screen go through the
/// window's Surface; the rest is here.
class WindowFrontEnd
{
public:
    virtual ~WindowFrontEnd() = default;

    /// Shows option button `option` as chosen; the others of its frame show as not chosen.
    virtual void selectOption(const ControlSpec &option) = 0;
    /// What a run draws on, with the labels and images it reveals and moves.
    virtual Surface &surface() = 0;
    /// Tells the user `message` (UTF-8, several lines) and returns once it has been dismissed.
    virtual void showRunError(const std::string &message) = 0;
    /// Closes the window; the program ends with `exitStatus`.
    virtual void quit(int exitStatus) = 0;
};

/// The window's behaviour, the same on every toolkit: the three parameter fields and the
/// handlers that write them, the start-up defaults, the run's place in the event flow and what
/// a run-time error does. A front end forwards its toolkit's events to the handlers.
///
/// The handlers are named after a control of the window's table and its event: `cmdStart_Click`
/// is a click on cmdStart, `HScroll1_Change` a change of the scroll bar HScroll1, `Form_Load`
/// the window's load and `Form_QueryUnload` a request to close it.
class WindowController
{
public:
    /// Exit status of the program after a run-time error has been reported.
    static constexpr int kRunErrorExitStatus = 2;

    /// `decimalSeparator`: the user's locale's (",", "."), in which 1.5 and 2.5 are written.
    WindowController(WindowFrontEnd &frontEnd, std::string decimalSeparator);

    /// Selects the start-up options and writes "2", "400" and "1" into the fields.
    void Form_Load();
    /// A click on option button `option` ("op15"): writes its field; selects it as well, for
    /// toolkits whose option buttons do not select themselves.
    void option_Click(std::string_view option);
    /// The scroll bar now stands at `value` (kSlowDownMin to kSlowDownMax).
    void HScroll1_Change(int value);
    /// A whole run, inside this handler; a run-time error is reported and ends the program with
    /// kRunErrorExitStatus. Clicks made during a run wait in the toolkit's queue until it has
    /// returned; a Start that reaches it during a run anyway is ignored.
    void cmdStart_Click();
    /// Closes the window, after the run if one is going on.
    void cmdKonec_Click();
    /// The window's own close control: true when it may close now. During a run the close
    /// waits, and the end of the run quits with status 0.
    bool Form_QueryUnload();

    const FieldTexts &fields() const { return m_fields; }
    /// For tests and diagnostics; the window writes the fields only from its handlers.
    FieldTexts &fields() { return m_fields; }
    bool isRunning() const { return m_running; }

private:
    void reportRunError(const std::string &what);

    WindowFrontEnd &m_frontEnd;
    FieldTexts m_fields;
    bool m_running = false;
    bool m_closeRequested = false;
};

/// The text of the run-time error box for the error `what` (UTF-8).
std::string runErrorText(std::string_view what);

} // namespace fotonar
