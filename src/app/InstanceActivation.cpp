#include "app/InstanceActivation.h"

#include <QFile>
#include <QObject>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// The channel is a Unix stream socket of the user's own (0600), served through socket notifiers on the main thread.
// Plain sockets rather than Qt's local sockets: that module and the libraries it brings cost every start a few
// milliseconds of loading, for one line sent once in a while.

namespace pixolo::InstanceActivation
{

namespace
{

constexpr char kRequest[] = "activate\n";
constexpr char kAnswer[] = "ok\n";

// The socket address of `channel`; false when the path does not fit.
bool addressOf(const QString &channel, sockaddr_un &address)
{
    const QByteArray path = QFile::encodeName(channel);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return true;
}

// Owns a socket's descriptor and the notifier that watches it.
class Endpoint : public QObject
{
public:
    Endpoint(int fd, QObject *parent)
        : QObject(parent)
        , m_fd(fd)
        , m_readable(fd, QSocketNotifier::Read, this)
    {
    }
    ~Endpoint() override { ::close(m_fd); }

protected:
    int m_fd;
    QSocketNotifier m_readable;
};

// A copy that asks: one line is one request, and the answer tells it that we heard.
class Client final : public Endpoint
{
public:
    Client(int fd, QObject *parent, const std::function<void()> &activate)
        : Endpoint(fd, parent)
    {
        QObject::connect(&m_readable, &QSocketNotifier::activated, this, [this, activate] {
            char buffer[64];
            const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
            if (got < 0 && (errno == EAGAIN || errno == EINTR)) {
                return;
            }
            if (got > 0 && std::memchr(buffer, '\n', size_t(got))) {
                [[maybe_unused]] const ssize_t sent = ::send(m_fd, kAnswer, sizeof kAnswer - 1, MSG_NOSIGNAL);
                activate();
            } else if (got > 0) {
                return; // the rest of the line is still on its way
            }
            m_readable.setEnabled(false);
            deleteLater();
        });
    }
};

class Listener final : public Endpoint
{
public:
    Listener(int fd, QObject *parent, std::function<void()> activate)
        : Endpoint(fd, parent)
    {
        QObject::connect(&m_readable, &QSocketNotifier::activated, this, [this, activate = std::move(activate)] {
            int client;
            while ((client = ::accept4(m_fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) {
                new Client(client, this, activate);
            }
        });
    }
};

} // namespace

QString channelFor(const QString &lockPath)
{
    QString channel = lockPath;
    if (channel.endsWith(QStringLiteral(".lock"))) {
        channel.chop(5);
    }
    return channel + QStringLiteral(".activate");
}

QObject *listen(const QString &channel, QObject *parent, std::function<void()> activate)
{
    sockaddr_un address;
    if (!addressOf(channel, address)) {
        return nullptr;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return nullptr;
    }
    ::unlink(address.sun_path); // a killed copy's socket; no other copy listens while we hold the lock
    const mode_t previous = ::umask(0077); // the user's own: nobody else may ask
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::umask(previous);
    if (!bound || ::listen(fd, 8) != 0) {
        ::close(fd);
        return nullptr;
    }
    return new Listener(fd, parent, std::move(activate));
}

bool request(const QString &channel, int timeoutMs)
{
    sockaddr_un address;
    if (!addressOf(channel, address)) {
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    bool answered = false;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0
        && ::send(fd, kRequest, sizeof kRequest - 1, MSG_NOSIGNAL) == ssize_t(sizeof kRequest - 1)) {
        pollfd waiting { fd, POLLIN, 0 };
        char buffer[8] = {};
        answered = ::poll(&waiting, 1, timeoutMs) == 1 && ::recv(fd, buffer, sizeof buffer - 1, 0) >= 2
            && std::strncmp(buffer, "ok", 2) == 0;
    }
    ::close(fd);
    return answered;
}

} // namespace pixolo::InstanceActivation
