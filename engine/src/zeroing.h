#pragma once
// Zeroing: the launch angle at which a run crosses the line of sight at the zero distance, by
// 50 rounds of bisection over [0, 0.1] rad. A round is "too high" when the run's height after
// the step that reaches the zero distance is above 0.

#include "flight.h"

#include <functional>

namespace kavrino_engine::detail {

// The midpoint of the final bracket (rad); `zeroDistance` (ft) must be above 0. Each time the
// angle the bisection is expected to end on becomes known or changes, `expectAngle` is told it
// (the main run may start from it ahead of time); the returned angle is exact either way.
double zeroAngle(const Flight& flight, double muzzleVelocity, double startHeight, double zeroDistance,
                 const std::function<void(double)>& expectAngle);

}  // namespace kavrino_engine::detail
