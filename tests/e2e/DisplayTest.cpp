// The program meets an X server that does not answer: one that is not up yet (a server restarting after its last
// client left) is waited for, one that stays away is named in a plain message and the program ends with status 1,
// instead of an abort and a core dump; one that refuses the client is named with its reason, in one line.
//
// A display nobody answers on is made without a race with other tests' servers: its abstract socket (where X servers
// listen first, and what a server picking a free display with -displayfd tries to take) is bound here and never
// listened on, so a client is refused there, and no socket file exists. The test's own server for that display then
// listens on the socket file only, where a refused client looks next.
#include "DesktopSession.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace
{

class DisplayReservation
{
public:
    DisplayReservation()
    {
        for (int number = 20; number < 200 && m_number < 0; ++number) {
            const QByteArray file = QStringLiteral("/tmp/.X11-unix/X%1").arg(number).toLocal8Bit();
            const QByteArray lock = QStringLiteral("/tmp/.X%1-lock").arg(number).toLocal8Bit();
            if (QFile::exists(QString::fromLocal8Bit(file)) || QFile::exists(QString::fromLocal8Bit(lock))) {
                continue;
            }
            m_fd = bindAbstract(file);
            if (m_fd >= 0) {
                m_number = number;
                m_file = file;
            }
        }
    }

    ~DisplayReservation()
    {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    DisplayReservation(const DisplayReservation &) = delete;
    DisplayReservation &operator=(const DisplayReservation &) = delete;

    int number() const { return m_number; }

    // Waits until a client knocks at the display and sends it away, as a display without a server does, and says
    // whether one came within the time. The display stays reserved and refuses clients again afterwards.
    bool waitForAClient(int timeoutMs)
    {
        if (m_fd < 0 || ::listen(m_fd, 4) != 0) {
            return false;
        }
        pollfd ready { m_fd, POLLIN, 0 };
        const bool knocked = ::poll(&ready, 1, timeoutMs) == 1;
        if (knocked) {
            const int client = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (client >= 0) {
                ::close(client);
            }
        }
        // A listening socket would take the next try and keep it waiting: bound anew, it refuses.
        ::close(m_fd);
        m_fd = bindAbstract(m_file);
        return knocked && m_fd >= 0;
    }
    QString display() const { return QStringLiteral(":%1").arg(m_number); }

private:
    static int bindAbstract(const QByteArray &file)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, file.constData(), size_t(file.size())); // abstract: leading NUL
        const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(file.size()));
        if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), length) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    int m_fd = -1;
    int m_number = -1;
    QByteArray m_file;
};

TEST(DisplayTest, ProgramStartedBeforeItsXServerAnswersWaitsForItAndOpens)
{
    DesktopSession session;
    ASSERT_TRUE(session.ok());
    DisplayReservation reserved;
    ASSERT_GE(reserved.number(), 0);

    session.setEnv(QStringLiteral("DISPLAY"), reserved.display());
    QProcess *program = session.startProgram();
    // The program's first try finds nobody; only then does the server come.
    ASSERT_TRUE(reserved.waitForAClient(10000));
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
        { reserved.display(), QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
            QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-nolisten"), QStringLiteral("local"),
            QStringLiteral("-noreset") });
    ASSERT_TRUE(server.waitForStarted(5000));

    // Windows are looked for on the program's display.
    const auto windows = [&] {
        QProcess search;
        search.setProcessEnvironment(session.environment());
        search.start(QStringLiteral("xdotool"),
            { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                QString::number(program->processId()) });
        search.waitForFinished(5000);
        return QString::fromUtf8(search.readAllStandardOutput()).trimmed();
    };
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] { return !windows().isEmpty() || program->state() != QProcess::Running; }, 20000));
    EXPECT_EQ(program->state(), QProcess::Running) << program->readAllStandardError().toStdString();
    EXPECT_FALSE(windows().isEmpty());
    program->kill();
    program->waitForFinished(5000);
    server.terminate();
    if (!server.waitForFinished(5000)) {
        server.kill();
        server.waitForFinished(5000);
    }
}

TEST(DisplayTest, DisplayThatStaysAwayIsNamedAndTheProgramEndsWithStatusOne)
{
    DesktopSession session;
    const DisplayReservation reserved;
    ASSERT_GE(reserved.number(), 0);
    session.setEnv(QStringLiteral("DISPLAY"), reserved.display());
    QProcess *program = session.startProgram();
    const bool ended = program->waitForFinished(20000);
    const QString said = QString::fromUtf8(program->readAllStandardError());
    ASSERT_TRUE(ended) << said.toStdString();
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit) << said.toStdString(); // not a signal: no abort, no core
    EXPECT_EQ(program->exitCode(), 1) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("cannot open the display \"%1\"").arg(reserved.display())))
        << said.toStdString();
}

TEST(DisplayTest, AServerThatRefusesTheClientIsSaidInOneLineAndTheProgramEndsAtOnce)
{
    DesktopSession session;
    // A server that only lets in clients with its cookie, and a program that has none.
    const QString serverCookies = session.tempPath() + QStringLiteral("/server.auth");
    const QString noCookies = session.tempPath() + QStringLiteral("/client.auth");
    ASSERT_TRUE(QFile(noCookies).open(QIODevice::WriteOnly));
    int added = -1;
    session.run(QStringLiteral("xauth"),
        { QStringLiteral("-f"), serverCookies, QStringLiteral("add"), QStringLiteral(":0"),
            QStringLiteral("MIT-MAGIC-COOKIE-1"), QStringLiteral("0123456789abcdef0123456789abcdef") },
        10000, &added);
    ASSERT_EQ(added, 0);
    QProcess server;
    server.start(QStringLiteral("Xvfb"),
        { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-auth"), serverCookies,
            QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("640x480x24"), QStringLiteral("-nolisten"),
            QStringLiteral("tcp") });
    ASSERT_TRUE(server.waitForStarted(5000));
    QByteArray number;
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] {
            server.waitForReadyRead(100);
            number += server.readAllStandardOutput();
            return number.contains('\n');
        },
        10000));
    const QString display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());

    session.setEnv(QStringLiteral("DISPLAY"), display);
    session.setEnv(QStringLiteral("XAUTHORITY"), noCookies);
    QElapsedTimer clock;
    clock.start();
    QProcess *program = session.startProgram();
    const bool ended = program->waitForFinished(20000);
    const QString said = QString::fromUtf8(program->readAllStandardError());
    ASSERT_TRUE(ended) << said.toStdString();
    EXPECT_LT(clock.elapsed(), 2500) << "a refusal is not waited out";
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit) << said.toStdString();
    EXPECT_EQ(program->exitCode(), 1) << said.toStdString();
    // One line, which says the server refused, with its reason.
    EXPECT_EQ(said.trimmed().count(QLatin1Char('\n')), 0) << said.toStdString();
    EXPECT_TRUE(said.startsWith(QStringLiteral("pixolo: cannot open the display \"%1\": the X server refused the "
                                               "connection (Authorization required")
                                    .arg(display)))
        << said.toStdString();
    server.terminate();
    if (!server.waitForFinished(5000)) {
        server.kill();
        server.waitForFinished(5000);
    }
}

} // namespace
