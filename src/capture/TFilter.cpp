#include "capture/TFilter.h"

#include "capture/GraphElement.h"

namespace pixolo
{

void TBaseFilter::StoreMoniker(const DeviceMoniker *moniker)
{
    SetBlock(moniker ? moniker->Save() : QByteArray());
}

std::optional<DeviceMoniker> TBaseFilter::LoadMoniker() const
{
    return Length() == 0 ? std::nullopt : DeviceMoniker::Load(Block());
}

GstRef<GstElement> TBaseFilter::CreateFilter() const
{
    const std::optional<DeviceMoniker> moniker = LoadMoniker();
    return moniker ? moniker->BindToObject() : GstRef<GstElement>();
}

TFilter::TFilter(QObject *owner)
    : QObject(owner)
{
}

TFilter::~TFilter()
{
    m_baseFilter.reset();
    SetFilterGraph(nullptr);
    releaseElement(m_filter);
}

void TFilter::SetFilterGraph(TFilterGraph *graph)
{
    moveToGraph(m_filterGraph, graph, this);
}

void TFilter::NotifyClient(TClientOperation operation, int)
{
    switch (operation) {
    case opBeforeAdd:
        m_filter = m_baseFilter ? m_baseFilter->CreateFilter() : GstRef<GstElement>();
        break;
    case opBeforeRemove:
        if (m_filter) {
            GstState state = GST_STATE_NULL;
            if (gst_element_get_state(m_filter.get(), &state, nullptr, 0) != GST_STATE_CHANGE_FAILURE
                && state >= GST_STATE_PAUSED) {
                gst_element_set_state(m_filter.get(), GST_STATE_READY);
            }
        }
        break;
    case opAfterRemove:
        releaseElement(m_filter);
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

} // namespace pixolo
