#pragma once

#include "capture/TFilterGraph.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

namespace pixolo
{

class TVideoWindow;
class VideoRenderer;

enum TVideoMode : int { vmNormal, vmVMR };
enum TVMRVideoMode : int { vmrWindowed, vmrWindowless, vmrRenderless };
enum TVMRPreference : int {
    vpForceOffscreen,
    vpForceOverlays,
    vpForceMixer,
    vpDoNotRenderColorKeyAndBorder,
    vpRestrictToInitialMonitor,
    vpPreferAGPMemWhenMixing
};

// A set of TVMRPreference values, one bit each.
using TVMRPreferences = unsigned;
constexpr TVMRPreferences vmrPreference(TVMRPreference preference)
{
    return 1u << preference;
}

// Settings of the mixing renderer (vmVMR). This layer has no such renderer, so they are kept but never applied.
class TVMROptions
{
public:
    explicit TVMROptions(TVideoWindow *owner);

    TVMRVideoMode Mode() const { return m_mode; }
    void SetMode(TVMRVideoMode mode);
    unsigned Streams() const { return m_streams; }
    void SetStreams(unsigned streams); // values outside 1 to 16 become 1
    TVMRPreferences Preferences() const { return m_preferences; }
    void SetPreferences(TVMRPreferences preferences);
    bool KeepAspectRatio() const { return m_keepAspectRatio; }
    void SetKeepAspectRatio(bool keep) { m_keepAspectRatio = keep; }

private:
    void rebuildRenderer();

    TVideoWindow *m_owner;
    TVMRVideoMode m_mode = vmrWindowed;
    unsigned m_streams = 4;
    TVMRPreferences m_preferences = vmrPreference(vpForceMixer);
    bool m_keepAspectRatio = true;
};

// Shows the video of a filter graph: a graph client that contributes the video renderer and a sink of the graph's
// events. While the graph runs and the renderer's input is connected, the control paints each frame scaled
// (nearest neighbour) to exactly its rectangle, following it when it moves or is resized; otherwise it paints its
// Color. A new control is 160 × 120, black, and takes the focus with the Tab key.
class TVideoWindow : public QWidget, public IGraphClient, public IGraphEventSink
{
    Q_OBJECT

public:
    explicit TVideoWindow(QWidget *parent = nullptr);
    ~TVideoWindow() override;

    TFilterGraph *FilterGraph() const { return m_filterGraph; }
    void SetFilterGraph(TFilterGraph *graph);
    TVideoMode Mode() const { return m_mode; }
    // vmVMR needs the mixing renderer, which this layer does not have: vmNormal is stored.
    void SetMode(TVideoMode mode);
    TVMROptions *VMROptions() const { return m_vmrOptions.get(); }
    bool FullScreen() const { return m_fullScreen; }
    void SetFullScreen(bool fullScreen);
    bool FullScreenTopMost() const { return m_fullScreenTopMost; }
    void SetFullScreenTopMost(bool topMost);
    QColor Color() const { return m_color; }
    void SetColor(const QColor &color);
    // The widget the video is painted in: this control, or the full-screen view while in full screen.
    QWidget *VideoHandle() const;

    // Called after the control painted itself.
    std::function<void(QObject *sender)> OnPaint;

    // End of loading: nothing to prepare, the control paints the video itself.
    void Loaded() { }

    GstElement *GetClientFilter() override;
    QString GetClientName() override { return objectName(); }
    void NotifyClient(TClientOperation operation, int param) override;
    void SinkGraphEvent(int code, std::intptr_t param1, std::intptr_t param2) override;
    void SinkControlEvent(int code, int param) override;

    // The renderer's caption (the control's name while the video runs) and whether it shows the video.
    QString VideoCaption() const;
    bool VideoVisible() const;
    void SetVideoVisible(bool visible);

    // True while frames are painted (the renderer is placed and its input connected).
    bool ShowsVideo() const;

    // Also shows or hides the video.
    void setVisible(bool visible) override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    // The window takes the focus with Tab: it repaints, so that OnPaint can show the focus.
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    friend class TVMROptions;
    class FullScreenView;

    void rebuildRenderer();
    bool rendererConnected() const;
    void applyFullScreen(bool fullScreen);
    void placeRenderer();
    void setCaptionAndDrain();
    void paintVideo(QWidget *surface, const QRect &target);

    QPointer<TFilterGraph> m_filterGraph;
    TVideoMode m_mode = vmNormal;
    std::unique_ptr<TVMROptions> m_vmrOptions;
    bool m_fullScreen = false;
    bool m_fullScreenTopMost = false;
    QColor m_color = Qt::black;

    std::unique_ptr<VideoRenderer> m_renderer; // present between opBeforeAdd and opAfterRemove
    bool m_inFullScreen = false;
    bool m_placed = false; // the renderer was placed over a connected input
    std::unique_ptr<FullScreenView> m_fullScreenView;
};

} // namespace pixolo
