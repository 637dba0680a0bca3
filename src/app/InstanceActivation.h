#pragma once

#include <QString>

#include <functional>

class QObject;

namespace pixolo
{

// How a second start finds the running copy and asks it to come forward: a local socket beside the single-instance
// lock, which only the copy holding the lock listens on.
namespace InstanceActivation
{

// The socket of the instance lock at `lockPath` ("….lock" becomes "….activate").
QString channelFor(const QString &lockPath);

// Listens on the channel (a socket left by a killed copy is replaced: the caller holds the lock); `activate` runs on
// the main thread for each copy that asks. The listener belongs to `parent`; none when the socket cannot be made.
QObject *listen(const QString &channel, QObject *parent, std::function<void()> activate);

// Asks the copy listening on the channel to come forward; false when none took the request within `timeoutMs`.
bool request(const QString &channel, int timeoutMs = 1000);

} // namespace InstanceActivation

} // namespace pixolo
