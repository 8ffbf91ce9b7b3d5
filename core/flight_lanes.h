#pragma once
// Several independent point-mass flights integrated side by side, packed into SIMD registers.
//
// The built-in integrator spends its time in divisions and square roots, each waiting for the
// last; independent flights (the bisection's trial angles, the truing fit's candidates, the
// compared loads) can share one instruction instead. Every lane performs exactly the arithmetic
// of a flight of its own, in the same order, with IEEE operations that round the same packed
// as scalar (add, subtract, multiply, divide, square root; no fused multiply-add), so a flight
// gives the same bits in any lane, beside any other flights, on any instruction set.
//
// The lanes know nothing of zeroing or rows: a controller starts flights in idle lanes and is
// told when a flight stops and when it passes its next mark.
#include "core/ballistics.h"

#include <array>
#include <cstddef>
#include <limits>

namespace kavrino::flight {

inline constexpr double timeStep = 0.0005;   // s; fixed, no adaptive control
inline constexpr double halfStep = 0.00025;  // s
inline constexpr double dragFactor = -0.000208554;
inline constexpr double stopSpeed = 100.0;          // ft/s: below this the table is of no use
inline constexpr double stopHorizontalSpeed = 1.0;  // ft/s: the bullet no longer moves downrange
inline constexpr double stopTime = 60.0;            // s: bounds every flight at 120,001 steps
// A mark that no position reaches, not even an infinite one (a flight whose drag or air is
// degenerate can fly to x = +inf in one step): every comparison with a not-a-number is false.
inline constexpr double noMark = std::numeric_limits<double>::quiet_NaN();

// One flight from the muzzle (x = 0, t = 0). Units: ft, ft/s, ft/s².
struct Flight {
    double y = 0;             // start height against the line of sight
    double vx = 0;            // launch velocity
    double vy = 0;
    double gravity = 0;       // vertical acceleration besides drag
    double stopDistance = 0;  // no step is taken once x has reached it
    double firstMark = 0;     // the controller hears of the step that first reaches it; noMark: never
    double speedOfSound = 0;  // ft/s
    double effectiveBC = 0;   // BC over the air's density ratio
    DragModel dragModel = DragModel::G1;  // G7 reads the G7 table, G1 and custom the G1 table
};

// A lane's flight state as the controller sees it.
struct LaneState {
    double x;
    double y;
    double vx;
    double vy;
    double t;
};

class Lanes;

class Controller {
public:
    // The flight in `lane` stopped before a step: it reached its stop distance, fell below
    // 100 ft/s or 1 ft/s downrange, lost a finite velocity, or flew past 60 s. The lane is idle
    // now; the controller may start flights in it or in any other idle lane.
    virtual void stopped(Lanes& lanes, int lane, const LaneState& state) = 0;
    // The step just taken in `lane` reached its mark; `speed` is the speed the step started
    // from. Returns the next mark.
    virtual double marked(int lane, const LaneState& state, double speed) = 0;

protected:
    ~Controller() = default;
};

class Lanes {
public:
    // Three registers of four lanes (six of two): enough independent flights to keep the
    // divider busy while each waits for its last result.
    static constexpr int count = 12;
    static_assert(count % 4 == 0, "each lane array must start on a 32-byte boundary for packed loads");

    Lanes();

    bool idle(int lane) const { return !m_active[static_cast<std::size_t>(lane)]; }
    // Starts `flight` in an idle lane.
    void start(int lane, const Flight& flight);
    // Integrates until every lane is idle, calling the controller as flights stop and pass
    // their marks. Flights started by the controller meanwhile are flown too.
    void run(Controller& controller);
    // Ends the flight in `lane` and tells the controller (the kernels' stop rule calls it).
    void stop(Controller& controller, int lane);

    // The lanes' state as the kernels read and write it: each quantity an array over the
    // lanes, so that a register of W lanes loads W neighbours.
    struct alignas(64) Bank {
        std::array<double, count> x, y, vx, vy, t, speed;
        std::array<double, count> gravity, stopDistance, mark, speedOfSound, effectiveBC;
        // The drag-table rows around the lane's last Mach number, so that most lookups need no
        // search: the table's own values, and the differences its lookup computes
        // (width = hiMach - loMach, rise = hiCd - loCd).
        std::array<double, count> loMach, hiMach, width, loCd, rise;
        std::array<double, count> active;  // all bits set while a flight runs, else 0
        std::array<const DragTableRow*, count> table;
        std::array<std::size_t, count> tableSize;
        std::array<std::size_t, count> bracket;  // lower row of the cached bracket
    };

private:
    void park(int lane);

    Bank m_bank;
    std::array<bool, count> m_active{};
};

// The kernels: one lane to a register anywhere, two with SSE2 (every x86-64 processor), four
// with AVX where the processor has it. `widest` picks the widest the processor runs.
enum class Kernel { widest, oneLane, sse2, avx };

// Every later run uses `kernel` (tests use it to check each kernel's results against the
// others; one the processor or build lacks falls back to the widest available).
void chooseKernel(Kernel kernel);

// The drag coefficient for one lane by a search of its table, updating the lane's bracket when
// the Mach number lies inside the table; the same result as dragCoefficient().
double searchDrag(Lanes::Bank& bank, std::size_t lane, double mach);

}  // namespace kavrino::flight
