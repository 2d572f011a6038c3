#pragma once

#include "run.h"

#include <string>
#include <string_view>
#include <vector>

namespace fotonar {

/// The picture in words, for screen readers: in Czech, UTF-8, short sentences.
struct PictureDescription
{
    std::string name; ///< the picture's accessible name: a few words
    std::string summary; ///< the description's first sentence, which is also announced
    std::string description; ///< the picture's accessible description, `summary` first

    bool operator==(const PictureDescription &) const = default;
};

/// What a completed run leaves for its description: copied from the Run before it is dropped.
struct RunResults
{
    RunState state;
    double shortestX = 0; ///< x of the least-time path's boundary point, pixels
    Point spiralOrigin; ///< where the arrow sum and the resultant start, pixels
    std::vector<PathRecord> paths; ///< every path of the sweep, left to right

    static RunResults of(const Run &run);
};

/// What is announced when a run begins.
inline constexpr std::string_view kRunStarted = "Běh začal";

/// Before any run: a name, and one sentence of what Start will draw.
PictureDescription describeEmptyPicture();
/// While a run draws its paths.
PictureDescription describeRunningPicture();
/// After a completed run: what the picture shows, with the run's numbers written with the
/// locale's decimal `separator` as the fields are.
PictureDescription describeResults(const RunResults &results, std::string_view separator);
/// After a run-time error: `errorText`, the text of the error's box, on one line.
PictureDescription describeRunError(std::string_view errorText);

} // namespace fotonar
