// Interior-ballistics predictions against the worked example (6.5 Creedmoor, 140 gr, 41.5 gr of an
// H4350-class powder), whose figures were worked out by hand, and against the model's edge rules.
#include "reload/ballistics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

namespace kavrino {
namespace {

Ballistics::Inputs workedInputs() {
    return {.chargeGr = 41.5, .bulletWeightGr = 140.0, .bulletDiameterIn = 0.264, .barrelLengthIn = 24.0,
            .caseCapacityGrH2o = 52.5, .trimLengthIn = 1.91};
}

PowderParams workedPowder() {
    return {.kv = 3600000.0, .c0Gr = 2.0, .kp = 16000.0, .b = 1.0, .gamma = 1.24};
}

TEST(BallisticsPredict, WorkedExample) {
    const auto p = Ballistics::predict(workedInputs(), workedPowder(), 62000.0);
    EXPECT_NEAR(p.velocityFps, 2710.9, 0.05);
    ASSERT_TRUE(p.pressurePsi);
    EXPECT_NEAR(*p.pressurePsi, 60363.6, 0.05);
    EXPECT_NEAR(p.caseFillPercent, 83.21, 0.005);
    EXPECT_FALSE(p.overMax);
    EXPECT_EQ(p.maxPressurePsi, 62000.0);
}

TEST(BallisticsPredict, MaximumPressureMovesOnlyOverMax) {
    const auto base = Ballistics::predict(workedInputs(), workedPowder(), std::nullopt);
    for (const double maximum : {50000.0, 60363.0, 62000.0, 1e9}) {
        SCOPED_TRACE(maximum);
        const auto p = Ballistics::predict(workedInputs(), workedPowder(), maximum);
        EXPECT_EQ(p.velocityFps, base.velocityFps);
        EXPECT_EQ(p.pressurePsi, base.pressurePsi);
        EXPECT_EQ(p.caseFillPercent, base.caseFillPercent);
        EXPECT_EQ(p.overMax, maximum < 60363.0 + 1.0);
    }
    EXPECT_FALSE(base.overMax);
    EXPECT_FALSE(base.maxPressurePsi);
}

TEST(BallisticsPredict, PressureExactlyAtMaximumIsNotOver) {
    const auto p = Ballistics::predict(workedInputs(), workedPowder(), std::nullopt);
    ASSERT_TRUE(p.pressurePsi);
    EXPECT_FALSE(Ballistics::predict(workedInputs(), workedPowder(), *p.pressurePsi).overMax);
    EXPECT_TRUE(Ballistics::predict(workedInputs(), workedPowder(), std::nextafter(*p.pressurePsi, 0.0)).overMax);
}

TEST(BallisticsPredict, PowderWithoutPressureCoefficient) {
    PowderParams powder = workedPowder();
    powder.kp.reset();
    const auto p = Ballistics::predict(workedInputs(), powder, 1.0);
    EXPECT_FALSE(p.pressurePsi);
    EXPECT_FALSE(p.overMax);  // even against a maximum of 1 psi
    EXPECT_NEAR(p.velocityFps, 2710.9, 0.05);
    EXPECT_NEAR(p.caseFillPercent, 83.21, 0.005);
}

TEST(BallisticsPredict, MissingCovolumeCountsAsZero) {
    PowderParams powder = workedPowder();
    powder.b.reset();
    // 41.5 gr = 2.68915 g in a 3.40194 cm³ case: 2.68915 × 16000 / 3.40194.
    const auto p = Ballistics::predict(workedInputs(), powder, std::nullopt);
    ASSERT_TRUE(p.pressurePsi);
    EXPECT_NEAR(*p.pressurePsi, 12647.6, 0.1);
}

TEST(BallisticsPredict, NoPressureAtOrBelowTheSmallestFreeVolume) {
    PowderParams powder = workedPowder();
    powder.b.reset();  // free volume = case volume
    Ballistics::Inputs in = workedInputs();
    in.caseCapacityGrH2o = 0.7716179176470715;  // × 0.06479891 gives exactly 0.05 cm³
    EXPECT_FALSE(Ballistics::predict(in, powder, std::nullopt).pressurePsi);
    in.caseCapacityGrH2o = 0.7716179176470717;  // one step above
    EXPECT_TRUE(Ballistics::predict(in, powder, std::nullopt).pressurePsi);

    // A charge whose covolume fills the case.
    EXPECT_FALSE(Ballistics::predict({.chargeGr = 52.5, .bulletWeightGr = 140, .bulletDiameterIn = 0.264,
                                      .barrelLengthIn = 24, .caseCapacityGrH2o = 52.5, .trimLengthIn = 1.91},
                                     workedPowder(), 62000.0)
                     .pressurePsi);
}

TEST(BallisticsPredict, EdgeRules) {
    {
        SCOPED_TRACE("gamma 1: no expansion work, no velocity");
        PowderParams powder = workedPowder();
        powder.gamma = 1.0;
        EXPECT_EQ(Ballistics::predict(workedInputs(), powder, std::nullopt).velocityFps, 0.0);
    }
    {
        SCOPED_TRACE("charge at the dead weight: the working mass is held at 1e-9 kg");
        Ballistics::Inputs in = workedInputs();
        in.chargeGr = 2.0;
        // By hand: E = 7.2e6 × 1e-9 / 9.11505e-3 × 0.369302 = 0.291713 m²/s², √E = 0.540105 m/s.
        const double v = Ballistics::predict(in, workedPowder(), std::nullopt).velocityFps;
        EXPECT_NEAR(v, 1.7720, 0.0001);
        in.chargeGr = 0.5;
        EXPECT_DOUBLE_EQ(Ballistics::predict(in, workedPowder(), std::nullopt).velocityFps, v * std::sqrt(
            (140.0 * 6.479891e-5 + 2.0 * 6.479891e-5 / 3.0) / (140.0 * 6.479891e-5 + 0.5 * 6.479891e-5 / 3.0)))
            << "only the moved charge mass changes below the dead weight";
    }
    {
        SCOPED_TRACE("barrel at most an inch past the trim length: one inch of travel");
        Ballistics::Inputs shortBarrel = workedInputs();
        shortBarrel.barrelLengthIn = 2.5;
        Ballistics::Inputs noBarrel = workedInputs();
        noBarrel.barrelLengthIn = -10.0;
        Ballistics::Inputs inchOfTravel = workedInputs();
        inchOfTravel.barrelLengthIn = 3.0;
        inchOfTravel.trimLengthIn = 2.0;
        const double v = Ballistics::predict(shortBarrel, workedPowder(), std::nullopt).velocityFps;
        EXPECT_EQ(Ballistics::predict(noBarrel, workedPowder(), std::nullopt).velocityFps, v);
        EXPECT_EQ(Ballistics::predict(inchOfTravel, workedPowder(), std::nullopt).velocityFps, v);
        // By hand: R = (3.40194 + 0.35316 × 2.54) / 3.40194 = 1.26369, 1 − R^−0.24 = 0.054627,
        // E = 7.2e6 × 2.55956e-3 / 9.96823e-3 × 0.054627 = 100,992 m²/s², √E = 317.79 m/s.
        EXPECT_NEAR(v, 1042.6, 0.1);
    }
}

TEST(BallisticsSweep, EvenlySpacedFromStartToMaximum) {
    const auto points = Ballistics::sweep(workedInputs(), workedPowder(), 38.0, 42.0, 28);
    ASSERT_EQ(points.size(), 29u);
    EXPECT_EQ(points.front().chargeGr, 38.0);
    EXPECT_EQ(points[1].chargeGr, 38.0 + 4.0 / 28.0);
    EXPECT_EQ(points.back().chargeGr, 42.0);
    std::set<QUuid> ids;
    for (std::size_t i = 0; i < points.size(); ++i) {
        SCOPED_TRACE(i);
        ids.insert(points[i].id);
        if (i > 0) {
            EXPECT_GT(points[i].chargeGr, points[i - 1].chargeGr);
            EXPECT_GT(points[i].velocityFps, points[i - 1].velocityFps);
            EXPECT_GT(*points[i].pressurePsi, *points[i - 1].pressurePsi);
        }
        // Every point is the prediction at its own charge, whatever charge the inputs carry.
        Ballistics::Inputs at = workedInputs();
        at.chargeGr = points[i].chargeGr;
        const auto p = Ballistics::predict(at, workedPowder(), std::nullopt);
        EXPECT_EQ(points[i].velocityFps, p.velocityFps);
        EXPECT_EQ(points[i].pressurePsi, p.pressurePsi);
    }
    EXPECT_EQ(ids.size(), points.size());
    EXPECT_FALSE(ids.count(QUuid()));
}

TEST(BallisticsSweep, EmptyWithoutARange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        double start, max;
        int steps;
    } rows[] = {
        {"start equal to maximum", 40.0, 40.0, 28},
        {"start above maximum", 42.0, 38.0, 28},
        {"start not a number", nan, 42.0, 28},
        {"maximum not a number", 38.0, nan, 28},
        {"no steps", 38.0, 42.0, 0},
        {"negative steps", 38.0, 42.0, -3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(Ballistics::sweep(workedInputs(), workedPowder(), row.start, row.max, row.steps).empty());
    }
}

TEST(BallisticsSweep, PowderWithoutPressureCoefficientHasNoPressures) {
    PowderParams powder = workedPowder();
    powder.kp.reset();
    for (const auto& point : Ballistics::sweep(workedInputs(), powder, 38.0, 42.0, 40))
        EXPECT_FALSE(point.pressurePsi);
}

TEST(BallisticsSuggestCharge, HighestChargeWithinNinetyTwoPercent) {
    // Target 57,040 psi; 40.9 gr gives about 56,413.8 psi and 41.0 gr goes over.
    EXPECT_EQ(Ballistics::suggestCharge(38.0, 42.0, workedInputs(), workedPowder(), 62000.0), 40.9);
    Ballistics::Inputs at = workedInputs();
    at.chargeGr = 40.9;
    EXPECT_NEAR(*Ballistics::predict(at, workedPowder(), std::nullopt).pressurePsi, 56413.8, 0.05);
}

TEST(BallisticsSuggestCharge, FallsBackToSixtyPercentOfTheRange) {
    PowderParams noKp = workedPowder();
    noKp.kp.reset();
    const struct {
        const char* name;
        double start, max;
        std::optional<Ballistics::Inputs> inputs;
        PowderParams powder;
        std::optional<double> maxPressure;
        double expected;
    } rows[] = {
        {"every point over the target", 38.0, 42.0, workedInputs(), workedPowder(), 40000.0, 40.4},
        {"no maximum pressure", 38.0, 42.0, workedInputs(), workedPowder(), std::nullopt, 40.4},
        {"no inputs", 38.0, 42.0, std::nullopt, workedPowder(), 62000.0, 40.4},
        {"no pressure coefficient", 38.0, 42.0, workedInputs(), noKp, 62000.0, 40.4},
        {"start equal to maximum", 40.04, 40.04, workedInputs(), workedPowder(), 62000.0, 40.0},
        {"a half tenth rounds away from zero", 40.0, 40.25, std::nullopt, workedPowder(), std::nullopt, 40.2},
        {"highest point already within", 38.0, 42.0, workedInputs(), workedPowder(), 1e6, 42.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(Ballistics::suggestCharge(row.start, row.max, row.inputs, row.powder, row.maxPressure),
                  row.expected);
    }
}

}  // namespace
}  // namespace kavrino
