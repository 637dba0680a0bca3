#pragma once

#include "capture/DeviceMoniker.h"
#include "capture/Guid.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace pixolo
{

// The device categories, under the framework's published identifiers.
inline constexpr GUID CLSID_VideoInputDeviceCategory { 0x860BB310, 0x5D01, 0x11D0,
    { 0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86 } };
inline constexpr GUID CLSID_AudioInputDeviceCategory { 0x33D9A762, 0x90C8, 0x11D0,
    { 0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86 } };

// One device of a category.
struct TDeviceEntry {
    QString FriendlyName; // at most 255 characters
    GUID CLSID; // the class of the device's source filter; null when the device has none
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
    std::optional<pixolo::DeviceMoniker> DeviceMoniker(int index) const;

    static constexpr int maxNameLength = 255;

private:
    void SelectGUIDCategory(const GUID &category);

    std::vector<std::unique_ptr<TDeviceEntry>> m_devices;
    GUID m_category;
};

} // namespace pixolo
