// Device enumeration, identifiers, stored monikers and the persisted byte block of the source filter.
#include "CaptureTestSupport.h"

#include "capture/DeviceMoniker.h"
#include "capture/DeviceRegistry.h"
#include "capture/GraphElement.h"
#include "capture/TFilter.h"
#include "capture/TMediaType.h"
#include "capture/TSysDevEnum.h"

#include <gtest/gtest.h>

namespace pixolo
{
namespace
{

using namespace test;

DeviceIdentity identity(const char *name, QList<QPair<QString, QString>> properties)
{
    return { QStringLiteral("Video/Source"), QString::fromUtf8(name), std::move(properties) };
}

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
    EXPECT_FALSE(DeviceMoniker::Load(MEDIATYPE_Video.toBytes() + bytes));
    const std::optional<DeviceMoniker> moniker = DeviceMoniker::Load(CLSID_DeviceMoniker.toBytes() + bytes);
    ASSERT_TRUE(moniker);
    EXPECT_EQ(moniker->identity(), identity);
    EXPECT_EQ(moniker->Save(), CLSID_DeviceMoniker.toBytes() + bytes);
    EXPECT_EQ(moniker->DevicePath(), QStringLiteral("/dev/video7"));
    EXPECT_FALSE(moniker->BindToObject()); // no such camera here
}

TEST(DeviceListTest, ACameraThatPipeWireManagesIsListedOnceAsItsPipeWireNode)
{
    // The kernel's listing names the device node; PipeWire's node for it carries the same path under its own key.
    const DeviceIdentity v4l2
        = identity("HD Webcam", { { QStringLiteral("device.path"), QStringLiteral("/dev/video0") } });
    const DeviceIdentity node = identity("HD Webcam (V4L2)",
        { { QStringLiteral("api.v4l2.path"), QStringLiteral("/dev/video0") },
            { QStringLiteral("object.path"), QStringLiteral("v4l2:/dev/video0") } });
    const DeviceIdentity other
        = identity("USB Camera", { { QStringLiteral("device.path"), QStringLiteral("/dev/video2") } });
    const DeviceIdentity published = identity("Desk Camera", {}); // a stream published into PipeWire: no device
    ASSERT_EQ(v4l2.duplicateKey(), node.duplicateKey());
    EXPECT_NE(v4l2.duplicateKey(), other.duplicateKey());

    // Whatever order the providers list them in, the node is kept, at the place of the device's first listing.
    EXPECT_EQ(distinctListings({ { v4l2.duplicateKey(), false }, { other.duplicateKey(), false },
                  { node.duplicateKey(), true }, { published.duplicateKey(), true } }),
        (std::vector<size_t> { 2, 1, 3 }));
    EXPECT_EQ(distinctListings({ { node.duplicateKey(), true }, { v4l2.duplicateKey(), false } }),
        (std::vector<size_t> { 0 }));
    // Without PipeWire, the first listing of each device; the same device listed twice by one provider, once.
    EXPECT_EQ(distinctListings(
                  { { v4l2.duplicateKey(), false }, { other.duplicateKey(), false }, { v4l2.duplicateKey(), false } }),
        (std::vector<size_t> { 0, 1 }));
    // Two PipeWire nodes of one device: the first.
    EXPECT_EQ(distinctListings({ { node.duplicateKey(), true }, { node.duplicateKey(), true } }),
        (std::vector<size_t> { 0 }));
    EXPECT_TRUE(distinctListings({}).empty());
}

TEST(TSysDevEnumTest, NoDeviceGivesCountZeroAndNoMoniker)
{
    const NoDevices none;
    const TSysDevEnum devices(CLSID_VideoInputDeviceCategory);
    EXPECT_EQ(devices.DeviceCount(), 0);
    EXPECT_FALSE(devices.DeviceMoniker(0));
    EXPECT_EQ(devices.Device(0), nullptr);
}

TEST(TSysDevEnumTest, ListsTheVirtualCameraWithItsClassAndBindsIt)
{
    const CameraEnvironment camera;
    const TSysDevEnum devices(CLSID_VideoInputDeviceCategory);
    int found = -1;
    for (int i = 0; i < devices.DeviceCount(); ++i) {
        if (devices.Device(i)->FriendlyName == testCameraName) {
            EXPECT_EQ(found, -1) << "listed twice";
            found = i;
        }
    }
    ASSERT_GE(found, 0);
    EXPECT_EQ(devices.Device(found)->CLSID, CLSID_DeviceSource);
    // The moniker is looked up afresh and binds to a source element of the device.
    const std::optional<DeviceMoniker> moniker = devices.DeviceMoniker(found);
    ASSERT_TRUE(moniker);
    EXPECT_EQ(moniker->FriendlyName(), testCameraName);
    const GstRef<GstElement> source = moniker->BindToObject();
    ASSERT_TRUE(source);
    EXPECT_TRUE(isDeviceSource(source.get()));
    // Positions outside the list give nothing.
    EXPECT_FALSE(devices.DeviceMoniker(devices.DeviceCount()));
    EXPECT_FALSE(devices.DeviceMoniker(-1));
}

TEST(TSysDevEnumTest, UnknownCategoryIsEmpty)
{
    const GUID unknown { 0x12345678, 0x1234, 0x1234, { 1, 2, 3, 4, 5, 6, 7, 8 } };
    EXPECT_EQ(TSysDevEnum(unknown).DeviceCount(), 0);
}

TEST(TBaseFilterTest, StoredMonikerReloadsToTheSameDeviceAndBindsAfreshEachTime)
{
    const CameraEnvironment camera;
    const auto moniker = testCameraMoniker();
    ASSERT_TRUE(moniker);
    TBaseFilter stored;
    stored.StoreMoniker(&*moniker);
    ASSERT_GT(stored.Length(), GUID::byteSize);
    // The block begins with the moniker's class identifier in memory layout.
    EXPECT_EQ(stored.Block().left(GUID::byteSize), CLSID_DeviceMoniker.toBytes());

    // Through its persisted form, as form data would carry it.
    TBaseFilter reloaded;
    reloaded.Setdata(stored.data());
    const std::optional<DeviceMoniker> reread = reloaded.LoadMoniker();
    ASSERT_TRUE(reread);
    EXPECT_EQ(reread->FriendlyName(), testCameraName);
    EXPECT_EQ(reloaded.Block(), stored.Block());

    const GstRef<GstElement> first = reloaded.CreateFilter();
    const GstRef<GstElement> second = reloaded.CreateFilter();
    ASSERT_TRUE(first);
    ASSERT_TRUE(second);
    EXPECT_NE(first.get(), second.get());
}

TEST(TBaseFilterTest, NoMonikerIsFourZeroBytes)
{
    TBaseFilter filter;
    filter.SetBlock(QByteArray("x"));
    filter.StoreMoniker(nullptr);
    EXPECT_EQ(filter.data(), QByteArray(4, '\0'));
    EXPECT_FALSE(filter.LoadMoniker());
    EXPECT_FALSE(filter.CreateFilter());

    TBaseFilter fromForm;
    fromForm.Setdata(QByteArray(4, '\0'));
    EXPECT_EQ(fromForm.Length(), 0);
}

TEST(TBaseFilterTest, DeviceThatIsGoneOrBytesThatAreNotAMonikerGiveNoFilter)
{
    const CameraEnvironment camera;
    const auto moniker = testCameraMoniker();
    ASSERT_TRUE(moniker);
    TBaseFilter stored;
    stored.StoreMoniker(&*moniker);
    {
        const NoDevices unplugged;
        EXPECT_TRUE(stored.LoadMoniker());
        EXPECT_FALSE(stored.CreateFilter());
    }
    const QByteArray block = stored.Block();
    for (const QByteArray &broken : { block.left(GUID::byteSize + 5), block + "x", QByteArray(20, 'z') }) {
        TBaseFilter filter;
        filter.SetBlock(broken);
        EXPECT_FALSE(filter.LoadMoniker()) << broken.toHex().constData();
    }
}

TEST(TPersistentMemoryTest, MalformedStoredBlocksRaiseAndKeepTheOldBytes)
{
    TPersistentMemory memory;
    memory.Setdata(QByteArray::fromHex("03000000616263"));
    EXPECT_EQ(memory.Block(), QByteArray("abc"));
    for (const char *hex : { "", "030000", "0400000061626364ff", "05000000616263" }) {
        EXPECT_THROW(memory.Setdata(QByteArray::fromHex(hex)), EInvalidStoredData) << hex;
        EXPECT_EQ(memory.Block(), QByteArray("abc"));
    }
    // Equality wants the same non-empty bytes.
    TPersistentMemory other;
    EXPECT_FALSE(other.Equals(TPersistentMemory()));
    other.Assign(memory);
    EXPECT_TRUE(other.Equals(memory));
}

} // namespace
} // namespace pixolo
