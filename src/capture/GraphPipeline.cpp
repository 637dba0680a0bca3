#include "capture/GraphPipeline.h"

#include "capture/FailureReport.h"
#include "capture/GraphElement.h"
#include "capture/GraphEvents.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <thread>

namespace pixolo
{

namespace
{

// How long renderFile waits for a chain to preroll before it gives up.
constexpr GstClockTime prerollTimeout = 5 * GST_SECOND;

// decodebin's answers to "autoplug-select".
constexpr int autoplugTry = 0;
constexpr int autoplugSkip = 2;

QMutex audioSinkLock;
QByteArray &audioSink()
{
    static QByteArray description = QByteArrayLiteral("autoaudiosink");
    return description;
}

// Hundredths of a decibel to a linear factor; -10000 and below is silence.
double linearFromHundredthsOfDecibel(std::int32_t value)
{
    return value <= -10000 ? 0.0 : std::pow(10.0, value / 2000.0);
}

QString elementLabel(GstElement *element)
{
    return QStringLiteral("\"%1\" (%2)").arg(QString::fromUtf8(GST_OBJECT_NAME(element)), factoryNameOf(element));
}

QString padLabel(GstPad *pad)
{
    const auto owner = GstRef<GstElement>::adopt(gst_pad_get_parent_element(pad));
    return QStringLiteral("\"%1\".%2")
        .arg(QString::fromUtf8(owner ? GST_OBJECT_NAME(owner.get()) : "?"), QString::fromUtf8(GST_PAD_NAME(pad)));
}

bool hasFactory(GstElement *element, const char *factoryName)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    return factory && g_strcmp0(GST_OBJECT_NAME(factory), factoryName) == 0;
}

// What the decoding bin of a playback chain needs in its callbacks. The hooks live as long as the decoding element
// (they are freed with its signal handlers); a playback chain's pipeline never outlives its graph.
struct DecoderHooks {
    GraphPipeline *graph;
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
    const bool accepted = guardCallback("Accepting a decoder's element", false,
        [&] { return static_cast<DecoderHooks *>(data)->graph->acceptCreated(element); });
    if (!accepted) {
        // The bin cannot give a created element back: the chain as a whole is refused.
        GST_ELEMENT_ERROR(
            element, CORE, MISSING_PLUGIN, ("A filter was refused while the chain was built."), (nullptr));
    }
}

void onDecoderUnknownType(GstElement *decoder, GstPad *pad, GstCaps *, gpointer data)
{
    guardCallback("Reporting a stream that cannot be played",
        [&] { static_cast<DecoderHooks *>(data)->graph->reportUnrenderable(decoder, pad); });
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
class GraphPipeline::StateWorker
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

// The sync handler's way to the graph. The pipeline owns it, so it lives as long as anything can still post a message
// (a camera's pipeline may be finishing its stop on the worker after the graph is gone); the graph cuts the way
// when it goes, and a message that arrives after that is dropped.
struct GraphPipeline::BusLink {
    std::mutex lock;
    GraphPipeline *graph = nullptr;
};

GraphPipeline::GraphPipeline()
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
    gst_bus_set_sync_handler(bus.get(), &GraphPipeline::onBusMessage, m_busLink, nullptr);
}

GraphPipeline::~GraphPipeline()
{
    // Teardown order: no message reaches this graph any more, then nothing streams any more (a camera's pipeline
    // stops on the worker, which keeps it until it has, after whatever change is still on its way there; its
    // elements' calls into our objects pass gates that those objects close as they go).
    {
        const std::lock_guard lock(m_busLink->lock);
        m_busLink->graph = nullptr;
    }
    handOver(m_busLink);
    changeState(m_pipeline.get(), GST_STATE_NULL);
    if (m_stateWorker) {
        m_stateWorker->finish(); // the queued changes still run, then the thread ends
    }
    const auto bus = GstRef<GstBus>::adopt(gst_pipeline_get_bus(GST_PIPELINE(m_pipeline.get())));
    gst_bus_set_sync_handler(bus.get(), nullptr, nullptr, nullptr);
    setDumpName(QString());
}

bool GraphPipeline::holdsLiveSource() const
{
    return std::any_of(m_filters.begin(), m_filters.end(),
        [](const GstRef<GstElement> &element) { return isDeviceSource(element.get()); });
}

GstStateChangeReturn GraphPipeline::changeState(GstElement *element, GstState state)
{
    // A camera's source may wait in a state change for as long as its system lets it (a PipeWire stream that never
    // gets a format waits half a minute): while the graph holds one, its state changes, the pipeline's and its
    // elements', run in order on a worker of the graph's own, and their outcome arrives on the bus like any other.
    // None runs on the caller's thread meanwhile: a pipeline changing state on one thread and an element of it on
    // another can each wait for the other. Once a change went to the worker, every later one follows it there.
    if (!m_stateWorker && !holdsLiveSource()) {
        return gst_element_set_state(element, state);
    }
    if (!m_stateWorker) {
        m_stateWorker = StateWorker::start();
    }
    m_stateWorker->push(element, state);
    return GST_STATE_CHANGE_ASYNC;
}

bool GraphPipeline::addFilter(GstElement *element, const QString &name)
{
    if (!element || GST_OBJECT_PARENT(element)) {
        return false;
    }
    gst_object_set_name(GST_OBJECT(element), uniqueName(name).toUtf8().constData());
    gst_element_set_locked_state(element, FALSE); // it may have been in a graph before
    if (!gst_bin_add(GST_BIN(m_pipeline.get()), element)) {
        return false;
    }
    m_filters.push_back(GstRef<GstElement>::ref(element));
    log(QStringLiteral("Added %1").arg(elementLabel(element)));
    dumpGraph();
    return true;
}

bool GraphPipeline::removeFilter(GstElement *element)
{
    const auto found = std::find_if(
        m_filters.begin(), m_filters.end(), [&](const GstRef<GstElement> &filter) { return filter.get() == element; });
    if (found == m_filters.end()) {
        return false;
    }
    const GstRef<GstElement> kept = *found;
    m_filters.erase(found);
    log(QStringLiteral("Removed %1").arg(elementLabel(element)));
    // The pipeline may still be finishing a state change on a thread of its own that already holds the element and
    // would take it back up, even after it left the pipeline: its state stays locked, so that it stops for good and
    // is never freed while running. Adding it to a graph again unlocks it.
    gst_element_set_locked_state(element, TRUE);
    if (m_stateWorker || isDeviceSource(element) || holdsLiveSource()) {
        // A camera's graph: the worker stops the element once it has left the pipeline.
        if (!m_stateWorker) {
            m_stateWorker = StateWorker::start();
        }
        gst_bin_remove(GST_BIN(m_pipeline.get()), element);
        changeState(element, GST_STATE_NULL);
    } else {
        gst_element_set_state(element, GST_STATE_NULL);
        gst_bin_remove(GST_BIN(m_pipeline.get()), element); // unlinks its pads
    }
    dumpGraph();
    return true;
}

bool GraphPipeline::contains(GstElement *element) const
{
    return std::any_of(
        m_filters.begin(), m_filters.end(), [&](const GstRef<GstElement> &filter) { return filter.get() == element; });
}

std::vector<GstElement *> GraphPipeline::filters() const
{
    std::vector<GstElement *> list;
    for (const GstRef<GstElement> &filter : m_filters) {
        list.push_back(filter.get());
    }
    return list;
}

QString GraphPipeline::uniqueName(const QString &name) const
{
    const auto taken = [this](const QString &candidate) {
        const QByteArray wanted = candidate.toUtf8();
        return std::any_of(m_filters.begin(), m_filters.end(),
            [&](const GstRef<GstElement> &filter) { return wanted == GST_OBJECT_NAME(filter.get()); });
    };
    QString candidate = name;
    for (int number = 1; taken(candidate); ++number) {
        candidate = name + QStringLiteral(" %1").arg(number, 4, 10, QLatin1Char('0'));
    }
    return candidate;
}

GstElement *GraphPipeline::addElement(const char *factoryName, const QString &name)
{
    auto factory = GstRef<GstElementFactory>::adopt(gst_element_factory_find(factoryName));
    if (!factory || !selectFactory(factory.get())) {
        return nullptr;
    }
    auto element = GstRef<GstElement>::adopt(gst_element_factory_create(factory.get(), nullptr));
    if (!element || !acceptCreated(element.get()) || !addFilter(element.get(), name)) {
        return nullptr;
    }
    return element.get(); // the pipeline holds it now
}

bool GraphPipeline::linkPads(GstPad *source, GstPad *sink)
{
    if (GST_PAD_LINK_FAILED(gst_pad_link(source, sink))) {
        return false;
    }
    log(QStringLiteral("Connected %1 to %2").arg(padLabel(source), padLabel(sink)));
    return true;
}

void GraphPipeline::log(const QString &line)
{
    const QByteArray text = line.toUtf8() + '\n';
    const std::lock_guard lock(m_logLock); // decoders link their pads from streaming threads
    if (m_logFile >= 0) {
        const ssize_t written = ::write(m_logFile, text.constData(), size_t(text.size()));
        Q_UNUSED(written); // a log that cannot be written is not the graph's failure
    }
}

void GraphPipeline::setLogFile(int fileDescriptor)
{
    const std::lock_guard lock(m_logLock);
    m_logFile = fileDescriptor;
}

void GraphPipeline::setDumpName(const QString &name)
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

void GraphPipeline::dumpGraph()
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

void GraphPipeline::renderFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (fileName.isEmpty() || !info.exists()) {
        throw EDirectShowException(E_FILE_NOT_FOUND);
    }
    if (!info.isFile() || !info.isReadable()) {
        throw EDirectShowException(E_ACCESSDENIED);
    }

    std::vector<GstElement *> added;
    const auto add = [&](const char *factory, const char *name) {
        GstElement *element = addElement(factory, QString::fromLatin1(name));
        if (element) {
            added.push_back(element);
        }
        return element;
    };
    const auto fail = [&](DSErrorCode code) {
        for (auto it = added.rbegin(); it != added.rend(); ++it) {
            removeFilter(*it);
        }
        throw EDirectShowException(code);
    };

    GstElement *source = add("filesrc", "File Source");
    GstElement *decoder = add("decodebin", "Decoder");
    GstElement *converter = add("audioconvert", "Audio Converter");
    GstElement *resampler = add("audioresample", "Audio Resampler");
    GstElement *balance = add("audiopanorama", "Balance");
    GstElement *volume = add("volume", "Volume");
    if (!source || !decoder || !converter || !resampler || !balance || !volume) {
        fail(E_CANNOT_RENDER);
    }
    GError *parseError = nullptr;
    const auto sink = GstRef<GstElement>::adopt(
        gst_parse_bin_from_description(audioSinkDescription().constData(), TRUE, &parseError));
    g_clear_error(&parseError);
    if (!sink || !addFilter(sink.get(), QStringLiteral("Audio Renderer"))) {
        fail(E_CANNOT_RENDER);
    }
    added.push_back(sink.get());

    g_object_set(source, "location", QFile::encodeName(fileName).constData(), nullptr);
    gst_util_set_object_arg(G_OBJECT(balance), "method", "simple"); // attenuates one channel, as a balance does
    const auto staticPad = [](GstElement *element, const char *name) {
        return GstRef<GstPad>::adopt(gst_element_get_static_pad(element, name));
    };
    const bool linked = linkPads(staticPad(source, "src").get(), staticPad(decoder, "sink").get())
        && linkPads(staticPad(converter, "src").get(), staticPad(resampler, "sink").get())
        && linkPads(staticPad(resampler, "src").get(), staticPad(balance, "sink").get())
        && linkPads(staticPad(balance, "src").get(), staticPad(volume, "sink").get())
        && linkPads(staticPad(volume, "src").get(), staticPad(sink.get(), "sink").get());
    if (!linked) {
        fail(E_CANNOT_CONNECT);
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
    m_renderError = 0;
    m_rendering = true;
    gst_element_set_state(m_pipeline.get(), GST_STATE_PAUSED);
    const GstStateChangeReturn state = gst_element_get_state(m_pipeline.get(), nullptr, nullptr, prerollTimeout);
    m_rendering = false;

    DSErrorCode failure = m_renderError;
    if (failure == 0 && state == GST_STATE_CHANGE_FAILURE) {
        failure = E_CANNOT_RENDER;
    } else if (failure == 0 && state == GST_STATE_CHANGE_ASYNC) {
        failure = E_TIMEOUT;
    } else if (failure == 0 && !gst_pad_is_linked(audioInput.get())) {
        failure = E_CANNOT_RENDER; // nothing in the file is sound
    }
    gint64 duration = -1;
    if (failure == 0 && gst_element_query_duration(m_pipeline.get(), GST_FORMAT_TIME, &duration) && duration == 0) {
        failure = E_UNSUPPORTED_STREAM;
    }
    if (failure != 0) {
        {
            const std::lock_guard lock(m_eventLock);
            m_errorSeen = true; // the second copy of the error must not become an event
        }
        gst_element_set_state(m_pipeline.get(), GST_STATE_READY);
        fail(failure);
    }
    applyAudio();
    if (m_rate != 1.0) {
        setRate(m_rate);
    }
    dumpGraph();
}

void GraphPipeline::applyAudio()
{
    setVolume(m_volume);
    setBalance(m_balance);
}

void GraphPipeline::setVolume(std::int32_t volume)
{
    m_volume = std::clamp<std::int32_t>(volume, -10000, 0);
    for (const GstRef<GstElement> &filter : m_filters) {
        if (hasFactory(filter.get(), "volume")) {
            g_object_set(filter.get(), "volume", linearFromHundredthsOfDecibel(m_volume), nullptr);
        }
    }
}

void GraphPipeline::setBalance(std::int32_t balance)
{
    m_balance = std::clamp<std::int32_t>(balance, -10000, 10000);
    // The simple panorama scales one channel by (1 - |p|): the left one for p > 0, the right one for p < 0.
    const double attenuation = 1.0 - linearFromHundredthsOfDecibel(-std::abs(m_balance));
    const float panorama = float(m_balance >= 0 ? attenuation : -attenuation);
    for (const GstRef<GstElement> &filter : m_filters) {
        if (hasFactory(filter.get(), "audiopanorama")) {
            g_object_set(filter.get(), "panorama", panorama, nullptr);
        }
    }
}

bool GraphPipeline::setRate(double rate)
{
    if (!(rate > 0.0)) {
        return false;
    }
    m_rate = rate;
    GstState state = GST_STATE_NULL;
    gst_element_get_state(m_pipeline.get(), &state, nullptr, 0);
    if (state < GST_STATE_PAUSED) {
        return true; // applied when a file is rendered
    }
    gint64 position = 0;
    gst_element_query_position(m_pipeline.get(), GST_FORMAT_TIME, &position);
    return gst_element_seek(m_pipeline.get(), rate, GST_FORMAT_TIME,
        GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), GST_SEEK_TYPE_SET, std::max<gint64>(position, 0),
        GST_SEEK_TYPE_NONE, GST_CLOCK_TIME_NONE);
}

bool GraphPipeline::rewind()
{
    GstState state = GST_STATE_NULL;
    gst_element_get_state(m_pipeline.get(), &state, nullptr, 0);
    if (state < GST_STATE_PAUSED) {
        return false;
    }
    {
        const std::lock_guard lock(m_eventLock);
        m_errorSeen = false; // a new play of the same chain
    }
    // A flushing seek restarts a chain that reached its end; it finishes on the streaming threads.
    return gst_element_seek(m_pipeline.get(), m_rate, GST_FORMAT_TIME,
        GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), GST_SEEK_TYPE_SET, 0, GST_SEEK_TYPE_NONE,
        GST_CLOCK_TIME_NONE);
}

void GraphPipeline::run()
{
    {
        const std::lock_guard lock(m_eventLock);
        m_errorSeen = false;
        m_lastErrorText.clear();
    }
    m_lastError = 0;
    const GstStateChangeReturn result = changeState(m_pipeline.get(), GST_STATE_PLAYING);
    dumpGraph();
    if (result == GST_STATE_CHANGE_FAILURE) {
        const DSErrorCode error = m_lastError; // what the refusing element posted says more than E_FAIL
        throw EDirectShowException(error != 0 ? error : E_FAIL);
    }
}

QString GraphPipeline::lastErrorText()
{
    const std::lock_guard lock(m_eventLock);
    return m_lastErrorText;
}

void GraphPipeline::stop()
{
    if (changeState(m_pipeline.get(), GST_STATE_READY) == GST_STATE_CHANGE_FAILURE) {
        throw EDirectShowException(E_FAIL);
    }
}

GstBusSyncReply GraphPipeline::onBusMessage(GstBus *, GstMessage *message, gpointer data)
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

void GraphPipeline::handleBusMessage(GstMessage *message)
{
    // Runs on whatever thread posted the message (the main thread too, inside set_state): it only queues.
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
        queueEvent({ EC_COMPLETE, 0, 0 });
        break;
    case GST_MESSAGE_ERROR: {
        GError *error = nullptr;
        gst_message_parse_error(message, &error, nullptr);
        const bool fromDevice = isInDeviceSource(GST_MESSAGE_SRC(message));
        const DSErrorCode code = resultFromError(error, fromDevice);
        const QString text = error && error->message ? QString::fromUtf8(error->message) : QString();
        g_clear_error(&error);
        if (m_rendering) {
            DSErrorCode none = 0;
            m_renderError.compare_exchange_strong(none, code); // each error is posted twice: the first one counts
            break;
        }
        // The first error of a run names the cause; a source that fails to start posts its own reason first and
        // then the base class's general "Failed to start", which must not replace it.
        DSErrorCode none = 0;
        m_lastError.compare_exchange_strong(none, code);
        const std::lock_guard lock(m_eventLock);
        if (m_errorSeen) {
            break; // the graph stopped at the first error; later ones of the same run add nothing
        }
        m_errorSeen = true;
        m_lastErrorText = text;
        if (fromDevice) {
            pushLocked({ EC_DEVICE_LOST, 0, 1 });
        }
        pushLocked({ EC_ERRORABORT, code, 0 });
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

void GraphPipeline::queueEvent(const GraphEvent &event)
{
    const std::lock_guard lock(m_eventLock);
    pushLocked(event);
}

void GraphPipeline::pushLocked(const GraphEvent &event)
{
    if (!m_notifying) {
        return;
    }
    m_events.push_back(event);
    if (m_receiver && !m_notifyPosted) {
        m_notifyPosted = true;
        // Posted under the lock, so that once the receiver is taken away nothing reaches it any more.
        QCoreApplication::postEvent(m_receiver, new QEvent(m_eventType));
    }
}

void GraphPipeline::setNotifyReceiver(QObject *receiver, QEvent::Type eventType)
{
    const std::lock_guard lock(m_eventLock);
    m_receiver = receiver;
    m_eventType = eventType;
    m_notifyPosted = false;
    if (m_receiver && !m_events.empty()) {
        m_notifyPosted = true;
        QCoreApplication::postEvent(m_receiver, new QEvent(m_eventType));
    }
}

void GraphPipeline::stopNotifications()
{
    const std::lock_guard lock(m_eventLock);
    m_notifying = false;
    m_receiver = nullptr;
    m_events.clear();
}

std::optional<GraphEvent> GraphPipeline::takeEvent()
{
    const std::lock_guard lock(m_eventLock);
    // The receiver is draining: an event queued from now on needs a notification of its own, in case this drain
    // stops early.
    m_notifyPosted = false;
    if (m_events.empty()) {
        return std::nullopt;
    }
    const GraphEvent event = m_events.front();
    m_events.pop_front();
    return event;
}

void GraphPipeline::setBuilderHooks(BuilderHooks hooks)
{
    const std::lock_guard lock(m_hooksLock);
    m_hooks = std::move(hooks);
}

BuilderHooks GraphPipeline::hooks()
{
    const std::lock_guard lock(m_hooksLock);
    return m_hooks;
}

bool GraphPipeline::selectFactory(GstElementFactory *factory)
{
    const BuilderHooks current = hooks();
    if (!current.selected) {
        return true;
    }
    const char *name = GST_OBJECT_NAME(factory);
    const char *longName = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME);
    return current.selected(QString::fromUtf8(longName ? longName : name), QString::fromUtf8(name));
}

bool GraphPipeline::acceptCreated(GstElement *element)
{
    const BuilderHooks current = hooks();
    return !current.created || current.created(factoryNameOf(element));
}

void GraphPipeline::reportUnrenderable(GstElement *decoder, GstPad *pad)
{
    const BuilderHooks current = hooks();
    if (current.unrenderable) {
        current.unrenderable(QString::fromUtf8(GST_OBJECT_NAME(decoder)), QString::fromUtf8(GST_PAD_NAME(pad)));
    }
}

void GraphPipeline::setAudioSinkDescription(const QByteArray &description)
{
    const QMutexLocker lock(&audioSinkLock);
    audioSink() = description;
}

QByteArray GraphPipeline::audioSinkDescription()
{
    const QMutexLocker lock(&audioSinkLock);
    return audioSink();
}

} // namespace pixolo
