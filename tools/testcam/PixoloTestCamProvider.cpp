#include "PixoloTestCamProvider.h"

#include "PixoloTestCamSrc.h"
#include "TestPicture.h"

struct _PixoloTestCamProvider {
    GstDeviceProvider parent;
};

struct _PixoloTestCamDevice {
    GstDevice parent;
};

G_DEFINE_TYPE(PixoloTestCamProvider, pixolo_test_cam_provider, GST_TYPE_DEVICE_PROVIDER)
G_DEFINE_TYPE(PixoloTestCamDevice, pixolo_test_cam_device, GST_TYPE_DEVICE)

namespace
{

GstDevice *newDevice()
{
    const auto config = pixolo::testcam::CameraConfig::fromEnvironment();
    GstCaps *caps = config.mjpeg
        ? gst_caps_new_simple("image/jpeg", "width", G_TYPE_INT, config.width, "height", G_TYPE_INT, config.height,
            "framerate", GST_TYPE_FRACTION, pixolo::testcam::CameraConfig::framesPerSecond, 1, nullptr)
        : gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "YUY2", "width", G_TYPE_INT, config.width,
            "height", G_TYPE_INT, config.height, "framerate", GST_TYPE_FRACTION,
            pixolo::testcam::CameraConfig::framesPerSecond, 1, nullptr);
    GstStructure *properties = gst_structure_new("pixolo-testcam-properties", "device.api", G_TYPE_STRING, "pixolo",
        "device.path", G_TYPE_STRING, "pixolo-testcam:0", nullptr);
    auto *device = static_cast<GstDevice *>(g_object_new(PIXOLO_TYPE_TEST_CAM_DEVICE, "display-name",
        "Pixolo Test Camera", "device-class", "Video/Source", "caps", caps, "properties", properties, nullptr));
    gst_caps_unref(caps);
    gst_structure_free(properties);
    return device;
}

GList *probe(GstDeviceProvider *)
{
    if (pixolo_test_cam_is_unplugged()) {
        return nullptr;
    }
    return g_list_append(nullptr, gst_object_ref_sink(newDevice()));
}

GstElement *createElement(GstDevice *, const gchar *name)
{
    return gst_element_factory_make("pixolotestcamsrc", name);
}

} // namespace

static void pixolo_test_cam_provider_class_init(PixoloTestCamProviderClass *klass)
{
    GstDeviceProviderClass *providerClass = GST_DEVICE_PROVIDER_CLASS(klass);
    providerClass->probe = probe;
    gst_device_provider_class_set_static_metadata(
        providerClass, "Pixolo Test Camera Provider", "Source/Video", "Lists the Pixolo virtual test camera", "Pixolo");
}

static void pixolo_test_cam_provider_init(PixoloTestCamProvider *)
{
}

static void pixolo_test_cam_device_class_init(PixoloTestCamDeviceClass *klass)
{
    GST_DEVICE_CLASS(klass)->create_element = createElement;
}

static void pixolo_test_cam_device_init(PixoloTestCamDevice *)
{
}
