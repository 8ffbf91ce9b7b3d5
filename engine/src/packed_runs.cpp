// The runs sit in the lanes of GCC/Clang vector types, four doubles to a vector, so one source
// compiles to AVX2 instructions in a function built for AVX2 (chosen at run time when the
// processor has it) and to pairs of SSE2 instructions (or the target's own vectors) otherwise.
// Each operation is applied to all the vectors in turn, so the instructions of independent runs
// interleave and their long chains of dependent divisions and square roots overlap; a pass is
// then bound by the divider's throughput, not by one run's latency. Vectors never cross a
// function boundary by value, which keeps both builds on one calling convention.
#include "packed_runs.h"

#include <cmath>    // std::sqrt
#include <cstdint>  // std::int64_t
#include <cstring>  // std::memcpy

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>  // _mm_sqrt_pd (SSE2)
#define KAVRINO_X86 1
#else
#define KAVRINO_X86 0
#endif

namespace kavrino_engine::detail {
namespace {

constexpr std::size_t kWidth = 4;  // lanes to a vector
constexpr std::size_t kLanes = kMaxPackedRuns;
static_assert(kLanes % kWidth == 0 && kLanes / kWidth <= 4);

typedef double Doubles __attribute__((vector_size(kWidth * sizeof(double))));
typedef std::int64_t Mask __attribute__((vector_size(kWidth * sizeof(double))));  // lanes 0 or -1

#define KAVRINO_INLINE [[gnu::always_inline]] inline
// Applies `statement` to vector i = 0 .. N - 1 (N of the enclosing template, at most 4), written
// out so each index is a constant and the compiler keeps every vector in a register of its own.
#define KAVRINO_EACH_VECTOR(statement)      \
    do {                                    \
        static_assert(N >= 1 && N <= 4);    \
        {                                   \
            constexpr std::size_t i = 0;    \
            statement;                      \
        }                                   \
        if constexpr (N > 1) {              \
            constexpr std::size_t i = 1;    \
            statement;                      \
        }                                   \
        if constexpr (N > 2) {              \
            constexpr std::size_t i = 2;    \
            statement;                      \
        }                                   \
        if constexpr (N > 3) {              \
            constexpr std::size_t i = 3;    \
            statement;                      \
        }                                   \
    } while (false)

// N vectors of kWidth lanes each.
template <std::size_t N> struct Wide {
    Doubles v[N];
};
template <std::size_t N> struct WideMask {
    Mask m[N];
};

template <std::size_t N> KAVRINO_INLINE Wide<N> operator+(const Wide<N>& a, const Wide<N>& b) {
    Wide<N> r;
    KAVRINO_EACH_VECTOR(r.v[i] = a.v[i] + b.v[i]);
    return r;
}
template <std::size_t N> KAVRINO_INLINE Wide<N> operator-(const Wide<N>& a, const Wide<N>& b) {
    Wide<N> r;
    KAVRINO_EACH_VECTOR(r.v[i] = a.v[i] - b.v[i]);
    return r;
}
template <std::size_t N> KAVRINO_INLINE Wide<N> operator*(const Wide<N>& a, const Wide<N>& b) {
    Wide<N> r;
    KAVRINO_EACH_VECTOR(r.v[i] = a.v[i] * b.v[i]);
    return r;
}
template <std::size_t N> KAVRINO_INLINE Wide<N> operator/(const Wide<N>& a, const Wide<N>& b) {
    Wide<N> r;
    KAVRINO_EACH_VECTOR(r.v[i] = a.v[i] / b.v[i]);
    return r;
}
template <std::size_t N> KAVRINO_INLINE WideMask<N> operator<(const Wide<N>& a, const Wide<N>& b) {
    WideMask<N> r;
    KAVRINO_EACH_VECTOR(r.m[i] = a.v[i] < b.v[i]);
    return r;
}
template <std::size_t N> KAVRINO_INLINE WideMask<N> operator>(const Wide<N>& a, const Wide<N>& b) {
    WideMask<N> r;
    KAVRINO_EACH_VECTOR(r.m[i] = a.v[i] > b.v[i]);
    return r;
}
template <std::size_t N> KAVRINO_INLINE WideMask<N> operator>=(const Wide<N>& a, const Wide<N>& b) {
    WideMask<N> r;
    KAVRINO_EACH_VECTOR(r.m[i] = a.v[i] >= b.v[i]);
    return r;
}
template <std::size_t N>
KAVRINO_INLINE WideMask<N> operator&(const WideMask<N>& a, const WideMask<N>& b) {
    WideMask<N> r;
    KAVRINO_EACH_VECTOR(r.m[i] = a.m[i] & b.m[i]);
    return r;
}
template <std::size_t N> KAVRINO_INLINE WideMask<N> operator~(const WideMask<N>& a) {
    WideMask<N> r;
    KAVRINO_EACH_VECTOR(r.m[i] = ~a.m[i]);
    return r;
}
// Each lane from `yes` where `mask` is set, else from `no`.
template <std::size_t N>
KAVRINO_INLINE Wide<N> select(const WideMask<N>& mask, const Wide<N>& yes, const Wide<N>& no) {
    Wide<N> r;
    KAVRINO_EACH_VECTOR(r.v[i] = mask.m[i] ? yes.v[i] : no.v[i]);
    return r;
}
template <std::size_t N> KAVRINO_INLINE bool any(const WideMask<N>& mask) {
    Mask all = mask.m[0];
    for (std::size_t i = 1; i < N; ++i) all |= mask.m[i];
    std::int64_t lanes = 0;
    for (std::size_t k = 0; k < kWidth; ++k) lanes |= all[k];
    return lanes != 0;
}
template <std::size_t N> KAVRINO_INLINE double lane(const Wide<N>& w, std::size_t k) {
    return w.v[k / kWidth][k % kWidth];
}
template <std::size_t N> KAVRINO_INLINE bool lane(const WideMask<N>& w, std::size_t k) {
    return w.m[k / kWidth][k % kWidth] != 0;
}

// Correctly rounded square root of each lane, as std::sqrt gives it. On x86, SSE2 packed square
// roots of lane pairs (merged into AVX instructions in the AVX2 build), kept in registers: going
// through memory would stall each on a store that cannot be forwarded.
template <std::size_t N> KAVRINO_INLINE Wide<N> sqrt(const Wide<N>& a) {
    Wide<N> r;
#if KAVRINO_X86
    static_assert(kWidth == 4);
    KAVRINO_EACH_VECTOR(r.v[i] = __builtin_shufflevector(_mm_sqrt_pd(__builtin_shufflevector(a.v[i], a.v[i], 0, 1)),
                                                         _mm_sqrt_pd(__builtin_shufflevector(a.v[i], a.v[i], 2, 3)), 0,
                                                         1, 2, 3));
#else
    for (std::size_t k = 0; k < N * kWidth; ++k) r.v[k / kWidth][k % kWidth] = std::sqrt(lane(a, k));
#endif
    return r;
}

template <std::size_t N> KAVRINO_INLINE Wide<N> splat(double value) {
    Wide<N> r;
    KAVRINO_EACH_VECTOR(for (std::size_t k = 0; k < kWidth; ++k) r.v[i][k] = value);
    return r;
}
template <std::size_t N> KAVRINO_INLINE Wide<N> load(const double (&lanes)[kLanes]) {
    Wide<N> r;
    KAVRINO_EACH_VECTOR(std::memcpy(&r.v[i], lanes + i * kWidth, sizeof(Doubles)));
    return r;
}
template <std::size_t N> KAVRINO_INLINE WideMask<N> maskLoad(const std::int64_t (&lanes)[kLanes]) {
    WideMask<N> r;
    KAVRINO_EACH_VECTOR(std::memcpy(&r.m[i], lanes + i * kWidth, sizeof(Mask)));
    return r;
}
template <std::size_t N> KAVRINO_INLINE void store(double (&lanes)[kLanes], const Wide<N>& w) {
    KAVRINO_EACH_VECTOR(std::memcpy(lanes + i * kWidth, &w.v[i], sizeof(Doubles)));
}
template <std::size_t N> KAVRINO_INLINE void store(std::int64_t (&lanes)[kLanes], const WideMask<N>& w) {
    KAVRINO_EACH_VECTOR(std::memcpy(lanes + i * kWidth, &w.m[i], sizeof(Mask)));
}

// The runs, one to a lane. The drag segment and BC band each lane met last are kept as plain
// numbers, so a stage evaluates drag with packed arithmetic and only a lane that leaves its
// segment or band goes back to the lookups.
struct alignas(32) Lanes {
    double x[kLanes], y[kLanes], vx[kLanes], vy[kLanes], t[kLanes], speed[kLanes];
    std::int64_t running[kLanes];  // -1 while the lane's run flies
    double dragFrom[kLanes], dragTo[kLanes];
    double loMach[kLanes], machSpan[kLanes], loCd[kLanes], cdSpan[kLanes], constantCd[kLanes];
    std::int64_t constant[kLanes];  // -1 where the segment is a constant Cd
    double bcFrom[kLanes], bcTo[kLanes], bc[kLanes];
};

// Looks up the drag segment and BC band of one lane again (rarely: when it leaves them).
[[gnu::noinline]] void refreshLane(Lanes& lanes, std::size_t k, double mach, double speed, const Flight& flight) {
    const drag::Segment segment = flight.drag().find(mach);
    lanes.dragFrom[k] = segment.from;
    lanes.dragTo[k] = segment.to;
    lanes.constant[k] = segment.constant ? -1 : 0;
    lanes.constantCd[k] = segment.cd;
    lanes.loMach[k] = segment.loMach;
    lanes.machSpan[k] = segment.machSpan;
    lanes.loCd[k] = segment.loCd;
    lanes.cdSpan[k] = segment.cdSpan;
    const BcStretch band = flight.bands().find(speed);
    lanes.bcFrom[k] = band.from;
    lanes.bcTo[k] = band.to;
    lanes.bc[k] = band.bc;
}

template <std::size_t N> struct Constants {
    Wide<N> gravity, density, speedOfSound, minusDragFactor, cutoff, zero, stopDistance, minimumSpeed, maxTime, dt,
        halfDt, two, six;
};

template <std::size_t N> struct Stage {
    Wide<N> x, y, vx, vy, v;
};
template <std::size_t N> struct Derivative {
    Wide<N> dx, dy, dvx, dvy;
};

// The acceleration at each lane's stage state, exactly as Run::derivative computes it.
template <std::size_t N>
KAVRINO_INLINE Derivative<N> derivative(const Stage<N>& s, Lanes& lanes, const Constants<N>& c, const Flight& flight) {
    const WideMask<N> cut = s.v < c.cutoff;
    const Wide<N> mach = s.v / c.speedOfSound;
    const WideMask<N> held = (mach >= load<N>(lanes.dragFrom)) & (mach < load<N>(lanes.dragTo)) &
                             (s.v >= load<N>(lanes.bcFrom)) & (s.v < load<N>(lanes.bcTo));
    const WideMask<N> stale = maskLoad<N>(lanes.running) & ~cut & ~held;
    if (any(stale)) [[unlikely]] {
        for (std::size_t k = 0; k < N * kWidth; ++k) {
            if (lane(stale, k)) refreshLane(lanes, k, lane(mach, k), lane(s.v, k), flight);
        }
    }
    const Wide<N> interpolated =
        load<N>(lanes.loCd) + (mach - load<N>(lanes.loMach)) / load<N>(lanes.machSpan) * load<N>(lanes.cdSpan);
    const Wide<N> cd = select(maskLoad<N>(lanes.constant), load<N>(lanes.constantCd), interpolated);
    const Wide<N> a = c.minusDragFactor * (s.v * s.v) * cd * c.density / load<N>(lanes.bc);
    return {s.vx, s.vy, select(cut, c.zero, a * s.vx / s.v), select(cut, c.gravity, c.gravity + a * s.vy / s.v)};
}

template <std::size_t N>
KAVRINO_INLINE Stage<N> advance(const Stage<N>& s, const Derivative<N>& k, const Wide<N>& h) {
    Stage<N> r{s.x + k.dx * h, s.y + k.dy * h, s.vx + k.dvx * h, s.vy + k.dvy * h, {}};
    r.v = sqrt(r.vx * r.vx + r.vy * r.vy);
    return r;
}

// One Runge-Kutta step of every running lane, then the stop tests. A stopped lane keeps its
// state: its height is the verdict. Returns whether any lane still runs.
template <std::size_t N> KAVRINO_INLINE bool step(Lanes& lanes, const Constants<N>& c, const Flight& flight) {
    const Stage<N> s{load<N>(lanes.x), load<N>(lanes.y), load<N>(lanes.vx), load<N>(lanes.vy), load<N>(lanes.speed)};
    const Derivative<N> k1 = derivative(s, lanes, c, flight);
    const Derivative<N> k2 = derivative(advance(s, k1, c.halfDt), lanes, c, flight);
    const Derivative<N> k3 = derivative(advance(s, k2, c.halfDt), lanes, c, flight);
    const Derivative<N> k4 = derivative(advance(s, k3, c.dt), lanes, c, flight);
    const Wide<N> x = s.x + (k1.dx + c.two * k2.dx + c.two * k3.dx + k4.dx) * c.dt / c.six;
    const Wide<N> y = s.y + (k1.dy + c.two * k2.dy + c.two * k3.dy + k4.dy) * c.dt / c.six;
    const Wide<N> vx = s.vx + (k1.dvx + c.two * k2.dvx + c.two * k3.dvx + k4.dvx) * c.dt / c.six;
    const Wide<N> vy = s.vy + (k1.dvy + c.two * k2.dvy + c.two * k3.dvy + k4.dvy) * c.dt / c.six;
    const Wide<N> t = load<N>(lanes.t) + c.dt;
    const Wide<N> speed = sqrt(vx * vx + vy * vy);
    const WideMask<N> running = maskLoad<N>(lanes.running);
    store(lanes.x, select(running, x, s.x));
    store(lanes.y, select(running, y, s.y));
    store(lanes.vx, select(running, vx, s.vx));
    store(lanes.vy, select(running, vy, s.vy));
    store(lanes.t, t);
    store(lanes.speed, speed);
    const WideMask<N> stillRunning = running & (x < c.stopDistance) & ~(speed < c.minimumSpeed) & ~(t > c.maxTime);
    store(lanes.running, stillRunning);
    return any(stillRunning);
}

template <std::size_t N> KAVRINO_INLINE void fly(Lanes& lanes, const Flight& flight, double stopDistance) {
    const Constants<N> c{splat<N>(flight.gravity()),
                         splat<N>(flight.density()),
                         splat<N>(flight.speedOfSound()),
                         splat<N>(-kDragFactor),
                         splat<N>(kDragCutoff),
                         splat<N>(0.0),
                         splat<N>(stopDistance),
                         splat<N>(kMinimumSpeed),
                         splat<N>(solver::kMaxFlightTime),
                         splat<N>(kTimeStep),
                         splat<N>(kTimeStep / 2.0),
                         splat<N>(2.0),
                         splat<N>(6.0)};
    while (step(lanes, c, flight)) {
    }
}

// Two vectors for passes of up to eight runs, four for more: a pass costs the time of its
// slowest chain or of the divisions of all its vectors, whichever is longer.
KAVRINO_INLINE void flyLanes(Lanes& lanes, std::size_t count, const Flight& flight, double stopDistance) {
    if (count <= 2 * kWidth) fly<2>(lanes, flight, stopDistance);
    else fly<kLanes / kWidth>(lanes, flight, stopDistance);
}

#if KAVRINO_X86
// AVX2 rather than AVX alone: the lane masks are 256-bit integer vectors.
__attribute__((target("avx2"))) void flyLanesAvx2(Lanes& lanes, std::size_t count, const Flight& flight,
                                                  double stopDistance) {
    flyLanes(lanes, count, flight, stopDistance);
}
#endif

void flyLanesBaseline(Lanes& lanes, std::size_t count, const Flight& flight, double stopDistance) {
    flyLanes(lanes, count, flight, stopDistance);
}

}  // namespace

void flyToDistance(const Flight& flight, std::span<const double> angles, double muzzleVelocity, double startHeight,
                   double stopDistance, std::span<double> heights, PackedInstructions instructions) {
    Lanes lanes{};
    bool any = false;
    for (std::size_t k = 0; k < kLanes; ++k) {
        // Spare lanes fly nothing. Segments start empty, so the first stage looks them up.
        const bool used = k < angles.size();
        const State s = Flight::launchState(used ? angles[k] : 0.0, muzzleVelocity, startHeight);
        const double speed = speedOf(s);
        lanes.x[k] = s.x;
        lanes.y[k] = s.y;
        lanes.vx[k] = s.vx;
        lanes.vy[k] = s.vy;
        lanes.speed[k] = speed;
        const bool running = used && s.x < stopDistance && !(speed < kMinimumSpeed);
        lanes.running[k] = running ? -1 : 0;
        any = any || running;
        lanes.dragFrom[k] = 1.0;
        lanes.bcFrom[k] = 1.0;
    }
    if (any) {
#if KAVRINO_X86
        if (instructions == PackedInstructions::Widest && __builtin_cpu_supports("avx2")) {
            flyLanesAvx2(lanes, angles.size(), flight, stopDistance);
        } else {
            flyLanesBaseline(lanes, angles.size(), flight, stopDistance);
        }
#else
        (void)instructions;
        flyLanesBaseline(lanes, angles.size(), flight, stopDistance);
#endif
    }
    for (std::size_t k = 0; k < angles.size(); ++k) heights[k] = lanes.y[k];
}

}  // namespace kavrino_engine::detail
