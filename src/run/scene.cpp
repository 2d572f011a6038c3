// The static scene that every run paints before its sweep. The pen width, fill style and fill
// colour in force are set by the set-up around these steps.

#include "run.h"

namespace fotonar {

namespace {

// The erase rectangle: rows 31 to 730 from x = 1 to sceneWidth. Nothing outside it is touched,
// so the controls' strip along the top edge keeps whatever is there.
constexpr int kEraseTop = 30;
constexpr int kEraseRows = 700;
constexpr int kEraseLeft = 1;

} // namespace

void Run::eraseScene()
{
    // Painting over in the background colour is how the previous run's picture goes away.
    for (int r = 1; r <= kEraseRows; ++r)
        m_draw.line({kEraseLeft, double(kEraseTop + r)},
            {double(m_state.sceneWidth), double(kEraseTop + r)}, kBackgroundGrey);
}

void Run::drawLowerMedium()
{
    const RunState &s = m_state;
    for (int r = 1; r <= s.sceneHeight - 380; ++r)
        m_draw.line(
            {double(s.leftX), s.boundaryY + r}, {double(s.rightX), s.boundaryY + r}, kLightGreen);
}

void Run::drawBoundary()
{
    const RunState &s = m_state;
    m_draw.line({double(s.leftX), s.boundaryY}, {double(s.rightX), s.boundaryY}, kDarkGrey);
}

void Run::drawSource()
{
    m_draw.circle(source(), 6, kDarkGrey);
}

void Run::drawDetector()
{
    m_draw.circle(detector(), 6, kDarkGrey);
}

void Run::drawTimeAxes()
{
    const RunState &s = m_state;
    const double base = s.sourceY + 50;
    m_draw.line({double(s.leftX), base}, {double(s.rightX), base}, kDarkGrey);
    m_draw.line({double(s.leftX), s.sourceY - 100}, {double(s.leftX), base}, kDarkGrey);
}

} // namespace fotonar
