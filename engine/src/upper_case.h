#pragma once
// Matching a text against an upper-case ASCII word after full Unicode upper-casing.

#include <string_view>

namespace kavrino_engine::detail {

// True when the full Unicode upper-case mapping of `text` (valid UTF-8) is exactly
// `upperAsciiWord`: "g7" and "G7" match "G7"; so does "cuſtom" (long s) match "CUSTOM".
bool upperCaseEquals(std::string_view text, std::string_view upperAsciiWord);

}  // namespace kavrino_engine::detail
