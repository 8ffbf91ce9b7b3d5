// Each round depends on the verdict of the one before, so a pass guesses the verdicts ahead:
// the height at the zero distance is a smooth function of the angle, nearly a straight line, so
// the parabola through the bracket's two measured ends and the nearest measured point outside
// them predicts which side of the zero each coming midpoint falls on (before any run, a
// flat-fire estimate does).
// The pass flies the midpoints the guesses lead to side by side, then checks the verdicts in
// order and keeps every round up to the first wrong guess; the runs after it are dropped and
// flown again in the next pass. Every round's angle and verdict are therefore exactly those of
// the one-round-at-a-time bisection; only the order of the work changes.
#include "zeroing.h"

#include "packed_runs.h"

#include <algorithm>  // std::min
#include <array>
#include <cmath>  // std::expm1, std::fabs, std::isfinite
#include <limits>
#include <optional>

namespace kavrino_engine::detail {
namespace {

constexpr double kBracketHigh = 0.1;  // rad
constexpr int kRounds = 50;           // brackets to below 1e-16 rad
constexpr std::size_t kRunsPerPass = kMaxPackedRuns;
// Until the final angle can be foreseen the passes are short: eight runs cost little more than
// one, and the main run can start only once the foresight holds. Then full passes, which cost
// less per round.
constexpr std::size_t kRunsPerShortPass = kMaxPackedRuns / 2;
// The final angle is foreseen from the parabola through the bracket's ends and the nearest
// point outside; only once the bracket is this narrow (rad) does it get every remaining verdict
// right as a rule (for a 100 yd zero, after two short passes).
constexpr double kForeseeWithin = 3e-5;
constexpr double kNoAngle = std::numeric_limits<double>::quiet_NaN();

struct Bracket {
    struct Measured {
        double theta;   // rad
        double height;  // ft at the zero distance
    };

    double lo = 0.0;
    double hi = kBracketHigh;
    std::optional<double> heightAtLo;  // measured height at the zero distance (ft), <= 0
    std::optional<double> heightAtHi;  // > 0
    bool lastTooHigh = true;           // the latest verdict
    double roughZero = kNoAngle;       // an estimate made before any run, for the first pass
    std::array<Measured, kRounds> measured{};  // every round's angle and height, in order
    std::size_t measuredCount = 0;

    // Where the height crosses zero, from the bracket's two measured ends, bent by the measured
    // point nearest outside them (the parabola through the three); none while an end is
    // unmeasured or the heights give no usable line.
    std::optional<double> estimatedZero() const {
        if (!heightAtLo || !heightAtHi || !(*heightAtHi > *heightAtLo)) return std::nullopt;
        const double slope = (*heightAtHi - *heightAtLo) / (hi - lo);
        const double line = lo + (0.0 - *heightAtLo) / slope;
        const Measured* third = nullptr;
        double nearest = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < measuredCount; ++i) {
            const double distance = measured[i].theta < lo ? lo - measured[i].theta : measured[i].theta - hi;
            if (distance > 0.0 && distance < nearest) {
                nearest = distance;
                third = &measured[i];
            }
        }
        if (!third) return line;
        const double curvature = ((third->height - *heightAtHi) / (third->theta - hi) - slope) / (third->theta - lo);
        double zero = line;
        for (int iteration = 0; iteration < 3; ++iteration) {
            const double height = *heightAtLo + slope * (zero - lo) + curvature * (zero - lo) * (zero - hi);
            const double rise = slope + curvature * (2.0 * zero - lo - hi);
            if (!(rise > 0.0)) return line;
            zero -= height / rise;
        }
        return zero >= lo && zero <= hi ? zero : line;
    }
    // The verdict expected at `theta`: from the estimated zero when there is one, else from the
    // rough estimate, otherwise the latest verdict again (at first "too high").
    bool guessTooHigh(double theta, const std::optional<double>& zero) const {
        if (zero) return theta > *zero;
        if (roughZero == roughZero) return theta > roughZero;
        return lastTooHigh;
    }
    void apply(double theta, bool tooHigh, double height) {
        measured[measuredCount++] = {theta, height};
        lastTooHigh = tooHigh;
        if (tooHigh) {
            hi = theta;
            heightAtHi = height;
        } else {
            lo = theta;
            heightAtLo = height;
        }
    }
};

// A rough launch angle (rad) for the first pass's guesses: flat fire under the drag of the
// muzzle speed, slowing exponentially with distance; NaN when it gives no number.
double roughZeroAngle(const Flight& flight, double muzzleVelocity, double startHeight,
                                     double zeroDistance) {
    const double v0 = std::fabs(muzzleVelocity);
    if (!(v0 > kDragCutoff)) return kNoAngle;
    const double deceleration = kDragFactor * v0 * v0 * flight.drag().cd(v0 / flight.speedOfSound()) *
                                flight.density() / flight.bands().bc(v0);
    const double perFoot = deceleration / (v0 * v0);  // v(x) = v0 * exp(-perFoot * x)
    const double time = perFoot * zeroDistance > 1e-9 ? std::expm1(perFoot * zeroDistance) / (perFoot * v0)
                                                      : zeroDistance / v0;
    const double angle = (-startHeight - 0.5 * flight.gravity() * time * time) / zeroDistance;
    return std::isfinite(angle) ? angle : kNoAngle;
}

}  // namespace

double zeroAngle(const Flight& flight, double muzzleVelocity, double startHeight, double zeroDistance,
                 const std::function<void(double)>& expectAngle) {
    Bracket bracket;
    bracket.roughZero = roughZeroAngle(flight, muzzleVelocity, startHeight, zeroDistance);
    int roundsLeft = kRounds;
    bool foreseen = false;
    for (bool firstPass = true; roundsLeft > 0; firstPass = false) {
        const std::size_t count =
            std::min<std::size_t>(foreseen ? kRunsPerPass : kRunsPerShortPass, static_cast<std::size_t>(roundsLeft));
        if (!firstPass) bracket.roughZero = kNoAngle;
        std::array<double, kRunsPerPass> theta{};
        std::array<bool, kRunsPerPass> guess{};
        std::array<double, kRunsPerPass> height{};
        const std::optional<double> zero = bracket.estimatedZero();
        double guessedLo = bracket.lo;
        double guessedHi = bracket.hi;
        for (std::size_t k = 0; k < count; ++k) {
            theta[k] = (guessedLo + guessedHi) * 0.5;
            guess[k] = bracket.guessTooHigh(theta[k], zero);
            if (guess[k]) guessedHi = theta[k];
            else guessedLo = theta[k];
        }
        if (zero && bracket.hi - bracket.lo <= kForeseeWithin) {
            for (int r = static_cast<int>(count); r < roundsLeft; ++r) {
                const double next = (guessedLo + guessedHi) * 0.5;
                if (bracket.guessTooHigh(next, zero)) guessedHi = next;
                else guessedLo = next;
            }
            expectAngle((guessedLo + guessedHi) * 0.5);
            foreseen = true;
        }
        flyToDistance(flight, std::span(theta.data(), count), muzzleVelocity, startHeight, zeroDistance,
                      std::span(height.data(), count));
        for (std::size_t k = 0; k < count; ++k) {
            const bool tooHigh = height[k] > 0.0;
            bracket.apply(theta[k], tooHigh, height[k]);
            --roundsLeft;
            if (tooHigh != guess[k]) break;  // later runs started from a wrong bracket
        }
    }
    return (bracket.lo + bracket.hi) * 0.5;
}

}  // namespace kavrino_engine::detail
