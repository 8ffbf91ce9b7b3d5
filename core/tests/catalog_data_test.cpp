// The shipped bullets.json and cartridges.json decode under the catalog's own rules and hold
// plausible, real figures: counts, coefficients, the loads other panes look up by name, and a few
// makers' published figures checked by hand.
#include "core/catalog.h"
#include "core/resource_lookup.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <cmath>

namespace kavrino {
namespace {

const Catalog& shipped() { return Catalog::shared(); }

// Sectional density, lb/in²: the weight in pounds over the diameter squared.
double sectionalDensity(double grains, double inches) { return grains / 7000.0 / (inches * inches); }

const CatalogBullet* findBullet(const QString& id) {
    const auto& list = shipped().bullets();
    const auto it = std::find_if(list.begin(), list.end(), [&](const CatalogBullet& b) { return b.id == id; });
    return it == list.end() ? nullptr : &*it;
}

const CatalogCartridge* findLoad(const QString& name) {
    const auto& list = shipped().cartridges();
    const auto it = std::find_if(list.begin(), list.end(), [&](const CatalogCartridge& c) { return c.name == name; });
    return it == list.end() ? nullptr : &*it;
}

TEST(ShippedCatalog, TheSharedCatalogIsLoadedOnceFromTheBundledFiles) {
    EXPECT_EQ(&Catalog::shared(), &Catalog::shared());
    // The bundled copies are the files in the repository.
    const ResourceLookup repository(QStringLiteral(KAVRINO_SOURCE_DIR "/resources"));
    for (const char* name : {"bullets.json", "cartridges.json"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ResourceLookup().read(QString::fromUtf8(name)), repository.read(QString::fromUtf8(name)));
    }
}

TEST(ShippedCatalog, HoldsHundredsOfRifleBulletsAndFortyFactoryLoads) {
    EXPECT_GE(shipped().bullets().size(), 700u);
    EXPECT_GE(shipped().cartridges().size(), 40u);
}

TEST(ShippedCatalog, IdsAndBulletLabelsAreUnique) {
    QSet<QString> bulletIds, labels, loadIds, loadNames;
    for (const CatalogBullet& b : shipped().bullets()) {
        EXPECT_FALSE(bulletIds.contains(b.id)) << b.id.toStdString();
        EXPECT_FALSE(labels.contains(bulletLabel(b))) << bulletLabel(b).toStdString();
        bulletIds.insert(b.id);
        labels.insert(bulletLabel(b));
    }
    for (const CatalogCartridge& c : shipped().cartridges()) {
        EXPECT_FALSE(loadIds.contains(c.id)) << c.id.toStdString();
        EXPECT_FALSE(loadNames.contains(c.name)) << c.name.toStdString();
        loadIds.insert(c.id);
        loadNames.insert(c.name);
    }
}

TEST(ShippedCatalog, EveryBulletHasPlausibleFigures) {
    for (const CatalogBullet& b : shipped().bullets()) {
        SCOPED_TRACE(bulletLabel(b).toStdString());
        EXPECT_FALSE(b.id.isEmpty());
        EXPECT_FALSE(b.manufacturer.isEmpty());
        EXPECT_FALSE(b.name.isEmpty());
        // Rifle bullets from .17 to .50 BMG (the .58 and .62 bore solids included).
        EXPECT_GE(b.caliber, 0.17);
        EXPECT_LE(b.caliber, 0.62);
        EXPECT_GT(b.weight, 10.0);
        EXPECT_LT(b.weight, 1000.0);  // bulletLabel needs a finite, small weight
        ASSERT_TRUE(b.g1BC || b.g7BC) << "a bullet without a coefficient cannot be solved";
        const double sd = sectionalDensity(b.weight, b.caliber);
        // A G1 BC is the sectional density over a form factor between about 0.33 and 2.
        if (b.g1BC) {
            EXPECT_GT(*b.g1BC, 0.0);
            EXPECT_GE(*b.g1BC / sd, 0.5);
            EXPECT_LE(*b.g1BC / sd, 3.0);
        }
        // G7 figures run at about half the G1 figure of the same bullet.
        if (b.g7BC) {
            EXPECT_GT(*b.g7BC, 0.0);
            if (b.g1BC) {
                EXPECT_GT(*b.g7BC / *b.g1BC, 0.4);
                EXPECT_LT(*b.g7BC / *b.g1BC, 0.6);
            }
        }
        if (b.length) {
            EXPECT_GT(*b.length, b.caliber);
        }
    }
}

TEST(ShippedCatalog, EveryFactoryLoadHasPlausibleFigures) {
    for (const CatalogCartridge& c : shipped().cartridges()) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_TRUE(c.manufacturer.has_value());
        EXPECT_GE(c.caliber, 0.224);
        EXPECT_LE(c.caliber, 0.338);
        EXPECT_GT(c.bulletWeight, 30.0);
        EXPECT_LT(c.bulletWeight, 320.0);
        EXPECT_GE(c.muzzleVelocity, 2000.0);
        EXPECT_LE(c.muzzleVelocity, 4000.0);
        ASSERT_TRUE(c.g1BC) << "every shipped load has its maker's G1 figure";
        EXPECT_GT(*c.g1BC, 0.0);
        const double sd = sectionalDensity(c.bulletWeight, c.caliber);
        EXPECT_GE(*c.g1BC / sd, 0.5);
        EXPECT_LE(*c.g1BC / sd, 3.0);
        if (c.g7BC) {
            EXPECT_GT(*c.g7BC / *c.g1BC, 0.4);
            EXPECT_LT(*c.g7BC / *c.g1BC, 0.6);
        }
        if (c.barrelLength) {
            EXPECT_GE(*c.barrelLength, 16.0);
            EXPECT_LE(*c.barrelLength, 30.0);
        }
    }
}

TEST(ShippedCatalog, HasTheLoadsTheComparisonDemonstrationLooksUp) {
    const auto& loads = shipped().cartridges();
    const auto any = [&](auto predicate) { return std::any_of(loads.begin(), loads.end(), predicate); };
    EXPECT_TRUE(any([](const CatalogCartridge& c) { return c.name.contains(u"6.5 Creedmoor 140gr ELD Match"); }));
    EXPECT_TRUE(any([](const CatalogCartridge& c) { return c.name.contains(u".308 Winchester 175gr SMK"); }));
    EXPECT_TRUE(any([](const CatalogCartridge& c) { return c.name.startsWith(u"300 Win Mag"); }));
}

// Figures read off the makers' published tables by hand.
TEST(ShippedCatalog, CarriesMakersPublishedFigures) {
    const CatalogBullet* smk = findBullet(QStringLiteral("sierra-2275"));  // 175 gr MatchKing
    ASSERT_TRUE(smk);
    EXPECT_EQ(bulletLabel(*smk), QStringLiteral("Sierra .308 MatchKing HPBT 175gr"));
    EXPECT_EQ(smk->caliber, 0.308);
    EXPECT_EQ(smk->g1BC, 0.505);  // the band from 2800 ft/s up
    EXPECT_FALSE(smk->g7BC.has_value());

    // Hornady's current figures, which replace the 2018 listing's .610/.305.
    const CatalogBullet* eld = findBullet(QStringLiteral("hornady-26331"));  // 6.5 mm 140 gr ELD Match
    ASSERT_TRUE(eld);
    EXPECT_EQ(eld->weight, 140.0);
    EXPECT_EQ(eld->g1BC, 0.646);
    EXPECT_EQ(eld->g7BC, 0.326);

    const CatalogCartridge* federal = findLoad(QStringLiteral(".308 Winchester 175gr SMK (Federal Gold Medal Match)"));
    ASSERT_TRUE(federal);
    EXPECT_EQ(federal->muzzleVelocity, 2600.0);
    EXPECT_EQ(federal->bulletWeight, 175.0);
    EXPECT_EQ(federal->barrelLength, 24.0);

    // The load carries the bullet it is loaded with.
    const CatalogCartridge* hornady = findLoad(QStringLiteral("6.5 Creedmoor 140gr ELD Match (Hornady Match)"));
    ASSERT_TRUE(hornady);
    EXPECT_EQ(hornady->muzzleVelocity, 2710.0);
    EXPECT_EQ(hornady->caliber, 0.264);
    EXPECT_EQ(hornady->g1BC, eld->g1BC);
    EXPECT_EQ(hornady->g7BC, eld->g7BC);
}

// A factory load with a Sierra bullet carries the G1 of Sierra's band that holds its muzzle
// velocity, not the top band the bullet record gives.
TEST(ShippedCatalog, SierraLoadsCarryTheBandOfTheirMuzzleVelocity) {
    struct Band {
        const char* load;
        double muzzleVelocity;
        double g1;
    };
    for (const Band& expected : {
             Band{".308 Winchester 175gr SMK (Federal Gold Medal Match)", 2600.0, 0.496},  // 1800-2800
             Band{".223 Remington 77gr SMK (Federal Gold Medal Match)", 2720.0, 0.362},    // 2500-3000
             Band{".308 Winchester 168gr SMK (Federal Gold Medal Match)", 2650.0, 0.462},  // 2600 up
             Band{".223 Remington 69gr SMK (Federal Gold Medal Match)", 2950.0, 0.301},    // 2800 up
         }) {
        SCOPED_TRACE(expected.load);
        const CatalogCartridge* load = findLoad(QString::fromUtf8(expected.load));
        ASSERT_TRUE(load);
        EXPECT_EQ(load->muzzleVelocity, expected.muzzleVelocity);
        EXPECT_EQ(load->g1BC, expected.g1);
        EXPECT_FALSE(load->g7BC.has_value());
    }
    const CatalogBullet* smk77 = findBullet(QStringLiteral("sierra-9377"));
    ASSERT_TRUE(smk77);
    EXPECT_EQ(smk77->g1BC, 0.372);  // the band from 3000 ft/s up
}

TEST(ShippedCatalog, CleaningFoldedPacksAndDroppedErrors) {
    // Bulk boxes are folded into their product: Hornady's 108 gr ELD Match appears once.
    int eld108 = 0;
    for (const CatalogBullet& b : shipped().bullets())
        if (b.manufacturer == u"Hornady" && b.caliber == 0.243 && b.weight == 108.0) ++eld108;
    EXPECT_EQ(eld108, 1);
    EXPECT_FALSE(findBullet(QStringLiteral("hornady-24561b")));
    // The 150 gr .308 TSX listed at G1 0.184 beside its twin at 0.369 is left out.
    EXPECT_FALSE(findBullet(QStringLiteral("barnes-30334")));
    EXPECT_TRUE(findBullet(QStringLiteral("barnes-30347")));
    // Pistol bullets are not in a rifle catalog (Barnes 30440 is a 9 mm TAC-XP).
    EXPECT_FALSE(findBullet(QStringLiteral("barnes-30440")));
}

}  // namespace
}  // namespace kavrino
