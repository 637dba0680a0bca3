#pragma once

#include "capture/GstRef.h"

#include <gst/gst.h>

#include <QObject>
#include <QString>

#include <atomic>
#include <vector>

namespace pixolo
{

// One listing of a device, as far as telling duplicates apart goes.
struct DeviceListing {
    QString duplicateKey; // equal for two listings of the same hardware (DeviceIdentity::duplicateKey)
    bool pipeWire = false; // a PipeWire node
};

// The positions of the listings to keep, in the monitor's order: one listing of each device, the first PipeWire
// node among its listings when there is one (where PipeWire manages a camera, another program opening its device
// directly would take it from PipeWire's clients), else the first.
std::vector<size_t> distinctListings(const std::vector<DeviceListing> &listings);

// The machine's devices of one class as the system's device monitor reports them. The providers are probed once,
// when the class is first asked for; from then on the monitor runs and keeps the list up to date as devices are
// plugged in and out, and each change is told on the main thread (devicesChanged). A registry is made on first use,
// on the main thread, and kept for the life of the process.
class DeviceRegistry final : public QObject
{
    Q_OBJECT

public:
    // The cameras: video sources that give raw or JPEG frames.
    static DeviceRegistry &videoSources();
    // Starts GStreamer and the cameras' monitor (its first probe of every provider, the slow part of listing them)
    // on a thread of their own, so that the program's windows are made meanwhile; the cameras' registry takes that
    // monitor when it is first asked for, waiting for the probe if it is still running. Called once, early.
    static void prepareVideoSources();
    static DeviceRegistry &audioSources();
    // The registry of any other device class, without a caps filter.
    static DeviceRegistry &ofClass(const QString &deviceClass);

    // The devices now, in the monitor's order, with a device that two providers list (or that was listed twice)
    // only once, PipeWire's node preferred. No probing: the monitor's own list.
    std::vector<GstRef<GstDevice>> devices() const;

    // Stops the monitor and starts it again, which probes every provider afresh: for a change the monitor cannot see,
    // such as providers made visible or hidden.
    void reload();
    static void reloadAll();

    const QString &deviceClass() const { return m_deviceClass; }

Q_SIGNALS:
    // A device was added, removed or changed (several changes in a row may come as one).
    void devicesChanged();

protected:
    bool event(QEvent *event) override;

private:
    DeviceRegistry(const QString &deviceClass, const char *caps);
    ~DeviceRegistry() override;

    void start();
    void stop();
    static GstBusSyncReply onBusMessage(GstBus *bus, GstMessage *message, gpointer self);

    QString m_deviceClass;
    QByteArray m_caps;
    GstRef<GstDeviceMonitor> m_monitor;
    std::atomic<bool> m_noticePosted { false };
};

} // namespace pixolo
