#include "windowcontroller.h"

#include "run.h"

#include <exception>
#include <optional>

namespace fotonar {

WindowController::WindowController(WindowFrontEnd &frontEnd, std::string decimalSeparator)
    : m_frontEnd(frontEnd)
    , m_fields(std::move(decimalSeparator))
{ }

void WindowController::Form_Load()
{
    for (const ControlId id : {kStartIndexOption, kStartDistanceOption}) {
        const ControlSpec &option = controlSpec(id);
        m_chosen[*option.container] = &option;
        m_frontEnd.selectOption(option);
        m_fields.write(*option.writes);
    }
    m_slowDown = kStartSlowDown;
    m_fields.set(Field::nSpomaleni, wholeNumberText(kStartSlowDown));
    describe(describeEmptyPicture());
}

void WindowController::option_Click(ControlId id)
{
    const ControlSpec &option = controlSpec(id);
    m_chosen[*option.container] = &option;
    m_frontEnd.selectOption(option);
    handle({Action::Kind::WriteOption, &option});
}

void WindowController::HScroll1_Change(int value)
{
    m_slowDown = value;
    handle({Action::Kind::WriteSlowDown, nullptr, value});
}

void WindowController::cmdStart_Click()
{
    handle({Action::Kind::Start});
}

void WindowController::cmdKonec_Click()
{
    handle({Action::Kind::Close});
}

bool WindowController::Form_QueryUnload()
{
    if (!m_running)
        return true;
    handle({Action::Kind::Close});
    return false;
}

void WindowController::click(ControlId control)
{
    if (control == ControlId::cmdStart)
        cmdStart_Click();
    else if (control == ControlId::cmdKonec)
        cmdKonec_Click();
    else if (controlSpec(control).writes)
        option_Click(control);
}

bool WindowController::keyPressed(ControlId focused, Key key)
{
    if (key == Key::FullScreen || key == Key::Escape) {
        const bool full = m_frontEnd.isFullScreen();
        if (m_ended || (key == Key::Escape && !full))
            return false;
        m_frontEnd.setFullScreen(!full);
        return true;
    }
    if (m_ended)
        return false;
    const KeyAction action = keyAction(
        controlSpec(focused), key, [this](const ControlSpec &option) { return isChosen(option); },
        m_slowDown);
    switch (action.kind) {
    case KeyAction::Kind::Unused:
        return false;
    case KeyAction::Kind::Stay:
        break;
    case KeyAction::Kind::Focus:
        m_frontEnd.focus(*action.control);
        break;
    case KeyAction::Kind::Choose:
        m_frontEnd.focus(*action.control);
        option_Click(action.control->id);
        break;
    case KeyAction::Kind::Slide:
        if (action.value != m_slowDown) {
            m_frontEnd.showSlowDown(action.value);
            HScroll1_Change(action.value);
        }
        break;
    case KeyAction::Kind::Press:
        click(action.control->id);
        break;
    }
    return true;
}

bool WindowController::isChosen(const ControlSpec &option) const
{
    const auto chosen = option.container ? m_chosen.find(*option.container) : m_chosen.end();
    return chosen != m_chosen.end() && chosen->second == &option;
}

void WindowController::handle(Action action)
{
    // The run lets the toolkit paint and deliver events while it works; what they ask for waits
    // until it has returned, so that no run begins inside another and no field changes under it.
    if (m_ended)
        return;
    if (m_running) {
        m_waiting.push_back(action);
        return;
    }
    perform(action);
    while (!m_waiting.empty() && !m_ended) {
        const Action next = m_waiting.front();
        m_waiting.pop_front();
        perform(next);
    }
}

void WindowController::perform(const Action &action)
{
    switch (action.kind) {
    case Action::Kind::WriteOption:
        m_fields.write(*action.option->writes);
        break;
    case Action::Kind::WriteSlowDown:
        m_fields.set(Field::nSpomaleni, wholeNumberText(action.value));
        break;
    case Action::Kind::Start:
        run();
        break;
    case Action::Kind::Close:
        end(0);
        break;
    }
}

void WindowController::run()
{
    std::optional<std::string> failure;
    std::optional<RunResults> results;
    m_running = true;
    ++m_runsStarted;
    // The scene erases the last run's picture at once, and with it what its words said.
    describe(describeRunningPicture());
    m_frontEnd.announce(std::string(kRunStarted));
    try {
        Run run(m_frontEnd.surface(), m_fields);
        run.execute();
        results = RunResults::of(run);
    } catch (const std::exception &error) {
        failure = error.what();
    }
    m_running = false;
    if (failure) {
        reportRunError(*failure);
        return;
    }
    describe(describeResults(*results, m_fields.separator()));
    m_frontEnd.announce(m_picture.summary);
}

void WindowController::describe(PictureDescription picture)
{
    m_picture = std::move(picture);
    m_frontEnd.describePicture(m_picture);
}

void WindowController::reportRunError(const std::string &what)
{
    m_ended = true; // nothing the user did meanwhile is done any more
    m_frontEnd.surface().flush(); // what the run drew before it failed stays in view
    const std::string text = runErrorText(what);
    // The box says it aloud; the picture keeps it for as long as the box is up.
    describe(describeRunError(text));
    m_frontEnd.showRunError(text);
    end(kRunErrorExitStatus);
}

void WindowController::end(int exitStatus)
{
    m_ended = true;
    m_waiting.clear();
    m_frontEnd.quit(exitStatus);
}

std::string runErrorText(std::string_view what)
{
    return "Chyba za běhu programu:\n" + std::string(what) + "\n\nProgram se ukončí.";
}

std::string startupFailureText(std::string_view what)
{
    return std::string(kStartupFailure) + "\n" + std::string(what);
}

} // namespace fotonar
