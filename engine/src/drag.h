#pragma once
// Drag curves of the engine: the standard G1 and G7 tables and measured (custom) curves, and the
// drag coefficient lookup the solver runs four times per integration step.

#include <cstddef>  // std::size_t, std::ptrdiff_t
#include <span>
#include <vector>

namespace kavrino_engine {

// One row of a drag curve: drag coefficient `cd` at Mach number `mach`.
struct DragRow {
    double mach = 0.0;
    double cd = 0.0;
    friend bool operator==(const DragRow&, const DragRow&) = default;
};

// The drag curve a solve uses: a standard table or the caller's own rows in the caller's order.
struct DragCurve {
    enum class Kind { G1, G7, Custom };
    Kind kind = Kind::G1;
    std::vector<DragRow> customRows;  // only read when kind is Custom; neither sorted nor checked
    friend bool operator==(const DragCurve&, const DragCurve&) = default;
};

namespace drag {

// Standard tables (Mach 0 to 5, strictly ascending): G1 with 79 rows, G7 with 84 rows.
std::span<const DragRow> g1Table();
std::span<const DragRow> g7Table();

// The rows a curve stands for.
std::span<const DragRow> rows(const DragCurve& curve);

// Drag coefficient at `mach`: 0 for an empty curve, the first row's Cd at or below the first
// Mach, the last row's Cd at or above the last Mach, otherwise linear interpolation in the first
// adjacent pair (scanning from the start) with Mach_i <= mach < Mach_i+1; the last row's Cd when
// no pair matches (an unsorted curve, or a Mach that is not a number).
double cd(const DragCurve& curve, double mach);
double cd(std::span<const DragRow> rows, double mach);

// Where one formula of the lookup holds: a constant Cd, or the interpolation inside one pair of
// rows. It holds at least for every Mach number with from <= mach < to (a few boundary values
// may be left out; the full lookup answers those).
struct Segment {
    double from = 1.0;  // empty unless set
    double to = 0.0;
    bool constant = true;
    double cd = 0.0;  // the constant Cd
    // The interpolation of the pair (lo, hi): lo.cd + (mach - lo.mach) / machSpan * cdSpan, with
    // machSpan = hi.mach - lo.mach and cdSpan = hi.cd - lo.cd, exactly as `cd` computes it.
    double loMach = 0.0;
    double machSpan = 1.0;
    double loCd = 0.0;
    double cdSpan = 0.0;

    bool holds(double mach) const { return from <= mach && mach < to; }
    double eval(double mach) const { return constant ? cd : loCd + (mach - loMach) / machSpan * cdSpan; }
};

// The rows of a curve arranged once so that any Mach number finds the pair a scan from the
// start would find, in logarithmic time, whatever the order of the rows (unsorted, repeated or
// not-a-number Mach values included). Keeps a view of the rows: they must outlive the index.
class Index {
public:
    explicit Index(std::span<const DragRow> rows);
    // The formula `cd(rows, mach)` uses at `mach`, with the stretch where it holds.
    Segment find(double mach) const;
    double cd(double mach) const { return find(mach).eval(mach); }

private:
    std::span<const DragRow> m_rows;
    // Cells [m_starts[j], m_starts[j + 1]) of the Mach axis (the last one reaching to +inf),
    // each with the first pair, in row order, whose half-open Mach range covers it (-1: none).
    std::vector<double> m_starts;
    std::vector<std::ptrdiff_t> m_pairs;
};

// The lookup for a run of calls whose Mach number moves slowly: it keeps the segment it found
// last and asks the index only when the Mach number leaves it. Results are identical to `cd`
// bit for bit.
class Lookup {
public:
    explicit Lookup(const Index& index) : m_index(&index) {}
    double cd(double mach) {
        if (!m_segment.holds(mach)) m_segment = m_index->find(mach);
        return m_segment.eval(mach);
    }

private:
    const Index* m_index;
    Segment m_segment;
};

}  // namespace drag
}  // namespace kavrino_engine
