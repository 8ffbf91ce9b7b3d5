#include "core/engine_reply.h"

#include "core/json_fields.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>
#include <system_error>

namespace kavrino::engine_reply {
namespace {

// A cursor over the reply that accepts only the library's layout. Every reader answers false
// at the first byte that departs from it.
class LayoutCursor {
public:
    explicit LayoutCursor(std::string_view text) : m_at(text.data()), m_end(text.data() + text.size()) {}

    bool atEnd() const { return m_at == m_end; }

    // The exact bytes of `expected`.
    bool literal(std::string_view expected) {
        if (static_cast<std::size_t>(m_end - m_at) < expected.size()) return false;
        if (std::memcmp(m_at, expected.data(), expected.size()) != 0) return false;
        m_at += expected.size();
        return true;
    }

    // A number as the library writes a finite double, or null. `isNull` tells which.
    bool numberOrNull(double& out, bool& isNull) {
        isNull = literal("null");
        return isNull || number(out);
    }

    // A string of printable ASCII without escapes (the zone and rating names).
    bool plainString(std::string& out) {
        if (!literal("\"")) return false;
        const char* start = m_at;
        while (m_at != m_end) {
            const auto c = static_cast<unsigned char>(*m_at);
            if (c == '"') {
                out.assign(start, m_at);
                ++m_at;
                return true;
            }
            if (c < 0x20 || c > 0x7e || c == '\\') return false;
            ++m_at;
        }
        return false;
    }

private:
    // JSON's number grammar, -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?, restricted to
    // tokens with a fraction or an exponent: a JSON reader takes those as doubles, correctly
    // rounded. An integer token would be read as an integer first (and "-0" then loses its
    // sign), so it is left to the document reader, as is a value out of range.
    bool number(double& out) {
        const char* start = m_at;
        const char* p = m_at;
        const bool negative = p != m_end && *p == '-';
        if (negative) ++p;
        if (p == m_end || !isDigit(*p)) return false;
        // The digits as one integer while it stays exact in a double, and the power of ten
        // that scales it.
        std::uint64_t mantissa = 0;
        int digits = 0;
        int exponent = 0;
        const auto take = [&](char c) {
            if (mantissa != 0 || c != '0') ++digits;
            if (digits <= 19) mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
        };
        if (*p == '0') {
            ++p;
        } else {
            while (p != m_end && isDigit(*p)) take(*p++);
        }
        bool isFloat = false;
        if (p != m_end && *p == '.') {
            ++p;
            if (p == m_end || !isDigit(*p)) return false;
            while (p != m_end && isDigit(*p)) {
                take(*p++);
                --exponent;
            }
            isFloat = true;
        }
        if (p != m_end && (*p == 'e' || *p == 'E')) {
            ++p;
            const bool negativeExponent = p != m_end && *p == '-';
            if (p != m_end && (*p == '+' || *p == '-')) ++p;
            if (p == m_end || !isDigit(*p)) return false;
            int written = 0;
            while (p != m_end && isDigit(*p)) {
                if (written < 100000) written = written * 10 + (*p - '0');
                ++p;
            }
            exponent += negativeExponent ? -written : written;
            isFloat = true;
        }
        if (!isFloat) return false;

        // Exact fast path: an integer below 2^53 and a power of ten up to 10^22 are both exact
        // doubles, so one IEEE multiplication or division rounds the decimal value correctly,
        // exactly as a correctly rounding reader does. The library's figures (a few decimals)
        // all take it.
        constexpr std::uint64_t exactIntegerLimit = std::uint64_t{1} << 53;
        if (digits <= 19 && mantissa <= exactIntegerLimit && exponent >= -22 && exponent <= 22) {
            static constexpr double powersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
            const double m = static_cast<double>(mantissa);
            const double value = exponent < 0 ? m / powersOfTen[-exponent] : m * powersOfTen[exponent];
            out = negative ? -value : value;
            m_at = p;
            return true;
        }
        double value = 0;
        const std::from_chars_result result = std::from_chars(start, p, value);
        if (result.ec != std::errc() || result.ptr != p) return false;
        out = value;
        m_at = p;
        return true;
    }

    static bool isDigit(char c) { return c >= '0' && c <= '9'; }

    const char* m_at;
    const char* m_end;
};

// One row: `"key":number` for each field in the library's order, then the zone. A null number
// is remembered in `complete`; the row is still read to its end so the whole layout is checked.
bool readPoint(LayoutCursor& in, EngineBridge::Point& p, bool& complete) {
    struct Field {
        std::string_view prefix;  // the key with its quotes, colon and the separator before it
        double EngineBridge::Point::*member;
    };
    static constexpr Field fields[] = {
        {"{\"range\":", &EngineBridge::Point::range},
        {",\"velocity\":", &EngineBridge::Point::velocity},
        {",\"mach\":", &EngineBridge::Point::mach},
        {",\"time\":", &EngineBridge::Point::time},
        {",\"energy\":", &EngineBridge::Point::energy},
        {",\"dropInches\":", &EngineBridge::Point::dropInches},
        {",\"dropMoa\":", &EngineBridge::Point::dropMoa},
        {",\"dropMil\":", &EngineBridge::Point::dropMil},
        {",\"windInches\":", &EngineBridge::Point::windInches},
        {",\"windMoa\":", &EngineBridge::Point::windMoa},
        {",\"windMil\":", &EngineBridge::Point::windMil},
    };
    for (const Field& field : fields) {
        bool isNull = false;
        if (!in.literal(field.prefix) || !in.numberOrNull(p.*field.member, isNull)) return false;
        if (isNull) complete = false;
    }
    return in.literal(",\"zone\":") && in.plainString(p.zone) && in.literal("}");
}

bool readOptionalRange(LayoutCursor& in, std::optional<double>& out) {
    double value = 0;
    bool isNull = false;
    if (!in.numberOrNull(value, isNull)) return false;
    if (isNull) out.reset();
    else out = value;
    return true;
}

using json = nlohmann::json;
using json_fields::read;
using json_fields::readOptional;

std::optional<EngineBridge::Point> documentPoint(const json& row) {
    if (!row.is_object()) return std::nullopt;
    EngineBridge::Point p;
    const bool complete = read(row, "range", p.range) && read(row, "velocity", p.velocity) &&
                          read(row, "mach", p.mach) && read(row, "time", p.time) &&
                          read(row, "energy", p.energy) && read(row, "dropInches", p.dropInches) &&
                          read(row, "dropMoa", p.dropMoa) && read(row, "dropMil", p.dropMil) &&
                          read(row, "windInches", p.windInches) && read(row, "windMoa", p.windMoa) &&
                          read(row, "windMil", p.windMil) && read(row, "zone", p.zone);
    if (!complete) return std::nullopt;
    return p;
}

std::optional<EngineBridge::Solution> documentSolution(const json& reply) {
    if (!reply.is_object()) return std::nullopt;
    EngineBridge::Solution solution;

    const auto points = reply.find("points");
    if (points == reply.end() || !points->is_array()) return std::nullopt;
    solution.points.reserve(points->size());
    for (const json& row : *points) {
        std::optional<EngineBridge::Point> point = documentPoint(row);
        if (!point) return std::nullopt;
        solution.points.push_back(std::move(*point));
    }

    const auto stability = reply.find("stability");
    if (stability == reply.end() || !stability->is_object()) return std::nullopt;
    if (!read(*stability, "sg", solution.stability.sg)) return std::nullopt;
    if (!read(*stability, "rating", solution.stability.rating)) return std::nullopt;

    if (!readOptional(reply, "transonicRange", solution.transonicRange)) return std::nullopt;
    if (!readOptional(reply, "subsonicRange", solution.subsonicRange)) return std::nullopt;
    return solution;
}

}  // namespace

LayoutReading readLayout(std::string_view reply) {
    LayoutCursor in(reply);
    EngineBridge::Solution solution;
    bool complete = true;  // no required number was null
    if (!in.literal("{\"points\":[")) return {};
    if (!in.literal("]")) {
        // Rows take 180 to 200 bytes: reserving from the length saves the vector's regrowth.
        solution.points.reserve(reply.size() / 160 + 1);
        do {
            if (!readPoint(in, solution.points.emplace_back(), complete)) return {};
        } while (in.literal(","));
        if (!in.literal("]")) return {};
    }
    bool sgIsNull = false;
    if (!in.literal(",\"stability\":{\"sg\":") || !in.numberOrNull(solution.stability.sg, sgIsNull)) return {};
    if (sgIsNull) complete = false;
    if (!in.literal(",\"rating\":") || !in.plainString(solution.stability.rating) || !in.literal("}")) return {};
    if (!in.literal(",\"transonicRange\":") || !readOptionalRange(in, solution.transonicRange)) return {};
    if (!in.literal(",\"subsonicRange\":") || !readOptionalRange(in, solution.subsonicRange)) return {};
    if (!in.literal("}") || !in.atEnd()) return {};

    LayoutReading reading;
    reading.recognised = true;
    if (complete) reading.solution = std::move(solution);
    return reading;
}

std::optional<EngineBridge::Solution> readDocument(std::string_view reply) {
    try {
        // Without exceptions: malformed text, including text that is not UTF-8, is discarded.
        const json document = json::parse(reply.begin(), reply.end(), nullptr, false);
        if (document.is_discarded()) return std::nullopt;
        return documentSolution(document);
    } catch (...) {  // only an allocation failure lands here; it is a failed solve like any other
        return std::nullopt;
    }
}

}  // namespace kavrino::engine_reply
