#include "core/chrono_import.h"
#include "core/tests/german_numeric_locale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace kavrino;

namespace {

std::string fixture(const char* name) {
    std::ifstream in(std::string(KAVRINO_SOURCE_DIR "/core/tests/data/") + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<double> velocitiesOf(std::string_view text) {
    const auto series = parseChronographCSV(text);
    return series ? series->velocities() : std::vector<double>{};
}

}  // namespace

// ---- splitLines ----

TEST(SplitLines, CutsAtEveryNewlineCharacterAndDropsEmptyPieces) {
    struct Row {
        const char* name;
        std::string text;
        std::vector<std::string_view> lines;
    };
    const std::vector<Row> rows = {
        {"LF", "a\nb", {"a", "b"}},
        {"CR LF is one newline", "a\r\nb\r\n", {"a", "b"}},
        {"lone CR", "a\rb", {"a", "b"}},
        {"LF CR is two newlines, the empty piece dropped", "a\n\rb", {"a", "b"}},
        {"vertical tab and form feed", "a\vb\fc", {"a", "b", "c"}},
        {"NEL U+0085", "a\xC2\x85" "b", {"a", "b"}},
        {"LINE SEPARATOR and PARAGRAPH SEPARATOR", "a\xE2\x80\xA8" "b\xE2\x80\xA9" "c", {"a", "b", "c"}},
        {"other characters of the same blocks are kept", "\xC2\xB0" "F\xE2\x80\x94", {"\xC2\xB0" "F\xE2\x80\x94"}},
        {"blank lines vanish, a line of spaces stays", "\n\n  \n\r\n\nx", {"  ", "x"}},
        {"lines are not trimmed", " a ,b \t", {" a ,b \t"}},
        {"empty text", "", {}},
        {"only newlines", "\r\n\n\r", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(splitLines(row.text), row.lines);
    }
}

// ---- splitCSVLine ----

TEST(SplitCSVLine, QuotesGroupCommasAndVanish) {
    struct Row {
        const char* name;
        std::string line;
        std::vector<std::string> cells;
    };
    const std::vector<Row> rows = {
        {"plain cells", "1,2851,1450", {"1", "2851", "1450"}},
        {"quoted thousands", "1,\"2,850\",x", {"1", "2,850", "x"}},
        {"empty line gives one empty cell", "", {""}},
        {"trailing comma gives an empty last cell", "a,", {"a", ""}},
        {"leading and doubled commas", ",a,,b", {"", "a", "", "b"}},
        {"two quotes only flip twice", "a\"\"b,c", {"ab", "c"}},
        {"quote in the middle of a cell", "ab\"c,d\"e,f", {"abc,de", "f"}},
        {"unclosed quote swallows the rest", "\"a,b,c", {"a,b,c"}},
        {"spaces are kept", " 2851 , x", {" 2851 ", " x"}},
        {"a comma with a combining mark is not a separator", "a,\xCC\x81" "b,c", {"a,\xCC\x81" "b", "c"}},
        {"a quote with a combining mark is copied", "\"\xCC\x81,x", {"\"\xCC\x81", "x"}},
        {"a comma with Thai AM is not a separator", "a,\xE0\xB8\xB3,b", {"a,\xE0\xB8\xB3", "b"}},
        {"a comma with a halfwidth sound mark is not a separator", "a,\xEF\xBE\x9E,b", {"a,\xEF\xBE\x9E", "b"}},
        {"a Myanmar vowel sign AA stands alone after a comma", "a,\xE1\x80\xAC,b", {"a", "\xE1\x80\xAC", "b"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(splitCSVLine(row.line), row.cells);
    }
}

// ---- numbers ----

TEST(ParseCSVNumber, ReadsWholeCellsAsStrtodDoesInThePosixLocale) {
    struct Row {
        const char* cell;
        std::optional<double> value;
    };
    const std::vector<Row> rows = {
        {"2851", 2851.0},     {"-12.5", -12.5},     {"+3", 3.0},          {".5", 0.5},
        {"5.", 5.0},          {"2.8e3", 2800.0},    {"1E-2", 0.01},       {"0x1p4", 16.0},
        {"0X1.8P1", 3.0},     {"", std::nullopt},   {" 2851", std::nullopt}, {"2851 ", std::nullopt},
        {"2851\t", std::nullopt}, {"2,851", std::nullopt}, {"2851fps", std::nullopt}, {"1e", std::nullopt},
        {"--1", std::nullopt}, {"0x", std::nullopt}, {".", std::nullopt},   {"1.2.3", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cell);
        EXPECT_EQ(parseCSVNumber(row.cell), row.value);
    }
    EXPECT_TRUE(std::isinf(*parseCSVNumber("inf")));
    EXPECT_TRUE(std::isinf(*parseCSVNumber("-Infinity")));
    EXPECT_TRUE(std::isnan(*parseCSVNumber("NaN")));
    EXPECT_TRUE(std::isnan(*parseCSVNumber("nan(0x1)")));
    EXPECT_EQ(parseCSVNumber(std::string_view("28\0" "51", 5)), std::nullopt);
}

// A German locale reads "2,5" as a number and stops at "2.5"; the readers must not. When the
// machine has no such locale installed, one is compiled into a scratch folder with localedef.
TEST(ParseCSVNumber, IgnoresTheProcessLocale) {
    const GermanNumericLocale german;
    if (!german.active()) GTEST_SKIP() << "no German locale installed and localedef could not build one";
    EXPECT_EQ(std::strtod("2,5", nullptr), 2.5);  // the locale is in force
    EXPECT_EQ(parseCSVNumber("2.5"), 2.5);
    EXPECT_EQ(parseCSVNumber("2,5"), std::nullopt);
    EXPECT_EQ(velocitiesOf("Velocity\n2850.5\n"), std::vector<double>{2850.5});
    EXPECT_EQ(parseDragCurveCSV("0.5,0.25\n0.8,0.3\n1.0,0.4"), (DragCurve{{0.5, 0.25}, {0.8, 0.3}, {1.0, 0.4}}));
}

// ---- Series ----

TEST(ChronoSeries, ComputesMeanSampleDeviationAndSpread) {
    const ChronoImport::Series one({2800});
    EXPECT_EQ(one.average(), 2800);
    EXPECT_EQ(one.standardDeviation(), 0);
    EXPECT_EQ(one.extremeSpread(), 0);

    const ChronoImport::Series two({2800, 2810});
    EXPECT_EQ(two.average(), 2805);
    EXPECT_NEAR(two.standardDeviation(), 7.0710678118654755, 1e-12);  // sqrt(50)
    EXPECT_EQ(two.extremeSpread(), 10);

    // 2700, 2710, 2720, 2750: mean 2720, squares 400 + 100 + 0 + 900 = 1400, 1400 / 3.
    const ChronoImport::Series four({2750, 2700, 2720, 2710});
    EXPECT_EQ(four.average(), 2720);
    EXPECT_NEAR(four.standardDeviation(), std::sqrt(1400.0 / 3), 1e-12);
    EXPECT_EQ(four.extremeSpread(), 50);
    EXPECT_EQ(four.velocities(), (std::vector<double>{2750, 2700, 2720, 2710}));

    const ChronoImport::Series none({});
    EXPECT_EQ(none.average(), 0);
    EXPECT_EQ(none.standardDeviation(), 0);
}

// ---- parseChronographCSV ----

TEST(ChronographCSV, ReadsTheVelocityColumnUnderAHeader) {
    struct Row {
        const char* name;
        std::string text;
        std::vector<double> velocities;  // empty: no result
    };
    const std::vector<Row> rows = {
        {"header with units; short and empty rows skipped",
         "Shot,Velocity (fps),Energy\n1,2851,1450\n2,,1440\n3\n4,2849,1448\n", {2851, 2849}},
        {"lines before the header are ignored", "2900\n2950\nspeed\n2800\n", {2800}},
        {"first keyword cell of the first matching line wins", "fps,velocity\n2800,2900\n", {2800}},
        {"V0 matches after lower-casing", "n,V0\n1,2790\n", {2790}},
        {"Level contains vel", "Level,x\n2801,2802\n", {2801}},
        {"values of exactly 100 and 6000 are rejected", "vel\n100\n6000\n100.5\n5999.9\n", {100.5, 5999.9}},
        {"quoted thousands read as one number", "n,speed\n1,\"2,850\"\n", {2850}},
        {"unquoted thousands split; the column holds 2", "n,speed\n1,2,850\n", {}},
        {"cells are stripped of spaces, quotes and tabs", "n,speed\n1, \t2850\t \n2,\" 2851 \"\n", {2850, 2851}},
        {"a summary row in the column counts as a shot", "n,Velocity\n1,2800\n2,2810\nAvg,2805\nSD,7.1\n",
         {2800, 2810, 2805}},
        {"header found but no value passes", "Velocity\nnone\n42\n", {}},
        {"a keyword with a combining mark is another word", "vel\xCC\x81,2800\n1,2810\n", {2800, 2810}},
        {"mixed case and a non-ASCII neighbour", "\xC2\xB0" "SPEED\xC2\xB0\n2805\n", {2805}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(velocitiesOf(row.text), row.velocities);
    }
}

TEST(ChronographCSV, ReadsTheFirstPlausibleNumberOfEachRowWithoutAHeader) {
    struct Row {
        const char* name;
        std::string text;
        std::vector<double> velocities;
    };
    const std::vector<Row> rows = {
        {"unquoted thousands: 850 is the first number in range", "1,2,850\n", {850}},
        {"quoted thousands", "1,\"2,850\"\n", {2850}},
        {"a shot number above 100 is taken itself", "99,2851\n101,2852\n", {2851, 101}},
        {"rows without a plausible number give nothing", "a,b\n1,2\n7000,2800\n", {2800}},
        {"NaN and infinity never pass", "nan,inf,-inf,2800\n", {2800}},
        {"spaces inside a line", "  2800  ,x\n", {2800}},
        {"no lines at all", "", {}},
        {"only blank lines", "\r\n\r\n", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(velocitiesOf(row.text), row.velocities);
    }
}

TEST(ChronographCSV, LooksForTheHeaderInTheFirstSeventeenLinesOnly) {
    std::string within, beyond;
    for (int i = 0; i < 16; ++i) within += "note\n";
    for (int i = 0; i < 17; ++i) beyond += "note\n";
    const std::string rest = "Shot,Velocity\n150,2800\n";
    EXPECT_EQ(velocitiesOf(within + rest), std::vector<double>{2800});      // header is line 17
    EXPECT_EQ(velocitiesOf(beyond + rest), std::vector<double>{150});       // header is line 18
    EXPECT_EQ(velocitiesOf("\n\n\n" + within + rest), std::vector<double>{2800});  // blank lines do not count
}

TEST(ChronographCSV, ReadsDeviceExports) {
    // Summary block first, header with units, quoted thousands, CR LF, a summary after the
    // shots whose average lands in the speed column and counts as a shot.
    const auto xero = parseChronographCSV(fixture("xero_style.csv"));
    ASSERT_TRUE(xero);
    EXPECT_EQ(xero->velocities(), (std::vector<double>{2712.4, 2705.9, 2719.0, 2701.3, 2710.0, 2709.7}));
    EXPECT_NEAR(xero->average(), 16258.3 / 6, 1e-9);
    EXPECT_NEAR(xero->extremeSpread(), 17.7, 1e-9);

    // The header sits on line 18, so it is not found: every line gives its first number in
    // range, the preamble's statistics and projectile weight included.
    EXPECT_EQ(velocitiesOf(fixture("labradar_style.csv")),
              (std::vector<double>{2853.25, 2861, 2845, 147, 2851, 2845, 2861, 2856}));

    EXPECT_EQ(velocitiesOf(fixture("numbers_only.csv")), (std::vector<double>{2851, 2849, 2860, 150}));

    // A preamble line naming a unit of velocity becomes the header: its column holds no speeds.
    EXPECT_EQ(parseChronographCSV("Units velocity,fps\nShot,V1\n1,2851\n2,2849\n"), std::nullopt);
}

// ---- parseDragCurveCSV ----

TEST(DragCurveCSV, ReadsSortsAndFiltersRows) {
    struct Row {
        const char* name;
        std::string text;
        std::optional<DragCurve> curve;
    };
    const std::vector<Row> rows = {
        {"header skipped, rows sorted by Mach", "mach,cd\n0.5,0.25\n1.0,0.40\n0.8,0.30\n",
         DragCurve{{0.5, 0.25}, {0.8, 0.30}, {1.0, 0.40}}},
        {"doubled, leading and trailing commas make no cells", ",0.5,,0.25,\n0.6,0.26\n0.7,0.27",
         DragCurve{{0.5, 0.25}, {0.6, 0.26}, {0.7, 0.27}}},
        {"a lone space between commas is an empty cell", "0.5, ,0.25\n0.6,0.26\n0.7,0.27\n0.8,0.28",
         DragCurve{{0.6, 0.26}, {0.7, 0.27}, {0.8, 0.28}}},
        {"quotes mean nothing but are stripped", "\"0.5\",\"0.25\"\n\"1,0\",0.4\n0.6,0.26\n0.7,0.27",
         DragCurve{{0.5, 0.25}, {0.6, 0.26}, {0.7, 0.27}}},
        {"bounds: Mach 0 and 6, Cd 1.5 kept; Cd 0 dropped", "0,0.2\n6.0,1.5\n3,0\n1,0.5",
         DragCurve{{0, 0.2}, {1, 0.5}, {6.0, 1.5}}},
        {"further cells ignored; ties keep file order", "1,0.3,x\n1,0.2\n0.5,0.1,9,9",
         DragCurve{{0.5, 0.1}, {1, 0.3}, {1, 0.2}}},
        {"Mach 6.5 and Cd 1.6 do not count", "0.5,0.25\n6.5,0.3\n0.8,1.6\n1.0,0.4", std::nullopt},
        {"negative values, NaN and infinity do not count", "-0.1,0.2\nnan,0.2\n1,inf\n1,0.2\n2,0.3", std::nullopt},
        {"two valid rows are not a curve", "0.5,0.25\n1.0,0.4\n", std::nullopt},
        {"empty text", "", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(parseDragCurveCSV(row.text), row.curve);
    }
}

TEST(DragCurveCSV, ReadsAFileWithCRLFAndTrailingText) {
    EXPECT_EQ(parseDragCurveCSV(fixture("drag_curve.csv")),
              (DragCurve{{0.5, 0.25}, {0.8, 0.30}, {1.0, 0.40}, {1.2, 0.38}}));
}

// ---- limits ----

// Issue 14: one file may hold at most largestCSVFileBytes; a longer text reads as nothing,
// whatever it holds. The bound itself still reads.
TEST(CSVReaderLimits, TextsLongerThanTheLargestFileGiveNothing) {
    std::string chronograph = "Velocity\n2800\n2810\n";
    std::string curve = "0.5,0.25\n0.8,0.30\n1.0,0.40\n";
    chronograph.resize(largestCSVFileBytes, '\n');
    curve.resize(largestCSVFileBytes, '\n');
    EXPECT_EQ(velocitiesOf(chronograph), (std::vector<double>{2800, 2810}));
    EXPECT_TRUE(parseDragCurveCSV(curve));
    chronograph += '\n';
    curve += '\n';
    EXPECT_EQ(parseChronographCSV(chronograph), std::nullopt);
    EXPECT_EQ(parseDragCurveCSV(curve), std::nullopt);
}

// Issue 14: a line of millions of cells is walked cell by cell, never held as one string per
// cell (a 20 MB line of commas took 1 GB that way, 200 MB ended the process).
TEST(CSVReaderLimits, ALineOfMillionsOfCellsReadsLikeAShortOne) {
    const std::string commas(4u << 20, ',');
    EXPECT_EQ(parseChronographCSV(commas), std::nullopt);
    EXPECT_EQ(parseDragCurveCSV(commas), std::nullopt);
    EXPECT_EQ(velocitiesOf("Shot,Velocity\n" + commas.substr(0, 1000) + "\n1,2800\n"), std::vector<double>{2800});
    EXPECT_EQ(velocitiesOf(commas + "2800\n"), std::vector<double>{2800});
    EXPECT_EQ(parseDragCurveCSV(commas + "0.5,,0.25\n0.6,0.26\n0.7,0.27"),
              (DragCurve{{0.5, 0.25}, {0.6, 0.26}, {0.7, 0.27}}));
}
