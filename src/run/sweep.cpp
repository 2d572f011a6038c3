// The sweep: one photon path per boundary point, left to right, each followed by a pause that
// sets the speed of the animation.

#include "run.h"

#include "runerror.h"

#include <cmath>
#include <string>

namespace fotonar {

namespace {

// The scroll bar offers 1 to 6. A larger slow-down could only come from a corrupted field, and
// its pause (slowDown squared times 50000 sines a path) would freeze the window for good.
constexpr double kMaxSlowDown = 6;
// pathOffset 1, 8, ..., 708.
static_assert((Run::kLastOffset - Run::kFirstOffset) / 7 + 1 == Run::kPathCount);

double square(double value)
{
    return value * value;
}

double divide(double numerator, double denominator)
{
    if (denominator == 0)
        throw RunError("Dělení nulou: index lomu je 0.");
    return numerator / denominator;
}

} // namespace

void Run::sweep()
{
    for (; m_state.pathOffset <= kLastOffset; m_state.pathOffset += m_state.sweepStep) {
        drawPath();
        pause();
    }
}

void Run::drawPath()
{
    const double crossX = m_state.leftX + m_state.pathOffset;
    drawLegs(crossX); // in the pen width in force: 2 on the first path, 1 after it
    measurePath(crossX);
    m_paths.push_back({crossX, m_state.phase});
    m_draw.penWidth(3);
    drawArrow(crossX);
    m_draw.penWidth(1);
    extendSpiral();
    m_draw.penWidth(2);
    drawTimeBar(crossX);
    m_draw.penWidth(1);
    recordIfShortest();
    m_draw.present();
}

void Run::drawLegs(double crossX)
{
    const Point cross {crossX, m_state.boundaryY};
    m_draw.line(source(), cross, kDarkGrey);
    m_draw.line(detector(), cross, kDarkGrey);
}

void Run::measurePath(double crossX)
{
    RunState &s = m_state;
    s.pathAir = std::sqrt(square(s.detectorX - crossX) + square(s.detectorY - s.boundaryY));
    s.pathMedium
        = s.indexN * std::sqrt(square(s.sourceX - crossX) + square(s.sourceY - s.boundaryY));
    s.phase = (2 * s.phaseRate) * (s.pathAir + s.pathMedium);
}

void Run::drawArrow(double crossX)
{
    const RunState &s = m_state;
    const double rowY = s.sourceY + 70;
    m_draw.circle({crossX, rowY}, 1);
    // Screen y grows downwards, so a growing phase turns the arrow clockwise.
    m_draw.line({crossX, rowY},
        {crossX + s.arrowLength * std::cos(s.phase), rowY + s.arrowLength * std::sin(s.phase)},
        kDarkGrey);
}

void Run::extendSpiral()
{
    RunState &s = m_state;
    const Point from {s.spiralX, s.spiralY};
    s.spiralX = s.spiralX + 0.5 * s.arrowLength * std::cos(s.phase);
    s.spiralY = s.spiralY + 0.5 * s.arrowLength * std::sin(s.phase);
    m_draw.line(from, {s.spiralX, s.spiralY}, kDarkGrey);
}

void Run::drawTimeBar(double crossX)
{
    const double baseY = m_state.sourceY + 50;
    m_draw.line({crossX, baseY}, {crossX, barTop(m_state.pathAir + m_state.pathMedium)}, kDarkGrey);
}

double Run::barTop(double opticalPath) const
{
    // Three scales keep the bars of every offered index and distance between the time axis and
    // the top of the vertical axis.
    const RunState &s = m_state;
    const double baseY = s.sourceY + 50;
    if (s.indexN < 2)
        return baseY - divide(0.15 * opticalPath, s.indexN) + 30;
    if (s.distanceD == 100)
        return baseY - divide(0.2 * opticalPath, s.indexN) + 30;
    return baseY - divide(0.5 * opticalPath, s.indexN) + divide(350, s.indexN);
}

void Run::recordIfShortest()
{
    // Strictly shorter: among equal paths the leftmost stays in the record.
    RunState &s = m_state;
    if (s.shortestPath > s.pathAir + s.pathMedium) {
        s.shortestPath = s.pathAir + s.pathMedium;
        s.shortestOffset = s.pathOffset;
    }
}

void Run::pause()
{
    // Pure computation, no clock: the pause lasts as long as this machine takes for the sines.
    // Both the argument and the sink are volatile so that no compiler can drop or hoist the work.
    volatile double paceArgument = 90;
    volatile double paceSink = 0;
    const double outerEnd = number(Field::nSpomaleni);
    if (outerEnd > kMaxSlowDown)
        throw RunError(
            "Zpomalení " + m_parameters.text(Field::nSpomaleni) + " je mimo rozsah 1 až 6.");
    for (double paceOuter = 1; paceOuter <= outerEnd; paceOuter += 1) {
        const double innerEnd = number(Field::nSpomaleni) * kPaceCount;
        for (double paceInner = 1; paceInner <= innerEnd; paceInner += 1)
            paceSink = std::sin(paceArgument);
    }
    (void)paceSink;
}

} // namespace fotonar
