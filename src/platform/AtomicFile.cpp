#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixolo::AtomicFile
{

namespace
{

SyncFunction s_sync = &::fsync;
LinkFunction s_link = &::link;

// fchmod refused by a file system that keeps no permissions (fusefat: ENOSYS; vfat for a mode it cannot show: EPERM).
bool permissionsUnsupported(int error, bool replacing)
{
    return error == ENOSYS || error == EOPNOTSUPP || (error == EPERM && !replacing);
}

mode_t currentUmask()
{
    // umask can only be read by setting it; we put it straight back.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

Result failure(int error)
{
    return { false, error };
}

bool writeAll(int fd, const char *data, qsizetype size, off_t offset = -1)
{
    while (size > 0) {
        const ssize_t written = offset < 0 ? ::write(fd, data, size_t(size)) : ::pwrite(fd, data, size_t(size), offset);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= written;
        if (offset >= 0) {
            offset += written;
        }
    }
    return true;
}

void syncFolder(const QByteArray &folder)
{
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        s_sync(dirFd);
        ::close(dirFd);
    }
}

// The file a write to `path` goes to: through a symbolic link (even one whose file does not exist yet), the file it
// points at, so that the link stays a link.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink()) {
        return path;
    }
    if (info.exists()) {
        return info.canonicalFilePath();
    }
    return info.symLinkTarget(); // absolute, relative to the link's folder
}

// Rewrites an existing file in place: read the old content, write the new one at the start in one go, cut the rest,
// sync. When the write fails the old content is written back, as far as that goes.
Result rewriteInPlace(const QByteArray &name, QByteArrayView data)
{
    const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return failure(errno);
    }
    QByteArray old;
    struct stat info {
    };
    if (::fstat(fd, &info) == 0 && info.st_size > 0) {
        old.resize(qsizetype(info.st_size));
        const ssize_t got = ::pread(fd, old.data(), size_t(old.size()), 0);
        old.resize(got > 0 ? qsizetype(got) : 0);
    }
    if (!writeAll(fd, data.data(), data.size(), 0) || ::ftruncate(fd, off_t(data.size())) != 0 || s_sync(fd) != 0) {
        const int error = errno;
        if (writeAll(fd, old.constData(), old.size(), 0)) {
            if (::ftruncate(fd, off_t(old.size())) == 0) {
                s_sync(fd);
            }
        }
        ::close(fd);
        return failure(error);
    }
    if (::close(fd) != 0) {
        return failure(errno);
    }
    return { true, 0 };
}

} // namespace

QString Result::errorText() const
{
    return QString::fromLocal8Bit(std::strerror(error));
}

void setSyncFunction(SyncFunction function)
{
    s_sync = function ? function : &::fsync;
}

void setLinkFunction(LinkFunction function)
{
    s_link = function ? function : &::link;
}

bool linksUnsupported(int error)
{
    return error == EPERM || error == ENOSYS || error == EOPNOTSUPP || error == EXDEV;
}

QString temporaryNamePattern(const QString &namePattern)
{
    return QStringLiteral("^\\.") + namePattern + QStringLiteral("\\.[A-Za-z0-9]{6}$");
}

StagedFile::StagedFile(const QString &targetPath, QByteArrayView data)
{
    const QFileInfo target(targetPath);
    QByteArray temp = QFile::encodeName(
        target.absolutePath() + QStringLiteral("/.") + target.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        m_result = failure(errno);
        return;
    }
    m_temporary = temp;
    // The new file takes the old one's permissions and owner; a new name gets the usual ones.
    struct stat old {
    };
    struct stat mine {
    };
    const bool replacing = ::stat(QFile::encodeName(targetPath).constData(), &old) == 0;
    const mode_t permissions = replacing ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    int error = 0;
    if (::fchmod(fd, permissions) != 0 && !permissionsUnsupported(errno, replacing)) {
        error = errno;
    } else if (::fstat(fd, &mine) != 0) {
        error = errno;
    } else if (replacing && (mine.st_uid != old.st_uid || mine.st_gid != old.st_gid)
        && ::fchown(fd, old.st_uid, old.st_gid) != 0) {
        error = EPERM; // the new file could not keep the old one's owner
    } else if (!writeAll(fd, data.data(), data.size()) || s_sync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    m_result = error == 0 ? Result { true, 0 } : failure(error);
}

StagedFile::StagedFile(const QString &targetPath, const QByteArray &data)
    : StagedFile(targetPath, QByteArrayView(data))
{
    m_data = data;
}

StagedFile::~StagedFile()
{
    if (!m_temporary.isEmpty()) {
        ::unlink(m_temporary.constData());
    }
}

Result StagedFile::linkTo(const QString &path)
{
    if (!m_result.ok) {
        return m_result;
    }
    // link() refuses an existing name, so a file that appeared meanwhile is never replaced.
    const QByteArray name = QFile::encodeName(path);
    if (m_linksRefused) {
        return createExclusive(name);
    }
    if (s_link(m_temporary.constData(), name.constData()) != 0) {
        const int error = errno;
        // EPERM also means a protected name on a file system with links (fs.protected_hardlinks does not apply to
        // our own new file, but a folder may forbid it): the exclusive creation then fails with its own reason.
        if (!linksUnsupported(error) || m_data.isNull()) {
            return failure(error);
        }
        m_linksRefused = true;
        return createExclusive(name);
    }
    syncFolder(QFile::encodeName(QFileInfo(path).absolutePath()));
    return { true, 0 };
}

Result StagedFile::createExclusive(const QByteArray &name) const
{
    // O_EXCL refuses an existing name as link() does. A file begun here and not finished is ours to remove.
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        return failure(errno);
    }
    int error = 0;
    if (!writeAll(fd, m_data.constData(), m_data.size()) || s_sync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(name.constData());
        return failure(error);
    }
    syncFolder(QFile::encodeName(QFileInfo(QFile::decodeName(name)).absolutePath()));
    return { true, 0 };
}

Result StagedFile::renameTo(const QString &path)
{
    if (!m_result.ok) {
        return m_result;
    }
    if (::rename(m_temporary.constData(), QFile::encodeName(path).constData()) != 0) {
        return failure(errno);
    }
    m_temporary.clear(); // the temporary name is now the file's own
    syncFolder(QFile::encodeName(QFileInfo(path).absolutePath()));
    return { true, 0 };
}

Result write(const QString &path, QByteArrayView data, Mode mode)
{
    const QString target = resolvedTarget(path);
    StagedFile staged(target, data);
    if (mode == NoReplace) {
        return staged.linkTo(target);
    }
    if (!staged.result().ok) {
        // A folder we may not write in, or a new file that could not keep the old one's owner, need not stop us
        // when the file itself may be written. Other failures (a full disk, say) would fail in place as well.
        const QByteArray targetName = QFile::encodeName(target);
        const int error = staged.result().error;
        if ((error == EACCES || error == EPERM) && ::access(targetName.constData(), W_OK) == 0) {
            return rewriteInPlace(targetName, data);
        }
        return staged.result();
    }
    return staged.renameTo(target);
}

} // namespace pixolo::AtomicFile
