#include "reload/reload_bundles.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

namespace kavrino {

namespace {

using nlohmann::json;

// Thrown only inside this file; each decode function turns it into "no value".
struct DecodeError {};

const json* member(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null()) return nullptr;
    return &*it;
}

const json& requiredMember(const json& object, const char* key) {
    const json* value = member(object, key);
    if (!value) throw DecodeError{};
    return *value;
}

double asDouble(const json& value) {
    if (!value.is_number()) throw DecodeError{};
    return value.get<double>();
}

// A whole number: an integer, or a float with no fraction that fits 64 bits.
std::int64_t asInt(const json& value) {
    // Unsigned first: is_number_integer() holds for unsigned values too, and reading one above
    // the 64-bit signed range as signed would wrap it to a negative number.
    if (value.is_number_unsigned()) {
        const auto u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) throw DecodeError{};
        return static_cast<std::int64_t>(u);
    }
    if (value.is_number_integer()) return value.get<std::int64_t>();
    if (value.is_number_float()) {
        const double d = value.get<double>();
        // 2^63 is exactly representable; anything at or above it does not fit.
        if (std::trunc(d) != d || d < -9223372036854775808.0 || d >= 9223372036854775808.0) throw DecodeError{};
        return static_cast<std::int64_t>(d);
    }
    throw DecodeError{};
}

bool asBool(const json& value) {
    if (!value.is_boolean()) throw DecodeError{};
    return value.get<bool>();
}

QString asString(const json& value) {
    if (!value.is_string()) throw DecodeError{};
    return QString::fromStdString(value.get_ref<const std::string&>());
}

const json& asObject(const json& value) {
    if (!value.is_object()) throw DecodeError{};
    return value;
}

const json& asArray(const json& value) {
    if (!value.is_array()) throw DecodeError{};
    return value;
}

double requiredDouble(const json& o, const char* key) { return asDouble(requiredMember(o, key)); }
std::int64_t requiredInt(const json& o, const char* key) { return asInt(requiredMember(o, key)); }
QString requiredString(const json& o, const char* key) { return asString(requiredMember(o, key)); }
bool requiredBool(const json& o, const char* key) { return asBool(requiredMember(o, key)); }

std::optional<double> optionalDouble(const json& o, const char* key) {
    const json* v = member(o, key);
    return v ? std::optional<double>(asDouble(*v)) : std::nullopt;
}
std::optional<std::int64_t> optionalInt(const json& o, const char* key) {
    const json* v = member(o, key);
    return v ? std::optional<std::int64_t>(asInt(*v)) : std::nullopt;
}
std::optional<QString> optionalString(const json& o, const char* key) {
    const json* v = member(o, key);
    return v ? std::optional<QString>(asString(*v)) : std::nullopt;
}

// The lenient keys of the parameters: anything but a number counts as missing.
std::optional<double> lenientDouble(const json& o, const char* key) {
    const json* v = member(o, key);
    if (!v || !v->is_number()) return std::nullopt;
    return v->get<double>();
}

Load decodeLoad(const json& value) {
    const json& o = asObject(value);
    Load load;
    load.id = requiredString(o, "id");
    load.cartridge = requiredString(o, "c");
    load.bulletWeightGr = optionalDouble(o, "bw");
    load.bulletDiameterIn = optionalDouble(o, "bd");
    load.powderManufacturer = optionalString(o, "pm");
    load.powder = requiredString(o, "p");
    load.startChargeGr = optionalDouble(o, "sc");
    load.maxChargeGr = optionalDouble(o, "xc");
    load.startVelocityFps = optionalDouble(o, "sv");
    load.maxVelocityFps = optionalDouble(o, "xv");
    load.startPressure = optionalDouble(o, "sp");
    load.maxPressure = optionalDouble(o, "xp");
    load.pressureUnit = optionalString(o, "pu");
    load.coalIn = optionalDouble(o, "co");
    load.caseName = optionalString(o, "ca");
    load.primer = optionalString(o, "pr");
    load.barrelLengthIn = optionalDouble(o, "bl");
    load.twist = optionalString(o, "tw");
    load.sourceIndex = requiredInt(o, "s");
    return load;
}

CaseInfo decodeCase(const json& value) {
    const json& o = asObject(value);
    CaseInfo info;
    info.id = requiredString(o, "id");
    info.name = requiredString(o, "name");
    info.barrelLengthIn = optionalDouble(o, "barrelLength_in");
    info.twist = optionalString(o, "twist");
    info.trimLengthIn = optionalDouble(o, "trimLength_in");
    info.bulletWeightMinGr = optionalDouble(o, "bulletWeightMin_gr");
    info.bulletWeightMaxGr = optionalDouble(o, "bulletWeightMax_gr");
    info.powderCount = optionalInt(o, "powderCount");
    info.loadCount = optionalInt(o, "loadCount");
    info.observedMaxPressurePsi = optionalDouble(o, "observedMaxPressure_psi");
    info.caseWaterCapacityGrH2o = optionalDouble(o, "caseWaterCapacity_gr_h2o");
    info.maxPressurePsi = optionalDouble(o, "maxPressure_psi");
    info.pressureStandard = optionalString(o, "pressureStandard");
    return info;
}

PowderParams decodeParams(const json& value) {
    const json& o = asObject(value);
    PowderParams params;
    params.kv = requiredDouble(o, "Kv");
    params.c0Gr = lenientDouble(o, "C0_gr").value_or(0.0);
    params.kp = lenientDouble(o, "Kp");
    params.b = lenientDouble(o, "b");
    params.gamma = lenientDouble(o, "gamma").value_or(1.24);
    return params;
}

Powder decodePowder(const json& value) {
    const json& o = asObject(value);
    Powder powder;
    powder.id = requiredString(o, "id");
    powder.manufacturer = optionalString(o, "manufacturer");
    powder.name = requiredString(o, "name");
    powder.burnRateRank = optionalInt(o, "burnRateRank");
    powder.type = optionalString(o, "type");
    powder.hasLoadData = requiredBool(o, "hasLoadData");
    powder.loadCount = requiredInt(o, "loadCount");
    if (const json* params = member(o, "params")) powder.params = decodeParams(*params);
    return powder;
}

template <typename Bundle, typename Body>
std::optional<Bundle> decodeFile(const QByteArray& text, Body&& body) {
    const json root = json::parse(text.constBegin(), text.constEnd(), nullptr, /*allow_exceptions=*/false);
    if (root.is_discarded()) return std::nullopt;
    try {
        Bundle bundle;
        body(asObject(root), bundle);
        return bundle;
    } catch (const DecodeError&) {
        return std::nullopt;
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

}  // namespace

std::optional<LoadBundle> decodeLoadBundle(const QByteArray& text) {
    return decodeFile<LoadBundle>(text, [](const json& o, LoadBundle& bundle) {
        bundle.version = optionalString(o, "version");
        for (const json& source : asArray(requiredMember(o, "sources"))) bundle.sources << asString(source);
        bundle.loadCount = requiredInt(o, "loadCount");
        const json& loads = asArray(requiredMember(o, "loads"));
        bundle.loads.reserve(loads.size());
        for (const json& load : loads) bundle.loads.push_back(decodeLoad(load));
    });
}

std::optional<CaseBundle> decodeCaseBundle(const QByteArray& text) {
    return decodeFile<CaseBundle>(text, [](const json& o, CaseBundle& bundle) {
        bundle.version = optionalString(o, "version");
        bundle.count = requiredInt(o, "count");
        for (const json& info : asArray(requiredMember(o, "cases"))) bundle.cases.push_back(decodeCase(info));
    });
}

std::optional<PowderBundle> decodePowderBundle(const QByteArray& text) {
    return decodeFile<PowderBundle>(text, [](const json& o, PowderBundle& bundle) {
        bundle.version = optionalString(o, "version");
        bundle.count = requiredInt(o, "count");
        for (const json& powder : asArray(requiredMember(o, "powders"))) bundle.powders.push_back(decodePowder(powder));
    });
}

}  // namespace kavrino
