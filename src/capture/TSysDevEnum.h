#pragma once

#include "capture/MediaFramework.h"

#include <QString>

#include <memory>
#include <vector>

namespace pixolo
{

// One device of a category.
struct TDeviceEntry {
    QString FriendlyName; // at most 255 characters
    GUID CLSID; // null when the device has none
};

// The devices of one category (e.g. CLSID_VideoInputDeviceCategory), listed once at creation in the system's
// order, and the moniker of a device by its position, looked up afresh each time.
class TSysDevEnum
{
public:
    explicit TSysDevEnum(const GUID &category);

    int DeviceCount() const { return int(m_devices.size()); }
    // The entry at the position; none outside 0 ≤ index < DeviceCount.
    const TDeviceEntry *Device(int index) const;
    // The moniker of the device at that position in a new enumeration; none outside the list.
    RefPtr<IMoniker> DeviceMoniker(int index) const;

    static constexpr int maxNameLength = 255;

private:
    void SelectGUIDCategory(const GUID &category);

    std::vector<std::unique_ptr<TDeviceEntry>> m_devices;
    GUID m_category;
};

} // namespace pixolo
