#include "capture/DeviceRegistry.h"

#include "capture/DeviceMoniker.h"
#include "capture/FailureReport.h"
#include "capture/GraphElement.h"

#include <QCoreApplication>
#include <QEvent>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <utility>

namespace pixolo
{

namespace
{

QEvent::Type changeNoticeType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

constexpr const char *kVideoClass = "Video/Source";
constexpr const char *kVideoCaps = "video/x-raw; image/jpeg";

GstDeviceMonitor *newMonitor(const char *deviceClass, const char *capsText)
{
    GstDeviceMonitor *monitor = gst_device_monitor_new();
    auto caps = GstRef<GstCaps>::adopt(capsText && *capsText ? gst_caps_from_string(capsText) : nullptr);
    gst_device_monitor_add_filter(monitor, deviceClass, caps.get());
    return monitor;
}

// The cameras' monitor started ahead on a thread of its own. Never freed: the thread may outlive main() when the
// program ends before the cameras are asked for.
struct PreparedMonitor {
    std::mutex lock;
    std::condition_variable ready;
    bool asked = false;
    bool done = false;
    GstDeviceMonitor *monitor = nullptr; // until the registry takes it
};

PreparedMonitor &preparedVideoMonitor()
{
    static auto *prepared = new PreparedMonitor;
    return *prepared;
}

// The monitor prepared ahead, once it has started; null when none was prepared or it was taken already.
GstDeviceMonitor *takePreparedVideoMonitor()
{
    PreparedMonitor &prepared = preparedVideoMonitor();
    std::unique_lock lock(prepared.lock);
    if (!prepared.asked) {
        return nullptr;
    }
    prepared.ready.wait(lock, [&] { return prepared.done; });
    return std::exchange(prepared.monitor, nullptr);
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
        registry = new DeviceRegistry(QString::fromLatin1(kVideoClass), kVideoCaps);
    }
    return *registry;
}

void DeviceRegistry::prepareVideoSources()
{
    PreparedMonitor &prepared = preparedVideoMonitor();
    {
        const std::lock_guard lock(prepared.lock);
        if (prepared.asked) {
            return;
        }
        prepared.asked = true;
    }
    std::thread([&prepared] {
        gst_init(nullptr, nullptr); // safe beside another thread's: the first one does the work, the other waits
        GstDeviceMonitor *monitor = newMonitor(kVideoClass, kVideoCaps);
        gst_device_monitor_start(monitor); // a monitor that cannot start (no provider) lists nothing
        const std::lock_guard lock(prepared.lock);
        prepared.monitor = monitor;
        prepared.done = true;
        prepared.ready.notify_all();
    }).detach();
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
    GstDeviceMonitor *prepared = m_deviceClass == QLatin1String(kVideoClass) ? takePreparedVideoMonitor() : nullptr;
    m_monitor = GstRef<GstDeviceMonitor>::adopt(
        prepared ? prepared : newMonitor(m_deviceClass.toUtf8().constData(), m_caps.constData()));
    const auto bus = GstRef<GstBus>::adopt(gst_device_monitor_get_bus(m_monitor.get()));
    gst_bus_set_sync_handler(bus.get(), &DeviceRegistry::onBusMessage, this, nullptr);
    if (prepared) {
        // Started already: its list is the devices now, so the notices of changes before the handler was set go.
        gst_bus_set_flushing(bus.get(), TRUE);
        gst_bus_set_flushing(bus.get(), FALSE);
        return;
    }
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
