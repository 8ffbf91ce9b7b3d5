#include "core/ballistic_engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>  // std::index_sequence

// Notation: x downrange and y height above the line of sight (ft; the line of sight is y = 0
// and the muzzle starts at y = -sightHeight / 12), vx and vy the velocity (ft/s), t the time
// of flight (s). Every formula is evaluated in the order it is written, without fused
// multiply-add, so the rows are reproducible to the last bit.

namespace kavrino {
namespace {

constexpr double timeStep = 0.0005;      // s; fixed, no adaptive control
constexpr double halfStep = 0.00025;     // s
constexpr double gravity = -32.174;      // ft/s²
constexpr double dragFactor = -0.000208554;
constexpr double stopSpeed = 100.0;      // ft/s: below this the table is of no use
constexpr double stopHorizontalSpeed = 1.0;  // ft/s: the bullet no longer moves downrange
constexpr double stopTime = 60.0;        // s: bounds the main pass at 120,000 steps
constexpr double zeroBracketHigh = 0.1;  // rad: bore angle bracket is [0, 0.1]
constexpr int zeroBisections = 50;
constexpr double earthRotation = 7.2921e-5;  // rad/s

// Standard Rankine temperature, summed in double precision (518.6700000000001).
const double standardRankine = 59.0 + 459.67;

struct State {
    double x = 0;
    double y = 0;
    double vx = 0;
    double vy = 0;
};

// Drag plus gravity for one velocity. `speed` is √(vx² + vy²) of that velocity.
class Dynamics {
public:
    Dynamics(DragModel model, double speedOfSound, double effectiveBC)
        : m_drag(model), m_speedOfSound(speedOfSound), m_effectiveBC(effectiveBC) {}

    void accelerate(double vx, double vy, double speed, double g, double& ax, double& ay) {
        const double cd = m_drag(speed / m_speedOfSound);
        const double k = dragFactor * (speed * speed) * cd / m_effectiveBC;
        ax = k * vx / speed;
        ay = k * vy / speed + g;
    }

    // One explicit midpoint step; `speed` is the speed of (s.vx, s.vy).
    void step(State& s, double speed, double g) {
        double ax = 0;
        double ay = 0;
        accelerate(s.vx, s.vy, speed, g, ax, ay);
        const double hx = s.vx + ax * halfStep;
        const double hy = s.vy + ay * halfStep;
        double bx = 0;
        double by = 0;
        accelerate(hx, hy, std::sqrt(hx * hx + hy * hy), g, bx, by);
        s.vx += bx * timeStep;
        s.vy += by * timeStep;
        s.x += hx * timeStep;
        s.y += hy * timeStep;
    }

private:
    DragTableCursor m_drag;
    double m_speedOfSound;
    double m_effectiveBC;
};

template <std::size_t N>
std::array<Dynamics, N> makeDynamics(DragModel model, double speedOfSound, double effectiveBC) {
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return std::array<Dynamics, N>{((void)I, Dynamics(model, speedOfSound, effectiveBC))...};
    }(std::make_index_sequence<N>{});
}

double speedOf(const State& s) { return std::sqrt(s.vx * s.vx + s.vy * s.vy); }

bool flightEnded(const State& s, double speed) {
    return speed < stopSpeed || s.vx < stopHorizontalSpeed || !std::isfinite(s.vx);
}

// Heights at the zero distance (no interpolation: where the step that passed it ended) for
// several bore angles at once, on level ground. The flights are independent, so running them
// side by side lets the processor overlap their long chains of divisions and square roots;
// each lane does exactly the arithmetic of a flight of its own.
template <std::size_t N>
std::array<double, N> heightsAtZero(const BallisticEngine::Inputs& in, DragModel model, double speedOfSound,
                                    double effectiveBC, const std::array<double, N>& boreAngles) {
    const double startHeight = -in.sightHeight / 12;
    const double zeroDistance = in.zeroRange * 3;
    std::array<double, N> heights;
    heights.fill(startHeight);
    if (zeroDistance <= 0) return heights;

    std::array<State, N> lanes;
    std::array<bool, N> flying;
    std::array<Dynamics, N> dynamics = makeDynamics<N>(model, speedOfSound, effectiveBC);
    for (std::size_t i = 0; i < N; ++i) {
        lanes[i] = State{0, startHeight, in.muzzleVelocity * std::cos(boreAngles[i]),
                         in.muzzleVelocity * std::sin(boreAngles[i])};
        flying[i] = true;
    }
    std::size_t inFlight = N;
    while (inFlight > 0) {
        for (std::size_t i = 0; i < N; ++i) {
            if (!flying[i]) continue;
            const double speed = speedOf(lanes[i]);
            if (flightEnded(lanes[i], speed)) {
                flying[i] = false;
                --inFlight;
                continue;
            }
            dynamics[i].step(lanes[i], speed, gravity);
            if (lanes[i].x >= zeroDistance) {
                flying[i] = false;
                --inFlight;
            }
        }
    }
    for (std::size_t i = 0; i < N; ++i) heights[i] = lanes[i].y;
    return heights;
}

// Settles `Depth` halvings of [lo, hi] at once: flies the next midpoint together with every
// midpoint that may follow it within those halvings (a complete binary tree of 2^Depth - 1
// angles, in heap order: node k's midpoint ending high leads to node 2k + 1, else to 2k + 2),
// then walks down the tree. The angles flown and the choices made are exactly those of one
// halving at a time.
template <int Depth>
void bisect(const BallisticEngine::Inputs& in, double speedOfSound, double effectiveBC, double& lo, double& hi) {
    constexpr std::size_t nodes = (std::size_t{1} << Depth) - 1;
    std::array<double, nodes> nodeLo;
    std::array<double, nodes> nodeHi;
    std::array<double, nodes> angles;
    nodeLo[0] = lo;
    nodeHi[0] = hi;
    for (std::size_t k = 0; k < nodes; ++k) {
        angles[k] = (nodeLo[k] + nodeHi[k]) * 0.5;
        if (2 * k + 2 < nodes) {
            nodeLo[2 * k + 1] = nodeLo[k];
            nodeHi[2 * k + 1] = angles[k];
            nodeLo[2 * k + 2] = angles[k];
            nodeHi[2 * k + 2] = nodeHi[k];
        }
    }
    const std::array<double, nodes> heights = heightsAtZero(in, in.dragModel, speedOfSound, effectiveBC, angles);
    std::size_t k = 0;
    for (int level = 0; level < Depth; ++level) {
        if (heights[k] > 0) {
            hi = angles[k];
            k = 2 * k + 1;
        } else {
            lo = angles[k];
            k = 2 * k + 2;
        }
    }
}

// Bisection on the bore angle: the angle whose path ends level with the line of sight, after
// 50 halvings of [0, 0.1] rad, settled a few halvings per round (see bisect).
double zeroAngle(const BallisticEngine::Inputs& in, double speedOfSound, double effectiveBC) {
    // Two halvings per round (three flights side by side) measured fastest: seven flights at
    // once already queue on the divider and cost more than they save.
    constexpr int depth = 2;
    double lo = 0;
    double hi = zeroBracketHigh;
    int pass = 0;
    for (; pass + depth <= zeroBisections; pass += depth) bisect<depth>(in, speedOfSound, effectiveBC, lo, hi);
    for (; pass < zeroBisections; ++pass) bisect<1>(in, speedOfSound, effectiveBC, lo, hi);
    return (lo + hi) * 0.5;
}

// Miller's gyroscopic stability factor in dry air, used only for spin drift.
double stabilityFactor(const BallisticEngine::Inputs& in, double rankine) {
    const double l = in.bulletLength / in.bulletDiameter;
    const double sg0 = 30 * in.bulletWeight / (in.twistRate * in.twistRate * in.bulletLength * (1 + l * l));
    const double dryDensityRatio = (standardRankine / rankine) * in.pressure / 29.92;
    return sg0 / dryDensityRatio * std::pow(in.muzzleVelocity / 2800, 1.0 / 3.0);
}

}  // namespace

std::vector<TrajectoryPoint> BallisticEngine::solve(const Inputs& in) {
    // Air: density ratio against the standard atmosphere, corrected for humidity.
    const double rankine = in.temperature + 459.67;
    const double celsius = (in.temperature - 32) / 9 * 5;
    const double vapour = 0.02953 * std::pow(10.0, 7.5 * celsius / (celsius + 237.7));
    const double densityRatio =
        (standardRankine / rankine) * (in.pressure - 0.3783 * (in.humidity / 100) * vapour) / 29.92;
    const double speedOfSound = 49.0223 * std::sqrt(rankine);
    const double effectiveBC = in.ballisticCoefficient / densityRatio;

    const double boreAngle = zeroAngle(in, speedOfSound, effectiveBC);
    Dynamics dynamics(in.dragModel, speedOfSound, effectiveBC);
    const double sg = stabilityFactor(in, rankine);
    const double crosswind = in.windSpeed * 1.46667 * std::sin(radiansFromDegrees(in.windDirection));
    const double g = gravity * std::cos(radiansFromDegrees(in.shootingAngle));
    const double coriolisRate = 12 * earthRotation * std::sin(radiansFromDegrees(in.latitude));
    const double sinAzimuth = std::sin(radiansFromDegrees(in.targetAzimuth));

    std::vector<TrajectoryPoint> rows;
    const double stepFeet = in.rangeStep * 3;
    const double limit = (in.maxRange + in.rangeStep) * 3;
    if (in.rangeStep > 0 && std::isfinite(limit)) {
        rows.reserve(static_cast<std::size_t>(std::clamp(limit / stepFeet + 1, 0.0, 4096.0)));
    }

    State s{0, -in.sightHeight / 12, in.muzzleVelocity * std::cos(boreAngle), in.muzzleVelocity * std::sin(boreAngle)};
    double t = 0;
    double nextMark = stepFeet;
    while (true) {
        if (s.x >= limit) break;
        const double v = speedOf(s);
        if (flightEnded(s, v) || t > stopTime) break;
        dynamics.step(s, v, g);
        t += timeStep;
        if (nextMark <= s.x) {
            TrajectoryPoint p;
            p.range = s.x / 3;
            p.velocity = v;
            p.time = t;
            p.energy = energyFootPounds(in.bulletWeight, v);
            double lateral = crosswind * (t - s.x / in.muzzleVelocity) * 12;
            if (in.includeSpinDrift) {
                const double spin = 1.25 * (sg + 1.2) * std::pow(t, 1.83);
                lateral = in.twistRate > 0 ? lateral + spin : lateral - spin;
            }
            if (in.includeCoriolis) lateral = lateral + coriolisRate * s.x * t * sinAzimuth;
            p.path = s.y * 12;
            p.dropInches = -p.path;
            p.dropMOA = moaFromInches(p.dropInches, p.range);
            p.dropMil = milFromInches(p.dropInches, p.range);
            p.windDriftInches = lateral;
            p.windDriftMOA = moaFromInches(lateral, p.range);
            p.windDriftMil = milFromInches(lateral, p.range);
            rows.push_back(p);
            nextMark += stepFeet;
        }
    }
    return rows;
}

}  // namespace kavrino
