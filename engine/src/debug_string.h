#pragma once
// A string quoted for an error message the way the wire format's reader quotes what it found:
// in double quotes, with \" \\ \0 \t \r \n escaped, and every other control, format, separator,
// unassigned or combining (grapheme-extending) code point written as \u{hex}.

#include <string>
#include <string_view>

namespace kavrino_engine::detail {

// `text` is valid UTF-8.
std::string debugQuoted(std::string_view text);

}  // namespace kavrino_engine::detail
