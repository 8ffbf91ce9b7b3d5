#include "upper_case.h"

#include <cstdint>
#include <string>

namespace kavrino_engine::detail {
namespace {

// Every non-ASCII code point whose full upper-case mapping is made of ASCII characters only.
// Derived by enumerating all code points U+0080..U+10FFFF with Python's str.upper() and keeping
// those whose result is pure ASCII; any other non-ASCII code point upper-cases to something that
// contains a non-ASCII character and so can never be part of an ASCII word.
struct AsciiUpperMapping {
    std::uint32_t codePoint;
    std::string_view upper;
};
constexpr AsciiUpperMapping kAsciiUpperMappings[] = {
    {0x00DF, "SS"},   // ß
    {0x0131, "I"},    // dotless i
    {0x017F, "S"},    // long s
    {0xFB00, "FF"},  {0xFB01, "FI"},  {0xFB02, "FL"}, {0xFB03, "FFI"},
    {0xFB04, "FFL"}, {0xFB05, "ST"},  {0xFB06, "ST"},  // Latin ligatures
};

}  // namespace

bool upperCaseEquals(std::string_view text, std::string_view upperAsciiWord) {
    std::string upper;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<std::uint8_t>(text[i]);
        if (lead < 0x80) {
            upper += (lead >= 'a' && lead <= 'z') ? static_cast<char>(lead - 'a' + 'A') : static_cast<char>(lead);
            ++i;
            if (upper.size() > upperAsciiWord.size()) return false;
            continue;
        }
        const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        std::uint32_t cp = lead & (length == 2 ? 0x1Fu : length == 3 ? 0x0Fu : 0x07u);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            cp = cp << 6 | (static_cast<std::uint8_t>(text[i + k]) & 0x3Fu);
        }
        i += length;
        bool mapped = false;
        for (const AsciiUpperMapping& m : kAsciiUpperMappings) {
            if (m.codePoint == cp) {
                upper += m.upper;
                mapped = true;
                break;
            }
        }
        if (!mapped || upper.size() > upperAsciiWord.size()) return false;
    }
    return upper == upperAsciiWord;
}

}  // namespace kavrino_engine::detail
