#include "platform/InstanceLock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixolo
{

namespace
{

// A folder of this user's own that nobody else may write into: nobody else can plant or remove a file there.
bool privateFolder(const QByteArray &path)
{
    struct stat info {
    };
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0 && ::access(path.constData(), W_OK | X_OK) == 0;
}

// The user's folder under the cache folder, made (0700) when missing and kept private; empty when it cannot be.
QString cacheLockFolder(const QString &name)
{
    QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty()) {
        return {};
    }
    QDir().mkpath(cache);
    const QString folder = QDir(cache).filePath(name.toLower());
    const QByteArray path = QFile::encodeName(folder);
    ::mkdir(path.constData(), 0700);
    struct stat info {
    };
    // A folder of ours that other users could write is made private; anything else (a link, another user's
    // folder) is not used.
    if (::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
        && (info.st_mode & 077) != 0) {
        ::chmod(path.constData(), 0700);
    }
    return privateFolder(path) ? folder : QString();
}

// Opens the lock file of ours at `path`, replacing anything else found there.
int openOwnLockFile(const QByteArray &path)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        // O_NOFOLLOW: a link under our name is not followed anywhere.
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
        struct stat info {
        };
        if (fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()) {
            return fd;
        }
        if (fd >= 0) {
            ::close(fd);
        } else if (errno != ELOOP && errno != EACCES && errno != EPERM && errno != EISDIR && errno != ENXIO
            && errno != EWOULDBLOCK) {
            return -1;
        }
        // Not a plain file of ours (somebody else's, a link, a folder, a pipe): it is not honoured.
        if (::unlink(path.constData()) != 0 && ::rmdir(path.constData()) != 0 && errno != ENOENT) {
            return -1;
        }
    }
    return -1;
}

} // namespace

QString InstanceLock::lockPath(const QString &name)
{
    const QString runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString folder;
    if (!runtimeDir.isEmpty() && privateFolder(QFile::encodeName(runtimeDir))) {
        folder = runtimeDir;
    } else {
        folder = cacheLockFolder(name);
    }
    return folder.isEmpty() ? QString() : QDir(folder).filePath(name + QStringLiteral(".lock"));
}

InstanceLock::InstanceLock(const QString &name)
    : m_path(lockPath(name))
{
    if (m_path.isEmpty()) {
        m_result = Failed;
        return;
    }
    m_fd = openOwnLockFile(QFile::encodeName(m_path));
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
