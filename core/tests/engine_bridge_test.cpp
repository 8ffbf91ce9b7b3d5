#include "core/engine_bridge.h"

#include "core/testing/log_capture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace kavrino {
namespace {

// One wire row as the library writes it (compact, its key order).
const char* const kRow100 =
    R"({"range":100.3,"velocity":2467.9,"mach":2.211,"time":0.1179,"energy":2272.6,"dropInches":-0.01,)"
    R"("dropMoa":-0.01,"dropMil":-0.0,"windInches":0.08,"windMoa":0.07,"windMil":0.02,"zone":"Supersonic"})";
const char* const kRow200 =
    R"({"range":200.2,"velocity":2290.1,"mach":2.052,"time":0.2443,"energy":1957.0,"dropInches":4.01,)"
    R"("dropMoa":1.91,"dropMil":0.56,"windInches":0.3,"windMoa":0.14,"windMil":0.04,"zone":"Supersonic"})";

std::string solutionText(const std::string& points, const std::string& stability, const std::string& tail) {
    return R"({"points":[)" + points + R"(],"stability":)" + stability + tail + "}";
}

const std::string kStable = R"({"sg":1.83,"rating":"stable"})";
const std::string kZones = R"(,"transonicRange":812.4,"subsonicRange":null)";

// A stand-in for the library: answers with a fixed text (or null) and records every release.
struct FakeLibrary {
    static inline std::optional<std::string> nextReply;
    static inline const char* lastRequest = nullptr;
    static inline char* handedOut = nullptr;
    static inline int releases = 0;
    static inline bool releasedWhatWasHandedOut = true;

    static char* solve(const char* request) {
        lastRequest = request;
        if (!nextReply) return handedOut = nullptr;
        handedOut = static_cast<char*>(std::malloc(nextReply->size() + 1));
        std::memcpy(handedOut, nextReply->c_str(), nextReply->size() + 1);
        return handedOut;
    }
    static void release(char* reply) {
        ++releases;
        releasedWhatWasHandedOut = releasedWhatWasHandedOut && reply == handedOut;
        std::free(reply);
    }
    static void reset(std::optional<std::string> reply) {
        nextReply = std::move(reply);
        lastRequest = nullptr;
        handedOut = nullptr;
        releases = 0;
        releasedWhatWasHandedOut = true;
    }
    static EngineBridge::Library library() { return {&FakeLibrary::solve, &FakeLibrary::release}; }
};

TEST(EngineBridgeDecoding, ReadsEveryFieldOfASolution) {
    const auto solution = EngineBridge::decode(solutionText(std::string(kRow100) + "," + kRow200, kStable, kZones));
    ASSERT_TRUE(solution);
    ASSERT_EQ(solution->points.size(), 2u);
    const EngineBridge::Point& p = solution->points[0];
    EXPECT_EQ(p.range, 100.3);
    EXPECT_EQ(p.velocity, 2467.9);
    EXPECT_EQ(p.mach, 2.211);
    EXPECT_EQ(p.time, 0.1179);
    EXPECT_EQ(p.energy, 2272.6);
    EXPECT_EQ(p.dropInches, -0.01);
    EXPECT_EQ(p.dropMoa, -0.01);
    EXPECT_EQ(p.dropMil, 0.0);
    EXPECT_EQ(p.windInches, 0.08);
    EXPECT_EQ(p.windMoa, 0.07);
    EXPECT_EQ(p.windMil, 0.02);
    EXPECT_EQ(p.zone, "Supersonic");
    EXPECT_EQ(solution->points[1].energy, 1957.0);
    EXPECT_EQ(solution->stability.sg, 1.83);
    EXPECT_EQ(solution->stability.rating, "stable");
    EXPECT_EQ(solution->transonicRange, 812.4);
    EXPECT_EQ(solution->subsonicRange, std::nullopt);
}

TEST(EngineBridgeDecoding, OptionalRangesAndExtraKeys) {
    struct Row {
        const char* name;
        std::string text;
        std::optional<double> transonic;
        std::optional<double> subsonic;
    };
    const Row rows[] = {
        {"both absent", solutionText(kRow100, kStable, ""), std::nullopt, std::nullopt},
        {"both null", solutionText(kRow100, kStable, R"(,"transonicRange":null,"subsonicRange":null)"), std::nullopt,
         std::nullopt},
        {"integral numbers", solutionText(kRow100, kStable, R"(,"transonicRange":800,"subsonicRange":1200)"), 800.0,
         1200.0},
        {"extra keys everywhere",
         solutionText(R"({"extra":[1,2],)" + std::string(kRow100 + 1), R"({"sg":1.83,"rating":"stable","more":null})",
                      R"(,"transonicRange":812.4,"note":"x")"),
         812.4, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto solution = EngineBridge::decode(row.text);
        ASSERT_TRUE(solution);
        EXPECT_EQ(solution->points.size(), 1u);
        EXPECT_EQ(solution->stability.rating, "stable");
        EXPECT_EQ(solution->transonicRange, row.transonic);
        EXPECT_EQ(solution->subsonicRange, row.subsonic);
    }
    const auto empty = EngineBridge::decode(solutionText("", kStable, kZones));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->points.empty());
    EXPECT_TRUE(empty->trajectoryPoints().empty());
}

TEST(EngineBridgeDecoding, EveryFailureIsNoResult) {
    std::string rowWithoutZone = kRow100;
    rowWithoutZone.replace(rowWithoutZone.find(R"(,"zone":"Supersonic")"), 20, "");
    std::string rowWithNullDrop = kRow100;
    rowWithNullDrop.replace(rowWithNullDrop.find("-0.01"), 5, "null");
    std::string rowWithTextRange = kRow100;
    rowWithTextRange.replace(rowWithTextRange.find("100.3"), 5, R"("100.3")");

    struct Row {
        const char* name;
        std::string text;
    };
    const Row rows[] = {
        {"error object", R"({"error":"parse: expected value at line 1 column 1"})"},
        {"empty text", ""},
        {"truncated", solutionText(kRow100, kStable, kZones).substr(0, 40)},
        {"not UTF-8", solutionText(kRow100, R"({"sg":1.83,"rating":"st)" "\xff" R"(able"})", "")},
        {"array at the top", "[" + std::string(kRow100) + "]"},
        {"no points", R"({"stability":{"sg":1.83,"rating":"stable"}})"},
        {"points not an array", solutionText("", kStable, "").replace(10, 2, "{}")},
        {"no stability", R"({"points":[]})"},
        {"stability without rating", solutionText(kRow100, R"({"sg":1.83})", kZones)},
        {"null stability factor (twist 0)", solutionText(kRow100, R"({"sg":null,"rating":"stable"})", kZones)},
        {"rating not a string", solutionText(kRow100, R"({"sg":1.83,"rating":1})", kZones)},
        {"row without zone", solutionText(rowWithoutZone, kStable, kZones)},
        {"row with a null drop", solutionText(rowWithNullDrop, kStable, kZones)},
        {"row with a range in quotes", solutionText(rowWithTextRange, kStable, kZones)},
        {"row that is a number", solutionText("1", kStable, kZones)},
        {"transonic range as text", solutionText(kRow100, kStable, R"(,"transonicRange":"812.4")")},
        {"subsonic range as true", solutionText(kRow100, kStable, R"(,"subsonicRange":true)")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(EngineBridge::decode(row.text), std::nullopt);
    }
}

TEST(EngineBridgeConversion, RowsCarryTheWireNumbersWithFreshIds) {
    const auto solution = EngineBridge::decode(solutionText(std::string(kRow100) + "," + kRow200, kStable, kZones));
    ASSERT_TRUE(solution);
    const auto first = solution->trajectoryPoints();
    const auto second = solution->trajectoryPoints();
    ASSERT_EQ(first.size(), 2u);
    const TrajectoryPoint& row = first[1];
    EXPECT_EQ(row.range, 200.2);
    EXPECT_EQ(row.velocity, 2290.1);
    EXPECT_EQ(row.time, 0.2443);
    EXPECT_EQ(row.energy, 1957.0);
    EXPECT_EQ(row.dropInches, 4.01);
    EXPECT_EQ(row.dropMOA, 1.91);
    EXPECT_EQ(row.dropMil, 0.56);
    EXPECT_EQ(row.windDriftInches, 0.3);
    EXPECT_EQ(row.windDriftMOA, 0.14);
    EXPECT_EQ(row.windDriftMil, 0.04);
    EXPECT_EQ(row.path, -4.01);
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_NE(first[i].id, second[i].id);
        TrajectoryPoint sameId = second[i];
        sameId.id = first[i].id;
        EXPECT_EQ(sameId, first[i]);
    }
}

// Each failure is released as well, and leaves in the log why the solve fell back.
TEST(EngineBridgeOwnership, EveryReplyIsReleasedExactlyOnce) {
    struct Row {
        const char* name;
        std::optional<std::string> reply;
        bool solves;
        const char* logged;  // part of the one warning; none for a solution
    };
    const Row rows[] = {
        {"solution", solutionText(kRow100, kStable, kZones), true, nullptr},
        {"error object", std::string(R"({"error":"parse: trailing characters at line 1 column 3"})"), false,
         "the engine library answered with an error: parse: trailing characters at line 1 column 3"},
        {"garbage", std::string("\x01\x02 not json"), false, "reply is not a solution"},
        {"stability without rating", solutionText(kRow100, R"({"sg":1.83})", kZones), false, "reply is not a solution"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeLibrary::reset(row.reply);
        const test_support::LogCapture log("kavrino.engine");
        const auto solution = EngineBridge::solve(R"({"muzzleVelocity":2650.0})", FakeLibrary::library());
        EXPECT_EQ(solution.has_value(), row.solves);
        EXPECT_STREQ(FakeLibrary::lastRequest, R"({"muzzleVelocity":2650.0})");
        EXPECT_EQ(FakeLibrary::releases, 1);
        EXPECT_TRUE(FakeLibrary::releasedWhatWasHandedOut);
        ASSERT_EQ(log.messages().size(), row.logged ? 1 : 0);
        if (row.logged) {
            EXPECT_TRUE(log.messages().front().contains(QLatin1String(row.logged))) << log.messages().front().toStdString();
            EXPECT_TRUE(log.messages().front().contains(QLatin1String("built-in integrator")));
        }
    }

    FakeLibrary::reset(std::nullopt);
    const test_support::LogCapture log("kavrino.engine");
    EXPECT_EQ(EngineBridge::solve("{}", FakeLibrary::library()), std::nullopt);
    EXPECT_EQ(FakeLibrary::releases, 0);  // nothing was handed out, nothing to release
    ASSERT_EQ(log.messages().size(), 1);
    EXPECT_TRUE(log.messages().front().contains(QLatin1String("no reply")));
}

// Against the library the application links.
TEST(EngineBridgeLibrary, SolvesTheDefaultRequest) {
    const auto solution = EngineBridge::solve(std::string("{}"));
    ASSERT_TRUE(solution);
    // Rows every 100 yd from 100 to 1000 yd, each just past its mark, zeroed at 100 yd.
    ASSERT_EQ(solution->points.size(), 10u);
    EXPECT_GE(solution->points.front().range, 100.0);
    EXPECT_LT(solution->points.front().range, 101.0);
    EXPECT_NEAR(solution->points.front().dropInches, 0.0, 0.1);
    EXPECT_EQ(solution->points.front().zone, "Supersonic");
    EXPECT_GE(solution->points.back().range, 1000.0);
    EXPECT_LT(solution->points.back().range, 1001.0);
    EXPECT_EQ(solution->stability.rating, "stable");
    EXPECT_GT(solution->stability.sg, 1.5);
}

TEST(EngineBridgeLibrary, LibraryFailuresAreNoResult) {
    const char* const requests[] = {
        R"({"zeroRange":100,"zeroRange":200})",  // duplicate key: error object
        R"({"muzzleVelocity":null})",            // wrong type: error object
        "{} trailing",                           // trailing characters: error object
        "\xff\xfe",                              // not UTF-8: null reply
        R"({"twistRate":0})",                    // infinite stability factor written as null
    };
    for (const char* request : requests) {
        SCOPED_TRACE(request);
        EXPECT_EQ(EngineBridge::solve(std::string(request)), std::nullopt);
    }
    EXPECT_EQ(EngineBridge::solve(static_cast<const char*>(nullptr)), std::nullopt);
}

}  // namespace
}  // namespace kavrino
