#pragma once

class QWidget;

namespace pixolo {

// What the skinned frame needs of the window system beyond Qt's portable API.
//
// Shaped windows and windows placed at given screen positions need X11: Wayland compositors ignore both. So where
// a Wayland and an X display both exist and the user chose no platform (QT_QPA_PLATFORM), the program runs on X11
// through XWayland. Call before the application object is made.
void chooseWindowSystem();

// True when a window manager looks after the program's windows. Off X11 this is taken for granted; on X11 a
// manager announces itself by owning the WM_S0 selection or by the _NET_SUPPORTING_WM_CHECK property of the root.
bool windowManagerPresent();

// Iconifying a window is the window manager's work; without one (a bare X server) the window is unmapped here, as
// a manager would do, after Qt has recorded it as minimised. Mapping it again (a task bar, xdotool windowmap)
// brings it back. False when the window could not be unmapped (not on X11, or no native window).
bool withdrawWithoutWindowManager(QWidget *window);

} // namespace pixolo
