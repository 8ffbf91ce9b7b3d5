#include "core/engine_reply.h"

#include "kavrino_engine.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kavrino {
namespace {

using engine_reply::readDocument;
using engine_reply::readLayout;

std::uint64_t bits(double value) { return std::bit_cast<std::uint64_t>(value); }

// Equal in every field, numbers to the bit (so 0.0 and -0.0 differ).
void expectSameBits(const EngineBridge::Solution& a, const EngineBridge::Solution& b) {
    ASSERT_EQ(a.points.size(), b.points.size());
    for (std::size_t i = 0; i < a.points.size(); ++i) {
        const EngineBridge::Point& p = a.points[i];
        const EngineBridge::Point& q = b.points[i];
        for (double EngineBridge::Point::*field :
             {&EngineBridge::Point::range, &EngineBridge::Point::velocity, &EngineBridge::Point::mach,
              &EngineBridge::Point::time, &EngineBridge::Point::energy, &EngineBridge::Point::dropInches,
              &EngineBridge::Point::dropMoa, &EngineBridge::Point::dropMil, &EngineBridge::Point::windInches,
              &EngineBridge::Point::windMoa, &EngineBridge::Point::windMil}) {
            ASSERT_EQ(bits(p.*field), bits(q.*field)) << "row " << i;
        }
        ASSERT_EQ(p.zone, q.zone);
    }
    EXPECT_EQ(bits(a.stability.sg), bits(b.stability.sg));
    EXPECT_EQ(a.stability.rating, b.stability.rating);
    EXPECT_EQ(a.transonicRange.has_value(), b.transonicRange.has_value());
    if (a.transonicRange && b.transonicRange) {
        EXPECT_EQ(bits(*a.transonicRange), bits(*b.transonicRange));
    }
    EXPECT_EQ(a.subsonicRange.has_value(), b.subsonicRange.has_value());
    if (a.subsonicRange && b.subsonicRange) {
        EXPECT_EQ(bits(*a.subsonicRange), bits(*b.subsonicRange));
    }
}

std::string libraryReply(const char* request) {
    char* reply = kavrino_solve_json(request);
    std::string text = reply ? reply : "";
    kavrino_free(reply);
    return text;
}

// A one-row reply with `number` as the row's range.
std::string replyWithRange(const std::string& number) {
    return R"({"points":[{"range":)" + number +
           R"(,"velocity":2467.9,"mach":2.211,"time":0.1179,"energy":2272.6,"dropInches":-0.01,"dropMoa":-0.01,)"
           R"("dropMil":-0.0,"windInches":0.08,"windMoa":0.07,"windMil":0.02,"zone":"Supersonic"}],)"
           R"("stability":{"sg":1.83,"rating":"stable"},"transonicRange":812.4,"subsonicRange":null})";
}

TEST(EngineReplyLayout, ReadsTheLibrarysRepliesAsTheDocumentReaderDoes) {
    const char* const requests[] = {
        "{}",
        R"({"rangeStep":1,"maxRange":1000})",
        (R"({"dragModel":"G7","ballisticCoefficient":0.243,"includeSpinDrift":true,"includeCoriolis":true,)"
         R"("includeAeroJump":true,"windSpeed":12,"windDirection":300,"shootingAngle":-20,"rangeStep":25})"),
        R"({"maxRange":3000,"rangeStep":50,"muzzleVelocity":2400})",  // transonic and subsonic rows
        R"({"dragModel":"Custom","customCurve":[[0,0.3],[1,0.5],[3,0.4]],"rangeStep":10})",
        R"({"maxRange":10000,"rangeStep":7.3,"bulletWeight":1e-5})",
        R"({"maxRange":-5})",  // no rows
        R"({"zeroRange":0,"sightHeight":-3,"windSpeed":-40,"rangeStep":0.5,"maxRange":30})",
    };
    for (const char* request : requests) {
        SCOPED_TRACE(request);
        const std::string reply = libraryReply(request);
        const engine_reply::LayoutReading reading = readLayout(reply);
        ASSERT_TRUE(reading.recognised);
        ASSERT_TRUE(reading.solution);
        const auto document = readDocument(reply);
        ASSERT_TRUE(document);
        expectSameBits(*reading.solution, *document);
    }
}

TEST(EngineReplyLayout, ANullRequiredNumberIsNoResultAsForTheDocumentReader) {
    // Twist 0: an infinite stability factor, written null.
    const std::string reply = libraryReply(R"({"twistRate":0})");
    const engine_reply::LayoutReading reading = readLayout(reply);
    EXPECT_TRUE(reading.recognised);
    EXPECT_FALSE(reading.solution);
    EXPECT_FALSE(readDocument(reply));

    std::string nullRow = replyWithRange("null");
    EXPECT_TRUE(readLayout(nullRow).recognised);
    EXPECT_FALSE(readLayout(nullRow).solution);
    EXPECT_FALSE(readDocument(nullRow));
}

// Every number is read to the same double as the document reader gives it, whichever way the
// layout reader takes (its exact short path or the general conversion).
TEST(EngineReplyLayout, NumbersReadBitForBitAsTheDocumentReaderReadsThem) {
    std::vector<std::string> spellings = {
        "0.0", "-0.0", "100.0", "0.1", "-0.01", "1e16", "1.5e-7", "1e300", "-2.5e-300", "4.9e-324", "5e-324",
        "2.2250738585072011e-308", "2.2250738585072014e-308", "1.7976931348623157e308", "9007199254740992.0",
        "9007199254740993.0", "9007199254740993.5", "123456789012345678901234.5", "0.000000000000000000000001",
        "1e22", "1e23", "1.0e-22", "1.0e-23", "0.30000000000000004", "2.0E+5", "7e-0", "1234.5678e-10",
        "0.1000000000000000055511151231257827", "8.98846567431158e307",
    };
    std::mt19937_64 random(20240611);
    char buffer[64];
    for (int i = 0; i < 20000; ++i) {
        double value = std::bit_cast<double>(random());
        if (!std::isfinite(value)) continue;
        if (i % 2 == 0) value = static_cast<double>(random() % 2000000000) / 10000.0 - 100000.0;  // table figures
        auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
        std::string text(buffer, end);
        if (text.find_first_of(".e") == std::string::npos) text += ".0";
        spellings.push_back(text);
        // Long digit strings near rounding boundaries take the general conversion.
        std::string digits = std::to_string(random() % 10) + "." + std::to_string(random()) + std::to_string(random());
        spellings.push_back(digits + "e" + std::to_string(static_cast<int>(random() % 600) - 300));
    }
    int recognised = 0;
    for (const std::string& spelling : spellings) {
        SCOPED_TRACE(spelling);
        const std::string reply = replyWithRange(spelling);
        const engine_reply::LayoutReading reading = readLayout(reply);
        const auto document = readDocument(reply);
        if (!reading.recognised) continue;
        ++recognised;
        ASSERT_EQ(reading.solution.has_value(), document.has_value());
        if (document) {
            ASSERT_EQ(bits(reading.solution->points[0].range), bits(document->points[0].range));
        }
    }
    // Only values out of the double range are left to the document reader.
    EXPECT_GT(recognised, static_cast<int>(spellings.size()) * 95 / 100);
}

TEST(EngineReplyLayout, LeavesEveryOtherFormToTheDocumentReader) {
    const std::string reply = replyWithRange("100.3");
    ASSERT_TRUE(readLayout(reply).recognised);
    auto replace = [&](const std::string& from, const std::string& to) {
        std::string text = reply;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    const std::string departures[] = {
        reply + " ",                                               // trailing whitespace
        "\n" + reply,                                              // leading whitespace
        replace("\"velocity\":", "\"velocity\" :"),                // a space inside
        replyWithRange("100"),                                     // an integer
        replyWithRange("-0"),                                      // an integer that reads as +0
        replyWithRange("1e400"),                                   // out of range
        replyWithRange("01.5"),                                    // not JSON
        replace("\"Supersonic\"", "\"Super\\u0073onic\""),          // an escape
        replace("\"stable\"", "\"st\xc3\xa4" "ble\""),                // not ASCII
        replace("\"subsonicRange\":null", "\"subsonicRange\":null,\"more\":1"),  // an extra key
        replace("\"mach\":2.211,\"time\":0.1179", "\"time\":0.1179,\"mach\":2.211"),  // another order
        replace("\"sg\":1.83,\"rating\":\"stable\"", "\"sg\":1.83,\"rating\":\"stable\",\"sg\":2.5"),  // repeated key
        reply.substr(0, reply.size() - 1),                        // truncated
        R"({"error":"parse: expected value at line 1 column 1"})",
    };
    for (const std::string& text : departures) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(readLayout(text).recognised);
        // What the bridge answers is then the document reader's answer.
        const auto decoded = EngineBridge::decode(text);
        const auto document = readDocument(text);
        ASSERT_EQ(decoded.has_value(), document.has_value());
        if (decoded) expectSameBits(*decoded, *document);
    }
    // The repeated key: the document reader keeps the last value.
    const auto repeated = EngineBridge::decode(departures[11]);
    ASSERT_TRUE(repeated);
    EXPECT_EQ(repeated->stability.sg, 2.5);
}

}  // namespace
}  // namespace kavrino
