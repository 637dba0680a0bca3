#include "platform/TerminationSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

using namespace pixolo;

namespace
{

// Runs the event loop until `count` signals were received or the time passed.
std::vector<int> receive(const TerminationSignals &termination, int count, int waitMs = 5000)
{
    std::vector<int> received;
    const QMetaObject::Connection connection = QObject::connect(
        &termination, &TerminationSignals::received, [&](int number) { received.push_back(number); });
    QElapsedTimer waited;
    waited.start();
    while (int(received.size()) < count && !waited.hasExpired(waitMs)) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    QObject::disconnect(connection);
    return received;
}

void (*handlerOf(int number))(int)
{
    struct sigaction action {
    };
    ::sigaction(number, nullptr, &action);
    return action.sa_handler;
}

} // namespace

TEST(TerminationSignalsTest, EachRequestToEndArrivesOnTheEventLoopAndTheProcessLivesOn)
{
    const TerminationSignals termination;
    ASSERT_TRUE(termination.installed());
    // Raised in a burst, before the loop runs: none is lost and none ends the process.
    ASSERT_EQ(::raise(SIGTERM), 0);
    ASSERT_EQ(::raise(SIGINT), 0);
    ASSERT_EQ(::raise(SIGHUP), 0);
    ASSERT_EQ(::raise(SIGTERM), 0);
    EXPECT_EQ(receive(termination, 4), (std::vector<int> { SIGTERM, SIGINT, SIGHUP, SIGTERM }));
    // Nothing more arrives than was sent.
    EXPECT_TRUE(receive(termination, 1, 300).empty());
}

TEST(TerminationSignalsTest, TheEarlierHandlersComeBackWithTheObjectGone)
{
    struct sigaction ignore {
    };
    ignore.sa_handler = SIG_IGN;
    struct sigaction before {
    };
    ASSERT_EQ(::sigaction(SIGHUP, &ignore, &before), 0);
    {
        const TerminationSignals termination;
        EXPECT_NE(handlerOf(SIGHUP), SIG_IGN);
        EXPECT_NE(handlerOf(SIGTERM), SIG_DFL);
    }
    EXPECT_EQ(handlerOf(SIGHUP), SIG_IGN);
    EXPECT_EQ(handlerOf(SIGTERM), SIG_DFL);
    ::sigaction(SIGHUP, &before, nullptr);

    // A second object after the first works as the first did.
    const TerminationSignals again;
    ASSERT_EQ(::raise(SIGINT), 0);
    EXPECT_EQ(receive(again, 1), std::vector<int> { SIGINT });
}
