#pragma once
// Runs flown side by side, several to a vector register. Every run's arithmetic is exactly that
// of a run flown alone (packed IEEE addition, multiplication, division and square root round
// each element as the scalar operation does); packing only lets independent runs share
// instructions and overlap their long chains of dependent divisions.

#include "flight.h"

#include <cstddef>
#include <span>

namespace kavrino_engine::detail {

inline constexpr std::size_t kMaxPackedRuns = 16;

// The instructions that fly the lanes: the widest the processor offers (AVX2 where present), or
// the baseline ones every processor of the target has. Both give the same heights bit for bit.
enum class PackedInstructions { Widest, Baseline };

// Flies one run from each launch angle (rad, at most kMaxPackedRuns) until it reaches
// `stopDistance` (ft), slows below the minimum speed or passes the flight-time bound, each
// tested before a step as for any run; writes each run's height y (ft) at its stop to
// `heights`.
void flyToDistance(const Flight& flight, std::span<const double> angles, double muzzleVelocity, double startHeight,
                   double stopDistance, std::span<double> heights,
                   PackedInstructions instructions = PackedInstructions::Widest);

}  // namespace kavrino_engine::detail
