#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/GlobalVariant.h"
#include "app/HexScramble.h"
#include "app/InstanceActivation.h"
#include "app/PixoloApplication.h"
#include "app/ProductTexts.h"
#include "app/PubFun.h"
#include "app/StartupTimeline.h"
#include "app/TfrmAbout.h"
#include "app/TfrmMain.h"
#include "capture/DeviceRegistry.h"
#include "capture/VideoAccessibility.h"
#include "platform/FontSet.h"
#include "platform/InstanceLock.h"
#include "platform/MessageBox.h"
#include "platform/TerminationSignals.h"
#include "skinctrls/ControlAccessibility.h"
#include "skinframe/FrameAccessibility.h"
#include "skinframe/TbsSkinForm.h"
#include "skinframe/WindowSystem.h"

#include <QTimer>

#include <cstdio>
#include <memory>

namespace pixolo
{

namespace
{

// How long a display that refuses the connection is tried again: an X server resets when its last client leaves and
// takes a moment to accept connections again.
constexpr int kDisplayWaitMs = 3000;

// How long after the main window is shown the hidden About window is made.
constexpr int kAboutWindowAfterMs = 250;

// --help and --version answer on standard output and end the program before anything else is made.
bool answeredCommandLine(int argc, char **argv, int &code)
{
    QString text;
    switch (CommandLine::parse(argc, argv)) {
    case CommandLine::Run:
        return false;
    case CommandLine::ShowHelp:
        text = CommandLine::helpText();
        break;
    case CommandLine::ShowVersion:
        text = CommandLine::versionText();
        break;
    }
    const QByteArray bytes = text.toUtf8();
    const bool written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) == size_t(bytes.size());
    code = written && std::fflush(stdout) == 0 ? 0 : 1; // "--help > /dev/full" is a failure
    return true;
}

} // namespace

int runPixolo(int &argc, char **argv)
{
    StartupTimeline::mark("entry");
    int answered = 0;
    if (answeredCommandLine(argc, argv, answered)) {
        return answered;
    }
    chooseWindowSystem(); // the skinned frames need X11: on a Wayland desktop through XWayland
    // A display that cannot be opened is said so plainly, rather than by the window system's abort().
    X11DisplayCheck display(argc, argv, kDisplayWaitMs);
    if (!display.problem().isEmpty()) {
        std::fprintf(stderr, "pixolo: %s\n", display.problem().toLocal8Bit().constData());
        return 1;
    }
    StartupTimeline::mark("display checked");
    // The cameras are listed while the windows are made: the media framework's start and the first probe of its
    // device providers are the slowest steps of the start, and nothing before the main window needs them.
    DeviceRegistry::prepareVideoSources();
    PixoloApplication app(argc, argv);
    StartupTimeline::mark("application made");
    display.release(); // the application holds its own connection now
    // A logout, `kill` or Ctrl+C in the terminal ends the program as its close button does: a photo being stored is
    // finished and named first, and the camera stops. A request that arrives while the windows are being made is
    // taken when the event loop starts.
    const TerminationSignals termination;
    QObject::connect(&termination, &TerminationSignals::received, &app, [] {
        if (frmMain) {
            frmMain->close();
        }
        QCoreApplication::quit(); // also when no window took the close (none yet, or a box of its own)
    });
    // Before any window: a screen reader asks about each window and control once and keeps the answer.
    installControlAccessibility();
    installFrameAccessibility();
    installVideoAccessibility();
    installFontSet(); // before any window resolves a font
    StartupTimeline::mark("font set installed");

    rcGlobalVariant.sAppPath = appPathOf(QCoreApplication::applicationFilePath());
    rcGlobalVariant.sIniFile = settingsFileFor(rcGlobalVariant.sAppPath, userConfigHome());
    rcGlobalVariant.sAppTitle = ProductTexts::decode(ProductTexts::kTitle);

    // Held until the process ends. Only a lock held by another copy counts as "already running"; a guard that
    // cannot be made at all does not keep the program from starting.
    const InstanceLock guard(QStringLiteral("Pixolo"));
    const QString channel = InstanceActivation::channelFor(guard.path());
    StartupTimeline::mark("instance lock taken");
    if (guard.result() == InstanceLock::AlreadyRunning) {
        // The running copy comes forward, so that the user finds it; this one says so and ends.
        InstanceActivation::request(channel);
        MessageBox::show(rcGlobalVariant.sAppTitle + QStringLiteral("系统已经运行!"), rcGlobalVariant.sAppTitle,
            MessageBox::Information);
        return 0;
    }

    // Both windows belong to the program and go with it, the About window first; the About window is made hidden.
    std::unique_ptr<TfrmMain> mainWindow;
    std::unique_ptr<TfrmAbout> aboutWindow;
    try {
        mainWindow = std::make_unique<TfrmMain>();
        frmMain = mainWindow.get();
        TbsSkinForm::SetApplicationMainForm(frmMain); // minimising it minimises the program
    } catch (const std::exception &error) {
        // A window that cannot be built ends start-up with its message; what was built goes with the owners.
        PixoloApplication::showException(error);
        return 1;
    }
    frmMain->show();
    StartupTimeline::mark("main window shown");
    // The About window belongs to the main window: the window manager keeps it above that one and leaves the task
    // bar to it. It goes before its owner. It is made once the main window has painted its first pictures: until
    // then it would only hold them up. The About button makes it itself when it is asked for sooner.
    QTimer::singleShot(kAboutWindowAfterMs, frmMain, [&aboutWindow] {
        if (frmAbout) {
            return;
        }
        try {
            aboutWindow = std::make_unique<TfrmAbout>(frmMain);
            frmAbout = aboutWindow.get();
            StartupTimeline::mark("About window made");
        } catch (const std::exception &error) {
            // A window that cannot be built ends the program with its message.
            PixoloApplication::showException(error);
            QCoreApplication::exit(1);
        }
    });
    // A settings file that is there but cannot be read would otherwise go unnoticed: the folder and the camera
    // would silently be the defaults.
    if (const QString problem = IniReadProblem(rcGlobalVariant.sIniFile); !problem.isEmpty()) {
        QTimer::singleShot(0, frmMain, [problem] {
            MessageBox::show(QStringLiteral("Unable to read ") + rcGlobalVariant.sIniFile + QStringLiteral(". ")
                    + problem
                    + QStringLiteral("\nThe photo folder and the camera are the defaults until it can be read."),
                rcGlobalVariant.sAppTitle, MessageBox::Warning, frmMain);
        });
    }
    // A main window that another program destroyed cannot be closed or shown again: the program ends, as closing
    // it would end it, and leaves no invisible copy behind holding the single-instance lock.
    whenDestroyedFromOutside(frmMain, [] { QCoreApplication::exit(0); });
    if (guard.result() == InstanceLock::Acquired) {
        InstanceActivation::listen(channel, frmMain, [] {
            if (!frmMain) {
                return;
            }
            if (frmMain->isMinimized()) {
                frmMain->showNormal();
            }
            frmMain->show();
            frmMain->raise();
            frmMain->activateWindow();
        });
    }
    StartupTimeline::mark("event loop starts");
    const int code = QApplication::exec();
    // The About button makes a new About window only when the reference is empty, which the program's own never
    // leaves it; such a window would be nobody's, so it goes the deferred way here.
    if (frmAbout && frmAbout != aboutWindow.get()) {
        frmAbout->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    aboutWindow.reset();
    mainWindow.reset();
    return code;
}

} // namespace pixolo
