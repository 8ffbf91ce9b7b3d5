#include "truing.h"

#include <cmath>  // std::abs, std::fmax, std::isnan, std::round, std::sqrt
#include <limits>

namespace kavrino_engine::truing {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kRowStep = 10.0;  // yd: fine enough to find a row within 5 yd of any observation

// Pass 1 spans ±200 ft/s and, with the BC fit, ±15 % on the BC.
constexpr double kVelocityHalfWindow = 200.0;  // ft/s
constexpr double kLowestFactor = 0.85;
constexpr double kHighestFactor = 1.15;
constexpr int kPasses = 3;
constexpr int kVelocityDivisions = 20;
constexpr int kFactorDivisions = 10;

double roundTo(double value, double scale) { return std::round(value * scale) / scale; }

// Walks from `lower` by repeated addition of `step` while the value stays <= `upper`. The walk is
// defined by the additions, so rounding may drop the nominal last point. A step too small to
// move the value (a velocity so large that the window vanishes in its last digit) visits the
// value once rather than looping forever.
template <typename Visit>
void walk(double lower, double upper, double step, Visit&& visit) {
    for (double value = lower; value <= upper;) {
        visit(value);
        const double next = value + step;
        if (!(next > value)) break;
        value = next;
    }
}

}  // namespace

double truing_rms(const SolverInput& input, const std::vector<Observation>& observations, double muzzleVelocity,
                  double bcFactor) {
    SolverInput candidate = input;
    candidate.muzzleVelocity = muzzleVelocity;
    candidate.ballisticCoefficient = bcFactor * input.ballisticCoefficient;
    double maxRange = input.zeroRange;
    std::size_t counted = 0;
    for (const Observation& o : observations) {
        if (std::isnan(o.rangeYards)) continue;
        maxRange = std::fmax(maxRange, o.rangeYards);
        ++counted;
    }
    if (counted == 0) return kInfinity;
    candidate.maxRange = maxRange;
    candidate.rangeStep = kRowStep;

    const solver::Solution solution = solver::solve(candidate);
    const std::vector<solver::TrajectoryPoint>& rows = solution.points;
    if (rows.empty()) return kInfinity;

    double sumOfSquares = 0.0;
    for (const Observation& o : observations) {
        if (std::isnan(o.rangeYards)) continue;
        const solver::TrajectoryPoint* nearest = &rows.front();
        double nearestDistance = std::abs(nearest->range - o.rangeYards);
        for (const solver::TrajectoryPoint& row : rows) {
            const double distance = std::abs(row.range - o.rangeYards);
            if (distance < nearestDistance) {  // strictly nearer: the earlier row keeps a tie
                nearest = &row;
                nearestDistance = distance;
            }
        }
        const double difference = nearest->dropMoa - o.dropMoa;
        sumOfSquares += difference * difference;
    }
    return std::sqrt(sumOfSquares / static_cast<double>(counted));
}

TrueResult true_solve(const SolverInput& input, const std::vector<Observation>& observations, bool fitBC) {
    const detail::Fit fit = detail::search(input.muzzleVelocity, fitBC, [&](double v, double s) {
        return truing_rms(input, observations, v, s);
    });
    return {roundTo(fit.muzzleVelocity, 10.0), roundTo(fit.bcScale, 10000.0), roundTo(fit.rmsBefore, 1000.0),
            roundTo(fit.rmsAfter, 1000.0)};
}

namespace detail {

Fit search(double mv0, bool fitBC, const std::function<double(double, double)>& rms) {
    const double before = rms(mv0, 1.0);
    double best = before;
    double bestVelocity = mv0;
    double bestFactor = 1.0;

    double velocityLower = mv0 - kVelocityHalfWindow;
    double velocityUpper = mv0 + kVelocityHalfWindow;
    double factorLower = fitBC ? kLowestFactor : 1.0;
    double factorUpper = fitBC ? kHighestFactor : 1.0;
    for (int pass = 0; pass < kPasses; ++pass) {
        // Pass 1's factor step is (1.15 - 0.85) / 10 = 0.029999999999999992.
        const double velocityStep = (velocityUpper - velocityLower) / kVelocityDivisions;
        const double factorStep = fitBC ? (factorUpper - factorLower) / kFactorDivisions : 1.0;
        walk(velocityLower, velocityUpper, velocityStep, [&](double v) {
            walk(factorLower, factorUpper, factorStep, [&](double s) {
                const double error = rms(v, s);
                if (error < best) {
                    best = error;
                    bestVelocity = v;
                    bestFactor = s;
                }
            });
        });
        velocityLower = bestVelocity - 2 * velocityStep;
        velocityUpper = bestVelocity + 2 * velocityStep;
        if (fitBC) {
            factorLower = bestFactor - 2 * factorStep;
            factorUpper = bestFactor + 2 * factorStep;
        }
    }
    return {bestVelocity, bestFactor, before, best};
}

}  // namespace detail
}  // namespace kavrino_engine::truing
