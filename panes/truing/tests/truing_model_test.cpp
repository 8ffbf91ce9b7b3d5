#include "panes/truing/truing_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>
#include <vector>

namespace kavrino {
namespace {

using Inputs = BallisticEngine::Inputs;
constexpr double infinity = std::numeric_limits<double>::infinity();

// Runs the real integrator and remembers every input it was given.
struct RecordingIntegrator {
    std::vector<Inputs>* calls;
    std::vector<TrajectoryPoint> operator()(const Inputs& in) const {
        calls->push_back(in);
        return BallisticEngine::solve(in);
    }
};

// A trajectory of hand-made rows: (range, dropMOA) pairs.
std::vector<TrajectoryPoint> rowsOf(std::initializer_list<std::pair<double, double>> pairs) {
    std::vector<TrajectoryPoint> rows;
    for (auto [range, moa] : pairs) {
        TrajectoryPoint p;
        p.range = range;
        p.dropMOA = moa;
        rows.push_back(p);
    }
    return rows;
}

// Observed come-ups that a load of `velocity` and `bc` meets exactly: the integrator's own row
// nearest each range, fired the way the fit fires it.
std::vector<TruingModel::Observation> observationsFrom(double velocity, double bc, std::vector<double> ranges) {
    Inputs in;
    in.muzzleVelocity = velocity;
    in.ballisticCoefficient = bc;
    in.bulletLength = 1.215;
    in.maxRange = 900;
    in.rangeStep = 10;
    in.includeSpinDrift = false;
    const std::vector<TrajectoryPoint> rows = BallisticEngine::solve(in);
    std::vector<TruingModel::Observation> observations;
    for (double yards : ranges) {
        const TrajectoryPoint* nearest = &rows.front();
        for (const TrajectoryPoint& row : rows) {
            if (std::abs(row.range - yards) < std::abs(nearest->range - yards)) nearest = &row;
        }
        observations.push_back({QUuid::createUuid(), yards, nearest->dropMOA});
    }
    return observations;
}

TEST(TruingModelState, StartsWithTheDefaultLoadAndThreeObservations) {
    TruingModel model;
    EXPECT_EQ(model.muzzleVelocity(), 2650);
    EXPECT_EQ(model.ballisticCoefficient(), 0.462);
    EXPECT_EQ(model.dragModel(), DragModel::G1);
    EXPECT_EQ(model.bulletLength(), 1.215);
    ASSERT_EQ(model.observations().size(), 3u);
    EXPECT_EQ(model.observations()[1].rangeYards, 600);
    EXPECT_EQ(model.observations()[1].dropMOA, 16.8);
    EXPECT_NE(model.observations()[0].id, model.observations()[2].id);
    EXPECT_FALSE(model.trueBC());
    EXPECT_FALSE(model.result().has_value());
}

TEST(TruingModelState, AddAndRemoveObservations) {
    TruingModel model;
    int changes = 0;
    QObject::connect(&model, &TruingModel::changed, [&] { ++changes; });
    model.setObservations({});
    model.addObservation();
    ASSERT_EQ(model.observations().size(), 1u);
    EXPECT_EQ(model.observations()[0].rangeYards, 500);
    EXPECT_EQ(model.observations()[0].dropMOA, 11.7);

    model.addObservation();
    const QUuid first = model.observations()[0].id;
    const QUuid second = model.observations()[1].id;
    model.setObservationRange(second, 650);
    model.removeObservation(first);
    ASSERT_EQ(model.observations().size(), 1u);
    EXPECT_EQ(model.observations()[0].id, second);
    EXPECT_EQ(model.observations()[0].rangeYards, 650);
    EXPECT_EQ(changes, 5);
}

TEST(TruingModelRms, FiresTheCandidateInStandardAirWithoutWind) {
    std::vector<Inputs> calls;
    TruingModel model(RecordingIntegrator{&calls});
    model.setZeroRange(1000);  // beyond every observation: the run goes to the zero range
    model.setDragModel(DragModel::G7);
    model.rmsError(2500, 0.9);
    model.setZeroRange(100);
    model.rmsError(2500, 1.0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].maxRange, 1000);
    EXPECT_EQ(calls[1].maxRange, 900);
    const Inputs& in = calls[0];
    EXPECT_EQ(in.muzzleVelocity, 2500);
    EXPECT_EQ(in.ballisticCoefficient, 0.462 * 0.9);
    EXPECT_EQ(in.dragModel, DragModel::G7);
    EXPECT_EQ(in.rangeStep, 10);
    EXPECT_EQ(in.temperature, 59);
    EXPECT_EQ(in.pressure, 29.92);
    EXPECT_EQ(in.humidity, 50);
    EXPECT_EQ(in.windSpeed, 0);
    EXPECT_EQ(in.shootingAngle, 0);
    EXPECT_FALSE(in.includeSpinDrift);
    EXPECT_FALSE(in.includeCoriolis);
}

TEST(TruingModelRms, MatchesEachObservationToItsNearestRow) {
    struct Case {
        const char* name;
        std::vector<TrajectoryPoint> rows;
        double rangeYards;
        double expected;  // RMS of the single observation of 1.0 MOA
    };
    const Case cases[] = {
        {"nearest row", rowsOf({{290, 4}, {299, 3}, {305, 5}}), 300, 2},
        {"tie goes to the earlier row", rowsOf({{290, 4}, {310, 6}}), 300, 3},
        {"beyond every row matches the last", rowsOf({{100, 0}, {200, 2.5}}), 950, 1.5},
        {"before every row matches the first", rowsOf({{100, -1}, {200, 2.5}}), 10, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TruingModel model([&](const Inputs&) { return c.rows; });
        model.setObservations({{QUuid::createUuid(), c.rangeYards, 1.0}});
        EXPECT_EQ(model.rmsError(2650, 1), c.expected);
    }

    // Two observations: √((1² + 2²) / 2).
    TruingModel model([](const Inputs&) { return rowsOf({{300, 6}, {600, 20}}); });
    model.setObservations({{QUuid::createUuid(), 300, 5}, {QUuid::createUuid(), 600, 18}});
    EXPECT_DOUBLE_EQ(model.rmsError(2650, 1), std::sqrt(2.5));
}

TEST(TruingModelRms, IsInfiniteWithoutObservationsOrRows) {
    int calls = 0;
    TruingModel model([&](const Inputs&) {
        ++calls;
        return std::vector<TrajectoryPoint>{};
    });
    EXPECT_EQ(model.rmsError(2650, 1), infinity);
    model.setObservations({});
    EXPECT_EQ(model.rmsError(2650, 1), infinity);
    EXPECT_EQ(calls, 1);  // no observations: nothing is integrated

    TruingModel real;
    real.setObservations({{QUuid::createUuid(), 300, 5}});
    EXPECT_EQ(real.rmsError(90, 1), infinity);  // too slow to fly
}

TEST(TruingModelFit, VisitsTwentyOneTwentyOneAndTwentyVelocitiesWithTheFitOff) {
    std::vector<Inputs> calls;
    TruingModel model(RecordingIntegrator{&calls});
    int changes = 0;
    QObject::connect(&model, &TruingModel::changed, [&] { ++changes; });
    model.fitTruing();

    ASSERT_EQ(calls.size(), 1u + 21 + 21 + 20);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(calls[0].muzzleVelocity, 2650);
    EXPECT_EQ(calls[1].muzzleVelocity, 2450);
    EXPECT_EQ(calls[21].muzzleVelocity, 2850);
    for (const Inputs& in : calls) EXPECT_EQ(in.ballisticCoefficient, 0.462);

    // Pass 2 spans the pass-1 best ± 40 ft/s in steps of 4; pass 3 the pass-2 best ± 8 in 0.8.
    const double pass2Start = calls[22].muzzleVelocity;
    EXPECT_EQ(calls[42].muzzleVelocity, pass2Start + 80);
    EXPECT_NEAR(calls[43 + 10].muzzleVelocity - calls[43].muzzleVelocity, 8, 1e-9);
    EXPECT_LT(calls.back().muzzleVelocity, calls[43].muzzleVelocity + 16);

    ASSERT_TRUE(model.result().has_value());
    const TruingModel::Result& result = *model.result();
    EXPECT_EQ(result.bcScale, 1.0);
    EXPECT_LT(result.rmsAfter, result.rmsBefore);
    EXPECT_EQ(result.rmsBefore, model.rmsError(2650, 1.0));
    EXPECT_EQ(result.rmsAfter, model.rmsError(result.muzzleVelocity, 1.0));
}

TEST(TruingModelFit, NeverTriesTheTopFactorInPassOneWithTheFitOn) {
    std::vector<Inputs> calls;
    TruingModel model(RecordingIntegrator{&calls});
    model.setTrueBC(true);
    model.fitTruing();

    // Pass 1: 21 velocities × the factors 0.85, 0.88 … 1.12 (ten; the sum passes 1.15 first).
    ASSERT_GT(calls.size(), 211u);
    std::set<double> factors;
    for (std::size_t i = 1; i <= 210; ++i) factors.insert(calls[i].ballisticCoefficient / 0.462);
    ASSERT_EQ(factors.size(), 10u);
    EXPECT_NEAR(*factors.begin(), 0.85, 1e-12);
    EXPECT_NEAR(*factors.rbegin(), 1.12, 1e-12);
    EXPECT_EQ(calls[1].muzzleVelocity, calls[10].muzzleVelocity);
    EXPECT_NE(calls[1].muzzleVelocity, calls[11].muzzleVelocity);

    // Passes 2 and 3: 21 and 20 velocities, each with 10 or 11 factors.
    const std::size_t later = calls.size() - 211;
    const std::set<std::size_t> possible{21 * 10 + 20 * 10, 21 * 10 + 20 * 11, 21 * 11 + 20 * 10, 21 * 11 + 20 * 11};
    EXPECT_TRUE(possible.count(later)) << later;
}

TEST(TruingModelFit, RecoversTheLoadThatMadeTheObservations) {
    // 2690 ft/s lies on the pass-1 grid (2450 + 12 × 20), so it scores exactly 0 there and no
    // later candidate can beat it.
    TruingModel model;
    model.setObservations(observationsFrom(2690, 0.462, {300, 600, 900}));
    model.fitTruing();
    ASSERT_TRUE(model.result().has_value());
    EXPECT_EQ(model.result()->muzzleVelocity, 2690);
    EXPECT_EQ(model.result()->bcScale, 1.0);
    EXPECT_EQ(model.result()->rmsAfter, 0);
    EXPECT_GT(model.result()->rmsBefore, 0.5);

    // With the BC fit on: the pass-1 factor 0.85 + 0.029999999999999992 (= 0.88 in the walk).
    const double factor = 0.85 + 0.029999999999999992;
    model.setObservations(observationsFrom(2690, 0.462 * factor, {300, 600, 900}));
    model.setTrueBC(true);
    model.fitTruing();
    EXPECT_EQ(model.result()->muzzleVelocity, 2690);
    EXPECT_EQ(model.result()->bcScale, factor);
    EXPECT_EQ(model.result()->rmsAfter, 0);
}

TEST(TruingModelFit, KeepsTheInputWhenItAlreadyMatches) {
    TruingModel model;
    model.setObservations(observationsFrom(2650, 0.462, {300, 600, 900}));
    model.fitTruing();
    EXPECT_EQ(*model.result(), (TruingModel::Result{2650, 1.0, 0, 0}));
}

TEST(TruingModelFit, SpreadOverThreadsGivesTheResultOfTheWalkInOrder) {
    for (bool fitBC : {false, true}) {
        SCOPED_TRACE(fitBC ? "BC fit on" : "BC fit off");
        TruingModel spread;
        TruingModel inOrder(&BallisticEngine::solve);
        for (TruingModel* model : {&spread, &inOrder}) {
            model->setMuzzleVelocity(2810);
            model->setDragModel(DragModel::G7);
            model->setBallisticCoefficient(0.243);
            model->setObservations({{QUuid::createUuid(), 250, 3.1}, {QUuid::createUuid(), 650, 17.9}});
            model->setTrueBC(fitBC);
            model->fitTruing();
        }
        EXPECT_EQ(*spread.result(), *inOrder.result());
    }
}

TEST(TruingModelFit, FindsAVelocityOffTheGridWithinTheLastStep) {
    TruingModel model;
    model.setObservations(observationsFrom(2731, 0.462, {200, 400, 600, 800}));
    model.fitTruing();
    EXPECT_NEAR(model.result()->muzzleVelocity, 2731, 0.8);
    EXPECT_LT(model.result()->rmsAfter, 0.02);
}

TEST(TruingModelFit, WithoutObservationsPublishesTheInputAndInfiniteErrors) {
    int calls = 0;
    TruingModel model([&](const Inputs& in) {
        ++calls;
        return BallisticEngine::solve(in);
    });
    model.setObservations({});
    model.setTrueBC(true);
    model.fitTruing();
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(*model.result(), (TruingModel::Result{2650, 1.0, infinity, infinity}));
}

TEST(TruingModelFit, CandidatesWithoutRowsAreNeverChosen) {
    // Only velocities of 2700 ft/s and above fly; the nearest flying candidate wins.
    TruingModel model([](const Inputs& in) {
        return in.muzzleVelocity < 2700 ? std::vector<TrajectoryPoint>{} : rowsOf({{300, in.muzzleVelocity / 1000}});
    });
    model.setObservations({{QUuid::createUuid(), 300, 0}});
    model.fitTruing();
    const TruingModel::Result& result = *model.result();
    EXPECT_EQ(result.rmsBefore, infinity);
    EXPECT_GE(result.muzzleVelocity, 2700);
    EXPECT_LT(result.muzzleVelocity, 2700.8);  // within one pass-3 step
    EXPECT_EQ(result.rmsAfter, result.muzzleVelocity / 1000);
}

// A velocity so large that ±200 ft/s vanishes in its last digit makes every step zero; the
// walk must still end.
TEST(TruingModelFit, AZeroStepDoesNotLoopForever) {
    int calls = 0;
    TruingModel model([&](const Inputs&) {
        ++calls;
        return rowsOf({{300, 1}});
    });
    model.setMuzzleVelocity(1e300);
    model.fitTruing();
    EXPECT_EQ(calls, 4);  // the first evaluation and one point per pass
    EXPECT_EQ(model.result()->muzzleVelocity, 1e300);
}

}  // namespace
}  // namespace kavrino
