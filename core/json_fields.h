#pragma once
// Strict field readers over nlohmann/json records, shared by every decoder of the application's
// data files (the catalog, the engine reply, the reload data). Each answers false when a
// required key is absent, null or holds the wrong type, so one bad field refuses the whole
// record, as a strict decoder would. An optional may be absent or null, and is then empty.
//   double: any JSON number, integral or not, that is finite (1e999 is no measurement);
//   whole number: an integer, or a number with no fraction, within the signed 64-bit range;
//   text: a string of at most kLongestText UTF-8 bytes: names, sources and notes are far
//   shorter, and a longer one is a broken record rather than memory to spend.
#include <QString>

#include <nlohmann/json.hpp>

#include <cmath>     // std::isfinite, std::trunc
#include <cstddef>   // std::size_t
#include <cstdint>   // std::int64_t, std::uint64_t
#include <limits>
#include <optional>
#include <string>
#include <utility>   // std::move

namespace kavrino::json_fields {

using nlohmann::json;

inline constexpr std::size_t kLongestText = 4096;

inline bool read(const json& value, double& out) {
    if (!value.is_number()) return false;
    out = value.get<double>();
    return std::isfinite(out);
}

inline bool read(const json& value, std::int64_t& out) {
    // Unsigned first: is_number_integer() holds for unsigned values too, and reading one above
    // the signed range as signed would wrap it to a negative number.
    if (value.is_number_unsigned()) {
        const auto u = value.get<std::uint64_t>();
        if (u > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) return false;
        out = static_cast<std::int64_t>(u);
        return true;
    }
    if (value.is_number_integer()) {
        out = value.get<std::int64_t>();
        return true;
    }
    if (!value.is_number_float()) return false;
    const double d = value.get<double>();
    // 2^63 is exactly representable; anything at or above it does not fit.
    if (std::trunc(d) != d || d < -9223372036854775808.0 || d >= 9223372036854775808.0) return false;
    out = static_cast<std::int64_t>(d);
    return true;
}

inline bool read(const json& value, bool& out) {
    if (!value.is_boolean()) return false;
    out = value.get<bool>();
    return true;
}

inline bool read(const json& value, std::string& out) {
    if (!value.is_string()) return false;
    const std::string& text = value.get_ref<const std::string&>();
    if (text.size() > kLongestText) return false;
    out = text;
    return true;
}

inline bool read(const json& value, QString& out) {
    std::string text;
    if (!read(value, text)) return false;
    out = QString::fromStdString(text);
    return true;
}

// The field `key` of `record`.
template <typename T>
bool read(const json& record, const char* key, T& out) {
    const auto it = record.find(key);
    return it != record.end() && read(*it, out);
}

template <typename T>
bool readOptional(const json& record, const char* key, std::optional<T>& out) {
    const auto it = record.find(key);
    if (it == record.end() || it->is_null()) {
        out.reset();
        return true;
    }
    T value{};
    if (!read(*it, value)) return false;
    out = std::move(value);
    return true;
}

}  // namespace kavrino::json_fields
