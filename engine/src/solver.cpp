// Notation: the state is x (ft downrange), y (ft above the line of sight, negative below),
// vx, vy (ft/s) and t (s). The bore starts sightHeight below the line of sight; gravity acts on
// vy only (scaled by the cosine of the shooting angle). Every formula is evaluated in the order
// it is written, without fused multiply-add, so each row rounds exactly as specified.
#include "solver.h"

#include "atmosphere.h"

#include <algorithm>  // std::min
#include <array>
#include <cmath>  // std::sqrt, std::sin, std::cos, std::pow, std::round, std::fabs
#include <optional>

namespace kavrino_engine::solver {
namespace {

constexpr double kGravity = 32.174;            // ft/s²
constexpr double kDragFactor = 0.000208554;    // drag deceleration per v²·Cd·density/BC
constexpr double kTimeStep = 0.0005;           // s, fixed step of every run
constexpr double kMinimumSpeed = 100.0;        // ft/s: below it the bullet is no longer tracked
constexpr double kDragCutoff = 1.0;            // ft/s: below it only gravity acts
constexpr double kEarthRotation = 7.2921e-5;   // rad/s
constexpr double kZeroBracketHigh = 0.1;       // rad, upper launch angle of the bisection
constexpr int kBisectionRounds = 50;           // brackets to below 1e-16 rad
constexpr double kEnergyDivisor = 450436.0;    // grains·ft²/s² per ft·lbf
constexpr double kMoaInchesPer100Yards = 1.047;
constexpr double kMilInchesPer100Yards = 3.6;
constexpr double kDegrees = 0.017453292519943295;  // π/180
constexpr double kMphToFps = 1.46667;

struct State {
    double x, y, vx, vy;
};

struct Derivative {
    double dx, dy, dvx, dvy;
};

double speedOf(const State& s) { return std::sqrt(s.vx * s.vx + s.vy * s.vy); }

// One integration run: its state, flight time, the speed of the current state (found once per
// step for the stop test and reused by the first Runge-Kutta stage) and its drag-lookup memory.
struct Run {
    State s{};
    double t = 0.0;
    double speed = 0.0;
    drag::Lookup drag;
    bool running = true;
};

// The forces of a solve: gravity, drag with its curve and BC bands, all conditions fixed.
class Flight {
public:
    Flight(const SolverInput& input, double densityRatio, double speedOfSound)
        : m_input(input),
          m_gravity(-kGravity * std::cos(input.shootingAngle * kDegrees)),
          m_density(densityRatio),
          m_speedOfSound(speedOfSound) {}

    Run launch(double theta, double muzzleVelocity, double startHeight) const {
        return {{0.0, startHeight, muzzleVelocity * std::cos(theta), muzzleVelocity * std::sin(theta)},
                0.0, 0.0, drag::Lookup(drag::rows(m_input.dragCurve)), true};
    }

    // One classic fourth-order Runge-Kutta step of kTimeStep on every running run. The runs are
    // advanced stage by stage together: each run is one long chain of dependent divisions and
    // square roots, and interleaving independent runs lets the processor overlap them. The
    // arithmetic of each run is exactly that of a step taken alone.
    template <std::size_t N> void step(std::array<Run, N>& runs) {
        constexpr double dt = kTimeStep;
        Derivative k1[N]{}, k2[N]{}, k3[N]{}, k4[N]{};
        for (std::size_t l = 0; l < N; ++l) {
            if (runs[l].running) k1[l] = derivative(runs[l].s, runs[l].speed, runs[l].drag);
        }
        for (std::size_t l = 0; l < N; ++l) {
            if (runs[l].running) k2[l] = derivative(advance(runs[l].s, k1[l], dt / 2.0), runs[l].drag);
        }
        for (std::size_t l = 0; l < N; ++l) {
            if (runs[l].running) k3[l] = derivative(advance(runs[l].s, k2[l], dt / 2.0), runs[l].drag);
        }
        for (std::size_t l = 0; l < N; ++l) {
            if (runs[l].running) k4[l] = derivative(advance(runs[l].s, k3[l], dt), runs[l].drag);
        }
        for (std::size_t l = 0; l < N; ++l) {
            if (!runs[l].running) continue;
            State& s = runs[l].s;
            s.x = s.x + (k1[l].dx + 2.0 * k2[l].dx + 2.0 * k3[l].dx + k4[l].dx) * dt / 6.0;
            s.y = s.y + (k1[l].dy + 2.0 * k2[l].dy + 2.0 * k3[l].dy + k4[l].dy) * dt / 6.0;
            s.vx = s.vx + (k1[l].dvx + 2.0 * k2[l].dvx + 2.0 * k3[l].dvx + k4[l].dvx) * dt / 6.0;
            s.vy = s.vy + (k1[l].dvy + 2.0 * k2[l].dvy + 2.0 * k3[l].dvy + k4[l].dvy) * dt / 6.0;
            runs[l].t += dt;
        }
    }

private:
    // Acceleration of a state whose speed is v; v² is taken as v·v, products left to right.
    Derivative derivative(const State& s, double v, drag::Lookup& lookup) const {
        if (v < kDragCutoff) return {s.vx, s.vy, 0.0, m_gravity};
        const double bc = ballisticCoefficient(v);
        const double cd = lookup.cd(v / m_speedOfSound);
        const double a = -kDragFactor * v * v * cd * m_density / bc;
        return {s.vx, s.vy, a * s.vx / v, m_gravity + a * s.vy / v};
    }
    Derivative derivative(const State& s, drag::Lookup& lookup) const { return derivative(s, speedOf(s), lookup); }

    static State advance(const State& s, const Derivative& k, double h) {
        return {s.x + k.dx * h, s.y + k.dy * h, s.vx + k.dvx * h, s.vy + k.dvy * h};
    }

    // The first band, in list order, that starts at or below v; the last band if none does.
    double ballisticCoefficient(double v) const {
        const std::vector<BcBand>& bands = m_input.bcBands;
        if (bands.empty()) return m_input.ballisticCoefficient;
        for (const BcBand& band : bands) {
            if (band.velocity <= v) return band.bc;
        }
        return bands.back().bc;
    }

    const SolverInput& m_input;
    double m_gravity;
    double m_density;
    double m_speedOfSound;
};

double roundTo(double value, double scale) { return std::round(value * scale) / scale; }

// The table rows of the main run, recorded after each step as it passes each range step.
class RowRecorder {
public:
    RowRecorder(const SolverInput& input, double mv, double sg, double speedOfSound)
        : m_input(input),
          m_mv(mv),
          m_sg(sg),
          m_speedOfSound(speedOfSound),
          m_crosswind(input.windSpeed * kMphToFps * std::sin(input.windDirection * kDegrees)),
          m_latitude(input.latitude * kDegrees),
          m_azimuth(input.targetAzimuth * kDegrees),
          m_rowSpacing(input.rangeStep * 3.0),
          m_nextRow(m_rowSpacing) {}

    void restart() {
        m_points.clear();
        m_transonicRange.reset();
        m_subsonicRange.reset();
        m_nextRow = m_rowSpacing;
    }

    // At most one row per step, from the state after the step.
    void afterStep(const Run& run) {
        const State& s = run.s;
        if (!(s.x >= m_nextRow)) return;
        m_nextRow = m_nextRow + m_rowSpacing;
        const double t = run.t;
        const double rangeYards = s.x / 3.0;
        const double v = speedOf(s);

        double drop = -12.0 * s.y;
        if (m_input.includeAeroJump) {
            const double jump = (m_sg + 1.2) * (m_crosswind / m_mv) * 12.0;
            if (m_input.twistRate > 0.0) drop -= rangeYards / 1000.0 * jump;
            else drop += rangeYards / 1000.0 * jump;
        }
        if (m_input.includeCoriolis) {
            drop += -12.0 * kEarthRotation * std::cos(m_latitude) * std::sin(m_azimuth) * s.x * t;
        }

        double wind = m_crosswind * (t - s.x / m_mv) * 12.0;
        if (m_input.includeSpinDrift) {
            const double spinDrift = 1.25 * (m_sg + 1.2) * std::pow(t, 1.83);
            if (m_input.twistRate <= 0.0) wind -= spinDrift;
            else wind += spinDrift;
        }
        if (m_input.includeCoriolis) {
            wind += 12.0 * kEarthRotation * std::sin(m_latitude) * std::sin(m_azimuth) * s.x * t;
        }

        const double mach = v / m_speedOfSound;
        const double per100 = rangeYards > 0.0 ? rangeYards / 100.0 : 1.0;
        const double moaDivisor = kMoaInchesPer100Yards * per100;
        const double milDivisor = kMilInchesPer100Yards * per100;

        TrajectoryPoint row;
        row.range = roundTo(rangeYards, 10.0);
        row.velocity = roundTo(v, 10.0);
        row.mach = roundTo(mach, 1000.0);
        row.time = roundTo(t, 10000.0);
        row.energy = roundTo(v * v * m_input.bulletWeight / kEnergyDivisor, 10.0);
        row.dropInches = roundTo(drop, 100.0);
        row.dropMoa = roundTo(drop / moaDivisor, 100.0);
        row.dropMil = roundTo(drop / milDivisor, 100.0);
        row.windInches = roundTo(wind, 100.0);
        row.windMoa = roundTo(wind / moaDivisor, 100.0);
        row.windMil = roundTo(wind / milDivisor, 100.0);
        row.zone = zoneOf(mach);
        if (row.zone == Zone::Transonic && !m_transonicRange) m_transonicRange = row.range;
        if (row.zone == Zone::Subsonic && !m_subsonicRange) m_subsonicRange = row.range;
        m_points.push_back(row);
    }

    void moveInto(Solution& solution) {
        solution.points = std::move(m_points);
        solution.transonicRange = m_transonicRange;
        solution.subsonicRange = m_subsonicRange;
    }

private:
    const SolverInput& m_input;
    double m_mv;
    double m_sg;
    double m_speedOfSound;
    double m_crosswind;  // ft/s, positive pushes towards positive windInches
    double m_latitude;   // rad
    double m_azimuth;    // rad
    double m_rowSpacing;  // ft
    double m_nextRow;     // ft
    std::vector<TrajectoryPoint> m_points;
    std::optional<double> m_transonicRange;
    std::optional<double> m_subsonicRange;
};

// The main run from launch to its stop, with its rows. It may be launched ahead, at the angle
// the zeroing is expected to end on, and flown alongside the remaining zeroing runs; it is kept
// only when the zeroing really ends on that angle (compared exactly), otherwise flown again.
struct MainRun {
    Run run;
    double theta = 0.0;
    bool launched = false;
    bool finished = false;
    double stopDistance = 0.0;  // ft
    RowRecorder rows;

    void launch(const Flight& flight, double angle, double mv, double startHeight) {
        run = flight.launch(angle, mv, startHeight);
        theta = angle;
        launched = true;
        finished = false;
        rows.restart();
    }
    // The stop rules, tested before every step; sets the speed the step's first stage reuses.
    bool stopsBeforeStep(Run& r) const {
        r.speed = speedOf(r.s);
        return r.s.x >= stopDistance || r.speed < kMinimumSpeed || r.t > kMaxFlightTime;
    }
    void flyToEnd(Flight& flight) {
        std::array<Run, 1> lane{run};
        while (!stopsBeforeStep(lane[0])) {
            flight.step(lane);
            rows.afterStep(lane[0]);
        }
        run = lane[0];
        finished = true;
    }
};

// Bisection of the launch angle, several rounds per pass. Each round depends on the verdict of
// the one before, so a pass guesses the verdicts ahead: the height at the zero distance is close
// to linear in the angle, so the line through the bracket's two measured ends predicts which
// side of the zero each coming midpoint falls on. The pass flies the next midpoints the guesses
// lead to side by side, then checks the verdicts in order and keeps every round up to the first
// wrong guess; the runs after it are dropped and flown again in the next pass. Every round's
// angle and verdict are therefore exactly those of the one-round-at-a-time bisection; only the
// order of the work changes (the default request takes 5 to 6 passes instead of 50 rounds).
// Ten runs per pass measured fastest: wider passes lose more work after a wrong guess and
// saturate the processor's divider; narrower ones leave it idle between dependent divisions.
// The same guesses give the angle the bisection will end on, so the main run (when there is
// one) is launched at it and flown in the same passes.
constexpr std::size_t kRunsPerPass = 10;
constexpr std::size_t kMainLane = kRunsPerPass;

struct Bracket {
    double lo = 0.0;
    double hi = kZeroBracketHigh;
    std::optional<double> heightAtLo;  // measured height at the zero distance (ft), <= 0
    std::optional<double> heightAtHi;  // > 0
    bool lastTooHigh = true;           // the latest verdict

    // Where the line through the measured ends crosses zero height; none while an end is
    // unmeasured or the heights give no usable line.
    std::optional<double> estimatedZero() const {
        if (!heightAtLo || !heightAtHi || !(*heightAtHi > *heightAtLo)) return std::nullopt;
        return lo + (0.0 - *heightAtLo) * (hi - lo) / (*heightAtHi - *heightAtLo);
    }
    // The verdict expected at `theta`: from the line when there is one, otherwise the latest
    // verdict again (brackets start far above the zero, so at first "too high").
    bool guessTooHigh(double theta, const std::optional<double>& zero) const {
        return zero ? theta > *zero : lastTooHigh;
    }
    void apply(double theta, bool tooHigh, double height) {
        lastTooHigh = tooHigh;
        if (tooHigh) {
            hi = theta;
            heightAtHi = height;
        } else {
            lo = theta;
            heightAtLo = height;
        }
    }
};

// Flies the zeroing runs of a pass until each reaches `zeroDistance`, slows below the minimum
// speed or exceeds the flight-time bound (each tested before a step). The main run, when it
// flies along in the last lane, follows its own stop rules and records its rows.
template <std::size_t N>
void flyPass(Flight& flight, std::array<Run, N>& runs, double zeroDistance, MainRun* main) {
    Run& mainLane = runs[kMainLane];
    for (;;) {
        bool any = false;
        for (std::size_t l = 0; l < kMainLane; ++l) {
            Run& run = runs[l];
            if (!run.running) continue;
            run.speed = speedOf(run.s);
            run.running = run.s.x < zeroDistance && !(run.speed < kMinimumSpeed) && !(run.t > kMaxFlightTime);
            any = any || run.running;
        }
        if (!any) return;
        if (mainLane.running && main->stopsBeforeStep(mainLane)) {
            mainLane.running = false;
            main->finished = true;
        }
        flight.step(runs);
        if (mainLane.running) main->rows.afterStep(mainLane);
    }
}

// Returns the final bracket [lo, hi]; flies `main` along when it is given.
void bisectLaunchAngle(Flight& flight, double mv, double startHeight, double zeroDistance, double& lo,
                       double& hi, MainRun* main) {
    Bracket bracket;
    int roundsLeft = kBisectionRounds;
    while (roundsLeft > 0) {
        const std::size_t count = std::min<std::size_t>(kRunsPerPass, static_cast<std::size_t>(roundsLeft));
        std::array<double, kRunsPerPass> theta{};
        std::array<bool, kRunsPerPass> guess{};
        std::array<Run, kRunsPerPass + 1> runs{};
        const std::optional<double> zero = bracket.estimatedZero();
        double guessedLo = bracket.lo;
        double guessedHi = bracket.hi;
        for (std::size_t k = 0; k < kRunsPerPass; ++k) {
            if (k >= count) {
                runs[k].running = false;
                continue;
            }
            theta[k] = (guessedLo + guessedHi) * 0.5;
            runs[k] = flight.launch(theta[k], mv, startHeight);
            guess[k] = bracket.guessTooHigh(theta[k], zero);
            if (guess[k]) guessedHi = theta[k];
            else guessedLo = theta[k];
        }
        runs[kMainLane].running = false;
        if (main && zero) {
            for (int r = static_cast<int>(count); r < roundsLeft; ++r) {
                const double next = (guessedLo + guessedHi) * 0.5;
                if (bracket.guessTooHigh(next, zero)) guessedHi = next;
                else guessedLo = next;
            }
            const double expectedTheta = (guessedLo + guessedHi) * 0.5;
            if (!main->launched || main->theta != expectedTheta) main->launch(flight, expectedTheta, mv, startHeight);
            runs[kMainLane] = main->run;
            runs[kMainLane].running = !main->finished;
        }
        flyPass(flight, runs, zeroDistance, main);
        if (main && main->launched) main->run = runs[kMainLane];
        for (std::size_t k = 0; k < count; ++k) {
            const double height = runs[k].s.y;
            const bool tooHigh = height > 0.0;
            bracket.apply(theta[k], tooHigh, height);
            --roundsLeft;
            if (tooHigh != guess[k]) break;  // later runs started from a wrong bracket
        }
    }
    lo = bracket.lo;
    hi = bracket.hi;
}

}  // namespace

std::string_view zoneName(Zone zone) {
    switch (zone) {
    case Zone::Transonic: return "Transonic";
    case Zone::Subsonic: return "Subsonic";
    case Zone::Supersonic: break;
    }
    return "Supersonic";
}

Zone zoneOf(double mach) {
    if (mach <= 1.0) return Zone::Subsonic;
    if (mach <= 1.2) return Zone::Transonic;
    return Zone::Supersonic;  // also NaN
}

std::string_view ratingOf(double sg) {
    if (sg >= 1.5) return "stable";
    if (sg >= 1.0) return "marginal";
    return "unstable";  // also NaN
}

double miller_sg(const SolverInput& input) {
    if (input.bulletDiameter == 0.0) return 0.0;
    const double twist = input.twistRate;
    const double length = input.bulletLength;
    const double lengthCalibers = length / std::fabs(input.bulletDiameter);
    const double dryDensity = atmosphere::air_density_ratio(input.temperature, input.pressure, 0.0);
    return 30.0 * input.bulletWeight /
           (twist * twist * length * (1.0 + lengthCalibers * lengthCalibers)) / dryDensity *
           std::pow(input.muzzleVelocity / 2800.0, 0.3333333333333333);
}

Solution solve(const SolverInput& input) {
    double mv = input.muzzleVelocity;
    if (input.mvTempSensitivity != 0.0) {
        mv += input.mvTempSensitivity * (input.temperature - input.mvReferenceTemp);
    }
    const double density = atmosphere::air_density_ratio(input.temperature, input.pressure, input.humidity);
    const double speedOfSound = atmosphere::speed_of_sound(input.temperature);
    Flight flight(input, density, speedOfSound);
    const double startHeight = -input.sightHeight / 12.0;

    SolverInput corrected = input;
    corrected.muzzleVelocity = mv;
    const double sg = miller_sg(corrected);

    Solution solution;
    solution.stability = {roundTo(sg, 100.0), ratingOf(sg)};

    // Without a main run the launch angle changes nothing in the reply: no zeroing needed.
    const double stopDistance = input.maxRange * 3.0 + 1.0;
    if (stopDistance <= 0.0) return solution;
    MainRun main{Run{}, 0.0, false, false, stopDistance, RowRecorder(input, mv, sg, speedOfSound)};

    // Zeroing: bisect the launch angle so that y crosses 0 at the zero distance.
    const double zeroDistance = input.zeroRange * 3.0;
    double lo = 0.0;
    double hi = kZeroBracketHigh;
    if (zeroDistance > 0.0) {
        bisectLaunchAngle(flight, mv, startHeight, zeroDistance, lo, hi, &main);
    } else {
        // No step is taken in any round: each judges the start height alone.
        for (int round = 0; round < kBisectionRounds; ++round) {
            const double theta = (lo + hi) * 0.5;
            if (startHeight > 0.0) hi = theta;
            else lo = theta;
        }
    }

    const double theta = (lo + hi) * 0.5;
    if (!main.launched || main.theta != theta) main.launch(flight, theta, mv, startHeight);
    if (!main.finished) main.flyToEnd(flight);
    main.rows.moveInto(solution);
    return solution;
}

}  // namespace kavrino_engine::solver
