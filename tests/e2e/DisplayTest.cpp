// The program meets an X server that is not (yet) there: one that is restarting is waited for, one that stays away
// is named in a plain message and the program ends with status 1 instead of an abort and a core dump.
#include "DesktopSession.h"

#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace
{

// Keeps a display number from other X servers that pick theirs with -displayfd (they skip a number whose lock file
// names a living process) while no server runs on it.
class DisplayNumberHold
{
public:
    explicit DisplayNumberHold(int number)
        : m_path(QStringLiteral("/tmp/.X%1-lock").arg(number).toLocal8Bit())
    {
        const int fd = ::open(m_path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0444);
        if (fd >= 0) {
            const QByteArray pid = QByteArray::number(qint64(::getpid())).rightJustified(10, ' ') + '\n';
            m_held = ::write(fd, pid.constData(), size_t(pid.size())) == pid.size();
            ::close(fd);
        }
    }
    ~DisplayNumberHold() { release(); }
    bool held() const { return m_held; }
    void release()
    {
        if (m_held) {
            ::unlink(m_path.constData());
            m_held = false;
        }
    }

private:
    QByteArray m_path;
    bool m_held = false;
};

// A private Xvfb on a display it picks itself (-displayfd), or on a given number.
class XServer
{
public:
    explicit XServer(int number = -1)
    {
        QStringList args { QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1280x1024x24"),
            QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset") };
        args << (number < 0 ? QStringList { QStringLiteral("-displayfd"), QStringLiteral("1") }
                            : QStringList { QStringLiteral(":%1").arg(number) });
        m_process.start(QStringLiteral("Xvfb"), args);
        if (!m_process.waitForStarted(5000)) {
            return;
        }
        if (number >= 0) {
            m_number = number;
            return;
        }
        QByteArray out;
        DesktopSession::waitUntil(
            [&] {
                m_process.waitForReadyRead(100);
                out += m_process.readAllStandardOutput();
                return out.contains('\n') || m_process.state() != QProcess::Running;
            },
            10000);
        bool ok = false;
        const int picked = out.trimmed().toInt(&ok);
        m_number = ok ? picked : -1;
    }
    ~XServer() { stop(); }

    void stop()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate(); // lets the server remove its lock file and socket
            if (!m_process.waitForFinished(5000)) {
                m_process.kill();
                m_process.waitForFinished(5000);
            }
        }
    }
    int number() const { return m_number; }

private:
    QProcess m_process;
    int m_number = -1;
};

// A display number on which no X server runs, held against other tests' servers: a server picks a free one, goes
// away, and its number is held at once. Another server may take the number in between; then the next one is tried.
std::unique_ptr<DisplayNumberHold> freeHeldDisplay(int &number)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        number = XServer().number(); // started and stopped again
        if (number < 0) {
            continue;
        }
        auto hold = std::make_unique<DisplayNumberHold>(number);
        if (hold->held()) {
            return hold;
        }
    }
    return {};
}

TEST(DisplayTest, ProgramStartedWhileItsXServerRestartsWaitsForItAndOpens)
{
    DesktopSession session;
    ASSERT_TRUE(session.ok());
    // The display's server is gone for now, as while a server resets, and no other test's server takes its number.
    int number = -1;
    const std::unique_ptr<DisplayNumberHold> hold = freeHeldDisplay(number);
    ASSERT_TRUE(hold) << "no display number could be held";

    session.setEnv(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(number));
    QProcess *program = session.startProgram();
    QThread::msleep(300); // the program is past its first try before the server is back
    hold->release();
    XServer again(number);
    ASSERT_EQ(again.number(), number);

    // Windows are looked for on the program's display.
    const auto windows = [&] {
        QProcess search;
        QProcessEnvironment env = session.environment();
        search.setProcessEnvironment(env);
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
}

TEST(DisplayTest, DisplayThatStaysAwayIsNamedAndTheProgramEndsWithStatusOne)
{
    DesktopSession session;
    int number = -1;
    const std::unique_ptr<DisplayNumberHold> hold = freeHeldDisplay(number); // no server comes up there meanwhile
    ASSERT_TRUE(hold) << "no display number could be held";
    session.setEnv(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(number));
    QProcess *program = session.startProgram();
    ASSERT_TRUE(program->waitForFinished(20000));
    const QString said = QString::fromUtf8(program->readAllStandardError());
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit) << said.toStdString(); // not a signal: no abort, no core
    EXPECT_EQ(program->exitCode(), 1) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("cannot open the display \":%1\"").arg(number))) << said.toStdString();
}

} // namespace
