// Arbitrary bytes as a chronograph export: reading must never crash, leak or hang, and a series
// it gives holds only velocities strictly between 100 and 6000 ft/s.
#include "core/chrono_import.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto series = kavrino::parseChronographCSV(text);
    if (!series) return 0;
    if (series->velocities().empty()) std::abort();
    for (double velocity : series->velocities()) {
        if (!(velocity > 100 && velocity < 6000)) std::abort();
    }
    return 0;
}
