// The reload pane's selection without widgets, over the fixture catalog in data/catalog: the
// chain that picks cartridge, load, barrel length and charge, what the user's choices reset,
// the derived options, and the texts shown for them.
#include "app/workspace/pane_connections.h"
#include "panes/reload/reload_selection.h"
#include "panes/reload/reload_texts.h"
#include "reload/reload_catalog.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace kavrino {
namespace {

const QString kFixtures = QStringLiteral(KAVRINO_TEST_DATA_DIR "/catalog");

bool loadAndWait(ReloadCatalog& catalog) {
    QSignalSpy spy(&catalog, &ReloadCatalog::changed);
    catalog.loadIfNeeded();
    while (!catalog.loaded() && !catalog.loadFailed())
        if (!spy.wait(10000)) return false;
    return true;
}

// A catalog of the three files given as text.
struct CatalogFiles {
    QTemporaryDir dir;
    CatalogFiles(const QByteArray& cases, const QByteArray& powders, const QByteArray& loads) {
        for (const auto& [name, text] : {std::pair{"app_cases.json", cases}, std::pair{"app_powders.json", powders},
                                         std::pair{"app_loads.json", loads}}) {
            QFile out(dir.filePath(name));
            out.open(QIODevice::WriteOnly);
            out.write(text);
        }
    }
};

QByteArray fixture(const char* name) {
    QFile file(kFixtures + "/" + name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The suggestion as the model makes it for the selection's current load, for comparison.
double expectedSuggestion(const ReloadSelection& selection) {
    const LoadOption* option = selection.selectedOption();
    const auto info = selection.caseInfo();
    return Ballistics::suggestCharge(*option->load.startChargeGr, *option->load.maxChargeGr, selection.modelInputs(),
                                     *option->powder.params, info ? info->maxPressurePsi : std::nullopt);
}

class FixtureSelection : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(loadAndWait(catalog)); }
    ReloadCatalog catalog{ResourceLookup(kFixtures)};
    PaneConnections connections;
    ReloadSelection selection{catalog, connections};
};

TEST_F(FixtureSelection, ChoicesAreTheCartridgesWithACaseCapacity) {
    EXPECT_EQ(selection.cartridgeChoices(),
              QStringList({".308 Winchester", "6.5 CREEDMOOR", "7mm Rem Mag", "Alpha 22", "Beta 30"}));
}

TEST_F(FixtureSelection, FirstAppearanceChoosesTheCreedmoorAndA140GrainLoadOf4350Powder) {
    ReloadSelection fresh{catalog, connections};  // made once the catalog is loaded: nothing chosen yet
    EXPECT_EQ(fresh.cartridge(), "");
    QSignalSpy changes(&fresh, &ReloadSelection::changed);
    fresh.appear();
    EXPECT_EQ(changes.count(), 1) << "one change for the whole chain";
    EXPECT_EQ(fresh.cartridge(), "6.5 CREEDMOOR") << "matched in any letter case";
    // The 150 gr H4350 and the heavier 160 gr Reloder 16 come first; the 140 gr H4350 wins.
    EXPECT_EQ(fresh.loadId(), "2");
    EXPECT_EQ(fresh.barrelLengthIn(), 26) << "the load's own barrel, not the case's 24";
    EXPECT_EQ(fresh.chargeGr(), expectedSuggestion(fresh));
    EXPECT_EQ(fresh.chargeGr(), std::round(fresh.chargeGr() * 10) / 10);
    EXPECT_GT(fresh.chargeGr(), 38.0);
    EXPECT_LT(fresh.chargeGr(), 42.0);
}

TEST_F(FixtureSelection, OptionsKeepPredictableLoadsWithAPowderThatHasParameters) {
    selection.setCartridge(".308 Winchester");
    QStringList ids;
    for (const LoadOption& option : selection.loadOptions()) ids << option.load.id;
    // Not the 200 gr (start equal to the maximum) nor the 190 gr (no diameter).
    EXPECT_EQ(ids, QStringList({"5", "6", "7"}));
    selection.setCartridge("6.5 CREEDMOOR");
    ids.clear();
    for (const LoadOption& option : selection.loadOptions()) ids << option.load.id;
    EXPECT_EQ(ids, QStringList({"0", "1", "2", "3"})) << "AA 2230 has no parameters";
}

TEST_F(FixtureSelection, DefaultLoadRules) {
    const struct {
        const char* cartridge;
        const char* load;
        double barrel;
        const char* why;
    } rows[] = {
        {".308 Winchester", "6", 22, "no 4350 powder: the heaviest bullet, the first of two 175 gr; the case's barrel"},
        {"7mm Rem Mag", "11", 24, "no 135-147 gr load of 4350: the first load of 4350 (150 gr); no barrel anywhere keeps 24"},
        {"Alpha 22", "13", 20, "the only load; the case's barrel"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        ReloadSelection fresh{catalog, connections};
        fresh.setCartridge(QString::fromUtf8(row.cartridge));
        EXPECT_EQ(fresh.loadId(), row.load);
        EXPECT_EQ(fresh.barrelLengthIn(), row.barrel);
        EXPECT_EQ(fresh.chargeGr(), expectedSuggestion(fresh));
    }
}

TEST_F(FixtureSelection, WithoutPressureTheChargeIsSixtyPercentOfTheRange) {
    // Alpha 22: start 38.0, maximum 42.0, a powder without a pressure coefficient and a case
    // without a maximum pressure.
    selection.setCartridge("Alpha 22");
    EXPECT_EQ(selection.chargeGr(), 40.4);
    ASSERT_TRUE(selection.predict());
    EXPECT_FALSE(selection.predict()->pressurePsi);
    EXPECT_FALSE(selection.predict()->overMax);
}

TEST_F(FixtureSelection, PickingALoadResetsChargeAndBarrelFromTheLoadOnly) {
    selection.appear();
    ASSERT_EQ(selection.barrelLengthIn(), 26);
    selection.setChargeGr(41.9);
    selection.setLoadId("3");  // 147 gr IMR 4350, no barrel of its own
    EXPECT_EQ(selection.barrelLengthIn(), 26) << "kept: the case's barrel is not consulted";
    EXPECT_EQ(selection.chargeGr(), expectedSuggestion(selection));
    selection.setLoadId("7");  // not an option of this cartridge
    EXPECT_EQ(selection.selectedOption(), nullptr);
    EXPECT_FALSE(selection.predict());
    EXPECT_TRUE(selection.chargeSweep().empty());
}

TEST_F(FixtureSelection, PickingACartridgeResetsLoadBarrelAndCharge) {
    selection.appear();
    selection.setBarrelLengthIn(18);
    selection.setChargeGr(39);
    selection.setCartridge(".308 Winchester");
    EXPECT_EQ(selection.loadId(), "6");
    EXPECT_EQ(selection.barrelLengthIn(), 22);
    EXPECT_EQ(selection.chargeGr(), expectedSuggestion(selection));
}

TEST_F(FixtureSelection, ChargeAndBarrelChangeOnlyThePredictions) {
    selection.appear();
    const QString load = selection.loadId();
    const auto before = selection.predict();
    selection.setChargeGr(41.0);
    selection.setBarrelLengthIn(20);
    EXPECT_EQ(selection.loadId(), load);
    EXPECT_EQ(selection.chargeGr(), 41.0);
    EXPECT_EQ(selection.barrelLengthIn(), 20);
    ASSERT_TRUE(selection.predict());
    EXPECT_NE(selection.predict()->velocityFps, before->velocityFps);
    const auto inputs = selection.modelInputs();
    ASSERT_TRUE(inputs);
    EXPECT_EQ(*inputs, (Ballistics::Inputs{.chargeGr = 41.0, .bulletWeightGr = 140, .bulletDiameterIn = 0.264,
                                           .barrelLengthIn = 20, .caseCapacityGrH2o = 52.5, .trimLengthIn = 1.91}));
    const auto sweep = selection.chargeSweep();
    ASSERT_EQ(sweep.size(), 29u);
    EXPECT_EQ(sweep.front().chargeGr, 38.0);
    EXPECT_DOUBLE_EQ(sweep.back().chargeGr, 42.0);
}

TEST_F(FixtureSelection, RepeatsChangeNothing) {
    selection.appear();
    const auto state = [this] {
        return std::tuple(selection.cartridge(), selection.loadId(), selection.chargeGr(), selection.barrelLengthIn());
    };
    const auto settled = state();
    QSignalSpy changes(&selection, &ReloadSelection::changed);
    selection.resolveSelection();  // a cartridge is set: left alone
    selection.selectDefaultLoad();
    selection.applyLoadDefaults();
    selection.appear();
    EXPECT_EQ(state(), settled);
    EXPECT_EQ(changes.count(), 0);
    // A user's cartridge survives later resolutions.
    selection.setCartridge("Alpha 22");
    selection.resolveSelection();
    EXPECT_EQ(selection.cartridge(), "Alpha 22");
}

TEST_F(FixtureSelection, SourceOutsideTheListIsUnknown) {
    selection.setCartridge("6.5 CREEDMOOR");
    selection.setLoadId("3");  // source index 7 of two
    EXPECT_EQ(selection.sourceText(selection.selectedOption()->load), "Unknown");
    selection.setCartridge("Alpha 22");  // source index -1
    EXPECT_EQ(selection.sourceText(selection.selectedOption()->load), "Unknown");
    selection.setCartridge("6.5 CREEDMOOR");
    selection.setLoadId("0");
    EXPECT_EQ(selection.sourceText(selection.selectedOption()->load), "Fixture source B");
}

TEST_F(FixtureSelection, CartridgeWithoutUsableLoadsHasNoLoadAndNoPrediction) {
    selection.appear();
    const double barrel = selection.barrelLengthIn();
    selection.setCartridge("Beta 30");
    EXPECT_TRUE(selection.loadOptions().empty());
    EXPECT_EQ(selection.loadId(), "");
    EXPECT_EQ(selection.barrelLengthIn(), barrel) << "neither load nor case has one";
    EXPECT_FALSE(selection.predict());
    EXPECT_TRUE(selection.chargeSweep().empty());
}

TEST(ReloadSelectionResolve, BeforeTheCatalogLoadsNothingHappensThenTheLoadResolves) {
    PaneConnections connections;
    ReloadCatalog catalog{ResourceLookup(kFixtures)};
    ReloadSelection selection{catalog, connections};
    selection.resolveSelection();
    EXPECT_EQ(selection.cartridge(), "");
    QSignalSpy changes(&selection, &ReloadSelection::changed);
    ASSERT_TRUE(loadAndWait(catalog));
    EXPECT_EQ(selection.cartridge(), "6.5 CREEDMOOR");
    EXPECT_EQ(changes.count(), 1);
}

TEST(ReloadSelectionResolve, WithoutACreedmoorTheFirstCartridgeWithAUsableLoad) {
    // "Able" has only a load without a diameter; "Baker" has one whose start is not below its
    // maximum, which counts here (but is no load option); "Charlie" has a good one.
    const QByteArray cases = R"({"count": 3, "cases": [
        {"id": "a", "name": "Able", "caseWaterCapacity_gr_h2o": 40},
        {"id": "b", "name": "Baker", "caseWaterCapacity_gr_h2o": 40, "barrelLength_in": 21},
        {"id": "c", "name": "Charlie", "caseWaterCapacity_gr_h2o": 40}]})";
    const QByteArray loads = R"({"sources": [], "loadCount": 3, "loads": [
        {"id": "1", "c": "Able", "bw": 100, "pm": "Hodgdon", "p": "H4350", "sc": 30, "xc": 33, "s": 0},
        {"id": "2", "c": "Baker", "bw": 100, "bd": 0.25, "pm": "Hodgdon", "p": "H4350", "sc": 33, "xc": 33, "s": 0},
        {"id": "3", "c": "Charlie", "bw": 100, "bd": 0.25, "pm": "Hodgdon", "p": "H4350", "sc": 30, "xc": 33, "s": 0}]})";
    CatalogFiles files(cases, fixture("app_powders.json"), loads);
    PaneConnections connections;
    ReloadCatalog catalog{ResourceLookup(files.dir.path())};
    ASSERT_TRUE(loadAndWait(catalog));
    ReloadSelection selection{catalog, connections};
    selection.appear();
    EXPECT_EQ(selection.cartridge(), "Baker");
    EXPECT_EQ(selection.loadId(), "");
    EXPECT_EQ(selection.barrelLengthIn(), 21) << "the case's barrel";
    EXPECT_EQ(selection.chargeGr(), 0);
}

TEST(ReloadSelectionResolve, WithoutAnyUsableLoadTheFirstChoiceAndWithoutChoicesNone) {
    const QByteArray cases = R"({"count": 2, "cases": [
        {"id": "a", "name": "Able", "caseWaterCapacity_gr_h2o": 40},
        {"id": "b", "name": "Baker", "caseWaterCapacity_gr_h2o": 40}]})";
    const QByteArray loads = R"({"sources": [], "loadCount": 2, "loads": [
        {"id": "1", "c": "Baker", "p": "Varget", "s": 0}, {"id": "2", "c": "Able", "p": "Varget", "s": 0}]})";
    CatalogFiles files(cases, fixture("app_powders.json"), loads);
    PaneConnections connections;
    ReloadCatalog catalog{ResourceLookup(files.dir.path())};
    ASSERT_TRUE(loadAndWait(catalog));
    ReloadSelection selection{catalog, connections};
    selection.appear();
    EXPECT_EQ(selection.cartridge(), "Able");

    CatalogFiles none(R"({"count": 0, "cases": []})", fixture("app_powders.json"), loads);
    ReloadCatalog empty{ResourceLookup(none.dir.path())};
    ASSERT_TRUE(loadAndWait(empty));
    ReloadSelection nothing{empty, connections};
    nothing.appear();
    EXPECT_EQ(nothing.cartridge(), "");
    EXPECT_EQ(nothing.loadId(), "");
    EXPECT_EQ(nothing.barrelLengthIn(), 24);
}

TEST(ReloadSelectionMatching, ContainsIgnoringCaseMatchesWholeCharactersOnly) {
    EXPECT_TRUE(containsIgnoringCase("6.5 CREEDMOOR", "6.5 Creedmoor"));
    EXPECT_TRUE(containsIgnoringCase("6.5 creedmoor Ackley", "6.5 Creedmoor"));
    EXPECT_FALSE(containsIgnoringCase("6.5mm Creedmoor", "6.5 Creedmoor"));
    EXPECT_TRUE(containsIgnoringCase("IMR 4350", "4350"));
    EXPECT_TRUE(containsIgnoringCase("4350 Extreme", "4350"));
    EXPECT_FALSE(containsIgnoringCase("435O", "4350"));
    // A mark after the match makes its last character another one; a later match still counts.
    EXPECT_FALSE(containsIgnoringCase(QString::fromUtf8("H4350\u0301"), "4350"));
    EXPECT_TRUE(containsIgnoringCase(QString::fromUtf8("H4350\u0301 4350"), "4350"));
}

TEST(ReloadTexts, WholeNumbersFollowTheLocaleAndStopAtThe64BitRange) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(reload_texts::wholeNumber(62000), "62,000");
    EXPECT_EQ(reload_texts::wholeNumber(60363.9), "60,363") << "truncated toward zero";
    EXPECT_EQ(reload_texts::wholeNumber(-1234.9), "-1,234");
    EXPECT_EQ(reload_texts::wholeNumber(-9223372036854775808.0), "-9,223,372,036,854,775,808");
    EXPECT_EQ(reload_texts::wholeNumber(9223372036854775808.0), "\u2014");
    EXPECT_EQ(reload_texts::wholeNumber(1e300), "\u2014");
    EXPECT_EQ(reload_texts::wholeNumber(INFINITY), "\u2014");
    EXPECT_EQ(reload_texts::wholeNumber(NAN), "\u2014");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(reload_texts::wholeNumber(62000), "62.000");
    EXPECT_EQ(reload_texts::saamiRule(62000), "SAAMI MAX 62.000 PSI");
    QLocale::setDefault(QLocale::c());
}

TEST(ReloadTexts, TilesForAPredictionOverAtAndUnderTheMaximum) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    using reload_texts::Tone;
    Ballistics::Prediction p{.velocityFps = 2710.9, .pressurePsi = 64008.4, .caseFillPercent = 83.2,
                             .overMax = true, .maxPressurePsi = 62000};
    auto tiles = reload_texts::predictionTiles(p);
    EXPECT_EQ(tiles[0].value, "2711 fps");
    EXPECT_EQ(tiles[0].tone, Tone::accentBright);
    EXPECT_EQ(tiles[1].value, "64,008 psi");
    EXPECT_EQ(tiles[1].tone, Tone::red);
    EXPECT_EQ(tiles[2].value, "83 %");
    EXPECT_EQ(tiles[3].value, "-3 %");
    EXPECT_EQ(tiles[3].tone, Tone::red);

    p.pressurePsi = 62000;
    p.overMax = false;
    tiles = reload_texts::predictionTiles(p);
    EXPECT_EQ(tiles[1].tone, Tone::primary);
    EXPECT_EQ(tiles[3].value, "+0 %");
    EXPECT_EQ(tiles[3].tone, Tone::green);

    p.maxPressurePsi.reset();
    EXPECT_EQ(reload_texts::predictionTiles(p)[3].value, "\u2014");
    p.pressurePsi.reset();
    tiles = reload_texts::predictionTiles(p);
    EXPECT_EQ(tiles[1].value, "\u2014");
    EXPECT_EQ(tiles[3].value, "\u2014");
    p.pressurePsi = 1e300;
    EXPECT_EQ(reload_texts::predictionTiles(p)[1].value, "\u2014");
    p.caseFillPercent = INFINITY;
    EXPECT_EQ(reload_texts::predictionTiles(p)[2].value, "\u2014");
    for (const auto& tile : reload_texts::predictionTiles(std::nullopt)) EXPECT_EQ(tile.value, "\u2014");
    QLocale::setDefault(QLocale::c());
}

TEST(ReloadTexts, FormRowsAndLoadDataCells) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    CaseInfo info;
    info.caseWaterCapacityGrH2o = 52.5;
    info.maxPressurePsi = 62000;
    info.pressureStandard = "SAAMI";
    EXPECT_EQ(reload_texts::caseCapacity(info), "52.5 gr H\u2082O");
    EXPECT_EQ(reload_texts::maxPressure(info), "62,000 psi SAAMI");
    info.pressureStandard.reset();
    EXPECT_EQ(reload_texts::maxPressure(info), "62,000 psi ");
    info.maxPressurePsi.reset();
    info.caseWaterCapacityGrH2o.reset();
    EXPECT_EQ(reload_texts::maxPressure(info), "\u2014");
    EXPECT_EQ(reload_texts::caseCapacity(info), "\u2014");

    Load load;
    load.bulletWeightGr = 139.6;
    load.bulletDiameterIn = 0.264;
    load.powder = "H4350";
    load.startVelocityFps = 2550;
    load.maxVelocityFps = 2710;
    load.startPressure = 52000;
    load.maxPressure = 61000;
    load.coalIn = 2.825;
    EXPECT_EQ(reload_texts::loadItem(load), "140 gr \u00b7 H4350");
    EXPECT_EQ(reload_texts::bullet(load), "140 gr \u00b7 0.264\"");
    Powder varget;
    varget.name = "Varget";
    EXPECT_EQ(reload_texts::powderName(varget), " Varget");
    const auto cells = reload_texts::loadDataCells(load);
    ASSERT_EQ(cells.size(), 3u);
    EXPECT_EQ(cells[0].value, "2550 \u2013 2710 fps");
    EXPECT_EQ(cells[1].value, "52000 \u2013 61000 psi");
    EXPECT_EQ(cells[2].value, "2.825 in");
    load.pressureUnit = "bar %d";
    load.primer = "CCI BR-2";
    EXPECT_EQ(reload_texts::loadDataCells(load)[1].value, "52000 \u2013 61000 bar %d");
    EXPECT_EQ(reload_texts::loadDataCells(load)[3].value, "CCI BR-2");
    EXPECT_EQ(reload_texts::loadDataTitle("Unknown"), "Load data \u2014 Unknown");
    QLocale::setDefault(QLocale::c());
}

}  // namespace
}  // namespace kavrino
