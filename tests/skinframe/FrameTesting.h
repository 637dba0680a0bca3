#pragma once

// Helpers of the frame tests: Pixolo's own skin in a store, and mouse events sent to a window the way the window
// system delivers them (the cursor is moved there too, since the frame's mouse timer reads it).
#include "skin/SkinGeometry.h"
#include "skin/TbsCompressedStoredSkin.h"
#include "skin/TbsSkinData.h"
#include "storedskin/StoredSkin.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QWidget>

#include <ostream>

namespace pixolo
{

inline void PrintTo(const TRect &r, std::ostream *os)
{
    *os << '(' << r.Left << ',' << r.Top << ',' << r.Right << ',' << r.Bottom << ')';
}

inline void PrintTo(const TPoint &p, std::ostream *os)
{
    *os << '(' << p.X << ',' << p.Y << ')';
}

} // namespace pixolo

namespace pixolo::test
{

// A store holding Pixolo's skin, and the stored skin it was loaded from (both owned by `parent`).
inline TbsSkinData *pixoloStore(QObject *parent, bool effects = false)
{
    auto *stored = new TbsCompressedStoredSkin(parent);
    stored->SetCompressedData(QByteArray(pixoloStoredSkin().data(), pixoloStoredSkin().size()));
    auto *store = new TbsSkinData(parent);
    store->SetEnableSkinEffects(effects);
    store->SetCompressedStoredSkin(stored);
    return store;
}

inline void sendMouse(QWidget *window, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    const QPoint global = window->mapToGlobal(at);
    QCursor::setPos(global);
    QMouseEvent event(type, QPointF(at), QPointF(global), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(window, &event);
}

// The same at a screen position, for drags that move the window under the mouse.
inline void sendMouseAtScreen(
    QWidget *window, QEvent::Type type, QPoint global, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    sendMouse(window, type, global - window->mapToGlobal(QPoint(0, 0)), button, buttons);
}

inline void press(QWidget *window, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(window, QEvent::MouseButtonPress, at, button, button);
}

inline void release(QWidget *window, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    sendMouse(window, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

inline void hover(QWidget *window, QPoint at)
{
    sendMouse(window, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}

inline void drag(QWidget *window, QPoint at)
{
    sendMouse(window, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton);
}

inline void click(QWidget *window, QPoint at)
{
    hover(window, at);
    press(window, at);
    release(window, at);
}

inline void doubleClick(QWidget *window, QPoint at)
{
    click(window, at);
    sendMouse(window, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    release(window, at);
}

inline QPoint centre(const TRect &r)
{
    return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

} // namespace pixolo::test
