// Work off the GUI thread: the job runs on the pool, its result comes back on the receiver's
// thread, moved, and never to a receiver that has gone; a job that throws comes back as a failure.
#include "core/background_job.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <memory>
#include <new>  // std::bad_alloc
#include <optional>
#include <vector>

namespace kavrino {
namespace {

TEST(BackgroundJob, RunsOffTheReceiversThreadAndDeliversOnItMoved) {
    QObject receiver;
    QThread* jobThread = nullptr;
    QThread* deliveryThread = nullptr;
    std::unique_ptr<int> delivered;
    runBackgroundJob(
        &receiver,
        [&jobThread] {
            jobThread = QThread::currentThread();
            return std::make_unique<int>(42);  // move-only: copying it would not compile
        },
        [&](std::optional<std::unique_ptr<int>> result) {
            deliveryThread = QThread::currentThread();
            if (result) delivered = std::move(*result);
        });
    EXPECT_EQ(delivered, nullptr) << "delivered from the event loop, never inside the call";
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered != nullptr; }, 30000));
    EXPECT_EQ(*delivered, 42);
    EXPECT_NE(jobThread, receiver.thread());
    EXPECT_EQ(deliveryThread, receiver.thread());
}

// A pane closed while its file is still being parsed: the job ends on its own, and nothing is
// handed to the deleted pane.
TEST(BackgroundJob, AReceiverDeletedFirstNeverHearsOfTheResult) {
    auto receiver = std::make_unique<QObject>();
    QSemaphore receiverGone;
    bool jobFinished = false;
    int deliveries = 0;
    runBackgroundJob(
        receiver.get(),
        [&] {
            receiverGone.acquire();
            jobFinished = true;
            return 1;
        },
        [&](std::optional<int>) { ++deliveries; });
    receiver.reset();
    receiverGone.release();
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(30000));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(jobFinished);
    EXPECT_EQ(deliveries, 0);
}

// A parse that runs out of memory: the exception stays on the worker (rethrown from the event
// loop it would end the process) and the receiver hears that the job failed, whatever was thrown.
TEST(BackgroundJob, AJobThatThrowsIsDeliveredAsAFailure) {
    QObject receiver;
    std::vector<bool> held;  // whether each delivery held a result, in order of arrival
    const auto deliver = [&](std::optional<int> result) { held.push_back(result.has_value()); };
    runBackgroundJob(&receiver, []() -> int { throw std::bad_alloc(); }, deliver);
    runBackgroundJob(&receiver, []() -> int { throw 42; }, deliver);  // not a std::exception
    ASSERT_TRUE(QTest::qWaitFor([&] { return held.size() == 2; }, 30000));
    EXPECT_EQ(held, (std::vector<bool>{false, false}));
}

}  // namespace
}  // namespace kavrino
