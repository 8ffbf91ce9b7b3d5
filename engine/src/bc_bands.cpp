#include "bc_bands.h"

#include <algorithm>  // std::partition_point
#include <iterator>   // std::prev
#include <limits>

namespace kavrino_engine {

BcBands::BcBands(const std::vector<BcBand>& bands, double flatBc)
    : m_fallback(bands.empty() ? flatBc : bands.back().bc), m_flat(bands.empty()) {
    for (const BcBand& band : bands) {
        // A NaN speed never qualifies, so such a band is never the one found.
        if (band.velocity != band.velocity) continue;
        if (m_leaders.empty() || band.velocity < m_leaders.back().velocity) m_leaders.push_back(band);
    }
}

BcStretch BcBands::find(double speed) const {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    if (m_flat) return {-kInfinity, kInfinity, m_fallback};
    if (speed != speed) return {1.0, 0.0, m_fallback};  // no band qualifies at a NaN speed
    // Leaders start at falling speeds: those above `speed` come first, then those that qualify.
    const auto first = std::partition_point(m_leaders.begin(), m_leaders.end(),
                                            [speed](const BcBand& band) { return band.velocity > speed; });
    const double below = first == m_leaders.begin() ? kInfinity : std::prev(first)->velocity;
    if (first == m_leaders.end()) {
        return {-kInfinity, below, m_fallback};
    }
    return {first->velocity, below, first->bc};
}

}  // namespace kavrino_engine
