#pragma once

#include "capture/MediaFramework.h"
#include "capture/TFilterGraph.h"
#include "capture/TPersistentMemory.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace pixolo
{

// The stored identity of a device: its block is the saved moniker (the moniker's class identifier and the device's
// identity); a length of 0 means no device.
class TBaseFilter : public TPersistentMemory
{
public:
    // None empties the block. A moniker that cannot be saved leaves what was written (possibly nothing).
    void StoreMoniker(IMoniker *moniker);
    // None when the block is empty or does not hold a moniker.
    RefPtr<IMoniker> LoadMoniker() const;
    // A new source filter for the stored device; none when there is no device or it cannot be bound.
    RefPtr<IBaseFilter> CreateFilter() const;
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

    RefPtr<IBaseFilter> GetClientFilter() override { return m_filter; }
    QString GetClientName() override { return objectName(); }
    void NotifyClient(TClientOperation operation, int param) override;

    // Own interfaces first, then those of the bound filter.
    HRESULT QueryInterface(const GUID &iid, void **object) override;
    template <typename T> RefPtr<T> QueryInterface() { return queryInterface<T>(this); }
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }

private:
    QPointer<TFilterGraph> m_filterGraph; // observed: becomes none when the graph component goes
    std::unique_ptr<TBaseFilter> m_baseFilter = std::make_unique<TBaseFilter>();
    RefPtr<IBaseFilter> m_filter;
};

} // namespace pixolo
