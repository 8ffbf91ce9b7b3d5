#include "montecarlo.h"

#include <algorithm>  // std::min
#include <cmath>      // std::abs, std::cos, std::fmax, std::log, std::round, std::sqrt

namespace kavrino_engine::montecarlo {
namespace {

constexpr std::uint64_t kMultiplier = 6364136223846793005ULL;
constexpr std::uint64_t kIncrement = 1442695040888963407ULL;
constexpr double kTwoToThe53 = 9007199254740992.0;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kSmallestFraction = 1e-12;    // keeps ln(u1) finite when a draw is 0
constexpr double kInchesPerMoaPer100Yd = 1.047;
constexpr double kHitThreshold = 90.0;         // percent

double roundTo(double value, double scale) { return std::round(value * scale) / scale; }

}  // namespace

namespace detail {

double Lcg::next() {
    m_state = m_state * kMultiplier + kIncrement;  // unsigned: wraps modulo 2^64
    return static_cast<double>(m_state >> 11) / kTwoToThe53;
}

double gaussian(double u1, double u2) {
    return std::sqrt(-2.0 * std::log(std::fmax(u1, kSmallestFraction))) * std::cos(kTwoPi * u2);
}

double Lcg::normal() {
    const double u1 = next();
    const double u2 = next();
    return gaussian(u1, u2);
}

}  // namespace detail

WezResult monte_carlo(const SolverInput& input, const WezParams& params) {
    const std::vector<solver::TrajectoryPoint> baseline = solver::solve(input).points;
    std::vector<std::uint64_t> hits(baseline.size(), 0);
    detail::Lcg rng(params.seed);

    for (std::uint64_t trial = 0; trial < params.trials; ++trial) {
        // Draw order: velocity, BC (only when it varies), wind; each a fresh pair of draws.
        SolverInput shot = input;
        shot.muzzleVelocity = input.muzzleVelocity + rng.normal() * params.mvStdDev;
        if (params.bcStdDev > 0.0) {
            shot.ballisticCoefficient = (1.0 + rng.normal() * params.bcStdDev) * input.ballisticCoefficient;
        }
        shot.windSpeed = std::fmax(input.windSpeed + rng.normal() * params.windStdDev, 0.0);
        const std::vector<solver::TrajectoryPoint> rows = solver::solve(shot).points;

        const std::size_t compared = std::min(baseline.size(), rows.size());
        for (std::size_t i = 0; i < compared; ++i) {
            const solver::TrajectoryPoint& base = baseline[i];
            const double scale = params.precisionMoa * kInchesPerMoaPer100Yd * (base.range / 100.0);  // in
            // All four draws are taken whether or not the shot already missed sideways.
            const double d1 = rng.next();
            const double d2 = rng.next();
            const double d3 = rng.next();
            const double d4 = rng.next();
            const double horizontal = (rows[i].windInches - base.windInches) + detail::gaussian(d3, d4) * scale;
            if (std::abs(horizontal) > params.targetWidth / 2.0) continue;
            const double vertical = detail::gaussian(d1, d2) * scale + (rows[i].dropInches - base.dropInches);
            if (std::abs(vertical) > params.targetHeight / 2.0) continue;
            ++hits[i];
        }
    }

    WezResult result;
    result.trials = params.trials;
    result.points.reserve(baseline.size());
    for (std::size_t i = 0; i < baseline.size(); ++i) {
        const double probability =
            params.trials == 0 ? 0.0 : static_cast<double>(hits[i]) * 100.0 / static_cast<double>(params.trials);
        result.points.push_back({baseline[i].range, roundTo(probability, 10.0)});
        // The farthest such row: a nearer row below the threshold does not end the search.
        if (probability >= kHitThreshold) result.maxRange90 = baseline[i].range;
    }
    return result;
}

}  // namespace kavrino_engine::montecarlo
