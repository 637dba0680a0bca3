#include "app/GlobalVariant.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace pixolo
{

TGlobalVariant rcGlobalVariant;

QString appPathOf(const QString &executablePath)
{
    return executablePath.left(executablePath.lastIndexOf(QLatin1Char('/')) + 1);
}

namespace
{

// The process's own right to make files in the folder: access() also says no for a read-only file system, which
// the permission bits do not show.
bool canWriteFolder(const QString &folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

QString settingsFileFor(
    const QString &appPath, const QString &configHome, const std::function<bool(const QString &folder)> &folderWritable)
{
    const QString beside = appPath + QStringLiteral("Pixolo.ini");
    const bool writable = folderWritable ? folderWritable(appPath) : canWriteFolder(appPath);
    if (QFileInfo::exists(beside) || writable) {
        return beside;
    }
    const QString folder = QDir(configHome).filePath(QStringLiteral("pixolo"));
    // A folder that cannot be made shows up at the first write, as "Unable to write to …" naming the file.
    QDir().mkpath(folder);
    return folder + QStringLiteral("/Pixolo.ini");
}

QString userConfigHome()
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is ignored, as the desktop base-directory rules ask.
    if (!configHome.isEmpty() && QDir::isAbsolutePath(configHome)) {
        return QDir::cleanPath(configHome);
    }
    return QDir::homePath() + QStringLiteral("/.config");
}

} // namespace pixolo
