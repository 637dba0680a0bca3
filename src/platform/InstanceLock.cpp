#include "platform/InstanceLock.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pixolo
{

QString InstanceLock::lockPath(const QString &name)
{
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtimeDir.isEmpty() && QFileInfo(runtimeDir).isDir()) {
        return QDir(runtimeDir).filePath(name + QStringLiteral(".lock"));
    }
    // /tmp is shared by all users: the user id keeps the guard per user.
    return QStringLiteral("/tmp/%1-%2.lock").arg(name).arg(getuid());
}

InstanceLock::InstanceLock(const QString &name)
    : m_path(lockPath(name))
{
    // O_NOFOLLOW: in /tmp somebody else could have planted a link under our name.
    m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (m_fd < 0) {
        m_result = Failed;
        return;
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
        m_result = Acquired;
        return;
    }
    m_result = errno == EWOULDBLOCK ? AlreadyRunning : Failed;
    ::close(m_fd);
    m_fd = -1;
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

} // namespace pixolo
