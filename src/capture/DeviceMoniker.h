#pragma once

// Devices and their monikers: what finds a device again, and its saved form.

#include "capture/GstRef.h"
#include "capture/Guid.h"

#include <gst/gst.h>

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

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

// The class of a device's source filter, as its device entry gives it (whatever element the device makes).
inline constexpr GUID CLSID_DeviceSource { 0x5A0F6F5E, 0x3C1B, 0x4C52,
    { 0x9A, 0x1D, 0x50, 0x49, 0x58, 0x4F, 0x4C, 0x4F } };
// The class identifier that begins a saved device moniker.
inline constexpr GUID CLSID_DeviceMoniker { 0x5A0F6F60, 0x3C1B, 0x4C52,
    { 0x9A, 0x1D, 0x50, 0x49, 0x58, 0x4F, 0x4C, 0x4F } };

// Names one device: from an enumeration, or read back from its saved bytes. Binding it finds the device among those
// listed now and makes a new source element for it.
class DeviceMoniker
{
public:
    explicit DeviceMoniker(DeviceIdentity identity);

    const DeviceIdentity &identity() const { return m_identity; }
    QString FriendlyName() const { return m_identity.displayName; }
    // The device's node or path ("/dev/video0"), empty when it names none.
    QString DevicePath() const;

    // The saved form: CLSID_DeviceMoniker in memory layout, then the identity's bytes.
    QByteArray Save() const;
    // Nothing for bytes that do not hold a complete moniker of that class.
    static std::optional<DeviceMoniker> Load(QByteArrayView bytes);

    // A new source element of the device, marked as a device's source; none when the device is not listed now or
    // makes no element.
    GstRef<GstElement> BindToObject() const;

private:
    DeviceIdentity m_identity;
};

} // namespace pixolo
