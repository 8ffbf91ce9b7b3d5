// The results column's texts: whole numbers by truncation, the stability colour, the seven
// summary figures and the DOPE card heading, checked against hand-written expectations.
#include "app/theme/palette.h"
#include "core/solve_model.h"
#include "panes/solve/solve_summary.h"

#include <gtest/gtest.h>

#include <limits>

namespace kavrino {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(WholeNumberText, DropsTheFractionTowardZero) {
    struct Row {
        const char* name;
        double value;
        const char* expected;
    };
    const Row rows[] = {
        {"fraction dropped, not rounded", 2650.9, "2650"},
        {"exact", 100.0, "100"},
        {"negative toward zero", -3.7, "-3"},
        {"small negative shows no minus", -0.4, "0"},
        {"zero", 0.0, "0"},
        {"negative zero", -0.0, "0"},
        {"beyond 64-bit integers keeps its digits", 1e20, "100000000000000000000"},
        {"no grouping", 1234567.8, "1234567"},
        {"not a number", kNaN, "\u2014"},
        {"infinite", kInf, "\u2014"},
        {"negative infinite", -kInf, "\u2014"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(wholeNumberText(row.value), QString::fromUtf8(row.expected));
    }
}

TEST(StabilityColour, GreenOrangeOrRed) {
    EXPECT_EQ(stabilityColour("stable"), Palette::green());
    EXPECT_EQ(stabilityColour("marginal"), Palette::orange());
    EXPECT_EQ(stabilityColour("unstable"), Palette::red());
    EXPECT_EQ(stabilityColour("Stable"), Palette::red());
    EXPECT_EQ(stabilityColour("\u2014"), Palette::red());
}

TEST(SummaryMetrics, FreshModelBeforeAnySolve) {
    SolveModel model;
    const auto metrics = summaryMetrics(model);
    const char* titles[] = {"Load", "Muzzle Vel", "BC", "Zero", "Stability", "Transonic", "Subsonic"};
    const char* values[] = {".308 168gr HPBT", "2650 fps", "0.462 G1", "100 yd",
                            "0.00 \u00b7 \u2014", "\u2014", "\u2014"};
    for (size_t i = 0; i < metrics.size(); ++i) {
        SCOPED_TRACE(titles[i]);
        EXPECT_EQ(metrics[i].title, QString::fromUtf8(titles[i]));
        EXPECT_EQ(metrics[i].value, QString::fromUtf8(values[i]));
        // Only the stability value has a colour of its own.
        EXPECT_EQ(metrics[i].colour.isValid(), i == 4);
    }
    EXPECT_EQ(metrics[4].colour, Palette::red());
    EXPECT_EQ(solvedInText(model.lastSolveMs()), "solved in 0.0 ms");
}

TEST(SummaryMetrics, FiguresAfterASolveAndEdits) {
    SolveModel model;
    model.solve();
    // The library's answer for the default .308 load: stable, transonic inside 1000 yd.
    ASSERT_EQ(model.stabilityRating(), "stable");
    ASSERT_TRUE(model.transonicRange().has_value());
    model.setMuzzleVelocity(2650.9);
    model.setZeroRange(99.99);
    model.setBallisticCoefficient(0.2434);
    model.setDragModel(DragModel::custom);
    const auto metrics = summaryMetrics(model);
    EXPECT_EQ(metrics[1].value, "2650 fps");
    EXPECT_EQ(metrics[2].value, "0.243 Custom");
    EXPECT_EQ(metrics[3].value, "99 yd");
    EXPECT_EQ(metrics[4].value, QString("%1 \u00b7 stable").arg(model.stabilitySg(), 0, 'f', 2));
    EXPECT_EQ(metrics[4].colour, Palette::green());
    EXPECT_EQ(metrics[5].value, wholeNumberText(*model.transonicRange()) + " yd");
}

TEST(SummaryMetrics, DragModelTextFollowsTheModelNotALoadedCurve) {
    SolveModel model;
    model.setCustomCurve(DragCurve{{0.5, 0.2}, {1.0, 0.4}});
    EXPECT_EQ(summaryMetrics(model)[2].value, "0.462 G1");
    EXPECT_EQ(dopeCardMeta(model).dragModel, "G1");
    model.setDragModel(DragModel::G7);
    EXPECT_EQ(summaryMetrics(model)[2].value, "0.462 G7");
}

TEST(DopeCardMeta, HeadingFromTheCurrentInputs) {
    SolveModel model;
    model.setTemperature(41.6);
    model.setPressure(25.125);
    model.setAltitude(5280.4);
    model.setWindSpeed(10.5);
    model.setWindDirection(270);
    const DopeCardPDF::Meta meta = dopeCardMeta(model);
    EXPECT_EQ(meta.title, "Kavrino DOPE Card");
    EXPECT_EQ(meta.load, ".308 168gr HPBT");
    EXPECT_EQ(meta.muzzleVelocity, 2650.0);
    EXPECT_EQ(meta.bc, 0.462);
    EXPECT_EQ(meta.dragModel, "G1");
    EXPECT_EQ(meta.zeroRange, 100.0);
    EXPECT_EQ(meta.sightHeight, 1.8);
    // %.0f rounds half to even on the binary value: 10.5 mph prints as 10.
    EXPECT_EQ(meta.conditions, QString::fromUtf8("42°F · 25.12 inHg · 5280 ft · 10 mph @ 270°"));
    EXPECT_EQ(conditionsLine(SolveModel()), QString::fromUtf8("59°F · 29.92 inHg · 0 ft · 0 mph @ 90°"));
}

}  // namespace
}  // namespace kavrino
