// The reload data shipped with the application, loaded the way the application loads it, holds
// to its rules: every cartridge with case data offers usable example loads, every load's powder is
// found and has parameters, the charges are the model's own, and nothing claims to be published.
#include "reload/ballistics.h"
#include "reload/reload_catalog.h"

#include <QSet>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cmath>

namespace kavrino {
namespace {

// Shares of the case's maximum pressure the example charges are worked out at; a case without a
// maximum is worked against 60,000 psi.
constexpr double kStartShare = 0.80;
constexpr double kMaxShare = 0.92;
constexpr double kFallbackPressurePsi = 60000.0;

class ShippedReloadData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        catalog = new ReloadCatalog();  // the bundled files
        QSignalSpy spy(catalog, &ReloadCatalog::changed);
        catalog->loadIfNeeded();
        while (!catalog->loaded() && !catalog->loadFailed() && spy.wait(20000)) {
        }
    }
    static void TearDownTestSuite() { delete catalog; }
    void SetUp() override {
        ASSERT_TRUE(catalog->loaded());
        ASSERT_FALSE(catalog->loadFailed());
    }
    static ReloadCatalog* catalog;
};
ReloadCatalog* ShippedReloadData::catalog = nullptr;

double pressureAt(double chargeGr, const Load& load, const CaseInfo& info, const PowderParams& params) {
    const Ballistics::Inputs in{.chargeGr = chargeGr, .bulletWeightGr = *load.bulletWeightGr,
                                .bulletDiameterIn = *load.bulletDiameterIn, .barrelLengthIn = 24.0,
                                .caseCapacityGrH2o = *info.caseWaterCapacityGrH2o,
                                .trimLengthIn = info.trimLengthIn.value_or(0.0)};
    return Ballistics::predict(in, params, info.maxPressurePsi).pressurePsi.value();
}

TEST_F(ShippedReloadData, EveryCartridgeOfTheFactsTableHasCaseData) {
    EXPECT_EQ(catalog->cases().size(), 25);
    for (const CaseInfo& info : catalog->cases()) {
        SCOPED_TRACE(info.name.toStdString());
        ASSERT_TRUE(info.caseWaterCapacityGrH2o);
        EXPECT_GT(*info.caseWaterCapacityGrH2o, 20.0);
        EXPECT_LT(*info.caseWaterCapacityGrH2o, 120.0);
        EXPECT_TRUE(info.trimLengthIn || info.name == "6mm Dasher");
        if (info.maxPressurePsi) {
            EXPECT_TRUE(info.pressureStandard == "SAAMI" || info.pressureStandard == "CIP");
        }
    }
    const auto creedmoor = catalog->caseInfo(QString("6.5 Creedmoor"));
    ASSERT_TRUE(creedmoor);
    EXPECT_EQ(creedmoor->caseWaterCapacityGrH2o, 52.5);
    EXPECT_EQ(creedmoor->maxPressurePsi, 62000.0);
    EXPECT_EQ(creedmoor->pressureStandard, "SAAMI");
    EXPECT_EQ(creedmoor->trimLengthIn, 1.91);
}

TEST_F(ShippedReloadData, EveryCartridgeWithCaseDataOffersSeveralUsableLoads) {
    QSet<QString> offered;
    for (const CartridgeSummary& summary : catalog->cartridges()) {
        SCOPED_TRACE(summary.name.toStdString());
        ASSERT_TRUE(summary.info);
        ASSERT_TRUE(summary.info->caseWaterCapacityGrH2o);
        QSet<double> weights;
        QSet<QString> powders;
        for (const Load& load : catalog->loadsForCartridge(summary.name)) {
            ASSERT_TRUE(load.bulletWeightGr && load.bulletDiameterIn && load.startChargeGr && load.maxChargeGr);
            EXPECT_LT(*load.startChargeGr, *load.maxChargeGr);
            const auto powder = catalog->powder(load);
            ASSERT_TRUE(powder && powder->params) << load.powder.toStdString();
            weights.insert(*load.bulletWeightGr);
            powders.insert(load.powder);
        }
        EXPECT_GE(weights.size(), 2);
        EXPECT_GE(powders.size(), 3);
        EXPECT_EQ(summary.powderCount, powders.size());
        offered.insert(summary.name);
    }
    for (const CaseInfo& info : catalog->cases()) EXPECT_TRUE(offered.contains(info.name)) << info.name.toStdString();
}

TEST_F(ShippedReloadData, ChargesAreTheModelsOwnAtEightyAndNinetyTwoPercent) {
    for (const Load& load : catalog->loads()) {
        SCOPED_TRACE((load.cartridge + " " + load.powder).toStdString());
        const CaseInfo info = catalog->caseInfo(load.cartridge).value();
        const PowderParams params = catalog->powder(load)->params.value();
        const double reference = info.maxPressurePsi.value_or(kFallbackPressurePsi);
        for (const auto& [charge, share] : {std::pair{*load.startChargeGr, kStartShare}, {*load.maxChargeGr, kMaxShare}}) {
            EXPECT_EQ(std::round(charge * 10.0) / 10.0, charge) << "a whole tenth of a grain";
            EXPECT_LE(pressureAt(charge, load, info, params), share * reference);
            EXPECT_GT(pressureAt(charge + 0.1, load, info, params), share * reference) << "rounded down by a tenth at most";
        }
    }
}

TEST_F(ShippedReloadData, NothingClaimsToBePublishedData) {
    ASSERT_EQ(catalog->sources().size(), 1);
    const QString source = catalog->sources().front();
    EXPECT_TRUE(source.contains("Model-derived example"));
    EXPECT_TRUE(source.contains("not published load data"));
    EXPECT_TRUE(source.contains("powder maker's current load data"));
    for (const Load& load : catalog->loads()) {
        SCOPED_TRACE(load.id.toStdString());
        EXPECT_EQ(load.sourceIndex, 0);
        // Measured figures would make the pane show a published-data card.
        EXPECT_FALSE(load.startVelocityFps || load.maxVelocityFps || load.startPressure || load.maxPressure);
    }
}

TEST_F(ShippedReloadData, PowdersInBurnRateOrderAllWithParameters) {
    ASSERT_EQ(catalog->powders().size(), 50u);
    for (std::size_t i = 0; i < catalog->powders().size(); ++i) {
        const Powder& powder = catalog->powders()[i];
        SCOPED_TRACE(powder.name.toStdString());
        EXPECT_EQ(powder.burnRateRank, static_cast<std::int64_t>(i) + 1);
        EXPECT_TRUE(powder.id.endsWith("#" + QString::number(i)));
        ASSERT_TRUE(powder.params);
        EXPECT_TRUE(powder.params->kp && powder.params->b);
        if (i > 0) {
            EXPECT_LE(*powder.params->kp, *catalog->powders()[i - 1].params->kp) << "slower, lower kp";
        }
    }
    // The H4350 class carries the parameters of the model's worked example.
    const PowderParams h4350 = catalog->powders()[32].params.value();
    EXPECT_EQ(catalog->powders()[32].name, "H4350");
    EXPECT_EQ(h4350, (PowderParams{.kv = 3600000, .c0Gr = 2.0, .kp = 16000, .b = 1.0, .gamma = 1.24}));
}

}  // namespace
}  // namespace kavrino
