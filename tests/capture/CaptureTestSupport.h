#pragma once

#include "Sounds.h"

// Helpers of the capture tests: the virtual camera's settings, a reference copy of its frames, WAV files, and
// graph clients and sinks that record what they are told.

#include "capture/DeviceMoniker.h"
#include "capture/GstRef.h"
#include "capture/TFilterGraph.h"
#include "platform/TBitmap.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <gst/gst.h>

#include <optional>
#include <utility>
#include <vector>

namespace pixolo::test
{

// Sets the virtual camera's environment for the scope of a test; the previous values come back afterwards.
class CameraEnvironment
{
public:
    explicit CameraEnvironment(
        const QByteArray &size = {}, const QByteArray &format = {}, const QByteArray &vanishAfter = {});
    ~CameraEnvironment();
    CameraEnvironment(const CameraEnvironment &) = delete;
    CameraEnvironment &operator=(const CameraEnvironment &) = delete;

private:
    std::vector<std::pair<const char *, std::optional<QByteArray>>> m_saved;
    bool m_mayVanish;
};

// Hides every device provider (the virtual camera's and the system's) while it lives: a machine without cameras.
class NoDevices
{
public:
    NoDevices();
    ~NoDevices();
    NoDevices(const NoDevices &) = delete;
    NoDevices &operator=(const NoDevices &) = delete;

private:
    std::vector<std::pair<GstPluginFeature *, guint>> m_ranks;
};

inline const QString testCameraName = QStringLiteral("Pixolo Test Camera");

// The virtual camera's moniker from a device enumeration (it may not be the first device).
std::optional<DeviceMoniker> testCameraMoniker();

// Frame `number` of the virtual camera as the capture graph decodes and converts it (24-bit BGR), made by a
// separate pipeline of plain GStreamer elements.
QImage referenceFrame(int width, int height, const QByteArray &format, int number);

// The frame number the picture's counter row shows.
int frameNumberOf(const QImage &picture);

// A 24-bit bitmap's pixels as an image of the same bytes.
QImage imageOf(const TBitmap &bitmap);

// A graph client whose filter is an element of the factory (or none) and which records every operation.
class RecordingClient final : public IGraphClient
{
public:
    explicit RecordingClient(QString name, bool withFilter = true, const char *factory = "identity");

    GstElement *GetClientFilter() override { return m_filter.get(); }
    QString GetClientName() override { return m_name; }
    void NotifyClient(TClientOperation operation, int param) override;

    std::vector<TClientOperation> operations;
    std::vector<GstRef<GstElement>> filtersMade;

private:
    QString m_name;
    bool m_withFilter;
    const char *m_factory;
    GstRef<GstElement> m_filter;
};

// A sink that records graph and control events; it can be told to raise on one graph event code.
class RecordingSink final : public IGraphEventSink
{
public:
    void SinkGraphEvent(int code, std::intptr_t param1, std::intptr_t param2) override;
    void SinkControlEvent(int code, int param) override;

    bool sawGraphEvent(int code) const;

    std::vector<std::pair<int, int>> controlEvents; // code, param
    std::vector<std::pair<int, std::intptr_t>> graphEvents; // code, param1
    std::optional<int> raiseOn; // graph event code that raises (once)
};

} // namespace pixolo::test
