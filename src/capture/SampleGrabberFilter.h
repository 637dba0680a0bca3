#pragma once

#include "capture/ElementFilter.h"

#include <gst/video/video.h>

#include <mutex>

namespace pixolo
{

// The sample grabber: a bin around a capsfilter that lets only the chosen media type through and keeps a
// reference to the latest buffer, which it copies out on request in image layout (rows padded to four bytes).
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

    SampleGrabberFilter(GstRef<GstElement> bin, GstRef<GstElement> capsFilter);

private:
    ~SampleGrabberFilter() override;

    static GstPadProbeReturn onProbe(GstPad *pad, GstPadProbeInfo *info, gpointer self);
    void onBuffer(GstBuffer *buffer);

    GstRef<GstElement> m_capsFilter;
    GstRef<GstPad> m_probePad;
    gulong m_probe = 0;

    std::mutex m_lock; // the latest buffer and its format; the streaming thread replaces them
    GstRef<GstBuffer> m_latest;
    GstVideoInfo m_info;
    bool m_hasInfo = false;
    bool m_bufferSamples = false;

    std::mutex m_callbackLock; // held while the callback runs, so that removing it waits for a call under way
    RefPtr<ISampleGrabberCB> m_callback;
};

} // namespace pixolo
