#pragma once
// The main run: launched at the zeroed angle and flown until it passes the end of the table,
// slows below the minimum speed or passes the flight-time bound, recording a row each time it
// passes the next range step.

#include "flight.h"
#include "solver.h"

#include <atomic>
#include <optional>
#include <vector>

namespace kavrino_engine::detail {

// What the main run and its rows need besides the forces.
struct MainRunSettings {
    const SolverInput* input;
    double muzzleVelocity;  // ft/s, temperature-corrected
    double startHeight;     // ft
    double sg;              // stability factor, for spin drift and aerodynamic jump
    double stopDistance;    // ft
};

struct MainRunRows {
    std::vector<solver::TrajectoryPoint> points;
    std::optional<double> transonicRange;
    std::optional<double> subsonicRange;
};

// Flies the main run from `theta` (rad) and records its rows in `rows`. When `stop` is given and
// becomes set, gives up between two steps and returns false (`rows` then holds a part).
bool flyMainRun(const Flight& flight, const MainRunSettings& settings, double theta, const std::atomic<bool>* stop,
                MainRunRows& rows);

}  // namespace kavrino_engine::detail
