#pragma once
// The ballistic coefficient at a speed: the first BC band, in list order, that starts at or
// below the speed, or the last band when none does; the single BC when there are no bands.

#include "solver.h"  // BcBand

#include <vector>

namespace kavrino_engine {

// Where one BC holds: at least for every speed with from <= v < to.
struct BcStretch {
    double from = 1.0;  // empty unless set
    double to = 0.0;
    double bc = 0.0;
    bool holds(double v) const { return from <= v && v < to; }
};

// The band list arranged once so that each speed finds its band in logarithmic time, however
// long the list and in whatever order it comes. Gives exactly the BC of a scan from the start.
class BcBands {
public:
    BcBands(const std::vector<BcBand>& bands, double flatBc);
    // The BC at `speed` (ft/s), with the stretch of speeds where it holds.
    BcStretch find(double speed) const;
    double bc(double speed) const { return find(speed).bc; }

private:
    // The only bands a scan can stop at: each starts below every band before it, so their
    // speeds fall strictly in list order. A band starting at or above an earlier band's speed
    // never comes first: wherever it applies, the earlier one applies too.
    std::vector<BcBand> m_leaders;
    double m_fallback;  // the BC where no band applies: the last band's, or the flat BC
    bool m_flat;        // no bands at all
};

}  // namespace kavrino_engine
