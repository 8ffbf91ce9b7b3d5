// The catalog's decoding rules on fixture files, bulletLabel, and the resource lookup.
#include "core/catalog.h"
#include "core/resource_lookup.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace kavrino {
namespace {

const QString kData = QStringLiteral(KAVRINO_TEST_DATA_DIR);

ResourceLookup fixture(const char* folder) { return ResourceLookup(kData + u'/' + QLatin1String(folder)); }

CatalogBullet bullet(QString manufacturer, QString name, double weight) {
    CatalogBullet b;
    b.id = QStringLiteral("id");
    b.manufacturer = std::move(manufacturer);
    b.name = std::move(name);
    b.caliber = 0.308;
    b.weight = weight;
    return b;
}

// A bullets file around one record given as JSON object text.
QByteArray bulletsFileWith(const std::string& record) {
    return QByteArray::fromStdString(R"({"bullets": [)" + record + "]}");
}

const std::string kBulletRecord =
    R"({"id": "a", "manufacturer": "M", "name": "N", "caliber": 0.308, "weight": 168)";

TEST(CatalogLoad, ReadsEveryFieldInFileOrder) {
    Catalog catalog;
    catalog.load(fixture("catalog_valid"));

    ASSERT_EQ(catalog.bullets().size(), 3u);
    CatalogBullet smk;
    smk.id = QStringLiteral("sierra-2275");
    smk.manufacturer = QStringLiteral("Sierra");
    smk.name = QStringLiteral(".308 MatchKing HPBT");
    smk.caliber = 0.308;
    smk.weight = 175;
    smk.length = 1.24;
    smk.g1BC = 0.505;
    smk.cd = 0.29;
    smk.type = QStringLiteral("rifle");
    EXPECT_EQ(catalog.bullets()[0], smk);
    EXPECT_EQ(catalog.bullets()[1].id, QStringLiteral("hornady-26331"));
    EXPECT_EQ(catalog.bullets()[1].g7BC, 0.305);
    EXPECT_EQ(catalog.bullets()[2].id, QStringLiteral("x-77"));

    ASSERT_EQ(catalog.cartridges().size(), 2u);
    const CatalogCartridge& federal = catalog.cartridges()[0];
    EXPECT_EQ(federal.name, QStringLiteral(".308 Winchester 175gr SMK (Federal Gold Medal Match)"));
    EXPECT_EQ(federal.manufacturer, QStringLiteral("Federal"));
    EXPECT_EQ(federal.bulletWeight, 175.0);
    EXPECT_EQ(federal.muzzleVelocity, 2600.0);
    EXPECT_EQ(federal.barrelLength, 24.0);
    EXPECT_EQ(federal.g1BC, 0.505);
    EXPECT_FALSE(federal.g7BC.has_value());

    CatalogCartridge bare;
    bare.id = QStringLiteral("bare");
    bare.name = QStringLiteral("No optionals");
    bare.caliber = 0.264;
    bare.bulletWeight = 140.5;
    bare.muzzleVelocity = 2710.25;
    EXPECT_EQ(catalog.cartridges()[1], bare);
}

TEST(CatalogLoad, NullAndAbsentOptionalsDecodeAlike) {
    const auto withNull = decodeBulletsFile(bulletsFileWith(kBulletRecord + R"(, "g7BC": null, "type": null})"));
    const auto without = decodeBulletsFile(bulletsFileWith(kBulletRecord + "}"));
    ASSERT_TRUE(withNull && without);
    EXPECT_EQ(*withNull, *without);
    EXPECT_FALSE(withNull->front().g7BC.has_value());
    EXPECT_FALSE(withNull->front().type.has_value());
}

TEST(CatalogLoad, OneBadBulletEmptiesTheBulletsButNotTheLoads) {
    Catalog catalog;
    catalog.load(fixture("catalog_bad_bullet"));
    EXPECT_TRUE(catalog.bullets().empty());
    EXPECT_EQ(catalog.cartridges().size(), 2u);
}

TEST(CatalogLoad, AnotherTopLevelKeyGivesEmptyLists) {
    Catalog catalog;
    catalog.load(fixture("catalog_wrong_key"));
    EXPECT_TRUE(catalog.bullets().empty());
    EXPECT_TRUE(catalog.cartridges().empty());
}

TEST(CatalogLoad, MissingFileLeavesOnlyItsListEmpty) {
    Catalog catalog;
    catalog.load(fixture("catalog_missing_bullets"));
    EXPECT_TRUE(catalog.bullets().empty());
    EXPECT_EQ(catalog.cartridges().size(), 2u);

    Catalog nowhere;
    nowhere.load(fixture("no_such_folder"));
    EXPECT_TRUE(nowhere.bullets().empty());
    EXPECT_TRUE(nowhere.cartridges().empty());
}

TEST(CatalogLoad, ANewLoadReplacesEarlierLists) {
    Catalog catalog;
    catalog.load(fixture("catalog_valid"));
    catalog.load(fixture("catalog_bad_bullet"));
    EXPECT_TRUE(catalog.bullets().empty());
    EXPECT_EQ(catalog.cartridges().size(), 2u);
}

TEST(CatalogLoad, NotifiesOnceWithBothListsInPlace) {
    Catalog catalog;
    int notified = 0;
    size_t cartridgesSeen = 0;
    QObject::connect(&catalog, &Catalog::changed, [&] {
        ++notified;
        cartridgesSeen = catalog.cartridges().size();
    });
    catalog.load(fixture("catalog_valid"));
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(cartridgesSeen, catalog.cartridges().size());
    catalog.load(fixture("no_such_folder"));  // assigned even when nothing could be read
    EXPECT_EQ(notified, 2);
}

TEST(CatalogDecoding, AcceptsWhatTheFormatAllows) {
    struct Row {
        const char* name;
        std::string file;
    };
    const std::vector<Row> rows = {
        {"integral number for a double", bulletsFileWith(kBulletRecord + "}").toStdString()},
        {"exponent number", bulletsFileWith(R"({"id": "a", "manufacturer": "M", "name": "N", "caliber": 3.08e-1, "weight": 1.68E2})").toStdString()},
        {"empty list", R"({"bullets": []})"},
        {"unknown keys in record and file", R"({"x": 1, "bullets": [)" + kBulletRecord + R"(, "sku": 7, "weight_gr": "x"}]})"},
        {"non-ASCII text", bulletsFileWith(R"({"id": "a", "manufacturer": "Hornady", "name": "ELD® Match", "caliber": 0.264, "weight": 140})").toStdString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(decodeBulletsFile(QByteArray::fromStdString(row.file)).has_value());
    }
    EXPECT_EQ(decodeBulletsFile(bulletsFileWith(R"({"id": "a", "manufacturer": "Hornady", "name": "ELD® Match", "caliber": 0.264, "weight": 140})"))
                  ->front().name,
              QString::fromUtf8("ELD® Match"));
}

TEST(CatalogDecoding, RefusesTheWholeListForAnyBadRecord) {
    struct Row {
        const char* name;
        std::string file;
    };
    const std::vector<Row> rows = {
        {"malformed JSON", R"({"bullets": [)"},
        {"empty text", ""},
        {"top level is an array", "[" + kBulletRecord + "}]"},
        {"list is null", R"({"bullets": null})"},
        {"list is an object", R"({"bullets": {}})"},
        {"record is not an object", R"({"bullets": [1]})"},
        {"required key null", bulletsFileWith(R"({"id": "a", "manufacturer": "M", "name": null, "caliber": 0.308, "weight": 168})").toStdString()},
        {"required key missing", bulletsFileWith(R"({"id": "a", "manufacturer": "M", "caliber": 0.308, "weight": 168})").toStdString()},
        {"number as a string", bulletsFileWith(R"({"id": "a", "manufacturer": "M", "name": "N", "caliber": "0.308", "weight": 168})").toStdString()},
        {"string as a number", bulletsFileWith(R"({"id": 7, "manufacturer": "M", "name": "N", "caliber": 0.308, "weight": 168})").toStdString()},
        {"boolean for a double", bulletsFileWith(kBulletRecord + R"(, "g1BC": true})").toStdString()},
        {"optional of the wrong type", bulletsFileWith(kBulletRecord + R"(, "g7BC": "0.3"})").toStdString()},
        {"optional text of the wrong type", bulletsFileWith(kBulletRecord + R"(, "type": 1})").toStdString()},
        {"number too large for a double", bulletsFileWith(R"({"id": "a", "manufacturer": "M", "name": "N", "caliber": 0.308, "weight": 1e999})").toStdString()},
        {"bad record after good ones", R"({"bullets": [)" + kBulletRecord + "}, " + kBulletRecord + "}, {}]}"},
        {"trailing text", bulletsFileWith(kBulletRecord + "}").toStdString() + " x"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(decodeBulletsFile(QByteArray::fromStdString(row.file)).has_value());
    }
}

// The data files share one text rule: a text over 4,096 UTF-8 bytes is a broken record.
TEST(CatalogDecoding, ATextLongerThan4096BytesBreaksItsRecord) {
    const auto withName = [](size_t bytes) {
        return bulletsFileWith(R"({"id": "a", "manufacturer": "M", "name": ")" + std::string(bytes, 'n') +
                               R"(", "caliber": 0.308, "weight": 168})");
    };
    ASSERT_TRUE(decodeBulletsFile(withName(4096)).has_value());
    EXPECT_FALSE(decodeBulletsFile(withName(4097)).has_value());
}

TEST(CatalogDecoding, CartridgeRequiresNameCaliberWeightAndVelocity) {
    const std::string full =
        R"("id": "a", "name": "L", "caliber": 0.308, "bulletWeight": 175, "muzzleVelocity": 2600)";
    ASSERT_TRUE(decodeCartridgesFile(QByteArray::fromStdString(R"({"cartridges": [{)" + full + "}]}")));
    for (const char* key : {"id", "name", "caliber", "bulletWeight", "muzzleVelocity"}) {
        SCOPED_TRACE(key);
        std::string record = "{" + full + "}";
        const std::string quoted = std::string("\"") + key + "\"";
        record.replace(record.find(quoted), quoted.size(), "\"renamed\"");
        EXPECT_FALSE(decodeCartridgesFile(QByteArray::fromStdString(R"({"cartridges": [)" + record + "]}")));
    }
    // The maker is optional for a factory load (it is required for a bullet).
    const auto noMaker = decodeCartridgesFile(
        QByteArray::fromStdString(R"({"cartridges": [{)" + full + R"(, "manufacturer": null}]})"));
    ASSERT_TRUE(noMaker);
    EXPECT_FALSE(noMaker->front().manufacturer.has_value());
}

TEST(CatalogEncoding, RoundTripsAndLeavesAbsentOptionalsOut) {
    CatalogBullet b = bullet(QStringLiteral("Berger"), QStringLiteral(".308 Hybrid Target"), 200.2);
    b.g1BC = 0.64;
    b.g7BC = 0.328;
    const std::string text = encodeJson(b);
    EXPECT_EQ(text.find("\"length\""), std::string::npos);
    EXPECT_EQ(text.find("\"cd\""), std::string::npos);
    const auto back = decodeBulletsFile(bulletsFileWith(text));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->front(), b);

    CatalogCartridge c;
    c.id = QStringLiteral("c");
    c.name = QStringLiteral("300 Win Mag 190gr SMK");
    c.caliber = 0.308;
    c.bulletWeight = 190;
    c.muzzleVelocity = 2900;
    c.g1BC = 0.533;
    const std::string cartridgeText = encodeJson(c);
    EXPECT_EQ(cartridgeText.find("\"manufacturer\""), std::string::npos);
    const auto cartridgeBack =
        decodeCartridgesFile(QByteArray::fromStdString(R"({"cartridges": [)" + cartridgeText + "]}"));
    ASSERT_TRUE(cartridgeBack);
    EXPECT_EQ(cartridgeBack->front(), c);
}

TEST(CatalogRecords, EqualityAndHashCoverOptionals) {
    CatalogBullet a = bullet(QStringLiteral("Sierra"), QStringLiteral("MatchKing"), 168);
    CatalogBullet b = a;
    EXPECT_EQ(a, b);
    EXPECT_EQ(qHash(a), qHash(b));
    b.g7BC = 0.0;  // present, even as zero, differs from absent
    EXPECT_NE(a, b);
    b = a;
    b.type = QString();
    EXPECT_NE(a, b);
}

TEST(BulletLabel, TruncatesTheWeightToWholeGrains) {
    struct Row {
        const char* name;
        double weight;
        const char* expected;
    };
    const std::vector<Row> rows = {
        {"whole grains have no decimals", 175.0, "Sierra MatchKing 175gr"},
        {"truncated, not rounded", 77.99, "Sierra MatchKing 77gr"},
        {"just under a whole grain", 168.9, "Sierra MatchKing 168gr"},
        {"fraction of a grain", 200.2, "Sierra MatchKing 200gr"},
        {"below one grain", 0.5, "Sierra MatchKing 0gr"},
        {"negative, toward zero", -0.5, "Sierra MatchKing 0gr"},
        {"beyond 32 bits", 5e9, "Sierra MatchKing 5000000000gr"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(bulletLabel(bullet(QStringLiteral("Sierra"), QStringLiteral("MatchKing"), row.weight)),
                  QString::fromUtf8(row.expected));
    }
}

TEST(ResourceLookup, ReadsNamedFilesOfItsFolder) {
    const ResourceLookup lookup = fixture("catalog_valid");
    const auto bytes = lookup.read(QStringLiteral("cartridges.json"));
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(bytes->startsWith("{\"cartridges\""));
    EXPECT_FALSE(lookup.read(QStringLiteral("missing.json")));
}

TEST(ResourceLookup, NeverLeavesItsFolder) {
    const ResourceLookup lookup = fixture("catalog_valid");
    for (const char* name : {"../catalog_bad_bullet/bullets.json", "..", ".", "", "/etc/hostname",
                             "..\\catalog_valid\\bullets.json"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(lookup.read(QString::fromUtf8(name)));
    }
}

TEST(ResourceLookup, ABoundedReadRefusesALargerFileWithoutReadingItAll) {
    const ResourceLookup lookup = fixture("catalog_valid");
    const auto whole = lookup.read(QStringLiteral("cartridges.json"));
    ASSERT_TRUE(whole);
    const qint64 size = whole->size();
    EXPECT_EQ(lookup.read(QStringLiteral("cartridges.json"), size), whole);
    EXPECT_FALSE(lookup.read(QStringLiteral("cartridges.json"), size - 1));
    EXPECT_FALSE(lookup.read(QStringLiteral("cartridges.json"), -1));
    EXPECT_FALSE(lookup.read(QStringLiteral("missing.json"), size));
    EXPECT_FALSE(lookup.read(QStringLiteral("../catalog_valid/cartridges.json"), size));
    // A device that reports no size and never ends stops at the bound.
    EXPECT_FALSE(ResourceLookup(QStringLiteral("/dev")).read(QStringLiteral("zero"), 1 << 16));
    EXPECT_EQ(ResourceLookup(QStringLiteral("/dev")).read(QStringLiteral("null"), 16), QByteArray());
}

TEST(ResourceLookup, BundledFilesComeFromTheApplication) {
    const ResourceLookup bundled;
    EXPECT_EQ(bundled.folder(), QStringLiteral(":/data"));
    for (const char* name : {"bullets.json", "cartridges.json"}) {
        SCOPED_TRACE(name);
        const auto bytes = bundled.read(QString::fromUtf8(name));
        ASSERT_TRUE(bytes);
        EXPECT_FALSE(bytes->isEmpty());
    }
}

}  // namespace
}  // namespace kavrino
