#pragma once

// Helpers of the control tests: images of what a control paints, and mouse and hover events sent straight to a
// control (through the application, so focus-on-click applies), without a window system in between.
#include "skinctrls/ControlColors.h"

#include <QApplication>
#include <QEnterEvent>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>

namespace pixolo::test
{

// What the widget paints over a background of `background` (children included).
inline QImage rendered(QWidget *widget, QRgb background = qRgb(1, 2, 3))
{
    QImage image(widget->size(), QImage::Format_RGB32);
    image.fill(background);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

inline QRgb rgb(TColor color)
{
    return ColorToQColor(color).rgb();
}

inline void sendMouse(QWidget *widget, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void press(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseButtonPress, at, button, button);
}

inline void release(QWidget *widget, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(widget, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

// A move while the left button is held (the control keeps the mouse).
inline void drag(QWidget *widget, QPoint at)
{
    sendMouse(widget, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}

inline void click(QWidget *widget, QPoint at)
{
    press(widget, at);
    release(widget, at);
}

inline void click(QWidget *widget)
{
    click(widget, widget->rect().center());
}

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
