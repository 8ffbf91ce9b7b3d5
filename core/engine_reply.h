#pragma once
// The two readers of the engine library's reply behind EngineBridge::decode.
//
// The library always writes one compact layout: fixed keys in a fixed order, numbers in
// shortest round-trip form, no spaces. A table of a thousand rows is a reply of about 190 KB,
// and building a JSON document of it costs more than the solve, so the layout reader walks that
// layout once, straight into the solution's records. Any text that departs from it in any way
// goes to the document reader, which accepts every JSON form of a solution; so the reply a user
// sees decoded never depends on which reader took it.
#include "core/engine_bridge.h"

#include <optional>
#include <string_view>

namespace kavrino::engine_reply {

// What the layout reader made of a reply.
struct LayoutReading {
    // The text is exactly the library's layout; otherwise nothing below is meaningful and the
    // document reader must decide.
    bool recognised = false;
    // For a recognised text: the solution, or none when a required number is null (the library
    // writes null for a value that is not finite), as the document reader would answer.
    std::optional<EngineBridge::Solution> solution;
};

// Reads the library's own layout. Numbers are read correctly rounded, as the document reader
// reads them; a number that is not a decimal fraction or exponent form (an integer, say), is
// out of range, or any other departure leaves the text unrecognised.
LayoutReading readLayout(std::string_view reply);

// Reads any JSON text: a solution object, or no result for anything else (malformed or
// non-UTF-8 text, an error object, a missing required key, a wrong type, a null number).
std::optional<EngineBridge::Solution> readDocument(std::string_view reply);

}  // namespace kavrino::engine_reply
