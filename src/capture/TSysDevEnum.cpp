#include "capture/TSysDevEnum.h"

#include "capture/DeviceRegistry.h"

namespace pixolo
{

namespace
{

// Cut to at most `length` characters without splitting a surrogate pair.
QString cutName(const QString &name, int length)
{
    if (name.size() <= length) {
        return name;
    }
    return name.left(name.at(length - 1).isHighSurrogate() ? length - 1 : length);
}

// The monikers of a category's devices in the system's order, duplicates dropped; none for an empty or unknown
// category. The registries probe once and then follow the monitor: listing costs no probe.
std::vector<DeviceMoniker> enumerate(const GUID &category)
{
    std::vector<DeviceMoniker> monikers;
    DeviceRegistry *registry = category == CLSID_VideoInputDeviceCategory ? &DeviceRegistry::videoSources()
        : category == CLSID_AudioInputDeviceCategory                      ? &DeviceRegistry::audioSources()
                                                                          : nullptr;
    if (registry) {
        for (const GstRef<GstDevice> &device : registry->devices()) {
            monikers.emplace_back(DeviceIdentity::of(device.get()));
        }
    }
    return monikers;
}

} // namespace

TSysDevEnum::TSysDevEnum(const GUID &category)
{
    SelectGUIDCategory(category);
}

void TSysDevEnum::SelectGUIDCategory(const GUID &category)
{
    m_devices.clear();
    m_category = category;
    for (const pixolo::DeviceMoniker &moniker : enumerate(category)) {
        auto entry = std::make_unique<TDeviceEntry>();
        entry->FriendlyName = cutName(moniker.FriendlyName(), maxNameLength);
        entry->CLSID = CLSID_DeviceSource; // every device's source is made by its device
        m_devices.push_back(std::move(entry));
    }
}

const TDeviceEntry *TSysDevEnum::Device(int index) const
{
    return index >= 0 && index < DeviceCount() ? m_devices[size_t(index)].get() : nullptr;
}

std::optional<pixolo::DeviceMoniker> TSysDevEnum::DeviceMoniker(int index) const
{
    if (index < 0 || index >= DeviceCount()) {
        return std::nullopt;
    }
    std::vector<pixolo::DeviceMoniker> monikers = enumerate(m_category);
    if (size_t(index) >= monikers.size()) {
        return std::nullopt; // the devices changed since the list was made
    }
    return std::move(monikers[size_t(index)]);
}

} // namespace pixolo
