// Device enumeration, stored monikers and the persisted byte block of the source filter.
#include "CaptureTestSupport.h"

#include "capture/TFilter.h"
#include "capture/TSysDevEnum.h"

#include <gtest/gtest.h>

namespace pixolo
{
namespace
{

using namespace test;

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
