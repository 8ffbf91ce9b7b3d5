// Feeds arbitrary bytes to kavrino_solve_json: it must never crash, leak or hang, and every
// reply it gives must be valid JSON.
#include "kavrino_engine.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The entry point reads up to the first NUL, as a C caller's string ends there.
    const std::string request(reinterpret_cast<const char*>(data), size);
    char* reply = kavrino_solve_json(request.c_str());
    if (reply != nullptr) {
        if (!nlohmann::json::accept(reply)) std::abort();
        kavrino_free(reply);
    }
    return 0;
}
