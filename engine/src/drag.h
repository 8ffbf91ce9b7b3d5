#pragma once
// Drag curves of the engine: the standard G1 and G7 tables and measured (custom) curves, and the
// drag coefficient lookup the solver runs four times per integration step.

#include <cstddef>
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

// The same lookup for a run of calls whose Mach number moves slowly: it remembers the pair it
// found last and starts there. For rows with strictly increasing Mach the matching pair is unique,
// so starting anywhere finds the same pair as a scan from the start; other rows always get the
// plain scan. Results are identical to `cd` bit for bit.
class Lookup {
public:
    Lookup() = default;  // no rows: Cd 0
    explicit Lookup(std::span<const DragRow> rows);
    double cd(double mach) {
        if (!m_strictlyIncreasing) return drag::cd(m_rows, mach);
        if (m_rows.empty()) return 0.0;
        if (mach <= m_rows.front().mach) return m_rows.front().cd;
        if (mach >= m_rows.back().mach) return m_rows.back().cd;
        if (mach != mach) return m_rows.back().cd;  // NaN matches no pair
        // Here first < mach < last, so both walks stop inside the rows; with strictly increasing
        // Mach exactly one pair brackets `mach`: the one a scan from the start finds.
        std::size_t i = m_hint;
        while (mach < m_rows[i].mach) --i;
        while (mach >= m_rows[i + 1].mach) ++i;
        m_hint = i;
        const DragRow& lo = m_rows[i];
        const DragRow& hi = m_rows[i + 1];
        return lo.cd + (mach - lo.mach) / (hi.mach - lo.mach) * (hi.cd - lo.cd);
    }

private:
    std::span<const DragRow> m_rows;
    bool m_strictlyIncreasing = false;
    std::size_t m_hint = 0;  // index i of the pair (i, i+1) used last
};

}  // namespace drag
}  // namespace kavrino_engine
