#pragma once
// Compact JSON text of the engine's replies: the solution, and the error object.

#include "solver.h"

#include <string>
#include <string_view>

namespace kavrino_engine::detail {

// Appends `value` as a JSON number (shortest round-trip text, integral values keep ".0"), or
// null when it is infinite or not a number.
void appendNumber(std::string& out, double value);
// Appends `text` (valid UTF-8) as a JSON string: \" \\ \b \f \n \r \t, other control
// characters as \u00xx, everything else as is.
void appendString(std::string& out, std::string_view text);

// {"points":[...],"stability":{"sg":..,"rating":".."},"transonicRange":..,"subsonicRange":..}
std::string writeSolution(const solver::Solution& solution);
// {"error":"<message>"}
std::string writeError(std::string_view message);

}  // namespace kavrino_engine::detail
