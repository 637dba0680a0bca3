// Device enumeration, stored monikers and the persisted byte block of the source filter.
#include "CaptureTestSupport.h"

#include "capture/DeviceMoniker.h"
#include "capture/DeviceRegistry.h"
#include "capture/TFilter.h"
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
    // The moniker is looked up afresh and binds to a source filter of the device.
    const RefPtr<IMoniker> moniker = devices.DeviceMoniker(found);
    ASSERT_TRUE(moniker);
    RefPtr<IBaseFilter> filter;
    ASSERT_EQ(moniker->BindToObject(filter), S_OK);
    GUID classId;
    filter->GetClassID(classId);
    EXPECT_EQ(classId, CLSID_DeviceSource);
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
    TBaseFilter stored;
    stored.StoreMoniker(testCameraMoniker().get());
    ASSERT_GT(stored.Length(), GUID::byteSize);
    // The block begins with the moniker's class identifier in memory layout.
    EXPECT_EQ(stored.Block().left(GUID::byteSize), CLSID_DeviceMoniker.toBytes());

    // Through its persisted form, as form data would carry it.
    TBaseFilter reloaded;
    reloaded.Setdata(stored.data());
    const RefPtr<IMoniker> moniker = reloaded.LoadMoniker();
    ASSERT_TRUE(moniker);
    RefPtr<IPropertyBag> bag;
    ASSERT_EQ(moniker->BindToStorage(bag), S_OK);
    QString name;
    bag->Read(QStringLiteral("FriendlyName"), name);
    EXPECT_EQ(name, testCameraName);

    const RefPtr<IBaseFilter> first = reloaded.CreateFilter();
    const RefPtr<IBaseFilter> second = reloaded.CreateFilter();
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
    TBaseFilter stored;
    stored.StoreMoniker(testCameraMoniker().get());
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
