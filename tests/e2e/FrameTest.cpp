// The skinned window frame as a person meets it on a bare X server: its place and look, its shape, and what its
// caption, buttons and edges do.
#include "DesktopSession.h"

#include <QImage>
#include <QProcess>
#include <QRect>

#include <gtest/gtest.h>

namespace
{

constexpr QRect kMainGeometry(226, 139, 757, 523);
constexpr QRect kClientArea(15, 33, 729, 467); // in the window
constexpr QRect kCaptionObject(30, 10, 653, 16); // the caption's rectangle at the main window's width
// Caption buttons of the main window (757 wide), window coordinates of their centres.
constexpr QPoint kRollUpButton(692, 17);
constexpr QPoint kMinimizeButton(709, 17);
constexpr QPoint kCloseButton(743, 17);
const QPoint kAboutButton = kClientArea.topLeft() + QPoint(11 + 617 + 37, 11 + 272 + 12);

class FrameTest : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(session.ok()) << "Xvfb did not start"; }

    // Starts the program and waits for its main window; `behind` keeps the screen as it was before.
    void start()
    {
        behind = screenshot();
        program = session.startProgram();
        mainWindow = session.waitForMainWindow(program);
        ASSERT_FALSE(mainWindow.isEmpty());
    }

    QImage screenshot() { return session.screenshot(); }

    // The skin tool's drawing of the form at the main window's size; transparent outside the window's shape.
    QImage renderedForm()
    {
        const QString png = session.tempPath() + QStringLiteral("/form.png");
        int exitCode = -1;
        session.run(QStringLiteral(PIXOLO_SKINPACK),
            { QStringLiteral("render"), QStringLiteral(PIXOLO_PACKED_SKIN), QStringLiteral("form"),
                QStringLiteral("757"), QStringLiteral("523"), png },
            30000, &exitCode);
        EXPECT_EQ(exitCode, 0);
        return QImage(png).convertToFormat(QImage::Format_ARGB32);
    }

    QRect geometry(const QString &window) { return session.windowGeometry(window); }

    bool waitForGeometry(const QString &window, const QRect &expected)
    {
        return DesktopSession::waitUntil([&] { return geometry(window) == expected; }, 5000);
    }

    void xdotool(const QStringList &args) { session.xdotool(args); }
    void mouseTo(QPoint screen) { session.mouseTo(screen); }
    void clickAt(QPoint screen) { session.clickAt(screen); }

    // Presses at `from`, moves to `to` in a few steps, and lets go there.
    void dragFromTo(QPoint from, QPoint to)
    {
        mouseTo(from);
        xdotool({ QStringLiteral("mousedown"), QStringLiteral("1") });
        for (int step = 1; step <= 5; ++step) {
            mouseTo(from + (to - from) * step / 5);
        }
        xdotool({ QStringLiteral("mouseup"), QStringLiteral("1") });
    }

    QString openAbout()
    {
        clickAt(geometry(mainWindow).topLeft() + kAboutButton);
        QString about;
        DesktopSession::waitUntil(
            [&] {
                for (const QString &w : session.visibleWindows(program->processId())) {
                    if (w != mainWindow) {
                        about = w;
                    }
                }
                return !about.isEmpty();
            },
            5000);
        return about;
    }

    DesktopSession session;
    QProcess *program = nullptr;
    QString mainWindow;
    QImage behind;
};

TEST_F(FrameTest, MainWindowStandsAtItsPlaceDrawnAsTheSkinDrawsItsFrame)
{
    start();
    EXPECT_EQ(geometry(mainWindow), kMainGeometry);
    const QImage form = renderedForm();
    ASSERT_EQ(form.size(), kMainGeometry.size());

    // Outside the caption's text and the client area, every pixel of the shape is the skin's; the client area
    // (729 × 467, the window less its 28 × 56 frame) shows the window's controls instead of the skin's tile.
    QImage shown;
    int mismatches = 0;
    int clientDifferences = 0;
    const auto compare = [&] {
        shown = screenshot().copy(kMainGeometry);
        mismatches = 0;
        clientDifferences = 0;
        for (int y = 0; y < form.height(); ++y) {
            for (int x = 0; x < form.width(); ++x) {
                const QRgb expected = form.pixel(x, y);
                if (qAlpha(expected) == 0 || kCaptionObject.contains(x, y)) {
                    continue;
                }
                const bool same = (shown.pixel(x, y) & 0xFFFFFF) == (expected & 0xFFFFFF);
                if (kClientArea.contains(x, y)) {
                    clientDifferences += !same;
                } else {
                    mismatches += !same;
                }
            }
        }
        return mismatches == 0;
    };
    EXPECT_TRUE(DesktopSession::waitUntil(compare, 5000)) << mismatches << " frame pixels differ";
    EXPECT_GT(clientDifferences, kClientArea.width() * kClientArea.height() / 10);
}

TEST_F(FrameTest, TransparentCornersShowWhatLiesBehindTheWindow)
{
    start();
    const QImage form = renderedForm();
    ASSERT_FALSE(behind.isNull());
    int corners = 0;
    int wrong = 0;
    const auto check = [&] {
        const QImage shown = screenshot();
        corners = 0;
        wrong = 0;
        for (int y = 0; y < form.height(); ++y) {
            for (int x = 0; x < form.width(); ++x) {
                if (qAlpha(form.pixel(x, y)) == 0) {
                    const QPoint at = kMainGeometry.topLeft() + QPoint(x, y);
                    ++corners;
                    wrong += shown.pixel(at) != behind.pixel(at);
                }
            }
        }
        return wrong == 0;
    };
    EXPECT_TRUE(DesktopSession::waitUntil(check, 5000)) << wrong << " of " << corners << " corner pixels";
    EXPECT_GE(corners, 4); // the four corners are rounded
}

TEST_F(FrameTest, DraggingTheCaptionMovesTheWindowByTheDrag)
{
    start();
    const QPoint grip = kMainGeometry.topLeft() + QPoint(300, 18);
    dragFromTo(grip, grip + QPoint(100, 50));
    EXPECT_TRUE(waitForGeometry(mainWindow, kMainGeometry.translated(100, 50)))
        << testing::PrintToString(geometry(mainWindow));
}

TEST_F(FrameTest, RollUpButtonRollsTheWindowUpToItsCaptionAndBack)
{
    start();
    clickAt(kMainGeometry.topLeft() + kRollUpButton);
    EXPECT_TRUE(waitForGeometry(mainWindow, QRect(kMainGeometry.topLeft(), QSize(757, 56))))
        << testing::PrintToString(geometry(mainWindow));
    clickAt(kMainGeometry.topLeft() + kRollUpButton);
    EXPECT_TRUE(waitForGeometry(mainWindow, kMainGeometry)) << testing::PrintToString(geometry(mainWindow));
}

TEST_F(FrameTest, MinimiseIconifiesBothWindowsAndRestoreBringsThemBack)
{
    start();
    const QString about = openAbout();
    ASSERT_FALSE(about.isEmpty());
    clickAt(kMainGeometry.topLeft() + kMinimizeButton);
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return session.visibleWindows(program->processId()).isEmpty(); }, 5000))
        << session.visibleWindows(program->processId()).join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(program->state(), QProcess::Running);

    xdotool({ QStringLiteral("windowmap"), mainWindow }); // as a task bar brings the program back
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] {
            const QStringList visible = session.visibleWindows(program->processId());
            return visible.contains(mainWindow) && visible.contains(about);
        },
        5000));
    EXPECT_EQ(geometry(mainWindow), kMainGeometry);
}

TEST_F(FrameTest, CloseButtonEndsTheProgramNormally)
{
    start();
    clickAt(kMainGeometry.topLeft() + kCloseButton);
    ASSERT_TRUE(program->waitForFinished(10000));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
}

TEST_F(FrameTest, AboutWindowsCloseButtonHidesItAndTheMainWindowStays)
{
    start();
    const QString about = openAbout();
    ASSERT_FALSE(about.isEmpty());
    const QRect aboutGeometry = geometry(about);
    EXPECT_EQ(aboutGeometry.size(), QSize(462, 372));
    clickAt(aboutGeometry.topLeft() + QPoint(162 + 462 - 176, 17)); // its close button, moved with the width
    EXPECT_TRUE(
        DesktopSession::waitUntil([&] { return !session.visibleWindows(program->processId()).contains(about); }, 5000));
    EXPECT_TRUE(session.visibleWindows(program->processId()).contains(mainWindow));
    EXPECT_EQ(program->state(), QProcess::Running);
}

TEST_F(FrameTest, BorderDragResizesTheWindowButNeverBelowItsMinimumWidth)
{
    start();
    const QPoint edge = kMainGeometry.topLeft() + QPoint(754, 261);
    dragFromTo(edge, edge - QPoint(300, 0));
    EXPECT_TRUE(waitForGeometry(mainWindow, QRect(kMainGeometry.topLeft(), QSize(457, 523))))
        << testing::PrintToString(geometry(mainWindow));
    const QPoint newEdge = edge - QPoint(300, 0);
    dragFromTo(newEdge, newEdge - QPoint(1000, 0));
    EXPECT_TRUE(waitForGeometry(mainWindow, QRect(kMainGeometry.topLeft(), QSize(176, 523))))
        << testing::PrintToString(geometry(mainWindow));
}

} // namespace
