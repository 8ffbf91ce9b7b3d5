#include "core/engine_bridge.h"

#include "core/engine_reply.h"
#include "core/logging.h"
#include "kavrino_engine.h"

#include <nlohmann/json.hpp>

#include <memory>

namespace kavrino {
namespace {

// Why a reply is no solution, for the log: the library's own message for an error object.
std::string unusableReply(std::string_view reply) {
    try {
        const auto document = nlohmann::json::parse(reply, nullptr, false);
        if (document.is_object() && document.contains("error") && document["error"].is_string()) {
            return "the engine library answered with an error: " + document["error"].get<std::string>();
        }
    } catch (...) {  // no memory to read it: the plain reason serves
    }
    return "the engine library's reply is not a solution that can be read";
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
        engine_reply::LayoutReading reading = engine_reply::readLayout(reply);
        if (reading.recognised) return std::move(reading.solution);
    } catch (...) {  // only an allocation failure lands here; it is a failed solve like any other
        return std::nullopt;
    }
    return engine_reply::readDocument(reply);
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
    if (!reply) {
        qCWarning(lcEngine) << "the engine library gave no reply - the solve falls back to the built-in integrator";
        return std::nullopt;
    }
    std::optional<Solution> solution = decode(std::string_view(reply.get()));
    if (!solution) {
        qCWarning(lcEngine).noquote() << QString::fromStdString(unusableReply(reply.get()))
                                      << "- the solve falls back to the built-in integrator";
    }
    return solution;
}

}  // namespace kavrino
