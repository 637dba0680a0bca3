#include "capture/FilterGraphManager.h"

#include "capture/DeviceMoniker.h"
#include "capture/FailureReport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <map>
#include <memory>
#include <thread>

namespace pixolo
{

namespace
{

// How long RenderFile waits for a chain to preroll before it gives up.
constexpr GstClockTime prerollTimeout = 5 * GST_SECOND;

// decodebin's answers to "autoplug-select".
constexpr int autoplugTry = 0;
constexpr int autoplugSkip = 2;

// Hundredths of a decibel to a linear factor; -10000 and below is silence.
double linearFromHundredthsOfDecibel(std::int32_t value)
{
    return value <= -10000 ? 0.0 : std::pow(10.0, value / 2000.0);
}

QString elementLabel(GstElement *element)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    return QStringLiteral("\"%1\" (%2)")
        .arg(QString::fromUtf8(GST_OBJECT_NAME(element)),
            QString::fromUtf8(factory ? GST_OBJECT_NAME(factory) : G_OBJECT_TYPE_NAME(element)));
}

QString padLabel(GstPad *pad)
{
    const auto owner = GstRef<GstElement>::adopt(gst_pad_get_parent_element(pad));
    return QStringLiteral("\"%1\".%2")
        .arg(QString::fromUtf8(owner ? GST_OBJECT_NAME(owner.get()) : "?"), QString::fromUtf8(GST_PAD_NAME(pad)));
}

bool hasFactory(IBaseFilter *filter, const char *factoryName)
{
    FilterCore *core = FilterCore::from(filter);
    GstElementFactory *factory = core ? gst_element_get_factory(core->element()) : nullptr;
    return factory && g_strcmp0(GST_OBJECT_NAME(factory), factoryName) == 0;
}

// The graphs registered for inspection, by cookie. Main thread only.
std::map<std::uint32_t, RefPtr<IInterface>> &registrations()
{
    static std::map<std::uint32_t, RefPtr<IInterface>> table;
    return table;
}

// What the decoding bin of a playback chain needs in its callbacks.
// The hooks live as long as the decoding element (they are freed with its signal handlers), so they must not hold
// the element's own filter: that filter holds the element, and the two would keep each other, with everything the
// decoder made inside itself, alive for good. The filter is found from the element when it is needed.
struct DecoderHooks {
    FilterGraphManager *graph; // the graph owns the pipeline that owns the decoder: it outlives every callback
    GstRef<GstPad> audioInput; // the converter's input that the decoded audio goes to
};

// The decoding bin calls these on its streaming threads: nothing raised may unwind into it.
void onDecoderPadAdded(GstElement *, GstPad *pad, gpointer data)
{
    guardCallback("Linking the decoded sound", [&] {
        auto *hooks = static_cast<DecoderHooks *>(data);
        const auto caps = GstRef<GstCaps>::adopt(gst_pad_get_current_caps(pad));
        const GstStructure *structure
            = caps && !gst_caps_is_empty(caps.get()) ? gst_caps_get_structure(caps.get(), 0) : nullptr;
        if (structure && g_str_has_prefix(gst_structure_get_name(structure), "audio/")
            && !gst_pad_is_linked(hooks->audioInput.get())) {
            hooks->graph->linkPads(pad, hooks->audioInput.get());
        }
    });
}

int onDecoderSelect(GstElement *, GstPad *, GstCaps *, GstElementFactory *factory, gpointer data)
{
    // A selection handler that fails refuses the element, as a "no" would.
    return guardCallback("Choosing a decoder", autoplugSkip,
        [&] { return static_cast<DecoderHooks *>(data)->graph->selectFactory(factory) ? autoplugTry : autoplugSkip; });
}

void onDecoderElementAdded(GstBin *, GstBin *, GstElement *element, gpointer data)
{
    const bool accepted = guardCallback("Accepting a decoder's element", false, [&] {
        return static_cast<DecoderHooks *>(data)->graph->acceptCreatedFilter(ElementFilter::wrap(element).get());
    });
    if (!accepted) {
        // The bin cannot give a created element back: the chain as a whole is refused.
        GST_ELEMENT_ERROR(
            element, CORE, MISSING_PLUGIN, ("A filter was refused while the chain was built."), (nullptr));
    }
}

void onDecoderUnknownType(GstElement *decoder, GstPad *pad, GstCaps *, gpointer data)
{
    guardCallback("Reporting a stream that cannot be played", [&] {
        auto *hooks = static_cast<DecoderHooks *>(data);
        if (FilterCore *filter = FilterCore::ofElement(decoder)) {
            hooks->graph->reportUnrenderable(filter->self(), pad);
        }
    });
}

void freeDecoderHooks(gpointer data, GClosure *)
{
    delete static_cast<DecoderHooks *>(data);
}

// One state change for the graph's worker; the task holds its element until it is done.
struct StateChange {
    GstRef<GstElement> element;
    GstState state;
};

} // namespace

// The thread that carries out a camera graph's state changes, in the order they were asked for. It belongs to itself
// once started: a graph that goes hands it its last change (the pipeline to NULL) and lets it finish that on its own,
// however long the camera keeps it.
class FilterGraphManager::StateWorker
{
public:
    static std::shared_ptr<StateWorker> start()
    {
        auto worker = std::make_shared<StateWorker>();
        std::thread([worker] { worker->run(); }).detach();
        return worker;
    }

    void push(GstElement *element, GstState state)
    {
        const std::lock_guard lock(m_lock);
        m_changes.push_back({ GstRef<GstElement>::ref(element), state });
        m_wake.notify_one();
    }

    // No more changes: the thread ends once it has carried out those it has.
    void finish()
    {
        const std::lock_guard lock(m_lock);
        m_finishing = true;
        m_wake.notify_one();
    }

private:
    void run()
    {
        for (;;) {
            StateChange change;
            {
                std::unique_lock lock(m_lock);
                m_wake.wait(lock, [this] { return m_finishing || !m_changes.empty(); });
                if (m_changes.empty()) {
                    return;
                }
                change = std::move(m_changes.front());
                m_changes.pop_front();
            }
            gst_element_set_state(change.element.get(), change.state);
        }
    }

    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<StateChange> m_changes;
    bool m_finishing = false;
};

namespace
{

} // namespace

// The sync handler's way to the graph. The pipeline owns it, so it lives as long as anything can still post a message
// (a camera's pipeline may be finishing its stop on the worker after the graph is gone); the graph cuts the way
// when it goes, and a message that arrives after that is dropped.
struct FilterGraphManager::BusLink {
    std::mutex lock;
    FilterGraphManager *graph = nullptr;
};

FilterGraphManager::FilterGraphManager()
    : m_pipeline(GstRef<GstElement>::adopt(gst_pipeline_new(nullptr)))
{
    m_busLink = new BusLink;
    m_busLink->graph = this;
    g_object_set_data_full(G_OBJECT(m_pipeline.get()), "pixolo-bus-link", m_busLink, [](gpointer link) {
        handOver(link); // the pipeline may end on another thread than the graph that cut the link
        delete static_cast<BusLink *>(link);
    });
    const auto bus = GstRef<GstBus>::adopt(gst_pipeline_get_bus(GST_PIPELINE(m_pipeline.get())));
    handOver(m_busLink); // streaming threads reach it through GStreamer
    gst_bus_set_sync_handler(bus.get(), &FilterGraphManager::onBusMessage, m_busLink, nullptr);
}

FilterGraphManager::~FilterGraphManager()
{
    // Teardown order: no message reaches this graph any more, nothing streams any more (a camera's pipeline stops on
    // the worker, which keeps it until it has), then the filters forget us.
    {
        const std::lock_guard lock(m_busLink->lock);
        m_busLink->graph = nullptr;
    }
    handOver(m_busLink);
    // A camera's pipeline stops on the worker, after whatever change is still on its way there; its elements' calls
    // into our objects pass gates that those objects close as they go.
    changeState(m_pipeline.get(), GST_STATE_NULL);
    if (m_stateWorker) {
        m_stateWorker->finish(); // the queued changes still run, then the thread ends
    }
    const auto bus = GstRef<GstBus>::adopt(gst_pipeline_get_bus(GST_PIPELINE(m_pipeline.get())));
    gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
    for (FilterEntry &entry : m_filters) {
        entry.filter->JoinFilterGraph(nullptr, QString());
    }
    m_filters.clear();
}

bool FilterGraphManager::holdsLiveSource() const
{
    return std::any_of(m_filters.begin(), m_filters.end(), [](const FilterEntry &entry) {
        return FilterCore::isDeviceSource(FilterCore::from(entry.filter.get())->element());
    });
}

bool FilterGraphManager::changesStateOnWorker() const
{
    return m_stateWorker || holdsLiveSource();
}

GstStateChangeReturn FilterGraphManager::changeState(GstElement *element, GstState state)
{
    // A camera's source may wait in a state change for as long as its system lets it (a PipeWire stream that never
    // gets a format waits half a minute): while the graph holds one, its state changes, the pipeline's and its
    // elements', run in order on a worker of the graph's own, and their outcome arrives on the bus like any other.
    // None runs on the caller's thread meanwhile: a pipeline changing state on one thread and an element of it on
    // another can each wait for the other. Once a change went to the worker, every later one follows it there.
    if (!changesStateOnWorker()) {
        return gst_element_set_state(element, state);
    }
    if (!m_stateWorker) {
        m_stateWorker = StateWorker::start();
    }
    m_stateWorker->push(element, state);
    return GST_STATE_CHANGE_ASYNC;
}

void *FilterGraphManager::findInterface(const GUID &iid)
{
    return iid == IID ? this : FrameworkObject::findInterface(iid);
}

FilterGraphManager *FilterGraphManager::from(IInterface *object)
{
    void *found = nullptr;
    if (!object || Failed(object->QueryInterface(IID, &found))) {
        return nullptr;
    }
    auto *graph = static_cast<FilterGraphManager *>(found);
    graph->Release(); // the caller's reference keeps it alive
    return graph;
}

HRESULT FilterGraphManager::AddFilter(IBaseFilter *filter, const QString &name)
{
    FilterCore *core = FilterCore::from(filter);
    if (!core) {
        return filter ? E_INVALIDARG : E_POINTER;
    }
    if (core->graph() || GST_OBJECT_PARENT(core->element())) {
        return E_WRONG_STATE; // already in a graph
    }
    const QString unique = uniqueName(name);
    gst_object_set_name(GST_OBJECT(core->element()), unique.toUtf8().constData());
    gst_element_set_locked_state(core->element(), FALSE); // it may have been in a graph before
    if (!gst_bin_add(GST_BIN(m_pipeline.get()), core->element())) {
        return E_FAIL;
    }
    core->self()->JoinFilterGraph(this, unique);
    m_filters.push_back({ RefPtr<IBaseFilter>(filter), unique });
    log(QStringLiteral("Added %1").arg(elementLabel(core->element())));
    dumpGraph();
    return unique == name ? S_OK : S_DUPLICATE_NAME;
}

HRESULT FilterGraphManager::RemoveFilter(IBaseFilter *filter)
{
    const int index = findFilter(filter);
    if (index < 0) {
        return E_NOT_FOUND;
    }
    const FilterEntry entry = m_filters[size_t(index)];
    m_filters.erase(m_filters.begin() + index);
    FilterCore *core = FilterCore::from(filter);
    log(QStringLiteral("Removed %1").arg(elementLabel(core->element())));
    // The pipeline may still be finishing a state change on a thread of its own that already holds the element and
    // would take it back up, even after it left the pipeline: its state stays locked, so that it stops for good and
    // is never freed while running. Adding it to a graph again unlocks it.
    gst_element_set_locked_state(core->element(), TRUE);
    if (m_stateWorker || FilterCore::isDeviceSource(core->element()) || holdsLiveSource()) {
        // A camera's graph: the worker stops the element once it has left the pipeline.
        if (!m_stateWorker) {
            m_stateWorker = StateWorker::start();
        }
        const GstRef<GstElement> element = GstRef<GstElement>::ref(core->element());
        gst_bin_remove(GST_BIN(m_pipeline.get()), element.get());
        changeState(element.get(), GST_STATE_NULL);
    } else {
        gst_element_set_state(core->element(), GST_STATE_NULL);
        gst_bin_remove(GST_BIN(m_pipeline.get()), core->element()); // unlinks its pads
    }
    filter->JoinFilterGraph(nullptr, QString());
    dumpGraph();
    return S_OK;
}

HRESULT FilterGraphManager::EnumFilters(std::vector<RefPtr<IBaseFilter>> &filters)
{
    filters.clear();
    for (const FilterEntry &entry : m_filters) {
        filters.push_back(entry.filter);
    }
    return S_OK;
}

int FilterGraphManager::findFilter(IBaseFilter *filter) const
{
    for (size_t i = 0; i < m_filters.size(); ++i) {
        if (m_filters[i].filter.get() == filter) {
            return int(i);
        }
    }
    return -1;
}

QString FilterGraphManager::uniqueName(const QString &name) const
{
    const auto taken = [this](const QString &candidate) {
        for (const FilterEntry &entry : m_filters) {
            if (entry.name == candidate) {
                return true;
            }
        }
        return false;
    };
    QString candidate = name;
    for (int number = 1; taken(candidate); ++number) {
        candidate = name + QStringLiteral(" %1").arg(number, 4, 10, QLatin1Char('0'));
    }
    return candidate;
}

RefPtr<IBaseFilter> FilterGraphManager::addElement(const char *factoryName, const QString &name)
{
    auto factory = GstRef<GstElementFactory>::adopt(gst_element_factory_find(factoryName));
    if (!factory || !selectFactory(factory.get())) {
        return {};
    }
    auto element = GstRef<GstElement>::adopt(gst_element_factory_create(factory.get(), nullptr));
    if (!element) {
        return {};
    }
    auto filter = makeObject<ElementFilter>(std::move(element), ElementClassId(factoryName));
    if (!acceptCreatedFilter(filter.get()) || Failed(AddFilter(filter.get(), name))) {
        return {};
    }
    return RefPtr<IBaseFilter>(filter);
}

bool FilterGraphManager::linkPads(GstPad *source, GstPad *sink)
{
    if (GST_PAD_LINK_FAILED(gst_pad_link(source, sink))) {
        return false;
    }
    log(QStringLiteral("Connected %1 to %2").arg(padLabel(source), padLabel(sink)));
    return true;
}

void FilterGraphManager::log(const QString &line)
{
    const QByteArray text = line.toUtf8() + '\n';
    const std::lock_guard lock(m_logLock); // decoders link their pads from streaming threads
    if (m_logFile >= 0) {
        const ssize_t written = ::write(m_logFile, text.constData(), size_t(text.size()));
        Q_UNUSED(written); // a log that cannot be written is not the graph's failure
    }
}

HRESULT FilterGraphManager::SetLogFile(int fileDescriptor)
{
    const std::lock_guard lock(m_logLock);
    m_logFile = fileDescriptor;
    return S_OK;
}

void FilterGraphManager::setDumpName(const QString &name)
{
    if (!m_dumpName.isEmpty()) {
        const QString folder = qEnvironmentVariable("GST_DEBUG_DUMP_DOT_DIR");
        if (!folder.isEmpty()) {
            QFile::remove(QDir(folder).filePath(m_dumpName + QStringLiteral(".dot")));
        }
    }
    m_dumpName = name;
    dumpGraph();
}

void FilterGraphManager::dumpGraph()
{
    const QString folder = qEnvironmentVariable("GST_DEBUG_DUMP_DOT_DIR");
    if (m_dumpName.isEmpty() || folder.isEmpty()) {
        return;
    }
    gchar *dot = gst_debug_bin_to_dot_data(GST_BIN(m_pipeline.get()), GST_DEBUG_GRAPH_SHOW_ALL);
    QSaveFile file(QDir(folder).filePath(m_dumpName + QStringLiteral(".dot")));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(dot);
        file.commit();
    }
    g_free(dot);
}

HRESULT FilterGraphManager::RenderFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists()) {
        return E_FILE_NOT_FOUND;
    }
    if (!info.isFile() || !info.isReadable()) {
        return E_ACCESSDENIED;
    }

    std::vector<RefPtr<IBaseFilter>> added;
    const auto add = [&](const char *factory, const char *name) {
        RefPtr<IBaseFilter> filter = addElement(factory, QString::fromLatin1(name));
        if (filter) {
            added.push_back(filter);
        }
        return filter ? FilterCore::from(filter.get())->element() : nullptr;
    };
    const auto fail = [&](HRESULT hr) {
        for (auto it = added.rbegin(); it != added.rend(); ++it) {
            RemoveFilter(it->get());
        }
        return hr;
    };

    GstElement *source = add("filesrc", "File Source");
    GstElement *decoder = add("decodebin", "Decoder");
    GstElement *converter = add("audioconvert", "Audio Converter");
    GstElement *resampler = add("audioresample", "Audio Resampler");
    GstElement *balance = add("audiopanorama", "Balance");
    GstElement *volume = add("volume", "Volume");
    if (!source || !decoder || !converter || !resampler || !balance || !volume) {
        return fail(E_CANNOT_RENDER);
    }
    GError *parseError = nullptr;
    auto sinkElement = GstRef<GstElement>::adopt(
        gst_parse_bin_from_description(AudioSinkDescription().constData(), TRUE, &parseError));
    g_clear_error(&parseError);
    if (!sinkElement) {
        return fail(E_CANNOT_RENDER);
    }
    auto sink = makeObject<ElementFilter>(std::move(sinkElement), ElementClassId("audiosink"));
    if (Failed(AddFilter(sink.get(), QStringLiteral("Audio Renderer")))) {
        return fail(E_CANNOT_RENDER);
    }
    added.push_back(RefPtr<IBaseFilter>(sink));

    g_object_set(source, "location", QFile::encodeName(fileName).constData(), nullptr);
    gst_util_set_object_arg(G_OBJECT(balance), "method", "simple"); // attenuates one channel, as a balance does
    const auto staticPad = [](GstElement *element, const char *name) {
        return GstRef<GstPad>::adopt(gst_element_get_static_pad(element, name));
    };
    const bool linked = linkPads(staticPad(source, "src").get(), staticPad(decoder, "sink").get())
        && linkPads(staticPad(converter, "src").get(), staticPad(resampler, "sink").get())
        && linkPads(staticPad(resampler, "src").get(), staticPad(balance, "sink").get())
        && linkPads(staticPad(balance, "src").get(), staticPad(volume, "sink").get())
        && linkPads(staticPad(volume, "src").get(), staticPad(FilterCore::from(sink.get())->element(), "sink").get());
    if (!linked) {
        return fail(E_CANNOT_CONNECT);
    }
    auto audioInput = staticPad(converter, "sink");
    const auto connect = [&](const char *signal, GCallback callback) {
        g_signal_connect_data(
            decoder, signal, callback, new DecoderHooks { this, audioInput }, freeDecoderHooks, GConnectFlags(0));
    };
    connect("pad-added", G_CALLBACK(onDecoderPadAdded));
    connect("autoplug-select", G_CALLBACK(onDecoderSelect));
    connect("deep-element-added", G_CALLBACK(onDecoderElementAdded));
    connect("unknown-type", G_CALLBACK(onDecoderUnknownType));

    // Prerolling shows at once whether the file plays; errors meanwhile belong to this call, not to the events.
    m_renderError = S_OK;
    m_rendering = true;
    gst_element_set_state(m_pipeline.get(), GST_STATE_PAUSED);
    const GstStateChangeReturn state = gst_element_get_state(m_pipeline.get(), nullptr, nullptr, prerollTimeout);
    m_rendering = false;

    HRESULT hr = m_renderError;
    if (Succeeded(hr) && state == GST_STATE_CHANGE_FAILURE) {
        hr = E_CANNOT_RENDER;
    } else if (Succeeded(hr) && state == GST_STATE_CHANGE_ASYNC) {
        hr = E_TIMEOUT;
    } else if (Succeeded(hr) && !gst_pad_is_linked(audioInput.get())) {
        hr = E_CANNOT_RENDER; // nothing in the file is sound
    }
    gint64 duration = -1;
    if (Succeeded(hr) && gst_element_query_duration(m_pipeline.get(), GST_FORMAT_TIME, &duration) && duration == 0) {
        hr = E_UNSUPPORTED_STREAM;
    }
    if (Failed(hr)) {
        {
            const std::lock_guard lock(m_eventLock);
            m_errorSeen = true; // the second copy of the error must not become an event
        }
        gst_element_set_state(m_pipeline.get(), GST_STATE_READY);
        return fail(hr);
    }
    applyAudio();
    if (m_rate != 1.0) {
        SetRate(m_rate);
    }
    dumpGraph();
    return S_OK;
}

void FilterGraphManager::applyAudio()
{
    put_Volume(m_volume);
    put_Balance(m_balance);
}

HRESULT FilterGraphManager::put_Volume(std::int32_t volume)
{
    m_volume = std::clamp<std::int32_t>(volume, -10000, 0);
    HRESULT hr = E_NOTIMPL;
    for (const FilterEntry &entry : m_filters) {
        if (hasFactory(entry.filter.get(), "volume")) {
            g_object_set(FilterCore::from(entry.filter.get())->element(), "volume",
                linearFromHundredthsOfDecibel(m_volume), nullptr);
            hr = S_OK;
        }
    }
    return hr;
}

HRESULT FilterGraphManager::get_Volume(std::int32_t &volume)
{
    volume = m_volume;
    return S_OK;
}

HRESULT FilterGraphManager::put_Balance(std::int32_t balance)
{
    m_balance = std::clamp<std::int32_t>(balance, -10000, 10000);
    // The simple panorama scales one channel by (1 - |p|): the left one for p > 0, the right one for p < 0.
    const double attenuation = 1.0 - linearFromHundredthsOfDecibel(-std::abs(m_balance));
    const float panorama = float(m_balance >= 0 ? attenuation : -attenuation);
    HRESULT hr = E_NOTIMPL;
    for (const FilterEntry &entry : m_filters) {
        if (hasFactory(entry.filter.get(), "audiopanorama")) {
            g_object_set(FilterCore::from(entry.filter.get())->element(), "panorama", panorama, nullptr);
            hr = S_OK;
        }
    }
    return hr;
}

HRESULT FilterGraphManager::get_Balance(std::int32_t &balance)
{
    balance = m_balance;
    return S_OK;
}

HRESULT FilterGraphManager::SetRate(double rate)
{
    if (!(rate > 0.0)) {
        return E_INVALIDARG;
    }
    m_rate = rate;
    GstState state = GST_STATE_NULL;
    gst_element_get_state(m_pipeline.get(), &state, nullptr, 0);
    if (state < GST_STATE_PAUSED) {
        return S_OK; // applied when a file is rendered
    }
    gint64 position = 0;
    gst_element_query_position(m_pipeline.get(), GST_FORMAT_TIME, &position);
    const bool sought = gst_element_seek(m_pipeline.get(), rate, GST_FORMAT_TIME,
        GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), GST_SEEK_TYPE_SET, std::max<gint64>(position, 0),
        GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
    return sought ? S_OK : E_NOTIMPL;
}

HRESULT FilterGraphManager::GetRate(double &rate)
{
    rate = m_rate;
    return S_OK;
}

HRESULT FilterGraphManager::SetPositions(std::int64_t position)
{
    GstState state = GST_STATE_NULL;
    gst_element_get_state(m_pipeline.get(), &state, nullptr, 0);
    if (state < GST_STATE_PAUSED) {
        return E_UNEXPECTED;
    }
    {
        const std::lock_guard lock(m_eventLock);
        m_errorSeen = false; // a new play of the same chain
    }
    // A flushing seek restarts a chain that reached its end; it finishes on the streaming threads.
    const bool sought = gst_element_seek(m_pipeline.get(), m_rate, GST_FORMAT_TIME,
        GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), GST_SEEK_TYPE_SET,
        std::max<gint64>(position, 0) * 100, GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
    return sought ? S_OK : E_FAIL;
}

HRESULT FilterGraphManager::GetDuration(std::int64_t &duration)
{
    gint64 nanoseconds = -1;
    if (!gst_element_query_duration(m_pipeline.get(), GST_FORMAT_TIME, &nanoseconds) || nanoseconds < 0) {
        return E_UNEXPECTED;
    }
    duration = nanoseconds / 100;
    return S_OK;
}

HRESULT FilterGraphManager::Run()
{
    {
        const std::lock_guard lock(m_eventLock);
        m_errorSeen = false;
        m_lastErrorText.clear();
    }
    m_lastError = S_OK;
    const HRESULT result = resultOfStateChange(changeState(m_pipeline.get(), GST_STATE_PLAYING));
    dumpGraph();
    const HRESULT error = m_lastError; // what the refusing element posted says more than E_FAIL
    return Failed(result) && Failed(error) ? error : result;
}

QString FilterGraphManager::lastErrorText()
{
    const std::lock_guard lock(m_eventLock);
    return m_lastErrorText;
}

HRESULT FilterGraphManager::Pause()
{
    {
        const std::lock_guard lock(m_eventLock);
        m_errorSeen = false;
    }
    return resultOfStateChange(changeState(m_pipeline.get(), GST_STATE_PAUSED));
}

HRESULT FilterGraphManager::Stop()
{
    return Failed(resultOfStateChange(changeState(m_pipeline.get(), GST_STATE_READY))) ? E_FAIL : S_OK;
}

GstBusSyncReply FilterGraphManager::onBusMessage(GstBus *, GstMessage *message, gpointer data)
{
    auto *link = static_cast<BusLink *>(data);
    handOver(link);
    guardCallback("Handling a message of the graph", [&] {
        const std::lock_guard lock(link->lock);
        if (link->graph) {
            link->graph->handleBusMessage(message);
        }
    });
    // A sync handler that drops a message owns it: each message holds its source element, so one not freed here
    // would keep every element that ever posted one alive.
    gst_message_unref(message);
    return GST_BUS_DROP;
}

void FilterGraphManager::handleBusMessage(GstMessage *message)
{
    // Runs on whatever thread posted the message (the main thread too, inside set_state): it only queues.
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        queueEvent({ EC_COMPLETE, S_OK, 0 });
        break;
    case GST_MESSAGE_ERROR: {
        GError *error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        const bool fromDevice = FilterCore::isInDeviceSource(GST_MESSAGE_SRC(message));
        const HRESULT hr = resultFromError(error, fromDevice);
        const QString text = error && error->message ? QString::fromUtf8(error->message) : QString();
        g_clear_error(&error);
        if (m_rendering) {
            HRESULT none = S_OK;
            m_renderError.compare_exchange_strong(none, hr); // each error is posted twice: the first one counts
            break;
        }
        // The first error of a run names the cause; a source that fails to start posts its own reason first and
        // then the base class's general "Failed to start", which must not replace it.
        HRESULT none = S_OK;
        m_lastError.compare_exchange_strong(none, hr);
        const std::lock_guard lock(m_eventLock);
        if (m_errorSeen) {
            break; // the graph stopped at the first error; later ones of the same run add nothing
        }
        m_errorSeen = true;
        m_lastErrorText = text;
        lockedQueue(fromDevice, hr);
        break;
    }
    case GST_MESSAGE_ELEMENT: {
        const GstStructure *structure = gst_message_get_structure(message);
        int width = 0;
        int height = 0;
        if (gst_structure_has_name(structure, "pixolo-video-size") && gst_structure_get_int(structure, "width", &width)
            && gst_structure_get_int(structure, "height", &height)) {
            queueEvent({ EC_VIDEO_SIZE_CHANGED, std::intptr_t((width & 0xFFFF) | ((height & 0xFFFF) << 16)), 0 });
        }
        break;
    }
    case GST_MESSAGE_NEW_CLOCK:
        queueEvent({ EC_CLOCK_CHANGED, 0, 0 });
        break;
    case GST_MESSAGE_CLOCK_LOST:
        queueEvent({ EC_CLOCK_UNSET, 0, 0 });
        break;
    default:
        break;
    }
}

void FilterGraphManager::lockedQueue(bool deviceLost, HRESULT hr)
{
    if (deviceLost) {
        pushLocked({ EC_DEVICE_LOST, 0, 1 });
    }
    pushLocked({ EC_ERRORABORT, hr, 0 });
}

void FilterGraphManager::queueEvent(const Event &event)
{
    const std::lock_guard lock(m_eventLock);
    pushLocked(event);
}

void FilterGraphManager::pushLocked(const Event &event)
{
    if (m_notifyFlags & AM_MEDIAEVENT_NONOTIFY) {
        return;
    }
    m_events.push_back(event);
    if (m_receiver && !m_notifyPosted) {
        m_notifyPosted = true;
        // Posted under the lock, so that once SetNotifyWindow(nullptr) returns nothing reaches the old receiver.
        QCoreApplication::postEvent(m_receiver, new GraphNotifyEvent(QEvent::Type(m_eventType), m_instance));
    }
}

HRESULT FilterGraphManager::SetNotifyWindow(QObject *receiver, int eventType, std::intptr_t instance)
{
    const std::lock_guard lock(m_eventLock);
    m_receiver = receiver;
    m_eventType = eventType;
    m_instance = instance;
    m_notifyPosted = false;
    if (m_receiver && !m_events.empty()) {
        m_notifyPosted = true;
        QCoreApplication::postEvent(m_receiver, new GraphNotifyEvent(QEvent::Type(m_eventType), m_instance));
    }
    return S_OK;
}

HRESULT FilterGraphManager::SetNotifyFlags(int flags)
{
    const std::lock_guard lock(m_eventLock);
    m_notifyFlags = flags;
    if (flags & AM_MEDIAEVENT_NONOTIFY) {
        m_events.clear();
    }
    return S_OK;
}

HRESULT FilterGraphManager::GetEvent(int &code, std::intptr_t &param1, std::intptr_t &param2, int)
{
    const std::lock_guard lock(m_eventLock);
    // The receiver is draining: an event queued from now on needs a notification of its own, in case this drain
    // stops early.
    m_notifyPosted = false;
    if (m_events.empty()) {
        return E_ABORT;
    }
    const Event event = m_events.front();
    m_events.pop_front();
    code = event.code;
    param1 = event.param1;
    param2 = event.param2;
    return S_OK;
}

HRESULT FilterGraphManager::FreeEventParams(int, std::intptr_t, std::intptr_t)
{
    return S_OK; // the layer's events carry plain integers
}

HRESULT FilterGraphManager::SetSite(IInterface *site)
{
    const std::lock_guard lock(m_siteLock);
    m_site = RefPtr<IInterface>(site);
    return S_OK;
}

RefPtr<IInterface> FilterGraphManager::site()
{
    const std::lock_guard lock(m_siteLock);
    return m_site;
}

HRESULT FilterGraphManager::QueryService(const GUID &service, const GUID &iid, void **object)
{
    const auto provider = queryInterface<IServiceProvider>(site());
    return provider ? provider->QueryService(service, iid, object) : E_NOINTERFACE;
}

bool FilterGraphManager::selectFactory(GstElementFactory *factory)
{
    const auto callback = queryInterface<IAMGraphBuilderCallback>(site());
    if (!callback) {
        return true;
    }
    const auto moniker = makeObject<FactoryMoniker>(factory);
    return Succeeded(callback->SelectedFilter(moniker.get()));
}

bool FilterGraphManager::acceptCreatedFilter(IBaseFilter *filter)
{
    const auto callback = queryInterface<IAMGraphBuilderCallback>(site());
    return !callback || Succeeded(callback->CreatedFilter(filter));
}

void FilterGraphManager::reportUnrenderable(IBaseFilter *filter, GstPad *pad)
{
    if (const auto callback = queryInterface<IAMFilterGraphCallback>(site())) {
        const auto pin = makeObject<ElementPin>(RefPtr<IBaseFilter>(filter), GstRef<GstPad>::ref(pad));
        callback->UnableToRender(pin.get());
    }
}

HRESULT RegisterGraphForInspection(IInterface *graph, const QString &name, std::uint32_t &cookie)
{
    FilterGraphManager *manager = FilterGraphManager::from(graph);
    if (!manager) {
        return E_INVALIDARG;
    }
    static std::uint32_t lastCookie = 0;
    cookie = ++lastCookie;
    registrations()[cookie] = RefPtr<IInterface>(graph);
    manager->setDumpName(name);
    return S_OK;
}

HRESULT RevokeGraphInspection(std::uint32_t cookie)
{
    const auto found = registrations().find(cookie);
    if (found == registrations().end()) {
        return E_INVALIDARG;
    }
    if (FilterGraphManager *manager = FilterGraphManager::from(found->second.get())) {
        manager->setDumpName(QString());
    }
    registrations().erase(found);
    return S_OK;
}

} // namespace pixolo
