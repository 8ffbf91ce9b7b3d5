#pragma once
// The one formatting helper: printf-style format strings with a full stop as the decimal
// separator whatever the user's locale. fmt implements printf semantics itself (rounding as
// printf rounds), so the C locale that Qt sets from the environment never reaches it.
#include <fmt/printf.h>

#include <QString>

#include <string>

namespace kavrino {

// printf-style text, e.g. cformat("%.1f ms", 0.25) == "0.2 ms" (round-half-even on the binary value, as printf).
template <typename... Args>
std::string cformat(const char* format, const Args&... args) {
    return fmt::sprintf(format, args...);
}

// The same, as a QString for widgets.
template <typename... Args>
QString qformat(const char* format, const Args&... args) {
    return QString::fromStdString(fmt::sprintf(format, args...));
}

}  // namespace kavrino
