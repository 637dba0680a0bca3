#pragma once

#include "capture/CallbackGate.h"
#include "capture/ElementFilter.h"

#include <gst/video/video.h>

#include <atomic>
#include <memory>
#include <mutex>

namespace pixolo
{

// The sample grabber: a bin around a capsfilter that lets raw video of the chosen size through in whatever pixel
// format the camera gives, and keeps a reference to the latest buffer as it came. Only a frame that is copied out
// is converted, to the format the media type promises (24-bit BGR for RGB24), in image layout (rows padded to four
// bytes): the preview never pays for a conversion of the full frame.
class SampleGrabberFilter final : public ElementFilterBase<ISampleGrabber>
{
public:
    // None when the elements it needs are missing.
    static RefPtr<SampleGrabberFilter> create();

    HRESULT SetMediaType(const AM_MEDIA_TYPE &type) override;
    HRESULT GetConnectedMediaType(AM_MEDIA_TYPE &type) override;
    HRESULT SetBufferSamples(bool bufferThem) override;
    HRESULT GetCurrentBuffer(std::int32_t *size, unsigned char *buffer) override;
    HRESULT SetCallback(ISampleGrabberCB *callback, int whichMethod) override;
    HRESULT GetCurrentSampleTime(std::int64_t &monotonicMs) override;
    // Leaving a graph, the grabber keeps its last frame and takes no more.
    HRESULT JoinFilterGraph(IFilterGraph2 *graph, const QString &name) override;

    SampleGrabberFilter(GstRef<GstElement> bin, GstRef<GstElement> capsFilter);

private:
    ~SampleGrabberFilter() override;

    using Gate = CallbackGate<SampleGrabberFilter>;
    static GstPadProbeReturn onProbe(GstPad *pad, GstPadProbeInfo *info, gpointer gate);
    void onBuffer(GstBuffer *buffer);
    // The layout copies are made in: the promised format at the input's size, rows padded to four bytes.
    static bool outputInfo(const GstVideoInfo &input, GstVideoFormat promised, GstVideoInfo &output);
    // Copies or converts a frame into `out` (the output layout's full size).
    bool copyFrame(GstBuffer *buffer, const GstVideoInfo &input, const GstVideoInfo &output, unsigned char *out);

    GstRef<GstElement> m_capsFilter;
    GstRef<GstPad> m_probePad;
    gulong m_probe = 0;
    std::shared_ptr<Gate> m_gate; // the probe's way to us

    bool m_leftGraph = false; // guarded by m_lock
    std::mutex m_lock; // the latest buffer, its format and the promised format; the streaming thread takes it
    GstRef<GstBuffer> m_latest;
    GstVideoInfo m_info; // of the input: the camera's own format
    bool m_hasInfo = false;
    bool m_bufferSamples = false;
    GstVideoFormat m_promised = GST_VIDEO_FORMAT_UNKNOWN; // the media type's format; unknown: the input's own
    std::atomic<std::int64_t> m_sampleTime { -1 }; // monotonic milliseconds of the latest buffer

    std::mutex m_converterLock; // one conversion at a time; the converter is kept while the formats stay
    GstVideoConverter *m_converter = nullptr;
    GstVideoInfo m_converterIn;
    GstVideoInfo m_converterOut;

    std::mutex m_callbackLock; // held while the callback runs, so that removing it waits for a call under way
    RefPtr<ISampleGrabberCB> m_callback;
};

} // namespace pixolo
