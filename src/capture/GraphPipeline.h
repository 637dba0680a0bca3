#pragma once

#include "capture/EDirectShowException.h"
#include "capture/GstRef.h"

#include <gst/gst.h>

#include <QByteArray>
#include <QEvent>
#include <QString>

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

class QObject;

namespace pixolo
{

// One graph event, as the bus handler queues it for the main thread.
struct GraphEvent {
    int code;
    std::intptr_t param1;
    std::intptr_t param2;
};

// What the graph's owner decides while a chain is built (called on whatever thread builds it): whether a factory
// about to be used may be, whether an element just made may stay, and a stream that cannot be decoded.
struct BuilderHooks {
    std::function<bool(const QString &longName, const QString &factoryName)> selected;
    std::function<bool(const QString &factoryName)> created;
    std::function<void(const QString &filterName, const QString &padName)> unrenderable;
};

// The filter graph of a TFilterGraph: a GstPipeline holding the filters' elements in the order they were added. Bus
// messages become graph events in a sync handler that only queues them and posts one notification; the receiver
// drains the queue on the main thread. Failures the caller must hear of raise EDirectShowException.
class GraphPipeline final
{
public:
    GraphPipeline();
    ~GraphPipeline();
    GraphPipeline(const GraphPipeline &) = delete;
    GraphPipeline &operator=(const GraphPipeline &) = delete;

    GstElement *pipeline() const { return m_pipeline.get(); }

    // Adds the element under the name, or under the name with " 0001", " 0002"… when it is taken; false when the
    // element is in a bin already.
    bool addFilter(GstElement *element, const QString &name);
    // False when the element is not one of the graph's.
    bool removeFilter(GstElement *element);
    bool contains(GstElement *element) const;
    // Every filter of the graph, in the order they were added.
    std::vector<GstElement *> filters() const;
    // Adds a new element of the factory as a filter; none when the hooks refuse it or the factory is missing.
    GstElement *addElement(const char *factoryName, const QString &name);
    // Links two pads, writing a log line; false when they cannot be linked.
    bool linkPads(GstPad *source, GstPad *sink);

    // Builds an audio playback chain for the file, raising (and leaving the graph as it was) for a missing,
    // unreadable or unplayable file.
    void renderFile(const QString &fileName);
    // Raises when the graph refuses to run. A camera's graph starts beside the caller: its refusal comes as an event.
    void run();
    // Raises when the graph refuses to stop.
    void stop();
    // GStreamer's own words for the first error of the last run, empty when the run met none.
    QString lastErrorText();

    // Hundredths of a decibel: 0 is full volume, -10000 silence; kept for the next chain when none is rendered.
    void setVolume(std::int32_t volume);
    // Hundredths of a decibel of attenuation: positive values turn the left channel down, negative the right.
    void setBalance(std::int32_t balance);
    // False for a rate that is not above 0.
    bool setRate(double rate);
    double rate() const { return m_rate; }
    // Plays a rendered chain again from its start; false while nothing is rendered.
    bool rewind();

    // Posts a plain QEvent of the type to the receiver when events wait; none stops posting.
    void setNotifyReceiver(QObject *receiver, QEvent::Type eventType);
    // No event is queued or posted any more.
    void stopNotifications();
    // The oldest waiting event.
    std::optional<GraphEvent> takeEvent();

    void setBuilderHooks(BuilderHooks hooks);

    // A file descriptor that receives one line for each filter added, removed or connected; -1 stops logging. The
    // caller keeps it open until it sets another one.
    void setLogFile(int fileDescriptor);
    // While set, the graph is written as "<name>.dot" into GST_DEBUG_DUMP_DOT_DIR whenever it changes; clearing it
    // removes the file.
    void setDumpName(const QString &name);
    void dumpGraph();

    // The audio sink of playback chains, as a GStreamer launch description; "autoaudiosink" unless set. Tests set
    // "fakesink sync=true" so that a chain plays in real time without a sound card. Applies to chains built later.
    static void setAudioSinkDescription(const QByteArray &description);
    static QByteArray audioSinkDescription();

    // Calls of the decoding bin's callbacks.
    bool selectFactory(GstElementFactory *factory);
    bool acceptCreated(GstElement *element);
    void reportUnrenderable(GstElement *decoder, GstPad *pad);

private:
    struct BusLink;
    class StateWorker;

    static GstBusSyncReply onBusMessage(GstBus *bus, GstMessage *message, gpointer link);
    bool holdsLiveSource() const;
    GstStateChangeReturn changeState(GstElement *element, GstState state);
    void handleBusMessage(GstMessage *message);
    void queueEvent(const GraphEvent &event);
    void pushLocked(const GraphEvent &event);
    void applyAudio();
    QString uniqueName(const QString &name) const;
    void log(const QString &line);
    BuilderHooks hooks();

    GstRef<GstElement> m_pipeline;
    BusLink *m_busLink = nullptr; // owned by the pipeline
    std::shared_ptr<StateWorker> m_stateWorker; // made when a state change first may wait on a camera
    std::vector<GstRef<GstElement>> m_filters; // in the order they were added

    std::mutex m_eventLock; // guards the queue and the notification target; streaming threads take it
    std::deque<GraphEvent> m_events;
    QObject *m_receiver = nullptr;
    QEvent::Type m_eventType = QEvent::None;
    bool m_notifying = true;
    bool m_notifyPosted = false;
    bool m_errorSeen = false; // only the first error of a run becomes an event
    QString m_lastErrorText; // guarded by m_eventLock

    std::atomic<bool> m_rendering { false }; // errors go to m_renderError instead of the queue
    std::atomic<DSErrorCode> m_renderError { 0 };
    std::atomic<DSErrorCode> m_lastError { 0 };

    std::mutex m_logLock;
    int m_logFile = -1;

    std::mutex m_hooksLock; // the hooks are asked from streaming threads
    BuilderHooks m_hooks;
    std::int32_t m_volume = 0;
    std::int32_t m_balance = 0;
    double m_rate = 1.0;
    QString m_dumpName;
};

} // namespace pixolo
