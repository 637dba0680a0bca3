#include "app/PhotoFile.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <mutex>
#include <utility>

namespace pixolo::PhotoFile
{

namespace
{

constexpr int kMaxNumberedNames = 10000;

// Built by concatenation: a file name may itself hold "%1"-like text.
std::string createError(const QString &name, const QString &reason)
{
    return (QStringLiteral("Cannot create file \"") + name + QStringLiteral("\". ") + reason).toStdString();
}

} // namespace

QString withoutControlCharacters(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control) {
            result += c;
        }
    }
    return result;
}

QString settingsText(const QString &text)
{
    return withoutControlCharacters(text).trimmed();
}

QString defaultFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty()) {
        folder = QDir::homePath();
    }
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString photoPathText(const QString &folderText)
{
    QString text = settingsText(folderText);
    if (text.isEmpty()) {
        text = defaultFolder();
        QDir().mkpath(text); // a missing folder then gives the usual error when a photo is stored
        return text;
    }
    if (text == QLatin1String("~")) {
        text = QDir::homePath() + QLatin1Char('/');
    } else if (text.startsWith(QLatin1String("~/"))) {
        text = QDir::homePath() + text.mid(1);
    }
    if (!text.endsWith(QLatin1Char('/')) && QFileInfo(text).isDir()) {
        text += QLatin1Char('/');
    }
    return text;
}

QString timeStamp(const QDateTime &when)
{
    return when.toString(QStringLiteral("yyyyMMddHHmmss"));
}

QString fileName(const QString &pathText, const QDateTime &when)
{
    return withoutControlCharacters(pathText) + timeStamp(when) + QStringLiteral(".jpg");
}

namespace
{

// Where photos of a path text go, and the start of their names: "/a/b/" gives ("/a/b", ""), "/a/Photos" gives
// ("/a", "Photos"), a text without a separator the current folder.
std::pair<QString, QString> folderAndPrefix(const QString &pathText)
{
    const QString text = withoutControlCharacters(pathText);
    const qsizetype slash = text.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) {
        return { QStringLiteral("."), text };
    }
    return { slash == 0 ? QStringLiteral("/") : text.left(slash), text.mid(slash + 1) };
}

// The name a photo would take: the first of base.jpg, base-2.jpg, … that is free.
QString firstFreeName(const QString &base)
{
    for (int number = 1; number <= kMaxNumberedNames; ++number) {
        const QString name = number == 1 ? base + QStringLiteral(".jpg") : base + QStringLiteral("-%1.jpg").arg(number);
        struct stat info {
        };
        if (::lstat(QFile::encodeName(name).constData(), &info) != 0) {
            return name;
        }
    }
    return base + QStringLiteral(".jpg");
}

// Folders tidied lately, so that a burst of shots does not read a large folder again for each one. Photos are stored
// beside the window's thread: the list has a lock.
std::mutex s_tidiedLock;
QHash<QString, QElapsedTimer> &tidiedFolders()
{
    static QHash<QString, QElapsedTimer> folders;
    return folders;
}

// Whether the folder and prefix were tidied within the last minute; marks them tidied now when not.
bool tidiedLately(const QString &key, qint64 withinMs)
{
    const std::lock_guard lock(s_tidiedLock);
    QElapsedTimer &tidied = tidiedFolders()[key];
    if (tidied.isValid() && !tidied.hasExpired(withinMs)) {
        return true;
    }
    tidied.start();
    return false;
}

constexpr qint64 kStaleAfterMs = 60 * 1000;
// A photo of the largest frame a camera gives (8000 × 6000) is well below this; a larger file is not read.
constexpr qint64 kLargestRecoveredPhoto = qint64(256) << 20;

// Whether the data is a whole JPEG: it starts with the start-of-image marker and ends with the end-of-image marker,
// which the encoder writes last.
bool wholeJpeg(const QByteArray &data)
{
    return data.size() >= 4 && data.startsWith("\xFF\xD8") && data.endsWith("\xFF\xD9");
}

// Stores the JPEG under base.jpg, or base-2.jpg, … when that is taken, written and synced once; returns the name.
QString storeUnder(const QString &base, const QByteArray &jpeg)
{
    const QString first = base + QStringLiteral(".jpg");
    // Written and synced once; then the names are tried, each by a link of that same file.
    AtomicFile::StagedFile photo(first, jpeg);
    if (!photo.result().ok) {
        // The message names the file this photo would have become, not an earlier photo of the same second.
        throw ECreateFileError(createError(firstFreeName(base), photo.result().errorText()));
    }
    for (int number = 1; number <= kMaxNumberedNames; ++number) {
        const QString name = number == 1 ? first : base + QStringLiteral("-%1.jpg").arg(number);
        const AtomicFile::Result result = photo.linkTo(name);
        if (result.ok) {
            return name;
        }
        if (result.error != EEXIST) {
            throw ECreateFileError(createError(name, result.errorText()));
        }
    }
    throw ECreateFileError(createError(first, QString::fromLocal8Bit(std::strerror(EEXIST))));
}

// Gives a whole photo left under a temporary name the name it was going to have (its time stamp, the next free
// suffix when that is taken), with its own modification time. The temporary file goes once the photo has its name.
bool recover(const QDir &dir, const QString &temporaryName, const QByteArray &jpeg, const struct stat &info)
{
    // ".<prefix><stamp>.jpg.XXXXXX": the name between the leading dot and the last dot.
    const QString target = temporaryName.mid(1, temporaryName.lastIndexOf(QLatin1Char('.')) - 1);
    try {
        const QString name = storeUnder(dir.filePath(target.chopped(4)), jpeg);
        const timespec times[2] = { info.st_atim, info.st_mtim };
        ::utimensat(AT_FDCWD, QFile::encodeName(name).constData(), times, 0);
    } catch (const ECreateFileError &) {
        return false; // the folder takes no file now: the photo stays where it is for a later try
    }
    ::unlink(QFile::encodeName(dir.filePath(temporaryName)).constData());
    return true;
}

} // namespace

TidiedFiles tidyTemporaryFiles(const QString &pathText)
{
    const auto [folder, prefix] = folderAndPrefix(pathText);
    {
        const std::lock_guard lock(s_tidiedLock);
        tidiedFolders()[folder + QLatin1Char('/') + prefix].start();
    }

    const QRegularExpression ours(AtomicFile::temporaryNamePattern(
        QRegularExpression::escape(prefix) + QStringLiteral("[0-9]{14}(-[0-9]+)?\\.jpg")));
    const QDir dir(folder);
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    TidiedFiles tidied;
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
        if (!ours.match(name).hasMatch()) {
            continue;
        }
        // Only plain files of our own.
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat info {
        };
        if (::lstat(path.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
            continue;
        }
        // A whole photo is written in one go before it is named: one left under its temporary name was stored by a
        // copy that ended before it could name it (one copy runs per user, and this one names its photos before
        // it tidies again).
        if (info.st_size <= kLargestRecoveredPhoto) {
            QFile file(dir.filePath(name));
            const QByteArray data = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            if (wholeJpeg(data)) {
                tidied.recovered += recover(dir, name, data, info) ? 1 : 0;
                continue;
            }
        }
        // Part of a photo: removed once it has been left alone for a minute, so a write going on is never disturbed.
        if ((now - info.st_mtime) * 1000 >= kStaleAfterMs && ::unlink(path.constData()) == 0) {
            ++tidied.removed;
        }
    }
    return tidied;
}

QString store(const QString &pathText, const QDateTime &when, const QByteArray &jpeg)
{
    const auto [folder, prefix] = folderAndPrefix(pathText);
    if (!tidiedLately(folder + QLatin1Char('/') + prefix, kStaleAfterMs)) {
        tidyTemporaryFiles(pathText);
    }
    return storeUnder(withoutControlCharacters(pathText) + timeStamp(when), jpeg);
}

} // namespace pixolo::PhotoFile
