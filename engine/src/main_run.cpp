#include "main_run.h"

#include <cmath>   // std::round, std::sin, std::cos, std::pow

namespace kavrino_engine::detail {
namespace {

using solver::TrajectoryPoint;
using solver::Zone;

constexpr double kEarthRotation = 7.2921e-5;  // rad/s
constexpr double kEnergyDivisor = 450436.0;   // grains·ft²/s² per ft·lbf
constexpr double kMoaInchesPer100Yards = 1.047;
constexpr double kMilInchesPer100Yards = 3.6;
constexpr double kDegrees = 0.017453292519943295;  // π/180
constexpr double kMphToFps = 1.46667;
double roundTo(double value, double scale) { return std::round(value * scale) / scale; }

// The table rows of the main run, recorded after each step as it passes each range step.
class RowRecorder {
public:
    RowRecorder(const MainRunSettings& settings, double speedOfSound, MainRunRows& rows)
        : m_input(*settings.input),
          m_mv(settings.muzzleVelocity),
          m_sg(settings.sg),
          m_speedOfSound(speedOfSound),
          m_crosswind(m_input.windSpeed * kMphToFps * std::sin(m_input.windDirection * kDegrees)),
          m_latitude(m_input.latitude * kDegrees),
          m_azimuth(m_input.targetAzimuth * kDegrees),
          m_rowSpacing(m_input.rangeStep * 3.0),
          m_nextRow(m_rowSpacing),
          m_rows(rows) {}

    // At most one row per step, from the state after the step.
    void afterStep(const Run& run) {
        const State& s = run.state();
        if (!(s.x >= m_nextRow)) return;
        m_nextRow = m_nextRow + m_rowSpacing;
        const double t = run.time();
        const double rangeYards = s.x / 3.0;
        const double v = run.speed();

        double drop = -12.0 * s.y;
        if (m_input.includeAeroJump) {
            const double jump = (m_sg + 1.2) * (m_crosswind / m_mv) * 12.0;
            if (m_input.twistRate > 0.0) drop -= rangeYards / 1000.0 * jump;
            else drop += rangeYards / 1000.0 * jump;
        }
        if (m_input.includeCoriolis) {
            drop += -12.0 * kEarthRotation * std::cos(m_latitude) * std::sin(m_azimuth) * s.x * t;
        }

        double wind = m_crosswind * (t - s.x / m_mv) * 12.0;
        if (m_input.includeSpinDrift) {
            const double spinDrift = 1.25 * (m_sg + 1.2) * std::pow(t, 1.83);
            if (m_input.twistRate <= 0.0) wind -= spinDrift;
            else wind += spinDrift;
        }
        if (m_input.includeCoriolis) {
            // The horizontal deflection carries sin(azimuth) as well, unlike the textbook term,
            // which depends on latitude only. The reply format fixes this: keep it.
            wind += 12.0 * kEarthRotation * std::sin(m_latitude) * std::sin(m_azimuth) * s.x * t;
        }

        const double mach = v / m_speedOfSound;
        const double per100 = rangeYards > 0.0 ? rangeYards / 100.0 : 1.0;
        const double moaDivisor = kMoaInchesPer100Yards * per100;
        const double milDivisor = kMilInchesPer100Yards * per100;

        TrajectoryPoint row;
        row.range = roundTo(rangeYards, 10.0);
        row.velocity = roundTo(v, 10.0);
        row.mach = roundTo(mach, 1000.0);
        row.time = roundTo(t, 10000.0);
        row.energy = roundTo(v * v * m_input.bulletWeight / kEnergyDivisor, 10.0);
        row.dropInches = roundTo(drop, 100.0);
        row.dropMoa = roundTo(drop / moaDivisor, 100.0);
        row.dropMil = roundTo(drop / milDivisor, 100.0);
        row.windInches = roundTo(wind, 100.0);
        row.windMoa = roundTo(wind / moaDivisor, 100.0);
        row.windMil = roundTo(wind / milDivisor, 100.0);
        row.zone = solver::zoneOf(mach);
        if (row.zone == Zone::Transonic && !m_rows.transonicRange) m_rows.transonicRange = row.range;
        if (row.zone == Zone::Subsonic && !m_rows.subsonicRange) m_rows.subsonicRange = row.range;
        m_rows.points.push_back(row);
    }

private:
    const SolverInput& m_input;
    double m_mv;
    double m_sg;
    double m_speedOfSound;
    double m_crosswind;   // ft/s, positive pushes towards positive windInches
    double m_latitude;    // rad
    double m_azimuth;     // rad
    double m_rowSpacing;  // ft
    double m_nextRow;     // ft
    MainRunRows& m_rows;
};

}  // namespace

bool flyMainRun(const Flight& flight, const MainRunSettings& settings, double theta, const std::atomic<bool>* stop,
                MainRunRows& rows) {
    Run run(flight, theta, settings.muzzleVelocity, settings.startHeight);
    rows = {};
    RowRecorder recorder(settings, flight.speedOfSound(), rows);
    // The stop rules, tested before every step.
    while (!(run.state().x >= settings.stopDistance || run.speed() < kMinimumSpeed ||
             run.time() > solver::kMaxFlightTime)) {
        if (stop && stop->load(std::memory_order_relaxed)) return false;
        run.step();
        recorder.afterStep(run);
    }
    return true;
}

}  // namespace kavrino_engine::detail
