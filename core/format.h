#pragma once
// The one formatting helper: printf-style format strings with a full stop as the decimal
// separator whatever the user's locale. fmt implements printf semantics itself (rounding as
// printf rounds), so the C locale that Qt sets from the environment never reaches it.
#include <fmt/printf.h>

#include <QString>

#include <cmath>
#include <string>
#include <type_traits>

namespace kavrino {

namespace format_detail {

// A not-a-number reads "nan" whatever its sign bit. The sign of a NaN means nothing, and x86
// arithmetic (0/0, inf - inf) yields one with the sign set, which fmt would print as "-nan".
template <typename T>
decltype(auto) printable(const T& value) {
    if constexpr (std::is_floating_point_v<T>) {
        return std::isnan(value) ? T(std::fabs(value)) : value;
    } else {
        return (value);
    }
}

}  // namespace format_detail

// printf-style text, e.g. cformat("%.1f ms", 0.25) == "0.2 ms" (round-half-even on the binary value, as printf).
template <typename... Args>
std::string cformat(const char* format, const Args&... args) {
    return fmt::sprintf(format, format_detail::printable(args)...);
}

// The same, as a QString for widgets.
template <typename... Args>
QString qformat(const char* format, const Args&... args) {
    return QString::fromStdString(fmt::sprintf(format, format_detail::printable(args)...));
}

}  // namespace kavrino
