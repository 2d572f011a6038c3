// The completion: the result of the run drawn over the sweep, and the labels revealed next to
// what they name.

#include "run.h"

namespace fotonar {

void Run::complete()
{
    drawResult();
    revealLabels();
    m_draw.flush(); // on the screen before the Start handler returns
}

void Run::drawResult()
{
    const RunState &s = m_state;
    const Point shortestCross {shortestX(), s.boundaryY};
    m_draw.penWidth(2);
    m_draw.line(source(), shortestCross, kDarkGrey);
    m_draw.line(detector(), shortestCross, kDarkGrey);
    m_draw.line(spiralOrigin(), {s.spiralX, s.spiralY}, kResultantGreen);
    m_draw.line({shortestX(), s.sourceY + 30}, {shortestX(), s.detectorY}); // the normal
    m_draw.fillColour(kCaptionText);
    m_draw.fillSolid();
    m_draw.circle(detector(), 6, kDarkGrey);
}

void Run::revealLabels()
{
    const RunState &s = m_state;
    m_draw.reveal(Control::labZdroj, {s.sourceX - 35, s.sourceY + 8});
    m_draw.reveal(Control::labDetektor, {s.detectorX, s.detectorY - 25});
    m_draw.reveal(Control::labCas, {s.leftX + 10.0, s.sourceY - 100});
    m_draw.reveal(Control::imaAlfy, {shortestX() - 20, s.boundaryY - 100});
    m_draw.reveal(Control::imaBeta, {shortestX() + 5, s.boundaryY + 100});
    m_draw.reveal(Control::labSuma, {s.sourceX + 70, s.detectorY - 25});
    m_draw.reveal(Control::labRadiusvektory, {s.sceneWidth / 2.0, s.sceneHeight - 55.0});
}

} // namespace fotonar
