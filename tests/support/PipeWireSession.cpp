#include "PipeWireSession.h"

#include "RunCommand.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QThread>

#include <functional>

namespace pixolo::test
{

namespace
{

// Polls `condition` until it holds or `timeoutMs` pass. The processes polled run on their own; the events let
// QProcess notice one that ended.
bool pollUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            return false;
        }
        if (QCoreApplication::instance()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        QThread::msleep(30);
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// The last lines of a log, for a failure message.
QString tail(const QString &path, int lines = 25)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QStringList all = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    return all.mid(qMax(0, all.size() - lines)).join(QLatin1Char('\n'));
}

// A bus with no services to start on demand: nothing joins the session behind the test's back.
QByteArray busConfiguration(const QString &socket)
{
    return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig>\n"
           "  <type>session</type>\n"
           "  <listen>unix:path="
        + socket.toHtmlEscaped().toUtf8()
        + "</listen>\n"
          "  <auth>EXTERNAL</auth>\n"
          "  <policy context=\"default\">\n"
          "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
          "    <allow eavesdrop=\"true\"/>\n"
          "    <allow own=\"*\"/>\n"
          "  </policy>\n"
          "</busconfig>\n";
}

// The pipeline description of a camera: GStreamer's parser keeps a quoted value whole once its blanks are escaped.
QString cameraProperties(const QString &name)
{
    QString nodeName = name;
    nodeName.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
    QString description = name;
    description.replace(QLatin1Char(' '), QStringLiteral("\\ "));
    // A node name of its own, as a real camera has: the description is what people see, the name tells cameras
    // apart and stays the same when the camera comes back.
    return QStringLiteral("stream-properties=props,media.class=Video/Source,media.role=Camera,"
                          "node.name=test_camera.%1,node.description=\"%2\"")
        .arg(nodeName, description);
}

QStringList pictureProperties(PipeWireSession::Picture picture)
{
    switch (picture) {
    case PipeWireSession::Picture::ColourBars:
        return { QStringLiteral("pattern=smpte"), QStringLiteral("horizontal-speed=4") };
    case PipeWireSession::Picture::BallOnBlue:
        return { QStringLiteral("pattern=ball"), QStringLiteral("background-color=0xff0000ff"),
            QStringLiteral("foreground-color=0xffffffff") };
    }
    return {};
}

} // namespace

PipeWireSession::PipeWireSession(const QString &runtimeDir, const QProcessEnvironment &base)
    : m_runtimeDir(runtimeDir)
    , m_home(runtimeDir + QStringLiteral("/pipewire-session"))
    , m_base(base)
{
    // The daemons and helpers reach no display: PipeWire would ring the bell of whatever X server DISPLAY names.
    m_base.remove(QStringLiteral("DISPLAY"));
    m_base.remove(QStringLiteral("WAYLAND_DISPLAY"));
    m_running = start();
}

PipeWireSession::~PipeWireSession()
{
    // Clients first, then the session manager, the daemon and the bus they use.
    for (auto &[name, publisher] : m_cameras) {
        stop(*publisher);
    }
    for (auto *process : { m_sessionManager.get(), m_pipeWire.get(), m_bus.get() }) {
        if (process) {
            stop(*process);
        }
    }
}

QProcessEnvironment PipeWireSession::environment() const
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtimeDir);
    env.insert(QStringLiteral("PIPEWIRE_RUNTIME_DIR"), m_runtimeDir);
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    return env;
}

void PipeWireSession::addTo(QProcessEnvironment &env) const
{
    env.remove(QStringLiteral("PIPEWIRE_REMOTE"));
    env.insert(environment());
}

bool PipeWireSession::start()
{
    if (!QFileInfo(m_runtimeDir).isDir()) {
        return fail(QStringLiteral("no runtime folder %1").arg(m_runtimeDir));
    }
    QStringList missing;
    for (const char *program :
        { "dbus-daemon", "pipewire", "wireplumber", "pw-cli", "gst-launch-1.0", "gst-device-monitor-1.0" }) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()) {
            missing << QString::fromLatin1(program);
        }
    }
    if (!missing.isEmpty()) {
        return fail(QStringLiteral("not installed: %1 (Debian: dbus-daemon, pipewire, pipewire-bin, wireplumber, "
                                   "gstreamer1.0-tools, gstreamer1.0-pipewire)")
                        .arg(missing.join(QStringLiteral(", "))));
    }
    // Sockets left by a session killed in this folder before would pass for ready ones, or stop the bus from
    // listening.
    const QString busSocket = m_runtimeDir + QStringLiteral("/bus");
    const QString socket = m_runtimeDir + QStringLiteral("/pipewire-0");
    QFile::remove(busSocket);
    QFile::remove(socket);

    // The session manager's monitors would offer the machine's own cameras (V4L2, libcamera) and sound devices;
    // files of ours, read after the packaged settings and before they take effect, switch them off.
    const QString managerConfig = m_home + QStringLiteral("/config/wireplumber/");
    if (!writeFile(managerConfig + QStringLiteral("main.lua.d/60-published-cameras-only.lua"),
            "alsa_monitor.enabled = false\nv4l2_monitor.enabled = false\nlibcamera_monitor.enabled = false\n")
        || !writeFile(managerConfig + QStringLiteral("bluetooth.lua.d/60-published-cameras-only.lua"),
            "bluez_monitor.enabled = false\n")) {
        return fail(QStringLiteral("cannot write the session manager's configuration into %1").arg(managerConfig));
    }

    if (!startBus(busSocket) || !startDaemons(socket)) {
        return false;
    }

    // This also brings GStreamer's plugin registry up to date before cameras and programs use it.
    int status = -1;
    run(QStringLiteral("gst-inspect-1.0"), { QStringLiteral("pipewiresink") }, 60000, &status);
    if (status != 0) {
        return fail(QStringLiteral("GStreamer has no PipeWire elements (gstreamer1.0-pipewire)"));
    }
    return true;
}

bool PipeWireSession::startBus(const QString &socket)
{
    if (!writeFile(m_home + QStringLiteral("/bus.conf"), busConfiguration(socket))) {
        return fail(QStringLiteral("cannot write the bus configuration into %1").arg(m_home));
    }
    // The bus prints its address once it listens; --nofork keeps it our child, so that it can be stopped.
    m_bus = std::make_unique<QProcess>();
    m_bus->setProcessEnvironment(m_base);
    m_bus->setStandardErrorFile(m_home + QStringLiteral("/bus.log"));
    m_bus->start(QStringLiteral("dbus-daemon"),
        { QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
            QStringLiteral("--config-file=%1/bus.conf").arg(m_home) });
    if (!m_bus->waitForStarted(5000)) {
        return fail(QStringLiteral("dbus-daemon did not start: %1").arg(m_bus->errorString()));
    }
    m_busAddress = firstLineOf(*m_bus, 5000);
    if (m_busAddress.isEmpty()) {
        return fail(QStringLiteral("the session bus gave no address"), m_home + QStringLiteral("/bus.log"));
    }
    return true;
}

bool PipeWireSession::startDaemons(const QString &socket)
{
    m_pipeWire = startProcess(QStringLiteral("pipewire"), {}, QStringLiteral("pipewire.log"));
    if (!pollUntil([&] { return QFileInfo::exists(socket) || m_pipeWire->state() != QProcess::Running; }, 5000)
        || m_pipeWire->state() != QProcess::Running) {
        return fail(QStringLiteral("pipewire did not open its socket %1").arg(socket),
            m_home + QStringLiteral("/pipewire.log"));
    }

    // The session manager links a program's stream to a camera: wait until it has joined.
    m_sessionManager = startProcess(QStringLiteral("wireplumber"), {}, QStringLiteral("wireplumber.log"));
    const bool joined = pollUntil(
        [&] {
            return m_sessionManager->state() != QProcess::Running
                || run(QStringLiteral("pw-cli"), { QStringLiteral("ls"), QStringLiteral("Client") }, 5000)
                       .contains(QStringLiteral("application.name = \"WirePlumber\""));
        },
        10000);
    if (!joined || m_sessionManager->state() != QProcess::Running) {
        return fail(
            QStringLiteral("wireplumber did not join the session"), m_home + QStringLiteral("/wireplumber.log"));
    }
    return true;
}

std::unique_ptr<QProcess> PipeWireSession::startProcess(
    const QString &program, const QStringList &args, const QString &log)
{
    QProcessEnvironment env = m_base;
    addTo(env);
    // The daemons' configuration and state stay in the session: the user's own settings do not apply, and the
    // session manager remembers nothing from one session to the next.
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home + QStringLiteral("/config"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), m_home + QStringLiteral("/state"));
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardOutputFile(m_home + QLatin1Char('/') + log);
    process->start(program, args);
    process->waitForStarted(5000);
    return process;
}

bool PipeWireSession::fail(const QString &what, const QString &log)
{
    m_error = what;
    const QString lines = log.isEmpty() ? QString() : tail(log);
    if (!lines.trimmed().isEmpty()) {
        m_error += QStringLiteral("\n--- %1:\n%2").arg(log, lines);
    }
    return false;
}

QString PipeWireSession::run(const QString &program, const QStringList &args, int timeoutMs, int *exitCode)
{
    QProcessEnvironment env = m_base;
    addTo(env);
    return runCommand(program, args, env, timeoutMs, exitCode);
}

void PipeWireSession::stop(QProcess &process)
{
    stopProcess(process);
}

bool PipeWireSession::publish(const QString &name, QSize size, Picture picture)
{
    unpublish(name);
    const QString caps = QStringLiteral("video/x-raw,format=YUY2,width=%1,height=%2,framerate=30/1")
                             .arg(size.width())
                             .arg(size.height());
    const QStringList args = QStringList { QStringLiteral("videotestsrc"), QStringLiteral("is-live=true") }
        + pictureProperties(picture)
        + QStringList { QStringLiteral("!"), caps, QStringLiteral("!"), QStringLiteral("pipewiresink"),
              QStringLiteral("mode=provide"), cameraProperties(name) };
    const QString log = QStringLiteral("camera-%1.log").arg(++m_published);
    auto &publisher = m_cameras[name];
    publisher = startProcess(QStringLiteral("gst-launch-1.0"), args, log);
    const bool shown = pollUntil([&] { return publisher->state() != QProcess::Running || listed(name); }, 10000);
    if (!shown || publisher->state() != QProcess::Running) {
        return fail(QStringLiteral("the camera \"%1\" was not listed").arg(name), m_home + QLatin1Char('/') + log);
    }
    return true;
}

bool PipeWireSession::unpublish(const QString &name)
{
    const auto found = m_cameras.find(name);
    if (found == m_cameras.end()) {
        return false;
    }
    stop(*found->second);
    m_cameras.erase(found);
    return true;
}

bool PipeWireSession::listed(const QString &name)
{
    // Each device begins with "name  : <its display name>". The monitor may fail as it exits, after its list.
    const QString out = run(QStringLiteral("gst-device-monitor-1.0"), { QStringLiteral("Video/Source") }, 10000);
    static const QRegularExpression device(QStringLiteral("^\\s*name\\s*: (.*)$"), QRegularExpression::MultilineOption);
    for (auto match = device.globalMatch(out); match.hasNext();) {
        if (match.next().captured(1).trimmed() == name) {
            return true;
        }
    }
    return false;
}

} // namespace pixolo::test
