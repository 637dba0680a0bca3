#include "platform/DesktopServices.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemWatcher>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

namespace pixolo::DesktopServices
{

namespace
{

struct Handlers {
    ChooseFolderHandler chooseFolder;
    OpenHandler openFolder;
    OpenHandler openAddress;
};

Handlers &handlers()
{
    static Handlers s_handlers;
    return s_handlers;
}

} // namespace

std::optional<QString> chooseFolder(QWidget *parent, const QString &title)
{
    if (handlers().chooseFolder) {
        return handlers().chooseFolder(title);
    }
    // No folder preselected: the chooser starts at the user's home.
    const QString folder = QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) {
        return std::nullopt;
    }
    return folder;
}

namespace
{

// How long an opener is waited for: xdg-open ends once the file manager has the folder (or failed to start one).
// One still running after this has found something to run, and is left to it.
constexpr int kOpenerWaitMs = 30000;

// xdg-open started on its own (so the file manager it starts does not end with this program), its exit status
// written to a private folder, which is watched for it. A status other than 0 is told to the failure handler.
class OpenerWatch final : public QObject
{
public:
    OpenerWatch(const QString &path, FailureHandler onFailure)
        : QObject(QCoreApplication::instance())
        , m_path(path)
        , m_onFailure(std::move(onFailure))
        , m_folder(QDir::tempPath() + QStringLiteral("/pixolo-open-XXXXXX"))
    {
        const QString status = m_folder.filePath(QStringLiteral("status"));
        // The status appears whole (written, then moved): a half-written number is never read.
        const QString script = QStringLiteral(
            "xdg-open \"$1\" >/dev/null 2>\"$2.err\"; echo $? >\"$2.tmp\" && command -p mv \"$2.tmp\" \"$2\"");
        if (!m_folder.isValid()
            || !QProcess::startDetached(
                QStringLiteral("/bin/sh"), { QStringLiteral("-c"), script, QStringLiteral("sh"), path, status })) {
            QTimer::singleShot(0, this, [this] { finish(QStringLiteral("no program to open it could be started")); });
            return;
        }
        m_watcher.addPath(m_folder.path());
        connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this, status] {
            QFile file(status);
            if (!file.open(QIODevice::ReadOnly)) {
                return; // not there yet
            }
            bool numeric = false;
            const int code = file.readAll().trimmed().toInt(&numeric);
            QFile errors(status + QStringLiteral(".err"));
            const QString said = errors.open(QIODevice::ReadOnly)
                ? QString::fromLocal8Bit(errors.readAll()).trimmed().split(QLatin1Char('\n')).last().trimmed()
                : QString();
            finish(numeric && code == 0 ? QString() : reasonFor(code, said));
        });
        m_timeout.setSingleShot(true);
        connect(&m_timeout, &QTimer::timeout, this, [this] { finish(QString()); });
        m_timeout.start(kOpenerWaitMs);
    }

private:
    static QString reasonFor(int code, const QString &said)
    {
        switch (code) {
        case 127:
            return QStringLiteral("no program to open folders is installed (xdg-open, from xdg-utils)");
        case 3:
            return QStringLiteral("no file manager is set up to open folders")
                + (said.isEmpty() ? QString() : QStringLiteral(" (") + said + QLatin1Char(')'));
        default:
            return said.isEmpty() ? QStringLiteral("xdg-open ended with status %1").arg(code) : said;
        }
    }

    void finish(const QString &problem)
    {
        if (m_finished) {
            return;
        }
        m_finished = true;
        m_watcher.disconnect(this);
        m_timeout.stop();
        if (!problem.isEmpty() && m_onFailure) {
            m_onFailure(QStringLiteral("Cannot open the folder \"") + m_path + QStringLiteral("\": ") + problem
                + QLatin1Char('.'));
        }
        deleteLater();
    }

    QString m_path;
    FailureHandler m_onFailure;
    QTemporaryDir m_folder;
    QFileSystemWatcher m_watcher;
    QTimer m_timeout;
    bool m_finished = false;
};

} // namespace

void openFolder(const QString &path, FailureHandler onFailure)
{
    if (handlers().openFolder) {
        handlers().openFolder(path);
        return;
    }
    new OpenerWatch(path, std::move(onFailure)); // deletes itself when xdg-open has answered
}

void openAddress(const QString &address)
{
    if (handlers().openAddress) {
        handlers().openAddress(address);
        return;
    }
    QDesktopServices::openUrl(QUrl(address));
}

void setChooseFolderHandler(ChooseFolderHandler handler)
{
    handlers().chooseFolder = std::move(handler);
}

void setOpenFolderHandler(OpenHandler handler)
{
    handlers().openFolder = std::move(handler);
}

void setOpenAddressHandler(OpenHandler handler)
{
    handlers().openAddress = std::move(handler);
}

} // namespace pixolo::DesktopServices
