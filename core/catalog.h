#pragma once
// The read-only bullet and factory-load catalog shipped with the application ("bullets.json",
// "cartridges.json"). One process-wide instance, loaded at first use; tests load fixtures into
// a catalog of their own through a ResourceLookup pointed at their folder.
#include "core/ballistics.h"  // DragModel

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstddef>  // size_t for qHash
#include <optional>
#include <string>
#include <vector>

namespace kavrino {

class ResourceLookup;

// One projectile. JSON keys are the field names.
struct CatalogBullet {
    QString id;                    // stable identifier, identity in lists
    QString manufacturer;          // bullet maker
    QString name;                  // product name
    double caliber = 0;            // bullet diameter, inches
    double weight = 0;             // grains
    std::optional<double> length;  // inches
    std::optional<double> g1BC;
    std::optional<double> g7BC;
    std::optional<double> cd;      // a single drag coefficient, as the data source gives it
    std::optional<QString> type;   // bullet type text, as the data source gives it

    bool operator==(const CatalogBullet&) const = default;
};

// One factory-loaded cartridge. JSON keys are the field names.
struct CatalogCartridge {
    QString id;                            // stable identifier, identity in lists
    QString name;                          // name of the factory load
    std::optional<QString> manufacturer;   // maker of the load
    double caliber = 0;                    // bullet diameter, inches
    double bulletWeight = 0;               // grains
    double muzzleVelocity = 0;             // published muzzle velocity, ft/s
    std::optional<double> barrelLength;    // test barrel, inches
    std::optional<double> g1BC;
    std::optional<double> g7BC;

    bool operator==(const CatalogCartridge&) const = default;
};

// "<manufacturer> <name> <weight truncated to whole grains>gr", e.g. "Sierra MatchKing 175gr".
// The display and search text of a bullet, and the load name when a bullet is applied.
QString bulletLabel(const CatalogBullet& bullet);

// The coefficient and drag model a catalog entry stands for, from its own G7 and G1 BC: a G7 BC
// greater than 0 wins; otherwise the G1 BC, or 0.5 when there is none, with G1. Applying an
// entry sets exactly these, and the catalog pane shows them.
struct CatalogBallisticCoefficient {
    double coefficient = 0;
    DragModel dragModel = DragModel::G1;
};
CatalogBallisticCoefficient catalogBallisticCoefficient(std::optional<double> g7BC,
                                                        std::optional<double> g1BC);

size_t qHash(const CatalogBullet& bullet, size_t seed = 0) noexcept;
size_t qHash(const CatalogCartridge& cartridge, size_t seed = 0) noexcept;

// Decoding of the two file formats: {"bullets": [...]} and {"cartridges": [...]}. Nothing when
// the text is not such a file or any record in it is malformed (no partial list).
std::optional<std::vector<CatalogBullet>> decodeBulletsFile(const QByteArray& json);
std::optional<std::vector<CatalogCartridge>> decodeCartridgesFile(const QByteArray& json);

// One record as a compact JSON object under the same keys; an absent optional is left out.
std::string encodeJson(const CatalogBullet& bullet);
std::string encodeJson(const CatalogCartridge& cartridge);

class Catalog final : public QObject {
    Q_OBJECT
public:
    explicit Catalog(QObject* parent = nullptr);

    // The one process-wide catalog, created and loaded from the bundled files at first use
    // (thread-safe creation); it lives until the process ends.
    static Catalog& shared();

    // Every bullet / factory load of its file, in file order; empty when the file is missing,
    // unreadable or malformed.
    const std::vector<CatalogBullet>& bullets() const { return m_bullets; }
    const std::vector<CatalogCartridge>& cartridges() const { return m_cartridges; }

    // Fills bullets, then cartridges, from "bullets.json" and "cartridges.json" of `resources`;
    // each list is assigned (and changed() emitted) whether or not its file decodes, and a
    // failure of one file leaves the other unaffected.
    void load(const ResourceLookup& resources);

signals:
    void changed();

private:
    std::vector<CatalogBullet> m_bullets;
    std::vector<CatalogCartridge> m_cartridges;
};

}  // namespace kavrino
