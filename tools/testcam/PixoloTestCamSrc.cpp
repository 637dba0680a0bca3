#include "PixoloTestCamSrc.h"

#include "TestPicture.h"

#include <gst/video/video.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

using pixolo::testcam::CameraConfig;
using pixolo::testcam::TestPicture;

struct _PixoloTestCamSrc {
    GstPushSrc parent;

    CameraConfig *config; // read from the environment when the element is made
    TestPicture *picture; // between start and stop
    GstVideoInfo info; // of the raw frames
    guint64 frames; // sent since start
    GstClockTime timeBase; // running time of the first frame
    gboolean live;
};

G_DEFINE_TYPE(PixoloTestCamSrc, pixolo_test_cam_src, GST_TYPE_PUSH_SRC)

enum { PROP_0, PROP_IS_LIVE };

namespace
{

constexpr int jpegQuality = 85;

std::mutex unplugLock;
std::string unpluggedBy; // the value of PIXOLO_TESTCAM_VANISH_AFTER when the camera vanished; empty: present

std::string vanishSetting()
{
    const char *value = std::getenv("PIXOLO_TESTCAM_VANISH_AFTER");
    return value ? value : "";
}

void markUnplugged()
{
    const std::lock_guard lock(unplugLock);
    unpluggedBy = vanishSetting();
}

GstClockTime frameDuration()
{
    return gst_util_uint64_scale_int(GST_SECOND, 1, CameraConfig::framesPerSecond);
}

GstCaps *capsOf(const CameraConfig &config)
{
    if (config.mjpeg) {
        return gst_caps_new_simple("image/jpeg", "width", G_TYPE_INT, config.width, "height", G_TYPE_INT, config.height,
            "framerate", GST_TYPE_FRACTION, CameraConfig::framesPerSecond, 1, "pixel-aspect-ratio", GST_TYPE_FRACTION,
            1, 1, nullptr);
    }
    return gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "YUY2", "width", G_TYPE_INT, config.width,
        "height", G_TYPE_INT, config.height, "framerate", GST_TYPE_FRACTION, CameraConfig::framesPerSecond, 1,
        "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, "colorimetry", G_TYPE_STRING, "bt601", "interlace-mode",
        G_TYPE_STRING, "progressive", nullptr);
}

GstStaticPadTemplate sourceTemplate = GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS,
    GST_STATIC_CAPS("video/x-raw, format=(string)YUY2, width=(int)[16, 8192], height=(int)[16, 8192], "
                    "framerate=(fraction)30/1; "
                    "image/jpeg, width=(int)[16, 8192], height=(int)[16, 8192], framerate=(fraction)30/1"));

GstCaps *getCaps(GstBaseSrc *source, GstCaps *filter)
{
    GstCaps *caps = capsOf(*PIXOLO_TEST_CAM_SRC(source)->config);
    if (filter) {
        GstCaps *both = gst_caps_intersect_full(filter, caps, GST_CAPS_INTERSECT_FIRST);
        gst_caps_unref(caps);
        caps = both;
    }
    return caps;
}

gboolean start(GstBaseSrc *base)
{
    PixoloTestCamSrc *source = PIXOLO_TEST_CAM_SRC(base);
    if (pixolo_test_cam_is_unplugged()) {
        GST_ELEMENT_ERROR(source, RESOURCE, NOT_FOUND, ("Pixolo Test Camera is not plugged in."), (nullptr));
        return FALSE;
    }
    const CameraConfig &config = *source->config;
    source->picture = new TestPicture(config.width, config.height);
    gst_video_info_set_format(&source->info, GST_VIDEO_FORMAT_YUY2, guint(config.width), guint(config.height));
    source->frames = 0;
    source->timeBase = GST_CLOCK_TIME_NONE;
    return TRUE;
}

gboolean stop(GstBaseSrc *base)
{
    PixoloTestCamSrc *source = PIXOLO_TEST_CAM_SRC(base);
    delete source->picture;
    source->picture = nullptr;
    return TRUE;
}

void getTimes(GstBaseSrc *base, GstBuffer *buffer, GstClockTime *start, GstClockTime *end)
{
    // A live source is synchronised on its time stamps: the base class waits until each frame is due.
    if (PIXOLO_TEST_CAM_SRC(base)->live && GST_BUFFER_PTS_IS_VALID(buffer)) {
        *start = GST_BUFFER_PTS(buffer);
        *end = *start + GST_BUFFER_DURATION(buffer);
    } else {
        *start = GST_CLOCK_TIME_NONE;
        *end = GST_CLOCK_TIME_NONE;
    }
}

gboolean query(GstBaseSrc *base, GstQuery *query)
{
    if (GST_QUERY_TYPE(query) == GST_QUERY_LATENCY && PIXOLO_TEST_CAM_SRC(base)->live) {
        gst_query_set_latency(query, TRUE, frameDuration(), frameDuration());
        return TRUE;
    }
    return GST_BASE_SRC_CLASS(pixolo_test_cam_src_parent_class)->query(base, query);
}

// The running time now, where the first frame is placed so that the sink shows it at once.
GstClockTime runningTimeNow(GstElement *element)
{
    GstClock *clock = gst_element_get_clock(element);
    if (!clock) {
        return 0;
    }
    const GstClockTime now = gst_clock_get_time(clock);
    gst_object_unref(clock);
    const GstClockTime base = gst_element_get_base_time(element);
    return now > base ? now - base : 0;
}

GstFlowReturn create(GstPushSrc *push, GstBuffer **out)
{
    PixoloTestCamSrc *source = PIXOLO_TEST_CAM_SRC(push);
    const CameraConfig &config = *source->config;
    if (config.vanishAfter != 0 && source->frames >= config.vanishAfter) {
        markUnplugged();
        GST_ELEMENT_ERROR(source, RESOURCE, READ, ("Pixolo Test Camera was unplugged."),
            ("vanished after %u frames", config.vanishAfter));
        return GST_FLOW_ERROR;
    }
    source->picture->prepare(source->frames);
    GstBuffer *buffer = nullptr;
    if (config.mjpeg) {
        std::vector<std::uint8_t> jpeg;
        if (!source->picture->writeJpeg(jpeg, jpegQuality)) {
            GST_ELEMENT_ERROR(source, STREAM, ENCODE, ("Could not encode a test picture."), (nullptr));
            return GST_FLOW_ERROR;
        }
        buffer = gst_buffer_new_allocate(nullptr, jpeg.size(), nullptr);
        gst_buffer_fill(buffer, 0, jpeg.data(), jpeg.size());
    } else {
        buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&source->info), nullptr);
        GstMapInfo map;
        gst_buffer_map(buffer, &map, GST_MAP_WRITE);
        source->picture->writeYuy2(map.data, GST_VIDEO_INFO_PLANE_STRIDE(&source->info, 0));
        gst_buffer_unmap(buffer, &map);
    }
    if (source->timeBase == GST_CLOCK_TIME_NONE) {
        source->timeBase = source->live ? runningTimeNow(GST_ELEMENT(source)) : 0;
    }
    GST_BUFFER_PTS(buffer) = source->timeBase + source->frames * frameDuration();
    GST_BUFFER_DURATION(buffer) = frameDuration();
    GST_BUFFER_OFFSET(buffer) = source->frames;
    GST_BUFFER_OFFSET_END(buffer) = source->frames + 1;
    ++source->frames;
    *out = buffer;
    return GST_FLOW_OK;
}

void setProperty(GObject *object, guint id, const GValue *value, GParamSpec *spec)
{
    PixoloTestCamSrc *source = PIXOLO_TEST_CAM_SRC(object);
    if (id == PROP_IS_LIVE) {
        source->live = g_value_get_boolean(value);
        gst_base_src_set_live(GST_BASE_SRC(source), source->live);
    } else {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
    }
}

void getProperty(GObject *object, guint id, GValue *value, GParamSpec *spec)
{
    if (id == PROP_IS_LIVE) {
        g_value_set_boolean(value, PIXOLO_TEST_CAM_SRC(object)->live);
    } else {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
    }
}

void finalize(GObject *object)
{
    PixoloTestCamSrc *source = PIXOLO_TEST_CAM_SRC(object);
    delete source->picture;
    delete source->config;
    G_OBJECT_CLASS(pixolo_test_cam_src_parent_class)->finalize(object);
}

} // namespace

gboolean pixolo_test_cam_is_unplugged(void)
{
    const std::lock_guard lock(unplugLock);
    if (!unpluggedBy.empty() && unpluggedBy != vanishSetting()) {
        unpluggedBy.clear(); // the setting changed: the camera is plugged in again
    }
    return !unpluggedBy.empty();
}

static void pixolo_test_cam_src_class_init(PixoloTestCamSrcClass *klass)
{
    GObjectClass *objectClass = G_OBJECT_CLASS(klass);
    GstElementClass *elementClass = GST_ELEMENT_CLASS(klass);
    GstBaseSrcClass *baseClass = GST_BASE_SRC_CLASS(klass);
    objectClass->set_property = setProperty;
    objectClass->get_property = getProperty;
    objectClass->finalize = finalize;
    g_object_class_install_property(objectClass, PROP_IS_LIVE,
        g_param_spec_boolean("is-live", "Is live", "Send frames in real time, as a camera does", TRUE,
            GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));
    gst_element_class_set_static_metadata(elementClass, "Pixolo Test Camera", "Source/Video",
        "A virtual camera that sends a moving test picture", "Pixolo");
    gst_element_class_add_static_pad_template(elementClass, &sourceTemplate);
    baseClass->get_caps = getCaps;
    baseClass->start = start;
    baseClass->stop = stop;
    baseClass->get_times = getTimes;
    baseClass->query = query;
    GST_PUSH_SRC_CLASS(klass)->create = create;
}

static void pixolo_test_cam_src_init(PixoloTestCamSrc *source)
{
    source->config = new CameraConfig(CameraConfig::fromEnvironment());
    source->picture = nullptr;
    source->live = TRUE;
    gst_video_info_init(&source->info);
    gst_base_src_set_live(GST_BASE_SRC(source), TRUE);
    gst_base_src_set_format(GST_BASE_SRC(source), GST_FORMAT_TIME);
}
