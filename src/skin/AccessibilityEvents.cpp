#include "skin/AccessibilityEvents.h"

#include <QAccessible>

namespace pixolo
{

namespace
{

AccessibilityWatcher &watcher()
{
    static AccessibilityWatcher s_watcher;
    return s_watcher;
}

} // namespace

void notifyAccessibility(QAccessibleEvent &event)
{
    if (watcher()) {
        watcher()(event);
    }
    if (QAccessible::isActive()) {
        QAccessible::updateAccessibility(&event);
    }
}

void setAccessibilityWatcher(AccessibilityWatcher value)
{
    watcher() = std::move(value);
}

} // namespace pixolo
