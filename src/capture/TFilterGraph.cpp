#include "capture/TFilterGraph.h"

#include "capture/EDirectShowException.h"
#include "capture/FailureReport.h"
#include "capture/FilterGraphManager.h"
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

// Runs a function when the scope ends, however it ends.
template <typename Function> class ScopeGuard
{
public:
    explicit ScopeGuard(Function function)
        : m_function(std::move(function))
    {
    }
    ~ScopeGuard() { m_function(); }
    ScopeGuard(const ScopeGuard &) = delete;
    ScopeGuard &operator=(const ScopeGuard &) = delete;

private:
    Function m_function;
};

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
    switch (m_mode) {
    case gmNormal:
        m_graph = createFrameworkObject<IFilterGraph2>(CLSID_FilterGraph);
        break;
    case gmCapture:
        m_captureBuilder = createFrameworkObject<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2);
        m_graph = createFrameworkObject<IFilterGraph2>(CLSID_FilterGraph);
        if (m_captureBuilder && m_graph) {
            m_captureBuilder->SetFiltergraph(m_graph.get());
        }
        break;
    case gmDVD:
        // There is no DVD builder in this layer: the component is active without a graph.
        m_dvdBuilder = createFrameworkObject<IInterface>(CLSID_DvdGraphBuilder);
        break;
    }
    m_active = true;

    m_eventSource = QueryInterface<IMediaEventEx>();
    if (m_eventSource) {
        m_eventSource->SetNotifyFlags(0);
        m_eventSource->SetNotifyWindow(
            m_notifyReceiver.get(), notifyEventType(), reinterpret_cast<std::intptr_t>(m_eventSource.get()));
    }
    if (const auto withSite = queryInterface<IObjectWithSite>(m_graph)) {
        withSite->SetSite(static_cast<IAMGraphBuilderCallback *>(this));
        withSite->SetSite(static_cast<IAMFilterGraphCallback *>(this)); // replaces the first: both reach us
    }
    if (m_graphEdit) {
        registerGraph();
    }
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
    if (m_eventSource) {
        m_eventSource->SetNotifyFlags(AM_MEDIAEVENT_NONOTIFY);
        // Someone else may still hold the graph: make sure it posts nothing to the receiver any more.
        m_eventSource->SetNotifyWindow(nullptr, 0, 0);
        m_eventSource.reset();
    }
    revokeGraph();
    closeLog();
    if (const auto withSite = queryInterface<IObjectWithSite>(m_graph)) {
        withSite->SetSite(nullptr); // the graph may outlive this component
    }
    m_graph.reset();
    m_captureBuilder.reset();
    m_dvdBuilder.reset();
    m_active = false;
}

void TFilterGraph::addClientFilter(IGraphClient *client)
{
    client->NotifyClient(opBeforeAdd, 0);
    const QString name = client->GetClientName();
    const RefPtr<IBaseFilter> filter = client->GetClientFilter();
    if (m_graph && filter) {
        m_graph->AddFilter(filter.get(), name); // a client without a filter is simply missing from the graph
    }
    client->NotifyClient(opAfterAdd, 0);
}

void TFilterGraph::removeClientFilter(IGraphClient *client)
{
    // A teardown path (deactivation, a client that detaches as it is destroyed): each step is taken whatever the one
    // before raised, so that the client always hears opAfterRemove and lets go of its filter.
    tearDown("Removing a filter from the graph", [client] { client->NotifyClient(opBeforeRemove, 0); });
    tearDown("Removing a filter from the graph", [this, client] {
        const RefPtr<IBaseFilter> filter = client->GetClientFilter();
        if (m_graph && filter) {
            m_graph->RemoveFilter(filter.get());
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
    const auto control = QueryInterface<IMediaControl>();
    if (!control) {
        return false;
    }
    sendControlEvent(ctlPlay, 0);
    RaiseOnFailure(control->Run());
    return true;
}

QString TFilterGraph::LastErrorText() const
{
    FilterGraphManager *manager = FilterGraphManager::from(m_graph.get());
    return manager ? manager->lastErrorText() : QString();
}

bool TFilterGraph::StopGraph()
{
    const auto control = QueryInterface<IMediaControl>();
    if (!control) {
        return false;
    }
    sendControlEvent(ctlStop, 0);
    return RaiseOnFailure(control->Stop()) == S_OK;
}

void TFilterGraph::ResetGraph()
{
    if (!m_graph) {
        return;
    }
    StopGraph();
    std::vector<RefPtr<IBaseFilter>> filters;
    m_graph->EnumFilters(filters);
    for (const RefPtr<IBaseFilter> &filter : filters) {
        std::vector<RefPtr<IPin>> pins;
        filter->EnumPins(pins);
        for (const RefPtr<IPin> &pin : pins) {
            RaiseOnFailure(pin->Disconnect());
        }
    }
    for (IGraphClient *client : m_clients) {
        const RefPtr<IBaseFilter> own = client->GetClientFilter();
        filters.erase(std::remove(filters.begin(), filters.end(), own), filters.end());
    }
    for (const RefPtr<IBaseFilter> &filter : filters) {
        RaiseOnFailure(m_graph->RemoveFilter(filter.get()));
    }
}

HRESULT TFilterGraph::RenderMediaFile(const QString &fileName)
{
    if (!m_graph) {
        return S_FALSE;
    }
    sendControlEvent(ctlFileRendering, 0);
    const HRESULT hr = RaiseOnFailure(m_graph->RenderFile(fileName));
    applyVolume();
    applyBalance();
    applyRate();
    sendControlEvent(ctlFileRendered, 0);
    return hr;
}

void TFilterGraph::SetVolume(int volume)
{
    m_volume = std::clamp(volume, 0, 10000);
    applyVolume();
}

void TFilterGraph::SetBalance(int balance)
{
    m_balance = std::clamp(balance, -10000, 10000);
    applyBalance();
}

void TFilterGraph::SetRate(double rate)
{
    m_rate = rate;
    applyRate();
}

void TFilterGraph::SetLinearVolume(bool linearVolume)
{
    if (linearVolume == m_linearVolume) {
        return;
    }
    m_linearVolume = linearVolume;
    applyVolume();
    applyBalance();
}

void TFilterGraph::applyVolume()
{
    if (const auto audio = QueryInterface<IBasicAudio>()) {
        audio->put_Volume(m_linearVolume ? logarithmicScale(m_volume) - 10000 : m_volume - 10000);
    }
}

void TFilterGraph::applyBalance()
{
    if (const auto audio = QueryInterface<IBasicAudio>()) {
        if (!m_linearVolume) {
            audio->put_Balance(m_balance);
        } else {
            const int r = logarithmicScale(std::abs(m_balance));
            audio->put_Balance(m_balance >= 0 ? -r : r);
        }
    }
}

void TFilterGraph::applyRate()
{
    if (const auto seeking = QueryInterface<IMediaSeeking>()) {
        seeking->SetRate(m_rate);
    }
}

void TFilterGraph::SetGraphEdit(bool graphEdit)
{
    if (graphEdit) {
        registerGraph();
    } else {
        revokeGraph();
    }
    m_graphEdit = graphEdit;
}

void TFilterGraph::registerGraph()
{
    if (!m_active || !m_graph || m_registration != 0) {
        return;
    }
    const QString name = QString::asprintf("FilterGraph %0*llX pid %X", int(sizeof(void *) * 2),
        static_cast<unsigned long long>(quintptr(m_graph.get())), unsigned(::getpid()));
    std::uint32_t cookie = 0;
    if (Succeeded(RegisterGraphForInspection(m_graph.get(), name, cookie))) {
        m_registration = cookie;
    }
}

void TFilterGraph::revokeGraph()
{
    if (m_registration != 0) {
        RevokeGraphInspection(m_registration);
        m_registration = 0;
    }
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
        m_graph->SetLogFile(file->handle());
    }
    m_logStream = std::move(file);
    m_logFile = fileName;
}

void TFilterGraph::closeLog()
{
    if (m_graph) {
        m_graph->SetLogFile(-1);
    }
    m_logStream.reset();
}

HRESULT TFilterGraph::QueryInterface(const GUID &iid, void **object)
{
    const HRESULT own = componentQueryInterface(iid, object, nullptr, static_cast<IAMGraphBuilderCallback *>(this),
        static_cast<IAMFilterGraphCallback *>(this), static_cast<IServiceProvider *>(this));
    if (own != E_NOINTERFACE || !m_active) {
        return own;
    }
    IInterface *const lookIn[] = {
        m_mode == gmCapture ? static_cast<IInterface *>(m_captureBuilder.get()) : nullptr,
        m_mode == gmDVD ? m_dvdBuilder.get() : nullptr,
        m_graph.get(),
    };
    for (IInterface *candidate : lookIn) {
        if (candidate && Succeeded(candidate->QueryInterface(iid, object))) {
            return S_OK;
        }
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT TFilterGraph::SelectedFilter(IMoniker *moniker)
{
    if (!OnSelectedFilter) {
        return S_OK;
    }
    RefPtr<IPropertyBag> bag;
    QString name;
    GUID classId;
    if (moniker && Succeeded(moniker->BindToStorage(bag))) {
        QString text;
        if (Succeeded(bag->Read(QStringLiteral("CLSID"), text))) {
            classId = GUID::fromString(text).value_or(GUID_NULL);
        }
        if (Failed(bag->Read(QStringLiteral("FriendlyName"), name))) {
            name.clear();
        }
    }
    return OnSelectedFilter(moniker, name, classId) ? S_OK : E_FAIL;
}

HRESULT TFilterGraph::CreatedFilter(IBaseFilter *filter)
{
    if (!OnCreatedFilter) {
        return S_OK;
    }
    GUID classId;
    if (filter) {
        filter->GetClassID(classId);
    }
    return OnCreatedFilter(filter, classId) ? S_OK : E_FAIL;
}

HRESULT TFilterGraph::UnableToRender(IPin *pin)
{
    // Finds the component that owns the pin's graph through the graph's service lookup.
    PIN_INFO pinInfo;
    FILTER_INFO filterInfo;
    if (!pin || Failed(pin->QueryPinInfo(pinInfo)) || !pinInfo.pFilter
        || Failed(pinInfo.pFilter->QueryFilterInfo(filterInfo)) || !filterInfo.pGraph) {
        return S_FALSE;
    }
    const auto provider = queryInterface<IServiceProvider>(filterInfo.pGraph);
    void *found = nullptr;
    if (!provider || Failed(provider->QueryService(IID_FilterGraphComponent, IID_FilterGraphComponent, &found))) {
        return S_FALSE;
    }
    auto *component = static_cast<TFilterGraph *>(found);
    if (!component->OnUnableToRender) {
        return S_FALSE;
    }
    return component->OnUnableToRender(pin) ? S_OK : S_FALSE;
}

HRESULT TFilterGraph::QueryService(const GUID &service, const GUID &iid, void **object)
{
    if (service == IID_FilterGraphComponent && iid == IID_FilterGraphComponent && object) {
        *object = this;
        return S_OK;
    }
    return E_NOINTERFACE;
}

void TFilterGraph::drainEvents()
{
    int code = 0;
    std::intptr_t param1 = 0;
    std::intptr_t param2 = 0;
    try {
        // The event source may go while a handler runs (a sink may deactivate the graph): look it up each time.
        while (m_eventSource && m_eventSource->GetEvent(code, param1, param2, 0) == S_OK) {
            const RefPtr<IMediaEventEx> source = m_eventSource;
            const ScopeGuard freeParams([&] { source->FreeEventParams(code, param1, param2); });
            HandleGraphEvent(code, param1, param2);
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
    const auto wide = [](std::intptr_t text) {
        return text ? QString::fromUtf16(reinterpret_cast<const char16_t *>(text)) : QString();
    };
    const auto u32 = [](std::intptr_t value) { return std::uint32_t(value); };
    switch (code) {
    case EC_COMPLETE:
        call(OnGraphComplete, HRESULT(param1), reinterpret_cast<IBaseFilter *>(param2));
        break;
    case EC_USERABORT:
        call(OnGraphUserAbort);
        break;
    case EC_ERRORABORT:
        call(OnGraphErrorAbort, HRESULT(param1));
        break;
    case EC_STREAM_ERROR_STOPPED:
        call(OnGraphStreamErrorStopped, HRESULT(param1), u32(param2));
        break;
    case EC_STREAM_ERROR_STILLPLAYING:
        call(OnGraphStreamErrorStillPlaying, HRESULT(param1), u32(param2));
        break;
    case EC_ERROR_STILLPLAYING:
        call(OnGraphErrorStillPlaying, HRESULT(param1));
        break;
    case EC_PALETTE_CHANGED:
        call(OnGraphPaletteChanged);
        break;
    case EC_VIDEO_SIZE_CHANGED:
        call(OnGraphVideoSizeChanged, std::uint16_t(param1 & 0xFFFF), std::uint16_t((param1 >> 16) & 0xFFFF));
        break;
    case EC_QUALITY_CHANGE:
        call(OnGraphQualityChange);
        break;
    case EC_CLOCK_CHANGED:
        call(OnGraphClockChanged);
        break;
    case EC_PAUSED:
        call(OnGraphPaused, HRESULT(param1));
        break;
    case EC_OPENING_FILE:
        call(OnGraphOpeningFile, param1 == 1);
        break;
    case EC_BUFFERING_DATA:
        call(OnGraphBufferingData, param1 == 1);
        break;
    case EC_FULLSCREEN_LOST:
        call(OnGraphFullscreenLost, reinterpret_cast<IBaseFilter *>(param2));
        break;
    case EC_OLE_EVENT:
        call(OnGraphOleEvent, wide(param1), wide(param2));
        break;
    case EC_STREAM_CONTROL_STOPPED:
        call(OnGraphStreamControlStopped, reinterpret_cast<IPin *>(param1), u32(param2));
        break;
    case EC_STREAM_CONTROL_STARTED:
        call(OnGraphStreamControlStarted, reinterpret_cast<IPin *>(param1), u32(param2));
        break;
    case EC_END_OF_SEGMENT:
        call(OnGraphEndOfSegment, param1 ? *reinterpret_cast<const std::int64_t *>(param1) : std::int64_t(0),
            u32(param2));
        break;
    case EC_DEVICE_LOST:
        call(OnGraphDeviceLost, reinterpret_cast<IInterface *>(param1), param2 == 1);
        break;
    case EC_STEP_COMPLETE:
        call(OnGraphStepComplete);
        break;
    case EC_TIMECODE_AVAILABLE:
        call(OnGraphTimeCodeAvailable, reinterpret_cast<IBaseFilter *>(param1), u32(param2));
        break;
    case EC_EXTDEVICE_MODE_CHANGE:
        call(OnGraphEXTDeviceModeChange, u32(param1), u32(param2));
        break;
    case EC_GRAPH_CHANGED:
        call(OnGraphChanged);
        break;
    case EC_CLOCK_UNSET:
        call(OnGraphClockUnset);
        break;
    case EC_VMR_RENDERDEVICE_SET:
        call(OnGraphVMRRenderDevice, int(param1));
        break;
    case EC_SNDDEV_IN_ERROR:
        call(OnGraphSNDDevInError, int(param1), u32(param2));
        break;
    case EC_SNDDEV_OUT_ERROR:
        call(OnGraphSNDDevOutError, int(param1), u32(param2));
        break;
    default:
        if (code >= EC_DVD_FIRST && code <= EC_DVD_LAST) {
            call(OnDVDEvent, code, param1, param2);
        }
        break;
    }
}

} // namespace pixolo
