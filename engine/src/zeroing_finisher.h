#pragma once
// The rest of the zeroing flown on a thread of its own, so the calling thread can fly the main run
// from the foreseen angle meanwhile: the main run is the one chain of steps no solve can shorten,
// and it starts at once on a thread that is already running.

#include "zeroing.h"

#include <atomic>
#include <thread>

namespace kavrino_engine::detail {

class ZeroingFinisher {
public:
    // Starts a thread that flies the zeroing's remaining passes. The caller leaves `zeroing`
    // alone until angle() returns; it must outlive this object. `foreseen` is the angle the
    // zeroing is expected to end on now.
    ZeroingFinisher(Zeroing& zeroing, double foreseen);
    ZeroingFinisher(const ZeroingFinisher&) = delete;
    ZeroingFinisher& operator=(const ZeroingFinisher&) = delete;
    ~ZeroingFinisher();

    // Set whenever the expected angle changes (also when the zeroing ends on another angle than
    // expected): a main run from the angle read before is then wasted.
    const std::atomic<bool>& changed() const { return m_changed; }
    // The angle expected now (the final one once the zeroing has ended); clears `changed`.
    double expected();
    // The final angle. Waits for the thread; when it has not begun (the machine is busy) the
    // remaining passes are flown here instead.
    double angle();

private:
    void finish();
    void publish(double expected);

    Zeroing& m_zeroing;
    std::atomic<bool> m_claimed{false};  // the first to set it flies the remaining passes
    std::atomic<bool> m_abandoned{false};
    std::atomic<double> m_expected;
    std::atomic<bool> m_changed{false};
    std::thread m_thread;
};

}  // namespace kavrino_engine::detail
