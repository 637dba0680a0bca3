#include "PreviewFixture.h"

#include <QDir>
#include <QFile>

void PreviewFixture::SetUp()
{
    ASSERT_TRUE(session.ok()) << "Xvfb did not start";
    photos = session.tempPath() + QStringLiteral("/photos/");
    QDir().mkpath(photos);
    QFile ini(session.iniPath());
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Setup]\nPhotoPath=" + photos.toUtf8() + "\n");
}

void PreviewFixture::start(bool expectCamera, int windowTimeoutMs)
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
    mainWindow = session.waitForMainWindow(program, windowTimeoutMs);
    ASSERT_FALSE(mainWindow.isEmpty()) << "no main window within " << windowTimeoutMs << " ms";
    origin = session.windowGeometry(mainWindow).topLeft();
}

void PreviewFixture::stop()
{
    program->kill();
    program->waitForFinished(5000);
}

QImage PreviewFixture::preview()
{
    return session.screenshot().copy(kPreview.translated(origin));
}

bool PreviewFixture::previewMoves()
{
    const QImage first = preview();
    return DesktopSession::waitUntil([&] { return preview() != first; }, 1500);
}

bool PreviewFixture::showsDisconnected()
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

QString PreviewFixture::openPreviewMenu()
{
    session.clickAt(origin + kPreview.center(), 3);
    QStringList popups;
    DesktopSession::waitUntil([&] { return !(popups = session.otherWindows(program, mainWindow)).isEmpty(); }, 5000);
    return popups.value(0);
}

void PreviewFixture::chooseSecondCamera()
{
    const QString menu = openPreviewMenu();
    ASSERT_FALSE(menu.isEmpty()) << "no menu";
    const int height = session.windowGeometry(menu).height();
    EXPECT_GE(height, 2 * kMenuItemHeight);
    EXPECT_LT(height, 3 * kMenuItemHeight + 20);
    // The first item is highlighted as the menu opens: down to the second camera and take it.
    session.xdotool({ QStringLiteral("key"), QStringLiteral("Down"), QStringLiteral("Return") });
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return session.otherWindows(program, mainWindow).isEmpty(); }, 5000));
}

void PreviewFixture::expectSnapshotRefused()
{
    session.keyTo(mainWindow, QStringLiteral("F8"));
    QStringList boxes;
    ASSERT_TRUE(
        DesktopSession::waitUntil([&] { return !(boxes = session.otherWindows(program, mainWindow)).isEmpty(); }, 5000))
        << "no message box";
    EXPECT_TRUE(said().contains(QStringLiteral("未能取得图像,照片未保存!")));
    session.keyTo(boxes.front(), QStringLiteral("Return"));
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return session.otherWindows(program, mainWindow).isEmpty(); }, 5000));
    EXPECT_TRUE(photoFiles().isEmpty());
}

QString PreviewFixture::said()
{
    program->setReadChannel(QProcess::StandardError);
    while (program->waitForReadyRead(300)) { }
    return QString::fromUtf8(program->readAllStandardError());
}

QStringList PreviewFixture::photoFiles() const
{
    return QDir(photos).entryList(QDir::Files, QDir::Name);
}

QString PreviewFixture::photoSize(const QString &file)
{
    return session
        .run(QStringLiteral("identify"), { QStringLiteral("-format"), QStringLiteral("%w %h"), photos + file })
        .trimmed();
}
