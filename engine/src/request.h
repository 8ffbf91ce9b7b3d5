#pragma once
// The solve request of the wire format: 27 optional fields read from a JSON object (by name) or
// a JSON array (by position), and its conversion into the solver's input.

#include "json_reader.h"
#include "solver.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kavrino_engine {

// Field order is the wire order: the array form fills fields by this index.
struct SolveRequest {
    double muzzleVelocity = 2650.0;
    double ballisticCoefficient = 0.462;
    std::string dragModel = "G1";
    std::optional<std::vector<std::pair<double, double>>> customCurve;  // (Mach, Cd) rows
    std::vector<std::pair<double, double>> bcBands;                     // (velocity ft/s, BC) rows
    double bulletWeight = 168.0;
    double sightHeight = 1.8;
    double zeroRange = 100.0;
    double maxRange = 1000.0;
    double rangeStep = 100.0;
    double temperature = 59.0;
    double pressure = 29.92;
    double altitude = 0.0;
    double humidity = 50.0;
    double windSpeed = 0.0;
    double windDirection = 90.0;
    double shootingAngle = 0.0;
    bool includeSpinDrift = false;
    bool includeCoriolis = false;
    bool includeAeroJump = false;
    double twistRate = 10.0;
    double bulletDiameter = 0.308;
    double bulletLength = 1.24;
    double latitude = 45.0;
    double targetAzimuth = 0.0;
    double mvTempSensitivity = 0.0;
    double mvReferenceTemp = 59.0;
    friend bool operator==(const SolveRequest&, const SolveRequest&) = default;

    // The solver input: every number and flag unchanged; dragModel, upper-cased with full
    // Unicode case mapping, selects G7 ("G7"), the custom rows ("CUSTOM"; customCurve or no rows)
    // or G1 (anything else).
    SolverInput into_inputs() &&;
};

// Reads one request from `text` (whole text, whitespace may follow). On failure returns the
// reader's fault, whose message() is the text the error reply carries.
std::variant<SolveRequest, detail::ReadError> parseSolveRequest(std::string_view text);

}  // namespace kavrino_engine
