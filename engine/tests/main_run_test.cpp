// The main run: its rows are those of the plain run, and a run told to stop gives up.
#include "main_run.h"

#include "atmosphere.h"
#include "plain_solver.h"

#include <gtest/gtest.h>

#include <atomic>

namespace kavrino_engine::detail {
namespace {

class MainRunTest : public ::testing::Test {
protected:
    MainRunTest()
        : flight(input, atmosphere::air_density_ratio(input.temperature, input.pressure, input.humidity),
                 atmosphere::speed_of_sound(input.temperature)) {}

    static SolverInput makeInput() {
        SolverInput in;
        in.windSpeed = 10.0;
        in.includeSpinDrift = true;
        in.rangeStep = 50.0;
        return in;
    }
    solver::Solution flownAlone(double theta) const { return plain::mainRun(input, theta); }
    static bool sameRows(const MainRunRows& rows, const solver::Solution& expected) {
        return rows.points == expected.points && rows.transonicRange == expected.transonicRange &&
               rows.subsonicRange == expected.subsonicRange;
    }

    const SolverInput input = makeInput();
    const Flight flight;
    const MainRunSettings settings{&input, input.muzzleVelocity, -input.sightHeight / 12.0,
                                   solver::miller_sg(input), input.maxRange * 3.0 + 1.0};
    static constexpr double kAngle = 0.0012238790510650242;
};

TEST_F(MainRunTest, RowsAreThoseOfThePlainRun) {
    MainRunRows rows;
    ASSERT_TRUE(flyMainRun(flight, settings, kAngle, nullptr, rows));
    EXPECT_EQ(rows.points.size(), 20u);
    EXPECT_TRUE(sameRows(rows, flownAlone(kAngle)));
}

TEST_F(MainRunTest, ARunToldToStopGivesUp) {
    const std::atomic<bool> stop{true};
    MainRunRows rows;
    EXPECT_FALSE(flyMainRun(flight, settings, kAngle, &stop, rows));
}

}  // namespace
}  // namespace kavrino_engine::detail
