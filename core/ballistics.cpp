#include "core/ballistics.h"

#include <atomic>
#include <cstdint>

namespace kavrino {

QUuid newTrajectoryPointId() {
    // Each thread takes sequence numbers in blocks, so threads making rows side by side (the
    // truing fit) share one atomic counter only once every block.
    constexpr std::uint64_t block = 4096;
    static std::atomic<std::uint64_t> nextBlock{0};
    static const QUuid base = QUuid::createUuid();
    thread_local std::uint64_t next = 0;
    thread_local std::uint64_t end = 0;
    if (next == end) {
        next = nextBlock.fetch_add(block, std::memory_order_relaxed);
        end = next + block;
    }
    const std::uint64_t n = next++;
    // The sequence number goes into 60 bits of the base that carry neither the version nor the
    // variant, so every id stays a well-formed random-based UUID and no two are equal.
    return QUuid(base.data1 ^ static_cast<std::uint32_t>(n), base.data2 ^ static_cast<std::uint16_t>(n >> 32),
                 base.data3 ^ static_cast<std::uint16_t>((n >> 48) & 0x0fff), base.data4[0], base.data4[1],
                 base.data4[2], base.data4[3], base.data4[4], base.data4[5], base.data4[6], base.data4[7]);
}

std::string_view rawValue(DragModel model) {
    switch (model) {
    case DragModel::G1: return "G1";
    case DragModel::G7: return "G7";
    case DragModel::custom: return "Custom";
    }
    return "G1";
}

std::optional<DragModel> dragModelFromRawValue(std::string_view text) {
    for (DragModel model : allDragModels) {
        if (rawValue(model) == text) return model;
    }
    return std::nullopt;
}

// The standard G1 and G7 drag functions as published for small-arms projectiles (drag
// coefficient against Mach number). The steps are uneven: 0.05 at low Mach, 0.025 through the
// transonic region, wider at high Mach; G1 has no row at 0.65 and G7 none at 1.45.
const std::array<DragTableRow, 79> g1Table{{
    {0.0, 0.2629}, {0.05, 0.2558}, {0.1, 0.2487}, {0.15, 0.2413}, {0.2, 0.2344},
    {0.25, 0.2278}, {0.3, 0.2214}, {0.35, 0.2155}, {0.4, 0.2104}, {0.45, 0.2061},
    {0.5, 0.2032}, {0.55, 0.202}, {0.6, 0.2034}, {0.7, 0.2165}, {0.725, 0.223},
    {0.75, 0.2313}, {0.775, 0.2417}, {0.8, 0.2546}, {0.825, 0.2706}, {0.85, 0.2901},
    {0.875, 0.3136}, {0.9, 0.3415}, {0.925, 0.3734}, {0.95, 0.4084}, {0.975, 0.4448},
    {1.0, 0.4805}, {1.025, 0.5136}, {1.05, 0.5427}, {1.075, 0.5677}, {1.1, 0.5883},
    {1.125, 0.6053}, {1.15, 0.6191}, {1.2, 0.6393}, {1.25, 0.6518}, {1.3, 0.6589},
    {1.35, 0.6621}, {1.4, 0.6625}, {1.45, 0.6607}, {1.5, 0.6573}, {1.55, 0.6528},
    {1.6, 0.6474}, {1.65, 0.6413}, {1.7, 0.6347}, {1.75, 0.628}, {1.8, 0.621},
    {1.85, 0.6141}, {1.9, 0.6072}, {1.95, 0.6003}, {2.0, 0.5934}, {2.05, 0.5867},
    {2.1, 0.5804}, {2.15, 0.5743}, {2.2, 0.5685}, {2.25, 0.563}, {2.3, 0.5577},
    {2.35, 0.5527}, {2.4, 0.5481}, {2.45, 0.5438}, {2.5, 0.5397}, {2.6, 0.5325},
    {2.7, 0.5264}, {2.8, 0.5211}, {2.9, 0.5168}, {3.0, 0.5133}, {3.1, 0.5105},
    {3.2, 0.5084}, {3.3, 0.5067}, {3.4, 0.5054}, {3.5, 0.504}, {3.6, 0.503},
    {3.7, 0.5022}, {3.8, 0.5016}, {3.9, 0.501}, {4.0, 0.5006}, {4.2, 0.4998},
    {4.4, 0.4995}, {4.6, 0.4992}, {4.8, 0.499}, {5.0, 0.4988},
}};

const std::array<DragTableRow, 84> g7Table{{
    {0.0, 0.1198}, {0.05, 0.1197}, {0.1, 0.1196}, {0.15, 0.1194}, {0.2, 0.1193},
    {0.25, 0.1194}, {0.3, 0.1194}, {0.35, 0.1194}, {0.4, 0.1193}, {0.45, 0.1193},
    {0.5, 0.1194}, {0.55, 0.1193}, {0.6, 0.1194}, {0.65, 0.1197}, {0.7, 0.1202},
    {0.725, 0.1207}, {0.75, 0.1215}, {0.775, 0.1226}, {0.8, 0.1242}, {0.825, 0.1266},
    {0.85, 0.1306}, {0.875, 0.1368}, {0.9, 0.1464}, {0.925, 0.166}, {0.95, 0.2054},
    {0.975, 0.2993}, {1.0, 0.3803}, {1.025, 0.4015}, {1.05, 0.4043}, {1.075, 0.4034},
    {1.1, 0.4014}, {1.125, 0.3987}, {1.15, 0.3955}, {1.2, 0.3884}, {1.25, 0.381},
    {1.3, 0.3732}, {1.35, 0.3657}, {1.4, 0.358}, {1.5, 0.344}, {1.55, 0.3376},
    {1.6, 0.3315}, {1.65, 0.326}, {1.7, 0.3209}, {1.75, 0.316}, {1.8, 0.3117},
    {1.85, 0.3078}, {1.9, 0.3042}, {1.95, 0.301}, {2.0, 0.298}, {2.05, 0.2951},
    {2.1, 0.2922}, {2.15, 0.2892}, {2.2, 0.2864}, {2.25, 0.2835}, {2.3, 0.2807},
    {2.35, 0.2779}, {2.4, 0.2752}, {2.45, 0.2725}, {2.5, 0.2697}, {2.55, 0.267},
    {2.6, 0.2643}, {2.65, 0.2615}, {2.7, 0.2588}, {2.75, 0.2561}, {2.8, 0.2533},
    {2.85, 0.2506}, {2.9, 0.2479}, {2.95, 0.2451}, {3.0, 0.2424}, {3.1, 0.2368},
    {3.2, 0.2313}, {3.3, 0.2258}, {3.4, 0.2205}, {3.5, 0.2154}, {3.6, 0.2106},
    {3.7, 0.206}, {3.8, 0.2017}, {3.9, 0.1975}, {4.0, 0.1935}, {4.2, 0.1861},
    {4.4, 0.1793}, {4.6, 0.173}, {4.8, 0.1672}, {5.0, 0.1618},
}};

namespace {

// The linear interpolation between the rows i and i + 1, written once so both lookups share
// the same arithmetic.
double interpolate(const DragTableRow& lo, const DragTableRow& hi, double mach) {
    return lo.cd + (mach - lo.mach) / (hi.mach - lo.mach) * (hi.cd - lo.cd);
}

template <std::size_t N>
double lookup(const std::array<DragTableRow, N>& table, double mach) {
    if (mach <= table.front().mach) return table.front().cd;
    if (table.back().mach <= mach) return table.back().cd;
    for (std::size_t i = 0; i + 1 < N; ++i) {
        if (table[i].mach <= mach && mach < table[i + 1].mach) return interpolate(table[i], table[i + 1], mach);
    }
    return table.back().cd;  // only a Mach number that is not a number gets here
}

}  // namespace

double dragCoefficient(DragModel model, double mach) {
    return model == DragModel::G7 ? lookup(g7Table, mach) : lookup(g1Table, mach);
}

DragTableCursor::DragTableCursor(DragModel model)
    : m_rows(model == DragModel::G7 ? g7Table.data() : g1Table.data()),
      m_count(model == DragModel::G7 ? g7Table.size() : g1Table.size()) {}

double DragTableCursor::operator()(double mach) {
    const DragTableRow* rows = m_rows;
    const std::size_t last = m_count - 1;
    if (mach <= rows[0].mach) return rows[0].cd;
    if (rows[last].mach <= mach) return rows[last].cd;
    std::size_t i = m_bracket;
    while (i > 0 && mach < rows[i].mach) --i;
    while (i + 1 < last && rows[i + 1].mach <= mach) ++i;
    if (!(rows[i].mach <= mach && mach < rows[i + 1].mach)) return rows[last].cd;  // not a number
    m_bracket = i;
    return interpolate(rows[i], rows[i + 1], mach);
}

}  // namespace kavrino
