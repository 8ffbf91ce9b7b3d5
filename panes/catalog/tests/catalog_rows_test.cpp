// The catalog pane's rows without a window: the subtitle texts, the whole-catalog counts, and
// which rows a search keeps, in fixtures of our own and in the shipped catalog.
#include "app/workspace/pane_connections.h"
#include "core/catalog.h"
#include "core/resource_lookup.h"
#include "panes/catalog/catalog_list_model.h"
#include "panes/catalog/catalog_row_texts.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

namespace kavrino {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QStringList titles(const CatalogListModel& rows) {
    QStringList shown;
    for (int row = 0; row < rows.rowCount(); ++row) shown << rows.title(row);
    return shown;
}

TEST(CatalogRowTexts, BallisticCoefficientTextShowsWhatApplyingSets) {
    struct Row {
        std::optional<double> g7, g1;
        const char* text;
    };
    const Row rows[] = {
        {std::nullopt, std::nullopt, "BC 0.500 G1"},
        {0.0, std::nullopt, "BC 0.500 G1"},
        {-0.2, std::nullopt, "BC 0.500 G1"},
        {-0.2, 0.485, "BC 0.485 G1"},
        {0.243, 0.475, "BC 0.243 G7"},
        {0.2436, std::nullopt, "BC 0.244 G7"},
        {kNaN, 0.3, "BC 0.300 G1"},  // no number is not greater than 0
        {std::nullopt, kInfinity, "BC inf G1"},
        {std::nullopt, -kNaN, "BC nan G1"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ballisticCoefficientText(row.g7, row.g1), QString::fromUtf8(row.text));
    }
}

TEST(CatalogRowTexts, FactoryLoadVelocityIsTruncatedToWholeFeetPerSecond) {
    CatalogCartridge load;
    load.g7BC = 0.263;
    load.g1BC = 0.523;
    const std::pair<double, const char*> rows[] = {
        {2820.9, "2820 fps \u00b7 BC 0.263 G7"},
        {2820.0, "2820 fps \u00b7 BC 0.263 G7"},
        {-0.7, "0 fps \u00b7 BC 0.263 G7"},
        {-1050.99, "-1050 fps \u00b7 BC 0.263 G7"},
        {1e20, "100000000000000000000 fps \u00b7 BC 0.263 G7"},
        {kInfinity, "\u2014 fps \u00b7 BC 0.263 G7"},
        {kNaN, "\u2014 fps \u00b7 BC 0.263 G7"},
    };
    for (const auto& [velocity, text] : rows) {
        load.muzzleVelocity = velocity;
        EXPECT_EQ(cartridgeSubtitle(load), QString::fromUtf8(text)) << velocity;
    }
}

class CatalogRows : public ::testing::Test {
protected:
    void SetUp() override { catalog.load(ResourceLookup(QStringLiteral(KAVRINO_TEST_DATA_DIR "/catalog"))); }
    Catalog catalog;
    PaneConnections connections;
};

TEST_F(CatalogRows, RowsReadTitleAndSubtitleInCatalogOrder) {
    CatalogListModel rows(catalog, connections);
    EXPECT_EQ(titles(rows), QStringList({"Hornady ELD Match 168gr", "Lapua Scenar-L 155gr", "Berger Hybrid Target 185gr",
                                         "Nosler RDF 175gr", "SierraBullets MatchKing 168gr",
                                         "\u00c9clair Pointe 140gr"}));
    EXPECT_EQ(rows.subtitle(0), "BC 0.263 G7");
    EXPECT_EQ(rows.subtitle(1), "BC 0.500 G1");
    EXPECT_EQ(rows.subtitle(2), "BC 0.500 G1");
    EXPECT_EQ(rows.subtitle(3), "BC 0.485 G1");
    EXPECT_EQ(rows.subtitle(4), "BC 0.243 G7");
    EXPECT_EQ(rows.data(rows.index(4), Qt::AccessibleTextRole), "SierraBullets MatchKing 168gr");
    EXPECT_EQ(rows.data(rows.index(4), Qt::AccessibleDescriptionRole), "BC 0.243 G7");

    rows.setList(CatalogListModel::List::factoryLoads);
    EXPECT_EQ(titles(rows), QStringList({"308 Win 168gr ELD Match", "6.5 Creedmoor Federal Gold Medal", "300 BLK Subsonic"}));
    EXPECT_EQ(rows.subtitle(0), "2820 fps \u00b7 BC 0.263 G7");
    EXPECT_EQ(rows.subtitle(1), "2700 fps \u00b7 BC 0.500 G1");
    EXPECT_EQ(rows.subtitle(2), "1050 fps \u00b7 BC 0.608 G1");
}

TEST_F(CatalogRows, SearchIgnoresLetterCaseButTakesTheQueryAsTyped) {
    using List = CatalogListModel::List;
    struct Row {
        List list;
        const char* query;
        QStringList shown;
    };
    const QString hornady = QStringLiteral("Hornady ELD Match 168gr");
    const QString sierra = QStringLiteral("SierraBullets MatchKing 168gr");
    const QString eclair = QStringLiteral("\u00c9clair Pointe 140gr");
    const Row rows[] = {
        {List::bullets, "SIERRABULLETS", {sierra}},   // capitals find a mixed-case maker
        {List::bullets, "168gr", {hornady, sierra}},  // the weight through the label
        {List::bullets, "168GR", {hornady, sierra}},
        {List::bullets, "match", {hornady, sierra}},
        {List::bullets, "Match ", {hornady}},         // a trailing blank is kept
        {List::bullets, " 168gr", {hornady, sierra}}, // so is a leading one
        {List::bullets, "168gr ", {}},                // no label ends in a blank
        {List::bullets, "\u00e9CLAIR", {eclair}},     // case folding beyond ASCII
        {List::bullets, "eclair", {}},                // diacritics count
        {List::bullets, "Federal", {}},
        {List::bullets, "zzz", {}},
        {List::factoryLoads, "hornady", {}},          // a maker finds a load only through its name
        {List::factoryLoads, "FEDERAL", {"6.5 Creedmoor Federal Gold Medal"}},
        {List::factoryLoads, "168GR", {"308 Win 168gr ELD Match"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.query);
        CatalogListModel model(catalog, connections);
        model.setList(row.list);
        model.setQuery(QString::fromUtf8(row.query));
        EXPECT_EQ(titles(model), row.shown);
    }
}

TEST_F(CatalogRows, ALoneBlankIsAQueryAndMatchesEveryTextWithABlank) {
    CatalogListModel rows(catalog, connections);
    rows.setQuery(QStringLiteral(" "));
    EXPECT_EQ(rows.rowCount(), 6);
    rows.setList(CatalogListModel::List::factoryLoads);
    EXPECT_EQ(rows.rowCount(), 3);
}

TEST_F(CatalogRows, CountsAreOfTheWholeCatalogAndTheQueryCarriesOverToTheOtherList) {
    CatalogListModel rows(catalog, connections);
    rows.setQuery(QStringLiteral("Federal"));
    EXPECT_EQ(rows.rowCount(), 0);
    EXPECT_EQ(rows.bulletCount(), 6);
    EXPECT_EQ(rows.factoryLoadCount(), 3);
    rows.setList(CatalogListModel::List::factoryLoads);
    EXPECT_EQ(rows.query(), "Federal");
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.sourceIndex(0), 1);
    EXPECT_EQ(rows.rowOfSource(1), 0);
    EXPECT_EQ(rows.rowOfSource(0), -1);
    EXPECT_EQ(rows.sourceIndex(1), -1);
    rows.setQuery(QString());
    EXPECT_EQ(rows.rowCount(), 3);
}

TEST_F(CatalogRows, RowsFollowTheCatalogWhenItsListsChange) {
    Catalog empty;
    CatalogListModel rows(empty, connections);
    EXPECT_EQ(rows.bulletCount(), 0);
    EXPECT_EQ(rows.factoryLoadCount(), 0);
    EXPECT_EQ(rows.rowCount(), 0);
    rows.setQuery(QStringLiteral("gr"));
    empty.load(ResourceLookup(QStringLiteral(KAVRINO_TEST_DATA_DIR "/catalog")));
    EXPECT_EQ(rows.bulletCount(), 6);
    EXPECT_EQ(rows.rowCount(), 6);
    empty.load(ResourceLookup(QStringLiteral(KAVRINO_TEST_DATA_DIR "/no_such_folder")));
    EXPECT_EQ(rows.bulletCount(), 0);
    EXPECT_EQ(rows.factoryLoadCount(), 0);
    EXPECT_EQ(rows.rowCount(), 0);
}

// The shipped catalog searched as a user would, against labels built here independently.
TEST(ShippedCatalogSearch, FindsExactlyTheEntriesWhoseTextHoldsTheQuery) {
    Catalog catalog;
    PaneConnections connections;
    catalog.load(ResourceLookup());
    ASSERT_EQ(catalog.bullets().size(), 784u);
    auto label = [](const CatalogBullet& b) {
        return b.manufacturer + ' ' + b.name + ' ' + QString::number(qint64(std::trunc(b.weight))) + "gr";
    };
    for (const char* typed : {"168gr", "SIERRA", "hornady .264 eld", "Berger", " .30", "x"}) {
        SCOPED_TRACE(typed);
        const QString query = QString::fromUtf8(typed);
        QStringList expected;
        for (const CatalogBullet& bullet : catalog.bullets()) {
            if (label(bullet).toCaseFolded().contains(query.toCaseFolded())) expected << label(bullet);
        }
        CatalogListModel rows(catalog, connections);
        rows.setQuery(query);
        EXPECT_EQ(titles(rows), expected);
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(rows.bulletCount(), 784);
    }
    CatalogListModel loads(catalog, connections);
    loads.setList(CatalogListModel::List::factoryLoads);
    loads.setQuery(QStringLiteral("CREEDMOOR"));
    int expected = 0;
    for (const CatalogCartridge& load : catalog.cartridges()) {
        expected += load.name.toCaseFolded().contains(QStringLiteral("creedmoor")) ? 1 : 0;
    }
    EXPECT_EQ(loads.rowCount(), expected);
    EXPECT_GT(expected, 0);
}

}  // namespace
}  // namespace kavrino
