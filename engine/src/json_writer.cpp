#include "json_writer.h"

#include "float_text.h"

#include <cmath>  // std::isfinite

namespace kavrino_engine::detail {

void appendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    appendShortestFloat(out, value);
}

void appendString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 0xF];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

namespace {

void appendField(std::string& out, std::string_view key, double value) {
    out += '"';
    out += key;
    out += "\":";
    appendNumber(out, value);
    out += ',';
}

void appendOptional(std::string& out, const std::optional<double>& value) {
    if (value) appendNumber(out, *value);
    else out += "null";
}

void appendPoint(std::string& out, const solver::TrajectoryPoint& p) {
    out += '{';
    appendField(out, "range", p.range);
    appendField(out, "velocity", p.velocity);
    appendField(out, "mach", p.mach);
    appendField(out, "time", p.time);
    appendField(out, "energy", p.energy);
    appendField(out, "dropInches", p.dropInches);
    appendField(out, "dropMoa", p.dropMoa);
    appendField(out, "dropMil", p.dropMil);
    appendField(out, "windInches", p.windInches);
    appendField(out, "windMoa", p.windMoa);
    appendField(out, "windMil", p.windMil);
    out += "\"zone\":";
    appendString(out, solver::zoneName(p.zone));
    out += '}';
}

}  // namespace

std::string writeSolution(const solver::Solution& solution) {
    std::string out;
    out.reserve(128 + solution.points.size() * 240);
    out += "{\"points\":[";
    for (std::size_t i = 0; i < solution.points.size(); ++i) {
        if (i > 0) out += ',';
        appendPoint(out, solution.points[i]);
    }
    out += "],\"stability\":{\"sg\":";
    appendNumber(out, solution.stability.sg);
    out += ",\"rating\":";
    appendString(out, solution.stability.rating);
    out += "},\"transonicRange\":";
    appendOptional(out, solution.transonicRange);
    out += ",\"subsonicRange\":";
    appendOptional(out, solution.subsonicRange);
    out += '}';
    return out;
}

std::string writeError(std::string_view message) {
    std::string out = "{\"error\":";
    appendString(out, message);
    out += '}';
    return out;
}

}  // namespace kavrino_engine::detail
