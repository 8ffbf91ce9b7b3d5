#pragma once
// Strict field readers over nlohmann/json records, shared by every decoder of the solving core.
// Each answers false when a required key is absent or holds the wrong type, so one bad field
// refuses the whole record, as a strict decoder would. A number, integral or not, is accepted
// where a double is read; an optional may be absent or null, and is then empty.
#include <QString>

#include <nlohmann/json.hpp>

#include <cmath>     // std::isfinite
#include <optional>
#include <string>
#include <utility>   // std::move

namespace kavrino::json_fields {

using nlohmann::json;

inline bool read(const json& record, const char* key, double& out) {
    const auto it = record.find(key);
    if (it == record.end() || !it->is_number()) return false;
    out = it->get<double>();
    return std::isfinite(out);
}

inline bool read(const json& record, const char* key, std::string& out) {
    const auto it = record.find(key);
    if (it == record.end() || !it->is_string()) return false;
    out = it->get_ref<const std::string&>();
    return true;
}

inline bool read(const json& record, const char* key, QString& out) {
    std::string text;
    if (!read(record, key, text)) return false;
    out = QString::fromStdString(text);
    return true;
}

template <typename T>
bool readOptional(const json& record, const char* key, std::optional<T>& out) {
    const auto it = record.find(key);
    if (it == record.end() || it->is_null()) {
        out.reset();
        return true;
    }
    T value{};
    if (!read(record, key, value)) return false;
    out = std::move(value);
    return true;
}

}  // namespace kavrino::json_fields
