#pragma once

#include <functional>

class QObject;
class QTimer;

namespace pixolo
{

// The timer that steps a control's morph: made when a morph starts, gone when it ends, and never ticking once
// stopped, even before it is deleted.
class MorphTimer
{
public:
    static constexpr int Interval = 20; // ms between steps
    static constexpr double Step = 0.2; // of the way from one look to the other, each step

    // One step of a morph toward the hot look (`toward`) or back to the normal one: the new factor, and whether the
    // morph is over (it arrived, or morphing went off).
    struct Stepped {
        double factor;
        bool over;
    };
    static Stepped step(double factor, bool toward, bool active);

    // Starts calling `tick` every `interval` ms on behalf of `owner` (which owns the timer), unless it runs already.
    void start(QObject *owner, int interval, const std::function<void()> &tick);
    void stop();
    bool exists() const { return m_timer != nullptr; }

private:
    QTimer *m_timer = nullptr;
};

} // namespace pixolo
