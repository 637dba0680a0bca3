// The video window: its background without video, the camera's picture scaled to exactly its rectangle, and
// frame notifications that never pile up.
#include "CaptureFixture.h"

#include "capture/VideoRenderer.h"

#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

namespace pixolo
{
namespace
{

using namespace test;

using TVideoWindowTest = CaptureFixture;

bool near(const QColor &actual, const QColor &expected)
{
    constexpr int tolerance = 8; // the camera's YUV frames do not give exact RGB values back
    return std::abs(actual.red() - expected.red()) <= tolerance
        && std::abs(actual.green() - expected.green()) <= tolerance
        && std::abs(actual.blue() - expected.blue()) <= tolerance;
}

// The control's picture as it paints it now.
QImage picture(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage filled(QSize size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Whether the picture is the test picture's layout stretched to the whole of it: the colour bars in eighths of the
// width at the top, the grey right end of the counter row in the bottom-right corner.
bool showsTestPictureStretched(const QImage &image)
{
    const QColor bars[8] = { Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue, Qt::black };
    for (int bar = 0; bar < 8; ++bar) {
        if (!near(image.pixelColor(image.width() * (2 * bar + 1) / 16, 1), bars[bar])) {
            return false;
        }
    }
    return near(image.pixelColor(image.width() - 1, image.height() - 1), QColor(128, 128, 128))
        && near(image.pixelColor(image.width() - 1, image.height() / 2), Qt::black);
}

TEST_F(TVideoWindowTest, NewControlPaintsItsColourWithoutVideo)
{
    const TVideoWindow fresh;
    EXPECT_EQ(fresh.size(), QSize(160, 120));
    EXPECT_EQ(fresh.Color(), QColor(Qt::black));
    EXPECT_TRUE(fresh.focusPolicy() & Qt::TabFocus);

    videoWindow->SetColor(QColor(10, 20, 30));
    EXPECT_EQ(picture(*videoWindow), filled(QSize(320, 240), QColor(10, 20, 30)));
}

TEST_F(TVideoWindowTest, BackgroundWhenTheRendererIsNotConnected)
{
    const CameraEnvironment camera;
    videoWindow->SetColor(QColor(10, 20, 30));
    const auto moniker = testCameraMoniker();
    ASSERT_TRUE(moniker);
    filter.BaseFilter()->StoreMoniker(&*moniker);
    graph.SetActive(true);
    ASSERT_TRUE(graph.RunGraph()); // nothing rendered: the renderer's input is free
    EXPECT_FALSE(videoWindow->ShowsVideo());
    EXPECT_EQ(picture(*videoWindow), filled(videoWindow->size(), QColor(10, 20, 30)));
}

TEST_F(TVideoWindowTest, PaintsTheCameraScaledToExactlyItsRectangleAndFollowsResizing)
{
    const CameraEnvironment camera;
    videoWindow->SetColor(QColor(10, 20, 30));
    videoWindow->show();
    ASSERT_TRUE(startPreview());
    ASSERT_TRUE(QTest::qWaitFor([&] { return showsTestPictureStretched(picture(*videoWindow)); }, 5000));
    EXPECT_TRUE(videoWindow->ShowsVideo());
    EXPECT_EQ(videoWindow->VideoHandle(), videoWindow.get());

    // Another size, another aspect ratio: still the whole picture over the whole control.
    videoWindow->resize(200, 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return showsTestPictureStretched(picture(*videoWindow)); }, 5000));
    EXPECT_EQ(picture(*videoWindow).size(), QSize(200, 300));

    // The renderer carries the control's name.
    EXPECT_EQ(videoWindow->VideoCaption(), QStringLiteral("VideoWindow"));

    // Hidden video shows the background.
    videoWindow->SetVideoVisible(false);
    EXPECT_EQ(picture(*videoWindow), filled(videoWindow->size(), QColor(10, 20, 30)));
}

class TVideoWindowPictureTest : public CaptureFixture, public testing::WithParamInterface<const char *>
{
};

// The preview is scaled (nearest neighbour) before it is converted, on the streaming thread; it must look as the
// painter's nearest-neighbour scaling of the full converted frame looked. The bars are compared: they stand still,
// while the square and the counter below them move from one frame to the next.
TEST_P(TVideoWindowPictureTest, PreviewLooksAsThePainterScaledTheFullFrame)
{
    const CameraEnvironment camera(QByteArrayLiteral("640x480"), GetParam());
    videoWindow->show();
    ASSERT_TRUE(startPreview());
    TBitmap full;
    ASSERT_TRUE(waitForFrame(full));
    ASSERT_TRUE(QTest::qWaitFor([&] { return showsTestPictureStretched(picture(*videoWindow)); }, 5000));
    const QImage shown = picture(*videoWindow);

    QImage before(videoWindow->size(), QImage::Format_RGB32);
    {
        QPainter painter(&before);
        painter.drawImage(before.rect(), imageOf(full)); // what the control used to do with the full frame
    }
    // Where one bar meets the next, colours are shared between neighbours (chroma is sampled once per two pixels) and
    // the two ways of scaling may blend them differently; everywhere else the pictures agree.
    const int barsEnd = before.height() * 2 / 3 - 2;
    const auto nearAnEdge = [&](int x) {
        for (int edge = 1; edge < 8; ++edge) {
            if (std::abs(x - edge * before.width() / 8) <= 1) {
                return true;
            }
        }
        return false;
    };
    int worst = 0;
    int compared = 0;
    for (int y = 0; y < barsEnd; ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (nearAnEdge(x)) {
                continue;
            }
            const QRgb a = shown.pixel(x, y);
            const QRgb b = before.pixel(x, y);
            worst = std::max(
                { worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b)) });
            ++compared;
        }
    }
    EXPECT_GT(compared, barsEnd * before.width() * 9 / 10);
    EXPECT_LE(worst, 6);
}

INSTANTIATE_TEST_SUITE_P(Formats, TVideoWindowPictureTest, testing::Values("yuy2", "mjpeg", "i420"));

TEST_F(TVideoWindowTest, FullScreenShowsTheVideoInAWindowOverTheScreenAndComesBack)
{
    const CameraEnvironment camera;
    videoWindow->SetColor(QColor(10, 20, 30));
    videoWindow->show();
    ASSERT_TRUE(startPreview());
    videoWindow->SetFullScreen(true);
    QWidget *view = videoWindow->VideoHandle();
    ASSERT_NE(view, videoWindow.get());
    EXPECT_TRUE(view->isWindow());
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("VideoWindow"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return showsTestPictureStretched(picture(*view)); }, 5000));
    // The control itself shows its background meanwhile.
    EXPECT_EQ(picture(*videoWindow).pixelColor(5, 5), QColor(10, 20, 30));

    videoWindow->SetFullScreen(false);
    EXPECT_EQ(videoWindow->VideoHandle(), videoWindow.get());
    EXPECT_FALSE(view->isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return showsTestPictureStretched(picture(*videoWindow)); }, 5000));
}

// The main window activates the graph before it is shown: the video must appear once it is.
TEST_F(TVideoWindowTest, ControlInAWindowShownAfterActivationShowsTheVideo)
{
    const CameraEnvironment camera;
    QWidget window;
    window.resize(400, 300);
    videoWindow->setParent(&window);
    ASSERT_TRUE(startPreview());
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return showsTestPictureStretched(picture(*videoWindow)); }, 5000));
    graph.SetActive(false);
    videoWindow->setParent(nullptr); // the fixture owns it
}

TEST_F(TVideoWindowTest, ControlWithoutANameSetsNoCaption)
{
    const CameraEnvironment camera;
    videoWindow->setObjectName(QString());
    ASSERT_TRUE(startPreview());
    EXPECT_TRUE(videoWindow->VideoCaption().isEmpty());
}

// Counts the frame notifications a control receives.
class FrameEventCounter : public QObject
{
public:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == VideoFrameEventType()) {
            ++count;
        }
        return false;
    }
    int count = 0;
};

TEST_F(TVideoWindowTest, AControlThatPaintsNothingGetsOneNotificationNotOnePerFrame)
{
    const CameraEnvironment camera(QByteArrayLiteral("64x48"));
    FrameEventCounter counter;
    videoWindow->installEventFilter(&counter);
    ASSERT_TRUE(startPreview()); // the control is hidden: it never paints, so it never takes a frame
    TBitmap frame;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return grabber.CopyFrameToBitmap(&frame) && frameNumberOf(imageOf(frame)) >= 10; }, 5000));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(counter.count, 1);
    // Shown, it paints and so takes the frame; the next ones are announced again.
    videoWindow->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return counter.count >= 3; }, 5000));
    videoWindow->removeEventFilter(&counter);
}

TEST(TVMROptionsTest, DefaultsStreamsRangeAndNoMixingRenderer)
{
    TVideoWindow window;
    TVMROptions *options = window.VMROptions();
    EXPECT_EQ(options->Mode(), vmrWindowed);
    EXPECT_EQ(options->Streams(), 4u);
    EXPECT_EQ(options->Preferences(), vmrPreference(vpForceMixer));
    EXPECT_TRUE(options->KeepAspectRatio());
    for (const auto &[given, kept] :
        { std::pair(0u, 1u), std::pair(17u, 1u), std::pair(16u, 16u), std::pair(1u, 1u) }) {
        options->SetStreams(given);
        EXPECT_EQ(options->Streams(), kept) << given;
    }
    window.SetMode(vmVMR);
    EXPECT_EQ(window.Mode(), vmNormal);
}

} // namespace
} // namespace pixolo
