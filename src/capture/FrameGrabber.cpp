#include "capture/FrameGrabber.h"

#include "capture/FailureReport.h"
#include "capture/GraphElement.h"
#include "capture/TMediaType.h"
#include "platform/TBitmap.h"

#include <QByteArray>
#include <QImage>
#include <QtEndian>

#include <algorithm>
#include <chrono>
#include <cstring>

namespace pixolo
{

namespace
{

struct FormatOfSubtype {
    GUID subtype;
    GstVideoFormat format;
    int bitCount;
};

constexpr FormatOfSubtype grabberFormats[] = {
    { MEDIASUBTYPE_RGB24, GST_VIDEO_FORMAT_BGR, 24 },
    { MEDIASUBTYPE_RGB32, GST_VIDEO_FORMAT_BGRx, 32 },
    { MEDIASUBTYPE_YUY2, GST_VIDEO_FORMAT_YUY2, 16 },
};

const FormatOfSubtype *formatOf(GstVideoFormat format)
{
    const auto found = std::find_if(std::begin(grabberFormats), std::end(grabberFormats),
        [&](const FormatOfSubtype &entry) { return entry.format == format; });
    return found == std::end(grabberFormats) ? nullptr : found;
}

// A VIDEOINFO block's image size: its image header (at offset 48 of the 88-byte block, 72 of the 112-byte second
// form) holds the width and the height, negative for top-down rows.
QSize formatSize(const TMediaType &type)
{
    int offset = -1;
    if (type.FormatType() == FORMAT_VideoInfo && type.Format().size() == 88) {
        offset = 48;
    } else if (type.FormatType() == FORMAT_VideoInfo2 && type.Format().size() == 112) {
        offset = 72;
    } else {
        return {};
    }
    const auto *header = reinterpret_cast<const unsigned char *>(type.Format().constData()) + offset;
    return QSize(qFromLittleEndian<std::int32_t>(header + 4), std::abs(qFromLittleEndian<std::int32_t>(header + 8)));
}

// Bytes of one row in image layout: padded to a multiple of four.
gint imageStride(int width, int bitCount)
{
    return gint((qsizetype(width) * bitCount + 31) / 32 * 4);
}

// The layout a frame is given in: the promised format at the input's size, one plane with the given row stride.
bool outputInfo(const GstVideoInfo &input, GstVideoFormat format, gint stride, GstVideoInfo &output)
{
    if (!gst_video_info_set_format(
            &output, format, guint(GST_VIDEO_INFO_WIDTH(&input)), guint(GST_VIDEO_INFO_HEIGHT(&input)))) {
        return false;
    }
    output.stride[0] = stride;
    output.size = gsize(stride) * gsize(GST_VIDEO_INFO_HEIGHT(&input));
    GST_VIDEO_INFO_FPS_N(&output) = GST_VIDEO_INFO_FPS_N(&input);
    GST_VIDEO_INFO_FPS_D(&output) = GST_VIDEO_INFO_FPS_D(&input);
    return true;
}

std::int64_t monotonicMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The converter's settings: those of the video converter element, so that a copy is the picture a converting
// element would have made of the same frame.
GstStructure *converterConfig()
{
    return gst_structure_new("GstVideoConverter", GST_VIDEO_CONVERTER_OPT_CHROMA_RESAMPLER_METHOD,
        GST_TYPE_VIDEO_RESAMPLER_METHOD, GST_VIDEO_RESAMPLER_METHOD_LINEAR, GST_VIDEO_CONVERTER_OPT_DITHER_METHOD,
        GST_TYPE_VIDEO_DITHER_METHOD, GST_VIDEO_DITHER_BAYER, GST_VIDEO_CONVERTER_OPT_DITHER_QUANTIZATION, G_TYPE_UINT,
        1u, GST_VIDEO_CONVERTER_OPT_MATRIX_MODE, GST_TYPE_VIDEO_MATRIX_MODE, GST_VIDEO_MATRIX_MODE_FULL,
        GST_VIDEO_CONVERTER_OPT_GAMMA_MODE, GST_TYPE_VIDEO_GAMMA_MODE, GST_VIDEO_GAMMA_MODE_NONE,
        GST_VIDEO_CONVERTER_OPT_PRIMARIES_MODE, GST_TYPE_VIDEO_PRIMARIES_MODE, GST_VIDEO_PRIMARIES_MODE_NONE,
        GST_VIDEO_CONVERTER_OPT_THREADS, G_TYPE_UINT, 2u, nullptr);
}

} // namespace

std::unique_ptr<FrameGrabber> FrameGrabber::create()
{
    auto capsFilter = GstRef<GstElement>::adopt(gst_element_factory_make("capsfilter", "accept"));
    if (!capsFilter) {
        return {};
    }
    auto bin = GstRef<GstElement>::adopt(gst_bin_new(nullptr));
    gst_bin_add(GST_BIN(bin.get()), capsFilter.get());
    for (const char *name : { "sink", "src" }) {
        const auto target = GstRef<GstPad>::adopt(gst_element_get_static_pad(capsFilter.get(), name));
        gst_element_add_pad(bin.get(), gst_ghost_pad_new(name, target.get()));
    }
    return std::make_unique<FrameGrabber>(std::move(bin), std::move(capsFilter));
}

FrameGrabber::FrameGrabber(GstRef<GstElement> bin, GstRef<GstElement> capsFilter)
    : m_bin(std::move(bin))
    , m_capsFilter(std::move(capsFilter))
    , m_probePad(GstRef<GstPad>::adopt(gst_element_get_static_pad(m_capsFilter.get(), "src")))
{
    gst_video_info_init(&m_info);
    setMediaType(TMediaType(MEDIATYPE_Video));
    m_gate = std::make_shared<Gate>(this);
    m_probe = gst_pad_add_probe(m_probePad.get(),
        GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM), &FrameGrabber::onProbe,
        Gate::share(m_gate), &Gate::release);
}

FrameGrabber::~FrameGrabber()
{
    m_gate->close(); // the element may stream on for a moment: its pipeline may stop on another thread
    gst_pad_remove_probe(m_probePad.get(), m_probe);
    if (m_converter) {
        gst_video_converter_free(m_converter);
    }
    releaseElement(m_bin);
}

GstPadProbeReturn FrameGrabber::onProbe(GstPad *, GstPadProbeInfo *info, gpointer gate)
{
    // The streaming thread calls this: nothing raised may unwind into it, and the frame passes on either way.
    guardCallback("Keeping the camera's frame", [&] {
        Gate::of(gate).pass([&](FrameGrabber &grabber) {
            if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
                grabber.onBuffer(GST_PAD_PROBE_INFO_BUFFER(info));
            } else if (GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
                       event && GST_EVENT_TYPE(event) == GST_EVENT_CAPS) {
                GstCaps *caps = nullptr;
                gst_event_parse_caps(event, &caps);
                GstVideoInfo videoInfo;
                const bool parsed = gst_video_info_from_caps(&videoInfo, caps);
                const std::lock_guard lock(grabber.m_lock);
                grabber.m_hasInfo = parsed;
                if (parsed) {
                    grabber.m_info = videoInfo;
                }
                grabber.m_latest.reset(); // a frame of the old format no longer fits the connection
            }
        });
    });
    return GST_PAD_PROBE_OK;
}

void FrameGrabber::onBuffer(GstBuffer *buffer)
{
    m_sampleTime.store(monotonicMs());
    // The callback sees each frame, in the promised format, before it becomes the one that copies return.
    {
        const std::lock_guard lock(m_callbackLock);
        if (m_callback) {
            GstVideoInfo input;
            GstVideoInfo output;
            bool known = false;
            {
                const std::lock_guard infoLock(m_lock);
                input = m_info;
                const GstVideoFormat format
                    = m_promised != GST_VIDEO_FORMAT_UNKNOWN ? m_promised : GST_VIDEO_INFO_FORMAT(&input);
                const FormatOfSubtype *entry = formatOf(format);
                known = m_hasInfo && entry
                    && outputInfo(input, format, imageStride(GST_VIDEO_INFO_WIDTH(&input), entry->bitCount), output);
            }
            const double sampleTime
                = GST_BUFFER_PTS_IS_VALID(buffer) ? double(GST_BUFFER_PTS(buffer)) / GST_SECOND : 0.0;
            QByteArray converted;
            if (known) {
                converted.resize(qsizetype(GST_VIDEO_INFO_SIZE(&output)));
            }
            if (known && copyFrame(buffer, input, output, reinterpret_cast<unsigned char *>(converted.data()))) {
                // What the frame handler raises is reported; the frame still passes.
                guardCallback("The frame handler", [&] {
                    m_callback(sampleTime, reinterpret_cast<unsigned char *>(converted.data()), int(converted.size()));
                });
            }
        }
    }
    const std::lock_guard lock(m_lock);
    if (m_bufferSamples) {
        m_latest = GstRef<GstBuffer>::ref(buffer); // one latest buffer, never a queue
    }
}

bool FrameGrabber::copyFrame(
    GstBuffer *buffer, const GstVideoInfo &input, const GstVideoInfo &output, unsigned char *out)
{
    GstVideoFrame source;
    if (!gst_video_frame_map(&source, &input, buffer, GST_MAP_READ)) {
        return false;
    }
    const int height = GST_VIDEO_INFO_HEIGHT(&output);
    const qsizetype stride = GST_VIDEO_INFO_PLANE_STRIDE(&output, 0);
    bool ok = true;
    if (GST_VIDEO_INFO_FORMAT(&input) == GST_VIDEO_INFO_FORMAT(&output)) {
        // The buffer's rows may be longer than the image's (GStreamer pads them as it likes): copy row by row.
        const qsizetype sourceStride = GST_VIDEO_FRAME_PLANE_STRIDE(&source, 0);
        const qsizetype rowBytes = std::min(stride, sourceStride);
        const auto *from = static_cast<const unsigned char *>(GST_VIDEO_FRAME_PLANE_DATA(&source, 0));
        for (int row = 0; row < height; ++row) {
            std::memcpy(out + row * stride, from + row * sourceStride, size_t(rowBytes));
            std::memset(out + row * stride + rowBytes, 0, size_t(stride - rowBytes));
        }
    } else {
        GstBuffer *target = gst_buffer_new_wrapped_full(
            GstMemoryFlags(0), out, GST_VIDEO_INFO_SIZE(&output), 0, GST_VIDEO_INFO_SIZE(&output), nullptr, nullptr);
        GstVideoFrame destination;
        ok = gst_video_frame_map(&destination, &output, target, GST_MAP_WRITE);
        if (ok) {
            const std::lock_guard lock(m_converterLock);
            if (!m_converter || !gst_video_info_is_equal(&m_converterIn, &input)
                || !gst_video_info_is_equal(&m_converterOut, &output)) {
                if (m_converter) {
                    gst_video_converter_free(m_converter);
                }
                m_converter = gst_video_converter_new(
                    const_cast<GstVideoInfo *>(&input), const_cast<GstVideoInfo *>(&output), converterConfig());
                m_converterIn = input;
                m_converterOut = output;
            }
            ok = m_converter != nullptr;
            if (ok) {
                gst_video_converter_frame(m_converter, &source, &destination);
                // The padding at the end of each row is part of the image: keep it zero.
                const qsizetype used
                    = qsizetype(GST_VIDEO_INFO_WIDTH(&output)) * GST_VIDEO_FORMAT_INFO_PSTRIDE(output.finfo, 0);
                for (int row = 0; used < stride && row < height; ++row) {
                    std::memset(out + row * stride + used, 0, size_t(stride - used));
                }
            }
            gst_video_frame_unmap(&destination);
        }
        gst_buffer_unref(target);
    }
    gst_video_frame_unmap(&source);
    return ok;
}

bool FrameGrabber::setMediaType(const TMediaType &type)
{
    GstVideoFormat promised = GST_VIDEO_FORMAT_UNKNOWN;
    GstRef<GstCaps> caps;
    if (type.MajorType() == MEDIATYPE_Audio) {
        caps = GstRef<GstCaps>::adopt(gst_caps_from_string("audio/x-raw"));
    } else if (type.MajorType().isNull() || type.MajorType() == MEDIATYPE_Video) {
        if (!type.SubType().isNull()) {
            const auto entry = std::find_if(std::begin(grabberFormats), std::end(grabberFormats),
                [&](const FormatOfSubtype &e) { return e.subtype == type.SubType(); });
            if (entry == std::end(grabberFormats)) {
                return false;
            }
            promised = entry->format;
        }
        // Video comes in in any raw format: it is converted only when it is copied out.
        caps = GstRef<GstCaps>::adopt(gst_caps_new_empty_simple("video/x-raw"));
        if (const QSize size = formatSize(type); size.width() > 0 && size.height() > 0) {
            gst_caps_set_simple(
                caps.get(), "width", G_TYPE_INT, size.width(), "height", G_TYPE_INT, size.height(), nullptr);
        }
    } else {
        return false;
    }
    g_object_set(m_capsFilter.get(), "caps", caps.get(), nullptr);
    const std::lock_guard lock(m_lock);
    m_promised = promised;
    return true;
}

void FrameGrabber::setBufferSamples(bool bufferThem)
{
    const std::lock_guard lock(m_lock);
    m_bufferSamples = bufferThem;
    if (!bufferThem) {
        m_latest.reset();
    }
}

void FrameGrabber::setCallback(std::function<void(double, unsigned char *, int)> callback)
{
    const std::lock_guard lock(m_callbackLock);
    m_callback = std::move(callback);
}

bool FrameGrabber::copyToBitmap(TBitmap &bitmap, const void *buffer, qsizetype length)
{
    const auto input = GstRef<GstPad>::adopt(gst_element_get_static_pad(element(), "sink"));
    GstRef<GstBuffer> latest;
    GstVideoInfo info;
    GstVideoFormat format = GST_VIDEO_FORMAT_UNKNOWN;
    {
        const std::lock_guard lock(m_lock);
        if (!m_hasInfo || !input || !gst_pad_is_linked(input.get())) {
            return false; // not connected
        }
        info = m_info;
        format = m_promised != GST_VIDEO_FORMAT_UNKNOWN ? m_promised : GST_VIDEO_INFO_FORMAT(&info);
        if (m_bufferSamples) {
            latest = m_latest; // our own reference: the streaming thread may replace the slot meanwhile
        }
    }
    // The picture is made in the layout the bitmap keeps, so that the frame is copied or converted into it once.
    const TPixelFormat pixelFormat = format == GST_VIDEO_FORMAT_BGR ? pf24bit
        : format == GST_VIDEO_FORMAT_BGRx                           ? pf32bit
                                                                    : pfDevice;
    if (pixelFormat == pfDevice || (!buffer && !latest)) {
        return false;
    }
    QImage image(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info), TBitmap::storageFormat(pixelFormat));
    if (image.isNull()) {
        return false;
    }
    if (buffer) {
        std::memcpy(image.bits(), buffer, size_t(std::min(length, image.sizeInBytes())));
    } else {
        GstVideoInfo output;
        if (!outputInfo(info, format, gint(image.bytesPerLine()), output)
            || !copyFrame(latest.get(), info, output, image.bits())) {
            return false;
        }
    }
    bitmap.setImage(image, pixelFormat);
    return true;
}

} // namespace pixolo
