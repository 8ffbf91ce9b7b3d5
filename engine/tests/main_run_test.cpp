// The main run and the run started ahead on its own thread: whichever way its rows come, they
// are those of the run flown from the final angle.
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
    static constexpr double kOtherAngle = 0.0012238791386414596;
};

TEST_F(MainRunTest, RowsAreThoseOfThePlainRun) {
    const std::optional<MainRunRows> rows = flyMainRun(flight, settings, kAngle, nullptr);
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->points.size(), 20u);
    EXPECT_TRUE(sameRows(*rows, flownAlone(kAngle)));
}

TEST_F(MainRunTest, ACancelledRunGivesUp) {
    const std::atomic<bool> cancel{true};
    EXPECT_FALSE(flyMainRun(flight, settings, kAngle, &cancel));
}

TEST_F(MainRunTest, TheRunAheadGivesTheRowsOfTheAngleTaken) {
    const solver::Solution expected = flownAlone(kAngle);
    {
        SCOPED_TRACE("started ahead from the final angle");
        MainRunAhead ahead(flight, settings);
        ahead.expect(kAngle);
        EXPECT_TRUE(sameRows(ahead.take(kAngle), expected));
    }
    {
        SCOPED_TRACE("expected again from the same angle");
        MainRunAhead ahead(flight, settings);
        ahead.expect(kAngle);
        ahead.expect(kAngle);
        EXPECT_TRUE(sameRows(ahead.take(kAngle), expected));
    }
    {
        SCOPED_TRACE("restarted from the final angle");
        MainRunAhead ahead(flight, settings);
        ahead.expect(kOtherAngle);
        ahead.expect(kAngle);
        EXPECT_TRUE(sameRows(ahead.take(kAngle), expected));
    }
    {
        SCOPED_TRACE("started ahead from another angle");
        MainRunAhead ahead(flight, settings);
        ahead.expect(kAngle);
        ahead.expect(kOtherAngle);
        EXPECT_TRUE(sameRows(ahead.take(kAngle), expected));
    }
    {
        SCOPED_TRACE("never started ahead");
        MainRunAhead ahead(flight, settings);
        EXPECT_TRUE(sameRows(ahead.take(kAngle), expected));
    }
    {
        SCOPED_TRACE("changed more often than runs are started");
        MainRunAhead ahead(flight, settings);
        for (int i = 0; i < 10; ++i) ahead.expect(i % 2 ? kAngle : kOtherAngle);
        EXPECT_TRUE(sameRows(ahead.take(kAngle), expected));
    }
    {
        SCOPED_TRACE("left without taking");
        MainRunAhead ahead(flight, settings);
        ahead.expect(kAngle);
    }
}

}  // namespace
}  // namespace kavrino_engine::detail
