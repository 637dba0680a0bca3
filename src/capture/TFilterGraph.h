#pragma once

#include "capture/EDirectShowException.h"
#include "capture/GraphEvents.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QFile;
typedef struct _GstElement GstElement;

namespace pixolo
{

class CaptureGraphBuilder;
class GraphPipeline;

enum TGraphMode : int { gmNormal, gmCapture, gmDVD };

// What the graph tells a client about its filter.
enum TClientOperation : int { opBeforeAdd = 0, opAfterAdd = 1, opBeforeRemove = 2, opAfterRemove = 3, opRefresh = 4 };

// Control event codes sent to the sinks (codes 1, 5 and 6 are not used).
inline constexpr int ctlPlay = 0;
inline constexpr int ctlStop = 2;
inline constexpr int ctlFileRendering = 3;
inline constexpr int ctlFileRendered = 4;
inline constexpr int ctlActive = 7;

// A component that contributes one filter (an element) to a TFilterGraph. The client owns its filter; the graph
// holds a reference of its own while the filter is in it.
class IGraphClient
{
public:
    virtual GstElement *GetClientFilter() = 0;
    virtual QString GetClientName() = 0;
    virtual void NotifyClient(TClientOperation operation, int param) = 0;

protected:
    ~IGraphClient() = default;
};

// A component that hears about graph events and the graph component's own actions.
class IGraphEventSink
{
public:
    virtual void SinkGraphEvent(int code, std::intptr_t param1, std::intptr_t param2) = 0;
    virtual void SinkControlEvent(int code, int param) = 0;

protected:
    ~IGraphEventSink() = default;
};

// A component that owns one filter graph (a GStreamer pipeline) while it is active, the clients that contribute
// filters to it and the sinks that hear its events. Events reach the main thread through a hidden receiver and are
// drained there. Framework failures raise EDirectShowException.
class TFilterGraph : public QObject
{
    Q_OBJECT

public:
    explicit TFilterGraph(QObject *owner = nullptr);
    ~TFilterGraph() override;

    bool Active() const { return m_active; }
    void SetActive(bool active);
    bool AutoCreate() const { return m_autoCreate; }
    void SetAutoCreate(bool autoCreate) { m_autoCreate = autoCreate; }
    // gmCapture adds a capture builder to the graph (RenderStream); there is no DVD builder here, so gmDVD is active
    // without a graph.
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

    // True when the graph was told to run; raises when it refuses.
    bool RunGraph();
    // GStreamer's words for the first error of the last run ("Device '/dev/video0' is busy."), empty without one.
    QString LastErrorText() const;
    // True when the graph was told to stop; raises when it refuses.
    bool StopGraph();
    // Stops, disconnects every pin and removes every filter except the clients'.
    void ResetGraph();
    // False (doing nothing) when there is no graph; raises when the file cannot be played.
    bool RenderMediaFile(const QString &fileName);
    // Plays what was rendered again from its start; false when nothing is rendered.
    bool RewindMedia();

    // The capture builder's preview: connects the source client's video through the intermediate client's filter
    // (the grabber, at the camera's full size) into the sink client's filter (the renderer), adding the camera's
    // format, decoders and converters. Either of the last two may be none. Raises when it cannot connect them
    // (E_UNEXPECTED outside capture mode or while inactive), taking back what it added.
    void RenderStream(IGraphClient *source, IGraphClient *intermediate, IGraphClient *sink);

    void AttachClient(IGraphClient *client);
    void DetachClient(IGraphClient *client);
    void AttachSink(IGraphEventSink *sink);
    void DetachSink(IGraphEventSink *sink);

    // The graph's filters in the order they were added (borrowed); empty while inactive.
    std::vector<GstElement *> Filters() const;
    // The pipeline while active (borrowed), for inspection.
    GstElement *Pipeline() const;

    // Hands one drained event to the sinks, OnDSEvent and the event of its code.
    virtual void HandleGraphEvent(int code, std::intptr_t param1, std::intptr_t param2);

    // Events; the sender is this component.
    std::function<void(QObject *sender)> OnActivate;
    std::function<void(QObject *sender, int event, std::intptr_t param1, std::intptr_t param2)> OnDSEvent;
    std::function<void(QObject *sender, DSErrorCode result)> OnGraphComplete;
    std::function<void(QObject *sender, DSErrorCode result)> OnGraphErrorAbort;
    std::function<void(QObject *sender, std::uint16_t width, std::uint16_t height)> OnGraphVideoSizeChanged;
    std::function<void(QObject *sender)> OnGraphClockChanged;
    std::function<void(QObject *sender, bool removed)> OnGraphDeviceLost;
    std::function<void(QObject *sender)> OnGraphClockUnset;
    // Builder callbacks, on whatever thread builds a chain; no sender. True lets the graph go on with the filter.
    std::function<bool(const QString &filterName, const QString &factoryName)> OnSelectedFilter;
    std::function<bool(const QString &factoryName)> OnCreatedFilter;
    // A stream of the named filter's pad that nothing can decode; true when the handler dealt with it.
    std::function<bool(const QString &filterName, const QString &pinName)> OnUnableToRender;

private:
    class NotifyReceiver;
    friend class NotifyReceiver;

    void activate();
    void deactivate();
    void addClientFilter(IGraphClient *client);
    void removeClientFilter(IGraphClient *client);
    void sendControlEvent(int code, int param);
    void drainEvents();
    void applyAudio();
    // Publishes the graph for inspection (GraphEdit) or takes it back.
    void publishGraph(bool published);
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
    std::unique_ptr<GraphPipeline> m_graph; // present while active, except in gmDVD
    std::unique_ptr<CaptureGraphBuilder> m_captureBuilder; // present while active in gmCapture
    bool m_published = false; // written for inspection (GraphEdit)
    std::unique_ptr<QFile> m_logStream;
    std::unique_ptr<QObject> m_notifyReceiver; // hidden: receives the graph's notifications
};

// Moves a client (and a sink, when given) from the graph component it is attached to over to `graph`, detaching
// first; nothing when that is the same one. `attached` is the component's own FilterGraph field.
void moveToGraph(
    QPointer<TFilterGraph> &attached, TFilterGraph *graph, IGraphClient *client, IGraphEventSink *sink = nullptr);

} // namespace pixolo
