#pragma once

#include "capture/TFilterGraph.h"
#include "capture/TMediaType.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace pixolo
{

class FrameGrabber;
class TBitmap;

// A required part of the system is missing; the message says which.
class EAssertionFailed : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A graph client that contributes the sample grabber: a pass-through filter that accepts only MediaType and keeps
// the latest frame, which CopyFrameToBitmap copies out on request.
class TSampleGrabber : public QObject, public IGraphClient
{
    Q_OBJECT

public:
    // Raises EAssertionFailed ("The SampleGrabber Filter is not available on this system. …") when the grabber
    // cannot be made.
    explicit TSampleGrabber(QObject *owner = nullptr);
    ~TSampleGrabber() override;

    TFilterGraph *FilterGraph() const { return m_filterGraph; }
    void SetFilterGraph(TFilterGraph *graph);
    // 24-bit RGB video of any size unless changed.
    TMediaType *MediaType() const { return m_mediaType.get(); }

    // Gives the grabber MediaType again; the graph must be connected again afterwards.
    void UpdateMediaType();

    // Copies the latest frame (or, with a buffer, the buffer's bytes, at most the picture's size) into the bitmap as
    // a picture of the connection's size in MediaType's format, rows top-down. False, with the bitmap untouched, when
    // there is no bitmap, a buffer of length 0, no active graph, no connection, a type that is no bitmap's, or no
    // frame yet.
    bool CopyFrameToBitmap(TBitmap *bitmap, void *buffer = nullptr, int length = 0);

    // Milliseconds since the newest frame reached the grabber; -1 when none came since it joined its graph. A
    // camera that stopped delivering (unplugged, or its graph stopped) shows here as a growing age.
    qint64 FrameAge() const;

    GstElement *GetClientFilter() override;
    QString GetClientName() override { return objectName(); }
    void NotifyClient(TClientOperation operation, int param) override;

    // Called for every frame on the streaming thread, under the lock, with the frame in MediaType; the buffer is valid
    // only during the call. Set it while the graph is inactive: frames are converted for it only when it is set.
    std::function<void(QObject *sender, double SampleTime, void *pBuffer, int BufferLen)> OnBuffer;

private:
    void BufferCB(double sampleTime, unsigned char *buffer, int length);

    std::unique_ptr<FrameGrabber> m_filter; // present between opBeforeAdd and opAfterRemove
    QPointer<TFilterGraph> m_filterGraph;
    std::unique_ptr<TMediaType> m_mediaType;
    std::mutex m_lock; // serialises OnBuffer
    bool m_grabbing = false; // between opAfterAdd and opAfterRemove
};

} // namespace pixolo
