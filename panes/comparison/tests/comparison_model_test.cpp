#include "panes/comparison/comparison_model.h"

#include "core/catalog.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace kavrino {
namespace {

using Inputs = BallisticEngine::Inputs;

CatalogBullet bullet(std::optional<double> g1, std::optional<double> g7, std::optional<double> length = 1.35) {
    CatalogBullet b;
    b.id = "smk-175";
    b.manufacturer = "Sierra";
    b.name = "MatchKing";
    b.caliber = 0.308;
    b.weight = 175;
    b.length = length;
    b.g1BC = g1;
    b.g7BC = g7;
    return b;
}

CatalogCartridge cartridge(QString name, double velocity) {
    CatalogCartridge c;
    c.id = name;
    c.name = std::move(name);
    c.caliber = 0.264;
    c.bulletWeight = 140;
    c.muzzleVelocity = velocity;
    c.barrelLength = 24;
    c.g1BC = 0.61;
    c.g7BC = 0.315;
    return c;
}

TrajectoryPoint row(double range, double dropMOA, double windMil) {
    TrajectoryPoint p;
    p.range = range;
    p.dropMOA = dropMOA;
    p.windDriftMil = windMil;
    return p;
}

// Hands out fixed rows chosen by the load's muzzle velocity, and records every input.
struct FixedRows {
    std::map<double, std::vector<TrajectoryPoint>> byVelocity;
    std::vector<Inputs> calls;
};

ComparisonModel::Integrator fixed(FixedRows& rows) {
    return [&rows](const Inputs& in) {
        rows.calls.push_back(in);
        return rows.byVelocity[in.muzzleVelocity];
    };
}

TEST(ComparisonModelState, StartsEmptyWithTheStandardConditions) {
    ComparisonModel model;
    EXPECT_TRUE(model.loads().empty());
    EXPECT_TRUE(model.ranges().empty());
    EXPECT_EQ(model.comparisonCSV(), "range_yd");
    EXPECT_EQ(model.sightHeight(), 1.8);
    EXPECT_EQ(model.zeroRange(), 100);
    EXPECT_EQ(model.maxRange(), 1000);
    EXPECT_EQ(model.rangeStep(), 100);
    EXPECT_EQ(model.windSpeed(), 10);
    EXPECT_EQ(model.windDirection(), 90);
    EXPECT_EQ(model.temperature(), 59);
    EXPECT_EQ(model.twistRate(), 11.25);
}

TEST(ComparisonModelLoads, BuildALoadFromABullet) {
    struct Case {
        const char* name;
        CatalogBullet bullet;
        double bc;
        DragModel model;
        double length;
    };
    const Case cases[] = {
        {"positive G7 wins", bullet(0.505, 0.243), 0.243, DragModel::G7, 1.35},
        {"G7 of 0 falls back to G1", bullet(0.505, 0.0), 0.505, DragModel::G1, 1.35},
        {"negative G7 falls back to G1", bullet(0.505, -0.2), 0.505, DragModel::G1, 1.35},
        {"G1 alone", bullet(0.505, std::nullopt), 0.505, DragModel::G1, 1.35},
        {"no BC at all flies as G1 0.5", bullet(std::nullopt, std::nullopt), 0.5, DragModel::G1, 1.35},
        {"no length is taken as 1.2", bullet(0.505, 0.243, std::nullopt), 0.243, DragModel::G7, 1.2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixedRows rows;
        ComparisonModel model(fixed(rows));
        model.add(c.bullet, 2700);
        ASSERT_EQ(model.loads().size(), 1u);
        const ComparisonModel::Load& load = model.loads()[0];
        EXPECT_EQ(load.name, "Sierra MatchKing 175gr");
        EXPECT_EQ(load.muzzleVelocity, 2700);
        EXPECT_EQ(load.bc, c.bc);
        EXPECT_EQ(load.dragModel, c.model);
        EXPECT_EQ(load.weight, 175);
        EXPECT_EQ(load.diameter, 0.308);
        EXPECT_EQ(load.length, c.length);
    }
}

TEST(ComparisonModelLoads, BuildALoadFromACartridge) {
    FixedRows rows;
    ComparisonModel model(fixed(rows));
    model.add(cartridge("6.5 Creedmoor 140gr ELD Match", 2710));
    const ComparisonModel::Load& load = model.loads()[0];
    EXPECT_EQ(load.name, "6.5 Creedmoor 140gr ELD Match");
    EXPECT_EQ(load.muzzleVelocity, 2710);
    EXPECT_EQ(load.bc, 0.315);
    EXPECT_EQ(load.dragModel, DragModel::G7);
    EXPECT_EQ(load.weight, 140);
    EXPECT_EQ(load.diameter, 0.264);
    EXPECT_EQ(load.length, 1.2);  // a cartridge carries no bullet length
}

TEST(ComparisonModelRecompute, FiresEveryLoadUnderTheSharedConditions) {
    FixedRows rows;
    ComparisonModel model(fixed(rows));
    model.setWindSpeed(5);
    model.setTemperature(20);
    model.add(bullet(0.505, 0.243), 2700);
    ASSERT_EQ(rows.calls.size(), 1u);
    const Inputs& in = rows.calls[0];
    EXPECT_EQ(in.muzzleVelocity, 2700);
    EXPECT_EQ(in.ballisticCoefficient, 0.243);
    EXPECT_EQ(in.dragModel, DragModel::G7);
    EXPECT_EQ(in.bulletWeight, 175);
    EXPECT_EQ(in.bulletDiameter, 0.308);
    EXPECT_EQ(in.bulletLength, 1.35);
    EXPECT_EQ(in.twistRate, 11.25);
    EXPECT_EQ(in.sightHeight, 1.8);
    EXPECT_EQ(in.zeroRange, 100);
    EXPECT_EQ(in.maxRange, 1000);
    EXPECT_EQ(in.rangeStep, 100);
    EXPECT_EQ(in.temperature, 20);
    EXPECT_EQ(in.pressure, 29.92);
    EXPECT_EQ(in.humidity, 50);
    EXPECT_EQ(in.windSpeed, 5);
    EXPECT_EQ(in.windDirection, 90);
    EXPECT_EQ(in.shootingAngle, 0);
    EXPECT_TRUE(in.includeSpinDrift);
    EXPECT_FALSE(in.includeCoriolis);
}

TEST(ComparisonModelRecompute, AnnouncesOneChangePerLoad) {
    FixedRows rows;
    ComparisonModel model(fixed(rows));
    int changes = 0;
    QObject::connect(&model, &ComparisonModel::changed, [&] { ++changes; });
    model.add(cartridge("A", 2700));
    EXPECT_EQ(changes, 2);  // the append, then one recomputed load
    model.add(cartridge("B", 2800));
    EXPECT_EQ(changes, 2 + 3);
    model.recomputeComparison();
    EXPECT_EQ(changes, 5 + 2);
    EXPECT_EQ(rows.calls.size(), 1u + 2 + 2);  // every add recomputes every load
}

TEST(ComparisonModelRecompute, RemovalKeepsTheOtherTrajectoriesAndRecomputesNothing) {
    FixedRows rows;
    rows.byVelocity[2700] = {row(100.3, 0.1, 0.2), row(200.2, 2.0, 0.4)};
    rows.byVelocity[2800] = {row(100.4, 0.0, 0.1)};
    ComparisonModel model(fixed(rows));
    model.add(cartridge("A", 2700));
    model.add(cartridge("B", 2800));
    model.add(cartridge("A", 2700));
    EXPECT_NE(model.loads()[0].id, model.loads()[2].id);
    EXPECT_EQ(model.ranges(), (std::vector<double>{100.3, 200.2}));

    const std::size_t integrations = rows.calls.size();
    model.removeLoad(model.loads()[0].id);
    EXPECT_EQ(rows.calls.size(), integrations);
    ASSERT_EQ(model.loads().size(), 2u);
    EXPECT_EQ(model.loads()[0].name, "B");
    EXPECT_EQ(model.ranges(), (std::vector<double>{100.4}));
    EXPECT_EQ(model.comparisonCSV(), "range_yd,B dropMOA,B windMIL,A dropMOA,A windMIL\n100,0.00,0.10,0.10,0.20");
}

TEST(ComparisonModelCsv, WritesRowsByPositionWithPrintfRounding) {
    FixedRows rows;
    // Ties and near-ties of the binary values: 100.5 is exact and rounds to even (100);
    // -0.125 is exact and rounds to -0.12; 2.675 and 1.005 lie just below their halves.
    rows.byVelocity[2700] = {row(100.5, 0.004, -0.125), row(199.9, 2.675, 0.5), row(301.5, 10.0, 1.005)};
    rows.byVelocity[2800] = {row(100.2, -0.016, 0.0), row(200.6, 3.999, 12.345)};  // one row short
    rows.byVelocity[2900] = {row(100.0, 1, 1), row(200.0, 2, 2), row(300, 3, 3), row(400, 4, 4)};  // one too many
    ComparisonModel model(fixed(rows));
    model.add(cartridge("A", 2700));
    model.add(cartridge("B", 2800));
    model.add(cartridge("C", 2900));
    EXPECT_EQ(model.comparisonCSV(),
              "range_yd,A dropMOA,A windMIL,B dropMOA,B windMIL,C dropMOA,C windMIL\n"
              "100,0.00,-0.12,-0.02,0.00,1.00,1.00\n"
              "200,2.67,0.50,4.00,12.35,2.00,2.00\n"
              "302,10.00,1.00,0.00,0.00,3.00,3.00");
}

TEST(ComparisonModelCsv, WritesNamesAsTheyStand) {
    FixedRows rows;
    ComparisonModel model(fixed(rows));
    model.add(cartridge("Hornady, 6.5 \"PRC\" Ünited", 2700));  // no rows: header only
    EXPECT_EQ(model.comparisonCSV(), "range_yd,Hornady, 6.5 \"PRC\" Ünited dropMOA,Hornady, 6.5 \"PRC\" Ünited windMIL");
}

TEST(ComparisonModelCsv, ALoadThatCannotFlyWritesZeros) {
    ComparisonModel model;
    model.add(bullet(0.505, 0.243), 2700);
    CatalogBullet slow = bullet(0.505, 0.243);
    model.add(slow, 90);  // below 100 ft/s: no rows
    EXPECT_TRUE(model.loads()[1].trajectory.empty());
    const QStringList lines = model.comparisonCSV().split('\n');
    ASSERT_EQ(lines.size(), 12);
    for (int i = 1; i < lines.size(); ++i) EXPECT_TRUE(lines[i].endsWith(",0.00,0.00")) << lines[i].toStdString();
}

TEST(ComparisonModelWithIntegrator, OneBulletGivesElevenRowsNearEachHundredYards) {
    ComparisonModel model;
    model.add(bullet(0.505, 0.243), 2700);
    model.add(bullet(0.505, 0.243), 2700);
    const std::vector<double> ranges = model.ranges();
    ASSERT_EQ(ranges.size(), 11u);
    for (std::size_t i = 0; i < ranges.size(); ++i) {
        EXPECT_GT(ranges[i], 100.0 * (i + 1));
        EXPECT_LT(ranges[i], 100.0 * (i + 1) + 1);
    }
    const QString csv = model.comparisonCSV();
    const QStringList lines = csv.split('\n');
    ASSERT_EQ(lines.size(), 12);
    EXPECT_TRUE(lines[1].startsWith("100,"));
    EXPECT_FALSE(csv.endsWith('\n'));

    // The same bullet twice: two loads, two ids, the same numbers row by row.
    const auto& a = model.loads()[0].trajectory;
    const auto& b = model.loads()[1].trajectory;
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].dropMOA, b[i].dropMOA);
        EXPECT_EQ(a[i].windDriftMil, b[i].windDriftMil);
    }
    // A 10 mph full-value crosswind: the wind column grows with range and is positive.
    EXPECT_GT(a.back().windDriftMil, a.front().windDriftMil);
    EXPECT_GT(a.front().windDriftMil, 0);
}

}  // namespace
}  // namespace kavrino
