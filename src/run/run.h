#pragma once

#include "drawing.h"
#include "parameters.h"
#include "runstate.h"

#include <vector>

namespace fotonar {

/// One path of a sweep as the run met it, kept for a description of the picture; the run never
/// reads it back.
struct PathRecord
{
    double crossX; ///< x of its boundary point, in pixels: 51, 58, ..., 758
    double phase; ///< angle of its arrow in radians, never reduced modulo a full turn
};

/// One press of Start: set-up with the static scene, the sweep over 102 photon paths, and the
/// completion that draws the result and reveals the labels. Reads the parameter fields and draws
/// only through the surface. Any step may throw RunError, which abandons the run.
class Run
{
public:
    /// First and last value that pathOffset may take; the sweep visits 1, 8, ..., 708.
    static constexpr int kFirstOffset = 1;
    static constexpr int kLastOffset = 710;
    /// The paths of one sweep, 7 pixels apart.
    static constexpr int kPathCount = 102;
    /// Sine evaluations of the pause per path and per unit of slow-down, squared in total.
    static constexpr double kPaceCount = 50000;

    Run(Surface &surface, const Parameters &parameters);

    /// The whole run: setUp(), sweep(), complete().
    void execute();

    /// Fixes the geometry from the index and distance fields, draws the scene and opens the
    /// sweep at pathOffset = kFirstOffset.
    void setUp();
    /// Every path from the current pathOffset on, each followed by its pause.
    void sweep();
    /// One path at the current pathOffset: legs, arrow, spiral segment, time bar, least-time
    /// record; then presents it. Does not pause and does not advance pathOffset.
    void drawPath();
    /// The pause after a path: slowDown outer rounds of slowDown x kPaceCount sines.
    void pause();
    /// The least-time path, the resultant, the normal, the refilled detector and the labels.
    void complete();

    const RunState &state() const { return m_state; }
    /// x of the boundary point of the least-time path.
    double shortestX() const { return m_state.leftX + m_state.shortestOffset; }
    /// Where the arrow sum starts and the resultant begins.
    Point spiralOrigin() const;
    /// Every path drawn since set-up, left to right: kPathCount of them after a whole sweep.
    const std::vector<PathRecord> &paths() const { return m_paths; }

private:
    double number(Field field) const;

    // Set-up.
    void sizeScene();
    void setPhaseRate();
    void placeBoundary();
    void placeSource();
    void placeDetector();
    void prepareSweep();
    void chooseSpiralOrigin();

    // The static scene.
    void eraseScene();
    void drawLowerMedium();
    void drawBoundary();
    void drawSource();
    void drawDetector();
    void drawTimeAxes();

    // One path.
    void drawLegs(double crossX);
    void measurePath(double crossX);
    void drawArrow(double crossX);
    void extendSpiral();
    void drawTimeBar(double crossX);
    void recordIfShortest();
    double barTop(double opticalPath) const;

    // Completion.
    void drawResult();
    void revealLabels();

    Point source() const { return {m_state.sourceX, m_state.sourceY}; }
    Point detector() const { return {m_state.detectorX, m_state.detectorY}; }

    Drawing m_draw;
    const Parameters &m_parameters;
    RunState m_state;
    std::vector<PathRecord> m_paths;
};

} // namespace fotonar
