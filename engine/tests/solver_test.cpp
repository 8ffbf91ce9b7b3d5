// The trajectory solver: rows, zeroing, stability, zones, BC bands, and its stop rules.
#include "solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavrino_engine::solver {
namespace {

TEST(Solver, DefaultsGiveRowsJustPastEachHundredYards) {
    const Solution s = solve(SolverInput{});
    ASSERT_EQ(s.points.size(), 10u);
    for (std::size_t i = 0; i < s.points.size(); ++i) {
        SCOPED_TRACE(i);
        const double multiple = 100.0 * static_cast<double>(i + 1);
        EXPECT_GE(s.points[i].range, multiple);
        EXPECT_LT(s.points[i].range, multiple + 1.0);  // 2000 steps per second: under 1.5 ft a step
    }
    // Zeroed at 100 yd: the first row is on the line of sight within a step's worth of drop.
    EXPECT_LT(std::fabs(s.points[0].dropInches), 0.05);
    EXPECT_EQ(s.points[0].range, 100.3);
    EXPECT_EQ(s.points[0].velocity, 2456.1);
    EXPECT_EQ(s.stability, (Stability{2.32, "stable"}));
    EXPECT_EQ(s.transonicRange, 900.0);
    EXPECT_FALSE(s.subsonicRange.has_value());
}

TEST(Solver, MillerStabilityFactor) {
    // 30·168 / (10²·1.24·(1 + (1.24/0.308)²)) · (2650/2800)^(1/3) = 2.31897 at standard density.
    EXPECT_NEAR(miller_sg(SolverInput{}), 2.3189743896873263, 1e-13);
    SolverInput noDiameter;
    noDiameter.bulletDiameter = 0.0;
    EXPECT_EQ(miller_sg(noDiameter), 0.0);
    SolverInput noTwist;
    noTwist.twistRate = 0.0;
    EXPECT_EQ(miller_sg(noTwist), std::numeric_limits<double>::infinity());
    SolverInput leftTwist;
    leftTwist.twistRate = -10.0;
    EXPECT_EQ(miller_sg(leftTwist), miller_sg(SolverInput{}));
}

TEST(Solver, ZonesAndRatingsAtTheirBoundaries) {
    EXPECT_EQ(zoneOf(1.2000001), Zone::Supersonic);
    EXPECT_EQ(zoneOf(1.2), Zone::Transonic);
    EXPECT_EQ(zoneOf(1.0000001), Zone::Transonic);
    EXPECT_EQ(zoneOf(1.0), Zone::Subsonic);
    EXPECT_EQ(zoneOf(std::nan("")), Zone::Supersonic);
    EXPECT_EQ(ratingOf(1.5), "stable");
    EXPECT_EQ(ratingOf(1.4999), "marginal");
    EXPECT_EQ(ratingOf(1.0), "marginal");
    EXPECT_EQ(ratingOf(0.99), "unstable");
    EXPECT_EQ(ratingOf(std::nan("")), "unstable");
    EXPECT_EQ(ratingOf(std::numeric_limits<double>::infinity()), "stable");
}

TEST(Solver, NoRowsWithoutRangeButStabilityStillFilled) {
    SolverInput in;
    in.maxRange = 0.0;
    const Solution s = solve(in);
    EXPECT_TRUE(s.points.empty());
    EXPECT_FALSE(s.transonicRange || s.subsonicRange);
    EXPECT_EQ(s.stability, (Stability{2.32, "stable"}));
}

TEST(Solver, DegenerateStabilityInputs) {
    SolverInput noTwist;
    noTwist.twistRate = 0.0;
    noTwist.includeSpinDrift = true;
    const Solution s = solve(noTwist);
    EXPECT_TRUE(std::isinf(s.stability.sg));
    EXPECT_EQ(s.stability.rating, "stable");
    EXPECT_TRUE(std::isinf(s.points[0].windInches));

    SolverInput noDiameter;
    noDiameter.bulletDiameter = 0.0;
    EXPECT_EQ(solve(noDiameter).stability, (Stability{0.0, "unstable"}));
}

// Bands [[3000, 0.5], [2000, 0.45]] below 3000 ft/s: 0.45 from the second band, and 0.45 again
// below 2000 ft/s where no band qualifies and the last one applies. So the whole flight flies
// on BC 0.45, whatever ballisticCoefficient says.
TEST(Solver, BcBandsSearchedInListOrderWithTheLastAsFallback) {
    SolverInput banded;
    banded.bcBands = {{3000.0, 0.5}, {2000.0, 0.45}};
    banded.ballisticCoefficient = 0.9;
    SolverInput flat;
    flat.ballisticCoefficient = 0.45;
    EXPECT_EQ(solve(banded), solve(flat));

    // Above 3000 ft/s the first band changes the result.
    banded.muzzleVelocity = 3200.0;
    flat.muzzleVelocity = 3200.0;
    EXPECT_NE(solve(banded).points[0].velocity, solve(flat).points[0].velocity);
}

TEST(Solver, CustomCurveOfOneRowIsAConstantDragCoefficient) {
    SolverInput one;
    one.dragCurve = {DragCurve::Kind::Custom, {{1.0, 0.5}}};
    SolverInput flat;
    flat.dragCurve = {DragCurve::Kind::Custom, {{0.0, 0.5}, {5.0, 0.5}}};
    EXPECT_EQ(solve(one), solve(flat));
}

TEST(Solver, AltitudeIsCarriedButNotUsed) {
    SolverInput high;
    high.altitude = 9000.0;
    EXPECT_EQ(solve(high), solve(SolverInput{}));
}

TEST(Solver, ZeroRangeAtOrBelowZeroClosesTheBracketFromTheStartHeight) {
    // Bore below the line of sight: every round raises the angle, 0.1 rad in the end; the bullet
    // then climbs far above the line of sight (tan 0.1 · 300 ft ≈ 30 ft at 100 yd, less the drop).
    SolverInput below;
    below.zeroRange = 0.0;
    below.maxRange = 100.0;
    EXPECT_LT(solve(below).points[0].dropInches, -300.0);
    // Bore above the line of sight: the angle closes on 0 and the bullet only falls.
    SolverInput above = below;
    above.sightHeight = -1.0;
    EXPECT_GT(solve(above).points[0].dropInches, 0.0);
}

TEST(Solver, NonPositiveRangeStepRecordsEveryStep) {
    SolverInput in;
    in.rangeStep = 0.0;
    in.maxRange = 5.0;  // stops past 16 ft: 13 steps of about 1.3 ft
    const Solution s = solve(in);
    ASSERT_FALSE(s.points.empty());
    EXPECT_EQ(s.points.size(), 13u);
    EXPECT_EQ(s.points[0].time, 0.0005);
}

// Regression: a run that never reaches its stop distance and never slows below 100 ft/s used
// to loop for ever. Every run now stops before a step once its flight time has passed 60 s.
TEST(SolverFlightTimeBound, BulletThatCannotReachMaxRangeStopsAtSixtySeconds) {
    SolverInput far;
    far.maxRange = 10000.0;
    const Solution s = solve(far);
    ASSERT_FALSE(s.points.empty());
    // Falling at a terminal speed above 100 ft/s, it covers about 6,500 yd in the 60 s.
    EXPECT_EQ(s.points.back().range, 6500.0);
    EXPECT_LE(s.points.back().time, 60.0005);
    EXPECT_GT(s.points.back().time, 55.0);
}

TEST(SolverFlightTimeBound, NegativeMuzzleVelocityGivesNoRows) {
    SolverInput backwards;
    backwards.muzzleVelocity = -100.0;
    const Solution s = solve(backwards);
    EXPECT_TRUE(s.points.empty());
    EXPECT_EQ(s.stability.rating, "unstable");  // cube root of a negative ratio: not a number
}

TEST(SolverFlightTimeBound, StateThatBecomesNotANumberStillEnds) {
    SolverInput zeroBc;
    zeroBc.ballisticCoefficient = 0.0;  // infinite drag: the state turns into NaN at once
    const Solution s = solve(zeroBc);
    EXPECT_TRUE(s.points.empty());

    SolverInput farZero;
    farZero.zeroRange = 20000.0;  // every zeroing round runs into the bound
    farZero.maxRange = 200.0;
    EXPECT_EQ(solve(farZero).points.size(), 2u);
}

}  // namespace
}  // namespace kavrino_engine::solver
