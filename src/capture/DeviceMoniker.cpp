#include "capture/DeviceMoniker.h"

#include "capture/DeviceRegistry.h"
#include "capture/ElementFilter.h"

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

PropertyBag::PropertyBag(QList<QPair<QString, QString>> values)
    : m_values(std::move(values))
{
}

HRESULT PropertyBag::Read(const QString &name, QString &value)
{
    for (const auto &[key, text] : m_values) {
        if (key == name) {
            value = text;
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

DeviceMoniker::DeviceMoniker(DeviceIdentity identity, GstRef<GstDevice> device)
    : m_identity(std::move(identity))
    , m_device(std::move(device))
{
}

HRESULT DeviceMoniker::BindToStorage(RefPtr<IPropertyBag> &bag)
{
    QList<QPair<QString, QString>> values { { QStringLiteral("FriendlyName"), m_identity.displayName },
        { QStringLiteral("CLSID"), CLSID_DeviceSource.toString() } };
    if (!m_identity.properties.isEmpty()) {
        values.append({ QStringLiteral("DevicePath"), m_identity.properties.first().second });
    }
    bag = makeObject<PropertyBag>(std::move(values));
    return S_OK;
}

HRESULT DeviceMoniker::BindToObject(RefPtr<IBaseFilter> &filter)
{
    filter.reset();
    GstRef<GstDevice> device = m_device;
    if (!device) {
        for (GstRef<GstDevice> &candidate : SystemDeviceEnum::listDevices(m_identity.deviceClass)) {
            if (DeviceIdentity::of(candidate.get()).matches(m_identity)) {
                device = std::move(candidate);
                break;
            }
        }
    }
    if (!device) {
        return E_NOT_FOUND;
    }
    auto element = GstRef<GstElement>::adopt(gst_device_create_element(device.get(), nullptr));
    if (!element) {
        return E_FAIL;
    }
    const auto caps = GstRef<GstCaps>::adopt(gst_device_get_caps(device.get()));
    FilterCore::markDeviceSource(element.get(), caps.get());
    filter = makeObject<ElementFilter>(std::move(element), CLSID_DeviceSource);
    return S_OK;
}

HRESULT DeviceMoniker::Save(QByteArray &stream)
{
    stream.append(CLSID_DeviceMoniker.toBytes());
    stream.append(m_identity.toBytes());
    return S_OK;
}

FactoryMoniker::FactoryMoniker(GstElementFactory *factory)
    : m_factory(GstRef<GstElementFactory>::ref(factory))
{
}

HRESULT FactoryMoniker::BindToStorage(RefPtr<IPropertyBag> &bag)
{
    const char *name = GST_OBJECT_NAME(m_factory.get());
    const char *longName = gst_element_factory_get_metadata(m_factory.get(), GST_ELEMENT_METADATA_LONGNAME);
    bag = makeObject<PropertyBag>(QList<QPair<QString, QString>> {
        { QStringLiteral("FriendlyName"), QString::fromUtf8(longName ? longName : name) },
        { QStringLiteral("CLSID"), ElementClassId(name).toString() } });
    return S_OK;
}

HRESULT FactoryMoniker::BindToObject(RefPtr<IBaseFilter> &filter)
{
    auto element = GstRef<GstElement>::adopt(gst_element_factory_create(m_factory.get(), nullptr));
    if (!element) {
        filter.reset();
        return E_FAIL;
    }
    filter = makeObject<ElementFilter>(std::move(element), ElementClassId(GST_OBJECT_NAME(m_factory.get())));
    return S_OK;
}

HRESULT FactoryMoniker::Save(QByteArray &)
{
    return E_NOTIMPL;
}

HRESULT SystemDeviceEnum::CreateClassEnumerator(const GUID &category, RefPtr<IEnumMoniker> &enumerator, std::uint32_t)
{
    enumerator.reset();
    std::vector<RefPtr<IMoniker>> monikers;
    for (GstRef<GstDevice> &device : listDevices(category)) {
        DeviceIdentity identity = DeviceIdentity::of(device.get());
        monikers.push_back(makeObject<DeviceMoniker>(std::move(identity), std::move(device)));
    }
    if (monikers.empty()) {
        return S_FALSE;
    }
    enumerator = makeObject<MonikerEnum>(std::move(monikers));
    return S_OK;
}

std::vector<GstRef<GstDevice>> SystemDeviceEnum::listDevices(const GUID &category)
{
    // The registries probe once and then follow the monitor: listing costs no probe.
    if (category == CLSID_VideoInputDeviceCategory) {
        return DeviceRegistry::videoSources().devices();
    }
    if (category == CLSID_AudioInputDeviceCategory) {
        return DeviceRegistry::audioSources().devices();
    }
    return {};
}

std::vector<GstRef<GstDevice>> SystemDeviceEnum::listDevices(const QString &deviceClass)
{
    return DeviceRegistry::ofClass(deviceClass).devices();
}

MonikerEnum::MonikerEnum(std::vector<RefPtr<IMoniker>> monikers)
    : m_monikers(std::move(monikers))
{
}

HRESULT MonikerEnum::Next(RefPtr<IMoniker> &moniker)
{
    if (m_position >= m_monikers.size()) {
        moniker.reset();
        return S_FALSE;
    }
    moniker = m_monikers[m_position++];
    return S_OK;
}

HRESULT MonikerEnum::Skip(std::uint32_t count)
{
    const size_t left = m_monikers.size() - m_position;
    m_position += std::min<size_t>(count, left);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT MonikerEnum::Reset()
{
    m_position = 0;
    return S_OK;
}

HRESULT SaveMonikerToStream(IMoniker *moniker, QByteArray &stream)
{
    return moniker ? moniker->Save(stream) : E_POINTER;
}

HRESULT LoadMonikerFromStream(const QByteArray &stream, RefPtr<IMoniker> &moniker)
{
    moniker.reset();
    if (stream.size() < GUID::byteSize) {
        return E_INVALIDARG;
    }
    const GUID classId = GUID::readFrom(reinterpret_cast<const unsigned char *>(stream.constData()));
    if (classId != CLSID_DeviceMoniker) {
        return E_CLASS_NOT_REGISTERED;
    }
    auto identity = DeviceIdentity::fromBytes(QByteArrayView(stream).sliced(GUID::byteSize));
    if (!identity) {
        return E_INVALIDARG;
    }
    moniker = makeObject<DeviceMoniker>(std::move(*identity), GstRef<GstDevice>());
    return S_OK;
}

} // namespace pixolo
