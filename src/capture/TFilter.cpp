#include "capture/TFilter.h"

namespace pixolo
{

void TBaseFilter::StoreMoniker(IMoniker *moniker)
{
    QByteArray stream;
    if (moniker) {
        SaveMonikerToStream(moniker, stream); // a failed save keeps whatever reached the stream
    }
    SetBlock(stream);
}

RefPtr<IMoniker> TBaseFilter::LoadMoniker() const
{
    RefPtr<IMoniker> moniker;
    if (Length() == 0 || Failed(LoadMonikerFromStream(Block(), moniker))) {
        return {};
    }
    return moniker;
}

RefPtr<IBaseFilter> TBaseFilter::CreateFilter() const
{
    const RefPtr<IMoniker> moniker = LoadMoniker();
    RefPtr<IBaseFilter> filter;
    if (!moniker || Failed(moniker->BindToObject(filter))) {
        return {};
    }
    return filter;
}

TFilter::TFilter(QObject *owner)
    : QObject(owner)
{
}

TFilter::~TFilter()
{
    m_baseFilter.reset();
    SetFilterGraph(nullptr);
}

void TFilter::SetFilterGraph(TFilterGraph *graph)
{
    moveToGraph(m_filterGraph, graph, this);
}

void TFilter::NotifyClient(TClientOperation operation, int)
{
    switch (operation) {
    case opBeforeAdd:
        m_filter = m_baseFilter ? m_baseFilter->CreateFilter() : RefPtr<IBaseFilter>();
        break;
    case opBeforeRemove:
        if (m_filter) {
            FILTER_STATE state = State_Stopped;
            if (Succeeded(m_filter->GetState(0, state)) && (state == State_Paused || state == State_Running)) {
                m_filter->Stop();
            }
        }
        break;
    case opAfterRemove:
        m_filter.reset();
        break;
    case opRefresh:
        if (TFilterGraph *graph = m_filterGraph) {
            graph->DetachClient(this);
            graph->AttachClient(this);
        }
        break;
    case opAfterAdd:
        break;
    }
}

HRESULT TFilter::QueryInterface(const GUID &iid, void **object)
{
    return componentQueryInterface(iid, object, m_filter.get(), static_cast<IGraphClient *>(this));
}

} // namespace pixolo
