#pragma once

// Pointer input for widget tests, sent straight to a widget through the application (so focus-on-click applies)
// the way the window system delivers it: the cursor is moved to the event's place too, since the frame's mouse
// timer and the hint read it, and a click is preceded by the move that brings the pointer there.
#include <QApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

namespace pixolo::test
{

inline void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    const QPoint global = widget->mapToGlobal(at);
    QCursor::setPos(global);
    QMouseEvent event(type, QPointF(at), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// The same at a screen position, for drags that move the window under the mouse.
inline void sendMouseAtScreen(
    QWidget *widget, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    sendMouse(widget, type, global - widget->mapToGlobal(QPoint(0, 0)), button, buttons);
}

inline void press(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseButtonPress, at, button, button);
}

inline void release(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

// A move with no button held.
inline void hover(QWidget *widget, QPoint at)
{
    sendMouse(widget, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}

// A move while the left button is held (the widget keeps the mouse).
inline void drag(QWidget *widget, QPoint at)
{
    sendMouse(widget, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}

inline void click(QWidget *widget, QPoint at)
{
    hover(widget, at);
    press(widget, at);
    release(widget, at);
}

inline void click(QWidget *widget)
{
    click(widget, widget->rect().center());
}

inline void doubleClick(QWidget *widget, QPoint at)
{
    click(widget, at);
    sendMouse(widget, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    release(widget, at);
}

// The pointer comes over the widget's centre, or leaves it.
inline void enter(QWidget *widget)
{
    const QPointF at = widget->rect().center();
    QEnterEvent event(at, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

inline void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace pixolo::test
