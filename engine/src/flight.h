#pragma once
// The forces of one solve and one integration run through them. Notation: the state is x (ft
// downrange), y (ft above the line of sight, negative below), vx, vy (ft/s); the bore starts
// below the line of sight; gravity acts on vy only (scaled by the cosine of the shooting angle).
// Every formula is evaluated in the order it is written, without fused multiply-add, so each
// value rounds exactly as the solve defines it.

#include "bc_bands.h"
#include "drag.h"
#include "solver.h"

#include <vector>

namespace kavrino_engine::detail {

inline constexpr double kTimeStep = 0.0005;        // s, fixed step of every run
inline constexpr double kDragFactor = 0.000208554;  // drag deceleration per v²·Cd·density/BC
inline constexpr double kDragCutoff = 1.0;          // ft/s: below it only gravity acts
inline constexpr double kMinimumSpeed = 100.0;      // ft/s: below it the bullet is no longer tracked

struct State {
    double x, y, vx, vy;
};

// sqrt(vx² + vy²), the speed every test and drag evaluation uses.
double speedOf(const State& s);

// Gravity, air and the drag curve and BC bands of one solve, arranged once for fast lookups. It
// keeps its own copy of a measured curve, so it does not depend on the input once built, and it
// is read-only: runs on several threads may share it.
class Flight {
public:
    Flight(const SolverInput& input, double densityRatio, double speedOfSound);
    Flight(const Flight&) = delete;
    Flight& operator=(const Flight&) = delete;

    double gravity() const { return m_gravity; }  // ft/s², on vy
    double density() const { return m_density; }  // ratio to standard
    double speedOfSound() const { return m_speedOfSound; }  // ft/s
    const drag::Index& drag() const { return m_drag; }
    const BcBands& bands() const { return m_bands; }

    // The state a run starts from at launch angle `theta` (rad).
    static State launchState(double theta, double muzzleVelocity, double startHeight);

private:
    double m_gravity;
    double m_density;
    double m_speedOfSound;
    std::vector<DragRow> m_customRows;
    drag::Index m_drag;  // over m_customRows or a standard table
    BcBands m_bands;
};

// One run flown on its own, step by step.
class Run {
public:
    Run(const Flight& flight, double theta, double muzzleVelocity, double startHeight);

    const State& state() const { return m_s; }
    double time() const { return m_t; }     // s
    double speed() const { return m_speed; }  // of the current state

    // One classic fourth-order Runge-Kutta step of kTimeStep.
    void step();

private:
    struct Derivative {
        double dx, dy, dvx, dvy;
    };
    Derivative derivative(const State& s, double v);

    const Flight* m_flight;
    State m_s;
    double m_t = 0.0;
    double m_speed;
    drag::Lookup m_drag;
    BcStretch m_bc;  // the BC band met last
};

}  // namespace kavrino_engine::detail
