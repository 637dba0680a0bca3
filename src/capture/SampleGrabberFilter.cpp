#include "capture/SampleGrabberFilter.h"

#include "capture/FailureReport.h"

#include <QByteArray>

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
    std::uint16_t bitCount;
};

constexpr FormatOfSubtype rgbFormats[] = {
    { MEDIASUBTYPE_RGB24, GST_VIDEO_FORMAT_BGR, 24 },
    { MEDIASUBTYPE_RGB32, GST_VIDEO_FORMAT_BGRx, 32 },
    { MEDIASUBTYPE_YUY2, GST_VIDEO_FORMAT_YUY2, 16 },
};

const FormatOfSubtype *formatOf(GstVideoFormat format)
{
    for (const FormatOfSubtype &entry : rgbFormats) {
        if (entry.format == format) {
            return &entry;
        }
    }
    return nullptr;
}

// Bytes of one row in image layout: padded to a multiple of four.
qsizetype imageStride(int width, int bitCount)
{
    return (qsizetype(width) * bitCount + 31) / 32 * 4;
}

constexpr std::uint32_t fourCC(char a, char b, char c, char d)
{
    return std::uint32_t(std::uint8_t(a)) | std::uint32_t(std::uint8_t(b)) << 8 | std::uint32_t(std::uint8_t(c)) << 16
        | std::uint32_t(std::uint8_t(d)) << 24;
}

// The caps a media type lets in, and the format frames are copied out in; none for a type the grabber cannot give.
// Video comes in in any raw format: it is converted only when it is copied out.
GstCaps *capsOf(const AM_MEDIA_TYPE &type, GstVideoFormat &promised)
{
    promised = GST_VIDEO_FORMAT_UNKNOWN;
    if (type.majortype == MEDIATYPE_Audio) {
        return gst_caps_from_string("audio/x-raw");
    }
    if (!type.majortype.isNull() && type.majortype != MEDIATYPE_Video) {
        return nullptr;
    }
    if (!type.subtype.isNull()) {
        const auto entry = std::find_if(std::begin(rgbFormats), std::end(rgbFormats),
            [&](const FormatOfSubtype &e) { return e.subtype == type.subtype; });
        if (entry == std::end(rgbFormats)) {
            return nullptr;
        }
        promised = entry->format;
    }
    GstCaps *caps = gst_caps_new_empty_simple("video/x-raw");
    // A format block with an image header also fixes the size.
    const int offset = type.formattype == FORMAT_VideoInfo && type.cbFormat() == VideoInfoHeaderSize
        ? VideoInfoHeaderImageOffset
        : type.formattype == FORMAT_VideoInfo2 && type.cbFormat() == VideoInfoHeader2Size ? VideoInfoHeader2ImageOffset
                                                                                          : -1;
    if (offset >= 0) {
        const auto header
            = BITMAPINFOHEADER::readFrom(reinterpret_cast<const unsigned char *>(type.pbFormat.constData()) + offset);
        if (header.biWidth > 0 && header.biHeight != 0) {
            gst_caps_set_simple(
                caps, "width", G_TYPE_INT, header.biWidth, "height", G_TYPE_INT, std::abs(header.biHeight), nullptr);
        }
    }
    return caps;
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

RefPtr<SampleGrabberFilter> SampleGrabberFilter::create()
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
    return makeObject<SampleGrabberFilter>(std::move(bin), std::move(capsFilter));
}

SampleGrabberFilter::SampleGrabberFilter(GstRef<GstElement> bin, GstRef<GstElement> capsFilter)
    : ElementFilterBase(std::move(bin), CLSID_SampleGrabber)
    , m_capsFilter(std::move(capsFilter))
    , m_probePad(GstRef<GstPad>::adopt(gst_element_get_static_pad(m_capsFilter.get(), "src")))
{
    gst_video_info_init(&m_info);
    AM_MEDIA_TYPE anyVideo;
    anyVideo.majortype = MEDIATYPE_Video;
    SetMediaType(anyVideo);
    m_gate = std::make_shared<Gate>(this);
    m_probe = gst_pad_add_probe(m_probePad.get(),
        GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM), &SampleGrabberFilter::onProbe,
        Gate::share(m_gate), &Gate::release);
}

SampleGrabberFilter::~SampleGrabberFilter()
{
    m_gate->close(); // the element may stream on for a moment: its pipeline may stop on another thread
    gst_pad_remove_probe(m_probePad.get(), m_probe);
    if (m_converter) {
        gst_video_converter_free(m_converter);
    }
}

GstPadProbeReturn SampleGrabberFilter::onProbe(GstPad *, GstPadProbeInfo *info, gpointer gate)
{
    // The streaming thread calls this: nothing raised may unwind into it, and the frame passes on either way.
    guardCallback("Keeping the camera's frame", [&] {
        Gate::of(gate).pass([&](SampleGrabberFilter &self) {
            auto *grabber = &self;
            if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
                grabber->onBuffer(GST_PAD_PROBE_INFO_BUFFER(info));
            } else if (GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
                       event && GST_EVENT_TYPE(event) == GST_EVENT_CAPS) {
                GstCaps *caps = nullptr;
                gst_event_parse_caps(event, &caps);
                GstVideoInfo videoInfo;
                const bool parsed = gst_video_info_from_caps(&videoInfo, caps);
                const std::lock_guard lock(grabber->m_lock);
                grabber->m_hasInfo = parsed;
                if (parsed) {
                    grabber->m_info = videoInfo;
                }
                grabber->m_latest.reset(); // a frame of the old format no longer fits the connection
            }
        });
    });
    return GST_PAD_PROBE_OK;
}

void SampleGrabberFilter::onBuffer(GstBuffer *buffer)
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
                known = m_hasInfo && outputInfo(m_info, m_promised, output);
                input = m_info;
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
                    m_callback->BufferCB(sampleTime, reinterpret_cast<unsigned char *>(converted.data()),
                        std::int32_t(converted.size()));
                });
            }
        }
    }
    const std::lock_guard lock(m_lock);
    if (m_bufferSamples && !m_leftGraph) {
        m_latest = GstRef<GstBuffer>::ref(buffer); // one latest buffer, never a queue
    }
}

HRESULT SampleGrabberFilter::JoinFilterGraph(IFilterGraph2 *graph, const QString &name)
{
    {
        // A grabber that left its graph keeps the frame it had; what its element may still pass on meanwhile (its
        // pipeline can finish stopping on another thread) is no frame of the graph's.
        const std::lock_guard lock(m_lock);
        m_leftGraph = !graph;
    }
    return ElementFilterBase::JoinFilterGraph(graph, name);
}

bool SampleGrabberFilter::outputInfo(const GstVideoInfo &input, GstVideoFormat promised, GstVideoInfo &output)
{
    const GstVideoFormat format = promised != GST_VIDEO_FORMAT_UNKNOWN ? promised : GST_VIDEO_INFO_FORMAT(&input);
    const FormatOfSubtype *entry = formatOf(format);
    if (!entry
        || !gst_video_info_set_format(
            &output, format, guint(GST_VIDEO_INFO_WIDTH(&input)), guint(GST_VIDEO_INFO_HEIGHT(&input)))) {
        return false;
    }
    // Image layout: one plane, rows padded to four bytes.
    output.stride[0] = gint(imageStride(GST_VIDEO_INFO_WIDTH(&input), entry->bitCount));
    output.size = gsize(output.stride[0]) * gsize(GST_VIDEO_INFO_HEIGHT(&input));
    GST_VIDEO_INFO_FPS_N(&output) = GST_VIDEO_INFO_FPS_N(&input);
    GST_VIDEO_INFO_FPS_D(&output) = GST_VIDEO_INFO_FPS_D(&input);
    return true;
}

bool SampleGrabberFilter::copyFrame(
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

HRESULT SampleGrabberFilter::SetMediaType(const AM_MEDIA_TYPE &type)
{
    GstVideoFormat promised = GST_VIDEO_FORMAT_UNKNOWN;
    GstCaps *caps = capsOf(type, promised);
    if (!caps) {
        return E_INVALID_MEDIA_TYPE;
    }
    g_object_set(m_capsFilter.get(), "caps", caps, nullptr);
    gst_caps_unref(caps);
    const std::lock_guard lock(m_lock);
    m_promised = promised;
    return S_OK;
}

HRESULT SampleGrabberFilter::GetConnectedMediaType(AM_MEDIA_TYPE &type)
{
    const auto input = GstRef<GstPad>::adopt(gst_element_get_static_pad(element(), "sink"));
    GstVideoInfo info;
    GstVideoFormat promised = GST_VIDEO_FORMAT_UNKNOWN;
    {
        const std::lock_guard lock(m_lock);
        if (!m_hasInfo || !input || !gst_pad_is_linked(input.get())) {
            return E_NOT_CONNECTED;
        }
        info = m_info;
        promised = m_promised;
    }
    const FormatOfSubtype *format
        = formatOf(promised != GST_VIDEO_FORMAT_UNKNOWN ? promised : GST_VIDEO_INFO_FORMAT(&info));
    BITMAPINFOHEADER header;
    header.biWidth = GST_VIDEO_INFO_WIDTH(&info);
    header.biHeight = -GST_VIDEO_INFO_HEIGHT(&info); // rows are top-down, as GStreamer keeps them
    header.biBitCount = format ? format->bitCount : 0;
    header.biCompression = !format || format->format == GST_VIDEO_FORMAT_YUY2 ? fourCC('Y', 'U', 'Y', '2') : 0;
    const std::int64_t frameTime = GST_VIDEO_INFO_FPS_N(&info) > 0 ? std::int64_t(gst_util_uint64_scale(
                                       GST_SECOND / 100, GST_VIDEO_INFO_FPS_D(&info), GST_VIDEO_INFO_FPS_N(&info)))
                                                                   : 0;
    type = AM_MEDIA_TYPE();
    type.majortype = MEDIATYPE_Video;
    type.subtype = format ? format->subtype : GUID_NULL;
    type.bFixedSizeSamples = -1;
    type.lSampleSize = std::uint32_t(imageStride(header.biWidth, header.biBitCount) * GST_VIDEO_INFO_HEIGHT(&info));
    type.formattype = FORMAT_VideoInfo;
    type.pbFormat = makeVideoInfoFormat(header, frameTime);
    return S_OK;
}

HRESULT SampleGrabberFilter::SetBufferSamples(bool bufferThem)
{
    const std::lock_guard lock(m_lock);
    m_bufferSamples = bufferThem;
    if (!bufferThem) {
        m_latest.reset();
    }
    return S_OK;
}

HRESULT SampleGrabberFilter::GetCurrentBuffer(std::int32_t *size, unsigned char *buffer)
{
    if (!size) {
        return E_POINTER;
    }
    GstRef<GstBuffer> latest;
    GstVideoInfo input;
    GstVideoInfo output;
    {
        const std::lock_guard lock(m_lock);
        if (!m_bufferSamples) {
            return E_INVALIDARG;
        }
        latest = m_latest; // our own reference: the streaming thread may replace the slot meanwhile
        input = m_info;
        if (!latest || !m_hasInfo || !outputInfo(m_info, m_promised, output)) {
            return E_NO_SAMPLE;
        }
    }
    const qsizetype total = qsizetype(GST_VIDEO_INFO_SIZE(&output));
    if (!buffer) {
        *size = std::int32_t(total);
        return S_OK;
    }
    const qsizetype wanted = std::clamp<qsizetype>(*size, 0, total);
    if (wanted == total) {
        if (!copyFrame(latest.get(), input, output, buffer)) {
            return E_FAIL;
        }
    } else {
        // Part of a frame: the whole frame is made, then cut.
        QByteArray whole(total, Qt::Uninitialized);
        if (!copyFrame(latest.get(), input, output, reinterpret_cast<unsigned char *>(whole.data()))) {
            return E_FAIL;
        }
        std::memcpy(buffer, whole.constData(), size_t(wanted));
    }
    *size = std::int32_t(wanted);
    return S_OK;
}

HRESULT SampleGrabberFilter::SetCallback(ISampleGrabberCB *callback, int whichMethod)
{
    if (callback && whichMethod != 1) {
        return E_NOTIMPL; // only the buffer callback exists
    }
    const std::lock_guard lock(m_callbackLock);
    m_callback = RefPtr<ISampleGrabberCB>(callback);
    return S_OK;
}

HRESULT SampleGrabberFilter::GetCurrentSampleTime(std::int64_t &monotonicMs)
{
    monotonicMs = m_sampleTime.load();
    return monotonicMs < 0 ? E_NO_SAMPLE : S_OK;
}

} // namespace pixolo
