#pragma once

#include "PipeWireSession.h"

#include <QImage>
#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

// Whole-program test harness: a private X server (Xvfb), a private runtime folder (the single-instance lock lives
// there) and a private copy of the program folder, so that tests run side by side without meeting.
class DesktopSession
{
public:
    // A session on a screen of `screen` pixels.
    explicit DesktopSession(QSize screen = QSize(1280, 1024));
    ~DesktopSession();

    bool ok() const { return m_display >= 0; }
    // Starts a real window manager (openbox) on the session's display and waits until it manages windows; false
    // when it did not come up.
    bool startWindowManager();
    // A session bus of the session's own, as a desktop has; programs started from then on use it. False when it
    // did not start. Without one, Qt's accessibility bridge has a bus started for each program on demand
    // (dbus-launch), which costs every start some 40 ms that no desktop pays.
    bool startSessionBus();
    QString display() const { return QStringLiteral(":%1").arg(m_display); }
    QString programDir() const { return m_programDir; }
    QString programPath() const { return m_programDir + QStringLiteral("/pixolo"); }
    QString iniPath() const { return m_programDir + QStringLiteral("/Pixolo.ini"); }
    QString tempPath() const { return m_root.path(); }

    // Puts the program (and its shutter sound) into `folder` below the session's root and runs it from there.
    void installProgramInto(const QString &folder);

    // A PipeWire session of its own in the session's runtime folder, started on first use. Programs started from
    // then on reach it and are offered its cameras only: the test camera's plugin is no longer on their path.
    pixolo::test::PipeWireSession &pipeWire();

    // Extra environment for programs started from now on (e.g. the test camera's settings).
    void setEnv(const QString &name, const QString &value) { m_env.insert(name, value); }
    QProcessEnvironment environment() const;

    // Starts a copy of the program; the session kills whatever is still running at the end.
    QProcess *startProgram();

    // Runs a helper command (xdotool, import, identify…) in the session and returns its standard output.
    QString run(const QString &program, const QStringList &args, int timeoutMs = 10000, int *exitCode = nullptr);

    // The mapped top-level windows of a process (xdotool's list less the root window).
    QStringList visibleWindows(qint64 pid);
    QString windowName(const QString &window);
    QRect windowGeometry(const QString &window);

    // The program's main window (its caption holds " － "), once it is mapped; empty when the program ends or
    // `timeoutMs` pass first, and then what became of the program (diagnosis) is written to standard error.
    QString waitForMainWindow(QProcess *program, int timeoutMs = 15000);
    // What a program is doing, for a test that waited for it in vain: whether it runs or how it ended, what it
    // wrote to standard error (left unread), its windows, and, while it runs, each thread's stack (gdb).
    QString diagnosis(QProcess *program);
    // The program's mapped windows other than `except` (message boxes, popups, the About window).
    QStringList otherWindows(QProcess *program, const QString &except);

    // The whole screen.
    QImage screenshot();

    // Input as a person gives it: xdotool commands, the pointer, clicks, and keys to a window (focused first).
    void xdotool(const QStringList &args);
    void mouseTo(QPoint screen);
    void clickAt(QPoint screen, int button = 1);
    void keyTo(const QString &window, const QString &keys); // keys separated by blanks, e.g. "Down Return"
    // Presses and releases `key` `count` times to the window (focused first), `delayMs` apart, as a person keeping
    // a finger on it would; returns when the last press was sent.
    void keyRepeatedTo(const QString &window, const QString &key, int count, int delayMs);

    // A process's resident memory (VmRSS) in KiB; -1 when it cannot be read.
    static long residentKiB(qint64 pid);

    // Waits until `predicate` holds, polling; false after `timeoutMs`.
    static bool waitUntil(const std::function<bool()> &predicate, int timeoutMs);

private:
    QTemporaryDir m_root;
    QString m_runtimeDir;
    QString m_programDir;
    int m_display = -1;
    std::unique_ptr<QProcess> m_xserver;
    std::unique_ptr<QProcess> m_windowManager;
    std::unique_ptr<QProcess> m_sessionBus;
    std::vector<std::unique_ptr<QProcess>> m_programs;
    QProcessEnvironment m_env;
    bool m_usesPipeWire = false;
    std::unique_ptr<pixolo::test::PipeWireSession> m_pipeWire;
};
