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
    for (const std::string_view option : {kStartIndexOption, kStartDistanceOption}) {
        m_frontEnd.selectOption(controlSpec(option));
        m_fields.write(*optionChoice(option));
    }
    m_fields.set(Field::nSpomaleni, wholeNumberText(kStartSlowDown));
}

void WindowController::option_Click(std::string_view option)
{
    m_frontEnd.selectOption(controlSpec(option));
    m_fields.write(*optionChoice(option));
}

void WindowController::HScroll1_Change(int value)
{
    m_fields.set(Field::nSpomaleni, wholeNumberText(value));
}

void WindowController::cmdStart_Click()
{
    // The run lets the toolkit paint while it works, and painting may deliver events that are
    // not input; a Start among them must not begin a run inside this one.
    if (m_running)
        return;
    std::optional<std::string> failure;
    m_running = true;
    try {
        Run(m_frontEnd.surface(), m_fields).execute();
    } catch (const std::exception &error) {
        failure = error.what();
    }
    m_running = false;
    if (failure)
        reportRunError(*failure);
    else if (m_closeRequested)
        m_frontEnd.quit(0);
}

void WindowController::cmdKonec_Click()
{
    if (Form_QueryUnload())
        m_frontEnd.quit(0);
}

bool WindowController::Form_QueryUnload()
{
    if (m_running) {
        m_closeRequested = true;
        return false;
    }
    return true;
}

void WindowController::reportRunError(const std::string &what)
{
    m_frontEnd.surface().flush(); // what the run drew before it failed stays in view
    m_frontEnd.showRunError(runErrorText(what));
    m_frontEnd.quit(kRunErrorExitStatus);
}

std::string runErrorText(std::string_view what)
{
    return "Chyba za běhu programu:\n" + std::string(what) + "\n\nProgram se ukončí.";
}

} // namespace fotonar
