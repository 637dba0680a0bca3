#include "capture/DeviceRegistry.h"

#include "capture/DeviceMoniker.h"
#include "capture/FailureReport.h"
#include "capture/GraphElement.h"

#include <QCoreApplication>
#include <QEvent>

#include <map>

namespace pixolo
{

namespace
{

QEvent::Type changeNoticeType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

DeviceRegistry *&registryOf(const QString &key)
{
    static std::map<QString, DeviceRegistry *> registries; // never freed: they live as long as the process
    return registries[key];
}

} // namespace

DeviceRegistry &DeviceRegistry::videoSources()
{
    DeviceRegistry *&registry = registryOf(QStringLiteral("Video/Source"));
    if (!registry) {
        registry = new DeviceRegistry(QStringLiteral("Video/Source"), "video/x-raw; image/jpeg");
    }
    return *registry;
}

DeviceRegistry &DeviceRegistry::audioSources()
{
    DeviceRegistry *&registry = registryOf(QStringLiteral("Audio/Source"));
    if (!registry) {
        registry = new DeviceRegistry(QStringLiteral("Audio/Source"), "audio/x-raw");
    }
    return *registry;
}

DeviceRegistry &DeviceRegistry::ofClass(const QString &deviceClass)
{
    if (deviceClass == QLatin1String("Video/Source")) {
        return videoSources();
    }
    if (deviceClass == QLatin1String("Audio/Source")) {
        return audioSources();
    }
    DeviceRegistry *&registry = registryOf(deviceClass);
    if (!registry) {
        registry = new DeviceRegistry(deviceClass, nullptr);
    }
    return *registry;
}

DeviceRegistry::DeviceRegistry(const QString &deviceClass, const char *caps)
    : m_deviceClass(deviceClass)
    , m_caps(caps)
{
    initialiseGStreamer();
    start();
}

DeviceRegistry::~DeviceRegistry()
{
    stop();
}

void DeviceRegistry::start()
{
    m_monitor = GstRef<GstDeviceMonitor>::adopt(gst_device_monitor_new());
    auto caps = GstRef<GstCaps>::adopt(m_caps.isEmpty() ? nullptr : gst_caps_from_string(m_caps.constData()));
    gst_device_monitor_add_filter(m_monitor.get(), m_deviceClass.toUtf8().constData(), caps.get());
    const auto bus = GstRef<GstBus>::adopt(gst_device_monitor_get_bus(m_monitor.get()));
    gst_bus_set_sync_handler(bus.get(), &DeviceRegistry::onBusMessage, this, nullptr);
    // Probes every provider once; a provider that can watch its devices goes on doing so. A monitor that cannot
    // start (no provider at all) leaves an empty list.
    gst_device_monitor_start(m_monitor.get());
}

void DeviceRegistry::stop()
{
    if (!m_monitor) {
        return;
    }
    gst_device_monitor_stop(m_monitor.get());
    const auto bus = GstRef<GstBus>::adopt(gst_device_monitor_get_bus(m_monitor.get()));
    gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
    QCoreApplication::removePostedEvents(this, changeNoticeType());
    m_noticePosted = false;
    m_monitor.reset();
}

void DeviceRegistry::reload()
{
    stop();
    start();
    Q_EMIT devicesChanged();
}

void DeviceRegistry::reloadAll()
{
    for (const QString &key : { QStringLiteral("Video/Source"), QStringLiteral("Audio/Source") }) {
        if (DeviceRegistry *registry = registryOf(key)) {
            registry->reload();
        }
    }
}

std::vector<GstRef<GstDevice>> DeviceRegistry::devices() const
{
    std::vector<GstRef<GstDevice>> devices;
    if (!m_monitor) {
        return devices;
    }
    GList *list = gst_device_monitor_get_devices(m_monitor.get()); // the running providers' own lists
    std::vector<GstRef<GstDevice>> listed;
    std::vector<DeviceListing> listings;
    for (GList *item = list; item; item = item->next) {
        auto device = GstRef<GstDevice>::adopt(GST_DEVICE(item->data));
        listings.push_back({ DeviceIdentity::of(device.get()).duplicateKey(),
            g_str_has_prefix(G_OBJECT_TYPE_NAME(device.get()), "GstPipeWire") != FALSE });
        listed.push_back(std::move(device));
    }
    g_list_free(list);
    for (const size_t index : distinctListings(listings)) {
        devices.push_back(std::move(listed[index]));
    }
    return devices;
}

std::vector<size_t> distinctListings(const std::vector<DeviceListing> &listings)
{
    // Each device keeps the place of its first listing; a later PipeWire listing takes that place over.
    std::vector<size_t> kept;
    std::map<QString, size_t> place; // duplicate key → position in `kept`
    for (size_t i = 0; i < listings.size(); ++i) {
        const auto [found, added] = place.try_emplace(listings[i].duplicateKey, kept.size());
        if (added) {
            kept.push_back(i);
        } else if (listings[i].pipeWire && !listings[kept[found->second]].pipeWire) {
            kept[found->second] = i;
        }
    }
    return kept;
}

GstBusSyncReply DeviceRegistry::onBusMessage(GstBus *, GstMessage *message, gpointer self)
{
    // Runs on a provider's thread: it only posts one notice, however many changes come before it is handled.
    auto *registry = static_cast<DeviceRegistry *>(self);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_DEVICE_ADDED:
    case GST_MESSAGE_DEVICE_REMOVED:
    case GST_MESSAGE_DEVICE_CHANGED:
        if (!registry->m_noticePosted.exchange(true)) {
            guardCallback("Noticing a changed camera",
                [registry] { QCoreApplication::postEvent(registry, new QEvent(changeNoticeType())); });
        }
        break;
    default:
        break;
    }
    gst_message_unref(message); // dropped here, so freed here
    return GST_BUS_DROP;
}

bool DeviceRegistry::event(QEvent *event)
{
    if (event->type() == changeNoticeType()) {
        m_noticePosted = false;
        Q_EMIT devicesChanged();
        return true;
    }
    return QObject::event(event);
}

} // namespace pixolo
