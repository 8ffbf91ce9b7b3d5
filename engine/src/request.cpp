#include "request.h"

#include "upper_case.h"

#include <array>

namespace kavrino_engine {
namespace {

using detail::JsonReader;

constexpr std::array<std::string_view, 27> kFieldNames = {
    "muzzleVelocity", "ballisticCoefficient", "dragModel",     "customCurve",      "bcBands",
    "bulletWeight",   "sightHeight",          "zeroRange",     "maxRange",         "rangeStep",
    "temperature",    "pressure",             "altitude",      "humidity",         "windSpeed",
    "windDirection",  "shootingAngle",        "includeSpinDrift", "includeCoriolis", "includeAeroJump",
    "twistRate",      "bulletDiameter",       "bulletLength",  "latitude",         "targetAzimuth",
    "mvTempSensitivity", "mvReferenceTemp",
};

int fieldIndex(std::string_view key) {
    for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
        if (kFieldNames[i] == key) return static_cast<int>(i);
    }
    return -1;
}

double* numberField(SolveRequest& r, int index) {
    switch (index) {
    case 0: return &r.muzzleVelocity;
    case 1: return &r.ballisticCoefficient;
    case 5: return &r.bulletWeight;
    case 6: return &r.sightHeight;
    case 7: return &r.zeroRange;
    case 8: return &r.maxRange;
    case 9: return &r.rangeStep;
    case 10: return &r.temperature;
    case 11: return &r.pressure;
    case 12: return &r.altitude;
    case 13: return &r.humidity;
    case 14: return &r.windSpeed;
    case 15: return &r.windDirection;
    case 16: return &r.shootingAngle;
    case 20: return &r.twistRate;
    case 21: return &r.bulletDiameter;
    case 22: return &r.bulletLength;
    case 23: return &r.latitude;
    case 24: return &r.targetAzimuth;
    case 25: return &r.mvTempSensitivity;
    case 26: return &r.mvReferenceTemp;
    default: return nullptr;
    }
}

bool* flagField(SolveRequest& r, int index) {
    switch (index) {
    case 17: return &r.includeSpinDrift;
    case 18: return &r.includeCoriolis;
    case 19: return &r.includeAeroJump;
    default: return nullptr;
    }
}

// Reads the value of field `index` by the field's type.
bool readField(JsonReader& reader, SolveRequest& r, int index) {
    if (double* number = numberField(r, index)) return reader.readF64(*number);
    if (bool* flag = flagField(r, index)) return reader.readBool(*flag);
    switch (index) {
    case 2: return reader.readString(r.dragModel);
    case 3: return reader.readOptionalPairList(r.customCurve);
    case 4: return reader.readPairList(r.bcBands);
    default: return false;
    }
}

// Object form: known keys read by type, each at most once; unknown keys' values skipped.
bool readFromObject(JsonReader& reader, SolveRequest& r) {
    std::array<bool, kFieldNames.size()> seen{};
    bool first = true;
    std::string key;
    for (;;) {
        bool has = false;
        if (!reader.hasNextKey(first, has)) return false;
        if (!has) return true;
        if (!reader.readKey(key)) return false;
        const int index = fieldIndex(key);
        if (index < 0) {
            if (!reader.parseObjectColon() || !reader.skipValue()) return false;
            continue;
        }
        if (seen[static_cast<std::size_t>(index)]) {
            reader.fail("duplicate field `" + std::string(kFieldNames[static_cast<std::size_t>(index)]) + "`");
            return false;
        }
        seen[static_cast<std::size_t>(index)] = true;
        if (!reader.parseObjectColon() || !readField(reader, r, index)) return false;
    }
}

// Array form: elements fill the fields by position; a shorter array leaves the rest at their
// defaults. More than 27 elements are caught by the closing bracket check.
bool readFromArray(JsonReader& reader, SolveRequest& r) {
    bool first = true;
    for (int index = 0; index < static_cast<int>(kFieldNames.size()); ++index) {
        bool has = false;
        if (!reader.hasNextElement(first, has)) return false;
        if (!has) return true;
        if (!readField(reader, r, index)) return false;
    }
    return true;
}

bool readRequest(JsonReader& reader, SolveRequest& r) {
    const auto b = reader.parseWhitespace();
    if (!b) {
        reader.peekError("EOF while parsing a value");
        return false;
    }
    if (*b != '[' && *b != '{') {
        reader.peekInvalidType("struct SolveRequest");
        return false;
    }
    if (!reader.beginNested()) return false;
    reader.eatChar();
    bool ok = *b == '[' ? readFromArray(reader, r) : readFromObject(reader, r);
    reader.endNested();
    if (!ok) {
        if (*b == '[') reader.endSeqAfterFailure();
        else reader.endMapAfterFailure();
    } else {
        ok = *b == '[' ? reader.endSeq() : reader.endMap();
    }
    if (!ok) reader.fixPosition();
    return ok;
}

std::vector<DragRow> toRows(const std::vector<std::pair<double, double>>& pairs) {
    std::vector<DragRow> rows;
    rows.reserve(pairs.size());
    for (const auto& [mach, cd] : pairs) rows.push_back({mach, cd});
    return rows;
}

}  // namespace

std::variant<SolveRequest, detail::ReadError> parseSolveRequest(std::string_view text) {
    JsonReader reader(text);
    SolveRequest request;
    if (!readRequest(reader, request) || !reader.end()) return reader.error();
    return request;
}

SolverInput SolveRequest::into_inputs() && {
    SolverInput in;
    in.muzzleVelocity = muzzleVelocity;
    in.ballisticCoefficient = ballisticCoefficient;
    if (detail::upperCaseEquals(dragModel, "G7")) {
        in.dragCurve.kind = DragCurve::Kind::G7;
    } else if (detail::upperCaseEquals(dragModel, "CUSTOM")) {
        in.dragCurve.kind = DragCurve::Kind::Custom;
        if (customCurve) in.dragCurve.customRows = toRows(*customCurve);
    }
    in.bcBands.reserve(bcBands.size());
    for (const auto& [velocity, bc] : bcBands) in.bcBands.push_back({velocity, bc});
    in.bulletWeight = bulletWeight;
    in.sightHeight = sightHeight;
    in.zeroRange = zeroRange;
    in.maxRange = maxRange;
    in.rangeStep = rangeStep;
    in.temperature = temperature;
    in.pressure = pressure;
    in.altitude = altitude;
    in.humidity = humidity;
    in.windSpeed = windSpeed;
    in.windDirection = windDirection;
    in.shootingAngle = shootingAngle;
    in.includeSpinDrift = includeSpinDrift;
    in.includeCoriolis = includeCoriolis;
    in.includeAeroJump = includeAeroJump;
    in.twistRate = twistRate;
    in.bulletDiameter = bulletDiameter;
    in.bulletLength = bulletLength;
    in.latitude = latitude;
    in.targetAzimuth = targetAzimuth;
    in.mvTempSensitivity = mvTempSensitivity;
    in.mvReferenceTemp = mvReferenceTemp;
    return in;
}

}  // namespace kavrino_engine
