#include "core/ballistics.h"

#include <QSet>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <thread>
#include <vector>

namespace kavrino {
namespace {

TEST(DragModel, RawValuesRoundTripExactly) {
    struct Row {
        const char* text;
        std::optional<DragModel> expected;
    };
    const Row rows[] = {
        {"G1", DragModel::G1},   {"G7", DragModel::G7}, {"Custom", DragModel::custom},
        {"g1", std::nullopt},    {"custom", std::nullopt}, {"G7 ", std::nullopt},
        {"", std::nullopt},      {"CUSTOM", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(dragModelFromRawValue(row.text), row.expected);
    }
    ASSERT_EQ(allDragModels.size(), 3u);
    EXPECT_EQ(rawValue(allDragModels[0]), "G1");
    EXPECT_EQ(rawValue(allDragModels[1]), "G7");
    EXPECT_EQ(rawValue(allDragModels[2]), "Custom");
}

TEST(DragTables, HaveThePublishedShape) {
    EXPECT_EQ(g1Table.size(), 79u);
    EXPECT_EQ(g7Table.size(), 84u);
    for (const auto* table : {static_cast<const DragTableRow*>(g1Table.data()), static_cast<const DragTableRow*>(g7Table.data())}) {
        const std::size_t n = table == g1Table.data() ? g1Table.size() : g7Table.size();
        EXPECT_EQ(table[0].mach, 0.0);
        EXPECT_EQ(table[n - 1].mach, 5.0);
        for (std::size_t i = 1; i < n; ++i) EXPECT_LT(table[i - 1].mach, table[i].mach) << "row " << i;
    }
    // The gaps in the published tables.
    for (const DragTableRow& row : g1Table) EXPECT_NE(row.mach, 0.65);
    for (const DragTableRow& row : g7Table) EXPECT_NE(row.mach, 1.45);
}

TEST(DragCoefficient, ReadsClampsAndInterpolates) {
    struct Row {
        const char* name;
        DragModel model;
        double mach;
        double expected;
    };
    const Row rows[] = {
        {"G1 at the first row", DragModel::G1, 0.0, 0.2629},
        {"G7 at the first row", DragModel::G7, 0.0, 0.1198},
        {"G1 below the table", DragModel::G1, -3.0, 0.2629},
        {"G7 below the table", DragModel::G7, -0.001, 0.1198},
        {"G1 above the table", DragModel::G1, 7.0, 0.4988},
        {"G7 at the last row", DragModel::G7, 5.0, 0.1618},
        {"G7 at infinity", DragModel::G7, std::numeric_limits<double>::infinity(), 0.1618},
        {"G1 on a transonic row", DragModel::G1, 1.025, 0.5136},
        {"G7 on Mach 1", DragModel::G7, 1.0, 0.3803},
        {"G1 in the gap at 0.65", DragModel::G1, 0.65, 0.20995},
        {"G7 in the gap at 1.45", DragModel::G7, 1.45, 0.351},
        {"G1 a quarter into a bracket", DragModel::G1, 4.25, 0.4998 + 0.25 * (0.4995 - 0.4998)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(dragCoefficient(row.model, row.mach), row.expected, 1e-12);
    }
    EXPECT_EQ(dragCoefficient(DragModel::G1, std::nan("")), 0.4988);
}

TEST(DragCoefficient, CustomReadsTheG1Table) {
    for (double mach = -0.5; mach < 6; mach += 0.0137) {
        EXPECT_EQ(dragCoefficient(DragModel::custom, mach), dragCoefficient(DragModel::G1, mach)) << mach;
    }
}

// The cursor must find the very bracket the linear scan finds, whatever order the Mach numbers
// come in: compare the bits of both results.
TEST(DragTableCursor, EqualsTheLinearLookupBitForBit) {
    std::vector<double> machs;
    for (double m = 3.2; m > 0.2; m -= 0.0007) machs.push_back(m);  // a bullet slowing down
    for (double m = 0.0; m < 5.5; m += 0.0011) machs.push_back(m);  // speeding up
    for (const DragTableRow& row : g1Table) machs.push_back(row.mach);  // exactly on rows
    for (const DragTableRow& row : g7Table) machs.push_back(row.mach);
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> anywhere(-1.0, 6.0);
    for (int i = 0; i < 5000; ++i) machs.push_back(anywhere(random));  // jumps both ways
    machs.push_back(std::nan(""));
    machs.push_back(2.0);
    machs.push_back(-std::numeric_limits<double>::infinity());
    machs.push_back(std::numeric_limits<double>::infinity());
    machs.push_back(1.3);

    for (DragModel model : allDragModels) {
        SCOPED_TRACE(std::string(rawValue(model)));
        DragTableCursor cursor(model);
        for (double mach : machs) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(cursor(mach)),
                      std::bit_cast<std::uint64_t>(dragCoefficient(model, mach)))
                << "Mach " << mach;
        }
    }
}

TEST(TrajectoryPoint, EveryRowBuiltGetsItsOwnId) {
    TrajectoryPoint a;
    a.range = 100;
    TrajectoryPoint b;
    b.range = 100;
    EXPECT_NE(a.id, b.id);
    EXPECT_FALSE(a.id.isNull());
    EXPECT_NE(a, b);
    const TrajectoryPoint copy = a;
    EXPECT_EQ(copy, a);
}

TEST(TrajectoryPoint, IdsStayDistinctAcrossThreadsAndWellFormed) {
    // Rows are made side by side by the truing fit's threads; no two may share an id.
    constexpr int threads = 4;
    constexpr int perThread = 10000;  // more than one block of sequence numbers each
    std::vector<std::vector<QUuid>> made(threads);
    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i) {
        workers.emplace_back([&made, i] {
            for (int n = 0; n < perThread; ++n) made[i].push_back(TrajectoryPoint{}.id);
        });
    }
    for (std::thread& worker : workers) worker.join();
    QSet<QUuid> seen;
    for (const auto& ids : made) {
        for (const QUuid& id : ids) {
            EXPECT_EQ(id.version(), QUuid::Random);
            EXPECT_EQ(id.variant(), QUuid::DCE);
            seen.insert(id);
        }
    }
    EXPECT_EQ(seen.size(), threads * perThread);
}

TEST(Conversions, UseTheSharedConstants) {
    EXPECT_DOUBLE_EQ(moaFromInches(1.047, 100), 1.0);
    EXPECT_DOUBLE_EQ(moaFromInches(10.47, 1000), 1.0);
    EXPECT_DOUBLE_EQ(milFromInches(3.6, 100), 1.0);
    EXPECT_DOUBLE_EQ(milFromInches(18.0, 500), 1.0);
    EXPECT_NEAR(energyFootPounds(168, 2650), 2619.1956237956, 1e-9);
    EXPECT_NEAR(feetPerSecondFromMph(10), 14.6667, 1e-12);
    EXPECT_DOUBLE_EQ(radiansFromDegrees(180), 3.141592653589793);
}

}  // namespace
}  // namespace kavrino
