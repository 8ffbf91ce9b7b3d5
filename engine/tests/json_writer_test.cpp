// Reply text: numbers in shortest round-trip form with the wire layout, strings escaped, keys in
// order.
#include "json_writer.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

namespace kavrino_engine::detail {
namespace {

std::string number(double value) {
    std::string out;
    appendNumber(out, value);
    return out;
}

TEST(JsonWriterNumbers, ShortestDigitsInTheWireLayout) {
    struct Row {
        const char* name;
        double value;
        const char* text;
    };
    const Row rows[] = {
        {"zero", 0.0, "0.0"},
        {"negative zero", -0.0, "-0.0"},
        {"integral value keeps .0", 2250.0, "2250.0"},
        {"trailing zeros written out", 1e15, "1000000000000000.0"},
        {"sixteen integral digits", 1234567890123456.0, "1234567890123456.0"},
        {"ten to the sixteenth", 1e16, "1e16"},
        {"seventeen digits switch to exponent", 12345678901234568.0, "1.2345678901234568e16"},
        {"point inside the digits", 12.34, "12.34"},
        {"negative fraction", -2.5, "-2.5"},
        {"below one", 0.118, "0.118"},
        {"four leading zeros", 0.0001, "0.0001"},
        {"four zeros after the point", 0.00001, "0.00001"},
        {"five zeros after the point switch to exponent", 0.000001, "1e-6"},
        {"small with two digits", 1.5e-7, "1.5e-7"},
        {"not a short decimal", 0.1 + 0.2, "0.30000000000000004"},
        {"largest double", DBL_MAX, "1.7976931348623157e308"},
        {"smallest subnormal", 5e-324, "5e-324"},
        {"large with digits", 1.23e22, "1.23e22"},
        {"infinity", std::numeric_limits<double>::infinity(), "null"},
        {"negative infinity", -std::numeric_limits<double>::infinity(), "null"},
        {"not a number", std::nan(""), "null"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(number(row.value), row.text);
    }
}

TEST(JsonWriterStrings, EscapesQuotesBackslashesAndControls) {
    std::string out;
    appendString(out, "a\"b\\c\b\f\n\r\t\x01\x1f\x7f\xc3\xa9");
    EXPECT_EQ(out, "\"a\\\"b\\\\c\\b\\f\\n\\r\\t\\u0001\\u001f\x7f\xc3\xa9\"");
}

TEST(JsonWriterReplies, SolutionKeysInWireOrder) {
    solver::Solution s;
    solver::TrajectoryPoint p;
    p.range = 100.3;
    p.velocity = 2456.1;
    p.mach = 2.2;
    p.time = 0.118;
    p.energy = 2250.0;
    p.dropInches = -0.0;
    p.windInches = std::numeric_limits<double>::infinity();
    p.zone = solver::Zone::Transonic;
    s.points.push_back(p);
    s.stability = {std::numeric_limits<double>::infinity(), "stable"};
    s.transonicRange = 100.3;
    EXPECT_EQ(writeSolution(s),
              R"({"points":[{"range":100.3,"velocity":2456.1,"mach":2.2,"time":0.118,"energy":2250.0,)"
              R"("dropInches":-0.0,"dropMoa":0.0,"dropMil":0.0,"windInches":null,"windMoa":0.0,"windMil":0.0,)"
              R"("zone":"Transonic"}],"stability":{"sg":null,"rating":"stable"},"transonicRange":100.3,)"
              R"("subsonicRange":null})");
    EXPECT_EQ(writeSolution({}),
              R"({"points":[],"stability":{"sg":0.0,"rating":""},"transonicRange":null,"subsonicRange":null})");
}

TEST(JsonWriterReplies, ErrorObject) {
    EXPECT_EQ(writeError("parse: expected `:` at line 1 column 3"),
              R"({"error":"parse: expected `:` at line 1 column 3"})");
}

}  // namespace
}  // namespace kavrino_engine::detail
