#include "DesktopSession.h"

#include "RunCommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

DesktopSession::DesktopSession(QSize screen)
{
    QDir root(m_root.path());
    root.mkpath(QStringLiteral("runtime"));
    m_runtimeDir = root.filePath(QStringLiteral("runtime"));
    ::chmod(QFile::encodeName(m_runtimeDir).constData(), 0700);
    installProgramInto(QStringLiteral("program"));

    // -displayfd 1: the server picks a free display and prints its number on standard output. -noreset: a server
    // resets when its last client goes, and a program started during that reset cannot connect (a killed copy
    // that was the only client left the next copy without a display).
    m_xserver = std::make_unique<QProcess>();
    m_xserver->setProcessChannelMode(QProcess::SeparateChannels);
    m_xserver->start(QStringLiteral("Xvfb"),
        { QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()), QStringLiteral("-nolisten"),
            QStringLiteral("tcp"), QStringLiteral("-noreset") });
    if (!m_xserver->waitForStarted(5000)) {
        return;
    }
    bool ok = false;
    const int number = pixolo::test::firstLineOf(*m_xserver, 10000).toInt(&ok);
    m_display = ok ? number : -1;

    // Build the GStreamer plugin registry of this session's home once, up front: a program killed while it scans
    // plugins must not leave the next one to meet a half-done scan.
    run(QStringLiteral("gst-inspect-1.0"), { QStringLiteral("pixolotestcamsrc") }, 60000);
}

DesktopSession::~DesktopSession()
{
    for (auto &program : m_programs) {
        if (program->state() != QProcess::NotRunning) {
            program->kill();
            program->waitForFinished(5000);
        }
    }
    m_pipeWire.reset(); // after its clients
    if (m_sessionBus) {
        pixolo::test::stopProcess(*m_sessionBus);
    }
    if (m_windowManager && m_windowManager->state() != QProcess::NotRunning) {
        m_windowManager->terminate();
        if (!m_windowManager->waitForFinished(5000)) {
            m_windowManager->kill();
            m_windowManager->waitForFinished(5000);
        }
    }
    if (m_xserver && m_xserver->state() != QProcess::NotRunning) {
        m_xserver->terminate();
        if (!m_xserver->waitForFinished(5000)) {
            m_xserver->kill();
            m_xserver->waitForFinished(5000);
        }
    }
}

bool DesktopSession::startSessionBus()
{
    // --nofork keeps the bus our child, so that it can be stopped; it prints its address once it listens.
    m_sessionBus = std::make_unique<QProcess>();
    m_sessionBus->setProcessEnvironment(environment());
    m_sessionBus->setStandardErrorFile(m_root.path() + QStringLiteral("/session-bus.log"));
    m_sessionBus->start(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
            QStringLiteral("--address=unix:path=") + m_root.path() + QStringLiteral("/session-bus") });
    if (!m_sessionBus->waitForStarted(5000)) {
        return false;
    }
    const QString busAddress = pixolo::test::firstLineOf(*m_sessionBus, 5000);
    if (busAddress.isEmpty()) {
        return false;
    }
    setEnv(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
    return true;
}

bool DesktopSession::startWindowManager()
{
    m_windowManager = std::make_unique<QProcess>();
    QProcessEnvironment env = environment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.path() + QStringLiteral("/wm-config")); // its defaults
    m_windowManager->setProcessEnvironment(env);
    m_windowManager->setProcessChannelMode(QProcess::MergedChannels);
    m_windowManager->setStandardOutputFile(m_root.path() + QStringLiteral("/openbox.log"));
    m_windowManager->start(QStringLiteral("openbox"), { QStringLiteral("--sm-disable") });
    if (!m_windowManager->waitForStarted(5000)) {
        return false;
    }
    // A window manager says so on the root window once it manages the screen.
    return waitUntil(
        [&] {
            return m_windowManager->state() == QProcess::Running
                && run(QStringLiteral("xprop"), { QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK") })
                       .contains(QStringLiteral("window id"));
        },
        10000);
}

void DesktopSession::installProgramInto(const QString &folder)
{
    QDir root(m_root.path());
    root.mkpath(folder);
    m_programDir = root.filePath(folder);
    QFile::remove(programPath());
    QFile::copy(QStringLiteral(PIXOLO_BINARY), programPath());
    const QString sound = QFileInfo(QStringLiteral(PIXOLO_BINARY)).dir().filePath(QStringLiteral("Pixolo.wav"));
    if (QFile::exists(sound)) {
        QFile::copy(sound, m_programDir + QStringLiteral("/Pixolo.wav"));
    }
}

QProcessEnvironment DesktopSession::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("HOME"), m_root.path());
    // The tests' own fonts (the font set's files only); a test may ask for a desktop's fonts with setEnv.
    env.insert(QStringLiteral("FONTCONFIG_FILE"), QStringLiteral(PIXOLO_TEST_FONTCONFIG));
    if (m_usesPipeWire) {
        QStringList path = env.value(QStringLiteral("GST_PLUGIN_PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
        path.removeIf([](const QString &folder) {
            return QDir::cleanPath(folder) == QDir::cleanPath(QStringLiteral(PIXOLO_PLUGIN_DIR));
        });
        env.insert(QStringLiteral("GST_PLUGIN_PATH"), path.join(QLatin1Char(':')));
        if (m_pipeWire) {
            m_pipeWire->addTo(env);
        }
    } else {
        env.insert(QStringLiteral("GST_PLUGIN_PATH"), QStringLiteral(PIXOLO_PLUGIN_DIR));
    }
    for (const QString &key : m_env.keys()) {
        env.insert(key, m_env.value(key));
    }
    return env;
}

pixolo::test::PipeWireSession &DesktopSession::pipeWire()
{
    if (!m_pipeWire) {
        m_usesPipeWire = true;
        // Its helpers see what the programs will see, the plugin registry of the session's home included.
        m_pipeWire = std::make_unique<pixolo::test::PipeWireSession>(m_runtimeDir, environment());
    }
    return *m_pipeWire;
}

QProcess *DesktopSession::startProgram()
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment());
    process->setWorkingDirectory(m_root.path());
    process->start(programPath(), {});
    process->waitForStarted(5000);
    m_programs.push_back(std::move(process));
    return m_programs.back().get();
}

QString DesktopSession::run(const QString &program, const QStringList &args, int timeoutMs, int *exitCode)
{
    return pixolo::test::runCommand(program, args, environment(), timeoutMs, exitCode);
}

QStringList DesktopSession::visibleWindows(qint64 pid)
{
    // Searching by process leaves the root window out (it has no process).
    const QString out = run(QStringLiteral("xdotool"),
        { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"), QString::number(pid) });
    QStringList windows;
    for (const QString &line : out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        windows << line.trimmed();
    }
    return windows;
}

QString DesktopSession::windowName(const QString &window)
{
    return run(QStringLiteral("xdotool"), { QStringLiteral("getwindowname"), window }).trimmed();
}

QRect DesktopSession::windowGeometry(const QString &window)
{
    const QString out = run(QStringLiteral("xdotool"), { QStringLiteral("getwindowgeometry"), window });
    static const QRegularExpression pattern(QStringLiteral("Position: (-?\\d+),(-?\\d+).*Geometry: (\\d+)x(\\d+)"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto match = pattern.match(out);
    if (!match.hasMatch()) {
        return {};
    }
    return { match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt(),
        match.captured(4).toInt() };
}

QString DesktopSession::waitForMainWindow(QProcess *program, int timeoutMs)
{
    QString found;
    waitUntil(
        [&] {
            for (const QString &window : visibleWindows(program->processId())) {
                if (windowName(window).contains(QStringLiteral(" － "))) {
                    found = window;
                    return true;
                }
            }
            return program->state() != QProcess::Running;
        },
        timeoutMs);
    if (found.isEmpty()) {
        std::fprintf(stderr, "no main window within %d ms:\n%s\n", timeoutMs, qPrintable(diagnosis(program)));
    }
    return found;
}

QString DesktopSession::diagnosis(QProcess *program)
{
    QString text;
    if (program->state() == QProcess::Running) {
        text += QStringLiteral("the program (pid %1) runs\n").arg(program->processId());
    } else {
        text += QStringLiteral("the program ended: %1 %2\n")
                    .arg(program->exitStatus() == QProcess::CrashExit ? QStringLiteral("crashed, status")
                                                                      : QStringLiteral("exit code"))
                    .arg(program->exitCode());
    }
    const QProcess::ProcessChannel channel = program->readChannel();
    program->setReadChannel(QProcess::StandardError);
    program->waitForReadyRead(100);
    text += QStringLiteral("its standard error:\n") + QString::fromLocal8Bit(program->peek(64 * 1024));
    program->setReadChannel(channel);
    if (program->state() != QProcess::Running) {
        return text;
    }
    for (const QString &window : visibleWindows(program->processId())) {
        text += QStringLiteral("window %1 \"%2\"\n").arg(window, windowName(window));
    }
    if (!QStandardPaths::findExecutable(QStringLiteral("gdb")).isEmpty()) {
        text += run(QStringLiteral("gdb"),
            { QStringLiteral("-p"), QString::number(program->processId()), QStringLiteral("-batch"),
                QStringLiteral("-ex"), QStringLiteral("thread apply all bt 30") },
            60000);
    }
    return text;
}

QStringList DesktopSession::otherWindows(QProcess *program, const QString &except)
{
    QStringList windows = visibleWindows(program->processId());
    windows.removeAll(except);
    return windows;
}

QImage DesktopSession::screenshot()
{
    QProcess import;
    import.setProcessEnvironment(environment());
    import.start(
        QStringLiteral("import"), { QStringLiteral("-window"), QStringLiteral("root"), QStringLiteral("png:-") });
    import.waitForFinished(15000);
    return QImage::fromData(import.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

void DesktopSession::xdotool(const QStringList &args)
{
    run(QStringLiteral("xdotool"), args);
}

void DesktopSession::keyRepeatedTo(const QString &window, const QString &key, int count, int delayMs)
{
    xdotool({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), window });
    // In bursts of a hundred: one xdotool per key would take longer than the delay.
    for (int sent = 0; sent < count;) {
        const int burst = std::min(100, count - sent);
        QStringList args = { QStringLiteral("key"), QStringLiteral("--delay"), QString::number(delayMs) };
        for (int i = 0; i < burst; ++i) {
            args << key;
        }
        run(QStringLiteral("xdotool"), args, 60000);
        sent += burst;
    }
}

long DesktopSession::residentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

void DesktopSession::mouseTo(QPoint screen)
{
    xdotool({ QStringLiteral("mousemove"), QString::number(screen.x()), QString::number(screen.y()) });
}

void DesktopSession::clickAt(QPoint screen, int button)
{
    mouseTo(screen);
    xdotool({ QStringLiteral("click"), QString::number(button) });
}

void DesktopSession::keyTo(const QString &window, const QString &keys)
{
    xdotool({ QStringLiteral("windowfocus"), QStringLiteral("--sync"), window });
    xdotool(QStringList { QStringLiteral("key") } + keys.split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

bool DesktopSession::waitUntil(const std::function<bool()> &predicate, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!predicate()) {
        if (clock.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(50); // polling interval: the program runs in another process
    }
    return true;
}
