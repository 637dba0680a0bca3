#pragma once

#include <QString>
#include <Qt>

#include <functional>

class QWidget;

namespace pixolo
{

// What the skinned frame needs of the window system beyond Qt's portable API.
//
// Shaped windows and windows placed at given screen positions need X11: Wayland compositors ignore both. So where
// a Wayland and an X display both exist and the user chose no platform (QT_QPA_PLATFORM), the program runs on X11
// through XWayland. Call before the application object is made.
void chooseWindowSystem();

// Whether the X display the program is about to open answers. Qt ends a program that cannot open its display with
// abort(), a core dump and a message about plugins; an X server that is restarting because its last client went
// away refuses connections for a moment, and a copy started just then died that way. So a display that does not
// answer is tried again for up to `waitMs`. Once it answers, the connection is kept until release(): a server with
// a client does not reset, so the window system's own connection, made meanwhile, finds it answering too.
// problem() is empty when the display answers (or the program will not use X11: another platform was chosen with
// QT_QPA_PLATFORM or -platform, or only a Wayland display exists), otherwise the reason, naming the display. Make it
// after chooseWindowSystem and before the application object; release it once that object exists.
class X11DisplayCheck
{
public:
    X11DisplayCheck(int argc, const char *const *argv, int waitMs);
    ~X11DisplayCheck();
    X11DisplayCheck(const X11DisplayCheck &) = delete;
    X11DisplayCheck &operator=(const X11DisplayCheck &) = delete;

    const QString &problem() const { return m_problem; }
    void release();

private:
    void *m_connection = nullptr; // the xcb connection held meanwhile
    QString m_problem;
};

// True when a window manager looks after the program's windows. Off X11 this is taken for granted; on X11 a
// manager announces itself by owning the WM_S0 selection or by the _NET_SUPPORTING_WM_CHECK property of the root.
bool windowManagerPresent();

// Iconifying a window is the window manager's work; without one (a bare X server) the window is unmapped here, as
// a manager would do, after Qt has recorded it as minimised. Mapping it again (a task bar, xdotool windowmap)
// brings it back. False when the window could not be unmapped (not on X11, or no native window).
bool withdrawWithoutWindowManager(QWidget *window);

// Hands a drag of the window to the window manager, as a move (no `edges`) or a resize by `edges`, that began at
// `pressPoint` (in the window's own coordinates), where the button went down. The manager follows how far the
// pointer is from that point, so the point grabbed stays under the pointer however far the pointer went before the
// drag was handed over (the drag distance, and whatever it moved while the program was busy).
// QWindow::startSystemMove/startSystemResize name the pointer's position at the moment of the call instead, and the
// window then lags behind the pointer by that much. False when this cannot be done (not X11, no native window, a
// manager without _NET_WM_MOVERESIZE): the caller falls back.
bool startWindowManagerDrag(QWidget *window, const QPoint &pressPoint, Qt::Edges edges = {});

// A window destroyed by another program (xdotool windowclose, a misbehaving tool) leaves no window to show and no
// close to run: `onDestroyed` runs when the X server says the window is gone. Without X11 nothing is watched.
void whenDestroyedFromOutside(QWidget *window, std::function<void()> onDestroyed);

} // namespace pixolo
