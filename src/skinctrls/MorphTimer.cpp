#include "skinctrls/MorphTimer.h"

#include <QTimer>

#include <algorithm>

namespace pixolo
{

MorphTimer::Stepped MorphTimer::step(double factor, bool toward, bool active)
{
    if (active && toward && factor < 1) {
        return { std::min(1.0, factor + Step), false };
    }
    if (active && !toward && factor > 0) {
        return { std::max(0.0, factor - Step), false };
    }
    return { toward ? 1.0 : 0.0, true };
}

void MorphTimer::start(QObject *owner, int interval, const std::function<void()> &tick)
{
    if (!m_timer) {
        m_timer = new QTimer(owner); // the owner's child
        m_timer->setInterval(interval);
        QObject::connect(m_timer, &QTimer::timeout, owner, tick);
    }
    if (!m_timer->isActive()) {
        m_timer->start();
    }
}

void MorphTimer::stop()
{
    if (m_timer) {
        m_timer->stop(); // no tick after this, even before the timer is gone
        m_timer->deleteLater(); // the timer exists only while a morph runs
        m_timer = nullptr;
    }
}

} // namespace pixolo
