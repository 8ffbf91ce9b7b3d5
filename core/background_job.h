#pragma once
// Work off the GUI thread: runBackgroundJob() runs a job on the global thread pool and hands its
// result to a callable on the receiver's thread, but only while the receiver lives. A receiver
// deleted first (a pane that went away, a catalog torn down) never hears of the result; the job
// itself runs to its end, so it must own or copy everything it touches.
#include <QFutureWatcher>
#include <QObject>
#include <QtConcurrent/QtConcurrentRun>

#include <optional>
#include <type_traits>  // std::invoke_result_t
#include <utility>      // std::move, std::in_place

namespace kavrino {

// Runs `job()` on QThreadPool::globalInstance() and, once it has finished, `deliver(outcome)` on
// `receiver`'s thread from its event loop. `outcome` is a std::optional<Result> holding the job's
// result, moved rather than copied, or nothing when the job threw (out of memory, say). The
// exception stays on the worker: taken from the future, it would be rethrown in the receiver's
// event loop and end the process.
template <typename Job, typename Deliver>
void runBackgroundJob(QObject* receiver, Job job, Deliver deliver) {
    using Result = std::invoke_result_t<Job&>;
    static_assert(!std::is_void_v<Result>, "a background job hands back a result");
    using Outcome = std::optional<Result>;
    // The watcher is the receiver's child: deleted with it, it takes the delivery with it.
    auto* watcher = new QFutureWatcher<Outcome>(receiver);
    QObject::connect(watcher, &QFutureWatcherBase::finished, receiver,
                     [watcher, deliver = std::move(deliver)]() mutable {
                         watcher->deleteLater();
                         deliver(watcher->future().takeResult());
                     });
    watcher->setFuture(QtConcurrent::run([job = std::move(job)]() mutable -> Outcome {
        try {
            return Outcome(std::in_place, job());
        } catch (...) {
            return std::nullopt;
        }
    }));
}

}  // namespace kavrino
