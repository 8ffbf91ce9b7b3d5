// Drag tables and the drag coefficient lookup, including the remembered-position lookup the
// solver uses, which must agree bit for bit with a scan from the start.
#include "drag.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <span>
#include <cstring>
#include <random>
#include <vector>

namespace kavrino_engine::drag {
namespace {

DragCurve custom(std::vector<DragRow> rows) { return {DragCurve::Kind::Custom, std::move(rows)}; }

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

TEST(DragTables, StandardTablesRiseFromMachZeroToFive) {
    for (auto table : {g1Table(), g7Table()}) {
        EXPECT_EQ(table.front().mach, 0.0);
        EXPECT_EQ(table.back().mach, 5.0);
        for (std::size_t i = 0; i + 1 < table.size(); ++i) EXPECT_LT(table[i].mach, table[i + 1].mach);
    }
    EXPECT_EQ(g1Table().size(), 79u);
    EXPECT_EQ(g7Table().size(), 84u);
}

TEST(DragLookup, TableValuesClampingAndInterpolation) {
    const DragCurve g1{DragCurve::Kind::G1, {}};
    const DragCurve g7{DragCurve::Kind::G7, {}};
    struct Row {
        const char* name;
        const DragCurve& curve;
        double mach;
        double cd;
    };
    const Row rows[] = {
        {"G1 at Mach 0", g1, 0.0, 0.2629},
        {"G7 at Mach 0", g7, 0.0, 0.1198},
        {"below the table", g1, -3.0, 0.2629},
        {"G1 above the table", g1, 7.0, 0.4988},
        {"G7 at the top row", g7, 5.0, 0.1618},
        {"on a row", g7, 1.0, 0.3803},
        {"G1 transonic row", g1, 1.2, 0.6393},
        {"G1 rows around 0.65 (none at 0.65)", g1, 0.65, 0.20995},
        {"not a number gives the last row", g1, std::nan(""), 0.4988},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_NEAR(cd(row.curve, row.mach), row.cd, 1e-15);
    }
}

TEST(DragLookup, CustomCurvesKeepTheirOrder) {
    EXPECT_EQ(cd(custom({}), 1.0), 0.0);
    const DragCurve single = custom({{1.0, 0.5}});
    for (double mach : {0.0, 1.0, 3.0}) EXPECT_EQ(cd(single, mach), 0.5);
    // Unsorted: the first row bounds from below, the last from above, and the first matching
    // adjacent pair from the start interpolates.
    const DragCurve unsorted = custom({{2.0, 0.3}, {1.0, 0.5}, {3.0, 0.1}});
    EXPECT_EQ(cd(unsorted, 1.5), 0.3);   // at or below the first row's Mach (2.0)
    EXPECT_NEAR(cd(unsorted, 2.5), 0.2, 1e-15);  // pair (1.0, 3.0)
    EXPECT_EQ(cd(unsorted, 3.5), 0.1);
}

// Curves of every shape a caller may send: sorted, unsorted, with repeated, infinite or NaN
// Mach numbers, negative-zero drag, one row, none, and long ones.
std::vector<DragCurve> curvesOfEveryShape() {
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<DragCurve> curves = {
        {DragCurve::Kind::G1, {}},
        {DragCurve::Kind::G7, {}},
        custom({{0.5, 0.2}, {0.9, 0.25}, {1.1, 0.45}, {2.0, 0.35}}),
        custom({{2.0, 0.35}, {0.5, 0.2}, {1.1, 0.45}, {0.7, 0.3}}),
        custom({{0.5, 0.2}, {1.0, 0.3}, {1.0, 0.5}, {2.0, 0.4}}),
        custom({{3.0, 0.3}, {2.0, 0.2}, {1.0, 0.1}}),
        custom({{1.0, -0.0}, {2.0, 0.0}, {0.5, -0.0}, {3.0, -0.0}}),
        custom({{-inf, 0.1}, {1.0, 0.2}, {inf, 0.3}}),
        custom({{std::nan(""), 0.1}, {1.0, 0.2}, {2.0, 0.3}, {std::nan(""), 0.4}}),
        custom({{1.0, 0.2}, {std::nan(""), 0.3}, {0.5, 0.25}, {2.0, 0.4}}),
        custom({{1.0, 0.5}}),
        custom({}),
    };
    std::mt19937_64 random(11);
    std::uniform_real_distribution<double> mach(0.0, 5.0);
    std::uniform_real_distribution<double> cd(0.1, 0.7);
    for (int size : {2, 3, 7, 40, 2000}) {
        std::vector<DragRow> unsorted, repeated, coarse;
        for (int i = 0; i < size; ++i) {
            unsorted.push_back({mach(random), cd(random)});
            repeated.push_back({static_cast<double>(i / 2) * 0.01, cd(random)});  // each Mach twice
            coarse.push_back({std::round(mach(random) * 4.0) / 4.0, cd(random)});  // few distinct Machs
        }
        curves.push_back(custom(unsorted));
        curves.push_back(custom(repeated));
        curves.push_back(custom(coarse));
    }
    return curves;
}

// Mach numbers to ask about: sweeps up and down, random ones, every row's Mach and its two
// neighbouring doubles, both infinities and NaN.
std::vector<double> machsToAsk(std::span<const DragRow> curveRows) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    std::vector<double> machs = {-inf, inf, std::nan(""), 0.0, -0.0};
    for (double m = 3.2; m > -0.1; m -= 0.0007) machs.push_back(m);
    for (double m = 0.0; m < 5.2; m += 0.0013) machs.push_back(m);
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> anyMach(-0.5, 5.5);
    for (int i = 0; i < 2000; ++i) machs.push_back(anyMach(random));
    for (const DragRow& row : curveRows) {
        machs.push_back(row.mach);
        machs.push_back(std::nextafter(row.mach, -inf));
        machs.push_back(std::nextafter(row.mach, inf));
    }
    return machs;
}

// The index, and the lookup that keeps its segment, give exactly the scan's Cd; and each segment
// the index hands out gives the scan's Cd everywhere in its stretch (the packed runs rely on it).
TEST(DragIndex, MatchesTheScanFromTheStartForCurvesOfEveryShape) {
    std::mt19937_64 random(3);
    for (const DragCurve& curve : curvesOfEveryShape()) {
        SCOPED_TRACE(::testing::Message() << "curve of " << rows(curve).size() << " rows");
        const Index index(rows(curve));
        Lookup lookup(index);
        for (double m : machsToAsk(rows(curve))) {
            ASSERT_TRUE(sameBits(lookup.cd(m), cd(curve, m))) << "Mach " << m;
            const Segment segment = index.find(m);
            ASSERT_TRUE(sameBits(segment.eval(m), cd(curve, m))) << "Mach " << m;
            if (!(segment.from < segment.to)) continue;
            std::vector<double> inside = {segment.from, std::nextafter(segment.to, segment.from)};
            if (std::isfinite(segment.from) && std::isfinite(segment.to)) {
                inside.push_back(std::uniform_real_distribution<double>(segment.from, segment.to)(random));
            }
            for (double m2 : inside) {
                if (!segment.holds(m2)) continue;
                ASSERT_TRUE(sameBits(segment.eval(m2), cd(curve, m2)))
                    << "Mach " << m2 << " in the stretch [" << segment.from << ", " << segment.to << ") found at " << m;
            }
        }
    }
}

}  // namespace
}  // namespace kavrino_engine::drag
