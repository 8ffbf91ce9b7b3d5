#pragma once
// Zeroing: the launch angle at which a run crosses the line of sight at the zero distance, by
// 50 rounds of bisection over [0, 0.1] rad. A round is "too high" when the run's height after
// the step that reaches the zero distance is above 0.

#include "flight.h"

#include <array>
#include <optional>

namespace kavrino_engine::detail {

// The bisection, flown pass by pass; see zeroing.cpp for how a pass takes several rounds at once.
// Every round's angle and verdict are exactly those of the one-round-at-a-time bisection.
class Zeroing {
public:
    // `zeroDistance` (ft) must be above 0.
    Zeroing(const Flight& flight, double muzzleVelocity, double startHeight, double zeroDistance);

    bool finished() const { return m_roundsLeft == 0; }
    // Flies one pass and keeps its rounds up to the first wrong guess. Not once finished.
    void flyPass();
    // The angle the rounds left are expected to end on, once the bracket is narrow enough to
    // foresee it (the main run may start from it ahead of time); the angle itself once finished.
    std::optional<double> foreseenAngle() const;
    // The midpoint of the final bracket (rad). Only once finished.
    double angle() const { return (m_bracket.lo + m_bracket.hi) * 0.5; }

    static constexpr int kRounds = 50;  // brackets to below 1e-16 rad

private:
    struct Measured {
        double theta;   // rad
        double height;  // ft at the zero distance
    };
    struct Bracket {
        double lo = 0.0;
        double hi = 0.1;
        std::optional<double> heightAtLo;  // measured height at the zero distance (ft), <= 0
        std::optional<double> heightAtHi;  // > 0
        bool lastTooHigh = true;           // the latest verdict
        std::array<Measured, kRounds> measured{};  // every round's angle and height, in order
        std::size_t measuredCount = 0;

        std::optional<double> estimatedZero() const;
        void apply(double theta, bool tooHigh, double height);
    };

    bool guessTooHigh(double theta, const std::optional<double>& zero) const;

    const Flight& m_flight;
    double m_muzzleVelocity;
    double m_startHeight;
    double m_zeroDistance;
    Bracket m_bracket;
    double m_roughZero;  // an estimate made before any run, for the first pass's guesses; NaN: none
    int m_roundsLeft = kRounds;
};

}  // namespace kavrino_engine::detail
