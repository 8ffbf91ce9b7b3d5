// The C entry pair and the request-to-reply road behind it.
#include "kavrino_engine.h"

#include "json_writer.h"
#include "request.h"
#include "solve_json.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace kavrino_engine {

std::string solve_json(std::string_view text) {
    auto parsed = parseSolveRequest(text);
    if (auto* fault = std::get_if<detail::ReadError>(&parsed)) {
        return detail::writeError("parse: " + fault->message());
    }
    const SolverInput input = std::move(std::get<SolveRequest>(parsed)).into_inputs();
    return detail::writeSolution(solver::solve(input));
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    const auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(text[k]); };
    while (i < n) {
        const std::uint8_t b = at(i);
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (n - i < length) return false;
        if (at(i + 1) < low || at(i + 1) > high) return false;
        for (std::size_t k = 2; k < length; ++k) {
            if (at(i + k) < 0x80 || at(i + k) > 0xBF) return false;
        }
        i += length;
    }
    return true;
}

}  // namespace kavrino_engine

namespace {

// Keeps every exception on this side of the C boundary; an internal fault means "no reply".
template <typename Body> char* guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

extern "C" char* kavrino_solve_json(const char* request) {
    return guarded([&]() -> char* {
        if (request == nullptr) return nullptr;
        const std::string_view text(request);
        if (!kavrino_engine::isValidUtf8(text)) return nullptr;
        const std::string reply = kavrino_engine::solve_json(text);
        if (reply.find('\0') != std::string::npos) return nullptr;
        char* out = static_cast<char*>(std::malloc(reply.size() + 1));
        if (out == nullptr) std::abort();  // allocation failure is fatal, as for any reply
        std::memcpy(out, reply.c_str(), reply.size() + 1);
        return out;
    });
}

extern "C" void kavrino_free(char* reply) { std::free(reply); }
