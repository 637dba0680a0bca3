#pragma once

// Runs one of the built programs (build/bin) as a shell would and keeps what it said.
#include <QProcess>
#include <QString>
#include <QStringList>

struct ToolRun {
    int exitCode = -1; // -1 when it crashed or did not end
    QString out;
    QString err;

    // Without any display, as in a terminal on a server: nothing may need a window system.
    static ToolRun headless(const QString &program, const QStringList &args);

    // Starts the program (offscreen, with `runtimeDir` as its runtime folder), waits until its standard error shows
    // `expected`, then ends it; returns what it wrote to standard error by then.
    static QString stderrUntil(const QString &program, const QStringList &args, const QString &expected, int timeoutMs,
        const QString &runtimeDir);

    static QString path(const QString &program) { return QStringLiteral(PIXOLO_BIN_DIR "/") + program; }
};
