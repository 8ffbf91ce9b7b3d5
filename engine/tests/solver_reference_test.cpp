// Whole replies compared byte for byte with those of the plain solve (plain_solver.h), which
// flies one run at a time and scans every list from the start: random requests of every kind,
// and the long BC band lists and measured curves that used to take minutes.
#include "json_writer.h"
#include "plain_solver.h"
#include "solve_json.h"
#include "solver.h"

#include <gtest/gtest.h>

#include <algorithm>  // std::shuffle
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace kavrino_engine {
namespace {

std::string reply(const solver::Solution& solution) { return detail::writeSolution(solution); }

// Random requests: mostly realistic loads and conditions, with every odd value a caller may
// send mixed in (negative and tiny speeds, zero and negative ranges and steps, twist 0 and
// left, shots past the vertical, BC bands and measured curves of every order).
class RequestMaker {
public:
    explicit RequestMaker(std::uint64_t seed) : m_random(seed) {}

    SolverInput make() {
        SolverInput in;
        if (chance(0.6)) in.muzzleVelocity = uniform(1200.0, 4000.0);
        if (chance(0.04)) in.muzzleVelocity = pick({-2650.0, -100.0, 50.0, 0.0, 1e-300});
        if (chance(0.6)) in.ballisticCoefficient = uniform(0.15, 0.8);
        if (chance(0.02)) in.ballisticCoefficient = pick({0.0, -0.3, 1e300});
        switch (m_random() % 4) {
        case 1: in.dragCurve.kind = DragCurve::Kind::G7; break;
        case 2:
            in.dragCurve.kind = DragCurve::Kind::Custom;
            in.dragCurve.customRows = curve();
            break;
        default: break;
        }
        if (chance(0.35)) in.bcBands = bands();
        if (chance(0.3)) in.bulletWeight = uniform(40.0, 700.0);
        if (chance(0.3)) in.sightHeight = uniform(-3.0, 5.0);
        if (chance(0.5)) in.zeroRange = uniform(10.0, 1200.0);
        if (chance(0.05)) in.zeroRange = pick({0.0, -50.0, 1e-300});
        // Backwards the bullet never reaches the zero, so each zeroing run would fly its full
        // 60 s here and in the plain solve (the packed runs' own test covers those runs).
        if (in.muzzleVelocity < 0.0) in.zeroRange = 0.0;
        if (chance(0.5)) in.maxRange = uniform(0.0, 2000.0);
        if (chance(0.03)) in.maxRange = pick({-1.0, 0.0, 5000.0});
        if (chance(0.4)) in.rangeStep = uniform(5.0, 300.0);
        if (chance(0.02)) in.rangeStep = pick({0.0, -1.0});
        if (chance(0.3)) in.temperature = uniform(-40.0, 120.0);
        if (chance(0.3)) in.pressure = uniform(22.0, 31.0);
        if (chance(0.3)) in.humidity = uniform(0.0, 100.0);
        if (chance(0.4)) in.windSpeed = uniform(-30.0, 30.0);
        if (chance(0.3)) in.windDirection = uniform(-360.0, 360.0);
        if (chance(0.3)) in.shootingAngle = uniform(-45.0, 45.0);
        if (chance(0.02)) in.shootingAngle = pick({90.0, 120.0, -179.0});
        in.includeSpinDrift = chance(0.3);
        in.includeCoriolis = chance(0.3);
        in.includeAeroJump = chance(0.3);
        if (chance(0.3)) in.twistRate = uniform(-14.0, 14.0);
        if (chance(0.05)) in.twistRate = 0.0;
        if (chance(0.2)) in.bulletDiameter = uniform(0.17, 0.51);
        if (chance(0.2)) in.latitude = uniform(-90.0, 90.0);
        if (chance(0.2)) in.targetAzimuth = uniform(-360.0, 360.0);
        if (chance(0.2)) in.mvTempSensitivity = uniform(-3.0, 3.0);
        return in;
    }

    // (Mach, Cd) rows: ascending, with repeats, unsorted, descending, a single row or none.
    std::vector<DragRow> curve() {
        const std::size_t size = pick({0.0, 1.0, 2.0, 5.0, 12.0, 60.0});
        const int kind = static_cast<int>(m_random() % 5);
        std::vector<DragRow> rows;
        double mach = uniform(0.0, 0.8);
        for (std::size_t i = 0; i < size; ++i) {
            const double cd = uniform(0.1, 0.7);
            if (kind == 0) mach += uniform(0.01, 0.5);
            else if (kind == 1) mach += chance(0.4) ? 0.0 : uniform(0.01, 0.5);
            else if (kind == 2) mach = uniform(0.0, 4.0);
            else if (kind == 3) mach = 4.0 - static_cast<double>(i) * 0.3;
            else mach = std::round(uniform(0.0, 4.0) * 4.0) / 4.0;
            rows.push_back({mach, cd});
        }
        return rows;
    }

    // (speed, BC) rows: descending as usual, ascending, random with repeats, or never applying.
    std::vector<BcBand> bands() {
        const std::size_t size = pick({1.0, 2.0, 5.0, 30.0});
        const int kind = static_cast<int>(m_random() % 4);
        std::vector<BcBand> rows;
        for (std::size_t i = 0; i < size; ++i) {
            const double bc = uniform(0.2, 0.7);
            if (kind == 0) rows.push_back({3500.0 - static_cast<double>(i) * 400.0, bc});
            else if (kind == 1) rows.push_back({static_cast<double>(i) * 300.0, bc});
            else if (kind == 2) rows.push_back({std::round(uniform(0.0, 3500.0) / 500.0) * 500.0, bc});
            else rows.push_back({uniform(5000.0, 9000.0), bc});
        }
        return rows;
    }

private:
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) < p; }
    double uniform(double a, double b) { return std::uniform_real_distribution<double>(a, b)(m_random); }
    double pick(std::initializer_list<double> values) { return values.begin()[m_random() % values.size()]; }

    std::mt19937_64 m_random;
};

TEST(SolverAgainstThePlainSolve, RandomRequestsGiveTheSameReply) {
    RequestMaker maker(2024);
    for (int i = 0; i < 120; ++i) {
        const SolverInput input = maker.make();
        ASSERT_EQ(reply(solver::solve(input)), reply(plain::solve(input))) << "request " << i;
    }
}

// Bands starting above any speed the bullet reaches, among ones that apply: each speed's band
// is found without scanning the list.
TEST(SolverAgainstThePlainSolve, LongBandListGivesTheSameReply) {
    SolverInput input;
    for (int i = 0; i < 3000; ++i) {
        input.bcBands.push_back({5000.0 + i, 0.3 + 0.0001 * i});
        if (i % 1000 == 999) input.bcBands.push_back({2600.0 - i / 2.0, 0.45});
    }
    EXPECT_EQ(reply(solver::solve(input)), reply(plain::solve(input)));
}

TEST(SolverAgainstThePlainSolve, LongUnsortedCurvesGiveTheSameReply) {
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> cd(0.2, 0.6);
    SolverInput repeated;  // ascending, every Mach number twice
    repeated.dragCurve.kind = DragCurve::Kind::Custom;
    for (int i = 0; i < 2500; ++i) {
        const DragRow row{i * 0.002, cd(random)};
        repeated.dragCurve.customRows.push_back(row);
        repeated.dragCurve.customRows.push_back(row);
    }
    SolverInput shuffled = repeated;  // the same rows in random order
    std::shuffle(shuffled.dragCurve.customRows.begin(), shuffled.dragCurve.customRows.end(), random);
    for (const SolverInput* input : {&repeated, &shuffled}) {
        EXPECT_EQ(reply(solver::solve(*input)), reply(plain::solve(*input)));
    }
}

// Lists far too long for the plain solve: checked against short lists that must give the same
// reply, through the entry road.
TEST(SolverLongLists, TenThousandBandsThatNeverApplyFlyOnTheLastOnesBc) {
    std::string bands = R"({"bcBands":[)";
    for (int i = 0; i < 10000; ++i) {
        if (i > 0) bands += ',';
        bands += '[';
        bands += std::to_string(10000 + i);
        bands += ",0.41]";
    }
    EXPECT_EQ(solve_json(bands + "]}"), solve_json(R"({"ballisticCoefficient":0.41})"));
    // The same with a zero the bullet never reaches: every zeroing run flies its full 60 s.
    EXPECT_EQ(solve_json(bands + R"(],"zeroRange":20000})"),
              solve_json(R"({"ballisticCoefficient":0.41,"zeroRange":20000})"));
}

TEST(SolverLongLists, CurveWithEveryRowTwiceFliesAsTheCurveWithEachRowOnce) {
    std::string once = R"({"dragModel":"Custom","customCurve":[)";
    std::string twice = once;
    for (int i = 0; i <= 50000; ++i) {
        std::string row = "[";
        row += std::to_string(i * 0.0001);
        row += ',';
        row += std::to_string(0.2 + 0.00001 * (i % 977));
        row += ']';
        if (i > 0) {
            once += ',';
            twice += ',';
        }
        once += row;
        twice += row;
        twice += ',';
        twice += row;
    }
    EXPECT_EQ(solve_json(twice + "]}"), solve_json(once + "]}"));
}

}  // namespace
}  // namespace kavrino_engine
