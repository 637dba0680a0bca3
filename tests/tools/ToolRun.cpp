#include "ToolRun.h"

#include <QDeadlineTimer>

namespace
{

QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" }) {
        env.remove(QString::fromLatin1(name));
    }
    return env;
}

} // namespace

ToolRun ToolRun::headless(const QString &program, const QStringList &args)
{
    QProcess process;
    process.setProcessEnvironment(withoutDisplay());
    process.start(path(program), args);
    ToolRun run;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QString ToolRun::stderrUntil(
    const QString &program, const QStringList &args, const QString &expected, int timeoutMs, const QString &runtimeDir)
{
    QProcess process;
    QProcessEnvironment env = withoutDisplay();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    process.setProcessEnvironment(env);
    process.start(path(program), args);
    QByteArray said;
    const QDeadlineTimer deadline(timeoutMs);
    while (!QString::fromUtf8(said).contains(expected) && !deadline.hasExpired()
        && process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(int(std::min<qint64>(deadline.remainingTime(), 500)));
        said += process.readAllStandardError();
    }
    process.kill();
    process.waitForFinished(5000);
    said += process.readAllStandardError();
    return QString::fromUtf8(said);
}
