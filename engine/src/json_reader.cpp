#include "json_reader.h"

#include "debug_string.h"
#include "float_text.h"

#include <algorithm>  // std::min
#include <cmath>      // std::isinf

namespace kavrino_engine::detail {
namespace {

// Exact powers of ten 1e0 .. 1e308, the factors of the decimal-to-double conversion.
constexpr double kPow10[] = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22, 1e23,
    1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31, 1e32, 1e33, 1e34, 1e35,
    1e36, 1e37, 1e38, 1e39, 1e40, 1e41, 1e42, 1e43, 1e44, 1e45, 1e46, 1e47,
    1e48, 1e49, 1e50, 1e51, 1e52, 1e53, 1e54, 1e55, 1e56, 1e57, 1e58, 1e59,
    1e60, 1e61, 1e62, 1e63, 1e64, 1e65, 1e66, 1e67, 1e68, 1e69, 1e70, 1e71,
    1e72, 1e73, 1e74, 1e75, 1e76, 1e77, 1e78, 1e79, 1e80, 1e81, 1e82, 1e83,
    1e84, 1e85, 1e86, 1e87, 1e88, 1e89, 1e90, 1e91, 1e92, 1e93, 1e94, 1e95,
    1e96, 1e97, 1e98, 1e99, 1e100, 1e101, 1e102, 1e103, 1e104, 1e105, 1e106, 1e107,
    1e108, 1e109, 1e110, 1e111, 1e112, 1e113, 1e114, 1e115, 1e116, 1e117, 1e118, 1e119,
    1e120, 1e121, 1e122, 1e123, 1e124, 1e125, 1e126, 1e127, 1e128, 1e129, 1e130, 1e131,
    1e132, 1e133, 1e134, 1e135, 1e136, 1e137, 1e138, 1e139, 1e140, 1e141, 1e142, 1e143,
    1e144, 1e145, 1e146, 1e147, 1e148, 1e149, 1e150, 1e151, 1e152, 1e153, 1e154, 1e155,
    1e156, 1e157, 1e158, 1e159, 1e160, 1e161, 1e162, 1e163, 1e164, 1e165, 1e166, 1e167,
    1e168, 1e169, 1e170, 1e171, 1e172, 1e173, 1e174, 1e175, 1e176, 1e177, 1e178, 1e179,
    1e180, 1e181, 1e182, 1e183, 1e184, 1e185, 1e186, 1e187, 1e188, 1e189, 1e190, 1e191,
    1e192, 1e193, 1e194, 1e195, 1e196, 1e197, 1e198, 1e199, 1e200, 1e201, 1e202, 1e203,
    1e204, 1e205, 1e206, 1e207, 1e208, 1e209, 1e210, 1e211, 1e212, 1e213, 1e214, 1e215,
    1e216, 1e217, 1e218, 1e219, 1e220, 1e221, 1e222, 1e223, 1e224, 1e225, 1e226, 1e227,
    1e228, 1e229, 1e230, 1e231, 1e232, 1e233, 1e234, 1e235, 1e236, 1e237, 1e238, 1e239,
    1e240, 1e241, 1e242, 1e243, 1e244, 1e245, 1e246, 1e247, 1e248, 1e249, 1e250, 1e251,
    1e252, 1e253, 1e254, 1e255, 1e256, 1e257, 1e258, 1e259, 1e260, 1e261, 1e262, 1e263,
    1e264, 1e265, 1e266, 1e267, 1e268, 1e269, 1e270, 1e271, 1e272, 1e273, 1e274, 1e275,
    1e276, 1e277, 1e278, 1e279, 1e280, 1e281, 1e282, 1e283, 1e284, 1e285, 1e286, 1e287,
    1e288, 1e289, 1e290, 1e291, 1e292, 1e293, 1e294, 1e295, 1e296, 1e297, 1e298, 1e299,
    1e300, 1e301, 1e302, 1e303, 1e304, 1e305, 1e306, 1e307, 1e308,
};
constexpr std::size_t kPow10Count = sizeof kPow10 / sizeof kPow10[0];

// True when a * 10 + b would exceed `max`.
template <typename T> bool overflows(T a, T b, T max) { return a >= max / 10 && (a > max / 10 || b > max % 10); }

bool isDigit(std::uint8_t c) { return c >= '0' && c <= '9'; }

int hexValue(std::uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::int32_t saturate(std::int64_t value) {
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<std::int32_t>(value);
}

constexpr const char* kEofValue = "EOF while parsing a value";
constexpr const char* kEofString = "EOF while parsing a string";
constexpr const char* kInvalidNumber = "invalid number";
constexpr const char* kOutOfRange = "number out of range";

}  // namespace

std::string ReadError::message() const {
    return description + " at line " + std::to_string(line) + " column " + std::to_string(column);
}

// ---- positions and errors

void JsonReader::positionAt(std::size_t index, std::size_t& line, std::size_t& column) const {
    const std::string_view before = m_text.substr(0, index);
    const std::size_t lastNewline = before.rfind('\n');
    const std::size_t startOfLine = lastNewline == std::string_view::npos ? 0 : lastNewline + 1;
    line = 1;
    for (std::size_t i = 0; i < startOfLine; ++i) {
        if (m_text[i] == '\n') ++line;
    }
    column = index - startOfLine;
}

void JsonReader::error(std::string description) {
    m_error = {std::move(description), 0, 0};
    positionAt(m_index, m_error.line, m_error.column);
}

void JsonReader::peekError(std::string description) {
    m_error = {std::move(description), 0, 0};
    positionAt(std::min(m_text.size(), m_index + 1), m_error.line, m_error.column);
}

void JsonReader::fail(std::string description) { m_error = {std::move(description), 0, 0}; }

void JsonReader::fixPosition() {
    if (m_error.line == 0) positionAt(m_index, m_error.line, m_error.column);
}

// ---- structure

std::optional<std::uint8_t> JsonReader::parseWhitespace() {
    for (;;) {
        const auto b = peek();
        if (b && (*b == ' ' || *b == '\n' || *b == '\t' || *b == '\r')) {
            eatChar();
            continue;
        }
        return b;
    }
}

bool JsonReader::beginNested() {
    --m_remainingDepth;
    if (m_remainingDepth == 0) {
        peekError("recursion limit exceeded");
        return false;
    }
    return true;
}

bool JsonReader::hasNextElement(bool& first, bool& has) {
    const auto b = parseWhitespace();
    if (!b) {
        peekError("EOF while parsing a list");
        return false;
    }
    if (*b == ']') {
        has = false;
        return true;
    }
    if (first) {
        first = false;
        has = true;
        return true;
    }
    if (*b != ',') {
        peekError("expected `,` or `]`");
        return false;
    }
    eatChar();
    const auto after = parseWhitespace();
    if (after == ']') {
        peekError("trailing comma");
        return false;
    }
    if (!after) {
        peekError(kEofValue);
        return false;
    }
    has = true;
    return true;
}

bool JsonReader::hasNextKey(bool& first, bool& has) {
    const auto b = parseWhitespace();
    if (!b) {
        peekError("EOF while parsing an object");
        return false;
    }
    if (*b == '}') {
        has = false;
        return true;
    }
    if (first) {
        first = false;
        if (*b != '"') {
            peekError("key must be a string");
            return false;
        }
        has = true;
        return true;
    }
    if (*b != ',') {
        peekError("expected `,` or `}`");
        return false;
    }
    eatChar();
    const auto after = parseWhitespace();
    if (after == '"') {
        has = true;
        return true;
    }
    if (after == '}') peekError("trailing comma");
    else if (after) peekError("key must be a string");
    else peekError(kEofValue);
    return false;
}

bool JsonReader::readKey(std::string& out) {
    eatChar();
    out.clear();
    return parseStr(out);
}

bool JsonReader::parseObjectColon() {
    const auto b = parseWhitespace();
    if (b == ':') {
        eatChar();
        return true;
    }
    peekError(b ? "expected `:`" : "EOF while parsing an object");
    return false;
}

bool JsonReader::endSeq() {
    const auto b = parseWhitespace();
    if (b == ']') {
        eatChar();
        return true;
    }
    if (b == ',') {
        eatChar();
        peekError(parseWhitespace() == ']' ? "trailing comma" : "trailing characters");
        return false;
    }
    peekError(b ? "trailing characters" : "EOF while parsing a list");
    return false;
}

bool JsonReader::endMap() {
    const auto b = parseWhitespace();
    if (b == '}') {
        eatChar();
        return true;
    }
    if (b == ',') peekError("trailing comma");
    else if (b) peekError("trailing characters");
    else peekError("EOF while parsing an object");
    return false;
}

void JsonReader::endSeqAfterFailure() {
    ReadError kept = m_error;
    endSeq();
    m_error = std::move(kept);
}

void JsonReader::endMapAfterFailure() {
    ReadError kept = m_error;
    endMap();
    m_error = std::move(kept);
}

bool JsonReader::end() {
    if (parseWhitespace()) {
        peekError("trailing characters");
        return false;
    }
    return true;
}

bool JsonReader::parseIdent(std::string_view rest) {
    for (const char expected : rest) {
        const auto b = next();
        if (!b) {
            error(kEofValue);
            return false;
        }
        if (*b != static_cast<std::uint8_t>(expected)) {
            error("expected ident");
            return false;
        }
    }
    return true;
}

void JsonReader::peekInvalidType(std::string_view expected) {
    std::string found;
    const std::uint8_t b = peekOrNull();
    if (b == 'n') {
        eatChar();
        if (!parseIdent("ull")) return;
        found = "null";
    } else if (b == 't') {
        eatChar();
        if (!parseIdent("rue")) return;
        found = "boolean `true`";
    } else if (b == 'f') {
        eatChar();
        if (!parseIdent("alse")) return;
        found = "boolean `false`";
    } else if (b == '-' || isDigit(b)) {
        if (b == '-') eatChar();
        ParserNumber number;
        if (!parseInteger(b != '-', number)) return;
        found = number.describe();
    } else if (b == '"') {
        eatChar();
        std::string text;
        if (!parseStr(text)) return;
        found = "string " + debugQuoted(text);
    } else if (b == '[') {
        found = "sequence";
    } else if (b == '{') {
        found = "map";
    } else {
        peekError("expected value");
        return;
    }
    fail("invalid type: " + found + ", expected " + std::string(expected));
    fixPosition();
}

// ---- typed values

bool JsonReader::readF64(double& out) {
    const auto b = parseWhitespace();
    if (!b) {
        peekError(kEofValue);
        return false;
    }
    ParserNumber number;
    if (*b == '-') {
        eatChar();
        if (!parseInteger(false, number)) return false;
    } else if (isDigit(*b)) {
        if (!parseInteger(true, number)) return false;
    } else {
        peekInvalidType("f64");
        return false;
    }
    out = number.toDouble();
    return true;
}

bool JsonReader::readBool(bool& out) {
    const auto b = parseWhitespace();
    if (!b) {
        peekError(kEofValue);
        return false;
    }
    if (*b == 't') {
        eatChar();
        if (!parseIdent("rue")) return false;
        out = true;
        return true;
    }
    if (*b == 'f') {
        eatChar();
        if (!parseIdent("alse")) return false;
        out = false;
        return true;
    }
    peekInvalidType("a boolean");
    return false;
}

bool JsonReader::readString(std::string& out) {
    const auto b = parseWhitespace();
    if (!b) {
        peekError(kEofValue);
        return false;
    }
    if (*b != '"') {
        peekInvalidType("a string");
        return false;
    }
    eatChar();
    out.clear();
    return parseStr(out);
}

bool JsonReader::readPair(NumberPair& out) {
    const auto b = parseWhitespace();
    if (!b) {
        peekError(kEofValue);
        return false;
    }
    if (*b != '[') {
        peekInvalidType("a tuple of size 2");
        return false;
    }
    if (!beginNested()) return false;
    eatChar();
    bool ok = true;
    bool first = true;
    double* parts[] = {&out.first, &out.second};
    for (std::size_t i = 0; i < 2 && ok; ++i) {
        bool has = false;
        ok = hasNextElement(first, has);
        if (ok && !has) {
            fail("invalid length " + std::to_string(i) + ", expected a tuple of size 2");
            ok = false;
        }
        if (ok) ok = readF64(*parts[i]);
    }
    endNested();
    if (!ok) endSeqAfterFailure();
    else ok = endSeq();
    if (!ok) fixPosition();
    return ok;
}

bool JsonReader::readPairList(std::vector<NumberPair>& out) {
    const auto b = parseWhitespace();
    if (!b) {
        peekError(kEofValue);
        return false;
    }
    if (*b != '[') {
        peekInvalidType("a sequence");
        return false;
    }
    if (!beginNested()) return false;
    eatChar();
    out.clear();
    bool ok = true;
    bool first = true;
    for (;;) {
        bool has = false;
        ok = hasNextElement(first, has);
        if (!ok || !has) break;
        NumberPair pair;
        ok = readPair(pair);
        if (!ok) break;
        out.push_back(pair);
    }
    endNested();
    if (!ok) endSeqAfterFailure();
    else ok = endSeq();
    if (!ok) fixPosition();
    return ok;
}

bool JsonReader::readOptionalPairList(std::optional<std::vector<NumberPair>>& out) {
    if (parseWhitespace() == 'n') {
        eatChar();
        if (!parseIdent("ull")) return false;
        out.reset();
        return true;
    }
    std::vector<NumberPair> pairs;
    if (!readPairList(pairs)) return false;
    out = std::move(pairs);
    return true;
}

// ---- numbers

double JsonReader::ParserNumber::toDouble() const {
    switch (kind) {
    case Kind::F64: return f64;
    case Kind::I64: return static_cast<double>(i64);
    case Kind::U64: break;
    }
    return static_cast<double>(u64);
}

std::string JsonReader::ParserNumber::describe() const {
    switch (kind) {
    case Kind::F64: {
        std::string text = "floating point `";
        appendPlainFloat(text, f64);
        return text + "`";
    }
    case Kind::I64: return "integer `" + std::to_string(i64) + "`";
    case Kind::U64: break;
    }
    return "integer `" + std::to_string(u64) + "`";
}

bool JsonReader::parseInteger(bool positive, ParserNumber& out) {
    const auto first = next();
    if (!first) {
        error(kEofValue);
        return false;
    }
    if (*first == '0') {
        // Only one leading zero.
        if (isDigit(peekOrNull())) {
            peekError(kInvalidNumber);
            return false;
        }
        return parseNumber(positive, 0, out);
    }
    if (*first < '1' || *first > '9') {
        error(kInvalidNumber);
        return false;
    }
    std::uint64_t significand = *first - '0';
    for (;;) {
        const std::uint8_t c = peekOrNull();
        if (!isDigit(c)) return parseNumber(positive, significand, out);
        const std::uint64_t digit = c - '0';
        if (overflows<std::uint64_t>(significand, digit, UINT64_MAX)) {
            // Too long for an integer: carry on as a float from the digits so far.
            out.kind = ParserNumber::Kind::F64;
            return parseLongInteger(positive, significand, out.f64);
        }
        eatChar();
        significand = significand * 10 + digit;
    }
}

bool JsonReader::parseNumber(bool positive, std::uint64_t significand, ParserNumber& out) {
    const std::uint8_t c = peekOrNull();
    if (c == '.') {
        out.kind = ParserNumber::Kind::F64;
        return parseDecimal(positive, significand, 0, out.f64);
    }
    if (c == 'e' || c == 'E') {
        out.kind = ParserNumber::Kind::F64;
        return parseExponent(positive, significand, 0, out.f64);
    }
    if (positive) {
        out.kind = ParserNumber::Kind::U64;
        out.u64 = significand;
        return true;
    }
    // Negation in two's complement; a result that is not negative (−0, or beyond the i64
    // range) becomes a float.
    const std::int64_t negated = static_cast<std::int64_t>(0 - significand);
    if (negated >= 0) {
        out.kind = ParserNumber::Kind::F64;
        out.f64 = -static_cast<double>(significand);
    } else {
        out.kind = ParserNumber::Kind::I64;
        out.i64 = negated;
    }
    return true;
}

bool JsonReader::parseLongInteger(bool positive, std::uint64_t significand, double& out) {
    std::int32_t exponent = 0;
    for (;;) {
        const std::uint8_t c = peekOrNull();
        if (isDigit(c)) {
            eatChar();
            ++exponent;  // digits past the 64-bit significand only scale it
        } else if (c == '.') {
            return parseDecimal(positive, significand, exponent, out);
        } else if (c == 'e' || c == 'E') {
            return parseExponent(positive, significand, exponent, out);
        } else {
            return f64FromParts(positive, significand, exponent, out);
        }
    }
}

bool JsonReader::parseDecimal(bool positive, std::uint64_t significand, std::int32_t exponentBeforePoint,
                              double& out) {
    eatChar();  // '.'
    std::int32_t exponentAfterPoint = 0;
    for (;;) {
        const std::uint8_t c = peekOrNull();
        if (!isDigit(c)) break;
        const std::uint64_t digit = c - '0';
        if (overflows<std::uint64_t>(significand, digit, UINT64_MAX)) {
            return parseDecimalOverflow(positive, significand, exponentBeforePoint + exponentAfterPoint, out);
        }
        eatChar();
        significand = significand * 10 + digit;
        --exponentAfterPoint;
    }
    if (exponentAfterPoint == 0) {
        peekError(peek() ? kInvalidNumber : kEofValue);  // no digit after the point
        return false;
    }
    const std::int32_t exponent = exponentBeforePoint + exponentAfterPoint;
    const std::uint8_t c = peekOrNull();
    if (c == 'e' || c == 'E') return parseExponent(positive, significand, exponent, out);
    return f64FromParts(positive, significand, exponent, out);
}

bool JsonReader::parseDecimalOverflow(bool positive, std::uint64_t significand, std::int32_t exponent,
                                      double& out) {
    // Further fraction digits cannot change the 64-bit significand: they are dropped.
    while (isDigit(peekOrNull())) eatChar();
    const std::uint8_t c = peekOrNull();
    if (c == 'e' || c == 'E') return parseExponent(positive, significand, exponent, out);
    return f64FromParts(positive, significand, exponent, out);
}

bool JsonReader::parseExponent(bool positive, std::uint64_t significand, std::int32_t startingExponent,
                               double& out) {
    eatChar();  // 'e' or 'E'
    bool positiveExponent = true;
    const std::uint8_t sign = peekOrNull();
    if (sign == '+') {
        eatChar();
    } else if (sign == '-') {
        eatChar();
        positiveExponent = false;
    }
    const auto first = next();
    if (!first) {
        error(kEofValue);
        return false;
    }
    if (!isDigit(*first)) {
        error(kInvalidNumber);
        return false;
    }
    std::int32_t exponent = *first - '0';
    for (;;) {
        const std::uint8_t c = peekOrNull();
        if (!isDigit(c)) break;
        eatChar();
        const std::int32_t digit = c - '0';
        if (overflows<std::int32_t>(exponent, digit, INT32_MAX)) {
            return parseExponentOverflow(positive, significand == 0, positiveExponent, out);
        }
        exponent = exponent * 10 + digit;
    }
    const std::int32_t finalExponent =
        positiveExponent ? saturate(std::int64_t{startingExponent} + exponent)
                         : saturate(std::int64_t{startingExponent} - exponent);
    return f64FromParts(positive, significand, finalExponent, out);
}

bool JsonReader::parseExponentOverflow(bool positive, bool zeroSignificand, bool positiveExponent, double& out) {
    if (!zeroSignificand && positiveExponent) {
        error(kOutOfRange);  // rather than infinity
        return false;
    }
    while (isDigit(peekOrNull())) eatChar();
    out = positive ? 0.0 : -0.0;
    return true;
}

// The significand converted to double, then scaled by one power of ten (in steps of 1e308 for
// tiny values). This is the reader's own fast conversion: exact for significands up to 2^53 with
// exponents within ±22, and otherwise it may differ from the nearest double in the last bit.
// Replies must match it, so it is reproduced as is rather than replaced by a correctly rounded
// conversion.
bool JsonReader::f64FromParts(bool positive, std::uint64_t significand, std::int32_t exponent, double& out) {
    double f = static_cast<double>(significand);
    for (;;) {
        const std::int64_t wide = exponent;
        const std::uint64_t magnitude = static_cast<std::uint64_t>(wide < 0 ? -wide : wide);
        if (magnitude < kPow10Count) {
            if (exponent >= 0) {
                f *= kPow10[magnitude];
                if (std::isinf(f)) {
                    error(kOutOfRange);
                    return false;
                }
            } else {
                f /= kPow10[magnitude];
            }
            break;
        }
        if (f == 0.0) break;
        if (exponent >= 0) {
            error(kOutOfRange);
            return false;
        }
        f /= 1e308;
        exponent += 308;
    }
    out = positive ? f : -f;
    return true;
}

// ---- strings

void JsonReader::skipToEscape() {
    while (m_index < m_text.size()) {
        const auto c = static_cast<std::uint8_t>(m_text[m_index]);
        if (c == '"' || c == '\\' || c < 0x20) return;
        ++m_index;
    }
}

bool JsonReader::parseStr(std::string& out) {
    std::size_t start = m_index;
    for (;;) {
        skipToEscape();
        if (m_index == m_text.size()) {
            error(kEofString);
            return false;
        }
        const auto c = static_cast<std::uint8_t>(m_text[m_index]);
        if (c == '"') {
            out.append(m_text, start, m_index - start);
            ++m_index;
            return true;
        }
        if (c == '\\') {
            out.append(m_text, start, m_index - start);
            ++m_index;
            if (!parseEscape(out)) return false;
            start = m_index;
            continue;
        }
        ++m_index;
        error("control character (\\u0000-\\u001F) found while parsing a string");
        return false;
    }
}

bool JsonReader::parseEscape(std::string& out) {
    const auto c = next();
    if (!c) {
        error(kEofString);
        return false;
    }
    switch (*c) {
    case '"': out += '"'; return true;
    case '\\': out += '\\'; return true;
    case '/': out += '/'; return true;
    case 'b': out += '\b'; return true;
    case 'f': out += '\f'; return true;
    case 'n': out += '\n'; return true;
    case 'r': out += '\r'; return true;
    case 't': out += '\t'; return true;
    case 'u': return parseUnicodeEscape(out);
    default: error("invalid escape"); return false;
    }
}

bool JsonReader::parseUnicodeEscape(std::string& out) {
    std::uint16_t n = 0;
    if (!decodeHexEscape(n)) return false;
    if (n >= 0xDC00 && n <= 0xDFFF) {
        error("lone leading surrogate in hex escape");  // a trailing surrogate on its own
        return false;
    }
    if (n < 0xD800 || n > 0xDBFF) {
        appendUtf8(out, n);
        return true;
    }
    // A leading surrogate must be followed by \u and a trailing surrogate.
    for (const std::uint8_t expected : {std::uint8_t{'\\'}, std::uint8_t{'u'}}) {
        const auto c = peek();
        if (!c) {
            error(kEofString);
            return false;
        }
        ++m_index;
        if (*c != expected) {
            error("unexpected end of hex escape");
            return false;
        }
    }
    std::uint16_t n2 = 0;
    if (!decodeHexEscape(n2)) return false;
    if (n2 < 0xDC00 || n2 > 0xDFFF) {
        error("lone leading surrogate in hex escape");
        return false;
    }
    appendUtf8(out, ((static_cast<std::uint32_t>(n) - 0xD800) << 10 | (static_cast<std::uint32_t>(n2) - 0xDC00)) +
                        0x10000);
    return true;
}

bool JsonReader::decodeHexEscape(std::uint16_t& out) {
    if (m_text.size() - m_index < 4) {
        m_index = m_text.size();
        error(kEofString);
        return false;
    }
    int value = 0;
    bool valid = true;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexValue(static_cast<std::uint8_t>(m_text[m_index + i]));
        if (digit < 0) valid = false;
        value = value << 4 | (digit & 0xF);
    }
    m_index += 4;
    if (!valid) {
        error("invalid escape");
        return false;
    }
    out = static_cast<std::uint16_t>(value);
    return true;
}

bool JsonReader::ignoreStr() {
    for (;;) {
        skipToEscape();
        if (m_index == m_text.size()) {
            error(kEofString);
            return false;
        }
        const auto c = static_cast<std::uint8_t>(m_text[m_index]);
        if (c == '"') {
            ++m_index;
            return true;
        }
        if (c != '\\') {
            error("control character (\\u0000-\\u001F) found while parsing a string");
            return false;
        }
        ++m_index;
        if (!ignoreEscape()) return false;
    }
}

bool JsonReader::ignoreEscape() {
    const auto c = next();
    if (!c) {
        error(kEofString);
        return false;
    }
    switch (*c) {
    case '"': case '\\': case '/': case 'b': case 'f': case 'n': case 'r': case 't': return true;
    case 'u': {
        std::uint16_t ignored = 0;
        return decodeHexEscape(ignored);  // any code unit, paired or not
    }
    default: error("invalid escape"); return false;
    }
}

// ---- skipping

bool JsonReader::ignoreInteger() {
    const std::uint8_t first = nextOrNull();
    if (first == '0') {
        if (isDigit(peekOrNull())) {
            peekError(kInvalidNumber);
            return false;
        }
    } else if (first >= '1' && first <= '9') {
        while (isDigit(peekOrNull())) eatChar();
    } else {
        error(kInvalidNumber);
        return false;
    }
    const std::uint8_t c = peekOrNull();
    if (c == '.') return ignoreDecimal();
    if (c == 'e' || c == 'E') return ignoreExponent();
    return true;
}

bool JsonReader::ignoreDecimal() {
    eatChar();
    bool atLeastOneDigit = false;
    while (isDigit(peekOrNull())) {
        eatChar();
        atLeastOneDigit = true;
    }
    if (!atLeastOneDigit) {
        peekError(kInvalidNumber);
        return false;
    }
    const std::uint8_t c = peekOrNull();
    if (c == 'e' || c == 'E') return ignoreExponent();
    return true;
}

bool JsonReader::ignoreExponent() {
    eatChar();
    const std::uint8_t sign = peekOrNull();
    if (sign == '+' || sign == '-') eatChar();
    if (!isDigit(nextOrNull())) {
        error(kInvalidNumber);
        return false;
    }
    while (isDigit(peekOrNull())) eatChar();
    return true;
}

// Skips one value of any shape. Open containers are kept on an explicit stack of their opening
// brackets instead of the call stack, so nesting depth costs one byte each and is not limited.
bool JsonReader::skipValue() {
    std::string stack;
    std::optional<std::uint8_t> enclosing;
    for (;;) {
        const auto peeked = parseWhitespace();
        if (!peeked) {
            peekError(kEofValue);
            return false;
        }
        std::optional<std::uint8_t> opened;
        switch (*peeked) {
        case 'n':
            eatChar();
            if (!parseIdent("ull")) return false;
            break;
        case 't':
            eatChar();
            if (!parseIdent("rue")) return false;
            break;
        case 'f':
            eatChar();
            if (!parseIdent("alse")) return false;
            break;
        case '-':
            eatChar();
            if (!ignoreInteger()) return false;
            break;
        case '0': case '1': case '2': case '3': case '4': case '5': case '6': case '7': case '8': case '9':
            if (!ignoreInteger()) return false;
            break;
        case '"':
            eatChar();
            if (!ignoreStr()) return false;
            break;
        case '[':
        case '{':
            if (enclosing) stack += static_cast<char>(*enclosing);
            enclosing.reset();
            eatChar();
            opened = *peeked;
            break;
        default: peekError("expected value"); return false;
        }

        bool acceptComma = false;
        std::uint8_t frame = 0;
        if (opened) {
            frame = *opened;
        } else if (enclosing) {
            acceptComma = true;
            frame = *enclosing;
            enclosing.reset();
        } else if (!stack.empty()) {
            acceptComma = true;
            frame = static_cast<std::uint8_t>(stack.back());
            stack.pop_back();
        } else {
            return true;  // a scalar at the top: done
        }

        // Close as many containers as end here, then stop at a comma or at a new element.
        for (;;) {
            const auto b = parseWhitespace();
            if (!b) {
                peekError(frame == '[' ? "EOF while parsing a list" : "EOF while parsing an object");
                return false;
            }
            if (*b == ',' && acceptComma) {
                eatChar();
                break;
            }
            const bool closes = (*b == ']' && frame == '[') || (*b == '}' && frame == '{');
            if (!closes) {
                if (acceptComma) {
                    peekError(frame == '[' ? "expected `,` or `]`" : "expected `,` or `}`");
                    return false;
                }
                break;
            }
            eatChar();
            if (stack.empty()) return true;
            frame = static_cast<std::uint8_t>(stack.back());
            stack.pop_back();
            acceptComma = true;
        }

        if (frame == '{') {
            const auto b = parseWhitespace();
            if (b == '"') {
                eatChar();
            } else {
                peekError(b ? "key must be a string" : "EOF while parsing an object");
                return false;
            }
            if (!ignoreStr()) return false;
            const auto colon = parseWhitespace();
            if (colon == ':') {
                eatChar();
            } else {
                peekError(colon ? "expected `:`" : "EOF while parsing an object");
                return false;
            }
        }
        enclosing = frame;
    }
}

}  // namespace kavrino_engine::detail
