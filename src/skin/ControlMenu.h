#pragma once

#include <QPoint>

#include <functional>

class QMenu;
class QWidget;

namespace pixolo
{

// How a control shows its own context menu in the skin's look without knowing the menu component: the component
// installs a handler, the control hands it the menu's items. `items` stays the control's; the handler shows them as
// the skinned menu of the control's window at the screen point `at`, and the control then receives
// SKIN_MSG_MENU_CLOSED when the menu closes and SKIN_MSG_MENU_COMMAND after an item ran its command. The handler
// answers false when the window has no skinned menu (no skinned form, no store), and nothing is shown then.
using ControlMenuHandler = std::function<bool(QWidget *control, QMenu *items, const QPoint &at)>;

// Installs (or, with an empty handler, removes) the handler.
void setControlMenuHandler(ControlMenuHandler handler);

// False when no handler is installed or the handler showed nothing.
bool popupControlMenu(QWidget *control, QMenu *items, const QPoint &at);

} // namespace pixolo
