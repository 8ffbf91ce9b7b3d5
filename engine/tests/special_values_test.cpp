// Extreme and degenerate numbers in a request: every one gives a reply, promptly and well formed.
#include "solve_json.h"

#include <gtest/gtest.h>

#include <string>

namespace kavrino_engine {
namespace {

TEST(SpecialValues, ExtremeRequestsStillReplyWithASolution) {
    const char* requests[] = {
        R"({"muzzleVelocity":1e308})",
        R"({"muzzleVelocity":0})",
        R"({"ballisticCoefficient":-0.5})",
        R"({"temperature":-459.67})",
        R"({"temperature":-1000})",
        R"({"pressure":0,"humidity":0})",
        R"({"rangeStep":-1,"maxRange":3})",
        R"({"rangeStep":1e-300,"maxRange":2})",
        R"({"maxRange":-1})",
        R"({"maxRange":1e308,"rangeStep":1e308})",
        R"({"zeroRange":1e308})",
        R"({"sightHeight":1e308})",
        R"({"shootingAngle":90})",
        R"({"twistRate":1e-300,"includeSpinDrift":true,"includeAeroJump":true,"windSpeed":5,"maxRange":200})",
        R"({"bulletLength":0,"bulletWeight":-1,"maxRange":200})",
        R"({"dragModel":"custom","customCurve":[[1e308,-1e308],[-1e308,1e308]]})",
        R"({"latitude":1e300,"targetAzimuth":-1e300,"includeCoriolis":true,"maxRange":200})",
    };
    for (const char* request : requests) {
        SCOPED_TRACE(request);
        const std::string reply = solve_json(request);
        EXPECT_EQ(reply.rfind(R"({"points":[)", 0), 0u);
        EXPECT_NE(reply.find(R"(,"subsonicRange":)"), std::string::npos);
        EXPECT_EQ(reply.find("nan"), std::string::npos);
        EXPECT_EQ(reply.find("inf"), std::string::npos);
    }
}

TEST(SpecialValues, NonFiniteRowValuesAreWrittenNull) {
    // No diameter-to-twist relation: infinite Sg, and spin drift makes the wind values infinite.
    const std::string reply = solve_json(R"({"twistRate":0,"includeSpinDrift":true,"maxRange":100})");
    EXPECT_NE(reply.find(R"("windInches":null,"windMoa":null,"windMil":null)"), std::string::npos);
    EXPECT_NE(reply.find(R"("stability":{"sg":null,"rating":"stable"})"), std::string::npos);
}

}  // namespace
}  // namespace kavrino_engine
