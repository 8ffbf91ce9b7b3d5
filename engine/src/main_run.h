#pragma once
// The main run: launched at the zeroed angle and flown until it passes the end of the table,
// slows below the minimum speed or passes the flight-time bound, recording a row each time it
// passes the next range step.

#include "flight.h"
#include "solver.h"

#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace kavrino_engine::detail {

// What the main run and its rows need besides the forces.
struct MainRunSettings {
    const SolverInput* input;
    double muzzleVelocity;  // ft/s, temperature-corrected
    double startHeight;     // ft
    double sg;              // stability factor, for spin drift and aerodynamic jump
    double stopDistance;    // ft
};

struct MainRunRows {
    std::vector<solver::TrajectoryPoint> points;
    std::optional<double> transonicRange;
    std::optional<double> subsonicRange;
};

// Flies the main run from `theta` (rad) and records its rows. When `cancel` is given and becomes
// set, gives up between two steps and returns nothing.
std::optional<MainRunRows> flyMainRun(const Flight& flight, const MainRunSettings& settings, double theta,
                                      const std::atomic<bool>* cancel);

// The main run flown on a thread of its own from the angle the zeroing expects to end on, so it
// overlaps the rest of the zeroing. Each expectation that changes cancels the run before it;
// threads never outlive this object. When no thread can be started the run is flown in `take`.
class MainRunAhead {
public:
    MainRunAhead(const Flight& flight, const MainRunSettings& settings) : m_flight(flight), m_settings(settings) {}
    MainRunAhead(const MainRunAhead&) = delete;
    MainRunAhead& operator=(const MainRunAhead&) = delete;
    ~MainRunAhead();

    // Starts the run ahead from `theta`, unless the current one started from exactly it.
    void expect(double theta);
    // The rows of the run from `theta`: the run ahead's when it started from exactly this angle
    // and its thread is under way, otherwise flown here (a thread not yet running, on a busy
    // machine, is not waited for).
    MainRunRows take(double theta);

private:
    struct Job {
        double theta = 0.0;
        std::atomic<bool> cancel{false};
        std::atomic<bool> started{false};
        std::optional<MainRunRows> rows;
        std::thread thread;
    };
    void cancelAll();

    const Flight& m_flight;
    const MainRunSettings& m_settings;
    std::vector<std::unique_ptr<Job>> m_jobs;  // the last one is current; the ones before, cancelled
};

}  // namespace kavrino_engine::detail
