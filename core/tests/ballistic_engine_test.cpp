#include "core/ballistic_engine.h"

#include "core/flight_lanes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>
#include <span>
#include <vector>

namespace kavrino {
namespace {

using Inputs = BallisticEngine::Inputs;

// The row whose range lies nearest `yards`.
const TrajectoryPoint& rowNear(const std::vector<TrajectoryPoint>& rows, double yards) {
    const TrajectoryPoint* best = &rows.front();
    for (const TrajectoryPoint& row : rows) {
        if (std::abs(row.range - yards) < std::abs(best->range - yards)) best = &row;
    }
    return *best;
}

// The figures of the worked example of a .308 168 gr load (G1 0.462, 2650 ft/s, 1.8 in sight,
// 100 yd zero, standard air at 50 % humidity, 11.25 in twist, spin drift on). Each tolerance is
// half a unit of the last digit quoted.
TEST(BallisticEngineWorkedExample, MatchesThePublishedRows) {
    const std::vector<TrajectoryPoint> rows = BallisticEngine::solve(Inputs{});
    ASSERT_EQ(rows.size(), 11u);

    const TrajectoryPoint& r500 = rowNear(rows, 500);
    EXPECT_NEAR(r500.range, 500.19, 0.005);
    EXPECT_NEAR(r500.velocity, 1766.0, 0.05);
    EXPECT_NEAR(r500.time, 0.69, 0.005);
    EXPECT_NEAR(r500.dropInches, 61.46, 0.005);
    EXPECT_NEAR(r500.dropMOA, 11.74, 0.005);

    const TrajectoryPoint& r1000 = rowNear(rows, 1000);
    EXPECT_NEAR(r1000.range, 1000.01, 0.005);
    EXPECT_NEAR(r1000.velocity, 1152.7, 0.05);
    EXPECT_NEAR(r1000.time, 1.76, 0.005);
    EXPECT_NEAR(r1000.dropInches, 419.4, 0.05);
    EXPECT_NEAR(r1000.dropMOA, 40.06, 0.005);
    EXPECT_NEAR(r1000.dropMil, 11.65, 0.005);
    EXPECT_NEAR(r1000.windDriftInches, 10.68, 0.005);  // spin drift alone, Sg about 1.83
    EXPECT_EQ(r1000.path, -r1000.dropInches);

    Inputs windy;
    windy.windSpeed = 10;
    windy.windDirection = 90;
    EXPECT_NEAR(rowNear(BallisticEngine::solve(windy), 1000).windDriftInches, 121.4, 0.05);
}

TEST(BallisticEngineRows, StartAtTheFirstStepAndEndOneStepPastTheMaximum) {
    const std::vector<TrajectoryPoint> rows = BallisticEngine::solve(Inputs{});
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_GT(rows.front().range, 100.0);
    EXPECT_LT(rows.front().range, 100.5);
    EXPECT_NEAR(rows.front().dropInches, 0.0, 0.05);  // zeroed at 100 yd
    EXPECT_GT(rows.back().range, 1100.0);
    EXPECT_LT(rows.back().range, 1100.5);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_GT(rows[i].range, rows[i - 1].range);
        EXPECT_LT(rows[i].velocity, rows[i - 1].velocity);
        EXPECT_NE(rows[i].id, rows[i - 1].id);
    }
    // Energy from the shared conversion: 168 gr × v² / 450436.
    EXPECT_DOUBLE_EQ(rows[4].energy, 168 * rows[4].velocity * rows[4].velocity / 450436);

    Inputs fine;
    fine.maxRange = 500;
    fine.rangeStep = 50;
    const std::vector<TrajectoryPoint> fineRows = BallisticEngine::solve(fine);
    ASSERT_EQ(fineRows.size(), 11u);
    EXPECT_NEAR(fineRows.back().range, 550, 0.5);
}

TEST(BallisticEngineEdges, SpecialInputs) {
    Inputs slow;
    slow.muzzleVelocity = 99;
    EXPECT_TRUE(BallisticEngine::solve(slow).empty());

    // At absolute zero the speed of sound is 0 and the density ratio -inf: the first step flies
    // the bullet to x = +inf, past the first mark (one row, from the launch speed), and the
    // distance limit stops it before the next. The zeroing flights reach infinity too; they
    // once recorded a row each as well (116 rows), their "no mark" being +inf, which x reached.
    Inputs absoluteZero;
    absoluteZero.temperature = -459.67;
    const std::vector<TrajectoryPoint> frozen = BallisticEngine::solve(absoluteZero);
    ASSERT_EQ(frozen.size(), 1u);
    EXPECT_EQ(frozen.front().range, std::numeric_limits<double>::infinity());
    EXPECT_EQ(frozen.front().velocity, 2650);

    // A zero range of 0 with the sight above the bore drives the bore angle to the top of its
    // bracket, 0.1 rad: at the first row (x ≈ 301 ft, t ≈ 0.12 s) the path is about
    // 301 × tan(0.1) − 0.15 − 16.087 × 0.12² ft ≈ 30.0 ft ≈ 360 in above the line of sight.
    Inputs pointBlank;
    pointBlank.zeroRange = 0;
    const std::vector<TrajectoryPoint> steep = BallisticEngine::solve(pointBlank);
    ASSERT_FALSE(steep.empty());
    EXPECT_NEAR(steep.front().path, 360, 5);

    // Twist 0 makes the stability factor infinite: the spin drift and so the lateral values
    // are not finite. Without spin drift the twist has no effect at all.
    Inputs noTwist;
    noTwist.twistRate = 0;
    for (const TrajectoryPoint& row : BallisticEngine::solve(noTwist)) {
        EXPECT_FALSE(std::isfinite(row.windDriftInches));
        EXPECT_TRUE(std::isfinite(row.dropInches));
    }
    noTwist.includeSpinDrift = false;
    Inputs noSpin;
    noSpin.includeSpinDrift = false;
    const auto a = BallisticEngine::solve(noTwist);
    const auto b = BallisticEngine::solve(noSpin);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].windDriftInches, 0.0);
        EXPECT_EQ(a[i].windDriftInches, b[i].windDriftInches);
        EXPECT_EQ(a[i].dropInches, b[i].dropInches);
    }
}

TEST(BallisticEngineEdges, LateralTerms) {
    const double spinOnly = rowNear(BallisticEngine::solve(Inputs{}), 1000).windDriftInches;

    Inputs leftTwist;
    leftTwist.twistRate = -11.25;
    EXPECT_EQ(rowNear(BallisticEngine::solve(leftTwist), 1000).windDriftInches, -spinOnly);

    for (double direction : {0.0, 180.0}) {
        SCOPED_TRACE(direction);
        Inputs headwind;
        headwind.windSpeed = 20;
        headwind.windDirection = direction;
        EXPECT_NEAR(rowNear(BallisticEngine::solve(headwind), 1000).windDriftInches, spinOnly, 1e-9);
    }

    // Coriolis towards azimuth 0 adds nothing; towards 90° at latitude 45° it adds
    // 12 × 7.2921e-5 × sin 45° × x × t ≈ 3.269 in at 1000 yd (x ≈ 3000.04 ft, t ≈ 1.761 s).
    Inputs north;
    north.includeCoriolis = true;
    const auto plain = BallisticEngine::solve(Inputs{});
    const auto northRows = BallisticEngine::solve(north);
    ASSERT_EQ(plain.size(), northRows.size());
    for (std::size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(northRows[i].windDriftInches, plain[i].windDriftInches);
    Inputs east = north;
    east.targetAzimuth = 90;
    EXPECT_NEAR(rowNear(BallisticEngine::solve(east), 1000).windDriftInches - spinOnly, 3.269, 0.001);
    EXPECT_EQ(rowNear(BallisticEngine::solve(east), 1000).dropInches, rowNear(plain, 1000).dropInches);
}

TEST(BallisticEngineEdges, CustomDragModelUsesTheG1Table) {
    Inputs custom;
    custom.dragModel = DragModel::custom;
    const auto g1 = BallisticEngine::solve(Inputs{});
    const auto c = BallisticEngine::solve(custom);
    ASSERT_EQ(g1.size(), c.size());
    for (std::size_t i = 0; i < g1.size(); ++i) {
        EXPECT_EQ(c[i].range, g1[i].range);
        EXPECT_EQ(c[i].dropInches, g1[i].dropInches);
    }
    Inputs g7;
    g7.dragModel = DragModel::G7;
    EXPECT_NE(rowNear(BallisticEngine::solve(g7), 1000).dropInches, rowNear(g1, 1000).dropInches);
}

// A plain transcription of the integrator, one flight at a time, with the linear-scan table
// lookup and nothing precomputed, so the fast routine's shortcuts (flights side by side in
// packed registers, the resumed table bracket, the reused speed, the hoisted constants) are
// shown to change no bit of any row. `boundedZeroing` stops zeroing flights after 60 s of
// flight as the main flight stops; without it, it is the integrator as it was before that bound,
// which a zeroing flight could keep flying for hours.
std::vector<TrajectoryPoint> referenceSolve(const Inputs& in, bool boundedZeroing = true) {
    const double S = 59.0 + 459.67;
    const double pi = std::numbers::pi;
    const double Tr = in.temperature + 459.67;
    const double Tc = (in.temperature - 32) / 9 * 5;
    const double e = 0.02953 * std::pow(10.0, 7.5 * Tc / (Tc + 237.7));
    const double rho = (S / Tr) * (in.pressure - 0.3783 * (in.humidity / 100) * e) / 29.92;
    const double c = 49.0223 * std::sqrt(Tr);
    const double bcEff = in.ballisticCoefficient / rho;
    auto accel = [&](double vx, double vy, double G, double& ax, double& ay) {
        const double v = std::sqrt(vx * vx + vy * vy);
        const double cd = dragCoefficient(in.dragModel, v / c);
        const double k = -0.000208554 * (v * v) * cd / bcEff;
        ax = k * vx / v;
        ay = k * vy / v + G;
    };
    auto step = [&](double& x, double& y, double& vx, double& vy, double G) {
        double ax, ay, bx, by;
        accel(vx, vy, G, ax, ay);
        const double hx = vx + ax * 0.00025, hy = vy + ay * 0.00025;
        accel(hx, hy, G, bx, by);
        vx += bx * 0.0005;
        vy += by * 0.0005;
        x += hx * 0.0005;
        y += hy * 0.0005;
    };
    double lo = 0, hi = 0.1;
    for (int i = 0; i < 50; ++i) {
        const double mid = (lo + hi) * 0.5;
        double y = -in.sightHeight / 12;
        // Only a zero distance of 0 or less judges the start height: one that is not a number flies.
        if (!(in.zeroRange * 3 <= 0)) {
            double x = 0, vx = in.muzzleVelocity * std::cos(mid), vy = in.muzzleVelocity * std::sin(mid), t = 0;
            while (true) {
                const double v = std::sqrt(vx * vx + vy * vy);
                if (v < 100 || vx < 1 || !std::isfinite(vx) || (boundedZeroing && t > 60)) break;
                step(x, y, vx, vy, -32.174);
                t += 0.0005;
                if (x >= in.zeroRange * 3) break;
            }
        }
        if (y > 0) hi = mid; else lo = mid;
    }
    const double theta = (lo + hi) * 0.5;
    const double l = in.bulletLength / in.bulletDiameter;
    const double sg0 = 30 * in.bulletWeight / (in.twistRate * in.twistRate * in.bulletLength * (1 + l * l));
    const double sg = sg0 / ((S / Tr) * in.pressure / 29.92) * std::pow(in.muzzleVelocity / 2800, 1.0 / 3.0);
    const double w = in.windSpeed * 1.46667 * std::sin(in.windDirection * pi / 180);
    const double G = -32.174 * std::cos(in.shootingAngle * pi / 180);
    double x = 0, y = -in.sightHeight / 12, t = 0;
    double vx = in.muzzleVelocity * std::cos(theta), vy = in.muzzleVelocity * std::sin(theta);
    double mark = in.rangeStep * 3;
    std::vector<TrajectoryPoint> rows;
    while (true) {
        if (x >= (in.maxRange + in.rangeStep) * 3) break;  // a limit that is not a number never stops
        const double v = std::sqrt(vx * vx + vy * vy);
        if (v < 100 || vx < 1 || !std::isfinite(vx) || t > 60) break;
        step(x, y, vx, vy, G);
        t += 0.0005;
        if (mark <= x) {
            TrajectoryPoint p;
            p.range = x / 3;
            p.velocity = v;
            p.time = t;
            p.energy = in.bulletWeight * (v * v) / 450436;
            double L = w * (t - x / in.muzzleVelocity) * 12;
            if (in.includeSpinDrift) {
                const double s = 1.25 * (sg + 1.2) * std::pow(t, 1.83);
                L = in.twistRate > 0 ? L + s : L - s;
            }
            if (in.includeCoriolis) {
                L = L + 12 * 7.2921e-5 * std::sin(in.latitude * pi / 180) * x * t * std::sin(in.targetAzimuth * pi / 180);
            }
            p.path = y * 12;
            p.dropInches = -p.path;
            const double a = p.range / 100 * 1.047, b = p.range / 100 * 3.6;
            p.dropMOA = p.dropInches / a;
            p.dropMil = p.dropInches / b;
            p.windDriftInches = L;
            p.windDriftMOA = L / a;
            p.windDriftMil = L / b;
            rows.push_back(p);
            mark += in.rangeStep * 3;
        }
    }
    return rows;
}

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

// Every number of every row, to the bit (ids aside).
void expectSameRows(const std::vector<TrajectoryPoint>& fast, const std::vector<TrajectoryPoint>& plain) {
    ASSERT_EQ(fast.size(), plain.size());
    for (std::size_t i = 0; i < fast.size(); ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(bits(fast[i].range), bits(plain[i].range));
        ASSERT_EQ(bits(fast[i].velocity), bits(plain[i].velocity));
        ASSERT_EQ(bits(fast[i].time), bits(plain[i].time));
        ASSERT_EQ(bits(fast[i].energy), bits(plain[i].energy));
        ASSERT_EQ(bits(fast[i].dropInches), bits(plain[i].dropInches));
        ASSERT_EQ(bits(fast[i].dropMOA), bits(plain[i].dropMOA));
        ASSERT_EQ(bits(fast[i].dropMil), bits(plain[i].dropMil));
        ASSERT_EQ(bits(fast[i].windDriftInches), bits(plain[i].windDriftInches));
        ASSERT_EQ(bits(fast[i].windDriftMOA), bits(plain[i].windDriftMOA));
        ASSERT_EQ(bits(fast[i].windDriftMil), bits(plain[i].windDriftMil));
        ASSERT_EQ(bits(fast[i].path), bits(plain[i].path));
    }
}

TEST(BallisticEngineExactness, EqualsAPlainTranscriptionBitForBit) {
    struct Row {
        const char* name;
        Inputs inputs;
    };
    std::vector<Row> rows;
    rows.push_back({"defaults", Inputs{}});
    Inputs in;
    in.dragModel = DragModel::G7, in.ballisticCoefficient = 0.243, in.muzzleVelocity = 2710, in.bulletWeight = 140;
    in.bulletDiameter = 0.264, in.bulletLength = 1.39, in.twistRate = 8, in.maxRange = 1500, in.rangeStep = 25;
    rows.push_back({"6.5 mm G7 to 1500 yd by 25", in});
    in = Inputs{};
    in.temperature = 5, in.pressure = 24.5, in.humidity = 90, in.windSpeed = 12, in.windDirection = 300;
    in.shootingAngle = -15, in.includeCoriolis = true, in.latitude = -33, in.targetAzimuth = 250;
    rows.push_back({"cold thin air, wind from the left, downhill, Coriolis", in});
    in = Inputs{};
    in.temperature = 105, in.humidity = 0, in.zeroRange = 300, in.sightHeight = 2.6, in.twistRate = -10;
    in.shootingAngle = 30, in.maxRange = 2500, in.rangeStep = 100, in.muzzleVelocity = 3100;
    rows.push_back({"hot, uphill, left twist, past subsonic", in});
    in = Inputs{};
    in.muzzleVelocity = 1050, in.ballisticCoefficient = 0.2, in.zeroRange = 50, in.maxRange = 300, in.rangeStep = 10;
    rows.push_back({"subsonic start", in});
    in = Inputs{};
    in.zeroRange = 0;
    rows.push_back({"zero range 0", in});
    in = Inputs{};
    in.rangeStep = 1;
    rows.push_back({"1-yard table", in});

    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto fast = BallisticEngine::solve(row.inputs);
        ASSERT_FALSE(fast.empty());
        expectSameRows(fast, referenceSolve(row.inputs));
        // Every zeroing flight here ends well within 60 s: the bound changes nothing.
        expectSameRows(fast, referenceSolve(row.inputs, false));
    }
}

// Inputs whose flights hold infinities and not-a-numbers, for the stop and mark tests to meet
// as the plain loop's comparisons do (every comparison with a not-a-number is false; only the
// finiteness test catches one). None flies longer than 60 s.
std::vector<Inputs> degenerateInputs() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<Inputs> all;
    auto add = [&all](auto change) {
        Inputs in;
        change(in);
        all.push_back(in);
    };
    add([&](Inputs& in) { in.muzzleVelocity = nan; });  // stops before the first step
    add([&](Inputs& in) { in.muzzleVelocity = inf; });
    add([&](Inputs& in) { in.ballisticCoefficient = inf; });  // no drag
    add([&](Inputs& in) { in.ballisticCoefficient = 0; });    // infinite drag: x = -inf after one step
    // Absolute zero: the speed of sound is 0 and the density ratio -inf, so the first step
    // flies every flight to x = +inf with a velocity that is not a number.
    add([&](Inputs& in) { in.temperature = -459.67; });
    add([&](Inputs& in) { in.temperature = -500; });  // colder still: the speed of sound is not a number
    add([&](Inputs& in) { in.shootingAngle = nan; });  // the speed is not a number, vx still finite
    add([&](Inputs& in) { in.sightHeight = nan; });    // every end height is not a number
    add([&](Inputs& in) { in.rangeStep = nan; });      // no mark and no distance limit: 60 s, no rows
    add([&](Inputs& in) {
        // No zero distance: each zeroing flight flies until it falls below 100 ft/s (soon, with
        // this much drag) and ends below the line of sight; stopped at the muzzle instead, it
        // would end above it (the bore sits over the sight) and the bore angle would differ.
        in.zeroRange = nan;
        in.sightHeight = -1;
        in.ballisticCoefficient = 0.02;
        in.maxRange = 30;
        in.rangeStep = 1;
    });
    add([&](Inputs& in) { in.maxRange = inf; });       // flies until it falls below 100 ft/s
    return all;
}

// Inputs drawn over and beyond what a user types, and with `special` the degenerate ones and a
// few that make flights run their full 60 s.
std::vector<Inputs> drawnInputs(int count, std::uint64_t seed, bool special = false) {
    std::mt19937_64 random(seed);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
    auto pick = [&](std::initializer_list<double> values) {
        return *(values.begin() + std::uniform_int_distribution<std::size_t>(0, values.size() - 1)(random));
    };
    std::vector<Inputs> all;
    for (int i = 0; i < count; ++i) {
        Inputs in;
        in.muzzleVelocity = uniform(0, 1) < 0.05 ? uniform(0, 150) : uniform(700, 4400);
        in.ballisticCoefficient = uniform(0.05, 1.1);
        in.dragModel = allDragModels[static_cast<std::size_t>(random() % 3)];
        in.bulletWeight = uniform(20, 750);
        in.bulletDiameter = uniform(0.17, 0.51);
        in.bulletLength = uniform(0.5, 2.6);
        in.twistRate = pick({uniform(-14, -6), uniform(6, 14), 0.0});
        in.sightHeight = uniform(-1, 4);
        in.zeroRange = pick({uniform(10, 600), 0.0, -50.0, uniform(600, 1500)});
        in.maxRange = uniform(0, 2500);
        in.rangeStep = pick({1.0, 5.0, 10.0, 25.0, 50.0, 100.0, 137.5, uniform(0.5, 300), -10.0});
        in.temperature = uniform(-40, 120);
        in.pressure = uniform(18, 32);
        in.humidity = uniform(0, 100);
        in.windSpeed = uniform(0, 35);
        in.windDirection = uniform(0, 360);
        in.shootingAngle = uniform(-70, 70);
        in.latitude = uniform(-90, 90);
        in.targetAzimuth = uniform(0, 360);
        in.includeSpinDrift = random() % 2 == 0;
        in.includeCoriolis = random() % 2 == 0;
        all.push_back(in);
    }
    if (!special) return all;
    for (const Inputs& in : degenerateInputs()) all.push_back(in);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Inputs odd;
    odd.zeroRange = nan;  // zeroing flights that never reach their end fly 60 s
    odd.maxRange = nan;
    all.push_back(odd);
    odd = Inputs{};
    odd.rangeStep = 0;
    odd.maxRange = 50;
    all.push_back(odd);
    odd = Inputs{};
    odd.muzzleVelocity = 6000;  // above Mach 5: the table's last row
    odd.dragModel = DragModel::G7;
    all.push_back(odd);
    odd = Inputs{};
    odd.shootingAngle = 90;
    all.push_back(odd);
    return all;
}

TEST(BallisticEngineExactness, DrawnInputsMatchThePlainTranscription) {
    for (const Inputs& in : drawnInputs(150, 7, true)) {
        SCOPED_TRACE(::testing::Message() << "mv " << in.muzzleVelocity << " bc " << in.ballisticCoefficient << " zero "
                                          << in.zeroRange << " step " << in.rangeStep << " max " << in.maxRange);
        expectSameRows(BallisticEngine::solve(in), referenceSolve(in));
    }
}

TEST(BallisticEngineExactness, SolvingSideBySideGivesEachSolveAlone) {
    std::vector<Inputs> all = drawnInputs(30, 11);
    all.push_back(Inputs{});  // every flight the same length: lanes empty and refill together
    all.push_back(Inputs{});
    std::vector<std::vector<TrajectoryPoint>> alone;
    for (const Inputs& in : all) alone.push_back(BallisticEngine::solve(in));
    // Batches of every size up to more than the lanes hold, so solves share the lanes in every
    // combination and later ones take lanes that earlier ones gave up.
    for (std::size_t size : {std::size_t{2}, std::size_t{5}, std::size_t{13}, all.size()}) {
        for (std::size_t first = 0; first < all.size(); first += size) {
            const std::size_t n = std::min(size, all.size() - first);
            const auto together = BallisticEngine::solveEach(std::span<const Inputs>(all).subspan(first, n));
            ASSERT_EQ(together.size(), n);
            for (std::size_t i = 0; i < n; ++i) {
                SCOPED_TRACE(::testing::Message() << "batch of " << size << ", solve " << first + i);
                expectSameRows(together[i], alone[first + i]);
            }
        }
    }
    EXPECT_TRUE(BallisticEngine::solveEach({}).empty());
}

// The lanes run one to a register, two (SSE2) or four (AVX, where the processor has it): each
// gives the plain transcription's rows, alone and side by side, also for flights whose states
// are infinite or not a number beside ordinary ones in the same register.
TEST(BallisticEngineExactness, EveryKernelGivesTheSameRows) {
    std::vector<Inputs> all = drawnInputs(12, 13);
    for (const Inputs& in : degenerateInputs()) all.push_back(in);
    std::vector<std::vector<TrajectoryPoint>> plain;
    for (const Inputs& in : all) plain.push_back(referenceSolve(in));
    for (flight::Kernel kernel : {flight::Kernel::oneLane, flight::Kernel::sse2, flight::Kernel::avx}) {
        SCOPED_TRACE(static_cast<int>(kernel));
        flight::chooseKernel(kernel);
        const auto together = BallisticEngine::solveEach(all);
        for (std::size_t i = 0; i < all.size(); ++i) {
            SCOPED_TRACE(i);
            expectSameRows(together[i], plain[i]);
        }
    }
    flight::chooseKernel(flight::Kernel::widest);
    expectSameRows(BallisticEngine::solve(all[0]), plain[0]);
}

// A ballistic coefficient so large that there is no drag, and a zero range of a million miles:
// each zeroing flight would take about 13 days of flight time. They stop at 60 s, as the main
// flight does, so the solve returns at once (before the bound this test ran for hours).
TEST(BallisticEngineBounds, ZeroingFlightsStopAfterSixtySeconds) {
    Inputs in;
    in.ballisticCoefficient = 1e308;
    in.twistRate = 0;
    in.zeroRange = 1e9;
    const auto rows = BallisticEngine::solve(in);
    expectSameRows(rows, referenceSolve(in));
    // Every flight that reaches the zero distance within 60 s zeroes as before; these cannot,
    // so the bisection judges their heights at 60 s: every one lies far below the line of sight
    // (2650 ft/s × sin 0.1 × 60 s is short of the 57,900 ft that gravity pulls), and the bore
    // angle climbs to the top of its bracket, 0.1 rad.
    ASSERT_EQ(rows.size(), 11u);
    for (const TrajectoryPoint& row : rows) EXPECT_NEAR(row.path / 12, (row.range * 3) * std::tan(0.1), 1 + row.time * row.time * 16.1);
}

}  // namespace
}  // namespace kavrino
