#include "core/engine_bridge.h"

#include "core/json_fields.h"
#include "kavrino_engine.h"

#include <nlohmann/json.hpp>

#include <memory>

namespace kavrino {
namespace {

using json = nlohmann::json;

using json_fields::read;
using json_fields::readOptional;

std::optional<EngineBridge::Point> readPoint(const json& row) {
    if (!row.is_object()) return std::nullopt;
    EngineBridge::Point p;
    const bool complete = read(row, "range", p.range) && read(row, "velocity", p.velocity) &&
                          read(row, "mach", p.mach) && read(row, "time", p.time) &&
                          read(row, "energy", p.energy) && read(row, "dropInches", p.dropInches) &&
                          read(row, "dropMoa", p.dropMoa) && read(row, "dropMil", p.dropMil) &&
                          read(row, "windInches", p.windInches) && read(row, "windMoa", p.windMoa) &&
                          read(row, "windMil", p.windMil) && read(row, "zone", p.zone);
    if (!complete) return std::nullopt;
    return p;
}

std::optional<EngineBridge::Solution> readSolution(const json& reply) {
    if (!reply.is_object()) return std::nullopt;
    EngineBridge::Solution solution;

    const auto points = reply.find("points");
    if (points == reply.end() || !points->is_array()) return std::nullopt;
    solution.points.reserve(points->size());
    for (const json& row : *points) {
        std::optional<EngineBridge::Point> point = readPoint(row);
        if (!point) return std::nullopt;
        solution.points.push_back(std::move(*point));
    }

    const auto stability = reply.find("stability");
    if (stability == reply.end() || !stability->is_object()) return std::nullopt;
    if (!read(*stability, "sg", solution.stability.sg)) return std::nullopt;
    if (!read(*stability, "rating", solution.stability.rating)) return std::nullopt;

    if (!readOptional(reply, "transonicRange", solution.transonicRange)) return std::nullopt;
    if (!readOptional(reply, "subsonicRange", solution.subsonicRange)) return std::nullopt;
    return solution;
}

}  // namespace

std::vector<TrajectoryPoint> EngineBridge::Solution::trajectoryPoints() const {
    std::vector<TrajectoryPoint> rows;
    rows.reserve(points.size());
    for (const Point& p : points) {
        TrajectoryPoint row;
        row.range = p.range;
        row.velocity = p.velocity;
        row.time = p.time;
        row.energy = p.energy;
        row.dropInches = p.dropInches;
        row.dropMOA = p.dropMoa;
        row.dropMil = p.dropMil;
        row.windDriftInches = p.windInches;
        row.windDriftMOA = p.windMoa;
        row.windDriftMil = p.windMil;
        row.path = -p.dropInches;
        rows.push_back(row);
    }
    return rows;
}

EngineBridge::Library EngineBridge::engineLibrary() { return Library{&kavrino_solve_json, &kavrino_free}; }

std::optional<EngineBridge::Solution> EngineBridge::decode(std::string_view reply) {
    try {
        // Without exceptions: malformed text, including text that is not UTF-8, is discarded.
        const json document = json::parse(reply.begin(), reply.end(), nullptr, false);
        if (document.is_discarded()) return std::nullopt;
        return readSolution(document);
    } catch (...) {  // only an allocation failure lands here; it is a failed solve like any other
        return std::nullopt;
    }
}

std::optional<EngineBridge::Solution> EngineBridge::solve(const std::string& json) {
    return solve(json.c_str());
}

std::optional<EngineBridge::Solution> EngineBridge::solve(const char* cString) {
    return solve(cString, engineLibrary());
}

std::optional<EngineBridge::Solution> EngineBridge::solve(const char* cString, const Library& library) {
    if (cString == nullptr) return std::nullopt;
    // The reply is ours from here until it is released, exactly once, whatever happens.
    const std::unique_ptr<char, void (*)(char*)> reply(library.solve(cString), library.release);
    if (!reply) return std::nullopt;
    return decode(std::string_view(reply.get()));
}

}  // namespace kavrino
