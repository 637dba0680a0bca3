#include "capture/TFilterGraph.h"

#include "capture/CaptureGraphBuilder.h"
#include "capture/FailureReport.h"
#include "capture/GraphElement.h"
#include "capture/GraphPipeline.h"
#include "platform/MessageBox.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace pixolo
{

namespace
{

QEvent::Type notifyEventType()
{
    static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
    return type;
}

// ln(value + 1) × 1085.73, rounded to the nearest integer with halves going to the even neighbour.
int logarithmicScale(int value)
{
    return int(std::nearbyint(std::log(double(value) + 1.0) * 1085.73));
}

} // namespace

// The hidden receiver of the graph's notifications: it hands them to the component on the main thread.
class TFilterGraph::NotifyReceiver final : public QObject
{
public:
    explicit NotifyReceiver(TFilterGraph *graph)
        : m_graph(graph)
    {
    }

    bool event(QEvent *event) override
    {
        if (event->type() == notifyEventType()) {
            m_graph->drainEvents();
            return true;
        }
        return QObject::event(event);
    }

private:
    TFilterGraph *m_graph;
};

TFilterGraph::TFilterGraph(QObject *owner)
    : QObject(owner)
    , m_notifyReceiver(std::make_unique<NotifyReceiver>(this))
{
}

TFilterGraph::~TFilterGraph()
{
    // Deactivation reports what fails on its way and still releases the graph, so nothing is raised here.
    tearDown("Closing the filter graph", [this] { SetActive(false); });
    // The graph released its pipeline and handler with deactivation; notifications already posted go with the
    // receiver.
    QCoreApplication::removePostedEvents(m_notifyReceiver.get());
    m_notifyReceiver.reset();
}

void TFilterGraph::SetActive(bool active)
{
    if (active == m_active) {
        return;
    }
    if (active) {
        activate();
    } else {
        deactivate();
    }
}

void TFilterGraph::activate()
{
    if (m_mode != gmDVD) { // there is no DVD builder here: that mode is active without a graph
        initialiseGStreamer();
        m_graph = std::make_unique<GraphPipeline>();
    }
    if (m_mode == gmCapture) {
        m_captureBuilder = std::make_unique<CaptureGraphBuilder>(*m_graph);
    }
    m_active = true;

    if (m_graph) {
        m_graph->setNotifyReceiver(m_notifyReceiver.get(), notifyEventType());
        // The builder callbacks: the graph asks this component while it builds a chain.
        BuilderHooks hooks;
        hooks.selected = [this](const QString &name, const QString &factory) {
            return !OnSelectedFilter || OnSelectedFilter(name, factory);
        };
        hooks.created = [this](const QString &factory) { return !OnCreatedFilter || OnCreatedFilter(factory); };
        hooks.unrenderable = [this](const QString &filter, const QString &pad) {
            if (OnUnableToRender) {
                OnUnableToRender(filter, pad);
            }
        };
        m_graph->setBuilderHooks(std::move(hooks));
    }
    publishGraph(m_graphEdit);
    if (!m_logFile.isEmpty()) {
        const QString name = std::exchange(m_logFile, QString());
        SetLogFile(name);
    }
    for (IGraphClient *client : std::vector(m_clients)) {
        addClientFilter(client);
    }
    if (OnActivate) {
        OnActivate(this);
    }
    sendControlEvent(ctlActive, 1);
}

void TFilterGraph::deactivate()
{
    // Teardown goes to its end: what a sink or client raises on the way is reported, and the graph is released and
    // the component inactive afterwards all the same.
    tearDown("Telling the graph's sinks it stops", [this] { sendControlEvent(ctlActive, 0); });
    for (IGraphClient *client : std::vector(m_clients)) {
        removeClientFilter(client);
    }
    if (m_graph) {
        m_graph->stopNotifications(); // events queued before are not drained afterwards
        m_graph->setBuilderHooks({});
    }
    publishGraph(false);
    closeLog();
    m_captureBuilder.reset();
    m_graph.reset();
    m_published = false;
    m_active = false;
}

void TFilterGraph::addClientFilter(IGraphClient *client)
{
    client->NotifyClient(opBeforeAdd, 0);
    const QString name = client->GetClientName();
    if (GstElement *filter = client->GetClientFilter(); m_graph && filter) {
        m_graph->addFilter(filter, name); // a client without a filter is simply missing from the graph
    }
    client->NotifyClient(opAfterAdd, 0);
}

void TFilterGraph::removeClientFilter(IGraphClient *client)
{
    // A teardown path (deactivation, a client that detaches as it is destroyed): each step is taken whatever the one
    // before raised, so that the client always hears opAfterRemove and lets go of its filter.
    tearDown("Removing a filter from the graph", [client] { client->NotifyClient(opBeforeRemove, 0); });
    tearDown("Removing a filter from the graph", [this, client] {
        if (GstElement *filter = client->GetClientFilter(); m_graph && filter) {
            m_graph->removeFilter(filter);
        }
    });
    tearDown("Removing a filter from the graph", [client] { client->NotifyClient(opAfterRemove, 0); });
}

void TFilterGraph::AttachClient(IGraphClient *client)
{
    if (!client) {
        return;
    }
    m_clients.push_back(client);
    if (m_active) {
        addClientFilter(client);
    }
}

void TFilterGraph::DetachClient(IGraphClient *client)
{
    const auto found = std::find(m_clients.begin(), m_clients.end(), client);
    if (found == m_clients.end()) {
        return;
    }
    m_clients.erase(found);
    if (m_active) {
        removeClientFilter(client);
    }
}

void moveToGraph(QPointer<TFilterGraph> &attached, TFilterGraph *graph, IGraphClient *client, IGraphEventSink *sink)
{
    if (graph == attached) {
        return;
    }
    if (TFilterGraph *old = attached) {
        old->DetachClient(client);
        if (sink) {
            old->DetachSink(sink);
        }
    }
    if (graph) {
        graph->AttachClient(client);
        if (sink) {
            graph->AttachSink(sink);
        }
    }
    attached = graph;
}

void TFilterGraph::AttachSink(IGraphEventSink *sink)
{
    if (sink) {
        m_sinks.push_back(sink);
    }
}

void TFilterGraph::DetachSink(IGraphEventSink *sink)
{
    m_sinks.erase(std::remove(m_sinks.begin(), m_sinks.end(), sink), m_sinks.end());
}

void TFilterGraph::sendControlEvent(int code, int param)
{
    for (IGraphEventSink *sink : std::vector(m_sinks)) {
        sink->SinkControlEvent(code, param);
    }
}

void TFilterGraph::SetMode(TGraphMode mode)
{
    if (mode == m_mode) {
        return;
    }
    const bool wasActive = m_active;
    SetActive(false);
    m_mode = mode;
    SetActive(wasActive);
}

void TFilterGraph::Loaded()
{
    if (m_autoCreate) {
        SetActive(true);
    }
}

bool TFilterGraph::RunGraph()
{
    if (!m_graph) {
        return false;
    }
    sendControlEvent(ctlPlay, 0);
    m_graph->run();
    return true;
}

QString TFilterGraph::LastErrorText() const
{
    return m_graph ? m_graph->lastErrorText() : QString();
}

bool TFilterGraph::StopGraph()
{
    if (!m_graph) {
        return false;
    }
    sendControlEvent(ctlStop, 0);
    m_graph->stop();
    return true;
}

void TFilterGraph::ResetGraph()
{
    if (!m_graph) {
        return;
    }
    StopGraph();
    std::vector<GstElement *> filters = m_graph->filters();
    for (GstElement *filter : filters) {
        for (const GstRef<GstPad> &pad : padsOf(filter)) {
            unlinkPad(pad.get());
        }
    }
    for (IGraphClient *client : m_clients) {
        filters.erase(std::remove(filters.begin(), filters.end(), client->GetClientFilter()), filters.end());
    }
    for (GstElement *filter : filters) {
        m_graph->removeFilter(filter);
    }
}

bool TFilterGraph::RenderMediaFile(const QString &fileName)
{
    if (!m_graph) {
        return false;
    }
    sendControlEvent(ctlFileRendering, 0);
    m_graph->renderFile(fileName);
    applyAudio();
    m_graph->setRate(m_rate);
    sendControlEvent(ctlFileRendered, 0);
    return true;
}

bool TFilterGraph::RewindMedia()
{
    return m_graph && m_graph->rewind();
}

void TFilterGraph::RenderStream(IGraphClient *source, IGraphClient *intermediate, IGraphClient *sink)
{
    if (!m_captureBuilder) {
        throw EDirectShowException(E_UNEXPECTED);
    }
    const auto filterOf = [](IGraphClient *client) { return client ? client->GetClientFilter() : nullptr; };
    m_captureBuilder->RenderStream(filterOf(source), filterOf(intermediate), filterOf(sink));
}

std::vector<GstElement *> TFilterGraph::Filters() const
{
    return m_graph ? m_graph->filters() : std::vector<GstElement *>();
}

GstElement *TFilterGraph::Pipeline() const
{
    return m_graph ? m_graph->pipeline() : nullptr;
}

void TFilterGraph::SetVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 10000);
    applyAudio();
}

void TFilterGraph::SetBalance(int balance)
{
    m_balance = std::clamp(balance, -10000, 10000);
    applyAudio();
}

void TFilterGraph::SetRate(double rate)
{
    m_rate = rate;
    if (m_graph) {
        m_graph->setRate(m_rate);
    }
}

void TFilterGraph::SetLinearVolume(bool linearVolume)
{
    if (linearVolume == m_linearVolume) {
        return;
    }
    m_linearVolume = linearVolume;
    applyAudio();
}

void TFilterGraph::applyAudio()
{
    if (!m_graph) {
        return;
    }
    // Hundredths of a decibel, 0 being full volume and -10000 silence; the linear scale is logarithmic in them.
    m_graph->setVolume(m_linearVolume ? logarithmicScale(m_volume) - 10000 : m_volume - 10000);
    if (!m_linearVolume) {
        m_graph->setBalance(m_balance);
    } else {
        const int r = logarithmicScale(std::abs(m_balance));
        m_graph->setBalance(m_balance >= 0 ? -r : r);
    }
}

void TFilterGraph::SetGraphEdit(bool graphEdit)
{
    publishGraph(graphEdit);
    m_graphEdit = graphEdit;
}

void TFilterGraph::publishGraph(bool published)
{
    if (!m_active || !m_graph || published == m_published) {
        return;
    }
    m_graph->setDumpName(published ? QString::asprintf("FilterGraph %0*llX pid %X", int(sizeof(void *) * 2),
                             static_cast<unsigned long long>(quintptr(m_graph.get())), unsigned(::getpid()))
                                   : QString());
    m_published = published;
}

void TFilterGraph::SetLogFile(const QString &fileName)
{
    if (!m_active) {
        m_logFile = fileName;
        return;
    }
    closeLog();
    if (fileName.isEmpty()) {
        m_logFile = fileName;
        return;
    }
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        return; // logging stays off and the old name stays
    }
    if (m_graph) {
        m_graph->setLogFile(file->handle());
    }
    m_logStream = std::move(file);
    m_logFile = fileName;
}

void TFilterGraph::closeLog()
{
    if (m_graph) {
        m_graph->setLogFile(-1);
    }
    m_logStream.reset();
}

void TFilterGraph::drainEvents()
{
    try {
        // The graph may go while a handler runs (a sink may deactivate it): look it up each time.
        while (m_graph) {
            const std::optional<GraphEvent> event = m_graph->takeEvent();
            if (!event) {
                break;
            }
            HandleGraphEvent(event->code, event->param1, event->param2);
        }
    } catch (const std::exception &error) {
        // As the application's default handler does: the message is shown and the program goes on. The events
        // still waiting are taken at the next notification.
        MessageBox::show(QString::fromUtf8(error.what()), QCoreApplication::applicationName(), MessageBox::Error);
    }
}

void TFilterGraph::HandleGraphEvent(int code, std::intptr_t param1, std::intptr_t param2)
{
    for (IGraphEventSink *sink : std::vector(m_sinks)) {
        sink->SinkGraphEvent(code, param1, param2);
    }
    if (OnDSEvent) {
        OnDSEvent(this, code, param1, param2);
    }
    const auto call = [this](const auto &handler, auto &&...args) {
        if (handler) {
            handler(this, args...);
        }
    };
    switch (code) {
    case EC_COMPLETE:
        call(OnGraphComplete, DSErrorCode(param1));
        break;
    case EC_ERRORABORT:
        call(OnGraphErrorAbort, DSErrorCode(param1));
        break;
    case EC_VIDEO_SIZE_CHANGED:
        call(OnGraphVideoSizeChanged, std::uint16_t(param1 & 0xFFFF), std::uint16_t((param1 >> 16) & 0xFFFF));
        break;
    case EC_CLOCK_CHANGED:
        call(OnGraphClockChanged);
        break;
    case EC_DEVICE_LOST:
        call(OnGraphDeviceLost, param2 == 1);
        break;
    case EC_CLOCK_UNSET:
        call(OnGraphClockUnset);
        break;
    default:
        break; // other codes reach only the sinks and OnDSEvent
    }
}

} // namespace pixolo
