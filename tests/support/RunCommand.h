#pragma once

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace pixolo::test
{

// Runs a helper command to its end (killed after `timeoutMs`) and returns its standard output; its exit code goes to
// `exitCode`, -1 when it did not end normally.
inline QString runCommand(const QString &program, const QStringList &args, const QProcessEnvironment &env,
    int timeoutMs, int *exitCode = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
    }
    if (exitCode) {
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The first line a started process writes to standard output (a server's display number, a bus's address),
// trimmed; empty when the process ends or `timeoutMs` pass first.
inline QString firstLineOf(QProcess &process, int timeoutMs)
{
    QByteArray out;
    QDeadlineTimer deadline(timeoutMs);
    while (!out.contains('\n') && process.state() == QProcess::Running && !deadline.hasExpired()) {
        process.waitForReadyRead(50);
        out += process.readAllStandardOutput();
    }
    out += process.readAllStandardOutput();
    return out.contains('\n') ? QString::fromUtf8(out.left(out.indexOf('\n'))).trimmed() : QString();
}

// Ends a process started for a test: asked first, killed when it does not go.
inline void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning) {
        return;
    }
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace pixolo::test
