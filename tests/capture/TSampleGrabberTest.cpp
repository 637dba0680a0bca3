// The sample grabber against the virtual camera: frames copied at the camera's full size, stride and format.
#include "CaptureFixture.h"

#include <QSemaphore>
#include <QTest>

#include <gtest/gtest.h>

namespace pixolo
{
namespace
{

using namespace test;

using TSampleGrabberTest = CaptureFixture;

TEST_F(TSampleGrabberTest, NoFrameWhileInactiveAndBitmapUntouched)
{
    TBitmap bitmap(3, 2, pf24bit);
    EXPECT_FALSE(grabber.CopyFrameToBitmap(&bitmap));
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_FALSE(grabber.CopyFrameToBitmap(nullptr));
}

TEST_F(TSampleGrabberTest, NoFrameWhenTheGraphIsActiveButNotConnected)
{
    const CameraEnvironment camera;
    const auto moniker = testCameraMoniker();
    ASSERT_TRUE(moniker);
    filter.BaseFilter()->StoreMoniker(&*moniker);
    graph.SetActive(true);
    TBitmap bitmap;
    EXPECT_FALSE(grabber.CopyFrameToBitmap(&bitmap));
    EXPECT_TRUE(bitmap.Empty());
}

TEST_F(TSampleGrabberTest, NoFrameOnARunningGraphBeforeTheFirstFrameIsKept)
{
    const CameraEnvironment camera;
    // The handler sees each frame before the grabber keeps it: holding the first one there leaves a running,
    // connected graph without a kept frame.
    QSemaphore reached;
    QSemaphore proceed;
    grabber.OnBuffer = [&](QObject *, double, void *, int) {
        reached.release();
        proceed.acquire();
    };
    ASSERT_TRUE(startPreview());
    ASSERT_TRUE(reached.tryAcquire(1, 5000));
    TBitmap bitmap;
    EXPECT_FALSE(grabber.CopyFrameToBitmap(&bitmap));
    EXPECT_TRUE(bitmap.Empty());
    proceed.release(1000000); // every later frame passes at once
    EXPECT_TRUE(waitForFrame(bitmap));
    graph.SetActive(false); // before the semaphores go
}

struct FrameCase {
    int width;
    int height;
    const char *format; // the camera's: yuy2 (empty), mjpeg or i420
};

class TSampleGrabberFrameTest : public CaptureFixture, public testing::WithParamInterface<FrameCase>
{
};

// The snapshot has the camera's full size and exactly the pixels the camera sent, whatever the row padding.
TEST_P(TSampleGrabberFrameTest, CopiesTheCamerasPictureAtFullSize)
{
    const FrameCase frame = GetParam();
    const CameraEnvironment camera(
        QByteArray::number(frame.width) + 'x' + QByteArray::number(frame.height), QByteArray(frame.format));
    ASSERT_TRUE(startPreview());
    TBitmap bitmap;
    ASSERT_TRUE(waitForFrame(bitmap));
    graph.StopGraph();
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    ASSERT_EQ(bitmap.Width(), frame.width);
    ASSERT_EQ(bitmap.Height(), frame.height);

    const QImage snapshot = imageOf(bitmap);
    const QImage expected = referenceFrame(frame.width, frame.height, frame.format, frameNumberOf(snapshot));
    ASSERT_FALSE(expected.isNull());
    EXPECT_TRUE(snapshot == expected) << "frame " << frameNumberOf(snapshot);
    // Rows are top-down: the red bar (sixth of eight) is at the top, the counter row at the bottom.
    const QColor red = snapshot.pixelColor(frame.width * 11 / 16, 2);
    EXPECT_GT(red.red(), 200);
    EXPECT_LT(red.green(), 60);
    EXPECT_LT(red.blue(), 60);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TSampleGrabberFrameTest,
    testing::Values(FrameCase { 640, 480, "" }, FrameCase { 1280, 720, "" },
        FrameCase { 641, 481, "" }, // rows of 1923 bytes, padded to 1924
        FrameCase { 321, 240, "" }, // 964-byte rows
        FrameCase { 1280, 720, "mjpeg" }, FrameCase { 642, 482, "mjpeg" }, FrameCase { 640, 480, "i420" },
        FrameCase { 641, 479, "i420" }));

// The bitmap is made in the layout the media type promises, straight from the camera's frame.
TEST_F(TSampleGrabberTest, ThirtyTwoBitTypeGivesAThirtyTwoBitBitmapOfTheSamePicture)
{
    const CameraEnvironment camera(QByteArrayLiteral("321x240"));
    grabber.MediaType()->SetSubType(MEDIASUBTYPE_RGB32);
    ASSERT_TRUE(startPreview());
    TBitmap bitmap;
    ASSERT_TRUE(waitForFrame(bitmap));
    graph.StopGraph();
    EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
    ASSERT_EQ(bitmap.image().size(), QSize(321, 240));
    const QImage snapshot = imageOf(bitmap);
    EXPECT_TRUE(snapshot == referenceFrame(321, 240, QByteArray(), frameNumberOf(snapshot)));
}

TEST_F(TSampleGrabberTest, ATypeThatIsNoBitmapsKeepsFramesButCopiesNone)
{
    const CameraEnvironment camera(QByteArrayLiteral("64x48"));
    grabber.MediaType()->SetSubType(MEDIASUBTYPE_YUY2);
    ASSERT_TRUE(startPreview());
    ASSERT_TRUE(QTest::qWaitFor([&] { return grabber.FrameAge() >= 0; }, 5000));
    TBitmap bitmap(2, 2, pf24bit);
    EXPECT_FALSE(grabber.CopyFrameToBitmap(&bitmap));
    EXPECT_EQ(bitmap.Width(), 2);
}

TEST_F(TSampleGrabberTest, WithABufferCopiesAtMostTheImageSize)
{
    const CameraEnvironment camera(QByteArrayLiteral("16x16"));
    ASSERT_TRUE(startPreview());
    TBitmap first;
    ASSERT_TRUE(waitForFrame(first));
    const int imageSize = 16 * 3 * 16;

    QByteArray longer(imageSize + 100, '\x5A');
    TBitmap bitmap;
    ASSERT_TRUE(grabber.CopyFrameToBitmap(&bitmap, longer.data(), int(longer.size())));
    const QImage copied = imageOf(bitmap);
    EXPECT_EQ(copied.size(), QSize(16, 16));
    EXPECT_EQ(copied.pixelColor(15, 15), QColor(0x5A, 0x5A, 0x5A));

    // A shorter buffer fills the first rows only; the rest stays as the new picture began.
    QByteArray shorter(16 * 3, '\x11');
    TBitmap partial;
    ASSERT_TRUE(grabber.CopyFrameToBitmap(&partial, shorter.data(), int(shorter.size())));
    EXPECT_EQ(imageOf(partial).pixelColor(15, 0), QColor(0x11, 0x11, 0x11));

    TBitmap untouched(2, 2, pf24bit);
    EXPECT_FALSE(grabber.CopyFrameToBitmap(&untouched, longer.data(), 0));
    EXPECT_EQ(untouched.Width(), 2);
}

TEST_F(TSampleGrabberTest, VanishingCameraBringsDeviceLostOnceAndStopsSendingFrames)
{
    const CameraEnvironment camera(QByteArrayLiteral("64x48"), QByteArray(), QByteArrayLiteral("10"));
    std::vector<int> events;
    bool lostRemoved = false;
    graph.OnDSEvent = [&](QObject *, int code, std::intptr_t, std::intptr_t) { events.push_back(code); };
    graph.OnGraphDeviceLost = [&](QObject *, bool removed) { lostRemoved = removed; };
    ASSERT_TRUE(startPreview());
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::count(events.begin(), events.end(), EC_ERRORABORT) > 0; }, 5000));
    EXPECT_EQ(std::count(events.begin(), events.end(), EC_DEVICE_LOST), 1);
    EXPECT_TRUE(lostRemoved);

    // The last frame kept is the tenth (number 9): nothing streams after the error.
    TBitmap bitmap;
    ASSERT_TRUE(grabber.CopyFrameToBitmap(&bitmap));
    EXPECT_EQ(frameNumberOf(imageOf(bitmap)), 9);
    // An unplugged camera is not listed and cannot be connected again until it comes back.
    EXPECT_FALSE(testCameraMoniker());
    graph.ResetGraph();
    graph.SetActive(false);
    EXPECT_EQ(std::count(events.begin(), events.end(), EC_ERRORABORT), 1);
}

TEST(TMediaTypeTest, GrabberTypeIsTheSeventyTwoBytesOfTheForm)
{
    const TSampleGrabber grabber;
    const QByteArray expected = QByteArray::fromHex("76696473000010008000"
                                                    "00aa00389b71" // MEDIATYPE_Video
                                                    "7deb36e44f52ce119f530020af0ba770" // MEDIASUBTYPE_RGB24
                                                    "ffffffff"
                                                    "00000000"
                                                    "01000000" // fixed, not temporal, 1
                                                    "809f580556c3ce11bf0100aa0055595a" // FORMAT_VideoInfo
                                                    "00000000"
                                                    "00000000"
                                                    "00000000"); // pUnk, cbFormat, pbFormat
    EXPECT_EQ(grabber.MediaType()->data(), expected);
}

TEST(TMediaTypeTest, ReadsRecordAndFormatBlockAndIgnoresPointerFields)
{
    TMediaType type;
    QByteArray stream = TMediaType(MEDIATYPE_Video).data();
    stream.replace(60, 4, QByteArray::fromHex("deadbeef")); // a pUnk from another process
    stream.replace(64, 4, QByteArray::fromHex("03000000"));
    stream.replace(68, 4, QByteArray::fromHex("cafebabe"));
    stream.append("abc");
    type.Setdata(stream);
    EXPECT_EQ(type.Format(), QByteArray("abc"));
    const QByteArray written = type.data();
    EXPECT_EQ(written.size(), TMediaType::recordSize + 3);
    EXPECT_EQ(written.mid(60, 4), QByteArray(4, '\0'));
    EXPECT_EQ(written.mid(68, 4), QByteArray(4, '\0'));

    // Short records and format sizes that do not match the bytes are refused, the old value kept.
    for (const QByteArray &broken : { stream.left(71), stream.left(74), stream + "x" }) {
        EXPECT_THROW(type.Setdata(broken), EInvalidStoredData);
        EXPECT_EQ(type.Format(), QByteArray("abc"));
    }
    // Equality looks at types and format bytes only; a copy is equal and owns its block.
    TMediaType copy;
    copy.Assign(type);
    EXPECT_TRUE(copy.Equals(type));
    copy.SetFormat(QByteArray("xbc"));
    EXPECT_FALSE(copy.Equals(type));
    EXPECT_EQ(type.Format(), QByteArray("abc"));
    // What is written reads back to the same bytes.
    TMediaType again;
    again.Setdata(written);
    EXPECT_EQ(again.data(), written);
}

} // namespace
} // namespace pixolo
