#pragma once
// The rest of the zeroing flown on a thread of its own, so the calling thread can fly the main run
// from the foreseen angle meanwhile: the main run is the one chain of steps no solve can shorten,
// and it starts at once on a thread that is already running.

#include "flight.h"
#include "zeroing.h"

#include <atomic>
#include <memory>
#include <thread>

namespace kavrino_engine::detail {

class ZeroingFinisher {
public:
    // Starts a thread that flies the passes left to a copy of `zeroing`, whose forces are
    // `flight`. `foreseen` is the angle the zeroing is expected to end on now.
    ZeroingFinisher(std::shared_ptr<const Flight> flight, const Zeroing& zeroing, double foreseen);
    ZeroingFinisher(const ZeroingFinisher&) = delete;
    ZeroingFinisher& operator=(const ZeroingFinisher&) = delete;
    // Joins a thread that has ended. One the machine has not run yet is not waited for: it is
    // told to stop and left to end on its own; it holds everything it reads.
    ~ZeroingFinisher();

    // Set whenever the expected angle changes (also when the zeroing ends on another angle than
    // expected): a main run from the angle read before is then wasted.
    const std::atomic<bool>& changed() const { return m_shared->changed; }
    // The angle expected now (the final one once the zeroing has ended); clears `changed`.
    double expected();
    // The final angle. Waits for the thread when it has begun; otherwise (a busy machine has not
    // run it yet) flies the passes left here, on `own` (the zeroing as handed over), unless the
    // thread ends first.
    double angle(Zeroing& own);

private:
    struct Shared {
        Shared(std::shared_ptr<const Flight> flight, const Zeroing& zeroing, double foreseen)
            : flight(std::move(flight)), zeroing(zeroing), expected(foreseen) {}
        std::shared_ptr<const Flight> flight;  // keeps the forces `zeroing` flies through alive
        Zeroing zeroing;
        std::atomic<double> expected;
        std::atomic<bool> changed{false};
        std::atomic<bool> started{false};
        std::atomic<bool> ended{false};  // `zeroing` is finished and no longer touched
        std::atomic<bool> stop{false};
    };
    static void finish(Shared& shared);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

}  // namespace kavrino_engine::detail
