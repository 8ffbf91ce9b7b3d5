#include "core/ballistic_engine.h"

#include "core/flight_lanes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

// Notation: x downrange and y height above the line of sight (ft; the line of sight is y = 0
// and the muzzle starts at y = -sightHeight / 12), vx and vy the velocity (ft/s), t the time
// of flight (s). Every formula is evaluated in the order it is written, without fused
// multiply-add, so the rows are reproducible to the last bit. The flights themselves (the
// midpoint step, the drag lookup and the stop rule) are flown by flight::Lanes.

namespace kavrino {
namespace {

using flight::Flight;
using flight::Lanes;
using flight::LaneState;

constexpr double gravity = -32.174;      // ft/s²
constexpr double zeroBracketHigh = 0.1;  // rad: bore angle bracket is [0, 0.1]
constexpr int zeroBisections = 50;
constexpr double earthRotation = 7.2921e-5;  // rad/s
static_assert(BallisticEngine::solvesSideBySide == Lanes::count);

// Standard Rankine temperature, summed in double precision (518.6700000000001).
const double standardRankine = 59.0 + 459.67;

// Miller's gyroscopic stability factor in dry air, used only for spin drift.
double stabilityFactor(const BallisticEngine::Inputs& in, double rankine) {
    const double l = in.bulletLength / in.bulletDiameter;
    const double sg0 = 30 * in.bulletWeight / (in.twistRate * in.twistRate * in.bulletLength * (1 + l * l));
    const double dryDensityRatio = (standardRankine / rankine) * in.pressure / 29.92;
    return sg0 / dryDensityRatio * std::pow(in.muzzleVelocity / 2800, 1.0 / 3.0);
}

// The most bisection rounds' trial angles flown at once: a round of depth d settles d halvings
// with 2^d - 1 flights (every midpoint that may follow within those halvings).
constexpr int deepestRound = 3;
constexpr int roundFlights = (1 << deepestRound) - 1;

// One solve: its inputs, its air, the state of its zeroing and its rows.
struct Solve {
    const BallisticEngine::Inputs* in = nullptr;
    std::vector<TrajectoryPoint>* rows = nullptr;
    double speedOfSound = 0;
    double effectiveBC = 0;

    // Zeroing: the bracket [lo, hi] after `halvings` halvings, and the round in flight, its
    // trial angles in heap order (node k's angle ending high leads to node 2k + 1, else 2k + 2).
    double lo = 0;
    double hi = zeroBracketHigh;
    int halvings = 0;
    int roundDepth = 0;
    int flightsOut = 0;
    std::array<double, roundFlights> angles{};
    std::array<double, roundFlights> heights{};

    // Main pass.
    double sg = 0;
    double crosswind = 0;  // ft/s
    double coriolisRate = 0;
    double sinAzimuth = 0;
    double stepFeet = 0;
    double nextMark = 0;
};

// Drives the lanes through every solve: the zeroing rounds, then the main flight with its rows.
class Solver final : public flight::Controller {
public:
    Solver(std::span<const BallisticEngine::Inputs> inputs, std::vector<std::vector<TrajectoryPoint>>& results)
        : m_inputs(inputs), m_results(results) {
        // Few solves leave lanes free for each one's trial angles; many fill the lanes alone,
        // and a trial angle that turns out unneeded would only take a lane from another solve.
        const std::size_t n = inputs.size();
        while (m_depth < deepestRound && n * ((std::size_t{1} << (m_depth + 1)) - 1) <= Lanes::count) ++m_depth;
        m_solves.reserve(n);
    }

    void run() {
        Lanes lanes;
        fill(lanes);
        lanes.run(*this);
    }

    void stopped(Lanes& lanes, int lane, const LaneState& state) override {
        const Task task = m_laneTask[static_cast<std::size_t>(lane)];
        Solve& solve = m_solves[task.solve];
        if (task.node >= 0) {
            // The end height, where the step that reached the zero distance ended (no
            // interpolation), or where the flight stopped short of it.
            solve.heights[static_cast<std::size_t>(task.node)] = state.y;
            if (--solve.flightsOut == 0) settleRound(task.solve);
        }
        fill(lanes);
    }

    double marked(int lane, const LaneState& s, double v) override {
        Solve& solve = m_solves[m_laneTask[static_cast<std::size_t>(lane)].solve];
        const BallisticEngine::Inputs& in = *solve.in;
        TrajectoryPoint p;
        p.range = s.x / 3;
        p.velocity = v;
        p.time = s.t;
        p.energy = energyFootPounds(in.bulletWeight, v);
        double lateral = solve.crosswind * (s.t - s.x / in.muzzleVelocity) * 12;
        if (in.includeSpinDrift) {
            const double spin = 1.25 * (solve.sg + 1.2) * std::pow(s.t, 1.83);
            lateral = in.twistRate > 0 ? lateral + spin : lateral - spin;
        }
        // The horizontal Coriolis term carries sin(azimuth), unlike the textbook term, which
        // depends on latitude only; the comparison and truing figures are fixed by it: keep it.
        if (in.includeCoriolis) lateral = lateral + solve.coriolisRate * s.x * s.t * solve.sinAzimuth;
        p.path = s.y * 12;
        p.dropInches = -p.path;
        p.dropMOA = moaFromInches(p.dropInches, p.range);
        p.dropMil = milFromInches(p.dropInches, p.range);
        p.windDriftInches = lateral;
        p.windDriftMOA = moaFromInches(lateral, p.range);
        p.windDriftMil = milFromInches(lateral, p.range);
        solve.rows->push_back(p);
        solve.nextMark += solve.stepFeet;
        return solve.nextMark;
    }

private:
    struct Task {
        std::size_t solve = 0;
        int node = -1;  // a zeroing round's trial angle; -1 for the main flight
    };

    // Starts waiting flights, and new solves, in every idle lane.
    void fill(Lanes& lanes) {
        for (int lane = 0; lane < Lanes::count; ++lane) {
            if (!lanes.idle(lane)) continue;
            while (m_waiting.empty() && m_solves.size() < m_inputs.size()) begin();
            if (m_waiting.empty()) return;
            const Task task = m_waiting.front();
            m_waiting.pop_front();
            m_laneTask[static_cast<std::size_t>(lane)] = task;
            lanes.start(lane, flightOf(task));
        }
    }

    void begin() {
        const std::size_t index = m_solves.size();
        const BallisticEngine::Inputs& in = m_inputs[index];
        Solve& solve = m_solves.emplace_back();
        solve.in = &in;
        solve.rows = &m_results[index];

        // Air: density ratio against the standard atmosphere, corrected for humidity. The humidity
        // term is the Magnus exponent times 0.02953 (hPa to inHg) without the 6.1078 hPa factor
        // of the saturation vapour pressure, as the engine library's is: keep the two alike.
        const double rankine = in.temperature + 459.67;
        const double celsius = (in.temperature - 32) / 9 * 5;
        const double vapour = 0.02953 * std::pow(10.0, 7.5 * celsius / (celsius + 237.7));
        const double densityRatio =
            (standardRankine / rankine) * (in.pressure - 0.3783 * (in.humidity / 100) * vapour) / 29.92;
        solve.speedOfSound = 49.0223 * std::sqrt(rankine);
        solve.effectiveBC = in.ballisticCoefficient / densityRatio;

        solve.sg = stabilityFactor(in, rankine);
        solve.crosswind = in.windSpeed * 1.46667 * std::sin(radiansFromDegrees(in.windDirection));
        solve.coriolisRate = 12 * earthRotation * std::sin(radiansFromDegrees(in.latitude));
        solve.sinAzimuth = std::sin(radiansFromDegrees(in.targetAzimuth));
        solve.stepFeet = in.rangeStep * 3;
        solve.nextMark = solve.stepFeet;
        const double limit = (in.maxRange + in.rangeStep) * 3;
        if (in.rangeStep > 0 && std::isfinite(limit)) {
            solve.rows->reserve(static_cast<std::size_t>(std::clamp(limit / solve.stepFeet + 1, 0.0, 4096.0)));
        }
        beginRound(index);
    }

    // Queues the next zeroing round: the midpoint of [lo, hi] and every midpoint that may
    // follow it within the round's halvings. The angles flown and the choices made are exactly
    // those of one halving at a time.
    void beginRound(std::size_t index) {
        Solve& solve = m_solves[index];
        solve.roundDepth = std::min(m_depth, zeroBisections - solve.halvings);
        const int nodes = (1 << solve.roundDepth) - 1;
        std::array<double, roundFlights> nodeLo{};
        std::array<double, roundFlights> nodeHi{};
        nodeLo[0] = solve.lo;
        nodeHi[0] = solve.hi;
        for (int k = 0; k < nodes; ++k) {
            const auto i = static_cast<std::size_t>(k);
            solve.angles[i] = (nodeLo[i] + nodeHi[i]) * 0.5;
            if (2 * k + 2 < nodes) {
                nodeLo[2 * i + 1] = nodeLo[i];
                nodeHi[2 * i + 1] = solve.angles[i];
                nodeLo[2 * i + 2] = solve.angles[i];
                nodeHi[2 * i + 2] = nodeHi[i];
            }
            m_waiting.push_back({index, k});
        }
        solve.flightsOut = nodes;
    }

    // Walks down the finished round: a path ending above the line of sight means the angle
    // was too high.
    void settleRound(std::size_t index) {
        Solve& solve = m_solves[index];
        std::size_t k = 0;
        for (int level = 0; level < solve.roundDepth; ++level) {
            if (solve.heights[k] > 0) {
                solve.hi = solve.angles[k];
                k = 2 * k + 1;
            } else {
                solve.lo = solve.angles[k];
                k = 2 * k + 2;
            }
        }
        solve.halvings += solve.roundDepth;
        if (solve.halvings < zeroBisections) {
            beginRound(index);
        } else {
            // The main flight is the longest: start it before any waiting trial angle.
            m_waiting.push_front({index, -1});
        }
    }

    Flight flightOf(const Task& task) const {
        const Solve& solve = m_solves[task.solve];
        const BallisticEngine::Inputs& in = *solve.in;
        Flight f;
        f.y = -in.sightHeight / 12;
        f.speedOfSound = solve.speedOfSound;
        f.effectiveBC = solve.effectiveBC;
        f.dragModel = in.dragModel;
        if (task.node >= 0) {
            // A zeroing flight on level ground to the zero distance; no rows.
            const double angle = solve.angles[static_cast<std::size_t>(task.node)];
            f.vx = in.muzzleVelocity * std::cos(angle);
            f.vy = in.muzzleVelocity * std::sin(angle);
            f.gravity = gravity;
            // At the muzzle x = 0 already reaches a zero distance of 0 or less, so the start
            // height is judged; one that is not a number is never reached.
            f.stopDistance = in.zeroRange * 3;
            f.firstMark = flight::noMark;
        } else {
            const double boreAngle = (solve.lo + solve.hi) * 0.5;
            f.vx = in.muzzleVelocity * std::cos(boreAngle);
            f.vy = in.muzzleVelocity * std::sin(boreAngle);
            f.gravity = gravity * std::cos(radiansFromDegrees(in.shootingAngle));
            f.stopDistance = (in.maxRange + in.rangeStep) * 3;
            f.firstMark = solve.stepFeet;
        }
        return f;
    }

    std::span<const BallisticEngine::Inputs> m_inputs;
    std::vector<std::vector<TrajectoryPoint>>& m_results;
    int m_depth = 1;
    std::vector<Solve> m_solves;
    std::deque<Task> m_waiting;
    std::array<Task, Lanes::count> m_laneTask{};
};

}  // namespace

std::vector<std::vector<TrajectoryPoint>> BallisticEngine::solveEach(std::span<const Inputs> inputs) {
    std::vector<std::vector<TrajectoryPoint>> results(inputs.size());
    if (!inputs.empty()) Solver(inputs, results).run();
    return results;
}

std::vector<TrajectoryPoint> BallisticEngine::solve(const Inputs& in) {
    return std::move(solveEach(std::span<const Inputs>(&in, 1)).front());
}

}  // namespace kavrino
