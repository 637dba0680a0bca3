#include "capture/TSampleGrabber.h"

#include "capture/FrameGrabber.h"
#include "capture/GraphElement.h"
#include "platform/TBitmap.h"

#include <chrono>

namespace pixolo
{

TSampleGrabber::TSampleGrabber(QObject *owner)
    : QObject(owner)
{
    initialiseGStreamer();
    if (!FrameGrabber::create()) {
        throw EAssertionFailed("The SampleGrabber Filter is not available on this system. (GStreamer's capsfilter "
                               "element could not be made.)");
    }
    m_mediaType = std::make_unique<TMediaType>(MEDIATYPE_Video);
    m_mediaType->SetSubType(MEDIASUBTYPE_RGB24);
    m_mediaType->SetFormatType(FORMAT_VideoInfo);
}

TSampleGrabber::~TSampleGrabber()
{
    SetFilterGraph(nullptr);
}

void TSampleGrabber::SetFilterGraph(TFilterGraph *graph)
{
    moveToGraph(m_filterGraph, graph, this);
}

GstElement *TSampleGrabber::GetClientFilter()
{
    return m_filter ? m_filter->element() : nullptr;
}

void TSampleGrabber::NotifyClient(TClientOperation operation, int)
{
    switch (operation) {
    case opBeforeAdd:
        m_filter = FrameGrabber::create();
        break;
    case opAfterAdd:
        if (!m_filter) {
            break;
        }
        m_grabbing = true;
        UpdateMediaType();
        m_filter->setBufferSamples(true);
        if (OnBuffer) {
            // Each frame is converted for the handler: only when there is one.
            m_filter->setCallback(
                [this](double time, unsigned char *buffer, int length) { BufferCB(time, buffer, length); });
        }
        break;
    case opBeforeRemove:
        if (m_filter) {
            gst_element_set_state(m_filter->element(), GST_STATE_READY);
            for (const GstRef<GstPad> &pad : padsOf(m_filter->element())) {
                unlinkPad(pad.get());
            }
        }
        break;
    case opAfterRemove:
        if (m_filter) {
            m_filter->setCallback(nullptr); // waits for a callback under way
            m_filter->setBufferSamples(false);
        }
        m_grabbing = false;
        m_filter.reset();
        break;
    case opRefresh:
        UpdateMediaType();
        break;
    }
}

void TSampleGrabber::UpdateMediaType()
{
    if (!m_grabbing || !m_filter) {
        return;
    }
    gst_element_set_state(m_filter->element(), GST_STATE_READY);
    const auto input = GstRef<GstPad>::adopt(gst_element_get_static_pad(m_filter->element(), "sink"));
    if (input) {
        unlinkPad(input.get());
    }
    m_filter->setMediaType(*m_mediaType);
}

qint64 TSampleGrabber::FrameAge() const
{
    const std::int64_t arrived = m_grabbing && m_filter ? m_filter->sampleTime() : -1;
    if (arrived < 0) {
        return -1;
    }
    const qint64 now
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
              .count();
    return now - arrived;
}

void TSampleGrabber::BufferCB(double sampleTime, unsigned char *buffer, int length)
{
    if (OnBuffer) {
        const std::lock_guard lock(m_lock); // released also when the handler raises
        OnBuffer(this, sampleTime, buffer, length);
    }
}

bool TSampleGrabber::CopyFrameToBitmap(TBitmap *bitmap, void *buffer, int length)
{
    if (!bitmap || (buffer && length <= 0) || !m_grabbing || !m_filter || m_mediaType->MajorType() != MEDIATYPE_Video) {
        return false;
    }
    return m_filter->copyToBitmap(*bitmap, buffer, length);
}

} // namespace pixolo
