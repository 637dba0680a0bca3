#include "capture/SampleGrabberFilter.h"

#include <algorithm>
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

// The caps a media type lets through; none for a type the grabber cannot take.
GstCaps *capsOf(const AM_MEDIA_TYPE &type)
{
    if (type.majortype == MEDIATYPE_Audio) {
        return gst_caps_from_string("audio/x-raw");
    }
    if (!type.majortype.isNull() && type.majortype != MEDIATYPE_Video) {
        return nullptr;
    }
    GstCaps *caps = gst_caps_new_empty_simple("video/x-raw");
    if (!type.subtype.isNull()) {
        const auto entry = std::find_if(std::begin(rgbFormats), std::end(rgbFormats),
            [&](const FormatOfSubtype &e) { return e.subtype == type.subtype; });
        if (entry == std::end(rgbFormats)) {
            gst_caps_unref(caps);
            return nullptr;
        }
        gst_caps_set_simple(caps, "format", G_TYPE_STRING, gst_video_format_to_string(entry->format), nullptr);
    }
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
    m_probe = gst_pad_add_probe(m_probePad.get(),
        GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM), &SampleGrabberFilter::onProbe,
        this, nullptr);
}

SampleGrabberFilter::~SampleGrabberFilter()
{
    gst_pad_remove_probe(m_probePad.get(), m_probe);
}

GstPadProbeReturn SampleGrabberFilter::onProbe(GstPad *, GstPadProbeInfo *info, gpointer self)
{
    auto *grabber = static_cast<SampleGrabberFilter *>(self);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER) {
        grabber->onBuffer(GST_PAD_PROBE_INFO_BUFFER(info));
    } else if (GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info); event && GST_EVENT_TYPE(event) == GST_EVENT_CAPS) {
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
    return GST_PAD_PROBE_OK;
}

void SampleGrabberFilter::onBuffer(GstBuffer *buffer)
{
    // The callback sees each frame before it becomes the one that copies return.
    {
        const std::lock_guard lock(m_callbackLock);
        GstMapInfo map;
        if (m_callback && gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            const double sampleTime
                = GST_BUFFER_PTS_IS_VALID(buffer) ? double(GST_BUFFER_PTS(buffer)) / GST_SECOND : 0.0;
            try {
                m_callback->BufferCB(sampleTime, map.data, std::int32_t(map.size));
            } catch (...) {
                // Nothing may unwind into the streaming thread; the frame still passes.
            }
            gst_buffer_unmap(buffer, &map);
        }
    }
    const std::lock_guard lock(m_lock);
    if (m_bufferSamples) {
        m_latest = GstRef<GstBuffer>::ref(buffer); // one latest buffer, never a queue
    }
}

HRESULT SampleGrabberFilter::SetMediaType(const AM_MEDIA_TYPE &type)
{
    GstCaps *caps = capsOf(type);
    if (!caps) {
        return E_INVALID_MEDIA_TYPE;
    }
    g_object_set(m_capsFilter.get(), "caps", caps, nullptr);
    gst_caps_unref(caps);
    return S_OK;
}

HRESULT SampleGrabberFilter::GetConnectedMediaType(AM_MEDIA_TYPE &type)
{
    const auto input = GstRef<GstPad>::adopt(gst_element_get_static_pad(element(), "sink"));
    GstVideoInfo info;
    {
        const std::lock_guard lock(m_lock);
        if (!m_hasInfo || !input || !gst_pad_is_linked(input.get())) {
            return E_NOT_CONNECTED;
        }
        info = m_info;
    }
    const FormatOfSubtype *format = formatOf(GST_VIDEO_INFO_FORMAT(&info));
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
    GstVideoInfo info;
    {
        const std::lock_guard lock(m_lock);
        if (!m_bufferSamples) {
            return E_INVALIDARG;
        }
        latest = m_latest; // our own reference: the streaming thread may replace the slot meanwhile
        info = m_info;
    }
    const FormatOfSubtype *format = latest ? formatOf(GST_VIDEO_INFO_FORMAT(&info)) : nullptr;
    if (!format) {
        return E_NO_SAMPLE;
    }
    const int height = GST_VIDEO_INFO_HEIGHT(&info);
    const qsizetype stride = imageStride(GST_VIDEO_INFO_WIDTH(&info), format->bitCount);
    const qsizetype total = stride * height;
    if (!buffer) {
        *size = std::int32_t(total);
        return S_OK;
    }
    GstVideoFrame frame;
    if (!gst_video_frame_map(&frame, &info, latest.get(), GST_MAP_READ)) {
        return E_FAIL;
    }
    // The buffer's rows may be longer than the image's (GStreamer pads them as it likes): copy row by row.
    const qsizetype wanted = std::clamp<qsizetype>(*size, 0, total);
    const qsizetype sourceStride = GST_VIDEO_FRAME_PLANE_STRIDE(&frame, 0);
    const auto *source = static_cast<const unsigned char *>(GST_VIDEO_FRAME_PLANE_DATA(&frame, 0));
    qsizetype copied = 0;
    for (int row = 0; row < height && copied < wanted; ++row) {
        const qsizetype count = std::min(stride, wanted - copied);
        const qsizetype fromSource = std::min(count, sourceStride);
        std::memcpy(buffer + copied, source + row * sourceStride, size_t(fromSource));
        std::memset(buffer + copied + fromSource, 0, size_t(count - fromSource));
        copied += count;
    }
    gst_video_frame_unmap(&frame);
    *size = std::int32_t(copied);
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

} // namespace pixolo
