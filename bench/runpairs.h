#pragma once

#include "fieldtext.h"
#include "surface.h"

#include <functional>
#include <vector>

namespace fotonar::bench {

/// Pairs of (the pause alone for a run's paths, a whole run), measured one right after the
/// other so that drift of the machine falls on both halves of a pair; every other pair runs
/// first, so that whatever favours the second half (a warm cache, a clock speeding up) falls on
/// both alike. Times in milliseconds.
struct Pairs
{
    std::vector<double> pause;
    std::vector<double> run;
    std::vector<double> ratio;
    std::vector<double> frames; ///< put on the screen by each run
};

/// `pairs` pairs at slow-down `slowDown` ("1" to "6") on `surface`, with the other fields as
/// they stand; `framesShown` counts the frames the surface has put on the screen so far.
Pairs measurePairs(Surface &surface, FieldTexts &fields, const char *slowDown, int pairs,
    const std::function<int()> &framesShown);

double median(std::vector<double> values);
/// Prints the pairs' medians and the spread of their ratios.
void report(const char *slowDown, const Pairs &pairs);
/// What make bench reads of every desktop front end: `pairs` pairs at slow-down 6 (5 at most:
/// a run there takes seconds) and at slow-down 1, each reported.
void measureBothSlowDowns(
    Surface &surface, FieldTexts &fields, int pairs, const std::function<int()> &framesShown);

} // namespace fotonar::bench
