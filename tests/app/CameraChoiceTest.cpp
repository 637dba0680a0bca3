// Which camera the main window uses, and the choice kept in the settings file.
#include "app/CameraChoice.h"
#include "app/PubFun.h"
#include "capture/DeviceMoniker.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace pixolo;

namespace
{

// A stored moniker of a camera, as a real enumeration would make it.
QByteArray identityOf(const QString &name, const QString &path)
{
    const DeviceIdentity identity { QStringLiteral("Video/Source"), name, { { QStringLiteral("device.path"), path } } };
    return DeviceMoniker(identity).Save();
}

} // namespace

TEST(CameraChoiceTest, TheChosenCameraWhenPresentElseTheFirst)
{
    const std::vector<CameraChoice::Camera> cameras {
        { QStringLiteral("Built-in"), identityOf(QStringLiteral("Built-in"), QStringLiteral("/dev/video0")) },
        { QStringLiteral("USB"), identityOf(QStringLiteral("USB"), QStringLiteral("/dev/video2")) }
    };
    EXPECT_EQ(CameraChoice::preferredIndex(cameras, cameras[1].identity), 1);
    EXPECT_EQ(CameraChoice::preferredIndex(cameras, QByteArray()), 0);
    // Chosen once, unplugged now: the first, as without a choice.
    EXPECT_EQ(
        CameraChoice::preferredIndex(cameras, identityOf(QStringLiteral("USB"), QStringLiteral("/dev/video4"))), 0);
    EXPECT_EQ(CameraChoice::preferredIndex({}, cameras[1].identity), -1);
}

TEST(CameraChoiceTest, TheChoiceRoundTripsThroughTheSettingsFile)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Pixolo.ini"));
    const QByteArray identity = identityOf(QStringLiteral("USB 摄像头 & Co"), QStringLiteral("/dev/video2"));
    IniWriteString(ini, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QStringLiteral("/photos/"));
    IniWriteString(ini, QStringLiteral("Setup"), QStringLiteral("Camera"), CameraChoice::settingsText(identity));
    EXPECT_EQ(CameraChoice::fromSettingsText(
                  IniReadString(ini, QStringLiteral("Setup"), QStringLiteral("Camera"), QString())),
        identity);
    EXPECT_EQ(IniReadString(ini, QStringLiteral("Setup"), QStringLiteral("PhotoPath"), QString()),
        QStringLiteral("/photos/"));
}

TEST(CameraChoiceTest, TextThatIsNoIdentityIsNoChoice)
{
    const QString valid = CameraChoice::settingsText(identityOf(QStringLiteral("Cam"), QStringLiteral("/dev/video0")));
    for (const QString &text :
        { QString(), QStringLiteral("0"), QStringLiteral("not hex"), valid.left(valid.size() - 1),
            valid.left(valid.size() - 2), QStringLiteral("00112233445566778899aabbccddeeff") }) {
        EXPECT_TRUE(CameraChoice::fromSettingsText(text).isEmpty()) << text.toStdString();
    }
    EXPECT_FALSE(CameraChoice::fromSettingsText(QLatin1Char(' ') + valid.toUpper() + QLatin1Char(' ')).isEmpty());
}
