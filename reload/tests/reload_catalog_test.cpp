// The reload catalog over the fixture files in tests/data/valid: decoding rules, identifiers,
// indexes, lookups, and the all-or-nothing publication of a background load.
#include "reload/reload_catalog.h"

#include "reload/reload_bundles.h"
#include "reload/testing/altered_fixtures.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <new>  // std::bad_alloc

namespace kavrino {
namespace {

const QString kFixtures = QStringLiteral(KAVRINO_TEST_DATA_DIR "/valid");

QByteArray fixture(const QString& name) {
    QFile file(kFixtures + "/" + name);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// Waits until `spy` holds `count` signals. The deadline is generous for a busy machine under the
// sanitizers; the wait ends as soon as the signal comes.
bool waitForSignals(const QSignalSpy& spy, int count) {
    return QTest::qWaitFor([&] { return spy.count() >= count; }, 30000);
}

// Lets every background load finish and deliver its result, so that a second publication
// would show in a signal count.
void settleBackgroundLoads() {
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

// Loads a fresh catalog through the background road and waits for the result to be published.
bool loadAndWait(ReloadCatalog& catalog) {
    QSignalSpy spy(&catalog, &ReloadCatalog::changed);
    catalog.loadIfNeeded();
    return waitForSignals(spy, 1) && (catalog.loaded() || catalog.loadFailed());
}

// A copy of the fixture folder with one file replaced (empty content: the file is left out).
struct AlteredFixtures : test_support::AlteredFixtures {
    AlteredFixtures(const QString& name, const QByteArray& content)
        : test_support::AlteredFixtures(kFixtures, name, content) {}
};

QByteArray replacedFixture(const QString& name, const char* from, const char* to) {
    QByteArray text = fixture(name);
    const QByteArray before = text;
    text.replace(from, to);
    EXPECT_NE(text, before) << "the fixture no longer contains " << from;
    return text;
}

class LoadedFixtureCatalog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(loadAndWait(catalog)); ASSERT_TRUE(catalog.loaded()); }
    ReloadCatalog catalog{ResourceLookup(kFixtures)};
};

TEST_F(LoadedFixtureCatalog, LoadIdsArePositions) {
    ASSERT_EQ(catalog.loads().size(), 6u);
    for (std::size_t i = 0; i < catalog.loads().size(); ++i) EXPECT_EQ(catalog.loads()[i].id, QString::number(i));
    EXPECT_FALSE(catalog.loadFailed());
    EXPECT_EQ(catalog.sources(), QStringList({"Fixture source A", "Fixture source B"}));
}

TEST_F(LoadedFixtureCatalog, EveryLoadFieldUnderItsShortKey) {
    const Load& load = catalog.loads()[1];
    EXPECT_EQ(load.cartridge, "6.5 Creedmoor");
    EXPECT_EQ(load.bulletWeightGr, 140.0);
    EXPECT_EQ(load.bulletDiameterIn, 0.264);
    EXPECT_EQ(load.powderManufacturer, "Hodgdon");
    EXPECT_EQ(load.powder, "H4350");
    EXPECT_EQ(load.startChargeGr, 38.0);
    EXPECT_EQ(load.maxChargeGr, 42.0);
    EXPECT_EQ(load.startVelocityFps, 2550.0);
    EXPECT_EQ(load.maxVelocityFps, 2710.0);
    EXPECT_EQ(load.startPressure, 52000.0);
    EXPECT_EQ(load.maxPressure, 61000.0);
    EXPECT_EQ(load.pressureUnit, "psi");
    EXPECT_EQ(load.coalIn, 2.825);
    EXPECT_EQ(load.caseName, "Hornady");
    EXPECT_EQ(load.primer, "CCI BR-2");
    EXPECT_EQ(load.barrelLengthIn, 26.0);
    EXPECT_EQ(load.twist, "1:8");
    EXPECT_EQ(load.sourceIndex, 0);

    const Load& bare = catalog.loads()[0];
    EXPECT_EQ(bare.cartridge, "alpha 17");
    EXPECT_EQ(bare.sourceIndex, 1);
    EXPECT_FALSE(bare.bulletWeightGr || bare.powderManufacturer || bare.startChargeGr || bare.twist);
    EXPECT_FALSE(catalog.loads()[5].bulletWeightGr) << "null counts as absent";
}

TEST_F(LoadedFixtureCatalog, CasesIndexedByNormalizedNameLaterDuplicateWins) {
    EXPECT_EQ(catalog.cases().size(), 2);
    const auto creedmoor = catalog.caseInfo(QString("6.5 Creedmoor"));
    ASSERT_TRUE(creedmoor);
    EXPECT_EQ(creedmoor->id, "c-65cm");
    EXPECT_EQ(creedmoor->barrelLengthIn, 24.0);
    EXPECT_EQ(creedmoor->twist, "1:8");
    EXPECT_EQ(creedmoor->trimLengthIn, 1.91);
    EXPECT_EQ(creedmoor->bulletWeightMinGr, 95.0);
    EXPECT_EQ(creedmoor->bulletWeightMaxGr, 147.0);
    EXPECT_EQ(creedmoor->powderCount, 2);
    EXPECT_EQ(creedmoor->loadCount, 3);
    EXPECT_EQ(creedmoor->observedMaxPressurePsi, 61000.0);
    EXPECT_EQ(creedmoor->caseWaterCapacityGrH2o, 52.5);
    EXPECT_EQ(creedmoor->maxPressurePsi, 62000.0);
    EXPECT_EQ(creedmoor->pressureStandard, "SAAMI");

    for (const char* name : {".308 Winchester", "308 Winchester", "308-winchester", ".308 WINCHESTER."}) {
        SCOPED_TRACE(name);
        const auto info = catalog.caseInfo(QString(name));
        ASSERT_TRUE(info);
        EXPECT_EQ(info->id, "c-308-later");
    }
    EXPECT_FALSE(catalog.caseInfo(std::nullopt));
    EXPECT_FALSE(catalog.caseInfo(QString("Zulu 22")));
}

TEST_F(LoadedFixtureCatalog, LoadsForCartridgeMatchExactly) {
    const auto loads = catalog.loadsForCartridge("6.5 Creedmoor");
    ASSERT_EQ(loads.size(), 3u);
    EXPECT_EQ(loads[0].id, "1");
    EXPECT_EQ(loads[2].id, "3");
    EXPECT_EQ(catalog.loadsForCartridge(".308 Winchester").size(), 1u);
    EXPECT_TRUE(catalog.loadsForCartridge("308 Winchester").empty());
    EXPECT_TRUE(catalog.loadsForCartridge("6.5 creedmoor").empty());
    EXPECT_TRUE(catalog.loadsForCartridge("6.5 Creedmoor ").empty());
}

TEST_F(LoadedFixtureCatalog, PowdersInBurnRateOrderWithPositionIds) {
    QStringList ids;
    for (const Powder& powder : catalog.powders()) ids << powder.id;
    // Ranked by rank (Varget 20; H4350 and Reloder 16 share 33 in file order), unranked last.
    EXPECT_EQ(ids, QStringList({"P20#0", "P33#1", "P35#2", "P90#3", "P91#4"}));

    const Powder& h4350 = catalog.powders()[1];
    EXPECT_EQ(h4350.manufacturer, "Hodgdon");
    EXPECT_EQ(h4350.name, "H4350");
    EXPECT_EQ(h4350.burnRateRank, 33);
    EXPECT_EQ(h4350.type, "extruded");
    EXPECT_TRUE(h4350.hasLoadData);
    EXPECT_EQ(h4350.loadCount, 2);
    EXPECT_EQ(h4350.params, (PowderParams{.kv = 3600000, .c0Gr = 2.0, .kp = 16000, .b = 1.0, .gamma = 1.24}));
    EXPECT_FALSE(catalog.powders()[4].params) << "null params";
}

TEST_F(LoadedFixtureCatalog, PowderParamsFallBackToTheirDefaults) {
    const PowderParams onlyKv{.kv = 3550000, .c0Gr = 0.0, .kp = std::nullopt, .b = std::nullopt, .gamma = 1.24};
    EXPECT_EQ(catalog.powders()[0].params, onlyKv);
    // "gamma": null, "Kp": "fast", "b": null, and a lower-case "kv" that is not the key.
    const PowderParams nullsAndWrongTypes{.kv = 3500000, .c0Gr = 0.0, .kp = std::nullopt, .b = std::nullopt,
                                          .gamma = 1.24};
    EXPECT_EQ(catalog.powders()[3].params, nullsAndWrongTypes);
}

TEST_F(LoadedFixtureCatalog, CartridgeSummariesSortedByPlainStringOrder) {
    const auto& summaries = catalog.cartridges();
    ASSERT_EQ(summaries.size(), 4u);
    EXPECT_EQ(summaries[0].name, ".308 Winchester");
    EXPECT_EQ(summaries[1].name, "6.5 Creedmoor");
    EXPECT_EQ(summaries[2].name, "Zulu 22");   // capitals before lower case
    EXPECT_EQ(summaries[3].name, "alpha 17");

    EXPECT_EQ(summaries[1].loadCount, 3);
    EXPECT_EQ(summaries[1].powderCount, 2);  // "H4350" twice, "Reloder 16" once
    ASSERT_TRUE(summaries[1].info);
    EXPECT_EQ(summaries[1].info->id, "c-65cm");
    ASSERT_TRUE(summaries[0].info);
    EXPECT_EQ(summaries[0].info->id, "c-308-later");
    EXPECT_FALSE(summaries[3].info);
    EXPECT_EQ(summaries[3].loadCount, 1);
}

TEST_F(LoadedFixtureCatalog, PowderOfALoadMatchesOnTheNormalizedKey) {
    const struct {
        const char* name;
        std::size_t load;
        const char* powderId;  // nullptr: no powder
    } rows[] = {
        {"same spelling", 1, "P33#1"},
        {"manufacturer named in the powder name", 4, "P90#3"},  // "IMR" "4350" finds "IMR 4350"
        {"unknown powder", 0, nullptr},
        {"ranked powder", 3, "P35#2"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto powder = catalog.powder(catalog.loads()[row.load]);
        if (!row.powderId) {
            EXPECT_FALSE(powder);
        } else {
            ASSERT_TRUE(powder);
            EXPECT_EQ(powder->id, row.powderId);
        }
    }
}

TEST_F(LoadedFixtureCatalog, LaterCallsDoNothing) {
    QSignalSpy spy(&catalog, &ReloadCatalog::changed);
    catalog.loadIfNeeded();
    QCoreApplication::processEvents();
    EXPECT_EQ(spy.count(), 0);
    EXPECT_TRUE(catalog.loaded());
}

TEST(ReloadCatalogKeys, NormalizedKey) {
    const struct {
        const char* name;
        QString text, key;
    } rows[] = {
        {"punctuation and spaces go", ".308 Win.", "308win"},
        {"letter case goes", "6.5 CREEDMOOR", "65creedmoor"},
        {"dashes and slashes go", "7mm-08 Rem/Rem", "7mm08remrem"},
        {"other scripts stay", QString::fromUtf8("Пороха №5"), QString::fromUtf8("пороха5")},
        {"combining marks stay", QString::fromUtf8("Nobel e\u0301"), QString::fromUtf8("nobele\u0301")},
        {"numbers of other kinds stay", QString::fromUtf8("x\u00b2\u2167"), QString::fromUtf8("x\u00b2\u2177")},
        {"empty", "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReloadCatalog::normalizedKey(row.text), row.key);
    }
}

TEST(ReloadCatalogKeys, PowderKey) {
    const struct {
        const char* name;
        std::optional<QString> manufacturer, powder;
        QString key;
    } rows[] = {
        {"manufacturer's initial before digits", "Hodgdon", "H4350", "hodgdon|4350"},
        {"digits alone", "Hodgdon", "4350", "hodgdon|4350"},
        {"manufacturer's name in front", "IMR", "IMR 4350", "imr|4350"},
        {"initial before a letter stays", "Accurate", "AA 2230", "accurate|aa2230"},
        {"other initial stays", "Vihtavuori", "N140", "vihtavuori|n140"},
        {"single character stays", "Hodgdon", "H", "hodgdon|h"},
        {"name equal to the manufacturer", "Varget", "Varget", "varget|"},
        {"no manufacturer", std::nullopt, "H4350", "|h4350"},
        {"empty manufacturer", "", "H-4350", "|h4350"},
        {"no name", "Alliant", std::nullopt, "alliant|"},
        {"a letter beyond the 16-bit range is one character beside Devanagari", QString::fromUtf8("\U0001D7B4"),
         QString::fromUtf8("\U0001D7B4\u0928"), QString::fromUtf8("\U0001D7B4|\u0928")},
        {"a Devanagari letter keeps its combining mark", QString::fromUtf8("\u092E"),
         QString::fromUtf8("\u092E\u03284"), QString::fromUtf8("\u092E|\u092E\u03284")},
        {"decomposed Hangul jamo form one character", QString::fromUtf8("\u1100\u1161"),
         QString::fromUtf8("\u1100\u1161\u11A8"), QString::fromUtf8("\u1100\u1161|\u1100\u1161\u11A8")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(ReloadCatalog::powderKey(row.manufacturer, row.powder), row.key);
    }
}

TEST(ReloadCatalogKeys, PowderKeyOfAVeryLongNameCostsItsLengthOnly) {
    // Five million characters: the key is found by walking the front of the name only.
    const QString digits(5'000'000, QLatin1Char('4'));
    EXPECT_EQ(ReloadCatalog::powderKey(QStringLiteral("Hodgdon"), QStringLiteral("H") + digits),
              QStringLiteral("hodgdon|") + digits);
    EXPECT_EQ(ReloadCatalog::powderKey(QStringLiteral("IMR"), QStringLiteral("IMR") + digits),
              QStringLiteral("imr|") + digits);
    const QString marks = QStringLiteral("e") + QString(100'000, QChar(0x0301));
    EXPECT_EQ(ReloadCatalog::powderKey(QStringLiteral("e"), marks), QStringLiteral("e|") + marks)
        << "one character with all its marks is not the manufacturer's initial";
}

TEST(ReloadCatalogFailure, AnyBrokenFilePublishesNothing) {
    const struct {
        const char* name;
        const char* file;
        QByteArray content;  // empty: the file is missing
    } rows[] = {
        {"cases file missing", "app_cases.json", {}},
        {"loads file missing", "app_loads.json", {}},
        {"powders file missing", "app_powders.json", {}},
        {"not JSON", "app_cases.json", "{\"count\": 1, \"cases\": ["},
        {"top level not an object", "app_cases.json", "[]"},
        {"load without a powder name", "app_loads.json",
         replacedFixture("app_loads.json", "\"p\": \"Reloder 16\",", "")},
        {"powder name null", "app_loads.json",
         replacedFixture("app_loads.json", "\"p\": \"Reloder 16\"", "\"p\": null")},
        {"optional field of the wrong type", "app_loads.json",
         replacedFixture("app_loads.json", "\"bw\": 147", "\"bw\": \"147\"")},
        {"source index with a fraction", "app_loads.json",
         replacedFixture("app_loads.json", "\"s\": 5", "\"s\": 5.5")},
        {"sources missing", "app_loads.json",
         replacedFixture("app_loads.json", "\"sources\": [\"Fixture source A\", \"Fixture source B\"],", "")},
        {"load count missing", "app_loads.json", replacedFixture("app_loads.json", "\"loadCount\": 6,", "")},
        {"case without a name", "app_cases.json",
         replacedFixture("app_cases.json", "\"name\": \".308 Winchester\",", "")},
        {"case count a string", "app_cases.json", replacedFixture("app_cases.json", "\"count\": 3", "\"count\": \"3\"")},
        {"params without Kv", "app_powders.json", replacedFixture("app_powders.json", "\"Kv\": 3550000", "\"Kx\": 1")},
        {"Kv null", "app_powders.json", replacedFixture("app_powders.json", "\"Kv\": 3550000", "\"Kv\": null")},
        {"params not an object", "app_powders.json",
         replacedFixture("app_powders.json", "\"params\": null", "\"params\": 5")},
        {"hasLoadData a number", "app_powders.json",
         replacedFixture("app_powders.json", "\"hasLoadData\": false", "\"hasLoadData\": 0")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AlteredFixtures files(row.file, row.content);
        ReloadCatalog catalog{ResourceLookup(files.dir.path())};
        ASSERT_TRUE(loadAndWait(catalog));
        EXPECT_TRUE(catalog.loadFailed());
        EXPECT_FALSE(catalog.loaded());
        EXPECT_TRUE(catalog.loads().empty());
        EXPECT_TRUE(catalog.sources().isEmpty());
        EXPECT_TRUE(catalog.cases().isEmpty());
        EXPECT_TRUE(catalog.powders().empty());
        EXPECT_TRUE(catalog.cartridges().empty());
    }
}

TEST(ReloadCatalogFailure, AFileOverTheSizeBoundIsABrokenFile) {
    // The valid fixture padded with white space to exactly the bound loads; one byte more fails.
    for (const qint64 size : {kMaxReloadFileBytes, kMaxReloadFileBytes + 1}) {
        SCOPED_TRACE(size);
        QByteArray padded = fixture("app_cases.json");
        padded.append(QByteArray(size - padded.size(), ' '));
        AlteredFixtures files("app_cases.json", padded);
        ReloadCatalog catalog{ResourceLookup(files.dir.path())};
        ASSERT_TRUE(loadAndWait(catalog));
        EXPECT_EQ(catalog.loaded(), size == kMaxReloadFileBytes);
        EXPECT_EQ(catalog.loadFailed(), size > kMaxReloadFileBytes);
    }
}

TEST(ReloadCatalogFailure, NextLoadClearsTheFlagAndTriesAgain) {
    AlteredFixtures files("app_powders.json", {});
    ReloadCatalog catalog{ResourceLookup(files.dir.path())};
    ASSERT_TRUE(loadAndWait(catalog));
    ASSERT_TRUE(catalog.loadFailed());

    QFile::copy(kFixtures + "/app_powders.json", files.dir.filePath("app_powders.json"));
    QSignalSpy spy(&catalog, &ReloadCatalog::changed);
    catalog.loadIfNeeded();
    EXPECT_FALSE(catalog.loadFailed()) << "cleared at once";
    EXPECT_EQ(spy.count(), 1);
    catalog.loadIfNeeded();  // asked again while the retry runs
    EXPECT_EQ(spy.count(), 1);
    ASSERT_TRUE(waitForSignals(spy, 2));
    settleBackgroundLoads();
    EXPECT_EQ(spy.count(), 2) << "one retry, one publication";
    EXPECT_TRUE(catalog.loaded());
    EXPECT_FALSE(catalog.loadFailed());
    EXPECT_EQ(catalog.loads().size(), 6u);
}

// A load that throws (out of memory, say) fails as a broken file does: the pane shows its
// failure, and the catalog is not left loading, so its next appearance tries again.
TEST(ReloadCatalogFailure, ALoadThatThrowsFailsAndTheNextCallTriesAgain) {
    ReloadCatalog catalog{ResourceLookup(kFixtures),
                          [](const ResourceLookup&) -> std::optional<ReloadData> { throw std::bad_alloc(); }};
    ASSERT_TRUE(loadAndWait(catalog));
    EXPECT_TRUE(catalog.loadFailed());
    EXPECT_FALSE(catalog.loaded());
    EXPECT_TRUE(catalog.loads().empty());

    QSignalSpy spy(&catalog, &ReloadCatalog::changed);
    catalog.loadIfNeeded();
    EXPECT_FALSE(catalog.loadFailed()) << "a new load started";
    ASSERT_TRUE(waitForSignals(spy, 2));
    EXPECT_TRUE(catalog.loadFailed());
}

TEST(ReloadCatalogLoading, OneLoadAndOnePublicationHoweverOftenAsked) {
    ReloadCatalog catalog{ResourceLookup(kFixtures)};
    QSignalSpy spy(&catalog, &ReloadCatalog::changed);
    catalog.loadIfNeeded();
    catalog.loadIfNeeded();  // the pane shown again while the first load runs
    // The result crosses back through the event loop: until then the catalog is untouched.
    EXPECT_FALSE(catalog.loaded());
    EXPECT_TRUE(catalog.loads().empty());
    ASSERT_TRUE(waitForSignals(spy, 1));
    EXPECT_TRUE(catalog.loaded());
    EXPECT_EQ(catalog.cartridges().size(), 4u);
    settleBackgroundLoads();
    EXPECT_EQ(spy.count(), 1) << "one change for the whole publication, and no second load";
}

TEST(ReloadCatalogLoading, DestroyedWhileLoadingIsSafe) {
    {
        ReloadCatalog catalog{ResourceLookup(kFixtures)};
        catalog.loadIfNeeded();
    }
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
}

TEST(ReloadBundles, ATextLongerThan4096BytesBreaksItsRecord) {
    const auto loads = [](const std::string& powder, const std::string& source) {
        const std::string text = R"({"sources": [")" + source + R"("], "loadCount": 1, "loads": [)" +
                                 R"({"id": "x", "c": "C", "p": ")" + powder + R"(", "s": 0}]})";
        return decodeLoadBundle(QByteArray::fromStdString(text));
    };
    const std::string longest(4096, '4');
    const auto kept = loads(longest, "S");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->loads[0].powder.size(), 4096);
    EXPECT_FALSE(loads(longest + "4", "S"));
    EXPECT_FALSE(loads("H4350", longest + "s")) << "sources too";
    // Counted in UTF-8 bytes: 1,366 three-byte characters are 4,098 bytes.
    std::string wide;
    for (int i = 0; i < 1366; ++i) wide += "\u0928";
    EXPECT_FALSE(loads(wide, "S"));
    EXPECT_FALSE(decodeCaseBundle(QByteArray::fromStdString(
        R"({"count": 1, "cases": [{"id": "a", "name": ")" + longest + R"(x"}]})")));
    EXPECT_FALSE(decodePowderBundle(QByteArray::fromStdString(
        R"({"count": 1, "powders": [{"id": "a", "name": ")" + longest +
        R"(x", "hasLoadData": true, "loadCount": 0}]})")));
}

TEST(ReloadBundles, ContentNoRecordUsesIsIgnoredWhateverItHolds) {
    // Unknown keys at every level, holding deep and large content, change nothing.
    std::string deep(100000, '[');
    deep += std::string(100000, ']');
    const std::string text = R"({"junk": )" + deep + R"(, "sources": ["S"], "loadCount": 1, "loads": [)" +
                             R"({"id": "x", "c": "C", "p": "P", "s": 0, "junk": {"a": [1, {"b": null}]}}]})";
    const auto bundle = decodeLoadBundle(QByteArray::fromStdString(text));
    ASSERT_TRUE(bundle);
    ASSERT_EQ(bundle->loads.size(), 1u);
    EXPECT_EQ(bundle->loads[0].powder, "P");
    // But an array or object where a record field belongs is the wrong type, as ever.
    EXPECT_FALSE(decodeLoadBundle(R"({"sources": [], "loadCount": 1, "loads": [{"id": "x", "c": "C", "p": "P", "s": 0, "bw": [140]}]})"));
    EXPECT_FALSE(decodeLoadBundle(R"({"sources": [], "loadCount": 1, "loads": [{"id": "x", "c": "C", "p": {}, "s": 0}]})"));
    EXPECT_FALSE(decodeLoadBundle(R"({"sources": [[]], "loadCount": 0, "loads": []})"));
    EXPECT_FALSE(decodeLoadBundle(R"({"sources": [], "loadCount": 0, "loads": [[]]})"));
    EXPECT_FALSE(decodeLoadBundle(R"({"sources": [], "loadCount": 0, "loads": {}})"));
    EXPECT_FALSE(decodeLoadBundle(R"([{"sources": [], "loadCount": 0, "loads": []}])"));
    // The parameters stay lenient: an array for "Kp" counts as no value.
    const auto powders = decodePowderBundle(
        R"({"count": 1, "powders": [{"id": "a", "name": "N", "hasLoadData": true, "loadCount": 0,
            "params": {"Kv": 1, "Kp": [1, 2], "gamma": {"x": 1}}}]})");
    ASSERT_TRUE(powders);
    EXPECT_EQ(powders->powders[0].params, (PowderParams{.kv = 1, .c0Gr = 0, .kp = std::nullopt, .b = std::nullopt, .gamma = 1.24}));
}

TEST(ReloadBundles, ARepeatedKeyTakesItsLastValue) {
    const auto good = decodeLoadBundle(
        R"({"sources": ["A"], "sources": ["B", "C"], "loadCount": 1,
            "loads": [{"id": "bad"}], "loads": [{"id": "x", "c": "C", "p": "P", "p": "Q", "s": 0}]})");
    ASSERT_TRUE(good);
    EXPECT_EQ(good->sources, QStringList({"B", "C"}));
    ASSERT_EQ(good->loads.size(), 1u);
    EXPECT_EQ(good->loads[0].powder, "Q");
    EXPECT_FALSE(decodeLoadBundle(
        R"({"sources": [], "loadCount": 1, "loads": [{"id": "x", "c": "C", "p": "P", "s": 0}], "loads": 5})"));
    EXPECT_FALSE(decodeLoadBundle(
        R"({"sources": [], "loadCount": 1, "loads": [{"id": "x", "c": "C", "p": "P", "s": 0, "s": null}]})"));
}

TEST(ReloadBundles, WholeNumbersMayBeWrittenWithAZeroFraction) {
    const auto bundle = decodeCaseBundle(R"({"count": 2.0, "cases": [{"id": "a", "name": "A", "loadCount": 12.0}]})");
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->cases[0].loadCount, 12);
    EXPECT_FALSE(decodeCaseBundle(R"({"count": 1e30, "cases": []})"));
    EXPECT_FALSE(decodeCaseBundle(R"({"count": true, "cases": []})"));
}

TEST(ReloadBundles, WholeNumbersBeyondTheSignedRangeFailTheFile) {
    const auto largest = decodeCaseBundle(R"({"count": 9223372036854775807, "cases": []})");
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->count, 9223372036854775807);
    EXPECT_FALSE(decodeCaseBundle(R"({"count": 9223372036854775808, "cases": []})"));
    EXPECT_FALSE(decodeCaseBundle(R"({"count": 18446744073709551615, "cases": []})"));
    EXPECT_FALSE(decodeLoadBundle(
        R"({"sources": [], "loadCount": 1, "loads": [{"id": "x", "c": "C", "p": "P", "s": 9223372036854775808}]})"));
}

}  // namespace
}  // namespace kavrino
