#include "core/catalog.h"

#include "core/format.h"
#include "core/json_fields.h"
#include "core/logging.h"
#include "core/resource_lookup.h"

#include <QHashFunctions>

#include <nlohmann/json.hpp>

#include <cmath>  // std::isfinite, std::trunc
#include <type_traits>  // std::is_same_v
#include <utility>

namespace kavrino {

namespace {

using nlohmann::json;

using json_fields::read;
using json_fields::readOptional;

std::optional<CatalogBullet> decodeBullet(const json& record) {
    if (!record.is_object()) return std::nullopt;
    CatalogBullet b;
    const bool ok = read(record, "id", b.id) &&
                    read(record, "manufacturer", b.manufacturer) &&
                    read(record, "name", b.name) &&
                    read(record, "caliber", b.caliber) &&
                    read(record, "weight", b.weight) &&
                    readOptional(record, "length", b.length) &&
                    readOptional(record, "g1BC", b.g1BC) &&
                    readOptional(record, "g7BC", b.g7BC) &&
                    readOptional(record, "cd", b.cd) &&
                    readOptional(record, "type", b.type);
    if (!ok) return std::nullopt;
    return b;
}

std::optional<CatalogCartridge> decodeCartridge(const json& record) {
    if (!record.is_object()) return std::nullopt;
    CatalogCartridge c;
    const bool ok = read(record, "id", c.id) &&
                    read(record, "name", c.name) &&
                    readOptional(record, "manufacturer", c.manufacturer) &&
                    read(record, "caliber", c.caliber) &&
                    read(record, "bulletWeight", c.bulletWeight) &&
                    read(record, "muzzleVelocity", c.muzzleVelocity) &&
                    readOptional(record, "barrelLength", c.barrelLength) &&
                    readOptional(record, "g1BC", c.g1BC) &&
                    readOptional(record, "g7BC", c.g7BC);
    if (!ok) return std::nullopt;
    return c;
}

// {"<key>": [record, ...]}: every record decodes, or the whole list is refused.
template <typename Record, typename DecodeRecord>
std::optional<std::vector<Record>> decodeFile(const QByteArray& bytes, const char* key,
                                              DecodeRecord decodeRecord) {
    const json root = json::parse(bytes.cbegin(), bytes.cend(), nullptr, /*allow_exceptions=*/false);
    if (root.is_discarded() || !root.is_object()) return std::nullopt;
    const auto list = root.find(key);
    if (list == root.end() || !list->is_array()) return std::nullopt;
    std::vector<Record> records;
    records.reserve(list->size());
    for (const json& item : *list) {
        auto record = decodeRecord(item);
        if (!record) return std::nullopt;
        records.push_back(std::move(*record));
    }
    return records;
}

void putString(json& object, const char* key, const QString& value) {
    object[key] = value.toStdString();
}

template <typename T>
void putOptional(json& object, const char* key, const std::optional<T>& value) {
    if (!value) return;
    if constexpr (std::is_same_v<T, QString>)
        object[key] = value->toStdString();
    else
        object[key] = *value;
}

// Compact JSON text. Text that is not valid UTF-8 is written with replacement characters
// rather than thrown about.
std::string compactText(const json& object) {
    return object.dump(-1, ' ', false, json::error_handler_t::replace);
}

// Folds one field's hash into the running seed (the boost hash_combine mix).
template <typename T>
size_t combine(size_t seed, const T& value) {
    return seed ^ (::qHash(value, 0) + 0x9e3779b9 + (seed << 6) + (seed >> 2));
}

// An absent optional folds in a marker of its own, so it differs from any present value.
template <typename T>
size_t combine(size_t seed, const std::optional<T>& value) {
    return value ? combine(seed, *value) : combine(seed, QStringLiteral("absent"));
}

}  // namespace

QString bulletLabel(const CatalogBullet& bullet) {
    // Whole grains, truncated toward zero (168.9 gr reads 168gr). "%.0f" of an integral value
    // prints it exactly, so no integer conversion can overflow.
    return bullet.manufacturer + u' ' + bullet.name + u' ' +
           qformat("%.0fgr", std::trunc(bullet.weight) + 0.0);  // + 0.0 turns -0 into 0
}

CatalogBallisticCoefficient catalogBallisticCoefficient(std::optional<double> g7BC,
                                                        std::optional<double> g1BC) {
    if (g7BC && *g7BC > 0) return {*g7BC, DragModel::G7};
    return {g1BC.value_or(0.5), DragModel::G1};
}

size_t qHash(const CatalogBullet& b, size_t seed) noexcept {
    seed = combine(seed, b.id);
    seed = combine(seed, b.manufacturer);
    seed = combine(seed, b.name);
    seed = combine(seed, b.caliber);
    seed = combine(seed, b.weight);
    seed = combine(seed, b.length);
    seed = combine(seed, b.g1BC);
    seed = combine(seed, b.g7BC);
    seed = combine(seed, b.cd);
    return combine(seed, b.type);
}

size_t qHash(const CatalogCartridge& c, size_t seed) noexcept {
    seed = combine(seed, c.id);
    seed = combine(seed, c.name);
    seed = combine(seed, c.manufacturer);
    seed = combine(seed, c.caliber);
    seed = combine(seed, c.bulletWeight);
    seed = combine(seed, c.muzzleVelocity);
    seed = combine(seed, c.barrelLength);
    seed = combine(seed, c.g1BC);
    return combine(seed, c.g7BC);
}

std::optional<std::vector<CatalogBullet>> decodeBulletsFile(const QByteArray& json) {
    return decodeFile<CatalogBullet>(json, "bullets", decodeBullet);
}

std::optional<std::vector<CatalogCartridge>> decodeCartridgesFile(const QByteArray& json) {
    return decodeFile<CatalogCartridge>(json, "cartridges", decodeCartridge);
}

std::string encodeJson(const CatalogBullet& b) {
    json object = json::object();
    putString(object, "id", b.id);
    putString(object, "manufacturer", b.manufacturer);
    putString(object, "name", b.name);
    object["caliber"] = b.caliber;
    object["weight"] = b.weight;
    putOptional(object, "length", b.length);
    putOptional(object, "g1BC", b.g1BC);
    putOptional(object, "g7BC", b.g7BC);
    putOptional(object, "cd", b.cd);
    putOptional(object, "type", b.type);
    return compactText(object);
}

std::string encodeJson(const CatalogCartridge& c) {
    json object = json::object();
    putString(object, "id", c.id);
    putString(object, "name", c.name);
    putOptional(object, "manufacturer", c.manufacturer);
    object["caliber"] = c.caliber;
    object["bulletWeight"] = c.bulletWeight;
    object["muzzleVelocity"] = c.muzzleVelocity;
    putOptional(object, "barrelLength", c.barrelLength);
    putOptional(object, "g1BC", c.g1BC);
    putOptional(object, "g7BC", c.g7BC);
    return compactText(object);
}

Catalog::Catalog(QObject* parent) : QObject(parent) {}

Catalog& Catalog::shared() {
    // A function-local static: created and loaded once, even if two threads race for it.
    static Catalog& instance = []() -> Catalog& {
        static Catalog catalog;
        catalog.load(ResourceLookup());
        return catalog;
    }();
    return instance;
}

void Catalog::load(const ResourceLookup& resources) {
    const auto bulletBytes = resources.read(QStringLiteral("bullets.json"));
    auto bullets = bulletBytes ? decodeBulletsFile(*bulletBytes) : std::nullopt;
    if (!bullets) {
        qCWarning(lcCatalog) << "bullets.json in" << resources.folder()
                             << (bulletBytes ? "is not a bullet list" : "cannot be read") << "- the catalog has no bullets";
    }
    m_bullets = bullets ? std::move(*bullets) : std::vector<CatalogBullet>{};

    const auto cartridgeBytes = resources.read(QStringLiteral("cartridges.json"));
    auto cartridges = cartridgeBytes ? decodeCartridgesFile(*cartridgeBytes) : std::nullopt;
    if (!cartridges) {
        qCWarning(lcCatalog) << "cartridges.json in" << resources.folder()
                             << (cartridgeBytes ? "is not a factory-load list" : "cannot be read") << "- the catalog has no factory loads";
    }
    m_cartridges = cartridges ? std::move(*cartridges) : std::vector<CatalogCartridge>{};
    emit changed();  // once, with both lists in place
}

}  // namespace kavrino
