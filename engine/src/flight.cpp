#include "flight.h"

#include <cmath>  // std::sqrt, std::sin, std::cos

namespace kavrino_engine::detail {
namespace {

constexpr double kGravity = 32.174;                // ft/s²
constexpr double kDegrees = 0.017453292519943295;  // π/180

}  // namespace

double speedOf(const State& s) { return std::sqrt(s.vx * s.vx + s.vy * s.vy); }

Flight::Flight(const SolverInput& input, double densityRatio, double speedOfSound)
    : m_gravity(-kGravity * std::cos(input.shootingAngle * kDegrees)),
      m_density(densityRatio),
      m_speedOfSound(speedOfSound),
      m_customRows(input.dragCurve.kind == DragCurve::Kind::Custom ? input.dragCurve.customRows
                                                                  : std::vector<DragRow>{}),
      m_drag(input.dragCurve.kind == DragCurve::Kind::Custom ? std::span<const DragRow>(m_customRows)
                                                             : drag::rows(input.dragCurve)),
      m_bands(input.bcBands, input.ballisticCoefficient) {}

State Flight::launchState(double theta, double muzzleVelocity, double startHeight) {
    return {0.0, startHeight, muzzleVelocity * std::cos(theta), muzzleVelocity * std::sin(theta)};
}

Run::Run(const Flight& flight, double theta, double muzzleVelocity, double startHeight)
    : m_flight(&flight),
      m_s(Flight::launchState(theta, muzzleVelocity, startHeight)),
      m_speed(speedOf(m_s)),
      m_drag(flight.drag()) {}

// Acceleration of a state whose speed is v: v² is taken as v·v before it scales the drag
// factor, then the products run left to right. The order shows in the last digits wherever the
// drag coefficient is negative.
Run::Derivative Run::derivative(const State& s, double v) {
    if (v < kDragCutoff) return {s.vx, s.vy, 0.0, m_flight->gravity()};
    if (!m_bc.holds(v)) m_bc = m_flight->bands().find(v);
    const double cd = m_drag.cd(v / m_flight->speedOfSound());
    const double a = -kDragFactor * (v * v) * cd * m_flight->density() / m_bc.bc;
    return {s.vx, s.vy, a * s.vx / v, m_flight->gravity() + a * s.vy / v};
}

void Run::step() {
    constexpr double dt = kTimeStep;
    const State& s = m_s;
    const Derivative k1 = derivative(s, m_speed);
    const State s2{s.x + k1.dx * (dt / 2.0), s.y + k1.dy * (dt / 2.0), s.vx + k1.dvx * (dt / 2.0),
                   s.vy + k1.dvy * (dt / 2.0)};
    const Derivative k2 = derivative(s2, speedOf(s2));
    const State s3{s.x + k2.dx * (dt / 2.0), s.y + k2.dy * (dt / 2.0), s.vx + k2.dvx * (dt / 2.0),
                   s.vy + k2.dvy * (dt / 2.0)};
    const Derivative k3 = derivative(s3, speedOf(s3));
    const State s4{s.x + k3.dx * dt, s.y + k3.dy * dt, s.vx + k3.dvx * dt, s.vy + k3.dvy * dt};
    const Derivative k4 = derivative(s4, speedOf(s4));
    m_s = {s.x + (k1.dx + 2.0 * k2.dx + 2.0 * k3.dx + k4.dx) * dt / 6.0,
           s.y + (k1.dy + 2.0 * k2.dy + 2.0 * k3.dy + k4.dy) * dt / 6.0,
           s.vx + (k1.dvx + 2.0 * k2.dvx + 2.0 * k3.dvx + k4.dvx) * dt / 6.0,
           s.vy + (k1.dvy + 2.0 * k2.dvy + 2.0 * k3.dvy + k4.dvy) * dt / 6.0};
    m_t += dt;
    m_speed = speedOf(m_s);
}

}  // namespace kavrino_engine::detail
