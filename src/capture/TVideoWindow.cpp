#include "capture/TVideoWindow.h"

#include "capture/EDirectShowException.h"

#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

namespace pixolo
{

// The top-level window that shows the video over the whole screen while the control is in full screen.
class TVideoWindow::FullScreenView final : public QWidget
{
public:
    explicit FullScreenView(TVideoWindow *control)
        : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint)
        , m_control(control)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setContextMenuPolicy(control->contextMenuPolicy());
    }

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == VideoFrameEventType()) {
            update();
            return true;
        }
        return QWidget::event(event);
    }
    void paintEvent(QPaintEvent *) override { m_control->paintVideo(this, rect()); }
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        // The control's menu (through its policy and signal) also serves the full-screen picture.
        if (m_control->contextMenuPolicy() == Qt::CustomContextMenu) {
            Q_EMIT m_control->customContextMenuRequested(m_control->mapFromGlobal(event->globalPos()));
        }
    }

private:
    TVideoWindow *m_control;
};

TVMROptions::TVMROptions(TVideoWindow *owner)
    : m_owner(owner)
{
}

void TVMROptions::SetMode(TVMRVideoMode mode)
{
    m_mode = mode;
    rebuildRenderer();
}

void TVMROptions::SetStreams(unsigned streams)
{
    m_streams = streams >= 1 && streams <= 16 ? streams : 1;
    rebuildRenderer();
}

void TVMROptions::SetPreferences(TVMRPreferences preferences)
{
    m_preferences = preferences;
    rebuildRenderer();
}

void TVMROptions::rebuildRenderer()
{
    if (m_owner->Mode() == vmVMR && m_owner->FilterGraph() && m_owner->FilterGraph()->Active()) {
        m_owner->rebuildRenderer();
    }
}

TVideoWindow::TVideoWindow(QWidget *parent)
    : QWidget(parent)
    , m_vmrOptions(std::make_unique<TVMROptions>(this))
{
    resize(160, 120);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent); // every pixel is painted: video or Color
}

TVideoWindow::~TVideoWindow()
{
    m_vmrOptions.reset();
    SetFilterGraph(nullptr);
    if (m_videoWindow) {
        m_videoWindow->put_Owner(nullptr); // the renderer outlives us in a graph that someone still holds
    }
}

void TVideoWindow::SetFilterGraph(TFilterGraph *graph)
{
    moveToGraph(m_filterGraph, graph, this, this);
}

void TVideoWindow::SetMode(TVideoMode mode)
{
    if (mode == vmVMR && !createFrameworkObject<IBaseFilter>(CLSID_VideoMixingRenderer9)) {
        mode = vmNormal;
    }
    if (mode == m_mode) {
        return;
    }
    m_mode = mode;
    if (m_filterGraph && m_filterGraph->Active()) {
        rebuildRenderer();
    }
}

void TVideoWindow::rebuildRenderer()
{
    TFilterGraph *graph = m_filterGraph;
    if (graph) {
        graph->DetachClient(this);
        graph->AttachClient(this);
    }
}

void TVideoWindow::SetColor(const QColor &color)
{
    if (color == m_color) {
        return;
    }
    m_color = color;
    update();
}

void TVideoWindow::SetFullScreen(bool fullScreen)
{
    if (m_videoWindow && rendererConnected()) {
        applyFullScreen(fullScreen);
    } else {
        m_fullScreen = fullScreen;
    }
}

void TVideoWindow::SetFullScreenTopMost(bool topMost)
{
    m_fullScreenTopMost = topMost;
    if (m_inFullScreen) {
        applyFullScreen(true);
    }
}

QWidget *TVideoWindow::VideoHandle() const
{
    if (m_videoWindow && m_inFullScreen && m_fullScreenView) {
        return m_fullScreenView.get();
    }
    return const_cast<TVideoWindow *>(this);
}

void TVideoWindow::NotifyClient(TClientOperation operation, int)
{
    // Only the plain renderer exists here (Mode cannot become vmVMR), so both modes take this path.
    switch (operation) {
    case opBeforeAdd:
        m_renderer = createFrameworkObject<IBaseFilter>(CLSID_VideoRenderer);
        break;
    case opAfterAdd:
        if (m_renderer) {
            m_videoWindow = queryInterface<IVideoWindow>(m_renderer);
            if (!m_videoWindow) {
                throw EDirectShowException(E_NOINTERFACE);
            }
            RaiseOnFailure(
                m_videoWindow->put_Visible(!isHidden())); // the control's own flag: a child shows with its window
            // The size frames are wanted at, from the first one on: the chain scales them while it streams.
            RaiseOnFailure(m_videoWindow->SetWindowPosition(0, 0, width(), height()));
        }
        break;
    case opBeforeRemove:
        if (m_renderer) {
            if (m_videoWindow) {
                m_videoWindow->put_Owner(nullptr);
            }
            RaiseOnFailure(m_renderer->Stop());
            std::vector<RefPtr<IPin>> pins;
            RaiseOnFailure(m_renderer->EnumPins(pins));
            for (const RefPtr<IPin> &pin : pins) {
                RaiseOnFailure(pin->Disconnect());
            }
        }
        break;
    case opAfterRemove:
        m_videoWindow.reset();
        m_renderer.reset();
        m_placed = false;
        m_inFullScreen = false;
        if (m_fullScreenView) {
            m_fullScreenView->hide();
        }
        update();
        break;
    case opRefresh:
        break;
    }
}

bool TVideoWindow::rendererConnected() const
{
    if (!m_renderer) {
        return false;
    }
    std::vector<RefPtr<IPin>> pins;
    m_renderer->EnumPins(pins);
    for (const RefPtr<IPin> &pin : pins) {
        RefPtr<IPin> peer;
        if (Succeeded(pin->ConnectedTo(peer))) {
            return true;
        }
    }
    return false;
}

void TVideoWindow::applyFullScreen(bool fullScreen)
{
    if (!m_videoWindow || !rendererConnected()) {
        return;
    }
    if (!fullScreen) {
        RaiseOnFailure(m_videoWindow->put_Owner(this));
        RaiseOnFailure(m_videoWindow->SetWindowPosition(0, 0, width(), height()));
        if (m_fullScreenView) {
            m_fullScreenView->hide();
        }
        m_inFullScreen = false;
    } else {
        if (!m_fullScreenView) {
            m_fullScreenView = std::make_unique<FullScreenView>(this);
        }
        m_fullScreenView->setWindowFlag(Qt::WindowStaysOnTopHint, m_fullScreenTopMost);
        const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->geometry() : QRect(0, 0, width(), height());
        m_fullScreenView->setGeometry(area);
        RaiseOnFailure(m_videoWindow->put_Owner(m_fullScreenView.get()));
        RaiseOnFailure(m_videoWindow->SetWindowPosition(0, 0, area.width(), area.height()));
        m_fullScreenView->setWindowTitle(objectName());
        m_fullScreenView->showFullScreen();
        m_inFullScreen = true;
    }
    m_fullScreen = fullScreen;
    m_placed = true;
    update();
}

void TVideoWindow::setCaptionAndDrain()
{
    // Input over the video reaches this control directly: the frames are painted in it.
    if (!objectName().isEmpty()) {
        RaiseOnFailure(m_videoWindow->put_Caption(objectName()));
    }
}

void TVideoWindow::SinkControlEvent(int code, int)
{
    if (code == ctlPlay) {
        if (m_videoWindow && rendererConnected()) {
            applyFullScreen(m_fullScreen);
            setCaptionAndDrain();
        }
    } else if (code == ctlDVDRendered && m_filterGraph) {
        // Adopts a renderer that a DVD graph made by itself, when ours is not in any graph.
        FILTER_INFO info;
        if (m_renderer && Succeeded(m_renderer->QueryFilterInfo(info)) && info.pGraph) {
            return;
        }
        const auto graph = m_filterGraph->QueryInterface<IFilterGraph2>();
        std::vector<RefPtr<IBaseFilter>> filters;
        if (graph && Succeeded(graph->EnumFilters(filters))) {
            for (const RefPtr<IBaseFilter> &filter : filters) {
                GUID classId;
                if (Succeeded(filter->GetClassID(classId)) && classId == CLSID_VideoRenderer) {
                    m_renderer = filter;
                    m_videoWindow = queryInterface<IVideoWindow>(filter);
                    break;
                }
            }
        }
    }
}

void TVideoWindow::SinkGraphEvent(int code, std::intptr_t, std::intptr_t)
{
    if (code == EC_PALETTE_CHANGED && m_videoWindow) {
        applyFullScreen(m_fullScreen);
        setCaptionAndDrain();
    } else if (code == EC_VMR_RENDERDEVICE_SET && m_vmrOptions->Mode() == vmrWindowed && m_videoWindow) {
        setCaptionAndDrain();
    }
}

HRESULT TVideoWindow::QueryInterface(const GUID &iid, void **object)
{
    return componentQueryInterface(
        iid, object, m_renderer.get(), static_cast<IGraphClient *>(this), static_cast<IGraphEventSink *>(this));
}

bool TVideoWindow::ShowsVideo() const
{
    return m_placed && m_videoWindow && rendererConnected();
}

void TVideoWindow::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    if (m_videoWindow) {
        m_videoWindow->put_Visible(visible);
    }
}

bool TVideoWindow::event(QEvent *event)
{
    if (event->type() == VideoFrameEventType()) {
        update();
        return true;
    }
    return QWidget::event(event);
}

void TVideoWindow::paintEvent(QPaintEvent *)
{
    if (!m_inFullScreen && ShowsVideo()) {
        QRect target;
        m_videoWindow->GetWindowPosition(target);
        paintVideo(this, target);
    } else {
        QPainter(this).fillRect(rect(), m_color);
    }
    if (OnPaint) {
        OnPaint(this);
    }
}

void TVideoWindow::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void TVideoWindow::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void TVideoWindow::paintVideo(QWidget *surface, const QRect &target)
{
    QPainter painter(surface);
    QImage frame;
    bool visible = true;
    if (!m_videoWindow || Failed(m_videoWindow->get_Visible(visible)) || !visible
        || Failed(m_videoWindow->CurrentFrame(frame))) {
        painter.fillRect(surface->rect(), m_color);
        return;
    }
    // Outside the video rectangle (a surface larger than the position given) the background shows.
    const QRegion outside = QRegion(surface->rect()).subtracted(target);
    for (const QRect &part : outside) {
        painter.fillRect(part, m_color);
    }
    painter.drawImage(target, frame); // nearest neighbour: no smooth transform is set
}

void TVideoWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_videoWindow && m_placed && !m_inFullScreen) {
        RaiseOnFailure(m_videoWindow->SetWindowPosition(0, 0, width(), height()));
    }
}

} // namespace pixolo
