#pragma once

#include "capture/CallbackGate.h"
#include "capture/GstRef.h"

#include <gst/gst.h>
#include <gst/video/video.h>

#include <QtGlobal>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

namespace pixolo
{

class TBitmap;
class TMediaType;

// The sample grabber's element: a bin around a capsfilter that lets raw video of the chosen size through in whatever
// pixel format the camera gives, and keeps a reference to the latest buffer as it came. Only a frame that is copied
// out is converted, to the format the media type promises (24-bit BGR for RGB24), straight into the bitmap: the
// preview never pays for a conversion of the full frame.
class FrameGrabber final
{
public:
    // None when the elements it needs are missing.
    static std::unique_ptr<FrameGrabber> create();
    ~FrameGrabber();
    FrameGrabber(const FrameGrabber &) = delete;
    FrameGrabber &operator=(const FrameGrabber &) = delete;

    GstElement *element() const { return m_bin.get(); }

    // The type frames are given in: video with subtype RGB24, RGB32 or YUY2, or any raw video as it comes when the
    // subtype is null; a VIDEOINFO format block also fixes the size. False, changing nothing, for another type.
    // Takes effect at the next connection.
    bool setMediaType(const TMediaType &type);
    // Whether the latest frame is kept; not keeping drops the one kept.
    void setBufferSamples(bool bufferThem);
    // Called on the streaming thread for every frame, converted to the promised format; none removes it, waiting
    // for a call under way. Each frame is converted for it: set one only when it is needed.
    void setCallback(std::function<void(double sampleTime, unsigned char *buffer, int length)> callback);

    // The latest frame (or, with a buffer, the buffer's bytes, at most the image's size) as a bitmap of the
    // connection's size in the promised format, rows top-down. False, with the bitmap untouched, without a
    // connection, for a format that is no bitmap's, or without a frame.
    bool copyToBitmap(TBitmap &bitmap, const void *buffer = nullptr, qsizetype length = 0);

    // When the latest frame arrived, in milliseconds of the monotonic clock; -1 before the first one.
    std::int64_t sampleTime() const { return m_sampleTime.load(); }

    FrameGrabber(GstRef<GstElement> bin, GstRef<GstElement> capsFilter);

private:
    using Gate = CallbackGate<FrameGrabber>;
    static GstPadProbeReturn onProbe(GstPad *pad, GstPadProbeInfo *info, gpointer gate);
    void onBuffer(GstBuffer *buffer);
    // Copies or converts a frame into the output layout at `out`.
    bool copyFrame(GstBuffer *buffer, const GstVideoInfo &input, const GstVideoInfo &output, unsigned char *out);

    GstRef<GstElement> m_bin;
    GstRef<GstElement> m_capsFilter;
    GstRef<GstPad> m_probePad;
    gulong m_probe = 0;
    std::shared_ptr<Gate> m_gate; // the probe's way to us

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
    std::function<void(double, unsigned char *, int)> m_callback;
};

} // namespace pixolo
