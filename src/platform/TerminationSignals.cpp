#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pixolo
{

namespace
{

constexpr std::array<int, 3> kSignals = { SIGTERM, SIGINT, SIGHUP };

// [0] is written by the handler, [1] read by the notifier. Only the handler and the one object touch them.
int s_pair[2] = { -1, -1 };
struct sigaction s_previous[kSignals.size()];

extern "C" void onTerminationSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    // A full socket already holds a request to end: losing this one changes nothing.
    [[maybe_unused]] const ssize_t written = ::write(s_pair[0], &number, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, s_pair) != 0) {
        s_pair[0] = s_pair[1] = -1;
        return; // the signals keep their default: ending at once
    }
    m_notifier = std::make_unique<QSocketNotifier>(s_pair[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TerminationSignals::readPending);

    struct sigaction action {
    };
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART; // a read or write the signal interrupts goes on
    for (size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &action, &s_previous[i]);
    }
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier) {
        return;
    }
    for (size_t i = 0; i < kSignals.size(); ++i) {
        ::sigaction(kSignals[i], &s_previous[i], nullptr);
    }
    m_notifier.reset();
    ::close(s_pair[0]);
    ::close(s_pair[1]);
    s_pair[0] = s_pair[1] = -1;
}

void TerminationSignals::readPending()
{
    unsigned char numbers[16];
    for (;;) {
        const ssize_t count = ::read(s_pair[1], numbers, sizeof numbers);
        if (count <= 0) {
            return; // drained (EAGAIN), or interrupted: the notifier fires again for what is left
        }
        for (ssize_t i = 0; i < count; ++i) {
            Q_EMIT received(numbers[i]);
        }
    }
}

} // namespace pixolo
