#include "capture/DeviceMoniker.h"

#include "capture/DeviceRegistry.h"
#include "capture/GraphElement.h"

#include <QtEndian>

namespace pixolo
{

namespace
{

// Properties that name a device's hardware and stay the same from one run to the next (session serials and ids
// are left out on purpose).
constexpr const char *identifyingKeys[] = {
    "device.path",
    "api.v4l2.path",
    "api.libcamera.path",
    "object.path",
    "device.bus-path",
    "device.serial",
};

constexpr std::uint32_t identityVersion = 1;
constexpr const char *classKey = "class";
constexpr const char *nameKey = "name";

void appendText(QByteArray &out, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    unsigned char length[4];
    qToLittleEndian(std::uint32_t(utf8.size()), length);
    out.append(reinterpret_cast<const char *>(length), 4);
    out.append(utf8);
}

// Reads a 32-bit length and that many bytes; false when the bytes run out.
bool readText(QByteArrayView &in, QString &text)
{
    if (in.size() < 4) {
        return false;
    }
    const std::uint32_t length = qFromLittleEndian<std::uint32_t>(in.data());
    in = in.sliced(4);
    if (length > std::uint32_t(in.size())) {
        return false;
    }
    text = QString::fromUtf8(in.first(length));
    in = in.sliced(length);
    return true;
}

} // namespace

DeviceIdentity DeviceIdentity::of(GstDevice *device)
{
    DeviceIdentity identity;
    gchar *deviceClass = gst_device_get_device_class(device);
    gchar *displayName = gst_device_get_display_name(device);
    identity.deviceClass = QString::fromUtf8(deviceClass);
    identity.displayName = QString::fromUtf8(displayName);
    g_free(deviceClass);
    g_free(displayName);
    if (GstStructure *properties = gst_device_get_properties(device)) {
        for (const char *key : identifyingKeys) {
            if (const gchar *value = gst_structure_get_string(properties, key)) {
                identity.properties.append({ QString::fromLatin1(key), QString::fromUtf8(value) });
            }
        }
        gst_structure_free(properties);
    }
    return identity;
}

QString DeviceIdentity::duplicateKey() const
{
    // Two providers listing one camera agree on its device node even when they name it differently.
    for (const auto &[key, value] : properties) {
        if (key == QLatin1String("api.v4l2.path") || key == QLatin1String("device.path")) {
            return QStringLiteral("path:") + value;
        }
    }
    return QString::fromUtf8(toBytes().toHex());
}

QByteArray DeviceIdentity::toBytes() const
{
    QByteArray out;
    unsigned char word[4];
    qToLittleEndian(identityVersion, word);
    out.append(reinterpret_cast<const char *>(word), 4);
    qToLittleEndian(std::uint32_t(properties.size() + 2), word);
    out.append(reinterpret_cast<const char *>(word), 4);
    appendText(out, QString::fromLatin1(classKey));
    appendText(out, deviceClass);
    appendText(out, QString::fromLatin1(nameKey));
    appendText(out, displayName);
    for (const auto &[key, value] : properties) {
        appendText(out, key);
        appendText(out, value);
    }
    return out;
}

std::optional<DeviceIdentity> DeviceIdentity::fromBytes(QByteArrayView bytes)
{
    if (bytes.size() < 8 || qFromLittleEndian<std::uint32_t>(bytes.data()) != identityVersion) {
        return std::nullopt;
    }
    const std::uint32_t count = qFromLittleEndian<std::uint32_t>(bytes.data() + 4);
    bytes = bytes.sliced(8);
    if (count < 2 || count > std::uint32_t(bytes.size()) / 8) { // each entry takes at least its two lengths
        return std::nullopt;
    }
    DeviceIdentity identity;
    for (std::uint32_t i = 0; i < count; ++i) {
        QString key;
        QString value;
        if (!readText(bytes, key) || !readText(bytes, value)) {
            return std::nullopt;
        }
        if (i == 0 && key == QLatin1String(classKey)) {
            identity.deviceClass = value;
        } else if (i == 1 && key == QLatin1String(nameKey)) {
            identity.displayName = value;
        } else if (i >= 2) {
            identity.properties.append({ key, value });
        } else {
            return std::nullopt;
        }
    }
    if (!bytes.isEmpty()) {
        return std::nullopt;
    }
    return identity;
}

DeviceMoniker::DeviceMoniker(DeviceIdentity identity)
    : m_identity(std::move(identity))
{
}

QString DeviceMoniker::DevicePath() const
{
    return m_identity.properties.isEmpty() ? QString() : m_identity.properties.first().second;
}

QByteArray DeviceMoniker::Save() const
{
    return CLSID_DeviceMoniker.toBytes() + m_identity.toBytes();
}

std::optional<DeviceMoniker> DeviceMoniker::Load(QByteArrayView bytes)
{
    if (bytes.size() < GUID::byteSize
        || GUID::readFrom(reinterpret_cast<const unsigned char *>(bytes.data())) != CLSID_DeviceMoniker) {
        return std::nullopt;
    }
    auto identity = DeviceIdentity::fromBytes(bytes.sliced(GUID::byteSize));
    if (!identity) {
        return std::nullopt;
    }
    return DeviceMoniker(std::move(*identity));
}

GstRef<GstElement> DeviceMoniker::BindToObject() const
{
    GstRef<GstDevice> device;
    for (GstRef<GstDevice> &candidate : DeviceRegistry::ofClass(m_identity.deviceClass).devices()) {
        if (DeviceIdentity::of(candidate.get()).matches(m_identity)) {
            device = std::move(candidate);
            break;
        }
    }
    if (!device) {
        return {};
    }
    auto element = GstRef<GstElement>::adopt(gst_device_create_element(device.get(), nullptr));
    if (element) {
        const auto caps = GstRef<GstCaps>::adopt(gst_device_get_caps(device.get()));
        markDeviceSource(element.get(), caps.get());
    }
    return element;
}

} // namespace pixolo
