// The solve: temperature-corrected muzzle velocity, air, zeroing, stability, then the main run
// with its rows. The zeroing runs are flown side by side (packed_runs.h, zeroing.cpp); once the
// angle the zeroing will end on can be foreseen, the main run starts from it while the rest of
// the zeroing flies on a thread of its own (zeroing_finisher.h). The reply is exactly that of
// flying every run alone, one after another.
#include "solver.h"

#include "atmosphere.h"
#include "flight.h"
#include "main_run.h"
#include "zeroing.h"
#include "zeroing_finisher.h"

#include <bit>    // std::bit_cast
#include <cmath>  // std::pow, std::round, std::fabs
#include <cstdint>
#include <memory>

namespace kavrino_engine::solver {
namespace {

constexpr double kZeroBracketHigh = 0.1;  // rad, upper launch angle of the bisection
constexpr int kBisectionRounds = 50;

double roundTo(double value, double scale) { return std::round(value * scale) / scale; }

// The Miller factor of the input with `muzzleVelocity` in place of the input's own.
double millerSg(const SolverInput& input, double muzzleVelocity) {
    if (input.bulletDiameter == 0.0) return 0.0;
    const double twist = input.twistRate;
    const double length = input.bulletLength;
    const double lengthCalibers = length / std::fabs(input.bulletDiameter);
    const double dryDensity = atmosphere::air_density_ratio(input.temperature, input.pressure, 0.0);
    return 30.0 * input.bulletWeight /
           (twist * twist * length * (1.0 + lengthCalibers * lengthCalibers)) / dryDensity *
           std::pow(muzzleVelocity / 2800.0, 0.3333333333333333);
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

double miller_sg(const SolverInput& input) { return millerSg(input, input.muzzleVelocity); }

Solution solve(const SolverInput& input) {
    double mv = input.muzzleVelocity;
    if (input.mvTempSensitivity != 0.0) {
        mv += input.mvTempSensitivity * (input.temperature - input.mvReferenceTemp);
    }
    const double density = atmosphere::air_density_ratio(input.temperature, input.pressure, input.humidity);
    const double speedOfSound = atmosphere::speed_of_sound(input.temperature);
    const double startHeight = -input.sightHeight / 12.0;

    const double sg = millerSg(input, mv);

    Solution solution;
    solution.stability = {roundTo(sg, 100.0), ratingOf(sg)};

    // Without a main run the launch angle changes nothing in the reply: no zeroing needed.
    const double stopDistance = input.maxRange * 3.0 + 1.0;
    if (stopDistance <= 0.0) return solution;

    // On the heap: a zeroing thread still on its way when the solve returns may read it.
    const auto flight = std::make_shared<const detail::Flight>(input, density, speedOfSound);
    const detail::MainRunSettings settings{&input, mv, startHeight, sg, stopDistance};
    detail::MainRunRows rows;
    const double zeroDistance = input.zeroRange * 3.0;
    if (zeroDistance > 0.0) {
        detail::Zeroing zeroing(*flight, mv, startHeight, zeroDistance);
        std::optional<double> foreseen;
        while (!(foreseen = zeroing.foreseenAngle())) zeroing.flyPass();
        if (zeroing.finished()) {
            detail::flyMainRun(*flight, settings, *foreseen, nullptr, rows);
        } else {
            // The main run from the foreseen angle here, the rest of the zeroing beside it; a
            // run from an angle the zeroing turns away from is given up and flown again.
            detail::ZeroingFinisher finisher(flight, zeroing, *foreseen);
            double theta = *foreseen;
            while (!detail::flyMainRun(*flight, settings, theta, &finisher.changed(), rows)) {
                theta = finisher.expected();
            }
            const double zeroed = finisher.angle(zeroing);
            if (std::bit_cast<std::uint64_t>(zeroed) != std::bit_cast<std::uint64_t>(theta)) {
                detail::flyMainRun(*flight, settings, zeroed, nullptr, rows);
            }
        }
    } else {
        // No step is taken in any round: each judges the start height alone.
        double lo = 0.0;
        double hi = kZeroBracketHigh;
        for (int round = 0; round < kBisectionRounds; ++round) {
            const double theta = (lo + hi) * 0.5;
            if (startHeight > 0.0) hi = theta;
            else lo = theta;
        }
        detail::flyMainRun(*flight, settings, (lo + hi) * 0.5, nullptr, rows);
    }
    solution.points = std::move(rows.points);
    solution.transonicRange = rows.transonicRange;
    solution.subsonicRange = rows.subsonicRange;
    return solution;
}

}  // namespace kavrino_engine::solver
