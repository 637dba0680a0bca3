#include "skinframe/WindowSystem.h"

#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace pixolo
{

namespace
{

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

// Connects to the display with the X library's own complaints caught: a server that answers but refuses the client
// (no or a wrong authorisation cookie) gives its reason on standard error, which is returned in `refusal` instead.
// The program is still single-threaded here, so standard error can be borrowed for the moment.
xcb_connection_t *connectQuietly(const QByteArray &display, QString &refusal)
{
    int pipeEnds[2];
    const int savedError = ::dup(STDERR_FILENO);
    if (savedError < 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (savedError >= 0) {
            ::close(savedError);
        }
        return xcb_connect(display.constData(), nullptr);
    }
    ::dup2(pipeEnds[1], STDERR_FILENO);
    xcb_connection_t *connection = xcb_connect(display.constData(), nullptr);
    ::dup2(savedError, STDERR_FILENO);
    ::close(savedError);
    ::close(pipeEnds[1]);
    QByteArray said;
    char buffer[512];
    for (ssize_t count; (count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
        said.append(buffer, count);
    }
    ::close(pipeEnds[0]);
    refusal = QString::fromLocal8Bit(said).simplified();
    return connection;
}

} // namespace

void chooseWindowSystem()
{
    const bool chosen = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!chosen && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
}

X11DisplayCheck::X11DisplayCheck(int argc, const char *const *argv, int waitMs)
{
    QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0) {
            platform = argv[i + 1];
        }
    }
    const QByteArray display = qgetenv("DISPLAY");
    if (platform.isEmpty() && display.isEmpty() && !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return; // Wayland only: Qt's own choice
    }
    // "xcb:…" and lists fall back to their next platform by themselves; only plain xcb (Qt's default) aborts.
    if (!platform.isEmpty() && platform != "xcb") {
        return;
    }
    if (display.isEmpty()) {
        m_problem = QStringLiteral("no display: DISPLAY is not set, and Pixolo needs a graphical desktop (X11, or "
                                   "Wayland with XWayland)");
        return;
    }
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        QString refusal;
        xcb_connection_t *connection = connectQuietly(display, refusal);
        if (xcb_connection_has_error(connection) == 0) {
            m_connection = connection; // held: closing it now could make the server reset again
            return;
        }
        xcb_disconnect(connection);
        if (!refusal.isEmpty()) {
            // The server is there and said no: asking again would only be refused again.
            m_problem = QStringLiteral("cannot open the display \"%1\": the X server refused the connection (%2); "
                                       "check XAUTHORITY and the server's access control (xhost)")
                            .arg(QString::fromLocal8Bit(display), refusal);
            return;
        }
        if (deadline.hasExpired()) {
            m_problem = QStringLiteral("cannot open the display \"%1\": no X server answers there")
                            .arg(QString::fromLocal8Bit(display));
            return;
        }
        QThread::msleep(50);
    }
}

X11DisplayCheck::~X11DisplayCheck()
{
    release();
}

void X11DisplayCheck::release()
{
    if (m_connection) {
        xcb_disconnect(static_cast<xcb_connection_t *>(m_connection));
        m_connection = nullptr;
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

namespace
{

bool windowManagerSupports(xcb_connection_t *connection, xcb_window_t root, xcb_atom_t wanted)
{
    const xcb_atom_t supported = atom(connection, "_NET_SUPPORTED");
    if (supported == XCB_ATOM_NONE || wanted == XCB_ATOM_NONE) {
        return false;
    }
    const auto property = adoptReply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr));
    if (!property || property->format != 32) {
        return false;
    }
    const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(property.get()));
    const int count = xcb_get_property_value_length(property.get()) / int(sizeof(xcb_atom_t));
    return std::find(atoms, atoms + count, wanted) != atoms + count;
}

// _NET_WM_MOVERESIZE's direction: the eight edges and corners clockwise from the top left, then a move.
uint32_t moveResizeDirection(Qt::Edges edges)
{
    const bool top = edges & Qt::TopEdge, bottom = edges & Qt::BottomEdge;
    const bool left = edges & Qt::LeftEdge, right = edges & Qt::RightEdge;
    if (top) {
        return left ? 0 : right ? 2 : 1;
    }
    if (bottom) {
        return left ? 6 : right ? 4 : 5;
    }
    return left ? 7 : right ? 3 : 8;
}

} // namespace

bool startWindowManagerDrag(QWidget *window, const QPoint &pressPoint, Qt::Edges edges)
{
    xcb_connection_t *connection = x11Connection();
    if (!connection || !window || !window->windowHandle() || !window->internalWinId()) {
        return false;
    }
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_atom_t moveResize = atom(connection, "_NET_WM_MOVERESIZE");
    if (!screen || !windowManagerSupports(connection, screen->root, moveResize)) {
        return false;
    }
    const auto xid = xcb_window_t(window->internalWinId());
    // The press in the root's pixels: the window's origin there, and the point scaled as Qt scales the window.
    const auto origin = adoptReply(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, xid, screen->root, 0, 0), nullptr));
    if (!origin) {
        return false;
    }
    const qreal ratio = window->windowHandle()->devicePixelRatio();
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = xid;
    message.type = moveResize;
    message.data.data32[0] = uint32_t(origin->dst_x + qRound(pressPoint.x() * ratio));
    message.data.data32[1] = uint32_t(origin->dst_y + qRound(pressPoint.y() * ratio));
    message.data.data32[2] = moveResizeDirection(edges);
    message.data.data32[3] = XCB_BUTTON_INDEX_1;
    message.data.data32[4] = 1; // asked for by an application
    // The manager must be able to grab the pointer, which the press gave to this program.
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_send_event(connection, 0, screen->root,
        XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
        reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
    return true;
}

namespace
{

// Watches the X events for the destruction of one window of ours.
class DestroyWatch final : public QAbstractNativeEventFilter
{
public:
    DestroyWatch(QWidget *window, std::function<void()> onDestroyed)
        : m_window(window)
        , m_id(window->internalWinId())
        , m_onDestroyed(std::move(onDestroyed))
    {
    }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override
    {
        if (eventType != "xcb_generic_event_t" || !m_window) {
            return false;
        }
        const auto *event = static_cast<const xcb_generic_event_t *>(message);
        if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY) {
            return false;
        }
        const auto *destroyed = reinterpret_cast<const xcb_destroy_notify_event_t *>(event);
        // Only a window Qt still holds was destroyed by someone else: Qt forgets its id before it destroys one.
        if (destroyed->window == m_id && m_window->internalWinId() == m_id) {
            m_window = nullptr;
            m_onDestroyed();
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    WId m_id;
    std::function<void()> m_onDestroyed;
};

} // namespace

void whenDestroyedFromOutside(QWidget *window, std::function<void()> onDestroyed)
{
    if (!window || !x11Connection() || !window->internalWinId()) {
        return;
    }
    // The watch goes with the window.
    auto *watch = new DestroyWatch(window, std::move(onDestroyed));
    qApp->installNativeEventFilter(watch);
    QObject::connect(window, &QObject::destroyed, qApp, [watch] {
        qApp->removeNativeEventFilter(watch);
        delete watch;
    });
}

} // namespace pixolo
