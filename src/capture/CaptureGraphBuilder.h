#pragma once

#include "capture/FrameworkObject.h"
#include "capture/GstRef.h"
#include "capture/MediaFramework.h"

#include <gst/gst.h>

#include <vector>

namespace pixolo
{

class FilterGraphManager;

// Connects a source through an intermediate filter to a sink inside one graph, adding decoders and converters.
class CaptureGraphBuilder final : public FrameworkObject<ICaptureGraphBuilder2>
{
public:
    HRESULT SetFiltergraph(IFilterGraph2 *graph) override;
    HRESULT GetFiltergraph(RefPtr<IFilterGraph2> &graph) override;
    HRESULT RenderStream(const GUID *category, const GUID *mediaType, IInterface *source, IBaseFilter *intermediate,
        IBaseFilter *sink) override;

private:
    // What one call has changed so far, so that a failure can undo it.
    struct Connection {
        std::vector<RefPtr<IBaseFilter>> added;
        std::vector<std::pair<GstRef<GstPad>, GstRef<GstPad>>> links;
    };

    HRESULT connect(GstPad *source, GstPad *to, bool intoRenderer, Connection &connection);
    bool link(GstPad *from, GstPad *to, Connection &connection);
    void undo(Connection &connection);

    RefPtr<IFilterGraph2> m_graph;
    FilterGraphManager *m_manager = nullptr;
};

} // namespace pixolo
