// The program as a person meets it on a desktop with a real window manager (openbox), and on a small screen: the
// About window stays with the main window, both windows carry the program's icon, the caption drags the window and a
// border sizes it, the window manager minimises, restores and closes it, a second start brings the running copy
// forward, the caption drag holds at twice the scale, and the whole window is on an 800 × 600 screen.
#include "DesktopSession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace
{

constexpr QSize kMainSize(757, 523);
constexpr QRect kClientArea(15, 33, 729, 467); // in the window
const QPoint kAboutButton = kClientArea.topLeft() + QPoint(11 + 617 + 37, 11 + 272 + 12);
const QPoint kStatusBar = kClientArea.topLeft() + QPoint(300, 455);
const QPoint kSnapshotButton = kClientArea.topLeft() + QPoint(11 + 446 + 37, 11 + 272 + 10);

// Presses the left button at `grip` and lets it go `steps` steps of `step` away (by default 60 pixels right and 40
// down in 20 small steps).
void dragFrom(DesktopSession &session, QPoint grip, QPoint step = QPoint(3, 2), int steps = 20)
{
    session.mouseTo(grip);
    session.xdotool({ QStringLiteral("mousedown"), QStringLiteral("1") });
    for (int i = 1; i <= steps; ++i) {
        session.mouseTo(grip + step * i);
    }
    session.xdotool({ QStringLiteral("mouseup"), QStringLiteral("1") });
}

class WindowManagerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        ASSERT_TRUE(session.startWindowManager()) << "openbox did not start";
        photos = session.tempPath() + QStringLiteral("/photos/");
        QDir().mkpath(photos);
        QFile ini(session.iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setup]\nPhotoPath=" + photos.toUtf8() + "\n");
    }

    void start()
    {
        program = session.startProgram();
        mainWindow = session.waitForMainWindow(program);
        ASSERT_FALSE(mainWindow.isEmpty());
    }

    QRect geometry(const QString &window) { return session.windowGeometry(window); }

    QString xprop(const QString &window, const QString &property)
    {
        return session.run(QStringLiteral("xprop"), { QStringLiteral("-id"), window, property });
    }

    // The window ids in the window manager's stacking order, bottom first.
    QStringList stacking()
    {
        const QString out = session.run(
            QStringLiteral("xprop"), { QStringLiteral("-root"), QStringLiteral("_NET_CLIENT_LIST_STACKING") });
        QStringList ids;
        static const QRegularExpression hex(QStringLiteral("0x[0-9a-f]+"));
        for (auto it = hex.globalMatch(out); it.hasNext();) {
            ids << QString::number(it.next().captured(0).toULongLong(nullptr, 16));
        }
        return ids;
    }

    // The sizes of the pictures a window's _NET_WM_ICON holds.
    QStringList iconSizes(const QString &window)
    {
        const QString out = xprop(window, QStringLiteral("_NET_WM_ICON"));
        QStringList sizes;
        static const QRegularExpression size(QStringLiteral("Icon \\((\\d+) x (\\d+)\\)"));
        for (auto it = size.globalMatch(out); it.hasNext();) {
            const auto match = it.next();
            sizes << match.captured(1) + QLatin1Char('x') + match.captured(2);
        }
        return sizes;
    }

    QString openAbout()
    {
        session.clickAt(geometry(mainWindow).topLeft() + kAboutButton);
        QString about;
        DesktopSession::waitUntil(
            [&] {
                const QStringList others = session.otherWindows(program, mainWindow);
                about = others.value(0);
                return !about.isEmpty();
            },
            5000);
        return about;
    }

    QStringList photoFiles() const { return QDir(photos).entryList(QDir::Files, QDir::Name); }

    DesktopSession session;
    QString photos;
    QProcess *program = nullptr;
    QString mainWindow;
};

TEST_F(WindowManagerTest, TheAboutWindowStaysAboveTheMainWindowAndBothCarryTheIcon)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const QString about = openAbout();
    ASSERT_FALSE(about.isEmpty());
    // It belongs to the main window: the window manager keeps it above and out of the task bar.
    EXPECT_TRUE(xprop(about, QStringLiteral("WM_TRANSIENT_FOR"))
                    .contains(QStringLiteral("0x%1").arg(mainWindow.toULongLong(), 0, 16)))
        << xprop(about, QStringLiteral("WM_TRANSIENT_FOR")).toStdString();
    session.clickAt(geometry(mainWindow).topLeft() + kStatusBar);
    const auto aboutAbove = [&] {
        const QStringList order = stacking();
        return order.contains(about) && order.contains(mainWindow) && order.indexOf(about) > order.indexOf(mainWindow);
    };
    EXPECT_TRUE(DesktopSession::waitUntil(aboutAbove, 3000)) << stacking().join(QLatin1Char(' ')).toStdString();

    for (const QString &window : { mainWindow, about }) {
        const QStringList sizes = iconSizes(window);
        EXPECT_TRUE(sizes.contains(QStringLiteral("16x16")) && sizes.contains(QStringLiteral("32x32"))
            && sizes.contains(QStringLiteral("48x48")))
            << window.toStdString() << ": " << sizes.join(QLatin1Char(' ')).toStdString();
    }
}

TEST_F(WindowManagerTest, TheCaptionDragsTheWindowInSmallSteps)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const QRect before = geometry(mainWindow);
    dragFrom(session, before.topLeft() + QPoint(300, 18));
    // The window manager takes the move over once the pointer has gone the drag distance, and moves the window
    // by how far the pointer went from where it was pressed: the point grabbed stays under the pointer, however
    // busy the program was when the move was handed over.
    const auto movedWithTheDrag = [&] { return geometry(mainWindow).topLeft() - before.topLeft() == QPoint(60, 40); };
    EXPECT_TRUE(DesktopSession::waitUntil(movedWithTheDrag, 3000))
        << "from " << before.x() << "," << before.y() << " to " << geometry(mainWindow).x() << ","
        << geometry(mainWindow).y();
    EXPECT_EQ(geometry(mainWindow).size(), before.size());
    // The window manager had the button's release: the program takes the next click as a click.
    session.clickAt(geometry(mainWindow).topLeft() + kSnapshotButton);
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return photoFiles().size() == 1; }, 5000));
}

TEST_F(WindowManagerTest, TheRightBorderResizesTheWindowByThePointersWholeTravel)
{
    ASSERT_NO_FATAL_FAILURE(start());
    const QRect before = geometry(mainWindow);
    dragFrom(session, before.topLeft() + QPoint(754, 261), QPoint(-10, 0), 30);
    const auto narrowed = [&] { return geometry(mainWindow) == QRect(before.topLeft(), QSize(457, 523)); };
    EXPECT_TRUE(DesktopSession::waitUntil(narrowed, 3000)) << testing::PrintToString(geometry(mainWindow));
}

TEST_F(WindowManagerTest, MinimisedAndRestoredByTheWindowManagerItStillTakesPhotos)
{
    ASSERT_NO_FATAL_FAILURE(start());
    session.xdotool({ QStringLiteral("windowminimize"), QStringLiteral("--sync"), mainWindow });
    EXPECT_TRUE(
        DesktopSession::waitUntil([&] { return session.visibleWindows(program->processId()).isEmpty(); }, 5000));
    session.xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), mainWindow });
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] { return session.visibleWindows(program->processId()).contains(mainWindow); }, 5000));
    EXPECT_EQ(geometry(mainWindow).size(), kMainSize);
    session.keyTo(mainWindow, QStringLiteral("F8"));
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return photoFiles().size() == 1; }, 5000));
}

TEST_F(WindowManagerTest, AWindowTheWindowManagerMaximisesComesBackAtItsSizeAndStillRollsUp)
{
    ASSERT_NO_FATAL_FAILURE(start());
    // Maximised by the window manager (a shortcut, a pager, or a manager's own rule for a window nearly as large
    // as the screen): the window is normal again at its own size, not a stretched frame.
    const QRect before = geometry(mainWindow);
    session.run(QStringLiteral("wmctrl"),
        { QStringLiteral("-i"), QStringLiteral("-r"), mainWindow, QStringLiteral("-b"),
            QStringLiteral("add,maximized_vert,maximized_horz") });
    const auto normalAgain = [&] {
        return geometry(mainWindow).size() == before.size()
            && !xprop(mainWindow, QStringLiteral("_NET_WM_STATE")).contains(QStringLiteral("MAXIMIZED"));
    };
    QThread::msleep(300);
    EXPECT_TRUE(DesktopSession::waitUntil(normalAgain, 3000))
        << geometry(mainWindow).width() << "x" << geometry(mainWindow).height() << " "
        << xprop(mainWindow, QStringLiteral("_NET_WM_STATE")).toStdString();

    // Rolling up by a double click on the caption and back still works.
    const QPoint caption = geometry(mainWindow).topLeft() + QPoint(200, 17);
    session.xdotool({ QStringLiteral("mousemove"), QString::number(caption.x()), QString::number(caption.y()),
        QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("1") });
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return geometry(mainWindow).height() < 60; }, 3000))
        << geometry(mainWindow).height();
    session.xdotool({ QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("1") });
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return geometry(mainWindow).size() == before.size(); }, 3000))
        << geometry(mainWindow).height();
}

TEST_F(WindowManagerTest, TheWindowManagersCloseRequestEndsTheProgramNormally)
{
    ASSERT_NO_FATAL_FAILURE(start());
    // Alt+F4 is the window manager's: it asks the window it has made active to close, so the window must be that
    // one first (on a busy machine the window manager may take a moment to make it so).
    session.xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), mainWindow });
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] {
            return session.run(QStringLiteral("xdotool"), { QStringLiteral("getactivewindow") }).trimmed()
                == mainWindow;
        },
        5000));
    session.keyTo(mainWindow, QStringLiteral("alt+F4"));
    ASSERT_TRUE(program->waitForFinished(10000));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
}

TEST_F(WindowManagerTest, AMainWindowDestroyedByAnotherProgramEndsTheProgram)
{
    ASSERT_NO_FATAL_FAILURE(start());
    // Not a close request: the window is simply gone. No invisible copy may stay behind holding the lock.
    session.xdotool({ QStringLiteral("windowclose"), mainWindow });
    ASSERT_TRUE(program->waitForFinished(10000)) << "the program ran on without its window";
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
    // The next start is the only copy.
    QProcess *next = session.startProgram();
    EXPECT_FALSE(session.waitForMainWindow(next).isEmpty());
}

TEST_F(WindowManagerTest, ASecondStartBringsTheMinimisedRunningCopyForward)
{
    ASSERT_NO_FATAL_FAILURE(start());
    session.xdotool({ QStringLiteral("windowminimize"), QStringLiteral("--sync"), mainWindow });
    ASSERT_TRUE(
        DesktopSession::waitUntil([&] { return session.visibleWindows(program->processId()).isEmpty(); }, 5000));

    QProcess *second = session.startProgram();
    // The running copy's window comes back; the second copy says the program runs already and ends.
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] { return session.visibleWindows(program->processId()).contains(mainWindow); }, 5000));
    QStringList boxes;
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] { return !(boxes = session.visibleWindows(second->processId())).isEmpty(); }, 10000));
    session.keyTo(boxes.front(), QStringLiteral("Return"));
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(second->readAllStandardError()).contains(QStringLiteral("系统已经运行!")));
    EXPECT_EQ(program->state(), QProcess::Running);
}

TEST(HighDensityScreenTest, TheCaptionDragKeepsTheGrabbedPointUnderThePointerAtTwiceTheScale)
{
    // At twice the scale the window's pixels are twice the screen's: the point grabbed is found in the screen's
    // pixels, and the window still moves exactly as far as the pointer.
    DesktopSession session(QSize(1800, 1200));
    ASSERT_TRUE(session.ok());
    ASSERT_TRUE(session.startWindowManager());
    session.setEnv(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    QProcess *program = session.startProgram();
    const QString window = session.waitForMainWindow(program);
    ASSERT_FALSE(window.isEmpty());
    const QRect before = session.windowGeometry(window);
    ASSERT_EQ(before.size(), kMainSize * 2);
    dragFrom(session, before.topLeft() + QPoint(600, 36));
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] { return session.windowGeometry(window).topLeft() - before.topLeft() == QPoint(60, 40); }, 3000))
        << "from " << before.x() << "," << before.y() << " to " << session.windowGeometry(window).x() << ","
        << session.windowGeometry(window).y();
}

TEST(SmallScreenTest, TheWholeMainWindowIsOnAn800By600Screen)
{
    DesktopSession session(QSize(800, 600));
    ASSERT_TRUE(session.ok());
    QProcess *program = session.startProgram();
    const QString window = session.waitForMainWindow(program);
    ASSERT_FALSE(window.isEmpty());
    const QRect placed = session.windowGeometry(window);
    EXPECT_EQ(placed.size(), kMainSize);
    EXPECT_TRUE(QRect(0, 0, 800, 600).contains(placed)) << placed.x() << "," << placed.y();
    // Moved no more than it must: its right and bottom edges at the screen's.
    EXPECT_EQ(placed.topLeft(), QPoint(800 - kMainSize.width(), 600 - kMainSize.height()));
}

} // namespace
