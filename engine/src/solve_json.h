#pragma once
// One request text in, one reply text out: the engine behind the C entry pair.

#include <string>
#include <string_view>

namespace kavrino_engine {

// Always returns JSON text: the solution, or {"error":"parse: <message at line L column C>"}
// when the request cannot be read. `text` is valid UTF-8.
std::string solve_json(std::string_view text);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. The entry point gives
// no reply to text that is not.
bool isValidUtf8(std::string_view text);

}  // namespace kavrino_engine
