// Cameras offered by PipeWire, as on today's desktops, with the whole program under Xvfb: each test publishes its
// cameras into a PipeWire session of its own, and the program is offered those cameras only.
#include "PreviewFixture.h"

#include <QElapsedTimer>
#include <QImage>
#include <QSize>

#include <gtest/gtest.h>

#include <functional>

namespace
{

using Picture = pixolo::test::PipeWireSession::Picture;

// The share of a picture's pixels (every other one, in both directions) that `colour` accepts.
double share(const QImage &picture, const std::function<bool(int, int, int)> &colour)
{
    int hits = 0;
    int all = 0;
    for (int y = 0; y < picture.height(); y += 2) {
        for (int x = 0; x < picture.width(); x += 2) {
            const QRgb pixel = picture.pixel(x, y);
            hits += colour(qRed(pixel), qGreen(pixel), qBlue(pixel)) ? 1 : 0;
            ++all;
        }
    }
    return all == 0 ? 0.0 : double(hits) / all;
}

bool yellow(int r, int g, int b)
{
    return r > 150 && g > 150 && b < 80;
}

bool cyan(int r, int g, int b)
{
    return r < 80 && g > 150 && b > 150;
}

bool magenta(int r, int g, int b)
{
    return r > 150 && g < 80 && b > 150;
}

bool blue(int r, int g, int b)
{
    return r < 80 && g < 80 && b > 150;
}

class PipeWireCamerasTest : public PreviewFixture
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(PreviewFixture::SetUp());
        ASSERT_TRUE(session.pipeWire().ok()) << session.pipeWire().error().toStdString();
    }

    void publish(const QString &name, QSize size, Picture picture = Picture::ColourBars)
    {
        ASSERT_TRUE(session.pipeWire().publish(name, size, picture)) << session.pipeWire().error().toStdString();
    }

    // Colour bars wherever they have slid to: each of the bars takes a seventh of the width and two thirds of the
    // height, and a blue ground has none of them.
    bool showsColourBars()
    {
        const QImage picture = preview();
        return share(picture, yellow) > 0.05 && share(picture, cyan) > 0.05 && share(picture, magenta) > 0.05;
    }

    // Mostly blue, and no colour bars.
    bool showsBallOnBlue()
    {
        const QImage picture = preview();
        return share(picture, blue) > 0.6 && share(picture, yellow) < 0.01;
    }
};

class PipeWireCameraSizeTest : public PipeWireCamerasTest, public testing::WithParamInterface<QSize>
{
};

TEST_P(PipeWireCameraSizeTest, StartsQuicklyShowsTheLivePictureAndTakesPhotosAtTheCamerasSize)
{
    const QSize size = GetParam();
    ASSERT_NO_FATAL_FAILURE(publish(QStringLiteral("Desk Camera"), size));
    ASSERT_NO_FATAL_FAILURE(start(true, 5000));
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsColourBars(); }, 5000)) << said().toStdString();
    EXPECT_TRUE(previewMoves());

    session.keyTo(mainWindow, QStringLiteral("F8"));
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return photoFiles().size() == 1; }, 5000)) << said().toStdString();
    EXPECT_EQ(photoSize(photoFiles().front()), QStringLiteral("%1 %2").arg(size.width()).arg(size.height()));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PipeWireCameraSizeTest, testing::Values(QSize(640, 480), QSize(1280, 720)),
    [](const testing::TestParamInfo<QSize> &info) {
        return std::to_string(info.param.width()) + "x" + std::to_string(info.param.height());
    });

TEST_F(PipeWireCamerasTest, BothCamerasAreOfferedAndChoosingTheSecondSwitchesThePicture)
{
    ASSERT_NO_FATAL_FAILURE(publish(QStringLiteral("Desk Camera"), QSize(640, 480), Picture::ColourBars));
    ASSERT_NO_FATAL_FAILURE(publish(QStringLiteral("Window Camera"), QSize(1280, 720), Picture::BallOnBlue));
    ASSERT_NO_FATAL_FAILURE(start());
    // The program takes the first camera it is offered; which one PipeWire lists first is its own affair.
    bool barsFirst = false;
    ASSERT_TRUE(DesktopSession::waitUntil(
        [&] {
            barsFirst = showsColourBars();
            return barsFirst || showsBallOnBlue();
        },
        10000))
        << said().toStdString();

    ASSERT_NO_FATAL_FAILURE(chooseSecondCamera());
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return barsFirst ? showsBallOnBlue() : showsColourBars(); }, 5000))
        << (barsFirst ? "still the colour bars" : "still the ball") << said().toStdString();
    EXPECT_TRUE(previewMoves());
}

TEST_F(PipeWireCamerasTest, AStoppedCameraIsShownGoneTakesNoPhotoAndComesBackWhenPublishedAgain)
{
    const QString name = QStringLiteral("Desk Camera");
    ASSERT_NO_FATAL_FAILURE(publish(name, QSize(640, 480)));
    ASSERT_NO_FATAL_FAILURE(start());
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsColourBars(); }, 10000)) << said().toStdString();
    said();

    QElapsedTimer stopped;
    stopped.start();
    ASSERT_TRUE(session.pipeWire().unpublish(name));
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsDisconnected(); }, 2000)) << said().toStdString();
    EXPECT_LT(stopped.elapsed(), 2000);
    EXPECT_TRUE(session.otherWindows(program, mainWindow).isEmpty()) << "no message about the camera";
    ASSERT_NO_FATAL_FAILURE(expectSnapshotRefused());

    // The same camera again: same name, but a new node in PipeWire.
    QElapsedTimer published;
    published.start();
    ASSERT_NO_FATAL_FAILURE(publish(name, QSize(640, 480)));
    ASSERT_TRUE(DesktopSession::waitUntil([&] { return showsColourBars(); }, 5000)) << said().toStdString();
    EXPECT_LT(published.elapsed(), 5000);
    EXPECT_TRUE(previewMoves());
    session.keyTo(mainWindow, QStringLiteral("F8"));
    EXPECT_TRUE(DesktopSession::waitUntil([&] { return photoFiles().size() == 1; }, 5000)) << said().toStdString();
}

} // namespace
