#pragma once

#include "capture/ElementFilter.h"
#include "capture/FrameworkObject.h"
#include "capture/GstRef.h"
#include "capture/MediaFramework.h"

#include <gst/gst.h>

#include <QString>

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

namespace pixolo
{

// The filter graph: a GstPipeline holding the filters' elements. Bus messages are turned into graph events by a
// sync handler that only queues them and posts one notification; the receiver drains the queue on the main thread.
class FilterGraphManager final : public FrameworkObject<IFilterGraph2, IMediaControl, IMediaEventEx, IObjectWithSite,
                                     IBasicAudio, IMediaSeeking, IServiceProvider>
{
public:
    static constexpr GUID IID { 0x5A0F6F63, 0x3C1B, 0x4C52, { 0x9A, 0x1D, 0x50, 0x49, 0x58, 0x4F, 0x4C, 0x4F } };

    FilterGraphManager();

    // The graph behind an interface of the layer's graph, borrowed; none for anything else.
    static FilterGraphManager *from(IInterface *object);

    // IFilterGraph2
    HRESULT AddFilter(IBaseFilter *filter, const QString &name) override;
    HRESULT RemoveFilter(IBaseFilter *filter) override;
    HRESULT EnumFilters(std::vector<RefPtr<IBaseFilter>> &filters) override;
    HRESULT RenderFile(const QString &fileName) override;
    HRESULT SetLogFile(int fileDescriptor) override;
    // IMediaControl
    HRESULT Run() override;
    // GStreamer's own words for the first error of the last run (a refusing camera names itself there), empty when
    // the run met none.
    QString lastErrorText();
    HRESULT Pause() override;
    HRESULT Stop() override;
    // IMediaEventEx
    HRESULT SetNotifyWindow(QObject *receiver, int eventType, std::intptr_t instance) override;
    HRESULT SetNotifyFlags(int flags) override;
    HRESULT GetEvent(int &code, std::intptr_t &param1, std::intptr_t &param2, int timeoutMs) override;
    HRESULT FreeEventParams(int code, std::intptr_t param1, std::intptr_t param2) override;
    // IObjectWithSite
    HRESULT SetSite(IInterface *site) override;
    // IBasicAudio
    HRESULT put_Volume(std::int32_t volume) override;
    HRESULT get_Volume(std::int32_t &volume) override;
    HRESULT put_Balance(std::int32_t balance) override;
    HRESULT get_Balance(std::int32_t &balance) override;
    // IMediaSeeking
    HRESULT SetRate(double rate) override;
    HRESULT GetRate(double &rate) override;
    HRESULT SetPositions(std::int64_t position) override;
    HRESULT GetDuration(std::int64_t &duration) override;
    // IServiceProvider: asks the site.
    HRESULT QueryService(const GUID &service, const GUID &iid, void **object) override;

    GstElement *pipeline() const { return m_pipeline.get(); }

    // Builder support: the site's say on a factory about to be used and on a filter just created (true when there
    // is no site or callback), and the site's answer for a stream that cannot be decoded.
    bool selectFactory(GstElementFactory *factory);
    bool acceptCreatedFilter(IBaseFilter *filter);
    void reportUnrenderable(IBaseFilter *filter, GstPad *pad);
    // Adds a new element as a filter of the graph; none when the site refuses it or the factory is missing.
    RefPtr<IBaseFilter> addElement(const char *factoryName, const QString &name);
    // Links two pads, writing a log line; false when they cannot be linked.
    bool linkPads(GstPad *source, GstPad *sink);
    // Writes one line to the log file, if there is one.
    void log(const QString &line);
    // While set, the graph is written as "<name>.dot" into GST_DEBUG_DUMP_DOT_DIR whenever it changes.
    void setDumpName(const QString &name);
    void dumpGraph();

private:
    ~FilterGraphManager() override;

    void *findInterface(const GUID &iid) override;

    struct Event {
        int code;
        std::intptr_t param1;
        std::intptr_t param2;
    };
    struct FilterEntry {
        RefPtr<IBaseFilter> filter;
        QString name;
    };

    struct BusLink;
    class StateWorker;

    static GstBusSyncReply onBusMessage(GstBus *bus, GstMessage *message, gpointer link);
    bool holdsLiveSource() const;
    bool changesStateOnWorker() const;
    GstStateChangeReturn changeState(GstElement *element, GstState state);
    void handleBusMessage(GstMessage *message);
    void queueEvent(const Event &event);
    void pushLocked(const Event &event);
    void lockedQueue(bool deviceLost, HRESULT hr);
    RefPtr<IInterface> site();
    void applyAudio();
    QString uniqueName(const QString &name) const;
    int findFilter(IBaseFilter *filter) const;

    GstRef<GstElement> m_pipeline;
    BusLink *m_busLink = nullptr; // owned by the pipeline
    std::shared_ptr<StateWorker> m_stateWorker; // made when a state change first may wait on a camera
    std::vector<FilterEntry> m_filters; // in the order they were added

    std::mutex m_eventLock; // guards the queue and the notification target; streaming threads take it
    std::deque<Event> m_events;
    QObject *m_receiver = nullptr;
    int m_eventType = 0;
    std::intptr_t m_instance = 0;
    int m_notifyFlags = 0;
    bool m_notifyPosted = false;
    bool m_errorSeen = false; // only the first error of a run becomes an event
    QString m_lastErrorText; // guarded by m_eventLock

    std::atomic<bool> m_rendering { false }; // errors go to m_renderError instead of the queue
    std::atomic<HRESULT> m_renderError { S_OK };
    std::atomic<HRESULT> m_lastError { S_OK };

    std::mutex m_logLock;
    int m_logFile = -1;

    std::mutex m_siteLock; // builder callbacks ask for the site from streaming threads
    RefPtr<IInterface> m_site;
    std::int32_t m_volume = 0;
    std::int32_t m_balance = 0;
    double m_rate = 1.0;
    QString m_dumpName;
};

} // namespace pixolo
