#include "app/InstanceActivation.h"

#include <QLocalServer>
#include <QLocalSocket>

namespace pixolo::InstanceActivation
{

namespace
{

constexpr char kRequest[] = "activate\n";

} // namespace

QString channelFor(const QString &lockPath)
{
    QString channel = lockPath;
    if (channel.endsWith(QStringLiteral(".lock"))) {
        channel.chop(5);
    }
    return channel + QStringLiteral(".activate");
}

QLocalServer *listen(const QString &channel, QObject *parent, std::function<void()> activate)
{
    QLocalServer::removeServer(channel); // a killed copy's socket; no other copy listens while we hold the lock
    auto *server = new QLocalServer(parent);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(channel)) {
        delete server;
        return nullptr;
    }
    QObject::connect(server, &QLocalServer::newConnection, server, [server, activate = std::move(activate)] {
        while (QLocalSocket *client = server->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [client, activate] {
                // Whatever the copy sent, one line is one request; the answer tells it that we heard.
                if (client->readAll().contains('\n')) {
                    client->write("ok\n");
                    client->flush();
                    activate();
                }
            });
        }
    });
    return server;
}

bool request(const QString &channel, int timeoutMs)
{
    QLocalSocket socket;
    socket.connectToServer(channel);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(timeoutMs) || !socket.waitForReadyRead(timeoutMs)) {
        return false;
    }
    return socket.readAll().startsWith("ok");
}

} // namespace pixolo::InstanceActivation
