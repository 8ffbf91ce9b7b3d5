#pragma once
// The strict streaming JSON reader behind the request format. It follows the reading rules of
// the wire format to the byte: which character each step peeks at or consumes, how numbers are
// converted, and the exact message and position of every fault. The position of an error is the
// 1-based line and the column of the last byte consumed (column 0 when nothing was consumed on
// that line); errors found by peeking point at the peeked byte instead.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kavrino_engine::detail {

struct ReadError {
    std::string description;
    std::size_t line = 0;  // 1-based; 0 while the error has not been given a position
    std::size_t column = 0;
    // "<description> at line <line> column <column>"
    std::string message() const;
};

using NumberPair = std::pair<double, double>;

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : m_text(text) {}

    // The fault that made the last call return false.
    const ReadError& error() const { return m_error; }

    // Typed values; each returns false with error() set.
    bool readF64(double& out);
    bool readBool(bool& out);
    bool readString(std::string& out);
    bool readPairList(std::vector<NumberPair>& out);                          // array of pairs
    bool readOptionalPairList(std::optional<std::vector<NumberPair>>& out);  // null or the above
    // Parses any value and drops it, without recursion and without a depth limit.
    bool skipValue();

    // Building blocks of a record read from an object or an array.
    std::optional<std::uint8_t> parseWhitespace();
    bool beginNested();                         // depth check before '[' or '{' is consumed
    void endNested() { ++m_remainingDepth; }
    void eatChar() { ++m_index; }
    bool hasNextElement(bool& first, bool& has);
    bool hasNextKey(bool& first, bool& has);
    bool readKey(std::string& out);  // the opening quote has been peeked
    bool parseObjectColon();
    bool endSeq();
    bool endMap();
    bool end();  // only whitespace may follow the value
    // "invalid type: <what is next>, expected <expected>", consuming what it describes.
    void peekInvalidType(std::string_view expected);
    void peekError(std::string description);  // positioned at the next byte
    void fail(std::string description);       // not positioned yet
    void fixPosition();                       // gives an unpositioned error the current position
    // Runs endSeq/endMap after a failed visit, keeping the visit's own error.
    void endSeqAfterFailure();
    void endMapAfterFailure();

private:
    struct ParserNumber {
        enum class Kind { F64, U64, I64 } kind = Kind::U64;
        double f64 = 0.0;
        std::uint64_t u64 = 0;
        std::int64_t i64 = 0;
        double toDouble() const;
        std::string describe() const;  // "integer `5`" or "floating point `1.5`"
    };

    std::optional<std::uint8_t> peek() const {
        if (m_index < m_text.size()) return static_cast<std::uint8_t>(m_text[m_index]);
        return std::nullopt;
    }
    std::uint8_t peekOrNull() const { return peek().value_or(0); }
    std::optional<std::uint8_t> next() {
        auto b = peek();
        if (b) ++m_index;
        return b;
    }
    std::uint8_t nextOrNull() { return next().value_or(0); }

    void positionAt(std::size_t index, std::size_t& line, std::size_t& column) const;
    void error(std::string description);  // positioned at the current index

    bool parseIdent(std::string_view rest);
    bool parseInteger(bool positive, ParserNumber& out);
    bool parseNumber(bool positive, std::uint64_t significand, ParserNumber& out);
    bool parseLongInteger(bool positive, std::uint64_t significand, double& out);
    bool parseDecimal(bool positive, std::uint64_t significand, std::int32_t exponentBeforePoint, double& out);
    bool parseDecimalOverflow(bool positive, std::uint64_t significand, std::int32_t exponent, double& out);
    bool parseExponent(bool positive, std::uint64_t significand, std::int32_t startingExponent, double& out);
    bool parseExponentOverflow(bool positive, bool zeroSignificand, bool positiveExponent, double& out);
    bool f64FromParts(bool positive, std::uint64_t significand, std::int32_t exponent, double& out);

    bool parseStr(std::string& out);  // after the opening quote
    bool parseEscape(std::string& out);
    bool parseUnicodeEscape(std::string& out);
    bool decodeHexEscape(std::uint16_t& out);
    bool ignoreStr();
    bool ignoreEscape();
    void skipToEscape();

    bool ignoreInteger();
    bool ignoreDecimal();
    bool ignoreExponent();

    bool readPair(NumberPair& out);

    std::string_view m_text;
    std::size_t m_index = 0;
    int m_remainingDepth = 128;
    ReadError m_error;
};

}  // namespace kavrino_engine::detail
