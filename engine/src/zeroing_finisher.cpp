#include "zeroing_finisher.h"

#include <bit>  // std::bit_cast
#include <cstdint>
#include <system_error>

namespace kavrino_engine::detail {

ZeroingFinisher::ZeroingFinisher(Zeroing& zeroing, double foreseen) : m_zeroing(zeroing), m_expected(foreseen) {
    try {
        m_thread = std::thread([this] { finish(); });
    } catch (const std::system_error&) {
        // No thread to be had: angle() flies the remaining passes.
    }
}

ZeroingFinisher::~ZeroingFinisher() {
    m_abandoned.store(true, std::memory_order_relaxed);
    if (m_thread.joinable()) m_thread.join();
}

double ZeroingFinisher::expected() {
    m_changed.store(false, std::memory_order_relaxed);
    return m_expected.load(std::memory_order_acquire);
}

void ZeroingFinisher::publish(double expected) {
    const double before = m_expected.load(std::memory_order_relaxed);
    if (std::bit_cast<std::uint64_t>(before) == std::bit_cast<std::uint64_t>(expected)) return;
    m_expected.store(expected, std::memory_order_release);
    m_changed.store(true, std::memory_order_release);
}

void ZeroingFinisher::finish() {
    if (m_claimed.exchange(true)) return;
    while (!m_zeroing.finished() && !m_abandoned.load(std::memory_order_relaxed)) {
        m_zeroing.flyPass();
        if (const std::optional<double> foreseen = m_zeroing.foreseenAngle()) publish(*foreseen);
    }
}

double ZeroingFinisher::angle() {
    finish();  // returns at once when the thread has begun: it flies the passes
    if (m_thread.joinable()) m_thread.join();
    return m_zeroing.angle();
}

}  // namespace kavrino_engine::detail
