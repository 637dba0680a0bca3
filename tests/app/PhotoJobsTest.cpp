// The photo jobs: stored beside the GUI thread, outcomes back on it in the order the photos were taken, failures
// of any kind as outcomes.
#include "app/PhotoJobs.h"

#include <QCoreApplication>
#include <QFutureWatcher>
#include <QSemaphore>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <stdexcept>
#include <vector>

using namespace pixolo;

namespace
{

struct Delivered {
    std::vector<QString> stored;
    std::vector<QString> errors;
    std::vector<Qt::HANDLE> threads;

    PhotoJobs::Delivery delivery()
    {
        return [this](const PhotoJobs::Outcome &outcome) {
            stored.push_back(outcome.stored);
            threads.push_back(QThread::currentThreadId());
            if (outcome.error) {
                try {
                    std::rethrow_exception(outcome.error);
                } catch (const std::bad_alloc &) {
                    errors.push_back(QStringLiteral("memory"));
                } catch (const std::exception &error) {
                    errors.push_back(QString::fromUtf8(error.what()));
                }
            }
        };
    }
};

} // namespace

TEST(PhotoJobsTest, OutcomesComeBackOnTheCallingThreadInTheOrderTheJobsStarted)
{
    Delivered delivered;
    PhotoJobs jobs(delivered.delivery());
    QSemaphore firstMayEnd;
    std::vector<Qt::HANDLE> workers(3);
    // The first job is held until the later ones are queued: they must still come back after it.
    jobs.start([&] {
        workers[0] = QThread::currentThreadId();
        firstMayEnd.acquire();
        return QStringLiteral("first");
    });
    jobs.start([&] {
        workers[1] = QThread::currentThreadId();
        return QStringLiteral("second");
    });
    jobs.start([&] {
        workers[2] = QThread::currentThreadId();
        return QString();
    });
    EXPECT_TRUE(jobs.busy());
    QCoreApplication::processEvents();
    EXPECT_TRUE(delivered.stored.empty()); // nothing before the first is done
    firstMayEnd.release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.stored.size() == 3; }, 5000));
    EXPECT_EQ(
        delivered.stored, (std::vector<QString> { QStringLiteral("first"), QStringLiteral("second"), QString() }));
    EXPECT_FALSE(jobs.busy());
    // One thread of its own, kept for every job, never the calling one; outcomes on the calling thread.
    EXPECT_NE(workers[0], QThread::currentThreadId());
    EXPECT_EQ(workers[1], workers[0]);
    EXPECT_EQ(workers[2], workers[0]);
    for (Qt::HANDLE thread : delivered.threads) {
        EXPECT_EQ(thread, QThread::currentThreadId());
    }
}

TEST(PhotoJobsTest, FailuresOfAnyKindComeBackAsTheirOutcome)
{
    Delivered delivered;
    PhotoJobs jobs(delivered.delivery());
    jobs.start([]() -> QString { throw std::runtime_error("Unable to write to /photos/x.jpg. Disk full"); });
    jobs.start([]() -> QString { throw std::bad_alloc(); });
    jobs.start([] { return QStringLiteral("after the failures"); });
    jobs.finishAll();
    EXPECT_EQ(delivered.errors,
        (std::vector<QString> {
            QStringLiteral("Unable to write to /photos/x.jpg. Disk full"), QStringLiteral("memory") }));
    ASSERT_EQ(delivered.stored.size(), 3u);
    EXPECT_EQ(delivered.stored[2], QStringLiteral("after the failures"));
}

TEST(PhotoJobsTest, FinishingWaitsForEveryJobAndDeliversEachOnce)
{
    Delivered delivered;
    PhotoJobs jobs(delivered.delivery());
    for (int i = 0; i < 20; ++i) {
        jobs.start([i] {
            QThread::usleep(500);
            return QString::number(i);
        });
    }
    jobs.finishAll();
    // Nothing of the jobs stays behind, though no event loop ran to clear up after them.
    EXPECT_TRUE(jobs.findChildren<QFutureWatcherBase *>().isEmpty());
    ASSERT_EQ(delivered.stored.size(), 20u);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(delivered.stored[size_t(i)], QString::number(i));
    }
    // The watchers' own finished notices arrive afterwards and deliver nothing more.
    QTest::qWait(20);
    EXPECT_EQ(delivered.stored.size(), 20u);
}

TEST(PhotoJobsTest, ADeliveryThatWaitsInItsOwnEventLoopGetsNoOutcomeTwice)
{
    // A delivery that opens a box runs an event loop of its own, in which the next outcomes arrive.
    std::vector<QString> order;
    PhotoJobs jobs([&](const PhotoJobs::Outcome &outcome) {
        order.push_back(outcome.stored);
        if (outcome.stored == QStringLiteral("0")) {
            QTest::qWait(50); // the later jobs finish and are handled meanwhile
        }
    });
    for (int i = 0; i < 4; ++i) {
        jobs.start([i] { return QString::number(i); });
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return order.size() >= 4; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(order,
        (std::vector<QString> { QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3") }));
}

TEST(PhotoJobsTest, GoingAwayWaitsForTheJobsInFlight)
{
    std::atomic<bool> stored { false };
    int deliveries = 0;
    {
        PhotoJobs jobs([&](const PhotoJobs::Outcome &) { ++deliveries; });
        jobs.start([&] {
            QThread::msleep(50);
            stored = true;
            return QStringLiteral("photo");
        });
    }
    EXPECT_TRUE(stored); // the file is there once the owner is gone
    QCoreApplication::processEvents();
    EXPECT_EQ(deliveries, 0); // but nobody is told any more
}
