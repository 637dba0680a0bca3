#include "skinframe/WindowSystem.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace pixolo {

namespace {

template <class Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <class Reply> ReplyPtr<Reply> adoptReply(Reply *reply)
{
    return ReplyPtr<Reply>(reply, &std::free);
}

xcb_connection_t *x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const auto reply = adoptReply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

void chooseWindowSystem()
{
    const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!chosen && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

bool windowManagerPresent()
{
    xcb_connection_t *connection = x11Connection();
    if (!connection) {
        return true;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!screen) {
        return true;
    }
    const xcb_atom_t selection = atom(connection, "WM_S0");
    if (selection != XCB_ATOM_NONE) {
        const auto owner = adoptReply(
            xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr));
        if (owner && owner->owner != XCB_WINDOW_NONE) {
            return true;
        }
    }
    const xcb_atom_t check = atom(connection, "_NET_SUPPORTING_WM_CHECK");
    if (check != XCB_ATOM_NONE) {
        const auto property = adoptReply(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, screen->root, check, XCB_ATOM_WINDOW, 0, 1), nullptr));
        if (property && xcb_get_property_value_length(property.get()) > 0) {
            return true;
        }
    }
    return false;
}

bool withdrawWithoutWindowManager(QWidget *window)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window || !window->windowHandle()) {
        return false;
    }
    xcb_unmap_window(connection, xcb_window_t(window->winId()));
    xcb_flush(connection);
    return true;
}

} // namespace pixolo
