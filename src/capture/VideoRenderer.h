#pragma once

#include "capture/CallbackGate.h"
#include "capture/GstRef.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <QEvent>
#include <QImage>
#include <QRect>
#include <QString>

#include <memory>
#include <mutex>

class QObject;

namespace pixolo
{

// The type of the plain QEvent the video renderer posts to its owner when a new frame waits.
QEvent::Type VideoFrameEventType();

// The video renderer: an application sink that keeps the latest frame and tells its owner, once per frame taken,
// that a new one waits. It has no window: the owner paints the frames into the rectangle given by
// SetWindowPosition; they arrive at that size (the chain before the sink scales them there).
class VideoRenderer final
{
public:
    // None when the element it needs is missing.
    static std::unique_ptr<VideoRenderer> create();
    ~VideoRenderer();
    VideoRenderer(const VideoRenderer &) = delete;
    VideoRenderer &operator=(const VideoRenderer &) = delete;

    GstElement *element() const { return m_sink.get(); }

    // The object notified of new frames; none stops the notices.
    void setOwner(QObject *owner);
    void setCaption(const QString &caption) { m_caption = caption; }
    QString caption() const { return m_caption; }
    void setVisible(bool visible) { m_visible = visible; }
    bool visible() const { return m_visible; }
    // Raises EDirectShowException for a negative size.
    void SetWindowPosition(int left, int top, int width, int height);
    QRect windowPosition() const { return m_position; }
    // The latest frame (sharing the renderer's buffer, no copy); a null image before the first one.
    QImage currentFrame();

    explicit VideoRenderer(GstRef<GstElement> sink);

private:
    using Gate = CallbackGate<VideoRenderer>;
    static GstFlowReturn onSample(GstAppSink *sink, gpointer gate);
    static GstFlowReturn onPreroll(GstAppSink *sink, gpointer gate);
    void keep(GstRef<GstSample> sample);
    void askForSize(int width, int height);

    GstRef<GstElement> m_sink;
    std::mutex m_lock; // the latest frame, the owner and the pending flag; the streaming thread takes it
    GstRef<GstSample> m_latest;
    QObject *m_owner = nullptr;
    bool m_framePending = false; // a notification is on its way and no frame was taken since
    std::shared_ptr<Gate> m_gate; // the sink callbacks' way to us

    QString m_caption;
    bool m_visible = true;
    QRect m_position;
};

} // namespace pixolo
