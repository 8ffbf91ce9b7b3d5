#pragma once
// The solve done the plain way: one integration run at a time, every drag coefficient and BC
// band found by a scan from the start of its list. It gives the same solution as
// solver::solve, bit for bit, and is kept only as a reference for the engine's tests and as the
// baseline of its benchmark; it is not part of the library.

#include "solver.h"

namespace kavrino_engine::plain {

solver::Solution solve(const SolverInput& input);

// The launch angle (rad) the plain zeroing ends on, and the main run alone from that angle:
// the benchmark times the main run by itself as the floor of one solve.
double zeroAngle(const SolverInput& input);
solver::Solution mainRun(const SolverInput& input, double theta);

}  // namespace kavrino_engine::plain
