// Work off the GUI thread: the job runs on the pool, its result comes back on the receiver's
// thread, moved, and never to a receiver that has gone.
#include "core/background_job.h"

#include <QCoreApplication>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QThreadPool>

#include <gtest/gtest.h>

#include <memory>

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
        [&](std::unique_ptr<int> result) {
            deliveryThread = QThread::currentThread();
            delivered = std::move(result);
        });
    EXPECT_EQ(delivered, nullptr) << "delivered from the event loop, never inside the call";
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered != nullptr; }, 10000));
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
        [&](int) { ++deliveries; });
    receiver.reset();
    receiverGone.release();
    ASSERT_TRUE(QThreadPool::globalInstance()->waitForDone(10000));
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(jobFinished);
    EXPECT_EQ(deliveries, 0);
}

}  // namespace
}  // namespace kavrino
