#include "PixoloTestCamProvider.h"

#include "PixoloTestCamSrc.h"
#include "TestPicture.h"

#include <unistd.h>

#include <algorithm>
#include <mutex>
#include <vector>

using pixolo::testcam::CameraConfig;

struct _PixoloTestCamProvider {
    GstDeviceProvider parent;

    CameraConfig *config; // read from the environment when the provider starts
    GThread *poller; // while started: follows the plug file and the cameras' presence
    GMutex lock;
    GCond wake;
    gboolean stopping;
    gboolean present; // its cameras are in the list
    std::vector<GstDevice *> *devices; // the cameras while present, one reference each
};

struct _PixoloTestCamDevice {
    GstDevice parent;
    gint cameraIndex;
};

G_DEFINE_TYPE(PixoloTestCamProvider, pixolo_test_cam_provider, GST_TYPE_DEVICE_PROVIDER)
G_DEFINE_TYPE(PixoloTestCamDevice, pixolo_test_cam_device, GST_TYPE_DEVICE)

namespace
{

constexpr gint64 pollInterval = 100 * G_TIME_SPAN_MILLISECOND;

// The started providers, so that a vanishing source can have them drop their cameras at once.
std::mutex providersLock;
std::vector<PixoloTestCamProvider *> startedProviders;

GstDevice *newDevice(const CameraConfig &config, int index)
{
    GstCaps *caps = nullptr;
    switch (config.format) {
    case CameraConfig::Mjpeg:
        caps = gst_caps_new_simple("image/jpeg", "width", G_TYPE_INT, config.width, "height", G_TYPE_INT, config.height,
            "framerate", GST_TYPE_FRACTION, CameraConfig::framesPerSecond, 1, nullptr);
        break;
    case CameraConfig::I420:
    case CameraConfig::Yuy2:
        caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING,
            config.format == CameraConfig::I420 ? "I420" : "YUY2", "width", G_TYPE_INT, config.width, "height",
            G_TYPE_INT, config.height, "framerate", GST_TYPE_FRACTION, CameraConfig::framesPerSecond, 1, nullptr);
        break;
    }
    const std::string path = "pixolo-testcam:" + std::to_string(index);
    const std::string name = CameraConfig::displayName(index, config.count);
    GstStructure *properties = gst_structure_new("pixolo-testcam-properties", "device.api", G_TYPE_STRING, "pixolo",
        "device.path", G_TYPE_STRING, path.c_str(), nullptr);
    auto *device = static_cast<GstDevice *>(g_object_new(PIXOLO_TYPE_TEST_CAM_DEVICE, "display-name", name.c_str(),
        "device-class", "Video/Source", "caps", caps, "properties", properties, nullptr));
    PIXOLO_TEST_CAM_DEVICE(device)->cameraIndex = index;
    gst_caps_unref(caps);
    gst_structure_free(properties);
    return device;
}

int cameraCount(const CameraConfig &config)
{
    return std::max(1, config.count);
}

bool camerasPresent(const CameraConfig &config)
{
    return !pixolo_test_cam_is_unplugged() && (config.plugFile.empty() || ::access(config.plugFile.c_str(), F_OK) == 0);
}

// Adds or removes the provider's cameras as their presence says. Any thread; the provider's lock is held.
void updateLocked(PixoloTestCamProvider *provider)
{
    const bool present = camerasPresent(*provider->config);
    if (bool(provider->present) == present) {
        return;
    }
    provider->present = present;
    if (present) {
        for (int i = 0; i < cameraCount(*provider->config); ++i) {
            GstDevice *device = GST_DEVICE(gst_object_ref_sink(newDevice(*provider->config, i)));
            provider->devices->push_back(device);
            gst_device_provider_device_add(GST_DEVICE_PROVIDER(provider), device);
        }
    } else {
        for (GstDevice *device : *provider->devices) {
            gst_device_provider_device_remove(GST_DEVICE_PROVIDER(provider), device);
            gst_object_unref(device);
        }
        provider->devices->clear();
    }
}

gpointer poll(gpointer data)
{
    auto *provider = static_cast<PixoloTestCamProvider *>(data);
    g_mutex_lock(&provider->lock);
    while (!provider->stopping) {
        updateLocked(provider);
        g_cond_wait_until(&provider->wake, &provider->lock, g_get_monotonic_time() + pollInterval);
    }
    g_mutex_unlock(&provider->lock);
    return nullptr;
}

GList *probe(GstDeviceProvider *)
{
    const CameraConfig config = CameraConfig::fromEnvironment();
    pixolo_test_cam_replug_if_changed(config.vanishAfter);
    if (!camerasPresent(config)) {
        return nullptr;
    }
    GList *devices = nullptr;
    for (int i = 0; i < cameraCount(config); ++i) {
        devices = g_list_append(devices, gst_object_ref_sink(newDevice(config, i)));
    }
    return devices;
}

gboolean start(GstDeviceProvider *base)
{
    auto *provider = PIXOLO_TEST_CAM_PROVIDER(base);
    *provider->config = CameraConfig::fromEnvironment();
    pixolo_test_cam_replug_if_changed(provider->config->vanishAfter);
    g_mutex_lock(&provider->lock);
    provider->stopping = FALSE;
    provider->present = FALSE;
    updateLocked(provider); // the cameras are listed before start returns
    g_mutex_unlock(&provider->lock);
    provider->poller = g_thread_new("pixolo-testcam-plug", &poll, provider);
    const std::lock_guard lock(providersLock);
    startedProviders.push_back(provider);
    return TRUE;
}

void stop(GstDeviceProvider *base)
{
    auto *provider = PIXOLO_TEST_CAM_PROVIDER(base);
    {
        const std::lock_guard lock(providersLock);
        startedProviders.erase(
            std::remove(startedProviders.begin(), startedProviders.end(), provider), startedProviders.end());
    }
    g_mutex_lock(&provider->lock);
    provider->stopping = TRUE;
    g_cond_signal(&provider->wake);
    g_mutex_unlock(&provider->lock);
    g_thread_join(provider->poller);
    provider->poller = nullptr;
    g_mutex_lock(&provider->lock);
    for (GstDevice *device : *provider->devices) {
        gst_device_provider_device_remove(base, device);
        gst_object_unref(device);
    }
    provider->devices->clear();
    provider->present = FALSE;
    g_mutex_unlock(&provider->lock);
}

void finalize(GObject *object)
{
    auto *provider = PIXOLO_TEST_CAM_PROVIDER(object);
    delete provider->config;
    delete provider->devices;
    g_mutex_clear(&provider->lock);
    g_cond_clear(&provider->wake);
    G_OBJECT_CLASS(pixolo_test_cam_provider_parent_class)->finalize(object);
}

GstElement *createElement(GstDevice *device, const gchar *name)
{
    GstElement *element = gst_element_factory_make("pixolotestcamsrc", name);
    if (element) {
        g_object_set(element, "camera-index", PIXOLO_TEST_CAM_DEVICE(device)->cameraIndex, nullptr);
    }
    return element;
}

} // namespace

void pixolo_test_cam_providers_update(void)
{
    const std::lock_guard lock(providersLock);
    for (PixoloTestCamProvider *provider : startedProviders) {
        g_mutex_lock(&provider->lock);
        updateLocked(provider);
        g_mutex_unlock(&provider->lock);
    }
}

static void pixolo_test_cam_provider_class_init(PixoloTestCamProviderClass *klass)
{
    G_OBJECT_CLASS(klass)->finalize = finalize;
    GstDeviceProviderClass *providerClass = GST_DEVICE_PROVIDER_CLASS(klass);
    providerClass->probe = probe;
    providerClass->start = start;
    providerClass->stop = stop;
    gst_device_provider_class_set_static_metadata(providerClass, "Pixolo Test Camera Provider", "Source/Video",
        "Lists the Pixolo virtual test cameras and follows their plugging", "Pixolo");
}

static void pixolo_test_cam_provider_init(PixoloTestCamProvider *provider)
{
    provider->config = new CameraConfig();
    provider->devices = new std::vector<GstDevice *>();
    provider->poller = nullptr;
    provider->stopping = FALSE;
    provider->present = FALSE;
    g_mutex_init(&provider->lock);
    g_cond_init(&provider->wake);
}

static void pixolo_test_cam_device_class_init(PixoloTestCamDeviceClass *klass)
{
    GST_DEVICE_CLASS(klass)->create_element = createElement;
}

static void pixolo_test_cam_device_init(PixoloTestCamDevice *device)
{
    device->cameraIndex = 0;
}
