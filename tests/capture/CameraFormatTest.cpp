// The format taken from a camera that offers several.
#include "capture/CameraFormat.h"

#include <gtest/gtest.h>

namespace pixolo
{
namespace
{

QString chosenFrom(const char *offered)
{
    const auto caps = GstRef<GstCaps>::adopt(gst_caps_from_string(offered));
    const GstRef<GstCaps> chosen = bestCameraFormat(caps.get());
    if (!chosen) {
        return QStringLiteral("none");
    }
    gchar *text = gst_caps_to_string(chosen.get());
    const QString result = QString::fromUtf8(text);
    g_free(text);
    return result;
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

} // namespace
} // namespace pixolo
