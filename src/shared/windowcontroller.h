#pragma once

#include "fieldtext.h"
#include "keyboard.h"
#include "layout.h"
#include "picturedescription.h"
#include "surface.h"

#include <deque>
#include <map>
#include <string>
#include <string_view>

namespace fotonar {

/// Start-up: the options selected and the slow-down written, in the order the window does it,
/// and the control that has the focus first, Start: Space or Enter at once runs with them.
inline constexpr ControlId kStartIndexOption = ControlId::op2;
inline constexpr ControlId kStartDistanceOption = ControlId::op400;
inline constexpr int kStartSlowDown = 1;
inline constexpr ControlId kStartFocus = ControlId::cmdStart;

/// The toolkit's side of the window, as its behaviour needs it. Drawing, showing and moving the
/// labels and images that a run reveals, and putting frames on the screen go through the
/// window's Surface; the rest is here.
class WindowFrontEnd
{
public:
    virtual ~WindowFrontEnd() = default;

    /// Shows option button `option` as chosen; the others of its frame show as not chosen.
    virtual void selectOption(const ControlSpec &option) = 0;
    /// Puts the scroll bar at `value` (kSlowDownMin to kSlowDownMax) without reporting a change.
    virtual void showSlowDown(int value) = 0;
    /// Moves the keyboard focus to `control`.
    virtual void focus(const ControlSpec &control) = 0;
    /// What a run draws on, with the labels and images it reveals and moves.
    virtual Surface &surface() = 0;
    /// Tells the user `message` (UTF-8, several lines) and returns once it has been dismissed.
    virtual void showRunError(const std::string &message) = 0;
    /// Closes the window; the program ends with `exitStatus`.
    virtual void quit(int exitStatus) = 0;
    /// Whether the window fills its screen, with nothing of the desktop around it.
    virtual bool isFullScreen() const { return false; }
    /// Fills the screen with the window, or gives it back the size and place it had before.
    virtual void setFullScreen(bool) { }
    /// Hands `picture` to the platform's accessibility as the picture's accessible name and
    /// description, telling assistive technology that they changed. Called by Form_Load, when a
    /// run begins, when it has completed and when it has failed (before showRunError).
    virtual void describePicture(const PictureDescription &picture) { (void)picture; }
    /// Says `message` (UTF-8, one sentence) to assistive technology politely, after what it is
    /// saying, without moving the keyboard focus: kRunStarted when a run begins, the results'
    /// summary when it has completed.
    virtual void announce(const std::string &message) { (void)message; }
};

/// The window's behaviour, the same on every toolkit: the three parameter fields and the
/// handlers that write them, the start-up defaults, the keyboard, the run's place in the event
/// flow and what a run-time error does. A front end forwards its toolkit's events to the
/// handlers, also during a run, whenever the run lets the toolkit deliver them.
///
/// During a run the controls answer at once (an option shows as chosen, the scroll bar moves),
/// but what they do waits for the run's end and then happens in the order it was done: the field
/// writes, a further Start (exactly one more run), Konec and the window's close.
///
/// The handlers are named after a control of the window's table and its event: `cmdStart_Click`
/// is a click on cmdStart, `HScroll1_Change` a change of the scroll bar HScroll1, `Form_Load`
/// the window's load and `Form_QueryUnload` a request to close it.
class WindowController
{
public:
    /// Exit status of the program after a run-time error has been reported.
    static constexpr int kRunErrorExitStatus = 2;
    /// Exit status of a program that could not start.
    static constexpr int kStartupFailureExitStatus = 1;

    /// `decimalSeparator`: the user's locale's (",", "."), in which 1.5 and 2.5 are written.
    WindowController(WindowFrontEnd &frontEnd, std::string decimalSeparator);

    /// Selects the start-up options and writes "2", "400" and "1" into the fields.
    void Form_Load();
    /// A click on option button `option` (op15): selects it and writes its field.
    void option_Click(ControlId id);
    /// The scroll bar now stands at `value` (kSlowDownMin to kSlowDownMax).
    void HScroll1_Change(int value);
    /// A whole run, inside this handler; a run-time error is reported and ends the program with
    /// kRunErrorExitStatus.
    void cmdStart_Click();
    /// Closes the window, after the run if one is going on.
    void cmdKonec_Click();
    /// The window's own close control: true when it may close now. During a run the close
    /// waits, and the end of the run quits with status 0.
    bool Form_QueryUnload();
    /// A click on button or option button `control` (cmdStart, op15): its handler; nothing for
    /// another control.
    void click(ControlId control);
    /// `key` pressed while control `focused` (op15) has the focus: true where the window's
    /// keyboard (keyboard.h) took it, and the toolkit must not handle it as well. F11 toggles
    /// full screen and Escape leaves it, during a run too: the run goes on at the new size.
    bool keyPressed(ControlId focused, Key key);

    const FieldTexts &fields() const { return m_fields; }
    /// For tests and diagnostics; the window writes the fields only from its handlers.
    FieldTexts &fields() { return m_fields; }
    bool isRunning() const { return m_running; }
    /// How many runs have begun since start-up.
    int runsStarted() const { return m_runsStarted; }
    /// Where the scroll bar stands.
    int slowDown() const { return m_slowDown; }
    /// Whether option button `option` is the chosen one of its frame.
    bool isChosen(const ControlSpec &option) const;
    /// The picture in words as it stands: before any run, during one, after the last.
    const PictureDescription &pictureDescription() const { return m_picture; }

private:
    /// What the user did, done now or after the run.
    struct Action
    {
        enum class Kind { WriteOption, WriteSlowDown, Start, Close } kind;
        const ControlSpec *option = nullptr;
        int value = 0;
    };
    void handle(Action action);
    void perform(const Action &action);
    void run();
    void describe(PictureDescription picture);
    void reportRunError(const std::string &what);
    void end(int exitStatus);

    WindowFrontEnd &m_frontEnd;
    FieldTexts m_fields;
    std::map<ControlId, const ControlSpec *> m_chosen; ///< by frame
    int m_slowDown = kStartSlowDown;
    PictureDescription m_picture;
    std::deque<Action> m_waiting; ///< what was done during the run, in order
    bool m_running = false;
    bool m_ended = false;
    int m_runsStarted = 0;
};

/// The text of the run-time error box for the error `what` (UTF-8).
std::string runErrorText(std::string_view what);
/// What the program says, in a box, an alert or on stderr, when it cannot start: this line, then
/// what went wrong (the browser's page is given the line when it is built).
inline constexpr std::string_view kStartupFailure = "Fotonar se nepodařilo spustit:";
std::string startupFailureText(std::string_view what);

} // namespace fotonar
