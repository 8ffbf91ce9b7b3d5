// Feeds arbitrary bytes to kavrino_solve_json: it must never crash, leak or hang, and every
// reply it gives must be valid JSON.
//
// Every solve is bounded (each run stops after 60 s of flight), but a bounded one can still be
// slow under the sanitizers. The slowest by far are long tables: a row after every step of a
// 60 s flight is 120,001 rows, a 30 MB reply that takes seconds to write and check. Such
// requests are passed over here, by the most rows the engine's own stop and record rules allow
// (below); the rows of every reply are counted against that bound, so the fuzzer checks the rule
// too. What is left is the zeroing, 50 rounds of at most 60 s each, which the per-input time
// limit of scripts/run_fuzz.sh allows for.
#include "kavrino_engine.h"

#include "flight.h"      // detail::kTimeStep
#include "request.h"     // parseSolveRequest
#include "solve_json.h"  // isValidUtf8
#include "solver.h"      // solver::kMaxFlightTime

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <variant>

namespace {

// A 1-yard table reaching past 5 miles; its reply is about 2.5 MB.
constexpr double kMostRowsSolved = 10000.0;

// The most rows a solve of `request` can record. The main run flies only when its stop distance
// S = maxRange × 3 + 1 ft is not 0 or less; it stops before a step once x >= S or after 60 s of
// flight (120,001 steps), and records at most one row per step, the next once x >= the next
// multiple of the spacing. Each row after the first comes from a step that began short of S, past
// the row before it, so with a positive spacing and a finite S there are at most S / spacing + 1
// rows (one more allowed for the spacing's summed rounding). A spacing that is not a number is
// never reached: no rows.
double mostRows(const kavrino_engine::SolveRequest& request) {
    const double stop = request.maxRange * 3.0 + 1.0;
    const double spacing = request.rangeStep * 3.0;
    if (stop <= 0.0 || std::isnan(spacing)) return 0.0;
    using kavrino_engine::detail::kTimeStep;
    const double steps = kavrino_engine::solver::kMaxFlightTime / kTimeStep + 1.0;
    if (spacing > 0.0 && std::isfinite(stop)) return std::min(steps, stop / spacing + 2.0);
    return steps;  // a row may follow every step
}

// Rows in a reply: each row object opens with its range; no string in a reply holds this text
// unescaped.
std::size_t rowsIn(std::string_view reply) {
    constexpr std::string_view rowStart = "{\"range\":";
    std::size_t rows = 0;
    for (std::size_t at = reply.find(rowStart); at != std::string_view::npos; at = reply.find(rowStart, at + 1)) ++rows;
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The entry point reads up to the first NUL, as a C caller's string ends there.
    const std::string request(reinterpret_cast<const char*>(data), size);
    const std::string_view text(request.c_str());
    double most = 0.0;
    if (kavrino_engine::isValidUtf8(text)) {  // as the entry point reads it: the reader takes UTF-8 only
        const auto parsed = kavrino_engine::parseSolveRequest(text);
        if (const auto* fields = std::get_if<kavrino_engine::SolveRequest>(&parsed)) most = mostRows(*fields);
        if (most > kMostRowsSolved) return 0;
    }

    char* reply = kavrino_solve_json(request.c_str());
    if (reply != nullptr) {
        if (!nlohmann::json::accept(reply)) std::abort();
        if (static_cast<double>(rowsIn(reply)) > most) std::abort();  // the bound above is wrong
        kavrino_free(reply);
    }
    return 0;
}
