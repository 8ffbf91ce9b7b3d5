#include "core/solve_model.h"

#include "core/ballistic_engine.h"
#include "core/catalog.h"

#include <QJsonArray>
#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kavrino {
namespace {

// Counts changed() of one model.
struct ChangeCounter {
    explicit ChangeCounter(SolveModel& model) {
        QObject::connect(&model, &SolveModel::changed, [this] { ++count; });
    }
    int count = 0;
};

const TrajectoryPoint& rowNear(const std::vector<TrajectoryPoint>& rows, double yards) {
    const TrajectoryPoint* best = &rows.front();
    for (const TrajectoryPoint& row : rows) {
        if (std::abs(row.range - yards) < std::abs(best->range - yards)) best = &row;
    }
    return *best;
}

TEST(SolveModelDefaults, EveryFieldStartsAtItsInitialValue) {
    SolveModel model;
    EXPECT_EQ(model.bulletName(), ".308 168gr HPBT");
    EXPECT_EQ(model.muzzleVelocity(), 2650.0);
    EXPECT_EQ(model.ballisticCoefficient(), 0.462);
    EXPECT_EQ(model.dragModel(), DragModel::G1);
    EXPECT_EQ(model.bulletWeight(), 168.0);
    EXPECT_EQ(model.bulletDiameter(), 0.308);
    EXPECT_EQ(model.bulletLength(), 1.24);
    EXPECT_EQ(model.twistRate(), 11.25);
    EXPECT_EQ(model.sightHeight(), 1.8);
    EXPECT_EQ(model.zeroRange(), 100.0);
    EXPECT_EQ(model.temperature(), 59.0);
    EXPECT_EQ(model.pressure(), 29.92);
    EXPECT_EQ(model.altitude(), 0.0);
    EXPECT_EQ(model.humidity(), 50.0);
    EXPECT_EQ(model.windSpeed(), 0.0);
    EXPECT_EQ(model.windDirection(), 90.0);
    EXPECT_EQ(model.shootingAngle(), 0.0);
    EXPECT_EQ(model.maxRange(), 1000.0);
    EXPECT_EQ(model.rangeStep(), 100.0);
    EXPECT_TRUE(model.includeSpinDrift());
    EXPECT_FALSE(model.includeCoriolis());
    EXPECT_EQ(model.latitude(), 45.0);
    EXPECT_EQ(model.targetAzimuth(), 0.0);
    EXPECT_TRUE(model.trajectory().empty());  // created without solving
    EXPECT_EQ(model.lastSolveMs(), 0.0);
    EXPECT_EQ(model.stabilitySg(), 0.0);
    EXPECT_EQ(model.stabilityRating(), QString(QChar(0x2014)));
    EXPECT_EQ(model.transonicRange(), std::nullopt);
    EXPECT_EQ(model.subsonicRange(), std::nullopt);
    EXPECT_EQ(model.customCurve(), std::nullopt);
    EXPECT_EQ(model.customCurveName(), std::nullopt);
}

TEST(SolveModelDefaults, EverySetterWritesItsFieldAndSignals) {
    SolveModel model;
    ChangeCounter changes(model);
    model.setMuzzleVelocity(2710);
    model.setDragModel(DragModel::G7);
    model.setIncludeCoriolis(true);
    model.setCustomCurve(DragCurve{{0.5, 0.2}, {1.0, 0.4}});
    model.setCustomCurveName(QStringLiteral("measured.csv"));
    EXPECT_EQ(changes.count, 5);
    EXPECT_EQ(model.muzzleVelocity(), 2710.0);
    EXPECT_EQ(model.dragModel(), DragModel::G7);
    EXPECT_TRUE(model.includeCoriolis());
    EXPECT_EQ(model.customCurve()->size(), 2u);
    EXPECT_EQ(model.customCurveName(), QStringLiteral("measured.csv"));
}

TEST(SolveModelRequest, HoldsTheTwentyTwoKeysOfTheInputs) {
    SolveModel model;
    model.setWindSpeed(10);
    model.setAltitude(5280);
    model.setIncludeCoriolis(true);
    const QJsonObject request = model.buildRequest();

    struct Row {
        const char* key;
        QJsonValue expected;
    };
    const Row rows[] = {
        {"muzzleVelocity", 2650.0}, {"ballisticCoefficient", 0.462}, {"dragModel", "G1"},
        {"bulletWeight", 168.0},    {"sightHeight", 1.8},            {"zeroRange", 100.0},
        {"maxRange", 1000.0},       {"rangeStep", 100.0},            {"temperature", 59.0},
        {"pressure", 29.92},        {"altitude", 5280.0},            {"humidity", 50.0},
        {"windSpeed", 10.0},        {"windDirection", 90.0},         {"shootingAngle", 0.0},
        {"latitude", 45.0},         {"targetAzimuth", 0.0},          {"includeCoriolis", true},
        {"includeSpinDrift", true}, {"twistRate", 11.25},            {"bulletDiameter", 0.308},
        {"bulletLength", 1.24},
    };
    EXPECT_EQ(request.size(), 22);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        ASSERT_TRUE(request.contains(row.key));
        EXPECT_EQ(request.value(row.key), row.expected);
    }
    EXPECT_FALSE(request.contains("customCurve"));
    EXPECT_FALSE(request.contains("includeAeroJump"));  // left to the library's default

    model.setDragModel(DragModel::G7);
    EXPECT_EQ(model.buildRequest().value("dragModel"), "G7");
}

TEST(SolveModelRequest, ACurveSendsCustomAndItsRowsUntilCleared) {
    SolveModel model;
    model.setDragModel(DragModel::G7);
    model.setCustomCurve(DragCurve{{0.0, 0.23}, {1.0, 0.41}, {2.5, 0.3}});
    model.setCustomCurveName(QStringLiteral("Lapua 6.5"));
    QJsonObject request = model.buildRequest();
    EXPECT_EQ(request.size(), 23);
    EXPECT_EQ(request.value("dragModel"), "Custom");  // whatever the stored drag model
    EXPECT_EQ(request.value("customCurve"), (QJsonArray{QJsonArray{0.0, 0.23}, QJsonArray{1.0, 0.41}, QJsonArray{2.5, 0.3}}));

    model.setCustomCurve(std::nullopt);
    model.setCustomCurveName(std::nullopt);
    request = model.buildRequest();
    EXPECT_EQ(request.size(), 22);
    EXPECT_EQ(request.value("dragModel"), "G7");
    EXPECT_FALSE(request.contains("customCurve"));
}

// The built-in integrator's worked example through the model's fallback: a twist of 0 makes
// the library's stability factor infinite, which it writes as null, so the library road gives
// no result; with spin drift off the twist has no effect on the fallback's rows.
TEST(SolveModelFallback, TwistZeroFallsBackAndKeepsTheStabilityValues) {
    SolveModel model;
    model.setTwistRate(0);
    model.setIncludeSpinDrift(false);
    ChangeCounter changes(model);
    model.solve();
    EXPECT_EQ(changes.count, 1);

    ASSERT_EQ(model.trajectory().size(), 11u);  // the fallback's rows run one step past 1000 yd
    const TrajectoryPoint& r500 = rowNear(model.trajectory(), 500);
    EXPECT_NEAR(r500.range, 500.19, 0.005);
    EXPECT_NEAR(r500.dropInches, 61.46, 0.005);
    const TrajectoryPoint& r1000 = rowNear(model.trajectory(), 1000);
    EXPECT_NEAR(r1000.velocity, 1152.7, 0.05);
    EXPECT_NEAR(r1000.dropMil, 11.65, 0.005);
    EXPECT_EQ(r1000.windDriftInches, 0.0);
    EXPECT_EQ(model.stabilitySg(), 0.0);
    EXPECT_EQ(model.stabilityRating(), QString(QChar(0x2014)));
    EXPECT_EQ(model.transonicRange(), std::nullopt);
    EXPECT_GT(model.lastSolveMs(), 0.0);
    EXPECT_LT(model.lastSolveMs(), 60000.0);
}

TEST(SolveModelFallback, UsesTheModelsOwnInputsAndIgnoresACurve) {
    SolveModel model;
    model.setTwistRate(0);  // forces the fallback whatever the library
    model.setIncludeSpinDrift(false);
    model.setDragModel(DragModel::G7);
    model.setBallisticCoefficient(0.243);
    model.setWindSpeed(10);
    model.setShootingAngle(10);
    model.setRangeStep(50);
    model.setMaxRange(600);
    model.setCustomCurve(DragCurve{{0.0, 0.9}, {5.0, 0.9}});
    model.solve();

    BallisticEngine::Inputs inputs;
    inputs.twistRate = 0;
    inputs.includeSpinDrift = false;
    inputs.dragModel = DragModel::G7;
    inputs.ballisticCoefficient = 0.243;
    inputs.windSpeed = 10;
    inputs.shootingAngle = 10;
    inputs.rangeStep = 50;
    inputs.maxRange = 600;
    const std::vector<TrajectoryPoint> expected = BallisticEngine::solve(inputs);
    ASSERT_EQ(model.trajectory().size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(model.trajectory()[i].range, expected[i].range);
        EXPECT_EQ(model.trajectory()[i].dropInches, expected[i].dropInches);
        EXPECT_EQ(model.trajectory()[i].windDriftInches, expected[i].windDriftInches);
    }
}

// A number JSON cannot hold never reaches the library; the fallback runs on the same inputs.
TEST(SolveModelFallback, AnUnencodableInputFallsBack) {
    SolveModel model;
    model.setMuzzleVelocity(std::numeric_limits<double>::quiet_NaN());
    model.solve();
    EXPECT_TRUE(model.trajectory().empty());
    EXPECT_GT(model.lastSolveMs(), 0.0);

    SolveModel curved;
    curved.setTwistRate(0);
    curved.setIncludeSpinDrift(false);
    curved.setCustomCurve(DragCurve{{0.0, std::numeric_limits<double>::infinity()}});
    curved.solve();
    EXPECT_EQ(curved.trajectory().size(), 11u);
}

// Typed into the solve pane one after another: a BC of 1e308 (no drag to speak of), a twist of
// 0 (the library's reply carries a null stability factor, so the built-in integrator answers),
// a zero range of 1e9 yd. The built-in integrator's zeroing flights would each fly for days of
// flight time; they stop after 60 s as its main flight does, and the solve returns at once.
TEST(SolveModelFallback, AZeroBeyondReachStillSolvesPromptly) {
    SolveModel model;
    model.setBallisticCoefficient(1e308);
    model.solve();
    model.setTwistRate(0);
    model.solve();
    model.setZeroRange(1e9);
    model.solve();
    EXPECT_EQ(model.trajectory().size(), 11u);
    // The stability card keeps what the last library solve gave.
    EXPECT_GT(model.stabilitySg(), 0.0);

    // An input that cannot be written as JSON takes the same road.
    model.setTwistRate(11.25);
    model.setMaxRange(std::numeric_limits<double>::infinity());
    model.setRangeStep(10);
    model.solve();
    EXPECT_FALSE(model.trajectory().empty());
}

TEST(SolveModelApply, BulletCopiesItsFiguresAndKeepsTheVelocity) {
    CatalogBullet smk;
    smk.id = "sierra-smk-308-175";
    smk.manufacturer = "Sierra";
    smk.name = "MatchKing HPBT";
    smk.caliber = 0.308;
    smk.weight = 175.0;
    smk.length = 1.24;
    smk.g1BC = 0.505;
    smk.g7BC = 0.243;

    SolveModel model;
    model.setMuzzleVelocity(2600);
    model.setTwistRate(10);
    model.setBulletLength(1.5);
    model.setCustomCurve(DragCurve{{0.0, 0.3}});
    ChangeCounter changes(model);
    model.apply(smk);
    EXPECT_EQ(changes.count, 1);  // one notice for the whole apply and its solve
    EXPECT_EQ(model.bulletName(), "Sierra MatchKing HPBT 175gr");
    EXPECT_EQ(model.bulletWeight(), 175.0);
    EXPECT_EQ(model.bulletDiameter(), 0.308);
    EXPECT_EQ(model.bulletLength(), 1.24);
    EXPECT_EQ(model.ballisticCoefficient(), 0.243);
    EXPECT_EQ(model.dragModel(), DragModel::G7);
    EXPECT_EQ(model.muzzleVelocity(), 2600.0);
    EXPECT_EQ(model.twistRate(), 10.0);
    EXPECT_TRUE(model.customCurve());
    EXPECT_FALSE(model.trajectory().empty());
    EXPECT_GT(model.lastSolveMs(), 0.0);

    struct Row {
        const char* name;
        std::optional<double> g1;
        std::optional<double> g7;
        double expectedBC;
        DragModel expectedModel;
    };
    const Row rows[] = {
        {"G7 only", std::nullopt, 0.301, 0.301, DragModel::G7},
        {"G1 only", 0.55, std::nullopt, 0.55, DragModel::G1},
        {"G7 of 0 with a G1", 0.45, 0.0, 0.45, DragModel::G1},
        {"G7 of 0 and no G1", std::nullopt, 0.0, 0.5, DragModel::G1},
        {"neither", std::nullopt, std::nullopt, 0.5, DragModel::G1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CatalogBullet bullet;
        bullet.manufacturer = "Hornady";
        bullet.name = "ELD Match";
        bullet.caliber = 0.264;
        bullet.weight = 140.9;
        bullet.g1BC = row.g1;
        bullet.g7BC = row.g7;
        model.apply(bullet);
        EXPECT_EQ(model.ballisticCoefficient(), row.expectedBC);
        EXPECT_EQ(model.dragModel(), row.expectedModel);
        EXPECT_EQ(model.bulletName(), "Hornady ELD Match 140gr");
        EXPECT_EQ(model.bulletLength(), 1.24);  // no length: the previous one stays
        EXPECT_EQ(model.muzzleVelocity(), 2600.0);
    }
}

TEST(SolveModelApply, CartridgeCopiesItsFiguresAndVelocity) {
    CatalogCartridge load;
    load.id = "hornady-65cm-140-eldm";
    load.name = "6.5 Creedmoor 140gr ELD Match";
    load.manufacturer = "Hornady";
    load.caliber = 0.264;
    load.bulletWeight = 140;
    load.muzzleVelocity = 2710;
    load.barrelLength = 24;
    load.g1BC = 0.646;
    load.g7BC = 0.326;

    SolveModel model;
    model.setBulletLength(1.39);
    ChangeCounter changes(model);
    model.apply(load);
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(model.bulletName(), "6.5 Creedmoor 140gr ELD Match");
    EXPECT_EQ(model.bulletWeight(), 140.0);
    EXPECT_EQ(model.bulletDiameter(), 0.264);
    EXPECT_EQ(model.muzzleVelocity(), 2710.0);
    EXPECT_EQ(model.ballisticCoefficient(), 0.326);
    EXPECT_EQ(model.dragModel(), DragModel::G7);
    EXPECT_EQ(model.bulletLength(), 1.39);
    EXPECT_EQ(model.twistRate(), 11.25);
    EXPECT_FALSE(model.trajectory().empty());

    load.g7BC.reset();
    model.apply(load);
    EXPECT_EQ(model.ballisticCoefficient(), 0.646);
    EXPECT_EQ(model.dragModel(), DragModel::G1);
}

// The library road, against the library the application links.
TEST(SolveModelLibrary, DefaultsSolveThroughTheLibrary) {
    SolveModel model;
    model.solve();
    // The library's rows stop at the maximum range (the fallback's run one step past it).
    ASSERT_EQ(model.trajectory().size(), 10u);
    EXPECT_NEAR(model.trajectory().front().dropInches, 0.0, 0.1);
    // Miller's factor for 168 gr, 1.24 in, 0.308 in, 1:11.25 at 2650 ft/s in standard air:
    // 30·168 / (11.25² · 1.24 · (1 + (1.24/0.308)²)) · (2650/2800)^(1/3) ≈ 1.83.
    EXPECT_NEAR(model.stabilitySg(), 1.83, 0.005);
    EXPECT_EQ(model.stabilityRating(), "stable");
    // Mach 1.2 (about 1340 ft/s) comes between 800 and 900 yd; the bullet stays supersonic
    // to 1000 yd (about 1150 ft/s).
    ASSERT_TRUE(model.transonicRange());
    EXPECT_GT(*model.transonicRange(), 700.0);
    EXPECT_LT(*model.transonicRange(), 1000.0);
    EXPECT_EQ(model.subsonicRange(), std::nullopt);
    EXPECT_GT(model.lastSolveMs(), 0.0);

    // Twist 0 falls back: the fallback's eleven rows, the previous stability result kept.
    model.setTwistRate(0);
    model.solve();
    EXPECT_EQ(model.trajectory().size(), 11u);
    EXPECT_NEAR(model.stabilitySg(), 1.83, 0.005);
    EXPECT_EQ(model.stabilityRating(), "stable");
    EXPECT_TRUE(model.transonicRange());
}

TEST(SolveModelLibrary, ACurveChangesTheRowsAndClearingItRestoresThem) {
    SolveModel model;
    model.solve();
    const std::vector<TrajectoryPoint> g1Rows = model.trajectory();

    ChangeCounter changes(model);
    model.applyCustomCurve(DragCurve{{0.0, 0.15}, {5.0, 0.15}}, QStringLiteral("flat"));
    EXPECT_EQ(changes.count, 1);  // one notice for the curve, its name and the solve
    EXPECT_EQ(model.customCurveName(), QStringLiteral("flat"));
    ASSERT_EQ(model.trajectory().size(), g1Rows.size());
    // Less drag than G1 everywhere above Mach 0.6: the bullet arrives faster.
    EXPECT_GT(model.trajectory().back().velocity, g1Rows.back().velocity);

    model.applyCustomCurve(std::nullopt, std::nullopt);
    EXPECT_EQ(changes.count, 2);
    EXPECT_FALSE(model.customCurve() || model.customCurveName());
    ASSERT_EQ(model.trajectory().size(), g1Rows.size());
    for (std::size_t i = 0; i < g1Rows.size(); ++i) {
        EXPECT_EQ(model.trajectory()[i].dropInches, g1Rows[i].dropInches);
        EXPECT_EQ(model.trajectory()[i].velocity, g1Rows[i].velocity);
    }
}

// The request carries every input with its sign: a wind direction typed as -0 gives a crosswind
// of -0 ft/s, and the library writes the drift of every row as -0.0, not 0.0.
TEST(SolveModelLibrary, ANegativeZeroInputKeepsItsSignInTheRequest) {
    for (const double direction : {-0.0, 0.0}) {
        SCOPED_TRACE(direction);
        SolveModel model;
        model.setWindSpeed(10);
        model.setWindDirection(direction);
        model.setIncludeSpinDrift(false);
        model.solve();
        ASSERT_EQ(model.stabilityRating(), "stable");  // the library road
        ASSERT_FALSE(model.trajectory().empty());
        for (const TrajectoryPoint& row : model.trajectory()) {
            EXPECT_EQ(row.windDriftInches, 0.0);
            EXPECT_EQ(std::signbit(row.windDriftInches), std::signbit(direction));
            EXPECT_EQ(std::signbit(row.windDriftMil), std::signbit(direction));
        }
    }
}

}  // namespace
}  // namespace kavrino
