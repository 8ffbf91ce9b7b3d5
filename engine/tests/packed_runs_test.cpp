// Runs flown side by side, with either instruction set, end exactly where each run flown alone
// ends: same height, bit for bit, for any number of runs and any forces.
#include "packed_runs.h"

#include "atmosphere.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace kavrino_engine::detail {
namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// A run flown alone to the zeroing stop: the zero distance, the minimum speed or the time bound.
double heightFlownAlone(const Flight& flight, double theta, double mv, double startHeight, double stopDistance) {
    Run run(flight, theta, mv, startHeight);
    while (run.state().x < stopDistance && !(run.speed() < kMinimumSpeed) && !(run.time() > solver::kMaxFlightTime)) {
        run.step();
    }
    return run.state().y;
}

struct Case {
    const char* name;
    SolverInput input;
    double stopDistance;  // ft
};

std::vector<Case> cases() {
    SolverInput g7;
    g7.dragCurve.kind = DragCurve::Kind::G7;
    g7.ballisticCoefficient = 0.25;
    SolverInput banded;
    banded.muzzleVelocity = 3100.0;
    banded.bcBands = {{2800.0, 0.47}, {2400.0, 0.462}, {3000.0, 0.9}, {2000.0, 0.45}};
    SolverInput unsorted;
    unsorted.dragCurve = {DragCurve::Kind::Custom, {{2.0, 0.3}, {0.5, 0.2}, {2.2, 0.25}, {1.0, 0.4}, {3.0, 0.28}}};
    SolverInput slow;  // slows below 100 ft/s, some lanes before the others
    slow.muzzleVelocity = 400.0;
    slow.ballisticCoefficient = 0.002;
    SolverInput upwards;  // shot past the vertical: gravity pulls back along the line of sight
    upwards.shootingAngle = 120.0;
    SolverInput backwards;  // never reaches the stop distance; slows below 100 ft/s
    backwards.muzzleVelocity = -2650.0;
    backwards.ballisticCoefficient = 0.005;
    SolverInput crawling;  // starts below the drag cut-off
    crawling.muzzleVelocity = 0.5;
    SolverInput noBc;  // infinite drag: the state turns into NaN at once
    noBc.ballisticCoefficient = 0.0;
    return {{"defaults", SolverInput{}, 300.0},        {"G7 far", g7, 3000.0},
            {"bands", banded, 1500.0},                 {"unsorted curve", unsorted, 900.0},
            {"slowing to a stop", slow, 5000.0},       {"past the vertical", upwards, 300.0},
            {"backwards", backwards, 300.0},           {"below the drag cut-off", crawling, 300.0},
            {"infinite drag", noBc, 300.0}};
}

TEST(PackedRuns, EachRunEndsAsItWouldAlone) {
    std::mt19937_64 random(9);
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        const SolverInput& in = c.input;
        const Flight flight(in, atmosphere::air_density_ratio(in.temperature, in.pressure, in.humidity),
                            atmosphere::speed_of_sound(in.temperature));
        const double startHeight = -in.sightHeight / 12.0;
        for (std::size_t count : {std::size_t{1}, std::size_t{5}, std::size_t{8}, std::size_t{9}, kMaxPackedRuns}) {
            std::vector<double> angles(count);
            // Spread over the whole bracket, with two identical angles and one at its top.
            std::uniform_real_distribution<double> angle(0.0, 0.1);
            for (double& a : angles) a = angle(random);
            angles.front() = 0.1;
            if (count > 2) angles[1] = angles[2];
            for (PackedInstructions instructions : {PackedInstructions::Widest, PackedInstructions::Baseline}) {
                std::vector<double> heights(count);
                flyToDistance(flight, angles, in.muzzleVelocity, startHeight, c.stopDistance, heights, instructions);
                for (std::size_t k = 0; k < count; ++k) {
                    const double alone =
                        heightFlownAlone(flight, angles[k], in.muzzleVelocity, startHeight, c.stopDistance);
                    ASSERT_TRUE(sameBits(heights[k], alone))
                        << count << " runs, run " << k << " at " << angles[k] << ": " << heights[k] << ", alone "
                        << alone << (instructions == PackedInstructions::Baseline ? " (baseline instructions)" : "");
                }
            }
        }
    }
}

}  // namespace
}  // namespace kavrino_engine::detail
