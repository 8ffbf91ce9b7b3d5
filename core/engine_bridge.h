#pragma once
// The application's only path into the engine library: hands a JSON solve request to
// kavrino_solve_json, reads the reply into records that mirror the library's solution, always
// hands the reply back to kavrino_free, and turns every failure into "no result".
#include "core/ballistics.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kavrino {

class EngineBridge {
public:
    EngineBridge() = delete;

    // One row of the library's reply. Every key is required and every value a JSON number
    // (never null), `zone` a string.
    struct Point {
        double range = 0;       // yd
        double velocity = 0;    // ft/s
        double mach = 0;
        double time = 0;        // s
        double energy = 0;      // ft·lbf
        double dropInches = 0;
        double dropMoa = 0;
        double dropMil = 0;
        double windInches = 0;
        double windMoa = 0;
        double windMil = 0;
        std::string zone;       // "Supersonic", "Transonic" or "Subsonic"

        bool operator==(const Point&) const = default;
    };

    struct Stability {
        double sg = 0;       // gyroscopic stability factor
        std::string rating;  // "stable", "marginal" or "unstable"

        bool operator==(const Stability&) const = default;
    };

    struct Solution {
        std::vector<Point> points;
        Stability stability;
        std::optional<double> transonicRange;  // yd; a missing key or null gives no value
        std::optional<double> subsonicRange;   // yd; a missing key or null gives no value

        // The rows as the application's trajectory rows, each with a fresh id; the Mach
        // number and zone are not carried over, and path is the negative of the drop.
        std::vector<TrajectoryPoint> trajectoryPoints() const;

        bool operator==(const Solution&) const = default;
    };

    // The library's entry pair. Tests substitute a fake to see every reply released.
    struct Library {
        char* (*solve)(const char* request);
        void (*release)(char* reply);
    };
    static Library engineLibrary();

    // One solve of a JSON request; no result on any failure of the library or of the reply.
    static std::optional<Solution> solve(const std::string& json);
    // The same for a NUL-terminated UTF-8 request.
    static std::optional<Solution> solve(const char* cString);
    static std::optional<Solution> solve(const char* cString, const Library& library);

    // Reads one reply text: a solution object, or no result for anything else (malformed or
    // non-UTF-8 text, an error object, a missing required key, a wrong type, a null number).
    static std::optional<Solution> decode(std::string_view reply);
};

}  // namespace kavrino
