// The whole job, driven as a person would: preview, snapshots by key and by click, delay, photo folder, About.
#include "DesktopSession.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <csignal>
#include <utility>

namespace
{

const QString kTitle = QStringLiteral("快拍宝");

// Where things are in the main window, relative to its top-left corner: the skinned frame puts the client area at
// (15, 33).
constexpr QPoint kClientOrigin(15, 33);
const QRect kPreview = QRect(36, 26, 320, 240).translated(kClientOrigin);
const QRect kImage = QRect(374, 26, 320, 240).translated(kClientOrigin);
const QPoint kSnapshotButton = QPoint(11 + 446 + 37, 11 + 272 + 12) + kClientOrigin;
const QPoint kAboutButton = QPoint(11 + 617 + 37, 11 + 272 + 12) + kClientOrigin;
const QPoint kDelayBox = QPoint(11 + 376 + 8, 11 + 275 + 11) + kClientOrigin;
const QPoint kPathEdit = QPoint(11 + 92 + 70, 11 + 272 + 9) + kClientOrigin;
const QPoint kCloseButton = QPoint(11 + 531 + 37, 11 + 272 + 12) + kClientOrigin;

class SnapshotTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.ok()) << "Xvfb did not start";
        photos = session.tempPath() + QStringLiteral("/photos/");
        QDir().mkpath(photos);
    }

    // Starts the program with the photo folder set and waits for its main window. Without a camera the program
    // first says so, before its window shows: that message box is left in `boxes` and dismissed.
    void start(bool withCamera = true)
    {
        QFile ini(session.iniPath());
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[Setup]\nPhotoPath=" + photos.toUtf8() + "\n");
        ini.close();
        if (!withCamera) {
            session.setEnv(QStringLiteral("GST_PLUGIN_PATH"), QString());
        }
        program = session.startProgram();
        if (!withCamera) {
            ASSERT_TRUE(DesktopSession::waitUntil(
                [&] { return !(startBoxes = session.visibleWindows(program->processId())).isEmpty(); }, 15000));
            startBoxText = said();
            for (const QString &box : startBoxes) {
                startBoxNames << session.windowName(box);
                dismiss(box);
            }
        }
        mainWindow = session.waitForMainWindow(program);
        ASSERT_FALSE(mainWindow.isEmpty());
        const QRect geometry = session.windowGeometry(mainWindow);
        origin = geometry.topLeft();
    }

    void key(const QString &keys) { session.keyTo(mainWindow, keys); }
    void click(QPoint at) { session.clickAt(origin + at); }

    void type(const QString &text)
    {
        session.run(QStringLiteral("xdotool"),
            { QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text });
    }

    QImage area(const QRect &rect) { return session.screenshot().copy(rect.translated(origin)); }

    // Finished photos; a photo being written is a hidden temporary file until it is complete.
    QStringList photoFiles() const { return QDir(photos).entryList(QDir::Files, QDir::Name); }
    QStringList leftovers() const { return QDir(photos).entryList(QDir::Files | QDir::Hidden | QDir::System); }

    bool waitForPhotos(int count, int timeoutMs = 10000)
    {
        return DesktopSession::waitUntil([&] { return photoFiles().size() >= count; }, timeoutMs);
    }

    // What the program has written to standard error since the last call (each message box's text is there).
    QString said()
    {
        program->setReadChannel(QProcess::StandardError);
        while (program->waitForReadyRead(300)) {
            // drain what the pipe holds
        }
        return QString::fromUtf8(program->readAllStandardError());
    }

    // The windows other than the main one (message boxes, the About window).
    QStringList otherWindows() { return session.otherWindows(program, mainWindow); }
    void dismiss(const QString &window) { session.keyTo(window, QStringLiteral("Return")); }

    // identify's view of a photo: "width height quality interlace".
    QString identify(const QString &file)
    {
        return session
            .run(QStringLiteral("identify"),
                { QStringLiteral("-format"), QStringLiteral("%w %h %Q %[interlace]"), photos + file })
            .trimmed();
    }

    DesktopSession session;
    QString photos;
    QProcess *program = nullptr;
    QString mainWindow;
    QPoint origin;
    QStringList startBoxes; // windows shown before the main window
    QStringList startBoxNames;
    QString startBoxText; // what they said
};

double meanDifference(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.isNull()) {
        return 255.0;
    }
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

bool isBlack(const QImage &image)
{
    for (int y = 0; y < image.height(); y += 4) {
        for (int x = 0; x < image.width(); x += 4) {
            if (qGray(image.pixel(x, y)) > 16) {
                return false;
            }
        }
    }
    return true;
}

const QRegularExpression kPhotoName(QStringLiteral("^[0-9]{14}(-[0-9]+)?\\.jpg$"));

} // namespace

TEST_F(SnapshotTest, PreviewShowsTheMovingPicture)
{
    start();
    QImage first;
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(first = area(kPreview)); }, 10000));
    QImage second;
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return (second = area(kPreview)) != first; }, 5000));
    EXPECT_FALSE(isBlack(second));
}

TEST_F(SnapshotTest, F8AndTheButtonEachStoreAFullSizeQuality75Photo)
{
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(area(kPreview)); }, 10000));

    key(QStringLiteral("F8"));
    ASSERT_TRUE(waitForPhotos(1));
    click(kSnapshotButton);
    ASSERT_TRUE(waitForPhotos(2));

    const QStringList files = photoFiles();
    ASSERT_EQ(files.size(), 2);
    for (const QString &file : files) {
        EXPECT_TRUE(kPhotoName.match(file).hasMatch()) << file.toStdString();
        EXPECT_EQ(identify(file), QStringLiteral("640 480 75 None")) << file.toStdString(); // baseline: no interlace
    }
    // Image shows the last photo's top-left 320 × 240, unscaled.
    const QImage photo = QImage(photos + files.last()).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(photo.size(), QSize(640, 480));
    QImage shown;
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] { return meanDifference(shown = area(kImage), photo.copy(0, 0, 320, 240)) < 12.0; }, 5000))
        << meanDifference(shown, photo.copy(0, 0, 320, 240));
    EXPECT_GT(meanDifference(shown, photo.scaled(320, 240)), 12.0); // and not the whole frame scaled down
}

TEST_F(SnapshotTest, LargerCameraGivesLargerPhotosAndTwoShotsInASecondGiveTwoFiles)
{
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_SIZE"), QStringLiteral("1280x720"));
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_FORMAT"), QStringLiteral("mjpeg"));
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(area(kPreview)); }, 10000));
    key(QStringLiteral("F8 F8"));
    ASSERT_TRUE(waitForPhotos(2));
    const QStringList files = photoFiles();
    ASSERT_EQ(files.size(), 2);
    for (const QString &file : files) {
        EXPECT_TRUE(kPhotoName.match(file).hasMatch()) << file.toStdString();
        EXPECT_TRUE(identify(file).startsWith(QStringLiteral("1280 720 75"))) << identify(file).toStdString();
    }
    EXPECT_EQ(leftovers(), files);
}

TEST_F(SnapshotTest, DelayedShotIsTakenFiveSecondsLaterWhileTheWindowStaysLive)
{
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(area(kPreview)); }, 10000));
    click(kDelayBox);
    const QDateTime clicked = QDateTime::currentDateTime();
    click(kSnapshotButton);
    // During the wait the window answers: the About button opens the About window.
    click(kAboutButton);
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] {
            for (const QString &w : otherWindows()) {
                if (session.windowName(w) == QStringLiteral("关于") + kTitle) {
                    return true;
                }
            }
            return false;
        },
        3000));
    EXPECT_TRUE(photoFiles().isEmpty());
    ASSERT_TRUE(waitForPhotos(1, 15000));
    const QString name = photoFiles().front();
    const QDateTime stamp = QDateTime::fromString(name.left(14), QStringLiteral("yyyyMMddHHmmss"));
    ASSERT_TRUE(stamp.isValid()) << name.toStdString();
    // The stamp has whole seconds: compare with the click's second.
    EXPECT_GE(clicked.secsTo(stamp) + (clicked.time().msec() > 0 ? 1 : 0), 5) << name.toStdString();
}

TEST_F(SnapshotTest, TypedPathIsStoredTrimmedAndEnterSelectsAllAndSaves)
{
    start();
    click(kPathEdit);
    key(QStringLiteral("ctrl+a"));
    type(QStringLiteral("  /tmp/typed path/  "));
    key(QStringLiteral("Tab")); // leaving the edit saves
    auto setting = [&] {
        QFile ini(session.iniPath());
        return ini.open(QIODevice::ReadOnly) ? QString::fromUtf8(ini.readAll()) : QString();
    };
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] { return setting().contains(QStringLiteral("PhotoPath=/tmp/typed path/\n")); }, 5000))
        << setting().toStdString();

    click(kPathEdit);
    key(QStringLiteral("End"));
    type(QStringLiteral("more"));
    key(QStringLiteral("Return"));
    EXPECT_TRUE(DesktopSession::waitUntil(
        [&] { return setting().contains(QStringLiteral("PhotoPath=/tmp/typed path/  more\n")); }, 5000))
        << setting().toStdString();
    // Everything is selected now: typing replaces it all.
    type(QStringLiteral("/x/"));
    key(QStringLiteral("Return"));
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return setting().contains(QStringLiteral("PhotoPath=/x/\n")); }, 5000))
        << setting().toStdString();
}

TEST_F(SnapshotTest, WithoutCameraOneMessageThenF8StoresNothingAndSaysSo)
{
    start(false);
    ASSERT_EQ(startBoxes.size(), 1);
    EXPECT_EQ(startBoxNames, QStringList { kTitle });
    QString text = startBoxText + said();
    EXPECT_EQ(text.count(QStringLiteral("未发现可以使用的视频捕获设备!")), 1) << text.toStdString();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return otherWindows().isEmpty(); }, 5000));
    EXPECT_TRUE(isBlack(area(kPreview)));

    QStringList boxes;

    key(QStringLiteral("F8"));
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !(boxes = otherWindows()).isEmpty(); }, 5000));
    EXPECT_EQ(session.windowName(boxes.front()), QStringLiteral("Error:"));
    text += said();
    EXPECT_TRUE(text.contains(QStringLiteral("未能取得图像,照片未保存!"))) << text.toStdString();
    EXPECT_EQ(text.count(QStringLiteral("未发现可以使用的视频捕获设备!")), 1);
    dismiss(boxes.front());
    EXPECT_TRUE(photoFiles().isEmpty());
}

TEST_F(SnapshotTest, UnwritablePhotoFolderGivesTheErrorAndNoFile)
{
    photos = session.tempPath() + QStringLiteral("/no such folder/");
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(area(kPreview)); }, 10000));
    key(QStringLiteral("F8"));
    QStringList boxes;
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !(boxes = otherWindows()).isEmpty(); }, 5000));
    const QString text = said();
    EXPECT_TRUE(text.contains(QStringLiteral("Cannot create file \"") + photos)) << text.toStdString();
    EXPECT_FALSE(QDir(photos).exists());
    EXPECT_TRUE(QDir(session.tempPath()).entryList({ QStringLiteral("*.jpg") }, QDir::Files | QDir::Hidden).isEmpty());
    dismiss(boxes.front());
    EXPECT_EQ(program->state(), QProcess::Running);
}

TEST_F(SnapshotTest, AboutOpensWithItsTextsAndClosesOnEscButNotOnALabel)
{
    start();
    click(kAboutButton);
    QString about;
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] {
            for (const QString &w : otherWindows()) {
                if (session.windowName(w) == QStringLiteral("关于") + kTitle) {
                    about = w;
                }
            }
            return !about.isEmpty();
        },
        5000));
    const QRect geometry = session.windowGeometry(about);
    EXPECT_EQ(geometry.size(), QSize(462, 372)); // the 434 × 316 client area in its skinned frame
    // Label2, a plain label, in the middle of its line: the window stays.
    session.run(QStringLiteral("xdotool"),
        { QStringLiteral("mousemove"), QString::number(geometry.x() + kClientOrigin.x() + 11 + 25 + 180),
            QString::number(geometry.y() + kClientOrigin.y() + 121 + 42 + 10), QStringLiteral("click"),
            QStringLiteral("1") });
    EXPECT_FALSE(DesktopSession::waitUntil([&] { return !otherWindows().contains(about); }, 1000));
    session.run(QStringLiteral("xdotool"), { QStringLiteral("windowfocus"), QStringLiteral("--sync"), about });
    session.run(QStringLiteral("xdotool"), { QStringLiteral("key"), QStringLiteral("Escape") });
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return !otherWindows().contains(about); }, 5000));
    EXPECT_EQ(program->state(), QProcess::Running);
}

TEST_F(SnapshotTest, CloseButtonEndsTheProgramNormally)
{
    start();
    click(kCloseButton);
    ASSERT_TRUE(program->waitForFinished(10000));
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
}

TEST_F(SnapshotTest, EndedBySignalsDuringABurstEveryStartedShotIsNamedAndNothingIsLeftHidden)
{
    // Large frames, so that a photo is being encoded or stored most of the time during the burst.
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_SIZE"), QStringLiteral("1920x1080"));
    const QList<std::pair<const char *, int>> requests
        = { { "SIGTERM", SIGTERM }, { "SIGINT", SIGINT }, { "SIGHUP", SIGHUP } };
    for (const auto &[name, number] : requests) {
        SCOPED_TRACE(name);
        start();
        ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(area(kPreview)); }, 10000));
        const int before = int(photoFiles().size());
        session.run(QStringLiteral("xdotool"), { QStringLiteral("windowfocus"), QStringLiteral("--sync"), mainWindow });
        QProcess burst;
        burst.setProcessEnvironment(session.environment());
        QStringList keys = { QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("15") };
        for (int shot = 0; shot < 12; ++shot) {
            keys << QStringLiteral("F8");
        }
        burst.start(QStringLiteral("xdotool"), keys);
        ASSERT_TRUE(waitForPhotos(before + 2));
        ASSERT_EQ(::kill(pid_t(program->processId()), number), 0);
        ASSERT_TRUE(program->waitForFinished(10000));
        burst.waitForFinished(5000);
        // Ended as the close button ends it.
        EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program->exitCode(), 0);
        // Every photo begun has its name and is whole; no hidden file is left.
        EXPECT_EQ(leftovers(), photoFiles());
        for (const QString &file : photoFiles()) {
            EXPECT_TRUE(kPhotoName.match(file).hasMatch()) << file.toStdString();
            QFile photo(photos + file);
            ASSERT_TRUE(photo.open(QIODevice::ReadOnly));
            EXPECT_TRUE(photo.readAll().endsWith("\xFF\xD9")) << file.toStdString();
        }
    }
}

TEST_F(SnapshotTest, TwoThousandQuickShotsKeepTheProgramsMemoryFlat)
{
#if defined(PIXOLO_SANITIZED)
    // The sanitizer's own bookkeeping is left out of the figure: freed blocks go back to the program at once instead
    // of into a quarantine, freed pages back to the system, and no allocation's stack is recorded. A leaked block is
    // never freed, so it still counts.
    session.setEnv(QStringLiteral("ASAN_OPTIONS"),
        qEnvironmentVariable("ASAN_OPTIONS")
            + QStringLiteral(":quarantine_size_mb=0:thread_local_quarantine_size_kb=0"
                             ":allocator_release_to_os_interval_ms=0:malloc_context_size=0"));
#endif
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(area(kPreview)); }, 10000));
    // The first shots make what every later one uses (the frame's copy, the encoder's buffer, the sound's chain).
    session.keyRepeatedTo(mainWindow, QStringLiteral("F8"), 20, 12);
    ASSERT_TRUE(waitForPhotos(20));
    const long warm = DesktopSession::residentKiB(program->processId());
    session.keyRepeatedTo(mainWindow, QStringLiteral("F8"), 2000, 12);
    ASSERT_TRUE(waitForPhotos(2020, 30000)) << photoFiles().size();
    DesktopSession::waitUntil([] { return false; }, 500); // the last sound ends
    const long after = DesktopSession::residentKiB(program->processId());
    ASSERT_GT(warm, 0);
    EXPECT_LE(after - warm, 1024) << "KiB after 20 shots: " << warm << ", after 2020: " << after;
    EXPECT_EQ(photoFiles().size(), 2020);
    EXPECT_TRUE(otherWindows().isEmpty()) << said().toStdString();
}

TEST_F(SnapshotTest, OneDelayedF8IsOnePhotoWhenAnotherProgramTakesTheFocus)
{
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(area(kPreview)); }, 10000));
    click(kDelayBox);
    QElapsedTimer sincePress;
    key(QStringLiteral("F8"));
    sincePress.start();

    // Another X client takes the focus during the wait.
    QProcess other;
    other.setProcessEnvironment(session.environment());
    other.start(QStringLiteral("xmessage"), { QStringLiteral("hi") });
    ASSERT_TRUE(other.waitForStarted(5000));
    // Found by its class: it does not name its process on its window.
    QString otherWindow;
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] {
            otherWindow = session
                              .run(QStringLiteral("xdotool"),
                                  { QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                      QStringLiteral("--classname"), QStringLiteral("xmessage") })
                              .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                              .value(0);
            return !otherWindow.isEmpty();
        },
        5000));
    session.run(QStringLiteral("xdotool"), { QStringLiteral("windowfocus"), QStringLiteral("--sync"), otherWindow });
    ASSERT_LT(sincePress.elapsed(), 4000) << "the focus moved only after the wait";

    ASSERT_TRUE(waitForPhotos(1, 15000));
    // A second photo would come five seconds after the first.
    DesktopSession::waitUntil(
        [&] { return photoFiles().size() > 1; }, int(std::max<qint64>(0, 12000 - sincePress.elapsed())));
    EXPECT_EQ(photoFiles().size(), 1) << photoFiles().join(QLatin1Char(' ')).toStdString();
    other.kill();
    other.waitForFinished(2000);
}

TEST_F(SnapshotTest, ClosingDuringTheDelayEndsTheProgramPromptlyAndStoresNothing)
{
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(area(kPreview)); }, 10000));
    click(kDelayBox);
    key(QStringLiteral("F8"));
    click(kCloseButton);
    QElapsedTimer sinceClose;
    sinceClose.start();
    ASSERT_TRUE(program->waitForFinished(10000));
    EXPECT_LT(sinceClose.elapsed(), 1000);
    EXPECT_EQ(program->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program->exitCode(), 0);
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();
}

TEST_F(SnapshotTest, AVanishedCameraGivesNoPhotoOfItsFrozenPicture)
{
    session.setEnv(QStringLiteral("PIXOLO_TESTCAM_VANISH_AFTER"), QStringLiteral("45")); // unplugged after 1.5 s
    start();
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !isBlack(area(kPreview)); }, 10000));
    // The picture stops moving once the camera is gone.
    QImage last = area(kPreview);
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] {
            const QImage now = area(kPreview);
            const bool still = now == last;
            last = now;
            return still;
        },
        10000));
    key(QStringLiteral("F8"));
    QStringList boxes;
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return !(boxes = otherWindows()).isEmpty(); }, 5000));
    EXPECT_EQ(session.windowName(boxes.front()), QStringLiteral("Error:"));
    const QString text = said();
    EXPECT_TRUE(text.contains(QStringLiteral("未能取得图像,照片未保存!"))) << text.toStdString();
    dismiss(boxes.front());
    EXPECT_TRUE(leftovers().isEmpty()) << leftovers().join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(program->state(), QProcess::Running);
}
