#pragma once

#include <QAccessible>

class QObject;
class QString;

namespace pixolo
{

// Installs, once, the accessible interfaces of the skinned controls: each control answers a screen reader with its
// role (push button, check box, label, panel, status bar, picture, link), its caption as the name, its hint as the
// description, its states and its actions. The edit keeps the framework's line-edit interface (text and caret).
void installControlAccessibility();

// Tell a screen reader (when one listens) that a control's name, or some of its states, changed.
void notifyNameChanged(QObject *control);
void notifyStateChanged(QObject *control, const QAccessible::State &changed);

} // namespace pixolo
