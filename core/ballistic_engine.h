#pragma once
// The application's own point-mass trajectory integrator: a level-ground bisection zero, an
// explicit midpoint step of fixed length, drag from the G1 or G7 table, wind by the lag-time
// rule, optional spin drift and optional horizontal Coriolis deflection. It serves the solve
// model's fallback, the load comparison and the truing fit.
#include "core/ballistics.h"

#include <cstddef>
#include <span>
#include <vector>

namespace kavrino {

class BallisticEngine {
public:
    BallisticEngine() = delete;

    // Everything one solve reads. Units as in core/ballistics.h; the defaults are the solve
    // model's initial inputs.
    struct Inputs {
        double muzzleVelocity = 2650.0;      // ft/s
        double ballisticCoefficient = 0.462; // BC of the chosen standard model
        DragModel dragModel = DragModel::G1; // G7 reads the G7 table; G1 and custom the G1 table
        double bulletWeight = 168.0;         // grains
        double bulletDiameter = 0.308;       // in (stability only)
        double bulletLength = 1.24;          // in (stability only)
        double twistRate = 11.25;            // in per turn; > 0 adds spin drift, otherwise subtracts
        double sightHeight = 1.8;            // in above the bore
        double zeroRange = 100.0;            // yd
        double maxRange = 1000.0;            // yd
        double rangeStep = 100.0;            // yd
        double temperature = 59.0;           // °F
        double pressure = 29.92;             // inHg
        double humidity = 50.0;              // percent
        double windSpeed = 0.0;              // mph
        double windDirection = 90.0;         // degrees; crosswind = speed × sin(direction)
        double shootingAngle = 0.0;          // degrees (main pass only)
        double latitude = 45.0;              // degrees (Coriolis only)
        double targetAzimuth = 0.0;          // degrees (Coriolis only)
        bool includeSpinDrift = true;
        bool includeCoriolis = false;
    };

    // The rows at every range step from the first step on, ascending in range; the last row
    // lies one step beyond `maxRange` when the bullet keeps above 100 ft/s that long. Empty
    // when the bullet never reaches the first step. Each row's range is the distance actually
    // reached, up to one 0.5 ms step beyond its mark. Pure: reads nothing else and keeps
    // nothing. Bounded work: 50 zeroing flights and the main flight, each stopped once it has
    // flown 60 s (at most 120,001 steps of 0.5 ms).
    static std::vector<TrajectoryPoint> solve(const Inputs& inputs);

    // Several solves at once, their flights side by side: element i is solve(inputs[i]), bit
    // for bit, in less time than one solve after another. Callable from any thread.
    static std::vector<std::vector<TrajectoryPoint>> solveEach(std::span<const Inputs> inputs);
    // How many solves solveEach() flies at once; a batch of this many takes hardly longer
    // than one solve alone.
    static constexpr std::size_t solvesSideBySide = 12;
};

}  // namespace kavrino
