// Arbitrary bytes as a reply of the engine library: decoding must never crash, leak or hang.
#include "core/engine_bridge.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view reply(reinterpret_cast<const char*>(data), size);
    if (const auto solution = kavrino::EngineBridge::decode(reply)) {
        (void)solution->trajectoryPoints();
    }
    return 0;
}
