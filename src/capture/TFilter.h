#pragma once

#include "capture/DeviceMoniker.h"
#include "capture/GstRef.h"
#include "capture/TFilterGraph.h"
#include "capture/TPersistentMemory.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

namespace pixolo
{

// The stored identity of a device: its block is the saved moniker (the moniker's class identifier and the device's
// identity); a length of 0 means no device.
class TBaseFilter : public TPersistentMemory
{
public:
    // None empties the block.
    void StoreMoniker(const DeviceMoniker *moniker);
    // None when the block is empty or does not hold a moniker.
    std::optional<DeviceMoniker> LoadMoniker() const;
    // A new source element for the stored device; none when there is no device or it cannot be bound.
    GstRef<GstElement> CreateFilter() const;
};

// A graph client that contributes the source filter of the device held in BaseFilter: each activation of the graph
// binds the stored moniker to a new filter.
class TFilter : public QObject, public IGraphClient
{
    Q_OBJECT

public:
    explicit TFilter(QObject *owner = nullptr);
    ~TFilter() override;

    TFilterGraph *FilterGraph() const { return m_filterGraph; }
    void SetFilterGraph(TFilterGraph *graph);
    TBaseFilter *BaseFilter() const { return m_baseFilter.get(); }

    GstElement *GetClientFilter() override { return m_filter.get(); }
    QString GetClientName() override { return objectName(); }
    void NotifyClient(TClientOperation operation, int param) override;

private:
    QPointer<TFilterGraph> m_filterGraph; // observed: becomes none when the graph component goes
    std::unique_ptr<TBaseFilter> m_baseFilter = std::make_unique<TBaseFilter>();
    GstRef<GstElement> m_filter;
};

} // namespace pixolo
