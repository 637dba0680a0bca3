// Cameras as people have them, with the whole program under Xvfb: two cameras to choose from, a camera pulled out and
// plugged in again, a program started before its camera, a 1080p camera that only sends JPEG frames.
#include "PreviewFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{

const QPoint kSnapshotButton = QPoint(15 + 11 + 446 + 37, 33 + 11 + 272 + 10);

class CamerasTest : public PreviewFixture
{
protected:
    // The colour in the middle of the first colour bar (an eighth of the width, near the top): white for the first
    // test camera, yellow for the second.
    QRgb firstBar(const QImage &picture) { return picture.pixel(picture.width() / 16, picture.height() / 4); }

    bool showsCamera(int index)
    {
        const QRgb bar = firstBar(preview());
        const bool white = qRed(bar) > 200 && qGreen(bar) > 200 && qBlue(bar) > 200;
        const bool yellow = qRed(bar) > 200 && qGreen(bar) > 200 && qBlue(bar) < 60;
        return index == 0 ? white : yellow;
    }

    // Waits for a box whose text (on standard error) holds `words`: what was said meanwhile goes to `text`, the
    // program's other windows to `boxes`. False when none came within ten seconds.
    bool waitForBoxSaying(const QString &words, QString &text, QStringList &boxes)
    {
        return DesktopSession::waitUntil(
            [&] {
                text += said();
                boxes = session.otherWindows(program, mainWindow);
                return text.contains(words) && !boxes.isEmpty();
            },
            10000);
    }

    // Processor time the program has used so far, in seconds.
    double processorSeconds()
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(program->processId()));
        if (!stat.open(QIODevice::ReadOnly)) {
            return -1;
        }
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(::sysconf(_SC_CLK_TCK));
    }
};

TEST_F(CamerasTest, RightClickOffersBothCamerasAndTheChosenOneIsUsedAndKept)
{
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_COUNT"), QStringLiteral("2"));
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0); }, 10000));

    ASSERT_NO_FATAL_FAILURE(chooseSecondCamera());
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(1); }, 5000)) << std::hex << firstBar(preview());
    EXPECT_TRUE(previewMoves());

    QFile ini(session.iniPath());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("\nCamera="));
    ini.close();

    // The next start uses the chosen camera.
    stop();
    start();
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(1); }, 10000)) << std::hex << firstBar(preview());
}

TEST_F(CamerasTest, ASettingsFileThatRefusesTheChoiceStillSwitchesAndSaysWhy)
{
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_COUNT"), QStringLiteral("2"));
    // The settings file leads into a folder that is not there: every write is refused, whoever runs the test.
    QFile::remove(session.iniPath());
    ASSERT_TRUE(QFile::link(session.tempPath() + QStringLiteral("/gone/Pixolo.ini"), session.iniPath()));
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0); }, 10000));

    const QString menu = openPreviewMenu();
    ASSERT_FALSE(menu.isEmpty()) << "no menu";
    session.xdotool({ QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return") });
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(1); }, 5000)) << std::hex << firstBar(preview());
    QStringList boxes;
    ASSERT_TRUE(
        DesktopSession::waitUntil([&] { return !(boxes = session.otherWindows(program, mainWindow)).isEmpty(); }, 5000))
        << "no message box";
    const QString text = said();
    EXPECT_TRUE(text.contains(QStringLiteral("cannot be remembered"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("No such file or directory"))) << text.toStdString();
    session.keyTo(boxes.front(), QStringLiteral("Return"));
    EXPECT_TRUE(previewMoves());
}

TEST_F(CamerasTest, APulledCameraIsShownGoneAndComesBackWhenPluggedIn)
{
    const QString plug = session.tempPath() + QStringLiteral("/plugged");
    QFile(plug).open(QIODevice::WriteOnly);
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_PLUG_FILE"), plug);
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0); }, 10000));
    said();

    ASSERT_TRUE(QFile::remove(plug));
    QElapsedTimer pulled;
    pulled.start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsDisconnected(); }, 2000));
    EXPECT_LT(pulled.elapsed(), 2000);
    // Nothing busy while the camera is gone.
    const double before = processorSeconds();
    QElapsedTimer idle;
    idle.start();
    DesktopSession::waitUntil([] { return false; }, 5000);
    const double share = (processorSeconds() - before) / (double(idle.elapsed()) / 1000.0);
    EXPECT_LT(share, 0.05) << share;
    EXPECT_TRUE(session.otherWindows(program, mainWindow).isEmpty()) << "no message about the camera";

    ASSERT_NO_FATAL_FAILURE(expectSnapshotRefused());

    QFile(plug).open(QIODevice::WriteOnly);
    QElapsedTimer plugged;
    plugged.start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0) && previewMoves(); }, 3000));
    EXPECT_LT(plugged.elapsed(), 3000);
    session.clickAt(origin + kSnapshotButton);
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return photoFiles().size() == 1; }, 5000));
}

TEST_F(CamerasTest, QuickPullsAndPlugsEndWithARunningPreviewAndNoMessage)
{
    const QString plug = session.tempPath() + QStringLiteral("/plugged");
    QFile(plug).open(QIODevice::WriteOnly);
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_PLUG_FILE"), plug);
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0); }, 10000));
    said();
    // A loose cable: pulled and plugged twenty times, 50 ms apart, faster than the cameras are looked for.
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(QFile::remove(plug));
        ::usleep(50 * 1000);
        ASSERT_TRUE(QFile(plug).open(QIODevice::WriteOnly));
        ::usleep(50 * 1000);
    }
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0) && previewMoves(); }, 10000));
    EXPECT_FALSE(showsDisconnected());
    // A camera that went and came back is not reported as refused, however its openings went.
    EXPECT_TRUE(session.otherWindows(program, mainWindow).isEmpty()) << said().toStdString();
    session.clickAt(origin + kSnapshotButton);
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return photoFiles().size() == 1; }, 5000));
}

TEST_F(CamerasTest, ABusyCameraIsTriedAgainQuietlyAndRunsOnceItIsFree)
{
    const QString busy = session.tempPath() + QStringLiteral("/busy");
    QFile(busy).open(QIODevice::WriteOnly);
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_BUSY_FILE"), busy);
    start();
    QString text;
    QStringList boxes;
    ASSERT_TRUE(waitForBoxSaying(QStringLiteral("is busy"), text, boxes)) << text.toStdString();
    session.keyTo(boxes.front(), QStringLiteral("Return"));
    // Tried again for a while: told once, never busy.
    const double before = processorSeconds();
    DesktopSession::waitUntil([] { return false; }, 5000);
    EXPECT_LT(processorSeconds() - before, 0.5);
    EXPECT_EQ(said().count(QStringLiteral("is busy")), 0);
    EXPECT_TRUE(session.otherWindows(program, mainWindow).isEmpty());
    EXPECT_TRUE(showsDisconnected());

    // The other program lets it go: the preview comes within the longest wait.
    ASSERT_TRUE(QFile::remove(busy));
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0) && previewMoves(); }, 8000));
    EXPECT_TRUE(session.otherWindows(program, mainWindow).isEmpty());
}

TEST_F(CamerasTest, StartedBeforeTheCameraItSaysSoThenStartsWhenItIsPluggedIn)
{
    const QString plug = session.tempPath() + QStringLiteral("/plugged");
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_PLUG_FILE"), plug);
    start(false);
    EXPECT_EQ(startText.count(QStringLiteral("未发现可以使用的视频捕获设备!")), 1) << startText.toStdString();
    EXPECT_FALSE(showsCamera(0));

    QFile(plug).open(QIODevice::WriteOnly);
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0) && previewMoves(); }, 3000));
}

TEST_F(CamerasTest, ACameraThatIsListedButCannotBeOpenedIsNamedWithTheSystemsReason)
{
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_BUSY"), QStringLiteral("1"));
    // The window comes first: the camera is opened beside it, and its refusal is told when it arrives.
    start();
    QString text;
    QStringList boxes;
    ASSERT_TRUE(waitForBoxSaying(QStringLiteral("Unable to open"), text, boxes)) << text.toStdString();
    // The camera, its device and the system's reason, then the graph's own words on a line of their own.
    EXPECT_TRUE(text.contains(QStringLiteral(
        "Unable to open the camera \"Pixolo Test Camera\" (pixolo-testcam:0): Device 'pixolo-testcam:0' is busy.\n"
        "The capture device was removed or stopped responding. ($8004027C).")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Connect Fail!"))) << text.toStdString();
    session.keyTo(boxes.front(), QStringLiteral("Return"));
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return session.otherWindows(program, mainWindow).isEmpty(); }, 5000));
    EXPECT_FALSE(showsCamera(0));

    // The window works on: a snapshot says there is no picture and stores nothing.
    ASSERT_NO_FATAL_FAILURE(expectSnapshotRefused());
}

TEST_F(CamerasTest, AJpegOnlyFullHdCameraGivesFullHdPhotos)
{
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_SIZE"), QStringLiteral("1920x1080"));
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_FORMAT"), QStringLiteral("mjpeg"));
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0); }, 10000));
    EXPECT_TRUE(previewMoves());
    session.keyTo(mainWindow, QStringLiteral("F8"));
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return photoFiles().size() == 1; }, 5000));
    EXPECT_EQ(photoSize(photoFiles().front()), QStringLiteral("1920 1080"));
}

} // namespace
