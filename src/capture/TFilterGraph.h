#pragma once

#include "capture/MediaFramework.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QFile;

namespace pixolo
{

enum TGraphMode : int { gmNormal, gmCapture, gmDVD };

// What the graph tells a client about its filter.
enum TClientOperation : int { opBeforeAdd = 0, opAfterAdd = 1, opBeforeRemove = 2, opAfterRemove = 3, opRefresh = 4 };

// Control event codes sent to the sinks (codes 1 and 5 are not used).
inline constexpr int ctlPlay = 0;
inline constexpr int ctlStop = 2;
inline constexpr int ctlFileRendering = 3;
inline constexpr int ctlFileRendered = 4;
inline constexpr int ctlDVDRendered = 6;
inline constexpr int ctlActive = 7;

// A component that contributes one filter to a TFilterGraph.
class IGraphClient : public IInterface
{
public:
    static constexpr GUID IID { 0x887F94DA, 0x29E9, 0x44C6, { 0xB4, 0x8E, 0x1F, 0xBF, 0x0F, 0xB5, 0x98, 0x78 } };
    virtual RefPtr<IBaseFilter> GetClientFilter() = 0;
    virtual QString GetClientName() = 0;
    virtual void NotifyClient(TClientOperation operation, int param) = 0;
};

// A component that hears about graph events and the graph component's own actions.
class IGraphEventSink : public IInterface
{
public:
    static constexpr GUID IID { 0x6C0DCD7B, 0x1A98, 0x44EF, { 0xA6, 0xD5, 0xE2, 0x3C, 0xBC, 0x24, 0xE6, 0x20 } };
    virtual void SinkGraphEvent(int code, std::intptr_t param1, std::intptr_t param2) = 0;
    virtual void SinkControlEvent(int code, int param) = 0;
};

// The service (and interface) identifier by which a builder callback finds the graph component from the graph.
inline constexpr GUID IID_FilterGraphComponent { 0xC7CAA944, 0xC191, 0x4AB1,
    { 0xAB, 0xA7, 0xD8, 0xB4, 0x0E, 0xF4, 0xD5, 0xB2 } };

// A component that owns one framework filter graph while it is active, the clients that contribute filters to it
// and the sinks that hear its events. Events reach the main thread through a hidden receiver and are drained
// there. The component is not reference counted: its Qt parent owns it.
class TFilterGraph : public QObject,
                     public IAMGraphBuilderCallback,
                     public IAMFilterGraphCallback,
                     public IServiceProvider
{
    Q_OBJECT

public:
    explicit TFilterGraph(QObject *owner = nullptr);
    ~TFilterGraph() override;

    bool Active() const { return m_active; }
    void SetActive(bool active);
    bool AutoCreate() const { return m_autoCreate; }
    void SetAutoCreate(bool autoCreate) { m_autoCreate = autoCreate; }
    TGraphMode Mode() const { return m_mode; }
    void SetMode(TGraphMode mode);
    // While active, the graph is written as a Graphviz file "FilterGraph <address> pid <pid>.dot" into the folder
    // named by GST_DEBUG_DUMP_DOT_DIR (when that is set), rewritten as the graph changes and removed on revocation.
    bool GraphEdit() const { return m_graphEdit; }
    void SetGraphEdit(bool graphEdit);
    bool LinearVolume() const { return m_linearVolume; }
    void SetLinearVolume(bool linearVolume);
    // While active, this file receives a line for each filter added, removed or connected.
    QString LogFile() const { return m_logFile; }
    void SetLogFile(const QString &fileName);

    int Volume() const { return m_volume; }
    void SetVolume(int volume); // 0 to 10000
    int Balance() const { return m_balance; }
    void SetBalance(int balance); // -10000 to 10000
    double Rate() const { return m_rate; }
    void SetRate(double rate);

    // End of loading: activates when AutoCreate is set.
    void Loaded();

    // True when the graph was told to run; raises EDirectShowException when it refuses.
    bool RunGraph();
    // GStreamer's words for the first error of the last run ("Device '/dev/video0' is busy."), empty without one.
    QString LastErrorText() const;
    // True when the graph stopped with S_OK.
    bool StopGraph();
    // Stops, disconnects every pin and removes every filter except the clients'.
    void ResetGraph();
    // S_FALSE (1) when inactive; otherwise the framework's result, raising EDirectShowException on failure.
    HRESULT RenderMediaFile(const QString &fileName);

    void AttachClient(IGraphClient *client);
    void DetachClient(IGraphClient *client);
    void AttachSink(IGraphEventSink *sink);
    void DetachSink(IGraphEventSink *sink);

    // The component's own callback interfaces, then (while active) the builder's and the graph's.
    HRESULT QueryInterface(const GUID &iid, void **object) override;
    template <typename T> RefPtr<T> QueryInterface() { return queryInterface<T>(this); }
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }

    // The builder callbacks (IAMGraphBuilderCallback, IAMFilterGraphCallback) and the service lookup.
    HRESULT SelectedFilter(IMoniker *moniker) override;
    HRESULT CreatedFilter(IBaseFilter *filter) override;
    HRESULT UnableToRender(IPin *pin) override;
    HRESULT QueryService(const GUID &service, const GUID &iid, void **object) override;

    // Hands one drained event to the sinks, OnDSEvent and the event of its code.
    virtual void HandleGraphEvent(int code, std::intptr_t param1, std::intptr_t param2);

    // Events; the sender is this component.
    std::function<void(QObject *sender)> OnActivate;
    std::function<void(QObject *sender, int event, std::intptr_t param1, std::intptr_t param2)> OnDSEvent;
    std::function<void(QObject *sender, HRESULT result, IBaseFilter *renderer)> OnGraphComplete;
    std::function<void(QObject *sender)> OnGraphUserAbort;
    std::function<void(QObject *sender, HRESULT result)> OnGraphErrorAbort;
    std::function<void(QObject *sender, HRESULT operation, std::uint32_t value)> OnGraphStreamErrorStopped;
    std::function<void(QObject *sender, HRESULT operation, std::uint32_t value)> OnGraphStreamErrorStillPlaying;
    std::function<void(QObject *sender, HRESULT result)> OnGraphErrorStillPlaying;
    std::function<void(QObject *sender)> OnGraphPaletteChanged;
    std::function<void(QObject *sender, std::uint16_t width, std::uint16_t height)> OnGraphVideoSizeChanged;
    std::function<void(QObject *sender)> OnGraphQualityChange;
    std::function<void(QObject *sender)> OnGraphClockChanged;
    std::function<void(QObject *sender, HRESULT result)> OnGraphPaused;
    std::function<void(QObject *sender, bool opening)> OnGraphOpeningFile;
    std::function<void(QObject *sender, bool buffering)> OnGraphBufferingData;
    std::function<void(QObject *sender, IBaseFilter *renderer)> OnGraphFullscreenLost;
    std::function<void(QObject *sender, const QString &string1, const QString &string2)> OnGraphOleEvent;
    std::function<void(QObject *sender, IPin *pinSender, std::uint32_t cookie)> OnGraphStreamControlStopped;
    std::function<void(QObject *sender, IPin *pinSender, std::uint32_t cookie)> OnGraphStreamControlStarted;
    std::function<void(QObject *sender, std::int64_t streamTime, std::uint32_t numSegment)> OnGraphEndOfSegment;
    std::function<void(QObject *sender, IInterface *device, bool removed)> OnGraphDeviceLost;
    std::function<void(QObject *sender)> OnGraphStepComplete;
    std::function<void(QObject *sender, IBaseFilter *from, std::uint32_t deviceId)> OnGraphTimeCodeAvailable;
    std::function<void(QObject *sender, std::uint32_t newMode, std::uint32_t deviceId)> OnGraphEXTDeviceModeChange;
    std::function<void(QObject *sender)> OnGraphChanged;
    std::function<void(QObject *sender)> OnGraphClockUnset;
    std::function<void(QObject *sender, int renderDevice)> OnGraphVMRRenderDevice;
    std::function<void(QObject *sender, int occurWhen, std::uint32_t errorCode)> OnGraphSNDDevInError;
    std::function<void(QObject *sender, int occurWhen, std::uint32_t errorCode)> OnGraphSNDDevOutError;
    // The DVD mode's events (codes 257 to 283) arrive here with their code and parameters.
    std::function<void(QObject *sender, int event, std::intptr_t param1, std::intptr_t param2)> OnDVDEvent;
    // Builder callbacks: no sender; true lets the framework go on with the filter or the pin.
    std::function<bool(IMoniker *moniker, const QString &filterName, const GUID &classId)> OnSelectedFilter;
    std::function<bool(IBaseFilter *filter, const GUID &classId)> OnCreatedFilter;
    std::function<bool(IPin *pin)> OnUnableToRender;

private:
    class NotifyReceiver;
    friend class NotifyReceiver;

    void activate();
    void deactivate();
    void addClientFilter(IGraphClient *client);
    void removeClientFilter(IGraphClient *client);
    void sendControlEvent(int code, int param);
    void drainEvents();
    void applyVolume();
    void applyBalance();
    void applyRate();
    void registerGraph();
    void revokeGraph();
    void closeLog();

    bool m_active = false;
    bool m_autoCreate = false;
    TGraphMode m_mode = gmNormal;
    bool m_graphEdit = false;
    bool m_linearVolume = true;
    QString m_logFile;
    int m_volume = 10000;
    int m_balance = 0;
    double m_rate = 1.0;

    std::vector<IGraphClient *> m_clients;
    std::vector<IGraphEventSink *> m_sinks;
    RefPtr<IFilterGraph2> m_graph;
    RefPtr<ICaptureGraphBuilder2> m_captureBuilder;
    RefPtr<IInterface> m_dvdBuilder;
    RefPtr<IMediaEventEx> m_eventSource;
    std::uint32_t m_registration = 0;
    std::unique_ptr<QFile> m_logStream;
    std::unique_ptr<QObject> m_notifyReceiver; // hidden: receives the graph's notifications
};

// Moves a client (and a sink, when given) from the graph component it is attached to over to `graph`, detaching
// first; nothing when that is the same one. `attached` is the component's own FilterGraph field.
void moveToGraph(
    QPointer<TFilterGraph> &attached, TFilterGraph *graph, IGraphClient *client, IGraphEventSink *sink = nullptr);

} // namespace pixolo
