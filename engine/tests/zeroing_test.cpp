// The zeroing flown pass by pass, on one thread or finished on another, ends on exactly the
// angle of the plain one-round-at-a-time bisection.
#include "zeroing.h"
#include "zeroing_finisher.h"

#include "atmosphere.h"
#include "plain_solver.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

namespace kavrino_engine::detail {
namespace {

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

struct Zeroed {
    SolverInput input;
    std::shared_ptr<const Flight> flight = std::make_shared<const Flight>(
        input, atmosphere::air_density_ratio(input.temperature, input.pressure, input.humidity),
        atmosphere::speed_of_sound(input.temperature));
    Zeroing zeroing{*flight, input.muzzleVelocity, -input.sightHeight / 12.0, input.zeroRange * 3.0};
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
        ZeroingFinisher finisher(setup.flight, setup.zeroing, *foreseen);
        EXPECT_EQ(bits(finisher.angle(setup.zeroing)), bits(plain::zeroAngle(input)));
    }
}

TEST(ZeroingFinisher, TellsWhenTheExpectedAngleWasWrong) {
    Zeroed setup{SolverInput{}};
    std::optional<double> foreseen;
    while (!(foreseen = setup.zeroing.foreseenAngle())) setup.zeroing.flyPass();
    ZeroingFinisher finisher(setup.flight, setup.zeroing, 0.05);  // far from the zero
    while (!finisher.changed().load()) std::this_thread::yield();  // the thread tells
    const double zeroed = finisher.angle(setup.zeroing);
    EXPECT_EQ(bits(finisher.expected()), bits(zeroed));
    EXPECT_FALSE(finisher.changed().load());
}

// Left while its thread flies (each pass of this zeroing lasts 60 s of flight, about five
// passes in all): the solve does not wait, the thread ends on its own, and what it reads stays
// alive until then.
TEST(ZeroingFinisher, LeftWhileFlyingDoesNotWait) {
    SolverInput unreachable;
    unreachable.zeroRange = 20000.0;
    auto setup = std::unique_ptr<Zeroed>(new Zeroed{unreachable});
    const std::weak_ptr<const Flight> forces = setup->flight;
    { ZeroingFinisher finisher(setup->flight, setup->zeroing, 0.1); }
    setup.reset();
    // Not waited for: the thread still holds the forces it flies through, though the solve has
    // let go of them. A thread waited for, to its end or to the end of its pass, would have let
    // go too.
    EXPECT_FALSE(forces.expired());
    // Told to stop, it ends on its own and lets go; the deadline only keeps a fault from hanging.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!forces.expired() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_TRUE(forces.expired());
}

// The thread may not have begun when the answer is wanted (a busy machine): the passes left are
// then flown on the calling thread, to the same angle.
TEST(ZeroingFinisher, PassesLeftAreFlownHereWhenTheThreadIsNotThere) {
    Zeroed setup{SolverInput{}};
    std::optional<double> foreseen;
    while (!(foreseen = setup.zeroing.foreseenAngle())) setup.zeroing.flyPass();
    Zeroing own = setup.zeroing;
    ZeroingFinisher finisher(setup.flight, setup.zeroing, *foreseen);
    while (!own.finished()) own.flyPass();  // as angle() does when the thread has not ended
    EXPECT_EQ(bits(finisher.angle(own)), bits(plain::zeroAngle(SolverInput{})));
}

}  // namespace
}  // namespace kavrino_engine::detail
