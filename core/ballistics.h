#pragma once
// The ballistic vocabulary every computation of the application shares: the drag model of a
// load, the trajectory row, the G1 and G7 standard drag tables with their lookup, and the
// unit conversions in which every row is expressed.
//
// Units throughout: ranges in yards, velocities in ft/s, weights in grains, lengths, drop,
// drift and path in inches, temperature in °F, pressure in inHg, humidity in percent, wind
// speed in mph, angles in degrees, energy in ft·lbf, time in seconds. The integrators work in
// feet internally (1 yd = 3 ft, 1 ft = 12 in).
#include <QUuid>

#include <array>
#include <cstddef>  // std::size_t
#include <numbers>  // std::numbers::pi
#include <optional>
#include <string_view>

namespace kavrino {

// The drag model of a load. `custom` stands for a loaded measured drag curve; in the table
// lookup it falls back to the G1 table.
enum class DragModel { G1, G7, custom };

// The speed of sound at which displays mark Mach 1 (ft/s): the trajectory table's subsonic rows
// and the chart page's "Mach 1" rule. A fixed display threshold: it does not follow the solve's
// atmosphere.
inline constexpr double displaySpeedOfSound = 1116.4;

// Every case, in declaration order.
inline constexpr std::array<DragModel, 3> allDragModels{DragModel::G1, DragModel::G7, DragModel::custom};

// "G1", "G7" or "Custom".
std::string_view rawValue(DragModel model);

// The case whose raw text is exactly `text` (case-sensitive); no value for any other text.
std::optional<DragModel> dragModelFromRawValue(std::string_view text);

// A fresh identifier for a trajectory row, distinct from every other one this process makes.
// A table of a thousand rows is made many times a second (and the truing fit makes thousands),
// so this costs a counter increment, not a random draw: one random identifier per process
// with a per-row sequence number folded in. Callable from any thread.
QUuid newTrajectoryPointId();

// One row of a trajectory as the application shows it. Every row built gets a fresh `id`
// (views tell rows and tables apart by it); a copy keeps the id of its original. Rows compare
// field by field, the id included.
struct TrajectoryPoint {
    QUuid id = newTrajectoryPointId();
    double range = 0;            // yd from the muzzle
    double velocity = 0;         // ft/s
    double time = 0;             // s of flight
    double energy = 0;           // ft·lbf
    double dropInches = 0;       // in below the line of sight (positive = below)
    double dropMOA = 0;          // dropInches as minutes of angle
    double dropMil = 0;          // dropInches as milliradians
    double windDriftInches = 0;  // in of lateral deflection
    double windDriftMOA = 0;     // windDriftInches as minutes of angle
    double windDriftMil = 0;     // windDriftInches as milliradians
    double path = 0;             // in above the line of sight; always -dropInches

    bool operator==(const TrajectoryPoint&) const = default;
};

// One row of a standard drag table.
struct DragTableRow {
    double mach;
    double cd;  // drag coefficient
};

// The standard G1 (79 rows) and G7 (84 rows) drag functions, drag coefficient against Mach
// number, Mach strictly ascending from 0.0 to 5.0.
extern const std::array<DragTableRow, 79> g1Table;
extern const std::array<DragTableRow, 84> g7Table;

// The drag coefficient of the chosen standard table at a Mach number: `G7` reads the G7 table,
// `G1` and `custom` the G1 table. Clamped to the first and last rows, linear between the
// bracketing rows. Pure; callable from any thread.
double dragCoefficient(DragModel model, double mach);

// The same lookup for a caller that walks the table with a slowly changing Mach number, as an
// integrator does: it starts its search from the bracket it found last instead of from the
// first row. The table is strictly ascending, so every Mach number in range has exactly one
// bracket and the result equals `dragCoefficient` bit for bit.
class DragTableCursor {
public:
    explicit DragTableCursor(DragModel model);
    double operator()(double mach);

private:
    const DragTableRow* m_rows;
    std::size_t m_count;
    std::size_t m_bracket = 0;  // index of the lower row of the last bracket
};

// Shared conversions, the same constants everywhere in the application.

// Inches at a range as minutes of angle: inches / (range / 100 × 1.047).
inline double moaFromInches(double inches, double rangeYards) { return inches / (rangeYards / 100 * 1.047); }

// Inches at a range as milliradians: inches / (range / 100 × 3.6).
inline double milFromInches(double inches, double rangeYards) { return inches / (rangeYards / 100 * 3.6); }

// Kinetic energy in ft·lbf of a bullet of `weightGrains` at `velocity` ft/s.
inline double energyFootPounds(double weightGrains, double velocity) {
    return weightGrains * (velocity * velocity) / 450436;
}

// Miles per hour to feet per second.
inline double feetPerSecondFromMph(double mph) { return mph * 1.46667; }

// Degrees to radians.
inline double radiansFromDegrees(double degrees) { return degrees * std::numbers::pi / 180; }

}  // namespace kavrino
