// Each round depends on the verdict of the one before, so a pass guesses the verdicts ahead:
// the height at the zero distance is a smooth function of the angle, nearly a straight line, so
// the parabola through the bracket's two measured ends and the nearest measured point outside
// them predicts which side of the zero each coming midpoint falls on (before any run, a
// flat-fire estimate does).
//
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

constexpr std::size_t kRunsPerPass = kMaxPackedRuns;
// Until the final angle can be foreseen the passes are short: eight runs cost little more than
// one, and the main run can start only once the final angle is foreseen. Then full passes,
// which cost less per round.
constexpr std::size_t kRunsPerShortPass = kMaxPackedRuns / 2;
// The final angle is foreseen from the parabola through the bracket's ends and the nearest
// point outside; only once the bracket is this narrow (rad) does it get every remaining verdict
// right as a rule (for a 100 yd zero, after two short passes).
constexpr double kForeseeWithin = 3e-5;
constexpr double kNoAngle = std::numeric_limits<double>::quiet_NaN();

// A rough launch angle (rad) for the first pass's guesses: flat fire under the drag of the
// muzzle speed, slowing exponentially with distance; NaN when it gives no number.
double roughZeroAngle(const Flight& flight, double muzzleVelocity, double startHeight, double zeroDistance) {
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

// Where the height crosses zero, from the bracket's two measured ends, bent by the measured point
// nearest outside them (the parabola through the three); none while an end is unmeasured or the
// heights give no usable line.
std::optional<double> Zeroing::Bracket::estimatedZero() const {
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

void Zeroing::Bracket::apply(double theta, bool tooHigh, double height) {
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

Zeroing::Zeroing(const Flight& flight, double muzzleVelocity, double startHeight, double zeroDistance)
    : m_flight(flight),
      m_muzzleVelocity(muzzleVelocity),
      m_startHeight(startHeight),
      m_zeroDistance(zeroDistance),
      m_roughZero(roughZeroAngle(flight, muzzleVelocity, startHeight, zeroDistance)) {}

// The verdict expected at `theta`: from the estimated zero when there is one, else (before any
// run) from the rough estimate, otherwise the latest verdict again (at first "too high").
bool Zeroing::guessTooHigh(double theta, const std::optional<double>& zero) const {
    if (zero) return theta > *zero;
    if (m_bracket.measuredCount == 0 && m_roughZero == m_roughZero) return theta > m_roughZero;
    return m_bracket.lastTooHigh;
}

std::optional<double> Zeroing::foreseenAngle() const {
    if (finished()) return angle();
    const std::optional<double> zero = m_bracket.estimatedZero();
    if (!zero || !(m_bracket.hi - m_bracket.lo <= kForeseeWithin)) return std::nullopt;
    double lo = m_bracket.lo;
    double hi = m_bracket.hi;
    for (int round = 0; round < m_roundsLeft; ++round) {
        const double theta = (lo + hi) * 0.5;
        if (guessTooHigh(theta, zero)) hi = theta;
        else lo = theta;
    }
    return (lo + hi) * 0.5;
}

void Zeroing::flyPass() {
    const bool foreseeable = m_bracket.hi - m_bracket.lo <= kForeseeWithin;
    const std::size_t count =
        std::min<std::size_t>(foreseeable ? kRunsPerPass : kRunsPerShortPass, static_cast<std::size_t>(m_roundsLeft));
    std::array<double, kRunsPerPass> theta{};
    std::array<bool, kRunsPerPass> guess{};
    std::array<double, kRunsPerPass> height{};
    const std::optional<double> zero = m_bracket.estimatedZero();
    double lo = m_bracket.lo;
    double hi = m_bracket.hi;
    for (std::size_t k = 0; k < count; ++k) {
        theta[k] = (lo + hi) * 0.5;
        guess[k] = guessTooHigh(theta[k], zero);
        if (guess[k]) hi = theta[k];
        else lo = theta[k];
    }
    flyToDistance(m_flight, std::span(theta.data(), count), m_muzzleVelocity, m_startHeight, m_zeroDistance,
                  std::span(height.data(), count));
    for (std::size_t k = 0; k < count; ++k) {
        const bool tooHigh = height[k] > 0.0;
        m_bracket.apply(theta[k], tooHigh, height[k]);
        --m_roundsLeft;
        if (tooHigh != guess[k]) break;  // later runs started from a wrong bracket
    }
}

}  // namespace kavrino_engine::detail
