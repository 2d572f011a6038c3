#pragma once

namespace fotonar {

/// The working values of one run. Every press of Start makes a fresh one with every value at 0.
/// Positions and lengths are pixels of the client area (origin top left, y downwards); the values
/// noted below are those after set-up with index 2 and distance 400.
struct RunState
{
    int sceneWidth = 0; ///< right end x of the erased rows: 800
    int sceneHeight = 0; ///< nominal scene height: 581; the lower medium has sceneHeight - 380 rows
    double phaseRate = 0; ///< radians per pixel of optical path, halved: 0.01727451
    int leftX = 0; ///< left end of the boundary, the band and the time axis: 50
    int rightX = 0; ///< right end of the boundary, the band and the time axis: 760
    double midX = 0; ///< middle of leftX ... rightX: 405
    double boundaryY = 0; ///< y of the boundary line: 290.5
    double sourceX = 0; ///< the light source, in the lower medium: (505, 440.5)
    double sourceY = 0;
    double distanceD = 0; ///< detector distance, the number in nVzdalenost: 400
    double detectorX = 0; ///< the detector, in the upper medium: (515 - distanceD, 90.5)
    double detectorY = 0;
    double indexN = 0; ///< refractive index of the lower medium, the number in nIndex: 2
    int arrowLength = 0; ///< length of one photon arrow: 15
    int sweepStep = 0; ///< step of the sweep: 7
    double shortestPath = 0; ///< least optical path met so far: 100000 before the first path
    int shortestOffset = 0; ///< pathOffset at which shortestPath was met; 0 if none was
    int spiralOffsetX = 0; ///< spiral origin relative to (sourceX, detectorY): (80, 50)
    int spiralOffsetY = 0;
    double spiralX = 0; ///< current end of the arrow sum (Cornu spiral): starts at (585, 140.5)
    double spiralY = 0;
    int pathOffset = 0; ///< boundary point of the current path, relative to leftX: 1, 8, ..., 708
    double pathAir = 0; ///< leg boundary point -> detector of the current path
    double pathMedium = 0; ///< indexN times the leg source -> boundary point
    double phase = 0; ///< arrow angle of the current path in radians, never reduced mod 2 pi
};

} // namespace fotonar
