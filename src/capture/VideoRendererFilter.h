#pragma once

#include "capture/CallbackGate.h"
#include "capture/ElementFilter.h"

#include <gst/app/gstappsink.h>

#include <QRect>

#include <mutex>

namespace pixolo
{

// The video renderer: an application sink that keeps the latest frame and tells its owner, once per frame taken,
// that a new one waits. It has no window: the owner paints the frames, which arrive at the size of the window
// position (the chain before it scales them there).
class VideoRendererFilter final : public ElementFilterBase<IVideoWindow>
{
public:
    static RefPtr<VideoRendererFilter> create();

    HRESULT put_Owner(QObject *owner) override;
    HRESULT get_Owner(QObject *&owner) override;
    HRESULT put_Caption(const QString &caption) override;
    HRESULT get_Caption(QString &caption) override;
    HRESULT put_Visible(bool visible) override;
    HRESULT get_Visible(bool &visible) override;
    HRESULT SetWindowPosition(int left, int top, int width, int height) override;
    HRESULT GetWindowPosition(QRect &rect) override;
    HRESULT CurrentFrame(QImage &frame) override;

    explicit VideoRendererFilter(GstRef<GstElement> sink);

private:
    ~VideoRendererFilter() override;

    using Gate = CallbackGate<VideoRendererFilter>;
    static GstFlowReturn onSample(GstAppSink *sink, gpointer gate);
    static GstFlowReturn onPreroll(GstAppSink *sink, gpointer gate);
    void keep(GstRef<GstSample> sample);
    void askForSize(int width, int height);

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
