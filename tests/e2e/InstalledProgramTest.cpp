// The program as an installed package runs it: from a folder its user cannot write (cmake --install into a prefix,
// then run by an unprivileged user), with its settings in the user's own configuration folder.
#include "DesktopSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

// Where the photo folder edit is in the main window, relative to its top-left corner (client area at (15, 33)).
const QPoint kPathEdit = QPoint(15 + 11 + 92 + 70, 33 + 11 + 272 + 9);

class InstalledProgramTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        root = session.tempPath();
        prefix = root + QStringLiteral("/install");
        QProcess install;
        install.start(QStringLiteral("cmake"),
            { QStringLiteral("--install"), QStringLiteral(PIXOLO_BUILD_DIR), QStringLiteral("--prefix"), prefix });
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();
        // The program folder belongs to the system: nobody who runs the program may write there.
        ASSERT_EQ(::chmod(QFile::encodeName(prefix + QStringLiteral("/lib/pixolo")).constData(), 0555), 0);

        // A root user may write anywhere, so the program runs as "nobody" then; anyone else runs it as themselves.
        asNobody = ::geteuid() == 0;
        ::chmod(QFile::encodeName(root).constData(), 0755); // the session's folder, open for that user to pass
        for (const QString &folder :
            { QStringLiteral("home"), QStringLiteral("runtime-user"), QStringLiteral("photos") }) {
            ASSERT_TRUE(QDir(root).mkpath(folder));
            ownedByUser(root + QLatin1Char('/') + folder);
        }
        ::chmod(QFile::encodeName(root + QStringLiteral("/runtime-user")).constData(), 0700);
        configHome = root + QStringLiteral("/home/.config");
        photos = root + QStringLiteral("/photos/");
    }

    void TearDown() override
    {
        stop();
        ::chmod(QFile::encodeName(prefix + QStringLiteral("/lib/pixolo")).constData(), 0755); // so it can be removed
    }

    void ownedByUser(const QString &path) const
    {
        if (asNobody) {
            ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
        }
    }

    // Starts the installed program through its link in bin/, as the desktop entry does, and waits for its window.
    void start()
    {
        program = std::make_unique<QProcess>();
        QProcessEnvironment env = session.environment();
        env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root + QStringLiteral("/runtime-user"));
        program->setProcessEnvironment(env);
        program->setWorkingDirectory(root + QStringLiteral("/home"));
        const QString launcher = prefix + QStringLiteral("/bin/pixolo");
        if (asNobody) {
            program->start(QStringLiteral("setpriv"),
                { QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups"),
                    launcher });
        } else {
            program->start(launcher, {});
        }
        ASSERT_TRUE(program->waitForStarted(5000));
        ASSERT_TRUE(DesktopSession::waitUntil(
            [&] {
                for (const QString &w : session.visibleWindows(program->processId())) {
                    if (session.windowName(w).contains(QStringLiteral(" － "))) {
                        mainWindow = w;
                        return true;
                    }
                }
                return program->state() != QProcess::Running;
            },
            30000))
            << program->readAllStandardError().toStdString();
        ASSERT_EQ(program->state(), QProcess::Running) << program->readAllStandardError().toStdString();
        origin = session.windowGeometry(mainWindow).topLeft();
    }

    void stop()
    {
        if (program && program->state() != QProcess::NotRunning) {
            program->kill();
            program->waitForFinished(5000);
        }
    }

    void xdotool(const QStringList &args) { session.run(QStringLiteral("xdotool"), args); }

    void focusAndKey(const QString &key)
    {
        xdotool({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), mainWindow });
        xdotool({ QStringLiteral("key"), key });
    }

    QString userSettings() const
    {
        QFile ini(configHome + QStringLiteral("/pixolo/Pixolo.ini"));
        return ini.open(QIODevice::ReadOnly) ? QString::fromUtf8(ini.readAll()) : QString();
    }

    QStringList photoFiles() const { return QDir(photos).entryList({ QStringLiteral("*.jpg") }, QDir::Files); }

    DesktopSession session;
    QString root;
    QString prefix;
    QString configHome;
    QString photos;
    bool asNobody = false;
    std::unique_ptr<QProcess> program;
    QString mainWindow;
    QPoint origin;
};

TEST_F(InstalledProgramTest, PhotoFolderChosenInAReadOnlyInstallIsRememberedInTheUsersConfigFolder)
{
    start();
    // The user's configuration folder is made at start, before anything is saved.
    EXPECT_TRUE(QFileInfo(configHome + QStringLiteral("/pixolo")).isDir());

    // Type the photo folder and confirm it with Enter, which saves it.
    const QPoint edit = origin + kPathEdit;
    xdotool({ QStringLiteral("mousemove"), QString::number(edit.x()), QString::number(edit.y()),
        QStringLiteral("click"), QStringLiteral("1") });
    focusAndKey(QStringLiteral("ctrl+a"));
    xdotool({ QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), photos });
    focusAndKey(QStringLiteral("Return"));
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] { return userSettings().contains(QStringLiteral("PhotoPath=") + photos + QLatin1Char('\n')); }, 10000))
        << "settings: " << userSettings().toStdString() << "\nsaid: " << program->readAllStandardError().toStdString();
    const QString said = QString::fromUtf8(program->readAllStandardError());
    EXPECT_FALSE(said.contains(QStringLiteral("Unable to write"))) << said.toStdString();
    EXPECT_FALSE(QFileInfo::exists(prefix + QStringLiteral("/lib/pixolo/Pixolo.ini")));
    stop();

    // Started again, the program reads the folder back: F8 stores its photo there.
    start();
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] {
            focusAndKey(QStringLiteral("F8"));
            return DesktopSession::waitUntil([&] { return !photoFiles().isEmpty(); }, 2000);
        },
        20000))
        << program->readAllStandardError().toStdString();
    EXPECT_EQ(photoFiles().size(), 1);
    if (asNobody && !photoFiles().isEmpty()) {
        EXPECT_EQ(QFileInfo(photos + photoFiles().front()).ownerId(), 65534u); // taken by the unprivileged user
    }
}

} // namespace
