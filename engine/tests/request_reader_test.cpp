// The request reader: what it accepts, the values it produces, and every fault message with its
// position, checked word for word against the wire format's reader.
#include "request.h"
#include "solve_json.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

namespace kavrino_engine {
namespace {

struct ReplyCase {
    const char* name;
    std::string request;
    std::string reply;
};

std::string parseError(const std::string& message) { return R"({"error":"parse: )" + message + R"("})"; }

SolveRequest parsed(const std::string& text) {
    auto result = parseSolveRequest(text);
    if (auto* fault = std::get_if<detail::ReadError>(&result)) {
        ADD_FAILURE() << "unexpected fault: " << fault->message();
        return {};
    }
    return std::get<SolveRequest>(result);
}

TEST(RequestReaderErrors, ReplyCarriesMessageAndPosition) {
    const std::string array28 =
        R"([2650,0.462,"G1",null,[],168,1.8,100,1000,100,59,29.92,0,50,0,90,0,false,false,false,)"
        R"(10,0.308,1.24,45,0,0,59,1])";
    const std::string array27TrailingComma =
        R"([2650,0.462,"G1",null,[],168,1.8,100,1000,100,59,29.92,0,50,0,90,0,false,false,false,)"
        R"(10,0.308,1.24,45,0,0,59,])";
    const ReplyCase cases[] = {
        // The samples every implementation must reproduce.
        {"empty text", "", parseError("EOF while parsing a value at line 1 column 0")},
        {"repeated key", R"({"zeroRange":100,"zeroRange":200})",
         parseError("duplicate field `zeroRange` at line 1 column 28")},
        {"null number", R"({"muzzleVelocity":null})",
         parseError("invalid type: null, expected f64 at line 1 column 22")},
        {"single-quoted key", "{'a':1}", parseError("key must be a string at line 1 column 2")},
        {"trailing comma in object", R"({"a":1,})", parseError("trailing comma at line 1 column 8")},
        {"text after the value", "{} x", parseError("trailing characters at line 1 column 4")},
        {"pair of one", R"({"customCurve":[[0.5]]})",
         parseError("invalid length 1, expected a tuple of size 2 at line 1 column 21")},

        // End of text.
        {"only whitespace", "   ", parseError("EOF while parsing a value at line 1 column 3")},
        {"only line feeds", "\n\n", parseError("EOF while parsing a value at line 3 column 0")},
        {"open object", "{", parseError("EOF while parsing an object at line 1 column 1")},
        {"after a value in an object", R"({"muzzleVelocity":1)",
         parseError("EOF while parsing an object at line 1 column 19")},
        {"after a key", R"({"muzzleVelocity")", parseError("EOF while parsing an object at line 1 column 17")},
        {"after a colon", R"({"muzzleVelocity":)", parseError("EOF while parsing a value at line 1 column 18")},
        {"inside a key", R"({"a)", parseError("EOF while parsing a string at line 1 column 3")},
        {"open array", "[", parseError("EOF while parsing a list at line 1 column 1")},
        {"inside an unknown list", R"({"x":[1)", parseError("EOF while parsing a list at line 1 column 7")},
        {"after an object comma", R"({"a":1,)", parseError("EOF while parsing a value at line 1 column 7")},

        // Structure.
        {"missing colon", R"({"muzzleVelocity" 1})", parseError("expected `:` at line 1 column 19")},
        {"missing comma between keys", R"({"muzzleVelocity":1 "a":2})",
         parseError("expected `,` or `}` at line 1 column 21")},
        {"key that is a number", R"({"a":1,2:3})", parseError("key must be a string at line 1 column 8")},
        {"array trailing comma", "[1,]", parseError("trailing comma at line 1 column 4")},
        {"array missing comma", "[1 2]", parseError("expected `,` or `]` at line 1 column 4")},
        {"array of 28 elements", array28,
         parseError("trailing characters at line 1 column " + std::to_string(array28.size() - 1))},
        {"array of 27 with trailing comma", array27TrailingComma,
         parseError("trailing comma at line 1 column " + std::to_string(array27TrailingComma.size()))},
        {"trailing text on a later line", "{\"zeroRange\":100}\n\n  x",
         parseError("trailing characters at line 3 column 3")},
        {"fault on the second line", "{\n  \"muzzleVelocity\": null\n}",
         parseError("invalid type: null, expected f64 at line 2 column 24")},
        {"bare word", "x", parseError("expected value at line 1 column 1")},
        {"carriage return counts as a column", "{\r\n\"a\":1,}", parseError("trailing comma at line 2 column 7")},
        {"array element of the wrong type", R"([1,"x"])",
         parseError(R"(invalid type: string \"x\", expected f64 at line 1 column 6)")},
        {"array drag model given as a number", "[1,2,3]",
         parseError("invalid type: integer `3`, expected a string at line 1 column 6")},
        {"array flag given as null", "[1,2,\"G1\",null,[],6,7,8,9,10,11,12,13,14,15,16,17,null]",
         parseError("invalid type: null, expected a boolean at line 1 column 54")},

        // Repeated keys: found before the value is read; unknown keys may repeat.
        {"repeated key before a closing brace", R"({"zeroRange":1,"zeroRange"})",
         parseError("duplicate field `zeroRange` at line 1 column 27")},
        {"repeated key whose value is wrong", R"({"muzzleVelocity":1,"muzzleVelocity":null})",
         parseError("duplicate field `muzzleVelocity` at line 1 column 36")},

        // Wrong types, with what was found.
        {"request that is a number", "5",
         parseError("invalid type: integer `5`, expected struct SolveRequest at line 1 column 1")},
        {"request that is a string", R"("x")",
         parseError(R"(invalid type: string \"x\", expected struct SolveRequest at line 1 column 3)")},
        {"request that is null", "null",
         parseError("invalid type: null, expected struct SolveRequest at line 1 column 4")},
        {"number given as a string", R"({"muzzleVelocity":"2650"})",
         parseError(R"(invalid type: string \"2650\", expected f64 at line 1 column 24)")},
        {"number given as a list", R"({"muzzleVelocity":[1]})",
         parseError("invalid type: sequence, expected f64 at line 1 column 18")},
        {"number given as an object", R"({"muzzleVelocity":{}})",
         parseError("invalid type: map, expected f64 at line 1 column 18")},
        {"number given as true", R"({"muzzleVelocity":true})",
         parseError("invalid type: boolean `true`, expected f64 at line 1 column 22")},
        {"flag given as an integer", R"({"includeSpinDrift":1})",
         parseError("invalid type: integer `1`, expected a boolean at line 1 column 21")},
        {"flag given as a negative integer", R"({"includeAeroJump":-5})",
         parseError("invalid type: integer `-5`, expected a boolean at line 1 column 21")},
        {"flag given as a float", R"({"includeAeroJump":1.5})",
         parseError("invalid type: floating point `1.5`, expected a boolean at line 1 column 22")},
        {"flag given as a large float", R"({"includeAeroJump":1e20})",
         parseError("invalid type: floating point `100000000000000000000.0`, expected a boolean at line 1 column 23")},
        {"flag given as a tiny float", R"({"includeAeroJump":1.5e-7})",
         parseError("invalid type: floating point `0.00000015`, expected a boolean at line 1 column 25")},
        {"flag given as a whole float", R"({"includeAeroJump":2650.0})",
         parseError("invalid type: floating point `2650.0`, expected a boolean at line 1 column 25")},
        {"flag given as negative zero", R"({"includeCoriolis":-0})",
         parseError("invalid type: floating point `-0.0`, expected a boolean at line 1 column 21")},
        {"flag given as an integer beyond 64 bits", R"({"includeAeroJump":18446744073709551616})",
         parseError("invalid type: floating point `18446744073709552000.0`, expected a boolean at line 1 column 39")},
        {"flag given as a string", R"({"includeSpinDrift":"yes"})",
         parseError(R"(invalid type: string \"yes\", expected a boolean at line 1 column 25)")},
        {"drag model given as a number", R"({"dragModel":7})",
         parseError("invalid type: integer `7`, expected a string at line 1 column 14")},
        {"bands given as null", R"({"bcBands":null})",
         parseError("invalid type: null, expected a sequence at line 1 column 15")},
        {"curve given as a number", R"({"customCurve":5})",
         parseError("invalid type: integer `5`, expected a sequence at line 1 column 16")},
        {"pair given as a number", R"({"bcBands":[5]})",
         parseError("invalid type: integer `5`, expected a tuple of size 2 at line 1 column 13")},
        {"empty pair", R"({"customCurve":[[]]})",
         parseError("invalid length 0, expected a tuple of size 2 at line 1 column 18")},
        {"pair of three", R"({"customCurve":[[0.5,1,2]]})",
         parseError("trailing characters at line 1 column 24")},
        {"found string is quoted with escapes", R"({"muzzleVelocity":"a\u0001\u0300\u00e9\t\"\\"})",
         parseError(R"(invalid type: string \"a\\u{1}\\u{300})"
                    "\xc3\xa9"
                    R"(\\t\\\"\\\\\", expected f64 at line 1 column 45)")},

        // Numbers.
        {"leading zero", R"({"muzzleVelocity":01})", parseError("invalid number at line 1 column 20")},
        {"minus alone", R"({"muzzleVelocity":-})", parseError("invalid number at line 1 column 20")},
        {"point without digits", R"({"muzzleVelocity":1.})", parseError("invalid number at line 1 column 21")},
        {"point at the end", R"({"muzzleVelocity":1.)", parseError("EOF while parsing a value at line 1 column 20")},
        {"exponent without digits", R"({"muzzleVelocity":1e})", parseError("invalid number at line 1 column 21")},
        {"exponent too large", R"({"muzzleVelocity":1.5e400})", parseError("number out of range at line 1 column 25")},
        {"exponent beyond 32 bits", R"({"muzzleVelocity":1e99999999999})",
         parseError("number out of range at line 1 column 30")},
        {"integer too large for a double", R"({"muzzleVelocity":1)" + std::string(400, '0') + "}",
         parseError("number out of range at line 1 column 419")},

        // Strings and escapes.
        {"invalid escape", R"({"a\q":1})", parseError("invalid escape at line 1 column 5")},
        {"bad hex digit", R"({"a\u12G4":1})", parseError("invalid escape at line 1 column 9")},
        {"hex escape cut short", R"({"a\u12)", parseError("EOF while parsing a string at line 1 column 7")},
        {"trailing surrogate alone", R"({"a\uDC00":1})",
         parseError("lone leading surrogate in hex escape at line 1 column 9")},
        {"leading surrogate then a letter", R"({"a\uD800x":1})",
         parseError("unexpected end of hex escape at line 1 column 10")},
        {"leading surrogate then another escape", R"({"a\uD800\n":1})",
         parseError("unexpected end of hex escape at line 1 column 11")},
        {"leading surrogate then a non-surrogate", R"({"a\uD800\u0041":1})",
         parseError("lone leading surrogate in hex escape at line 1 column 15")},
        {"control character in a key", "{\"a\x01\":1}",
         parseError(R"(control character (\\u0000-\\u001F) found while parsing a string at line 1 column 4)")},

        // Values of unknown keys are checked while they are skipped.
        {"skipped list with trailing comma", R"({"a":1,"b":[1,2,]})", parseError("expected value at line 1 column 17")},
        {"skipped list missing comma", R"({"x":[1 2]})", parseError("expected `,` or `]` at line 1 column 9")},
        {"skipped object missing colon", R"({"x":{"y" 1}})", parseError("expected `:` at line 1 column 11")},
        {"skipped object trailing comma", R"({"x":{"y":1,}})", parseError("key must be a string at line 1 column 13")},
        {"skipped misspelt literal", R"({"x":tru})", parseError("expected ident at line 1 column 9")},
        {"skipped minus alone", R"({"x":-})", parseError("invalid number at line 1 column 7")},
        {"skipped point without digits", R"({"x":1.})", parseError("invalid number at line 1 column 8")},
        {"skipped control character", "{\"x\":\"a\x01\"}",
         parseError(R"(control character (\\u0000-\\u001F) found while parsing a string at line 1 column 7)")},
        {"skipped string cut short", R"({"x":"abc)", parseError("EOF while parsing a string at line 1 column 9")},
        {"skipped value mismatched bracket", R"({"x":[1}})", parseError("expected `,` or `]` at line 1 column 8")},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(solve_json(c.request), c.reply);
    }
}

TEST(RequestReader, AbsentKeysTakeTheDefaults) {
    EXPECT_EQ(parsed("{}"), SolveRequest{});
    EXPECT_EQ(parsed("[]"), SolveRequest{});
    EXPECT_EQ(parsed(" \t\r\n{ }\n "), SolveRequest{});
}

TEST(RequestReader, ArrayFormFillsFieldsByPosition) {
    SolveRequest expected;
    expected.muzzleVelocity = 2800.0;
    expected.ballisticCoefficient = 0.3;
    expected.dragModel = "G7";
    const SolveRequest r = parsed(R"([2800, 0.3, "G7"])");
    EXPECT_EQ(r, expected);

    const SolveRequest full = parsed(
        R"([1,2,"x",[[3,4]],[[5,6]],7,8,9,10,11,12,13,14,15,16,17,18,true,true,true,19,20,21,22,23,24,25])");
    EXPECT_EQ(full.customCurve, (std::vector<std::pair<double, double>>{{3.0, 4.0}}));
    EXPECT_EQ(full.bcBands, (std::vector<std::pair<double, double>>{{5.0, 6.0}}));
    EXPECT_TRUE(full.includeSpinDrift && full.includeCoriolis && full.includeAeroJump);
    EXPECT_EQ(full.mvReferenceTemp, 25.0);
    EXPECT_EQ(full.altitude, 14.0);
}

TEST(RequestReader, KeysAreMatchedAfterTheirEscapesAreDecoded) {
    EXPECT_EQ(parsed(R"({"zero\u0052ange":300})").zeroRange, 300.0);
    EXPECT_EQ(parsed(R"({"zerorange":300})").zeroRange, 100.0);  // case matters: unknown key
}

TEST(RequestReader, UnknownKeysAreSkippedWhateverTheirValue) {
    const SolveRequest r = parsed(R"({"a":{"b":[1,-2.5e-3,"\u00e9\uD83D\uDE00",null,true,false,{}]},"a":[],"maxRange":50})");
    EXPECT_EQ(r.maxRange, 50.0);
}

// An unknown key may hold a value nested far beyond any stack's depth.
TEST(RequestReader, SkipsAMillionLevelsWithoutRecursion) {
    const std::size_t depth = 1'000'000;
    std::string text = R"({"deep":)";
    text.append(depth, '[');
    text.append(depth, ']');
    text += R"(,"maxRange":200})";
    EXPECT_EQ(parsed(text).maxRange, 200.0);

    std::string objects = R"({"deep":)";
    for (std::size_t i = 0; i < depth; ++i) objects += R"({"k":)";
    objects += "0";
    objects.append(depth, '}');
    objects += "}";
    EXPECT_EQ(parsed(objects), SolveRequest{});
}

TEST(RequestReaderNumbers, IntegersAndFloatsBecomeDoubles) {
    struct Row {
        const char* name;
        const char* text;
        double value;
    };
    const Row rows[] = {
        {"integer", "2650", 2650.0},
        {"negative integer", "-40", -40.0},
        {"fraction", "0.462", 0.462},
        {"exponent", "2.65e3", 2650.0},
        {"upper-case exponent with sign", "265E+1", 2650.0},
        {"negative exponent", "29920e-3", 29.92},
        {"below the smallest double", "1e-400", 0.0},
        {"zero with a huge exponent", "0e999999999999", 0.0},
        {"19-digit integer", "9007199254740993", 9007199254740992.0},
        {"integer beyond 64 bits", "123456789012345678901234567890", 1.2345678901234568e+29},
        {"most negative 64-bit integer", "-9223372036854775808", -9223372036854775808.0},
        {"below the 64-bit range", "-9223372036854775809", -9223372036854775808.0},
        // The reader's own conversion: the 17-digit significand is rounded to a double, then
        // divided by 1e8, which lands one unit in the last place away from the nearest double
        // (0x1.c56b6f2f39efbp+29). Hand-checked: 95088995790328921 / 1e8 in two roundings.
        {"long fraction keeps the reader's rounding", "950889957.90328921", 0x1.c56b6f2f39efcp+29},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(parsed(std::string(R"({"muzzleVelocity":)") + row.text + "}").muzzleVelocity, row.value);
    }
    EXPECT_TRUE(std::signbit(parsed(R"({"sightHeight":-0})").sightHeight));
    EXPECT_TRUE(std::signbit(parsed(R"({"sightHeight":-0.0})").sightHeight));
}

TEST(RequestReaderValues, PairsAndFlagsAndStrings) {
    const SolveRequest r = parsed(
        R"({"customCurve":[[0.5,0.2],[1.0,0.4]],"bcBands":[],"includeCoriolis":true,"dragModel":"cu\u017Ftom"})");
    ASSERT_TRUE(r.customCurve.has_value());
    EXPECT_EQ(r.customCurve->size(), 2u);
    EXPECT_EQ((*r.customCurve)[1], (std::pair<double, double>{1.0, 0.4}));
    EXPECT_TRUE(r.bcBands.empty());
    EXPECT_TRUE(r.includeCoriolis);
    EXPECT_EQ(r.dragModel, "cu\xc5\xbftom");
    EXPECT_FALSE(parsed(R"({"customCurve":null})").customCurve.has_value());
}

TEST(RequestConversion, DragModelSelectsTheCurveAfterUpperCasing) {
    struct Row {
        const char* name;
        const char* dragModel;
        DragCurve::Kind kind;
    };
    const Row rows[] = {
        {"G1", "G1", DragCurve::Kind::G1},
        {"G7", "G7", DragCurve::Kind::G7},
        {"lower-case g7", "g7", DragCurve::Kind::G7},
        {"Custom", "Custom", DragCurve::Kind::Custom},
        {"lower-case custom", "custom", DragCurve::Kind::Custom},
        {"long s", "cu\xc5\xbftom", DragCurve::Kind::Custom},
        {"st ligature", "cu\xef\xac\x86om", DragCurve::Kind::Custom},
        {"long-s-t ligature", "cu\xef\xac\x85om", DragCurve::Kind::Custom},
        {"empty", "", DragCurve::Kind::G1},
        {"G7 with a trailing space", "G7 ", DragCurve::Kind::G1},
        {"G 7", "G 7", DragCurve::Kind::G1},
        {"full-width G7", "\xef\xbc\xa7\x37", DragCurve::Kind::G1},
        {"dotless i is not a match for anything here", "cust\xc4\xb1om", DragCurve::Kind::G1},
        {"sharp s spells SS", "\xc3\x9f", DragCurve::Kind::G1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SolveRequest r;
        r.dragModel = row.dragModel;
        EXPECT_EQ(std::move(r).into_inputs().dragCurve.kind, row.kind);
    }
}

TEST(RequestConversion, CustomCurveRowsAreCarriedOnlyForTheCustomModel) {
    SolveRequest r = parsed(R"({"dragModel":"CUSTOM","customCurve":[[2,0.3],[1,0.5]],"bcBands":[[3000,0.5]]})");
    const SolverInput in = std::move(r).into_inputs();
    EXPECT_EQ(in.dragCurve.customRows, (std::vector<DragRow>{{2.0, 0.3}, {1.0, 0.5}}));  // order kept
    EXPECT_EQ(in.bcBands, (std::vector<BcBand>{{3000.0, 0.5}}));

    SolveRequest noCurve = parsed(R"({"dragModel":"custom"})");
    EXPECT_TRUE(std::move(noCurve).into_inputs().dragCurve.customRows.empty());
}

}  // namespace
}  // namespace kavrino_engine
