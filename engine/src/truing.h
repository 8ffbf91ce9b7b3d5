#pragma once
// Truing: the muzzle velocity, and optionally a scale on the ballistic coefficient, whose solved
// come-ups best match observed ones in the least-squares sense. A C++ interface only; the C
// entry pair does not reach it.

#include "solver.h"

#include <functional>
#include <vector>

namespace kavrino_engine::truing {

// One observed come-up.
struct Observation {
    double rangeYards = 0.0;  // yd; must be a number (an observation at NaN is skipped)
    double dropMoa = 0.0;     // MOA, positive = below the line of sight, as the rows' dropMoa
    friend bool operator==(const Observation&, const Observation&) = default;
};

struct TrueResult {
    double muzzleVelocity = 0.0;  // trued, ft/s, rounded to 0.1
    double bcScale = 1.0;         // factor on ballisticCoefficient, rounded to 0.0001
    double rmsBefore = 0.0;       // MOA, rounded to 0.001; +inf without observations
    double rmsAfter = 0.0;        // MOA, rounded to 0.001
    friend bool operator==(const TrueResult&, const TrueResult&) = default;
};

// RMS come-up error (MOA) of the input solved at `muzzleVelocity` with its ballisticCoefficient
// scaled by `bcFactor` (bcBands are not scaled), rows every 10 yd out to the farthest of the
// zero range and the observed ranges. Each observation meets the row whose rounded range lies
// nearest (the earlier row on a tie). +inf without observations or without rows.
double truing_rms(const SolverInput& input, const std::vector<Observation>& observations, double muzzleVelocity,
                  double bcFactor);

// Three grid passes, each narrowing on the best point of the one before: pass 1 spans ±200 ft/s
// around the input's velocity and, when `fitBC`, the factors 0.85 to 1.15. Up to 1 + 3 × 21 × 11
// solves with the BC fit, 1 + 3 × 21 without. Only a strictly smaller error moves the result
// away from the input's velocity and factor 1.0; without observations both errors are +inf.
TrueResult true_solve(const SolverInput& input, const std::vector<Observation>& observations, bool fitBC);

namespace detail {

// The unrounded outcome of the search.
struct Fit {
    double muzzleVelocity;
    double bcScale;
    double rmsBefore;
    double rmsAfter;
};

// The search itself, over any error function of (velocity, factor); true_solve hands it
// truing_rms. Evaluates (mv0, 1.0) first, then each pass's grid velocity-major.
Fit search(double mv0, bool fitBC, const std::function<double(double, double)>& rms);

}  // namespace detail
}  // namespace kavrino_engine::truing
