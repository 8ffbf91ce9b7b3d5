#include "montecarlo.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace kavrino_engine::montecarlo {
namespace {

// The generator as published: state = state × 6364136223846793005 + 1442695040888963407 modulo
// 2^64, each draw advancing first and yielding the top 53 bits over 2^53.
struct ReferenceDraws {
    std::uint64_t state;
    double next() {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) / 9007199254740992.0;
    }
};

double boxMuller(double u1, double u2) {
    return std::sqrt(-2.0 * std::log(u1 < 1e-12 ? 1e-12 : u1)) * std::cos(6.283185307179586 * u2);
}

TEST(MonteCarloGenerator, StartsFromTheSeedAndAdvancesBeforeEachDraw) {
    // Figures worked out with exact integer arithmetic.
    detail::Lcg zero(0);
    EXPECT_EQ(zero.next(), 0.07820865487829387);
    EXPECT_EQ(zero.state(), 1442695040888963407ULL);
    EXPECT_EQ(zero.next(), 0.10169876029679303);
    EXPECT_EQ(zero.state(), 1876011003808476466ULL);
    EXPECT_EQ(detail::Lcg(42).next(), 0.5682303266439076);

    detail::Lcg rng(0);
    const double z = rng.normal();
    EXPECT_EQ(z, boxMuller(0.07820865487829387, 0.10169876029679303));
    EXPECT_NEAR(z, 1.812167873138187, 1e-14);  // √(−2 ln u1) × cos(2π u2), worked out apart
    EXPECT_EQ(detail::gaussian(0.0, 0.0), std::sqrt(-2.0 * std::log(1e-12)));  // a zero draw is clamped
}

// With no spread in velocity, BC or wind every trial repeats the baseline, so a shot lands where
// the rifle's own dispersion puts it: the draw order alone decides each row.
TEST(MonteCarloDraws, FollowThePublishedOrderWhenOnlyTheRifleVaries) {
    SolverInput input;  // rows about every 100 yd out to 1000 yd
    WezParams params;
    params.trials = 40;
    params.targetWidth = 10;
    params.targetHeight = 6;
    params.windStdDev = 0;
    params.precisionMoa = 0.75;
    params.seed = 2024;
    const WezResult result = monte_carlo(input, params);
    const std::vector<solver::TrajectoryPoint> rows = solver::solve(input).points;
    ASSERT_EQ(result.points.size(), rows.size());

    // Per trial: velocity pair, wind pair (no BC pair), then d1..d4 for every row; d1, d2 move
    // the shot vertically and d3, d4 sideways.
    ReferenceDraws draws{2024};
    std::vector<int> hits(rows.size(), 0);
    for (int trial = 0; trial < 40; ++trial) {
        for (int i = 0; i < 4; ++i) draws.next();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const double d1 = draws.next(), d2 = draws.next(), d3 = draws.next(), d4 = draws.next();
            const double scale = 0.75 * 1.047 * (rows[r].range / 100);
            const bool sideways = std::abs(boxMuller(d3, d4) * scale) > 5;
            const bool vertical = std::abs(boxMuller(d1, d2) * scale) > 3;
            if (!sideways && !vertical) ++hits[r];
        }
    }
    std::optional<double> farthest;
    int partial = 0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(r);
        const double percent = hits[r] * 100.0 / 40;
        EXPECT_EQ(result.points[r].range, rows[r].range);
        EXPECT_EQ(result.points[r].hitProbability, std::round(percent * 10) / 10);
        if (percent >= 90) farthest = rows[r].range;
        if (percent > 0 && percent < 100) ++partial;
    }
    EXPECT_GT(partial, 2);  // the case separates hits from misses at several rows
    EXPECT_EQ(result.maxRange90, farthest);
    EXPECT_EQ(result.trials, 40u);
}

TEST(MonteCarloDraws, ABCDeviationOfZeroOrLessDrawsNothing) {
    SolverInput input;
    input.windSpeed = 8;
    WezParams params;
    params.trials = 30;
    params.targetWidth = 8;
    params.targetHeight = 8;
    params.mvStdDev = 10;
    params.windStdDev = 3;
    params.precisionMoa = 0.5;
    params.seed = 0;

    params.bcStdDev = 0;
    const WezResult none = monte_carlo(input, params);
    params.bcStdDev = -0.5;
    EXPECT_EQ(monte_carlo(input, params), none);

    // A deviation too small to change the BC still takes its pair of draws, so the wind
    // deviates with other draws and the hits come out differently.
    params.bcStdDev = 1e-300;
    EXPECT_NE(monte_carlo(input, params).points, none.points);
}

TEST(MonteCarloResult, ZeroTrialsGiveZeroEverywhere) {
    WezParams params;
    params.targetWidth = 100;
    params.targetHeight = 100;
    const WezResult result = monte_carlo(SolverInput{}, params);
    EXPECT_EQ(result.trials, 0u);
    EXPECT_FALSE(result.maxRange90.has_value());
    ASSERT_EQ(result.points.size(), 10u);
    for (const WezPoint& p : result.points) EXPECT_EQ(p.hitProbability, 0.0);
}

TEST(MonteCarloResult, TargetsOfNoSizeAreNeverHitAndPerfectShotsAlwaysAre) {
    WezParams params;
    params.trials = 20;
    params.precisionMoa = 1;
    for (auto [width, height] : {std::pair{0.0, 50.0}, std::pair{50.0, 0.0}}) {
        params.targetWidth = width;
        params.targetHeight = height;
        const WezResult result = monte_carlo(SolverInput{}, params);
        for (const WezPoint& p : result.points) EXPECT_EQ(p.hitProbability, 0.0);
        EXPECT_FALSE(result.maxRange90.has_value());
    }

    // No spread at all: every shot repeats the baseline and hits the centre.
    params.precisionMoa = 0;
    params.targetWidth = 1;
    params.targetHeight = 1;
    const WezResult result = monte_carlo(SolverInput{}, params);
    for (const WezPoint& p : result.points) EXPECT_EQ(p.hitProbability, 100.0);
    EXPECT_EQ(result.maxRange90, result.points.back().range);
}

TEST(MonteCarloResult, RowsATrialDoesNotReachAreMisses) {
    // Around 120 ft/s a third of the trials start below 100 ft/s and record no row at all.
    WezParams params;
    params.trials = 40;
    params.targetWidth = 1e6;
    params.targetHeight = 1e6;
    params.mvStdDev = 50;
    params.seed = 9;
    SolverInput input;
    input.muzzleVelocity = 120;
    input.maxRange = 200;
    const WezResult result = monte_carlo(input, params);
    ASSERT_FALSE(result.points.empty());
    EXPECT_LT(result.points.front().hitProbability, 90.0);
    EXPECT_GT(result.points.front().hitProbability, 0.0);
    EXPECT_FALSE(result.maxRange90.has_value());
}

}  // namespace
}  // namespace kavrino_engine::montecarlo
