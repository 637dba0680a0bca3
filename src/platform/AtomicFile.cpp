#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pixolo::AtomicFile {

namespace {

mode_t currentUmask()
{
    // umask can only be read by setting it; we put it straight back.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

Result failure(int error)
{
    return {false, error};
}

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

} // namespace

QString Result::errorText() const
{
    return QString::fromLocal8Bit(std::strerror(error));
}

Result write(const QString &path, QByteArrayView data, Mode mode)
{
    // Through a link, the file it points at is the one to replace.
    const QFileInfo info(path);
    const QString target = info.isSymLink() && info.exists() ? info.canonicalFilePath() : path;
    const QString folder = QFileInfo(target).absolutePath();

    QByteArray temp = QFile::encodeName(folder + QStringLiteral("/.") + QFileInfo(target).fileName()
                                        + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        return failure(errno);
    }
    struct stat old {};
    const QByteArray targetName = QFile::encodeName(target);
    const mode_t permissions
        = ::stat(targetName.constData(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    if (::fchmod(fd, permissions) != 0 || !writeAll(fd, data.data(), data.size()) || ::fsync(fd) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(temp.constData());
        return failure(error);
    }
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        return failure(error);
    }
    if (mode == NoReplace) {
        // link() refuses an existing name, so a file that appeared meanwhile is never replaced.
        const int linked = ::link(temp.constData(), targetName.constData());
        const int error = errno;
        ::unlink(temp.constData());
        if (linked != 0) {
            return failure(error);
        }
    } else if (::rename(temp.constData(), targetName.constData()) != 0) {
        const int error = errno;
        ::unlink(temp.constData());
        return failure(error);
    }
    // Make the new name itself durable.
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {true, 0};
}

} // namespace pixolo::AtomicFile
