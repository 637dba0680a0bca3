#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace pixolo
{

// Turns the signals that ask a program to end (SIGTERM from a logout or `kill`, SIGINT from Ctrl+C in a terminal,
// SIGHUP when the terminal goes) into a Qt signal on the window's thread, so the program ends the way its close
// button ends it: a photo being stored is finished and named first, the camera is stopped. The handler only writes
// the signal's number to a socket pair; the rest runs from the event loop. One object at a time may exist; while it
// does, those signals no longer end the process at once.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override; // the signals' earlier handlers come back
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

    // Whether the handlers are in place (a socket pair could be made).
    bool installed() const { return m_notifier != nullptr; }

Q_SIGNALS:
    // The signal's number (SIGTERM, SIGINT or SIGHUP), once for each time it arrived.
    void received(int signalNumber);

private:
    void readPending();

    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace pixolo
