// Arbitrary bytes as a drag-curve file: reading must never crash, leak or hang, and a curve it
// gives has at least three rows in range, sorted by Mach.
#include "core/chrono_import.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto curve = kavrino::parseDragCurveCSV(text);
    if (!curve) return 0;
    if (curve->size() < 3) std::abort();
    double previous = 0;
    for (const auto& [mach, cd] : *curve) {
        if (!(mach >= 0 && mach <= 6 && cd > 0 && cd <= 1.5) || mach < previous) std::abort();
        previous = mach;
    }
    return 0;
}
