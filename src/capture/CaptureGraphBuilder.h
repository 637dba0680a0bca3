#pragma once

#include "capture/GstRef.h"

#include <gst/gst.h>

#include <utility>
#include <vector>

namespace pixolo
{

class GraphPipeline;

// Connects a camera's source through an intermediate filter to a renderer inside one graph, adding the camera's
// format, decoders and converters. The intermediate filter receives the source's full resolution: nothing scales
// before it. Made for a graph in capture mode and kept as long as that graph.
class CaptureGraphBuilder final
{
public:
    explicit CaptureGraphBuilder(GraphPipeline &graph);

    // Connects the video output of the source (the intermediate filter and the sink each may be none, not both).
    // Raises EDirectShowException, taking back what it added, when the connection cannot be made.
    void RenderStream(GstElement *source, GstElement *intermediate, GstElement *sink);

private:
    // What one call has changed so far, so that a failure can undo it.
    struct Connection {
        std::vector<GstElement *> added;
        std::vector<std::pair<GstRef<GstPad>, GstRef<GstPad>>> links;
    };

    void connect(GstPad *source, GstPad *to, bool intoRenderer, Connection &connection);
    GstElement *addElement(const char *factory, const char *name, Connection &connection);
    bool link(GstPad *from, GstPad *to, Connection &connection);
    void undo(Connection &connection);

    GraphPipeline &m_graph;
};

} // namespace pixolo
