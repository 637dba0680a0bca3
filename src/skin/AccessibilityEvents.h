#pragma once

#include <functional>

class QAccessibleEvent;

namespace pixolo
{

// Tells a screen reader of a change to a control, a frame object or a menu, when one listens. Without one the
// framework drops the event; a watcher, when set, sees every event all the same (tests watch what would be told).
void notifyAccessibility(QAccessibleEvent &event);

using AccessibilityWatcher = std::function<void(const QAccessibleEvent &event)>;
// Sets the watcher; an empty one removes it.
void setAccessibilityWatcher(AccessibilityWatcher watcher);

} // namespace pixolo
