// The format taken from a camera that offers several.
#include "capture/CameraFormat.h"

#include <gtest/gtest.h>

namespace pixolo
{
namespace
{

QString textOf(const GstCaps *caps)
{
    if (!caps) {
        return QStringLiteral("none");
    }
    gchar *text = gst_caps_to_string(caps);
    const QString result = QString::fromUtf8(text);
    g_free(text);
    return result;
}

QString chosenFrom(const char *offered)
{
    const auto caps = GstRef<GstCaps>::adopt(gst_caps_from_string(offered));
    return textOf(bestCameraFormat(caps.get()).get());
}

// What a camera's output is linked with, given what its pad answers and what its device lists (nullptr: nothing);
// "cannot connect" when the stream cannot be connected at all.
QString linkFor(const char *padCaps, const char *deviceCaps)
{
    const auto pad = GstRef<GstCaps>::adopt(padCaps ? gst_caps_from_string(padCaps) : nullptr);
    const auto device = GstRef<GstCaps>::adopt(deviceCaps ? gst_caps_from_string(deviceCaps) : nullptr);
    const CameraLink link = cameraLinkFor(pad.get(), device.get());
    return link.connectable ? textOf(link.caps.get()) : QStringLiteral("cannot connect");
}

TEST(CameraFormatTest, LargestPictureThenHighestRateThenRawFrames)
{
    // A common full HD camera: raw frames only slowly at full size, JPEG at full speed.
    EXPECT_EQ(chosenFrom("video/x-raw, format=YUY2, width=1920, height=1080, framerate=5/1; "
                         "video/x-raw, format=YUY2, width=640, height=480, framerate=30/1; "
                         "image/jpeg, width=1920, height=1080, framerate={ 30/1, 15/1 }; "
                         "image/jpeg, width=1280, height=720, framerate=60/1"),
        QStringLiteral("image/jpeg, width=(int)1920, height=(int)1080, framerate=(fraction)30/1"));
    // Equal in size and rate: raw frames, which need no decoding.
    EXPECT_EQ(chosenFrom("image/jpeg, width=1280, height=720, framerate=30/1; "
                         "video/x-raw, format=YUY2, width=1280, height=720, framerate=30/1"),
        QStringLiteral("video/x-raw, format=(string)YUY2, width=(int)1280, height=(int)720, "
                       "framerate=(fraction)30/1"));
    // The largest picture wins over a faster smaller one; a rate range gives its top.
    EXPECT_EQ(chosenFrom("video/x-raw, format=NV12, width=640, height=480, framerate=[ 1/1, 90/1 ]; "
                         "video/x-raw, format=NV12, width=2592, height=1944, framerate=[ 1/1, 15/2 ]"),
        QStringLiteral("video/x-raw, format=(string)NV12, width=(int)2592, height=(int)1944, "
                       "framerate=(fraction)15/2"));
}

TEST(CameraFormatTest, NothingToChooseWhereTheSourceScalesOrOffersOneFormat)
{
    EXPECT_EQ(chosenFrom("video/x-raw, format=YUY2, width=[ 16, 8192 ], height=[ 16, 8192 ], framerate=30/1; "
                         "image/jpeg, width=[ 16, 8192 ], height=[ 16, 8192 ], framerate=30/1"),
        QStringLiteral("none"));
    EXPECT_EQ(chosenFrom("video/x-raw, format=YUY2, width=640, height=480, framerate=30/1"), QStringLiteral("none"));
    EXPECT_EQ(chosenFrom("ANY"), QStringLiteral("none"));
    // Formats nothing here decodes are passed over.
    EXPECT_EQ(chosenFrom("video/x-h264, width=3840, height=2160, framerate=30/1; "
                         "image/jpeg, width=1280, height=720, framerate=30/1"),
        QStringLiteral("image/jpeg, width=(int)1280, height=(int)720, framerate=(fraction)30/1"));
}

TEST(CameraFormatTest, ASourceThatAnswersAnythingIsToldAFormatFromItsDevicesList)
{
    // A PipeWire camera offering several formats: the best of its device's list, as for any camera.
    EXPECT_EQ(linkFor("ANY",
                  "video/x-raw, format=YUY2, width=640, height=480, framerate=30/1; "
                  "video/x-raw, format=YUY2, width=1280, height=720, framerate=10/1; "
                  "image/jpeg, width=1280, height=720, framerate=30/1"),
        QStringLiteral("image/jpeg, width=(int)1280, height=(int)720, framerate=(fraction)30/1"));
    // A single format (what a published stream lists) is taken as it stands; so are ranges, less what is no picture.
    EXPECT_EQ(linkFor("ANY", "video/x-raw, format=YUY2, width=640, height=480, framerate=30/1"),
        QStringLiteral("video/x-raw, format=(string)YUY2, width=(int)640, height=(int)480, framerate=(fraction)30/1"));
    EXPECT_EQ(linkFor("ANY",
                  "video/x-raw, format=NV12, width=[ 16, 1920 ], height=[ 16, 1080 ]; "
                  "audio/x-raw, rate=48000"),
        QStringLiteral("video/x-raw, format=(string)NV12, width=(int)[ 16, 1920 ], height=(int)[ 16, 1080 ]"));
    // A pad that says nothing at all counts as "anything".
    EXPECT_EQ(linkFor("EMPTY", "video/x-raw, format=YUY2, width=320, height=240, framerate=15/1"),
        QStringLiteral("video/x-raw, format=(string)YUY2, width=(int)320, height=(int)240, framerate=(fraction)15/1"));
}

TEST(CameraFormatTest, NeitherPadNorDeviceNamingAPictureCannotBeConnected)
{
    EXPECT_EQ(linkFor("ANY", nullptr), QStringLiteral("cannot connect"));
    EXPECT_EQ(linkFor("ANY", "ANY"), QStringLiteral("cannot connect"));
    EXPECT_EQ(linkFor("ANY", "video/x-h264, width=1920, height=1080"), QStringLiteral("cannot connect"));
}

TEST(CameraFormatTest, APadThatSaysWhatItSendsIsChosenFromAndTheDevicesListIsNotAsked)
{
    // Its own list decides, even where the device lists something else.
    EXPECT_EQ(linkFor("video/x-raw, format=YUY2, width=640, height=480, framerate=30/1; "
                      "video/x-raw, format=YUY2, width=800, height=600, framerate=30/1",
                  "image/jpeg, width=1920, height=1080, framerate=30/1"),
        QStringLiteral("video/x-raw, format=(string)YUY2, width=(int)800, height=(int)600, framerate=(fraction)30/1"));
    // One format on the pad: linked as the pad says, with no filter of ours.
    EXPECT_EQ(
        linkFor("video/x-raw, format=YUY2, width=640, height=480, framerate=30/1", nullptr), QStringLiteral("none"));
}

} // namespace
} // namespace pixolo
