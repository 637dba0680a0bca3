#include "capture/TVideoWindow.h"

#include "capture/EDirectShowException.h"
#include "capture/GraphElement.h"
#include "capture/VideoRenderer.h"

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
    if (m_renderer) {
        m_renderer->setOwner(nullptr);
    }
}

GstElement *TVideoWindow::GetClientFilter()
{
    return m_renderer ? m_renderer->element() : nullptr;
}

void TVideoWindow::SetFilterGraph(TFilterGraph *graph)
{
    moveToGraph(m_filterGraph, graph, this, this);
}

void TVideoWindow::SetMode(TVideoMode mode)
{
    mode = vmNormal; // there is no mixing renderer here
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
    if (m_renderer && rendererConnected()) {
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
    if (m_renderer && m_inFullScreen && m_fullScreenView) {
        return m_fullScreenView.get();
    }
    return const_cast<TVideoWindow *>(this);
}

void TVideoWindow::NotifyClient(TClientOperation operation, int)
{
    // Only the plain renderer exists here (Mode cannot become vmVMR), so both modes take this path.
    switch (operation) {
    case opBeforeAdd:
        m_renderer = VideoRenderer::create();
        break;
    case opAfterAdd:
        if (m_renderer) {
            m_renderer->setVisible(!isHidden()); // the control's own flag: a child shows with its window
            // The size frames are wanted at, from the first one on: the chain scales them while it streams.
            m_renderer->SetWindowPosition(0, 0, width(), height());
        }
        break;
    case opBeforeRemove:
        if (m_renderer) {
            m_renderer->setOwner(nullptr);
            if (gst_element_set_state(m_renderer->element(), GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
                throw EDirectShowException(E_FAIL);
            }
            for (const GstRef<GstPad> &pad : padsOf(m_renderer->element())) {
                unlinkPad(pad.get());
            }
        }
        break;
    case opAfterRemove:
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
    return m_renderer && hasLinkedPad(m_renderer->element());
}

void TVideoWindow::applyFullScreen(bool fullScreen)
{
    if (!rendererConnected()) {
        return;
    }
    if (!fullScreen) {
        m_renderer->setOwner(this);
        m_renderer->SetWindowPosition(0, 0, width(), height());
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
        m_renderer->setOwner(m_fullScreenView.get());
        m_renderer->SetWindowPosition(0, 0, area.width(), area.height());
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
        m_renderer->setCaption(objectName());
    }
}

void TVideoWindow::SinkControlEvent(int code, int)
{
    if (code == ctlPlay && rendererConnected()) {
        applyFullScreen(m_fullScreen);
        setCaptionAndDrain();
    }
}

void TVideoWindow::SinkGraphEvent(int, std::intptr_t, std::intptr_t)
{
    // None of the events this graph sends asks the renderer to be placed again.
}

QString TVideoWindow::VideoCaption() const
{
    return m_renderer ? m_renderer->caption() : QString();
}

bool TVideoWindow::VideoVisible() const
{
    return m_renderer && m_renderer->visible();
}

void TVideoWindow::SetVideoVisible(bool visible)
{
    if (m_renderer) {
        m_renderer->setVisible(visible);
        update();
    }
}

bool TVideoWindow::ShowsVideo() const
{
    return m_placed && rendererConnected();
}

void TVideoWindow::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    if (m_renderer) {
        m_renderer->setVisible(visible);
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
        paintVideo(this, m_renderer->windowPosition());
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
    const QImage frame = m_renderer && m_renderer->visible() ? m_renderer->currentFrame() : QImage();
    if (frame.isNull()) {
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
    if (m_renderer && m_placed && !m_inFullScreen) {
        m_renderer->SetWindowPosition(0, 0, width(), height());
    }
}

} // namespace pixolo
