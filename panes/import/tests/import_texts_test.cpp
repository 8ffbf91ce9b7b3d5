// The import pane's texts and figures: status lines word for word, the apply rounding against
// the truncated report, the tile formats, the curve summary and the names taken from files.
#include "panes/import/import_texts.h"

#include <gtest/gtest.h>

namespace kavrino {
namespace {

TEST(ImportTexts, StatusLinesWordForWord) {
    EXPECT_EQ(noFileLoadedStatus(), "No file loaded.");
    EXPECT_EQ(shotsLoadedStatus(10, "range-day.csv"), "Loaded 10 shots from range-day.csv.");
    EXPECT_EQ(noVelocityColumnStatus(), "Couldn't find a velocity column in that file.");
    EXPECT_EQ(dragCurveLoadedStatus(42), "Loaded 42-point drag curve; solving with measured Cd.");
    EXPECT_EQ(noDragCurveStatus(),
              QString::fromUtf8("Couldn't parse a Cd-vs-Mach curve from that file (need \u22653 rows of mach,cd)."));
    EXPECT_EQ(fileTooLargeStatus(), "Couldn't import that file: it is larger than 64 MB.");
}

// The applied figure is rounded to one decimal; the reported one is the average truncated.
TEST(ImportTexts, AppliedAverageIsRoundedAndReportedTruncated) {
    struct Row {
        double average;
        double applied;
        const char* status;
    };
    const Row rows[] = {
        {2805.96, 2806.0, "Applied 2805 fps to the active load."},
        {2805.94, 2805.9, "Applied 2805 fps to the active load."},
        {2805.25, 2805.3, "Applied 2805 fps to the active load."},  // 28052.5 rounds away from zero
        {2799.999, 2800.0, "Applied 2799 fps to the active load."},
        {100.5, 100.5, "Applied 100 fps to the active load."},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.average);
        EXPECT_EQ(appliedMuzzleVelocity(row.average), row.applied);
        EXPECT_EQ(averageAppliedStatus(row.average), row.status);
    }
}

TEST(ImportTexts, TilesShowCountAverageDeviationAndSpread) {
    const ChronoImport::Series one({2851});
    EXPECT_EQ(chronographTileValues(one), (std::array<QString, 4>{"1", "2851", "0.0", "0"}));
    // Mean 2805.5, sample deviation 7.778..., spread 11: "%.0f" rounds half to even on the binary value.
    const ChronoImport::Series two({2800, 2811});
    EXPECT_EQ(chronographTileValues(two), (std::array<QString, 4>{"2", "2806", "7.8", "11"}));
    EXPECT_STREQ(chronographTiles[0].label, "Shots");
    EXPECT_STREQ(chronographTiles[3].label, "Extreme spread");
}

TEST(ImportTexts, CurveSummaryNamesRowsAndMachRange) {
    DragCurve curve;
    for (int i = 0; i < 42; ++i) curve.push_back({0.5 + 2.5 * i / 41, 0.3});
    EXPECT_EQ(dragCurveSummary("lot-42", curve), QString::fromUtf8("lot-42 \u2014 42 points \u00b7 Mach 0.50\u20133.00"));
    EXPECT_EQ(dragCurveSummary("x", {{0.004, 0.2}, {0.005, 0.2}, {5.999, 0.2}}),
              QString::fromUtf8("x \u2014 3 points \u00b7 Mach 0.00\u20136.00"));
}

TEST(ImportTexts, NamesTakenFromTheFile) {
    struct Row {
        const char* path;
        const char* fileName;
        const char* curveName;
    };
    const Row rows[] = {
        {"/data/g7-doppler.csv", "g7-doppler.csv", "g7-doppler"},
        {"/data/lot.42.csv", "lot.42.csv", "lot.42"},
        {"/data/curve", "curve", "curve"},
        {"/data/.curve", ".curve", ".curve"},
        {"/data/curve.", "curve.", "curve."},
        {"/data/Doppler Run 3.CSV", "Doppler Run 3.CSV", "Doppler Run 3"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(fileNameForStatus(row.path), row.fileName);
        EXPECT_EQ(curveNameForFile(row.path), row.curveName);
    }
}

}  // namespace
}  // namespace kavrino
