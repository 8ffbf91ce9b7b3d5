#pragma once
// Hit probability by Monte Carlo (weapon employment zone): for each row of a solve, the share of
// simulated shots that land on a rectangular target when muzzle velocity, ballistic coefficient,
// wind speed and the rifle's precision vary at random. A C++ interface only; the C entry pair
// does not reach it.

#include "solver.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kavrino_engine {

// The spread of one simulation.
struct WezParams {
    std::uint64_t trials = 0;
    double targetWidth = 0.0;     // inches
    double targetHeight = 0.0;    // inches
    double mvStdDev = 0.0;        // ft/s
    double windStdDev = 0.0;      // mph
    double bcStdDev = 0.0;        // fraction of the BC; 0 or less leaves the BC fixed (and draws nothing)
    double precisionMoa = 0.0;    // the rifle's dispersion, MOA (one standard deviation)
    std::uint64_t seed = 0;
    friend bool operator==(const WezParams&, const WezParams&) = default;
};

namespace montecarlo {

struct WezPoint {
    double range = 0.0;           // yd, the baseline row's (rounded) range
    double hitProbability = 0.0;  // percent, rounded to 0.1
    friend bool operator==(const WezPoint&, const WezPoint&) = default;
};

struct WezResult {
    std::optional<double> maxRange90;  // yd: the farthest row hit at least 90 % of the time
    std::vector<WezPoint> points;      // one per baseline row, in range order
    std::uint64_t trials = 0;
    friend bool operator==(const WezResult&, const WezResult&) = default;
};

// Solves the input once as the baseline, then once per trial with a drawn muzzle velocity, BC
// and wind speed; each row of a trial adds a drawn aiming error of `precisionMoa`. Rows that a
// trial does not reach count as misses. Deterministic for a given seed.
WezResult monte_carlo(const SolverInput& input, const WezParams& params);

namespace detail {

// A standard normal deviate from two uniform draws (Box-Muller): √(−2 ln u1) × cos(2π u2), with
// u1 clamped to 1e-12 so that its logarithm stays finite.
double gaussian(double u1, double u2);

// 64-bit linear congruential generator (Knuth's MMIX constants). Each draw advances the state
// first, then takes its top 53 bits as a fraction in [0, 1).
class Lcg {
public:
    explicit Lcg(std::uint64_t seed) : m_state(seed) {}
    double next();
    // gaussian() of the next two draws.
    double normal();
    std::uint64_t state() const { return m_state; }

private:
    std::uint64_t m_state;
};

}  // namespace detail
}  // namespace montecarlo
}  // namespace kavrino_engine
