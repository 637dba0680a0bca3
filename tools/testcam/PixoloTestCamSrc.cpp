#include "PixoloTestCamSrc.h"

#include "TestPicture.h"

#include <gst/video/video.h>

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

using pixolo::testcam::CameraConfig;
using pixolo::testcam::Stamp;
using pixolo::testcam::TestPicture;

struct _PixoloTestCamSrc {
    GstPushSrc parent;

    CameraConfig *config; // read from the environment when the element is made
    TestPicture *picture; // between start and stop
    GstVideoInfo info; // of the raw frames
    guint64 frames; // sent since start
    GstClockTime timeBase; // running time of the first frame
    gboolean live;
    gint cameraIndex; // which of the cameras: its picture
    std::atomic<bool> flushing; // told to stop waiting (a stalled camera waits for nothing else)
};

G_DEFINE_TYPE(PixoloTestCamSrc, pixolo_test_cam_src, GST_TYPE_PUSH_SRC)

enum { PROP_0, PROP_IS_LIVE, PROP_CAMERA_INDEX };

namespace
{

constexpr int jpegQuality = 85;

std::mutex unplugLock;
bool unplugged = false; // a camera vanished
unsigned unpluggedBy = 0; // the vanish setting it vanished by

bool plugFileGone(const CameraConfig &config)
{
    return !config.plugFile.empty() && ::access(config.plugFile.c_str(), F_OK) != 0;
}

GstClockTime frameDuration()
{
    return gst_util_uint64_scale_int(GST_SECOND, 1, CameraConfig::framesPerSecond);
}

GstCaps *capsOf(const CameraConfig &config)
{
    if (config.format == CameraConfig::I420) {
        return gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "I420", "width", G_TYPE_INT, config.width,
            "height", G_TYPE_INT, config.height, "framerate", GST_TYPE_FRACTION, CameraConfig::framesPerSecond, 1,
            "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, "colorimetry", G_TYPE_STRING, "bt601", "interlace-mode",
            G_TYPE_STRING, "progressive", nullptr);
    }
    if (config.format == CameraConfig::Mjpeg) {
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
    GST_STATIC_CAPS("video/x-raw, format=(string){ YUY2, I420 }, width=(int)[16, 8192], height=(int)[16, 8192], "
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
    if (plugFileGone(config)) {
        GST_ELEMENT_ERROR(source, RESOURCE, NOT_FOUND, ("Pixolo Test Camera is not plugged in."), (nullptr));
        return FALSE;
    }
    if (config.busy || (!config.busyFile.empty() && ::access(config.busyFile.c_str(), F_OK) == 0)) {
        // What the kernel's camera source says of a device another program holds.
        GST_ELEMENT_ERROR(source, RESOURCE, BUSY, ("Device 'pixolo-testcam:%d' is busy", source->cameraIndex),
            ("the test camera was asked to be busy"));
        return FALSE;
    }
    if (config.stallSeconds > 0) {
        // Holds the thread that starts the camera, as a stream that waits for its system does.
        g_usleep(gulong(config.stallSeconds) * G_USEC_PER_SEC);
    }
    source->picture = new TestPicture(config.width, config.height, source->cameraIndex, config.stamp);
    gst_video_info_set_format(&source->info,
        config.format == CameraConfig::I420 ? GST_VIDEO_FORMAT_I420 : GST_VIDEO_FORMAT_YUY2, guint(config.width),
        guint(config.height));
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
    if (config.stallSeconds > 0) {
        while (!source->flushing) {
            g_usleep(20 * 1000); // nothing ever comes: wait until stopped
        }
        return GST_FLOW_FLUSHING;
    }
    if (config.vanishAfter != 0 && source->frames >= config.vanishAfter) {
        pixolo_test_cam_mark_unplugged(config.vanishAfter);
        GST_ELEMENT_ERROR(source, RESOURCE, READ, ("Pixolo Test Camera was unplugged."),
            ("vanished after %u frames", config.vanishAfter));
        return GST_FLOW_ERROR;
    }
    // The plug file is looked at every few frames: a camera whose cable was pulled fails within 200 ms.
    if (source->frames % 6 == 0 && plugFileGone(config)) {
        GST_ELEMENT_ERROR(source, RESOURCE, READ, ("Pixolo Test Camera was unplugged."), ("its plug file is gone"));
        return GST_FLOW_ERROR;
    }
    if (source->timeBase == GST_CLOCK_TIME_NONE) {
        source->timeBase = source->live ? runningTimeNow(GST_ELEMENT(source)) : 0;
    }
    const GstClockTime pts = source->timeBase + source->frames * frameDuration();
    Stamp stamp;
    if (config.stamp) {
        stamp.sequence = std::uint32_t(source->frames);
        // A live frame is captured when it is due: its time on the pipeline's clock, the monotonic one.
        const GstClockTime base = gst_element_get_base_time(GST_ELEMENT(source));
        stamp.timeUs = source->live && base != GST_CLOCK_TIME_NONE ? std::uint64_t((base + pts) / GST_USECOND)
                                                                   : std::uint64_t(g_get_monotonic_time());
    }
    source->picture->prepare(source->frames, stamp);
    GstBuffer *buffer = nullptr;
    if (config.format == CameraConfig::Mjpeg) {
        std::vector<std::uint8_t> jpeg;
        if (!source->picture->writeJpeg(jpeg, jpegQuality)) {
            GST_ELEMENT_ERROR(source, STREAM, ENCODE, ("Could not encode a test picture."), (nullptr));
            return GST_FLOW_ERROR;
        }
        buffer = gst_buffer_new_allocate(nullptr, jpeg.size(), nullptr);
        gst_buffer_fill(buffer, 0, jpeg.data(), jpeg.size());
    } else {
        buffer = gst_buffer_new_allocate(nullptr, GST_VIDEO_INFO_SIZE(&source->info), nullptr);
        GstVideoFrame frame;
        gst_video_frame_map(&frame, &source->info, buffer, GST_MAP_WRITE);
        if (config.format == CameraConfig::I420) {
            const auto plane
                = [&](int i) { return static_cast<std::uint8_t *>(GST_VIDEO_FRAME_PLANE_DATA(&frame, i)); };
            source->picture->writeI420(plane(0), GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0), plane(1),
                GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 1), plane(2), GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 2));
        } else {
            source->picture->writeYuy2(static_cast<std::uint8_t *>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0)),
                GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0));
        }
        gst_video_frame_unmap(&frame);
    }
    GST_BUFFER_PTS(buffer) = pts;
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
    } else if (id == PROP_CAMERA_INDEX) {
        source->cameraIndex = g_value_get_int(value);
    } else {
        G_OBJECT_WARN_INVALID_PROPERTY_ID(object, id, spec);
    }
}

void getProperty(GObject *object, guint id, GValue *value, GParamSpec *spec)
{
    if (id == PROP_IS_LIVE) {
        g_value_set_boolean(value, PIXOLO_TEST_CAM_SRC(object)->live);
    } else if (id == PROP_CAMERA_INDEX) {
        g_value_set_int(value, PIXOLO_TEST_CAM_SRC(object)->cameraIndex);
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
    return unplugged;
}

void pixolo_test_cam_mark_unplugged(unsigned vanishSetting)
{
    {
        const std::lock_guard lock(unplugLock);
        unplugged = true;
        unpluggedBy = vanishSetting;
    }
    pixolo_test_cam_providers_update(); // the cameras go from the lists at once, before the error is told
}

void pixolo_test_cam_replug_if_changed(unsigned vanishSetting)
{
    const std::lock_guard lock(unplugLock);
    if (unplugged && unpluggedBy != vanishSetting) {
        unplugged = false; // the setting changed: the cameras are plugged in again
    }
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
    g_object_class_install_property(objectClass, PROP_CAMERA_INDEX,
        g_param_spec_int("camera-index", "Camera index", "Which of the virtual cameras this is (its picture)", 0,
            CameraConfig::maximumCount - 1, 0, GParamFlags(G_PARAM_READWRITE | G_PARAM_STATIC_STRINGS)));
    gst_element_class_set_static_metadata(elementClass, "Pixolo Test Camera", "Source/Video",
        "A virtual camera that sends a moving test picture", "Pixolo");
    gst_element_class_add_static_pad_template(elementClass, &sourceTemplate);
    baseClass->get_caps = getCaps;
    baseClass->start = start;
    baseClass->stop = stop;
    baseClass->get_times = getTimes;
    baseClass->unlock = [](GstBaseSrc *base) -> gboolean {
        PIXOLO_TEST_CAM_SRC(base)->flushing = true;
        return TRUE;
    };
    baseClass->unlock_stop = [](GstBaseSrc *base) -> gboolean {
        PIXOLO_TEST_CAM_SRC(base)->flushing = false;
        return TRUE;
    };
    baseClass->query = query;
    GST_PUSH_SRC_CLASS(klass)->create = create;
}

static void pixolo_test_cam_src_init(PixoloTestCamSrc *source)
{
    source->config = new CameraConfig(CameraConfig::fromEnvironment());
    pixolo_test_cam_replug_if_changed(source->config->vanishAfter);
    source->picture = nullptr;
    source->live = TRUE;
    source->cameraIndex = 0;
    new (&source->flushing) std::atomic<bool>(false);
    gst_video_info_init(&source->info);
    gst_base_src_set_live(GST_BASE_SRC(source), TRUE);
    gst_base_src_set_format(GST_BASE_SRC(source), GST_FORMAT_TIME);
}
