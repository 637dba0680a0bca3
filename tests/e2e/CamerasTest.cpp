// Cameras as people have them, with the whole program under Xvfb: two cameras to choose from, a camera pulled out and
// plugged in again, a program started before its camera, a 1080p camera that only sends JPEG frames.
#include "DesktopSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

#include <unistd.h>

namespace
{

// The preview inside the main window: client origin, content panel, preview panel, its frame.
const QRect kPreview = QRect(15 + 11 + 22 + 3, 33 + 11 + 12 + 3, 320, 240);
const QPoint kSnapshotButton = QPoint(15 + 11 + 446 + 37, 33 + 11 + 272 + 10);

class CamerasTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        photos = session.tempPath() + QStringLiteral("/photos/");
        QDir().mkpath(photos);
        QFile ini(session.iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setup]\nPhotoPath=" + photos.toUtf8() + "\n");
    }

    // Starts the program and waits for its main window. Message boxes shown before it (no camera) are left in
    // `startBoxes`, read and dismissed.
    void start(bool expectCamera = true)
    {
        program = session.startProgram();
        if (!expectCamera) {
            ASSERT_TRUE(DesktopSession::waitUntil(
                [&] { return !(startBoxes = session.visibleWindows(program->processId())).isEmpty(); }, 15000));
            startText = said();
            for (const QString &box : startBoxes) {
                session.keyTo(box, QStringLiteral("Return"));
            }
        }
        mainWindow = session.waitForMainWindow(program);
        ASSERT_FALSE(mainWindow.isEmpty());
        origin = session.windowGeometry(mainWindow).topLeft();
    }

    void stop()
    {
        program->kill();
        program->waitForFinished(5000);
    }

    QImage preview() { return session.screenshot().copy(kPreview.translated(origin)); }

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

    bool previewMoves()
    {
        const QImage first = preview();
        return DesktopSession::waitUntil([&] { return preview() != first; }, 1500);
    }

    // The disconnected state: a black preview with the white words in the middle and nothing else.
    bool showsDisconnected()
    {
        const QImage picture = preview();
        int white = 0;
        int other = 0;
        for (int y = 0; y < picture.height(); y += 2) {
            for (int x = 0; x < picture.width(); x += 2) {
                const int grey = qGray(picture.pixel(x, y));
                const bool middle = y > 80 && y < 160;
                white += grey > 200 && middle ? 1 : 0;
                other += grey > 40 && !middle ? 1 : 0;
            }
        }
        return white > 20 && other == 0;
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

    QString said()
    {
        program->setReadChannel(QProcess::StandardError);
        while (program->waitForReadyRead(300)) { }
        return QString::fromUtf8(program->readAllStandardError());
    }

    QStringList photoFiles() const { return QDir(photos).entryList(QDir::Files, QDir::Name); }

    DesktopSession session;
    QString photos;
    QProcess *program = nullptr;
    QString mainWindow;
    QPoint origin;
    QStringList startBoxes;
    QString startText;
};

TEST_F(CamerasTest, RightClickOffersBothCamerasAndTheChosenOneIsUsedAndKept)
{
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_COUNT"), QStringLiteral("2"));
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0); }, 10000));

    session.clickAt(origin + kPreview.center(), 3);
    QStringList popups;
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] { return !(popups = session.otherWindows(program, mainWindow)).isEmpty(); }, 5000));
    // One line a camera: two items of the skin's 22 pixels, and its frame.
    const int height = session.windowGeometry(popups.front()).height();
    EXPECT_GE(height, 2 * 22);
    EXPECT_LT(height, 3 * 22 + 20);
    // The first item is highlighted as the menu opens: down to the second camera and take it.
    session.xdotool({ QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return") });
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return session.otherWindows(program, mainWindow).isEmpty(); }, 5000));
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

    session.keyTo(mainWindow, QStringLiteral("F8"));
    QStringList boxes;
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] { return !(boxes = session.otherWindows(program, mainWindow)).isEmpty(); }, 5000));
    EXPECT_TRUE(said().contains(QStringLiteral("未能取得图像,照片未保存!")));
    session.keyTo(boxes.front(), QStringLiteral("Return"));
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return session.otherWindows(program, mainWindow).isEmpty(); }, 5000));
    EXPECT_TRUE(photoFiles().isEmpty());

    QFile(plug).open(QIODevice::WriteOnly);
    QElapsedTimer plugged;
    plugged.start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsCamera(0) && previewMoves(); }, 3000));
    EXPECT_LT(plugged.elapsed(), 3000);
    session.clickAt(origin + kSnapshotButton);
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return photoFiles().size() == 1; }, 5000));
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
    start(false);
    // The camera, its device and the system's reason, then the graph's own words on a line of their own.
    EXPECT_TRUE(startText.contains(QStringLiteral(
        "Unable to open the camera \"Pixolo Test Camera\" (pixolo-testcam:0): Device 'pixolo-testcam:0' is busy.\n"
        "The capture device was removed or stopped responding. ($8004027C).")))
        << startText.toStdString();
    EXPECT_FALSE(startText.contains(QStringLiteral("Connect Fail!"))) << startText.toStdString();
    EXPECT_FALSE(showsCamera(0));

    // The window works on: a snapshot says there is no picture and stores nothing.
    session.keyTo(mainWindow, QStringLiteral("F8"));
    EXPECT_TRUE(
        DesktopSession::waitUntil([&] { return said().contains(QStringLiteral("未能取得图像,照片未保存!")); }, 5000));
    EXPECT_TRUE(photoFiles().isEmpty());
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
    const QString size = session
                             .run(QStringLiteral("identify"),
                                 { QStringLiteral("-format"), QStringLiteral("%w %h"), photos + photoFiles().front() })
                             .trimmed();
    EXPECT_EQ(size, QStringLiteral("1920 1080"));
}

} // namespace
