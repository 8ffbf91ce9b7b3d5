#include "core/flight_lanes.h"

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__x86_64__)
#include <immintrin.h>
#define KAVRINO_LANES_X86 1
// Code for AVX is compiled between these two markers (and runs only after a run-time check).
#if defined(__clang__)
#define KAVRINO_LANES_AVX 1
#define KAVRINO_AVX_BEGIN _Pragma("clang attribute push(__attribute__((target(\"avx\"))), apply_to = function)")
#define KAVRINO_AVX_END _Pragma("clang attribute pop")
#elif defined(__GNUC__)
#define KAVRINO_LANES_AVX 1
#define KAVRINO_AVX_BEGIN _Pragma("GCC push_options") _Pragma("GCC target(\"avx\")")
#define KAVRINO_AVX_END _Pragma("GCC pop_options")
#endif
#endif

namespace kavrino::flight {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
const double allBits = std::bit_cast<double>(~std::uint64_t{0});

}  // namespace

double searchDrag(Lanes::Bank& b, std::size_t lane, double mach) {
    // The table lookup of dragCoefficient(), resumed from the lane's last bracket: the table is
    // strictly ascending, so a Mach number inside it has exactly one bracket wherever the
    // search starts.
    const DragTableRow* rows = b.table[lane];
    const std::size_t last = b.tableSize[lane] - 1;
    if (mach <= rows[0].mach) return rows[0].cd;
    if (rows[last].mach <= mach) return rows[last].cd;
    std::size_t i = b.bracket[lane];
    while (i > 0 && mach < rows[i].mach) --i;
    while (i + 1 < last && rows[i + 1].mach <= mach) ++i;
    if (!(rows[i].mach <= mach && mach < rows[i + 1].mach)) return rows[last].cd;  // not a number
    const DragTableRow& lo = rows[i];
    const DragTableRow& hi = rows[i + 1];
    b.bracket[lane] = i;
    b.loMach[lane] = lo.mach;
    b.hiMach[lane] = hi.mach;
    b.width[lane] = hi.mach - lo.mach;
    b.loCd[lane] = lo.cd;
    b.rise[lane] = hi.cd - lo.cd;
    return lo.cd + (mach - lo.mach) / (hi.mach - lo.mach) * (hi.cd - lo.cd);
}

namespace {

// Register types. Comparisons are the ordered ones of C++ (false when either side is not a
// number); notFinite is true for an infinity or a not-a-number.

struct ScalarPack {
    struct V {
        double v;
    };
    static constexpr int width = 1;
    static V set(double v) { return {v}; }
    static V load(const double* p) { return {*p}; }
    static void store(double* p, V v) { *p = v.v; }
    static V add(V a, V b) { return {a.v + b.v}; }
    static V sub(V a, V b) { return {a.v - b.v}; }
    static V mul(V a, V b) { return {a.v * b.v}; }
    static V div(V a, V b) { return {a.v / b.v}; }
    static V sqrt(V a) { return {std::sqrt(a.v)}; }
    static V truth(bool b) { return {b ? allBits : 0.0}; }
    static bool bits(V a) { return std::bit_cast<std::uint64_t>(a.v) != 0; }
    static V lt(V a, V b) { return truth(a.v < b.v); }
    static V le(V a, V b) { return truth(a.v <= b.v); }
    static V gt(V a, V b) { return truth(a.v > b.v); }
    static V ge(V a, V b) { return truth(a.v >= b.v); }
    static V notFinite(V a) { return truth(!std::isfinite(a.v)); }
    static V bitAnd(V a, V b) { return truth(bits(a) && bits(b)); }
    static V bitOr(V a, V b) { return truth(bits(a) || bits(b)); }
    static V andNot(V a, V b) { return truth(!bits(a) && bits(b)); }
    static int mask(V a) { return bits(a) ? 1 : 0; }
};

#if KAVRINO_LANES_X86
struct Sse2Pack {
    using V = __m128d;
    static constexpr int width = 2;
    static V set(double v) { return _mm_set1_pd(v); }
    static V load(const double* p) { return _mm_load_pd(p); }
    static void store(double* p, V v) { _mm_store_pd(p, v); }
    static V add(V a, V b) { return _mm_add_pd(a, b); }
    static V sub(V a, V b) { return _mm_sub_pd(a, b); }
    static V mul(V a, V b) { return _mm_mul_pd(a, b); }
    static V div(V a, V b) { return _mm_div_pd(a, b); }
    static V sqrt(V a) { return _mm_sqrt_pd(a); }
    static V lt(V a, V b) { return _mm_cmplt_pd(a, b); }
    static V le(V a, V b) { return _mm_cmple_pd(a, b); }
    static V gt(V a, V b) { return _mm_cmpgt_pd(a, b); }
    static V ge(V a, V b) { return _mm_cmpge_pd(a, b); }
    static V notFinite(V a) {
        const V magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), a);
        return _mm_cmpnle_pd(magnitude, _mm_set1_pd(std::numeric_limits<double>::max()));
    }
    static V bitAnd(V a, V b) { return _mm_and_pd(a, b); }
    static V bitOr(V a, V b) { return _mm_or_pd(a, b); }
    static V andNot(V a, V b) { return _mm_andnot_pd(a, b); }  // ~a & b
    static int mask(V a) { return _mm_movemask_pd(a); }
};
#endif

}  // namespace

namespace {
namespace scalar {
using Pack = ScalarPack;
#include "core/flight_kernel.inc"
}  // namespace scalar
#if KAVRINO_LANES_X86
namespace sse2 {
using Pack = Sse2Pack;
#include "core/flight_kernel.inc"
}  // namespace sse2
#endif
}  // namespace

#if KAVRINO_LANES_AVX
// Four lanes to a register where the processor has AVX (checked at run time). Everything
// defined between these pragmas is compiled for AVX and only ever runs after that check.
KAVRINO_AVX_BEGIN
namespace {
namespace avx {
struct AvxPack {
    using V = __m256d;
    static constexpr int width = 4;
    static V set(double v) { return _mm256_set1_pd(v); }
    static V load(const double* p) { return _mm256_load_pd(p); }
    static void store(double* p, V v) { _mm256_store_pd(p, v); }
    static V add(V a, V b) { return _mm256_add_pd(a, b); }
    static V sub(V a, V b) { return _mm256_sub_pd(a, b); }
    static V mul(V a, V b) { return _mm256_mul_pd(a, b); }
    static V div(V a, V b) { return _mm256_div_pd(a, b); }
    static V sqrt(V a) { return _mm256_sqrt_pd(a); }
    static V lt(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_LT_OQ); }
    static V le(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_LE_OQ); }
    static V gt(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GT_OQ); }
    static V ge(V a, V b) { return _mm256_cmp_pd(a, b, _CMP_GE_OQ); }
    static V notFinite(V a) {
        const V magnitude = _mm256_andnot_pd(_mm256_set1_pd(-0.0), a);
        return _mm256_cmp_pd(magnitude, _mm256_set1_pd(std::numeric_limits<double>::max()), _CMP_NLE_UQ);
    }
    static V bitAnd(V a, V b) { return _mm256_and_pd(a, b); }
    static V bitOr(V a, V b) { return _mm256_or_pd(a, b); }
    static V andNot(V a, V b) { return _mm256_andnot_pd(a, b); }  // ~a & b
    static int mask(V a) { return _mm256_movemask_pd(a); }
};
using Pack = AvxPack;
#include "core/flight_kernel.inc"
}  // namespace avx
}  // namespace
KAVRINO_AVX_END

#endif

namespace {

#if KAVRINO_LANES_AVX
bool hasAvx() {
    static const bool supported = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx") != 0;
    }();
    return supported;
}
#endif

std::atomic<Kernel> chosenKernel{Kernel::widest};

}  // namespace

void chooseKernel(Kernel kernel) { chosenKernel.store(kernel, std::memory_order_relaxed); }

Lanes::Lanes() {
    for (int lane = 0; lane < count; ++lane) park(lane);
}

void Lanes::park(int lane) {
    // An idle lane still computes in its register; a gentle, dragless flight keeps its numbers
    // ordinary. Nothing it computes is ever read.
    const auto i = static_cast<std::size_t>(lane);
    m_active[i] = false;
    m_bank.active[i] = 0.0;
    m_bank.x[i] = 0;
    m_bank.y[i] = 0;
    m_bank.vx[i] = 1000;
    m_bank.vy[i] = 0;
    m_bank.t[i] = 0;
    m_bank.speed[i] = 1000;
    m_bank.gravity[i] = 0;
    m_bank.stopDistance[i] = infinity;
    m_bank.mark[i] = noMark;
    m_bank.speedOfSound[i] = 1000;
    m_bank.effectiveBC[i] = 1e6;
    m_bank.table[i] = g1Table.data();
    m_bank.tableSize[i] = g1Table.size();
    m_bank.bracket[i] = 0;
    m_bank.loMach[i] = 1;
    m_bank.hiMach[i] = 2;
    m_bank.width[i] = 1;
    m_bank.loCd[i] = 0.5;
    m_bank.rise[i] = 0;
}

void Lanes::start(int lane, const Flight& flight) {
    const auto i = static_cast<std::size_t>(lane);
    m_active[i] = true;
    m_bank.active[i] = allBits;
    m_bank.x[i] = 0;
    m_bank.y[i] = flight.y;
    m_bank.vx[i] = flight.vx;
    m_bank.vy[i] = flight.vy;
    m_bank.t[i] = 0;
    m_bank.gravity[i] = flight.gravity;
    m_bank.stopDistance[i] = flight.stopDistance;
    m_bank.mark[i] = flight.firstMark;
    m_bank.speedOfSound[i] = flight.speedOfSound;
    m_bank.effectiveBC[i] = flight.effectiveBC;
    const bool g7 = flight.dragModel == DragModel::G7;
    m_bank.table[i] = g7 ? g7Table.data() : g1Table.data();
    m_bank.tableSize[i] = g7 ? g7Table.size() : g1Table.size();
    // No bracket yet: the first lookup searches the table.
    m_bank.bracket[i] = 0;
    m_bank.loMach[i] = std::numeric_limits<double>::quiet_NaN();
    m_bank.hiMach[i] = std::numeric_limits<double>::quiet_NaN();
}

void Lanes::stop(Controller& controller, int lane) {
    const auto i = static_cast<std::size_t>(lane);
    const LaneState state{m_bank.x[i], m_bank.y[i], m_bank.vx[i], m_bank.vy[i], m_bank.t[i]};
    park(lane);
    controller.stopped(*this, lane, state);
}

void Lanes::run(Controller& controller) {
    const Kernel chosen = chosenKernel.load(std::memory_order_relaxed);
    if (chosen == Kernel::oneLane) {
        scalar::run(*this, m_bank, controller);
        return;
    }
#if KAVRINO_LANES_AVX
    if (chosen != Kernel::sse2 && hasAvx()) {
        avx::run(*this, m_bank, controller);
        return;
    }
#endif
#if KAVRINO_LANES_X86
    sse2::run(*this, m_bank, controller);
#else
    scalar::run(*this, m_bank, controller);
#endif
}

}  // namespace kavrino::flight
