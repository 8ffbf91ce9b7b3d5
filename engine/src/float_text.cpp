#include "float_text.h"

#include <charconv>  // std::to_chars, std::from_chars
#include <cmath>     // std::signbit

namespace kavrino_engine::detail {

namespace {

// The shortest round-trip digits of a finite, non-zero `value` and kk, so that value = 0.d × 10^kk.
struct ShortestDigits {
    bool negative = false;
    std::string digits;
    int kk = 0;
};

ShortestDigits shortestDigits(double value) {
    // Scientific form gives the shortest digits and their exponent: "-d.ddde±x".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    ShortestDigits out;
    const char* p = buffer;
    if (*p == '-') {
        out.negative = true;
        ++p;
    }
    while (p != result.ptr && *p != 'e') {
        if (*p != '.') out.digits += *p;
        ++p;
    }
    ++p;  // 'e'
    if (*p == '+') ++p;
    int scientificExponent = 0;
    std::from_chars(p, result.ptr, scientificExponent);
    out.kk = scientificExponent + 1;
    return out;
}

}  // namespace

void appendPlainFloat(std::string& out, double value) {
    if (value == 0.0) {
        out += std::signbit(value) ? "-0.0" : "0.0";
        return;
    }
    const ShortestDigits d = shortestDigits(value);
    const int n = static_cast<int>(d.digits.size());
    if (d.negative) out += '-';
    if (d.kk <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-d.kk), '0');
        out += d.digits;
    } else if (d.kk >= n) {
        out += d.digits;
        out.append(static_cast<std::size_t>(d.kk - n), '0');
        out += ".0";
    } else {
        out.append(d.digits, 0, static_cast<std::size_t>(d.kk));
        out += '.';
        out.append(d.digits, static_cast<std::size_t>(d.kk));
    }
}

void appendShortestFloat(std::string& out, double value) {
    if (value == 0.0) {
        out += std::signbit(value) ? "-0.0" : "0.0";
        return;
    }
    const ShortestDigits d = shortestDigits(value);
    const std::string& digits = d.digits;
    const int n = static_cast<int>(digits.size());
    const int kk = d.kk;
    const int k = kk - n;  // value = digits × 10^k
    if (d.negative) out += '-';

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
