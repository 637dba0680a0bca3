#pragma once

namespace pixolo
{

// Installs, once, the accessible interfaces of the skinned frame and menus: a skinned window lists its caption (a
// title bar) and its caption buttons (push buttons that run their command when pressed) before its controls, and
// an open level of a skinned menu is a popup menu whose items are menu items (with their check marks, submenus and
// the press that chooses them).
void installFrameAccessibility();

} // namespace pixolo
