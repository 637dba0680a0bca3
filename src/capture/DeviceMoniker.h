#pragma once

// Devices and monikers: the system device enumerator over GstDeviceMonitor, the device moniker with its saved form,
// and the moniker of an element factory handed to the builder callbacks.

#include "capture/FrameworkObject.h"
#include "capture/GstRef.h"
#include "capture/MediaFramework.h"

#include <gst/gst.h>

#include <QList>
#include <QPair>
#include <QString>

#include <optional>
#include <vector>

namespace pixolo
{

// What finds a device again: its class, display name and the properties that name its hardware.
struct DeviceIdentity {
    QString deviceClass;
    QString displayName;
    QList<QPair<QString, QString>> properties; // identifying properties present on the device, in a fixed order

    static DeviceIdentity of(GstDevice *device);
    bool matches(const DeviceIdentity &other) const { return *this == other; }
    bool operator==(const DeviceIdentity &other) const = default;
    // The key under which two listings of the same hardware coincide.
    QString duplicateKey() const;

    // version (4) · entry count (4) · per entry: key length (4), UTF-8 key, value length (4), UTF-8 value; the
    // class and display name are the entries "class" and "name". Little-endian.
    QByteArray toBytes() const;
    static std::optional<DeviceIdentity> fromBytes(QByteArrayView bytes);
};

class PropertyBag final : public FrameworkObject<IPropertyBag>
{
public:
    explicit PropertyBag(QList<QPair<QString, QString>> values);
    HRESULT Read(const QString &name, QString &value) override;

private:
    QList<QPair<QString, QString>> m_values;
};

class DeviceMoniker final : public FrameworkObject<IMoniker>
{
public:
    // From an enumeration (device held) or from saved bytes (found again when bound).
    DeviceMoniker(DeviceIdentity identity, GstRef<GstDevice> device);

    HRESULT BindToStorage(RefPtr<IPropertyBag> &bag) override;
    HRESULT BindToObject(RefPtr<IBaseFilter> &filter) override;
    HRESULT Save(QByteArray &stream) override;

    const DeviceIdentity &identity() const { return m_identity; }

private:
    DeviceIdentity m_identity;
    GstRef<GstDevice> m_device;
};

// Names an element factory about to be used while a chain is built.
class FactoryMoniker final : public FrameworkObject<IMoniker>
{
public:
    explicit FactoryMoniker(GstElementFactory *factory);

    HRESULT BindToStorage(RefPtr<IPropertyBag> &bag) override;
    HRESULT BindToObject(RefPtr<IBaseFilter> &filter) override;
    HRESULT Save(QByteArray &stream) override; // E_NOTIMPL: factories are not stored

private:
    GstRef<GstElementFactory> m_factory;
};

class SystemDeviceEnum final : public FrameworkObject<ICreateDevEnum>
{
public:
    HRESULT CreateClassEnumerator(const GUID &category, RefPtr<IEnumMoniker> &enumerator, std::uint32_t flags) override;

    // The devices of a category in the monitor's order, duplicates dropped.
    static std::vector<GstRef<GstDevice>> listDevices(const GUID &category);
    static std::vector<GstRef<GstDevice>> listDevices(const QString &deviceClass);
};

class MonikerEnum final : public FrameworkObject<IEnumMoniker>
{
public:
    explicit MonikerEnum(std::vector<RefPtr<IMoniker>> monikers);
    HRESULT Next(RefPtr<IMoniker> &moniker) override;
    HRESULT Skip(std::uint32_t count) override;
    HRESULT Reset() override;

private:
    std::vector<RefPtr<IMoniker>> m_monikers;
    size_t m_position = 0;
};

} // namespace pixolo
