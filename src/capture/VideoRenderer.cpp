#include "capture/VideoRenderer.h"

#include "capture/EDirectShowException.h"
#include "capture/FailureReport.h"
#include "capture/GraphElement.h"

#include <gst/video/video.h>

#include <QCoreApplication>

#include <memory>

namespace pixolo
{

namespace
{

// 32-bit first: the painter draws those without converting.
constexpr const char *kAnySize = "video/x-raw, format=(string){ BGRx, BGR }";

// Keeps a mapped frame alive for as long as the QImage over its pixels lives.
struct MappedFrame {
    GstVideoFrame frame;
    GstRef<GstSample> sample;
};

void releaseMappedFrame(void *data)
{
    auto *mapped = static_cast<MappedFrame *>(data);
    gst_video_frame_unmap(&mapped->frame);
    delete mapped;
}

} // namespace

QEvent::Type VideoFrameEventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

std::unique_ptr<VideoRenderer> VideoRenderer::create()
{
    initialiseGStreamer();
    auto sink = GstRef<GstElement>::adopt(gst_element_factory_make("appsink", nullptr));
    if (!sink) {
        return {};
    }
    auto caps = GstRef<GstCaps>::adopt(gst_caps_from_string(kAnySize));
    g_object_set(sink.get(), "caps", caps.get(), "max-buffers", 1u, "drop", TRUE, "sync", TRUE, "enable-last-sample",
        FALSE, nullptr);
    return std::make_unique<VideoRenderer>(std::move(sink));
}

VideoRenderer::VideoRenderer(GstRef<GstElement> sink)
    : m_sink(std::move(sink))
{
    GstAppSinkCallbacks callbacks {};
    callbacks.new_sample = &VideoRenderer::onSample;
    callbacks.new_preroll = &VideoRenderer::onPreroll;
    m_gate = std::make_shared<Gate>(this);
    gst_app_sink_set_callbacks(GST_APP_SINK(element()), &callbacks, Gate::share(m_gate), &Gate::release);
}

VideoRenderer::~VideoRenderer()
{
    // A sink whose state is locked left a graph that stops it on its own worker (a camera's pipeline): it may stream
    // on for a moment, into a closed gate. Any other is stopped here.
    m_gate->close();
    releaseElement(m_sink);
}

// The streaming thread calls these: nothing raised may unwind into it.
GstFlowReturn VideoRenderer::onSample(GstAppSink *sink, gpointer gate)
{
    auto sample = GstRef<GstSample>::adopt(gst_app_sink_pull_sample(sink));
    guardCallback("Showing the camera's frame",
        [&] { Gate::of(gate).pass([&](VideoRenderer &self) { self.keep(std::move(sample)); }); });
    return GST_FLOW_OK;
}

GstFlowReturn VideoRenderer::onPreroll(GstAppSink *sink, gpointer gate)
{
    auto sample = GstRef<GstSample>::adopt(gst_app_sink_pull_preroll(sink));
    guardCallback("Showing the camera's frame",
        [&] { Gate::of(gate).pass([&](VideoRenderer &self) { self.keep(std::move(sample)); }); });
    return GST_FLOW_OK;
}

void VideoRenderer::keep(GstRef<GstSample> sample)
{
    if (!sample) {
        return;
    }
    const std::lock_guard lock(m_lock);
    m_latest = std::move(sample);
    if (m_owner && !m_framePending) {
        m_framePending = true; // coalesced: the next notification waits until the owner took a frame
        QCoreApplication::postEvent(m_owner, new QEvent(VideoFrameEventType()));
    }
}

void VideoRenderer::askForSize(int width, int height)
{
    // Frames come ready for painting: scaled (before they are converted) to the size they are shown at, on the
    // streaming thread. The chain before the sink agrees on the new size with its next frame.
    auto caps
        = GstRef<GstCaps>::adopt(width > 0 && height > 0 ? gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING,
                                     "BGRx", "width", G_TYPE_INT, width, "height", G_TYPE_INT, height, nullptr)
                                                         : gst_caps_from_string(kAnySize));
    if (width > 0 && height > 0) {
        // The 24-bit layout stays acceptable too, as it is without a size.
        auto bgr = GstRef<GstCaps>::adopt(gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGR", "width",
            G_TYPE_INT, width, "height", G_TYPE_INT, height, nullptr));
        caps = GstRef<GstCaps>::adopt(gst_caps_merge(caps.release(), bgr.release()));
    }
    g_object_set(element(), "caps", caps.get(), nullptr);
    const auto input = GstRef<GstPad>::adopt(gst_element_get_static_pad(element(), "sink"));
    if (input && gst_pad_is_linked(input.get())) {
        gst_pad_push_event(input.get(), gst_event_new_reconfigure());
    }
}

void VideoRenderer::setOwner(QObject *owner)
{
    const std::lock_guard lock(m_lock);
    m_owner = owner;
    m_framePending = false;
    if (m_owner && m_latest) {
        m_framePending = true;
        QCoreApplication::postEvent(m_owner, new QEvent(VideoFrameEventType()));
    }
}

void VideoRenderer::SetWindowPosition(int left, int top, int width, int height)
{
    if (width < 0 || height < 0) {
        throw EDirectShowException(E_INVALIDARG);
    }
    const bool resized = width != m_position.width() || height != m_position.height();
    m_position = QRect(left, top, width, height);
    if (resized) {
        askForSize(width, height);
    }
}

QImage VideoRenderer::currentFrame()
{
    GstRef<GstSample> sample;
    {
        const std::lock_guard lock(m_lock);
        sample = m_latest;
        m_framePending = false;
    }
    if (!sample) {
        return {};
    }
    GstVideoInfo info;
    GstBuffer *buffer = gst_sample_get_buffer(sample.get());
    if (!buffer || !gst_video_info_from_caps(&info, gst_sample_get_caps(sample.get()))) {
        return {};
    }
    const QImage::Format format = GST_VIDEO_INFO_FORMAT(&info) == GST_VIDEO_FORMAT_BGRx ? QImage::Format_RGB32
        : GST_VIDEO_INFO_FORMAT(&info) == GST_VIDEO_FORMAT_BGR                          ? QImage::Format_BGR888
                                                                                        : QImage::Format_Invalid;
    if (format == QImage::Format_Invalid) {
        return {};
    }
    auto mapped = std::make_unique<MappedFrame>();
    if (!gst_video_frame_map(&mapped->frame, &info, buffer, GST_MAP_READ)) {
        return {};
    }
    mapped->sample = std::move(sample);
    GstVideoFrame &video = mapped->frame;
    // No copy: the image reads the buffer's pixels, with the buffer's own row stride, until it is dropped.
    return QImage(static_cast<const uchar *>(GST_VIDEO_FRAME_PLANE_DATA(&video, 0)), GST_VIDEO_FRAME_WIDTH(&video),
        GST_VIDEO_FRAME_HEIGHT(&video), GST_VIDEO_FRAME_PLANE_STRIDE(&video, 0), format, releaseMappedFrame,
        mapped.release());
}

} // namespace pixolo
