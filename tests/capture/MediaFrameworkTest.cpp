// The media framework layer's own pieces: identifiers, result codes, stored monikers, filter states, seeking and
// the virtual camera's settings.
#include "CaptureFixture.h"

#include "capture/DeviceMoniker.h"
#include "capture/EDirectShowException.h"

#include "TestPicture.h"

#include <QTemporaryDir>

#include <QTest>

#include <gtest/gtest.h>

namespace pixolo
{
namespace
{

using namespace test;

TEST(GuidTest, TextFormsAndMemoryLayout)
{
    EXPECT_EQ(MEDIATYPE_Video.toString(), QStringLiteral("{73646976-0000-0010-8000-00AA00389B71}"));
    EXPECT_EQ(GUID::fromString(u"{73646976-0000-0010-8000-00aa00389b71}"), MEDIATYPE_Video);
    EXPECT_EQ(GUID::fromString(u" 73646976-0000-0010-8000-00AA00389B71 "), MEDIATYPE_Video);
    for (const char16_t *broken :
        { u"", u"{}", u"{73646976-0000-0010-8000-00AA00389B7}", u"{73646976-0000-0010-8000-00AA00389B71",
            u"{73646976+0000-0010-8000-00AA00389B71}", u"{7364697G-0000-0010-8000-00AA00389B71}" }) {
        EXPECT_FALSE(GUID::fromString(broken)) << QString::fromUtf16(broken).toStdString();
    }
    // First three groups little-endian, the last eight bytes in order.
    EXPECT_EQ(MEDIASUBTYPE_RGB24.toBytes().toHex(), QByteArray("7deb36e44f52ce119f530020af0ba770"));
    EXPECT_EQ(GUID::readFrom(reinterpret_cast<const unsigned char *>(FORMAT_VideoInfo.toBytes().constData())),
        FORMAT_VideoInfo);
}

TEST(EDirectShowExceptionTest, MessageIsTheTextAndTheCodeInUpperCaseHexadecimal)
{
    EXPECT_STREQ(EDirectShowException(E_NOINTERFACE).what(), "No such interface supported. ($80004002).");
    EXPECT_EQ(EDirectShowException(E_CANNOT_RENDER).ErrorCode(), E_CANNOT_RENDER);
    // A code without a text still names itself.
    EXPECT_STREQ(EDirectShowException(makeFailure(0x8123ABCD)).what(), " ($8123ABCD).");
    EXPECT_EQ(RaiseOnFailure(S_FALSE), S_FALSE);
    EXPECT_EQ(RaiseOnFailure(S_CANT_CUE), S_CANT_CUE);
    EXPECT_THROW(RaiseOnFailure(E_FAIL), EDirectShowException);
}

TEST(DeviceMonikerTest, OneCameraListedByTwoProvidersIsOneDevice)
{
    // The kernel's provider and the sound server's name the same node under different keys and names.
    const DeviceIdentity byKernel { QStringLiteral("Video/Source"), QStringLiteral("USB Camera"),
        { { QStringLiteral("api.v4l2.path"), QStringLiteral("/dev/video2") } } };
    const DeviceIdentity byServer { QStringLiteral("Video/Source"), QStringLiteral("USB Camera (V4L2)"),
        { { QStringLiteral("device.path"), QStringLiteral("/dev/video2") },
            { QStringLiteral("object.path"), QStringLiteral("v4l2:/dev/video2") } } };
    const DeviceIdentity other { QStringLiteral("Video/Source"), QStringLiteral("USB Camera"),
        { { QStringLiteral("api.v4l2.path"), QStringLiteral("/dev/video4") } } };
    EXPECT_EQ(byKernel.duplicateKey(), byServer.duplicateKey());
    EXPECT_NE(byKernel.duplicateKey(), other.duplicateKey());
    // Without a device node, only an identical listing is the same device.
    const DeviceIdentity noPath { QStringLiteral("Video/Source"), QStringLiteral("Network camera"), {} };
    EXPECT_EQ(noPath.duplicateKey(), DeviceIdentity(noPath).duplicateKey());
    EXPECT_NE(
        noPath.duplicateKey(), DeviceIdentity({ noPath.deviceClass, QStringLiteral("Other"), {} }).duplicateKey());
}

TEST(DeviceMonikerTest, StoredBytesOfAnotherClassOrCutShortLoadNothing)
{
    const DeviceIdentity identity { QStringLiteral("Video/Source"), QStringLiteral("Camera"),
        { { QStringLiteral("device.path"), QStringLiteral("/dev/video7") } } };
    const QByteArray bytes = identity.toBytes();
    EXPECT_EQ(DeviceIdentity::fromBytes(bytes), identity);
    QByteArray runsPastTheEnd = bytes;
    runsPastTheEnd[8] = '\x7F'; // the first text's length
    for (const QByteArray &broken : { bytes.left(bytes.size() - 1), runsPastTheEnd, bytes + '\0' }) {
        EXPECT_FALSE(DeviceIdentity::fromBytes(broken));
    }
    RefPtr<IMoniker> moniker;
    EXPECT_EQ(LoadMonikerFromStream(MEDIATYPE_Video.toBytes() + bytes, moniker), E_CLASS_NOT_REGISTERED);
    EXPECT_EQ(LoadMonikerFromStream(CLSID_DeviceMoniker.toBytes() + bytes, moniker), S_OK);
    RefPtr<IBaseFilter> filter;
    EXPECT_EQ(moniker->BindToObject(filter), E_NOT_FOUND); // no such camera here
}

using FilterStateTest = CaptureFixture;

TEST_F(FilterStateTest, FiltersFollowTheGraphAndHaveTheirPinsInOrder)
{
    const CameraEnvironment camera;
    ASSERT_TRUE(startPreview());
    TBitmap frame;
    ASSERT_TRUE(waitForFrame(frame));
    const auto source = filter.QueryInterface<IBaseFilter>();
    FILTER_STATE state = State_Stopped;
    EXPECT_TRUE(Succeeded(source->GetState(0, state)));
    EXPECT_EQ(state, State_Running);

    std::vector<RefPtr<IPin>> pins;
    grabber.QueryInterface<IBaseFilter>()->EnumPins(pins);
    ASSERT_EQ(pins.size(), 2u);
    PIN_INFO input;
    PIN_INFO output;
    pins[0]->QueryPinInfo(input);
    pins[1]->QueryPinInfo(output);
    EXPECT_EQ(input.dir, PINDIR_INPUT);
    EXPECT_EQ(output.dir, PINDIR_OUTPUT);
    // Between the grabber and the renderer: the preview's scaler, whose output the renderer takes.
    RefPtr<IPin> peer;
    ASSERT_EQ(pins[1]->ConnectedTo(peer), S_OK);
    PIN_INFO peerInfo;
    peer->QueryPinInfo(peerInfo);
    ASSERT_TRUE(peerInfo.pFilter);
    FILTER_INFO scaler;
    peerInfo.pFilter->QueryFilterInfo(scaler);
    EXPECT_EQ(scaler.achName, QStringLiteral("Video Scaler and Converter"));
    std::vector<RefPtr<IPin>> scalerPins;
    peerInfo.pFilter->EnumPins(scalerPins);
    ASSERT_EQ(scalerPins.size(), 2u);
    RefPtr<IPin> rendererInput;
    ASSERT_EQ(scalerPins[1]->ConnectedTo(rendererInput), S_OK);
    PIN_INFO rendererInfo;
    rendererInput->QueryPinInfo(rendererInfo);
    EXPECT_EQ(rendererInfo.pFilter.get(), videoWindow->QueryInterface<IBaseFilter>().get());

    // A camera's graph stops on its worker: the caller does not wait for it.
    EXPECT_TRUE(graph.StopGraph());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            source->GetState(0, state);
            return state == State_Stopped;
        },
        2000));
    // The copy of the last frame outlives the stop.
    TBitmap afterStop;
    EXPECT_TRUE(grabber.CopyFrameToBitmap(&afterStop));
}

TEST(MediaSeekingTest, RateReachesARenderedChain)
{
    SetAudioSinkDescription("fakesink sync=true");
    QTemporaryDir folder;
    const QString sound = folder.filePath(QStringLiteral("tone.wav"));
    writeWav(sound, 200);
    TFilterGraph graph;
    graph.SetActive(true);
    graph.SetRate(2.0);
    graph.RenderMediaFile(sound);
    const auto seeking = graph.QueryInterface<IMediaSeeking>();
    ASSERT_TRUE(seeking);
    double rate = 0;
    seeking->GetRate(rate);
    EXPECT_EQ(rate, 2.0);
    EXPECT_EQ(seeking->SetRate(0.0), E_INVALIDARG);
    EXPECT_EQ(seeking->SetRate(1.5), S_OK); // the chain is prerolled: it seeks at once
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
