#include "float_text.h"

#include <charconv>  // std::to_chars, std::from_chars
#include <cmath>     // std::signbit

namespace kavrino_engine::detail {

void appendShortestFloat(std::string& out, double value) {
    if (value == 0.0) {
        out += std::signbit(value) ? "-0.0" : "0.0";
        return;
    }
    // Scientific form gives the shortest digits and their exponent: "-d.ddde±x".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const char* p = buffer;
    if (*p == '-') {
        out += '-';
        ++p;
    }
    std::string digits;
    while (p != result.ptr && *p != 'e') {
        if (*p != '.') digits += *p;
        ++p;
    }
    ++p;  // 'e'
    if (*p == '+') ++p;
    int scientificExponent = 0;
    std::from_chars(p, result.ptr, scientificExponent);
    const int n = static_cast<int>(digits.size());
    const int kk = scientificExponent + 1;  // value = 0.d × 10^kk
    const int k = kk - n;

    if (0 <= k && kk <= 16) {
        out += digits;
        out.append(static_cast<std::size_t>(k), '0');
        out += ".0";
    } else if (0 < kk && kk <= 16) {
        out.append(digits, 0, static_cast<std::size_t>(kk));
        out += '.';
        out.append(digits, static_cast<std::size_t>(kk));
    } else if (-5 < kk && kk <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-kk), '0');
        out += digits;
    } else {
        out += digits[0];
        if (n > 1) {
            out += '.';
            out.append(digits, 1);
        }
        out += 'e';
        out += std::to_string(kk - 1);
    }
}

}  // namespace kavrino_engine::detail
