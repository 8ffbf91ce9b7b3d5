// The zeroing flown pass by pass, on one thread or finished on another, ends on exactly the
// angle of the plain one-round-at-a-time bisection.
#include "zeroing.h"
#include "zeroing_finisher.h"

#include "atmosphere.h"
#include "plain_solver.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

namespace kavrino_engine::detail {
namespace {

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

struct Zeroed {
    SolverInput input;
    Flight flight{input, atmosphere::air_density_ratio(input.temperature, input.pressure, input.humidity),
                  atmosphere::speed_of_sound(input.temperature)};
    Zeroing zeroing{flight, input.muzzleVelocity, -input.sightHeight / 12.0, input.zeroRange * 3.0};
};

std::vector<SolverInput> inputs() {
    SolverInput far;
    far.zeroRange = 1000.0;
    far.dragCurve.kind = DragCurve::Kind::G7;
    far.ballisticCoefficient = 0.25;
    SolverInput steep;
    steep.shootingAngle = 40.0;
    steep.zeroRange = 300.0;
    SolverInput aboveTheSight;  // bore above the line of sight: the bracket closes on 0
    aboveTheSight.sightHeight = -2.0;
    aboveTheSight.zeroRange = 10.0;
    SolverInput unreachable;  // never reaches the zero: every verdict "too low"
    unreachable.zeroRange = 20000.0;
    unreachable.ballisticCoefficient = 0.05;
    return {SolverInput{}, far, steep, aboveTheSight, unreachable};
}

TEST(Zeroing, PassByPassEndsOnThePlainBisectionsAngle) {
    for (const SolverInput& input : inputs()) {
        SCOPED_TRACE(input.zeroRange);
        Zeroed setup{input};
        int passes = 0;
        while (!setup.zeroing.finished()) {
            setup.zeroing.flyPass();
            ++passes;
        }
        EXPECT_EQ(bits(setup.zeroing.angle()), bits(plain::zeroAngle(input)));
        EXPECT_EQ(bits(*setup.zeroing.foreseenAngle()), bits(setup.zeroing.angle()));
        EXPECT_LT(passes, Zeroing::kRounds);  // rounds are taken several at a time
    }
}

TEST(ZeroingFinisher, EndsOnThePlainBisectionsAngle) {
    for (const SolverInput& input : inputs()) {
        SCOPED_TRACE(input.zeroRange);
        Zeroed setup{input};
        std::optional<double> foreseen;
        while (!(foreseen = setup.zeroing.foreseenAngle())) setup.zeroing.flyPass();
        ZeroingFinisher finisher(setup.zeroing, *foreseen);
        EXPECT_EQ(bits(finisher.angle()), bits(plain::zeroAngle(input)));
    }
}

TEST(ZeroingFinisher, TellsWhenTheExpectedAngleWasWrong) {
    Zeroed setup{SolverInput{}};
    std::optional<double> foreseen;
    while (!(foreseen = setup.zeroing.foreseenAngle())) setup.zeroing.flyPass();
    ZeroingFinisher finisher(setup.zeroing, 0.05);  // far from the zero
    const double zeroed = finisher.angle();
    EXPECT_TRUE(finisher.changed().load());
    EXPECT_EQ(bits(finisher.expected()), bits(zeroed));
    EXPECT_FALSE(finisher.changed().load());
}

TEST(ZeroingFinisher, LeftWithoutAskingStopsItsThread) {
    SolverInput unreachable;
    unreachable.zeroRange = 20000.0;
    Zeroed setup{unreachable};
    ZeroingFinisher finisher(setup.zeroing, 0.1);
}

}  // namespace
}  // namespace kavrino_engine::detail
