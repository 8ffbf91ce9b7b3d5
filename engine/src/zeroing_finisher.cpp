#include "zeroing_finisher.h"

#include <bit>  // std::bit_cast
#include <cstdint>
#include <system_error>

namespace kavrino_engine::detail {

ZeroingFinisher::ZeroingFinisher(std::shared_ptr<const Flight> flight, const Zeroing& zeroing, double foreseen)
    : m_shared(std::make_shared<Shared>(std::move(flight), zeroing, foreseen)) {
    try {
        m_thread = std::thread([shared = m_shared] { finish(*shared); });
    } catch (const std::system_error&) {
        // No thread to be had: angle() flies the passes left.
    }
}

ZeroingFinisher::~ZeroingFinisher() {
    if (!m_thread.joinable()) return;
    if (m_shared->ended.load(std::memory_order_acquire)) {
        m_thread.join();
    } else {
        m_shared->stop.store(true, std::memory_order_relaxed);
        m_thread.detach();
    }
}

double ZeroingFinisher::expected() {
    m_shared->changed.store(false, std::memory_order_relaxed);
    return m_shared->expected.load(std::memory_order_acquire);
}

void ZeroingFinisher::finish(Shared& shared) {
    shared.started.store(true, std::memory_order_release);
    while (!shared.zeroing.finished()) {
        if (shared.stop.load(std::memory_order_relaxed)) return;
        shared.zeroing.flyPass();
        const std::optional<double> foreseen = shared.zeroing.foreseenAngle();
        if (!foreseen) continue;
        const double before = shared.expected.load(std::memory_order_relaxed);
        if (std::bit_cast<std::uint64_t>(before) == std::bit_cast<std::uint64_t>(*foreseen)) continue;
        shared.expected.store(*foreseen, std::memory_order_release);
        shared.changed.store(true, std::memory_order_release);
    }
    shared.ended.store(true, std::memory_order_release);
    shared.ended.notify_all();
}

double ZeroingFinisher::angle(Zeroing& own) {
    if (m_shared->started.load(std::memory_order_acquire)) {
        m_shared->ended.wait(false, std::memory_order_acquire);
        return m_shared->zeroing.angle();
    }
    while (!m_shared->ended.load(std::memory_order_acquire)) {
        if (own.finished()) return own.angle();
        own.flyPass();
    }
    return m_shared->zeroing.angle();
}

}  // namespace kavrino_engine::detail
