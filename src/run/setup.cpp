// Set-up of a run: the geometry, the spiral origin and the static scene, in the one order in
// which the computing and the drawing interleave.

#include "run.h"

#include "runerror.h"

#include <cmath>

namespace fotonar {

namespace {

struct SpiralRow
{
    double index;
    int offsetX;
    int offsetY;
};

// Where the arrow sum starts, relative to (sourceX, detectorY), chosen so that each index's
// spiral stays clear of the rest of the picture. Index 1 depends on the distance too.
constexpr SpiralRow kSpiralRows[] = {{2.5, 220, 40}, {2, 80, 50}, {1.5, 200, 80}};
constexpr SpiralRow kSpiralIndexOneAt400 = {1, 0, 50};
constexpr SpiralRow kSpiralIndexOneOther = {1, 100, 50};

} // namespace

Run::Run(Surface &surface, const Parameters &parameters)
    : m_draw(surface)
    , m_parameters(parameters)
{ }

void Run::execute()
{
    setUp();
    sweep();
    complete();
}

double Run::number(Field field) const
{
    const std::optional<double> value = m_parameters.number(field);
    // An infinite or NaN "number" would only turn into garbage further on; it is no number here.
    if (!value || !std::isfinite(*value))
        throw RunError(std::string("Text „") + m_parameters.text(field) + "“ v poli "
            + fieldName(field) + " není číslo.");
    return *value;
}

void Run::setUp()
{
    m_state = RunState {};
    m_paths.clear();
    m_paths.reserve(kPathCount);
    m_draw.penWidth(1);
    sizeScene();
    eraseScene();
    setPhaseRate();
    placeBoundary();
    m_draw.penWidth(2);
    drawLowerMedium();
    drawBoundary();
    m_draw.penWidth(1);

    placeSource();
    m_draw.penWidth(3);
    m_draw.fillColour(kCaptionText);
    m_draw.fillSolid();
    drawSource();
    placeDetector();
    m_draw.fillColour(kBackgroundGrey);
    m_draw.fillSolid();
    drawDetector();
    m_draw.penWidth(2);
    drawTimeAxes();

    prepareSweep();
    m_state.indexN = number(Field::nIndex);
    chooseSpiralOrigin();
    m_state.spiralX = spiralOrigin().x;
    m_state.spiralY = spiralOrigin().y;
    m_state.pathOffset = kFirstOffset;
}

void Run::sizeScene()
{
    m_state.sceneWidth = 800;
    m_state.sceneHeight = 581;
}

void Run::setPhaseRate()
{
    m_state.phaseRate = 1.57041 / 100;
    m_state.phaseRate = m_state.phaseRate * 1.1;
}

void Run::placeBoundary()
{
    RunState &s = m_state;
    s.leftX = 50;
    s.rightX = s.leftX + 710;
    s.midX = s.leftX + (s.rightX - s.leftX) / 2.0;
    s.boundaryY = s.sceneHeight / 2.0;
}

void Run::placeSource()
{
    m_state.sourceX = m_state.midX + 100;
    m_state.sourceY = m_state.boundaryY + 150;
}

void Run::placeDetector()
{
    RunState &s = m_state;
    s.distanceD = number(Field::nVzdalenost);
    s.detectorX = (s.sourceX - s.distanceD) + 10;
    s.detectorY = s.boundaryY - 200;
}

void Run::prepareSweep()
{
    m_state.arrowLength = 15;
    m_state.sweepStep = 7;
    m_state.shortestPath
        = 100000; // longer than any path on the screen: the first path sets the record
}

void Run::chooseSpiralOrigin()
{
    RunState &s = m_state;
    for (const SpiralRow &row : kSpiralRows) {
        if (s.indexN == row.index) {
            s.spiralOffsetX = row.offsetX;
            s.spiralOffsetY = row.offsetY;
            return;
        }
    }
    if (s.indexN == 1) {
        const SpiralRow &row
            = number(Field::nVzdalenost) == 400 ? kSpiralIndexOneAt400 : kSpiralIndexOneOther;
        s.spiralOffsetX = row.offsetX;
        s.spiralOffsetY = row.offsetY;
    }
    // Any other index keeps the offsets at 0: the spiral starts at (sourceX, detectorY).
}

Point Run::spiralOrigin() const
{
    return {m_state.sourceX + m_state.spiralOffsetX, m_state.detectorY + m_state.spiralOffsetY};
}

} // namespace fotonar
