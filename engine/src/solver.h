#pragma once
// Point-mass trajectory solver: zeroing by bisection, fixed-step fourth-order Runge-Kutta, one
// table row per range step, with wind, spin drift, aerodynamic jump and Coriolis corrections.

#include "drag.h"

#include <optional>
#include <string_view>
#include <vector>

namespace kavrino_engine {

// A speed-dependent ballistic coefficient: `bc` applies from `velocity` (ft/s) upwards.
struct BcBand {
    double velocity = 0.0;
    double bc = 0.0;
    friend bool operator==(const BcBand&, const BcBand&) = default;
};

// Everything a solve reads, in the units of the request.
struct SolverInput {
    double muzzleVelocity = 2650.0;     // ft/s, at mvReferenceTemp
    double ballisticCoefficient = 0.462;
    DragCurve dragCurve;
    std::vector<BcBand> bcBands;        // searched in list order; empty = ballisticCoefficient
    double bulletWeight = 168.0;        // grains
    double sightHeight = 1.8;           // inches, bore below the line of sight
    double zeroRange = 100.0;           // yards
    double maxRange = 1000.0;           // yards
    double rangeStep = 100.0;           // yards
    double temperature = 59.0;          // °F
    double pressure = 29.92;            // inHg
    double altitude = 0.0;              // ft; carried along, not used by the solve
    double humidity = 50.0;             // percent
    double windSpeed = 0.0;             // mph
    double windDirection = 90.0;        // degrees; crosswind = speed * sin(direction)
    double shootingAngle = 0.0;         // degrees
    bool includeSpinDrift = false;
    bool includeCoriolis = false;
    bool includeAeroJump = false;
    double twistRate = 10.0;            // inches per turn; > 0 right-hand twist
    double bulletDiameter = 0.308;      // inches
    double bulletLength = 1.24;         // inches
    double latitude = 45.0;             // degrees
    double targetAzimuth = 0.0;         // degrees
    double mvTempSensitivity = 0.0;     // ft/s per °F; 0 = no correction
    double mvReferenceTemp = 59.0;      // °F
    friend bool operator==(const SolverInput&, const SolverInput&) = default;
};

namespace solver {

enum class Zone { Supersonic, Transonic, Subsonic };

// One table row; every number already rounded as the reply carries it.
struct TrajectoryPoint {
    double range = 0.0;       // yd, 0.1
    double velocity = 0.0;    // ft/s, 0.1
    double mach = 0.0;        // 0.001
    double time = 0.0;        // s, 0.0001
    double energy = 0.0;      // ft·lbf, 0.1
    double dropInches = 0.0;  // positive = below the line of sight, 0.01
    double dropMoa = 0.0;
    double dropMil = 0.0;
    double windInches = 0.0;
    double windMoa = 0.0;
    double windMil = 0.0;
    Zone zone = Zone::Supersonic;
    friend bool operator==(const TrajectoryPoint&, const TrajectoryPoint&) = default;
};

struct Stability {
    double sg = 0.0;             // Miller factor, 0.01; infinite or NaN is written null
    std::string_view rating;     // "stable", "marginal" or "unstable"
    friend bool operator==(const Stability&, const Stability&) = default;
};

struct Solution {
    std::vector<TrajectoryPoint> points;
    Stability stability;
    std::optional<double> transonicRange;  // yd, 0.1: first transonic row
    std::optional<double> subsonicRange;   // yd, 0.1: first subsonic row
    friend bool operator==(const Solution&, const Solution&) = default;
};

// "Supersonic", "Transonic" or "Subsonic".
std::string_view zoneName(Zone zone);
// Zone of an unrounded Mach number; NaN counts as supersonic.
Zone zoneOf(double mach);
// "stable" (>= 1.5), "marginal" (>= 1.0) or "unstable" (below, or NaN).
std::string_view ratingOf(double sg);

// Miller gyroscopic stability factor of the input as given (muzzleVelocity uncorrected): 0 when
// bulletDiameter is 0, +inf when twistRate is 0, NaN for a negative muzzle velocity.
double miller_sg(const SolverInput& input);

// Every integration run stops before a step once its flight time has passed this bound (s), so
// a bullet that never reaches the stop distance, or a state that became NaN, cannot run forever.
inline constexpr double kMaxFlightTime = 60.0;

// The full solve. Pure; never fails: degenerate inputs give degenerate rows.
Solution solve(const SolverInput& input);

}  // namespace solver
}  // namespace kavrino_engine
