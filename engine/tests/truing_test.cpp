#include "truing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace kavrino_engine::truing {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct Visit {
    double velocity;
    double factor;
};

// Runs the search over an error function that records every visit.
std::vector<Visit> visitsOf(double mv0, bool fitBC, double (*error)(double, double)) {
    std::vector<Visit> visits;
    detail::search(mv0, fitBC, [&](double v, double s) {
        visits.push_back({v, s});
        return error(v, s);
    });
    return visits;
}

// Observations that the input met exactly at `velocity`: the solver's own rounded rows nearest
// each range, solved as truing solves (10-yd rows out to the farthest observation).
std::vector<Observation> observationsFrom(SolverInput input, double velocity, std::vector<double> ranges) {
    input.muzzleVelocity = velocity;
    input.rangeStep = 10;
    input.maxRange = 0;
    for (double r : ranges) input.maxRange = std::fmax(input.maxRange, r);
    const std::vector<solver::TrajectoryPoint> rows = solver::solve(input).points;
    std::vector<Observation> observations;
    for (double r : ranges) {
        const solver::TrajectoryPoint* nearest = &rows.front();
        for (const auto& row : rows) {
            if (std::abs(row.range - r) < std::abs(nearest->range - r)) nearest = &row;
        }
        observations.push_back({r, nearest->dropMoa});
    }
    return observations;
}

TEST(TruingSearch, VisitsTwentyOneTwentyOneAndTwentyVelocitiesWithTheFitOff) {
    // Best 2690 in pass 1 (2690 and 2710 tie; the earlier stays), 2698 in pass 2: integral, so
    // pass 3 (step 0.8) passes its upper bound before the 21st point.
    const std::vector<Visit> visits = visitsOf(2650, false, [](double v, double) { return std::abs(v - 2700); });
    ASSERT_EQ(visits.size(), 1u + 21 + 21 + 20);
    EXPECT_EQ(visits[0].velocity, 2650);
    EXPECT_EQ(visits[1].velocity, 2450);
    EXPECT_EQ(visits[21].velocity, 2850);
    EXPECT_EQ(visits[22].velocity, 2690 - 40);
    EXPECT_EQ(visits[42].velocity, 2690 + 40);
    EXPECT_EQ(visits[43].velocity, 2698 - 8);
    EXPECT_LT(visits.back().velocity, 2698 + 8);
    for (const Visit& v : visits) EXPECT_EQ(v.factor, 1.0);
}

TEST(TruingSearch, WalksTheFactorsFromPointEightFiveWithoutReachingOnePointOneFive) {
    const std::vector<Visit> visits = visitsOf(2650, true, [](double v, double s) {
        return std::abs(v - 2700) + std::abs(s - 1.0);
    });
    // Pass 1: 21 velocities × 10 factors; the tenth addition passes 1.15.
    std::vector<double> firstVelocityFactors;
    for (std::size_t i = 1; i < visits.size() && visits[i].velocity == 2450; ++i) {
        firstVelocityFactors.push_back(visits[i].factor);
    }
    ASSERT_EQ(firstVelocityFactors.size(), 10u);
    EXPECT_EQ(firstVelocityFactors[0], 0.85);
    EXPECT_EQ(firstVelocityFactors[1], 0.85 + 0.029999999999999992);
    EXPECT_NEAR(firstVelocityFactors[9], 1.12, 1e-12);
    EXPECT_EQ(visits[211].velocity, 2690 - 40);  // pass 2 begins after 1 + 210 visits

    // Pass 2 spans the pass-1 best factor (the walk's value nearest 1.0) ± twice the pass-1
    // step, in tenths of that window.
    EXPECT_NEAR(visits[211].factor, 1.0 - 0.06, 1e-12);
    EXPECT_NEAR(visits[212].factor - visits[211].factor, 0.012, 1e-12);
}

TEST(TruingSearch, AZeroVelocityStepVisitsOncePerPass) {
    // ±200 ft/s vanishes beside 1e300: every step is 0, and the walk must still end.
    EXPECT_EQ(visitsOf(1e300, false, [](double, double) { return 1.0; }).size(), 4u);
    EXPECT_EQ(visitsOf(std::numeric_limits<double>::quiet_NaN(), true, [](double, double) { return 1.0; }).size(), 1u);
}

TEST(TrueSolve, RecoversAGridVelocityExactly) {
    SolverInput input;  // 2650 ft/s, G1 0.462, 100-yd zero
    // 2690 = 2450 + 12 × 20 lies on the pass-1 grid: its error is exactly 0.
    const std::vector<Observation> observations = observationsFrom(input, 2690, {300, 600, 900});
    const TrueResult fit = true_solve(input, observations, false);
    EXPECT_EQ(fit.muzzleVelocity, 2690.0);
    EXPECT_EQ(fit.bcScale, 1.0);
    EXPECT_EQ(fit.rmsAfter, 0.0);
    EXPECT_GT(fit.rmsBefore, 0.5);
    EXPECT_EQ(fit.rmsBefore, std::round(truing_rms(input, observations, 2650, 1.0) * 1000) / 1000);
}

TEST(TrueSolve, KeepsAnInputThatAlreadyMatches) {
    SolverInput input;
    input.dragCurve.kind = DragCurve::Kind::G7;
    input.ballisticCoefficient = 0.243;
    input.windSpeed = 10;  // wind, spin drift and jump stay as given
    input.includeSpinDrift = true;
    input.includeAeroJump = true;
    const std::vector<Observation> observations = observationsFrom(input, 2650, {250, 500, 750});
    EXPECT_EQ(true_solve(input, observations, true), (TrueResult{2650.0, 1.0, 0.0, 0.0}));
}

TEST(TrueSolve, WithoutObservationsReturnsTheInputAndInfiniteErrors) {
    SolverInput input;
    input.muzzleVelocity = 2650.25;  // rounds half away from zero, to 2650.3
    EXPECT_EQ(true_solve(input, {}, true), (TrueResult{2650.3, 1.0, kInfinity, kInfinity}));
    // An observation at a range that is not a number is skipped.
    const Observation unknown{std::numeric_limits<double>::quiet_NaN(), 5.0};
    EXPECT_EQ(truing_rms(input, {unknown}, 2650, 1.0), kInfinity);
    const std::vector<Observation> real = observationsFrom(SolverInput{}, 2700, {300, 600});
    EXPECT_EQ(truing_rms(SolverInput{}, {real[0], unknown, real[1]}, 2700, 1.0), 0.0);
}

TEST(TruingRms, ScalesTheBallisticCoefficientButNotTheBands) {
    SolverInput input;
    const std::vector<Observation> observations = observationsFrom(input, 2650, {300, 600});
    EXPECT_EQ(truing_rms(input, observations, 2650, 1.0), 0.0);
    EXPECT_GT(truing_rms(input, observations, 2650, 0.9), 0.0);

    input.bcBands = {{2000, 0.47}, {0, 0.44}};
    const double banded = truing_rms(input, observations, 2650, 1.0);
    EXPECT_EQ(truing_rms(input, observations, 2650, 0.9), banded);
}

TEST(TruingRms, IsTheRootMeanSquareOfTheRowDifferences) {
    SolverInput input;
    std::vector<Observation> observations = observationsFrom(input, 2650, {300, 600});
    observations[0].dropMoa += 1.0;  // the rows lie 1 and 2 MOA off: √((1 + 4) / 2)
    observations[1].dropMoa -= 2.0;
    EXPECT_NEAR(truing_rms(input, observations, 2650, 1.0), std::sqrt(2.5), 1e-12);
    // Too slow to reach a single row.
    EXPECT_EQ(truing_rms(input, observations, 90, 1.0), kInfinity);
}

TEST(TrueSolve, FitsVelocityAndBCToAnOffGridLoad) {
    SolverInput input;
    input.dragCurve.kind = DragCurve::Kind::G7;
    input.ballisticCoefficient = 0.25;
    SolverInput truth = input;
    truth.ballisticCoefficient = 0.25 * 0.93;
    const std::vector<Observation> observations = observationsFrom(truth, 2741, {200, 400, 600, 800, 1000});
    const TrueResult fit = true_solve(input, observations, true);
    EXPECT_LT(fit.rmsAfter, fit.rmsBefore / 20);
    EXPECT_NEAR(fit.muzzleVelocity, 2741, 8);
    EXPECT_NEAR(fit.bcScale, 0.93, 0.01);
}

}  // namespace
}  // namespace kavrino_engine::truing
