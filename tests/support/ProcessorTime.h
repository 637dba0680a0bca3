#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

namespace pixolo::test
{

// The processor time the process has used, user and system, in seconds.
inline double processorSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The processor time the process takes while the event loop runs for `milliseconds`, as a share of one core (%).
inline double processorShareFor(int milliseconds)
{
    const double before = processorSeconds();
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return 100.0 * (processorSeconds() - before) / (double(wall.nsecsElapsed()) / 1e9);
}

} // namespace pixolo::test
