#include "app/StartupTimeline.h"

#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

namespace pixolo::StartupTimeline
{

namespace
{

struct Timeline {
    Timeline()
        : on(std::getenv("PIXOLO_TIMELINE") != nullptr)
    {
        clock.start();
    }

    bool on;
    bool over = false;
    QElapsedTimer clock;
};

Timeline &timeline()
{
    static Timeline instance; // made at the first step, which starts its clock
    return instance;
}

} // namespace

void mark(const char *step)
{
    Timeline &t = timeline();
    if (!t.on || t.over) {
        return;
    }
    std::fprintf(stderr, "pixolo: timeline %.2f %s\n", double(t.clock.nsecsElapsed()) / 1e6, step);
    std::fflush(stderr);
}

void markFirstPicture()
{
    Timeline &t = timeline();
    if (t.on && !t.over) {
        mark("first picture painted");
        t.over = true;
    }
}

} // namespace pixolo::StartupTimeline
