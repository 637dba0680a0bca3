#include "capture/TSysDevEnum.h"

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

RefPtr<IEnumMoniker> classEnumerator(const GUID &category)
{
    RefPtr<IEnumMoniker> enumerator;
    const auto deviceEnum = createFrameworkObject<ICreateDevEnum>(CLSID_SystemDeviceEnum);
    if (deviceEnum && deviceEnum->CreateClassEnumerator(category, enumerator, 0) != S_OK) {
        enumerator.reset();
    }
    return enumerator;
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
    const RefPtr<IEnumMoniker> enumerator = classEnumerator(category);
    if (!enumerator) {
        return; // an empty or unknown category: no devices, no error
    }
    RefPtr<IMoniker> moniker;
    while (enumerator->Next(moniker) == S_OK) {
        RefPtr<IPropertyBag> bag;
        if (Failed(moniker->BindToStorage(bag))) {
            continue; // a device whose names cannot be read is left out
        }
        auto entry = std::make_unique<TDeviceEntry>();
        QString text;
        if (Succeeded(bag->Read(QStringLiteral("FriendlyName"), text))) {
            entry->FriendlyName = cutName(text, maxNameLength);
        }
        if (Succeeded(bag->Read(QStringLiteral("CLSID"), text))) {
            entry->CLSID = GUID::fromString(text).value_or(GUID_NULL);
        }
        m_devices.push_back(std::move(entry));
    }
}

const TDeviceEntry *TSysDevEnum::Device(int index) const
{
    return index >= 0 && index < DeviceCount() ? m_devices[size_t(index)].get() : nullptr;
}

RefPtr<IMoniker> TSysDevEnum::DeviceMoniker(int index) const
{
    if (index < 0 || index >= DeviceCount()) {
        return {};
    }
    const RefPtr<IEnumMoniker> enumerator = classEnumerator(m_category);
    RefPtr<IMoniker> moniker;
    if (!enumerator || enumerator->Skip(std::uint32_t(index)) != S_OK || enumerator->Next(moniker) != S_OK) {
        return {}; // the devices changed since the list was made
    }
    enumerator->Reset();
    return moniker;
}

} // namespace pixolo
