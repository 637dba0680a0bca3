#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QSize>
#include <QString>

#include <map>
#include <memory>

namespace pixolo::test
{

// A private PipeWire session: its own session bus, PipeWire daemon and session manager, all reached through one
// runtime folder, with cameras published into it by GStreamer pipelines. Only published cameras are offered: the
// session manager's own device monitors stay off, so a camera or sound card of the machine does not join in. Every
// process it starts is stopped when it goes.
class PipeWireSession
{
public:
    // What a published camera shows; both pictures move, so that consecutive frames differ.
    enum class Picture {
        ColourBars, // colour bars sliding sideways
        BallOnBlue, // a white ball bouncing on a blue ground
    };

    // Starts the session in `runtimeDir` (an existing folder of mode 0700, which it fills with sockets, logs and
    // its own configuration). Its processes and helpers run with `base`, less any display, plus the session's
    // variables.
    explicit PipeWireSession(
        const QString &runtimeDir, const QProcessEnvironment &base = QProcessEnvironment::systemEnvironment());
    ~PipeWireSession();
    PipeWireSession(const PipeWireSession &) = delete;
    PipeWireSession &operator=(const PipeWireSession &) = delete;

    // Whether the bus, the daemon and the session manager started.
    bool ok() const { return m_running; }
    // What failed last (starting the session or publishing a camera), with the end of that process's log.
    QString error() const { return m_error; }

    // The variables a program needs to reach this session.
    QProcessEnvironment environment() const;
    // Sets them into `env`, and drops a remote named there: it would lead clients to another daemon.
    void addTo(QProcessEnvironment &env) const;

    // Publishes a camera named `name` (letters, digits and blanks) sending `picture` as YUY2 frames of `size` at 30
    // frames a second, and waits (bounded) until GStreamer lists it; false when it is not listed. A camera already
    // published under that name is stopped first.
    bool publish(const QString &name, QSize size, Picture picture = Picture::ColourBars);
    // Stops a camera's publisher, as if the camera were pulled out; false when no camera has that name.
    bool unpublish(const QString &name);
    // Whether GStreamer lists a camera of that name in this session.
    bool listed(const QString &name);

private:
    bool start();
    bool startBus(const QString &socket);
    bool startDaemons(const QString &socket);
    std::unique_ptr<QProcess> startProcess(const QString &program, const QStringList &args, const QString &log);
    bool fail(const QString &what, const QString &log = {});
    QString run(const QString &program, const QStringList &args, int timeoutMs, int *exitCode = nullptr);
    void stop(QProcess &process);

    QString m_runtimeDir;
    QString m_home; // logs, the bus configuration, the daemons' configuration and state
    QProcessEnvironment m_base;
    QString m_busAddress;
    QString m_error;
    bool m_running = false;
    std::unique_ptr<QProcess> m_bus;
    std::unique_ptr<QProcess> m_pipeWire;
    std::unique_ptr<QProcess> m_sessionManager;
    std::map<QString, std::unique_ptr<QProcess>> m_cameras;
    int m_published = 0; // publishers started so far: each gets a log of its own
};

} // namespace pixolo::test
