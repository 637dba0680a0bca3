// The graph beneath the components: error texts, the elements of a running preview and their states, the rate of a
// rendered chain, and the virtual camera's pictures and settings.
#include "CaptureFixture.h"

#include "capture/EDirectShowException.h"
#include "capture/GraphElement.h"
#include "capture/GraphPipeline.h"

#include "TestPicture.h"

#include <QTemporaryDir>

#include <QTest>

#include <gtest/gtest.h>

namespace pixolo
{
namespace
{

using namespace test;

TEST(EDirectShowExceptionTest, MessageIsTheTextAndTheCodeInUpperCaseHexadecimal)
{
    EXPECT_STREQ(
        EDirectShowException(E_FILE_NOT_FOUND).what(), "The system cannot find the file specified. ($80070002).");
    EXPECT_STREQ(EDirectShowException(E_TIMEOUT).what(), "A time-out has expired. ($8004022E).");
    EXPECT_EQ(EDirectShowException(E_CANNOT_RENDER).ErrorCode(), E_CANNOT_RENDER);
    // A code without a text still names itself.
    EXPECT_STREQ(EDirectShowException(dsErrorCode(0x8123ABCD)).what(), " ($8123ABCD).");
}

using FilterStateTest = CaptureFixture;

TEST_F(FilterStateTest, FiltersFollowTheGraphAndHaveTheirPinsInOrder)
{
    const CameraEnvironment camera;
    ASSERT_TRUE(startPreview());
    TBitmap frame;
    ASSERT_TRUE(waitForFrame(frame));
    GstElement *source = filter.GetClientFilter();
    const auto stateOf = [](GstElement *element) {
        GstState state = GST_STATE_VOID_PENDING;
        gst_element_get_state(element, &state, nullptr, 0);
        return state;
    };
    EXPECT_EQ(stateOf(source), GST_STATE_PLAYING);

    const auto pads = padsOf(grabber.GetClientFilter());
    ASSERT_EQ(pads.size(), 2u);
    EXPECT_EQ(GST_PAD_DIRECTION(pads[0].get()), GST_PAD_SINK);
    EXPECT_EQ(GST_PAD_DIRECTION(pads[1].get()), GST_PAD_SRC);
    // Between the grabber and the renderer: the preview's scaler, whose output the renderer takes.
    const auto owner = [](GstPad *pad) {
        const auto peer = GstRef<GstPad>::adopt(gst_pad_get_peer(pad));
        return GstRef<GstElement>::adopt(peer ? gst_pad_get_parent_element(peer.get()) : nullptr);
    };
    const GstRef<GstElement> scaler = owner(pads[1].get());
    ASSERT_TRUE(scaler);
    EXPECT_STREQ(GST_OBJECT_NAME(scaler.get()), "Video Scaler and Converter");
    const auto scalerPads = padsOf(scaler.get());
    ASSERT_EQ(scalerPads.size(), 2u);
    EXPECT_EQ(owner(scalerPads[1].get()).get(), videoWindow->GetClientFilter());

    // A camera's graph stops on its worker: the caller does not wait for it.
    EXPECT_TRUE(graph.StopGraph());
    EXPECT_TRUE(QTest::qWaitFor([&] { return stateOf(source) <= GST_STATE_READY; }, 2000));
    // The copy of the last frame outlives the stop.
    TBitmap afterStop;
    EXPECT_TRUE(grabber.CopyFrameToBitmap(&afterStop));
}

TEST(GraphPipelineTest, RateReachesARenderedChainAndRewindingWantsOne)
{
    GraphPipeline::setAudioSinkDescription("fakesink sync=true");
    QTemporaryDir folder;
    const QString sound = folder.filePath(QStringLiteral("tone.wav"));
    writeWav(sound, 200);
    GraphPipeline graph;
    EXPECT_FALSE(graph.rewind()); // nothing rendered yet
    EXPECT_TRUE(graph.setRate(2.0)); // kept for the chain to come
    graph.renderFile(sound);
    EXPECT_EQ(graph.rate(), 2.0);
    EXPECT_FALSE(graph.setRate(0.0));
    EXPECT_EQ(graph.rate(), 2.0);
    EXPECT_TRUE(graph.setRate(1.5)); // the chain is prerolled: it seeks at once
    EXPECT_TRUE(graph.rewind());
}

TEST(TestPictureTest, StampSurvivesJpegAndScalingDown)
{
    // A stamped frame carries its number and capture time through what the program does to frames: JPEG at the
    // photo's quality, and scaling to the preview's size.
    for (const auto &[width, height] : { std::pair { 640, 480 }, std::pair { 1920, 1080 }, std::pair { 641, 481 } }) {
        testcam::TestPicture picture(width, height, 0, true);
        const testcam::Stamp stamp { 123456789u, 0xABCDEF012345ull };
        picture.prepare(7, stamp);
        std::vector<std::uint8_t> jpeg;
        ASSERT_TRUE(picture.writeJpeg(jpeg, 75));
        const QImage decoded = QImage::fromData(jpeg.data(), int(jpeg.size()), "JPG");
        ASSERT_EQ(decoded.size(), QSize(width, height));
        for (const QImage &seen : { decoded, decoded.scaled(320, 240),
                 decoded.scaled(320, 240, Qt::IgnoreAspectRatio, Qt::SmoothTransformation) }) {
            const auto read = testcam::TestPicture::readStamp(
                seen.width(), seen.height(), [&](int x, int y) { return qGray(seen.pixel(x, y)); });
            ASSERT_TRUE(read.has_value()) << width << "x" << height << " seen at " << seen.width();
            EXPECT_EQ(read->sequence, stamp.sequence);
            EXPECT_EQ(read->timeUs, stamp.timeUs);
        }
    }
    // An unstamped picture has no stamp to read.
    testcam::TestPicture plain(640, 480);
    plain.prepare(7);
    std::vector<std::uint8_t> jpeg;
    ASSERT_TRUE(plain.writeJpeg(jpeg, 75));
    const QImage decoded = QImage::fromData(jpeg.data(), int(jpeg.size()), "JPG");
    EXPECT_FALSE(testcam::TestPicture::readStamp(
        decoded.width(), decoded.height(), [&](int x, int y) { return qGray(decoded.pixel(x, y)); }));
}

struct SettingCase {
    const char *size;
    const char *format;
    const char *vanish;
    int width;
    int height;
    bool mjpeg;
    unsigned vanishAfter;
};

class CameraConfigTest : public testing::TestWithParam<SettingCase>
{
};

// Readable values are taken; anything else leaves the default and says so on standard error.
TEST_P(CameraConfigTest, ReadsTheEnvironment)
{
    const SettingCase setting = GetParam();
    const CameraEnvironment environment(setting.size, setting.format, setting.vanish);
    const testcam::CameraConfig config = testcam::CameraConfig::fromEnvironment();
    EXPECT_EQ(config.width, setting.width);
    EXPECT_EQ(config.height, setting.height);
    EXPECT_EQ(config.format, setting.mjpeg ? testcam::CameraConfig::Mjpeg : testcam::CameraConfig::Yuy2);
    EXPECT_EQ(config.vanishAfter, setting.vanishAfter);
}

INSTANTIATE_TEST_SUITE_P(Values, CameraConfigTest,
    testing::Values(SettingCase { "", "", "", 640, 480, false, 0 },
        SettingCase { "1280x720", "mjpeg", "25", 1280, 720, true, 25 },
        SettingCase { "641X481", "yuy2", "0", 641, 481, false, 0 },
        SettingCase { "1280x720junk", "h264", "-3", 640, 480, false, 0 },
        SettingCase { "8x8", "", "ten", 640, 480, false, 0 }, // below the smallest side
        SettingCase { "9000x100", "", "", 640, 480, false, 0 }),
    [](const testing::TestParamInfo<SettingCase> &info) { return "Case" + std::to_string(info.index); });

} // namespace
} // namespace pixolo
