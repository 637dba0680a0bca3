#include "capture/CaptureGraphBuilder.h"

#include "capture/CameraFormat.h"
#include "capture/EDirectShowException.h"
#include "capture/FailureReport.h"
#include "capture/GraphElement.h"
#include "capture/GraphPipeline.h"

#include <gst/video/video.h>

namespace pixolo
{

namespace
{

// The first pad of the element in that direction that is not linked yet and, for an output, carries the media.
GstRef<GstPad> freePad(GstElement *element, GstPadDirection direction, bool video)
{
    GstRef<GstPad> found;
    GList *pads = direction == GST_PAD_SRC ? element->srcpads : element->sinkpads;
    GST_OBJECT_LOCK(element);
    std::vector<GstRef<GstPad>> candidates;
    for (GList *item = pads; item; item = item->next) {
        candidates.push_back(GstRef<GstPad>::ref(GST_PAD(item->data)));
    }
    GST_OBJECT_UNLOCK(element);
    for (GstRef<GstPad> &pad : candidates) {
        if (gst_pad_is_linked(pad.get())) {
            continue;
        }
        if (video) {
            const auto caps = GstRef<GstCaps>::adopt(gst_pad_query_caps(pad.get(), nullptr));
            // A pad that answers "anything" (a stream that learns its format only once it runs) may carry it.
            bool carries = caps && gst_caps_is_any(caps.get());
            for (guint i = 0; caps && i < gst_caps_get_size(caps.get()); ++i) {
                const char *name = gst_structure_get_name(gst_caps_get_structure(caps.get(), i));
                carries = carries || g_str_has_prefix(name, "video/") || g_str_has_prefix(name, "image/");
            }
            if (!carries) {
                continue;
            }
        }
        return std::move(pad);
    }
    return found;
}

// The elements that turn what the pad sends into something a raw-media input takes. Compressed camera frames are
// decoded before any conversion. Only on the way into the final filter (the renderer) may the picture be scaled,
// and there it is scaled before it is converted, in one pass: a grabber before it keeps the full frame.
std::vector<std::pair<const char *, const char *>> convertersFor(GstPad *pad, bool intoRenderer)
{
    const auto caps = GstRef<GstCaps>::adopt(gst_pad_query_caps(pad, nullptr));
    bool raw = false;
    bool jpeg = false;
    bool audio = false;
    for (guint i = 0; caps && i < gst_caps_get_size(caps.get()); ++i) {
        const char *name = gst_structure_get_name(gst_caps_get_structure(caps.get(), i));
        raw = raw || g_str_equal(name, "video/x-raw");
        jpeg = jpeg || g_str_equal(name, "image/jpeg");
        audio = audio || g_str_has_prefix(name, "audio/");
    }
    const std::pair<const char *, const char *> converter = intoRenderer
        ? std::pair { "videoconvertscale", "Video Scaler and Converter" }
        : std::pair { "videoconvert", "Color Space Converter" };
    if (raw) {
        return { converter };
    }
    if (jpeg) {
        return { { "jpegdec", "MJPEG Decompressor" }, converter };
    }
    if (audio) {
        return { { "audioconvert", "Audio Converter" }, { "audioresample", "Audio Resampler" } };
    }
    return { { "decodebin", "Decoder" }, converter };
}

// Scaling for a preview: nearest neighbour (the picture the painter made of the full frame before), stretched to
// exactly the size the renderer asks for.
void configureScaler(GstElement *element)
{
    if (g_object_class_find_property(G_OBJECT_GET_CLASS(element), "add-borders")) {
        gst_util_set_object_arg(G_OBJECT(element), "method", "nearest-neighbour");
        g_object_set(element, "add-borders", FALSE, nullptr);
    }
}

// Tells the graph the size of the video as it enters the renderer's chain: the picture's own size, before a
// preview scales it.
GstPadProbeReturn onVideoCaps(GstPad *pad, GstPadProbeInfo *info, gpointer)
{
    GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
    if (!event || GST_EVENT_TYPE(event) != GST_EVENT_CAPS) {
        return GST_PAD_PROBE_OK;
    }
    GstCaps *caps = nullptr;
    gst_event_parse_caps(event, &caps);
    GstVideoInfo video;
    const auto owner = GstRef<GstElement>::adopt(gst_pad_get_parent_element(pad));
    if (owner && gst_video_info_from_caps(&video, caps)) {
        GstStructure *size = gst_structure_new("pixolo-video-size", "width", G_TYPE_INT, GST_VIDEO_INFO_WIDTH(&video),
            "height", G_TYPE_INT, GST_VIDEO_INFO_HEIGHT(&video), nullptr);
        gst_element_post_message(owner.get(), gst_message_new_element(GST_OBJECT(owner.get()), size));
    }
    return GST_PAD_PROBE_OK;
}

void watchVideoSize(GstPad *pad)
{
    static const GQuark watched = g_quark_from_static_string("pixolo-video-size-watched");
    if (g_object_get_qdata(G_OBJECT(pad), watched)) {
        return; // a graph rendered again over the same pad
    }
    g_object_set_qdata(G_OBJECT(pad), watched, GINT_TO_POINTER(1));
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &onVideoCaps, nullptr, nullptr);
}

// A source told its format from its device's list keeps it: a preview that changes its size asks upstream for a new
// format, and such a source (a PipeWire stream) would renegotiate with its system and stall. The scaler before the
// renderer answers that question itself.
GstPadProbeReturn dropReconfigure(GstPad *, GstPadProbeInfo *info, gpointer)
{
    GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
    return event && GST_EVENT_TYPE(event) == GST_EVENT_RECONFIGURE ? GST_PAD_PROBE_DROP : GST_PAD_PROBE_OK;
}

// What a decoder links its output to once it knows its stream. It holds no graph: a camera's pipeline may stop on
// the graph's worker after the graph is gone.
struct DynamicLink {
    GstRef<GstPad> target;
};

void onDecodedPad(GstElement *, GstPad *pad, gpointer data)
{
    // Called on the decoder's streaming thread: nothing raised may unwind into it.
    guardCallback("Linking the decoded picture", [&] {
        auto *link = static_cast<DynamicLink *>(data);
        if (!gst_pad_is_linked(link->target.get())) {
            gst_pad_link(pad, link->target.get());
        }
    });
}

void freeDynamicLink(gpointer data, GClosure *)
{
    delete static_cast<DynamicLink *>(data);
}

} // namespace

CaptureGraphBuilder::CaptureGraphBuilder(GraphPipeline &graph)
    : m_graph(graph)
{
}

void CaptureGraphBuilder::RenderStream(GstElement *source, GstElement *intermediate, GstElement *sink)
{
    if (!source || (!intermediate && !sink)) {
        throw EDirectShowException(E_POINTER);
    }
    for (GstElement *element : { source, intermediate, sink }) {
        if (element && !m_graph.contains(element)) {
            throw EDirectShowException(E_NOT_IN_GRAPH);
        }
    }
    GstRef<GstPad> upstream = freePad(source, GST_PAD_SRC, true);
    if (!upstream) {
        throw EDirectShowException(E_NOT_FOUND); // no free video output
    }
    Connection connection;
    try {
        for (GstElement *element : { intermediate, sink }) {
            if (!element) {
                continue;
            }
            const GstRef<GstPad> input = freePad(element, GST_PAD_SINK, false);
            const bool intoRenderer = element == sink;
            if (intoRenderer) {
                watchVideoSize(upstream.get());
            }
            if (!input) {
                throw EDirectShowException(E_ALREADY_CONNECTED);
            }
            connect(upstream.get(), input.get(), intoRenderer, connection);
            if (element == intermediate && sink) {
                upstream = freePad(element, GST_PAD_SRC, false);
                if (!upstream) {
                    throw EDirectShowException(E_NOT_FOUND);
                }
            }
        }
    } catch (const EDirectShowException &) {
        undo(connection);
        throw;
    }
    m_graph.dumpGraph();
}

GstElement *CaptureGraphBuilder::addElement(const char *factory, const char *name, Connection &connection)
{
    GstElement *element = m_graph.addElement(factory, QString::fromLatin1(name));
    if (!element) {
        throw EDirectShowException(E_CANNOT_RENDER);
    }
    connection.added.push_back(element);
    return element;
}

void CaptureGraphBuilder::connect(GstPad *source, GstPad *to, bool intoRenderer, Connection &connection)
{
    GstRef<GstPad> fixed;
    if (!intoRenderer) {
        // A camera offering several formats gives the one with the largest picture at the highest rate. A source
        // that answers "anything" is told one from its device's list: it would otherwise wait for a format that
        // nothing downstream names.
        const auto offered = GstRef<GstCaps>::adopt(gst_pad_query_caps(source, nullptr));
        const auto owner = GstRef<GstElement>::adopt(gst_pad_get_parent_element(source));
        const CameraLink camera = cameraLinkFor(offered.get(), deviceCapsOf(owner.get()).get());
        if (!camera.connectable) {
            throw EDirectShowException(E_NO_ACCEPTABLE_TYPES);
        }
        if (camera.caps && gst_caps_is_any(offered.get())) {
            gst_pad_add_probe(source, GST_PAD_PROBE_TYPE_EVENT_UPSTREAM, &dropReconfigure, nullptr, nullptr);
        }
        if (const GstRef<GstCaps> &chosen = camera.caps) {
            GstElement *element = addElement("capsfilter", "Camera Format", connection);
            g_object_set(element, "caps", chosen.get(), nullptr);
            const auto input = GstRef<GstPad>::adopt(gst_element_get_static_pad(element, "sink"));
            if (!link(source, input.get(), connection)) {
                throw EDirectShowException(E_CANNOT_CONNECT);
            }
            fixed = GstRef<GstPad>::adopt(gst_element_get_static_pad(element, "src"));
        }
    }
    GstPad *from = fixed ? fixed.get() : source;
    // The way into a renderer always passes a scaler: what flows there may be any raw format at any size, even when
    // the two pads could agree on something at link time.
    if (!intoRenderer && link(from, to, connection)) {
        return;
    }
    GstRef<GstPad> current = GstRef<GstPad>::ref(from);
    GstElement *decoder = nullptr; // a decoding bin exposes its output only once it knows the stream
    const auto linkNext = [&](GstPad *input) {
        if (!decoder) {
            return link(current.get(), input, connection);
        }
        g_signal_connect_data(decoder, "pad-added", G_CALLBACK(onDecodedPad),
            new DynamicLink { GstRef<GstPad>::ref(input) }, freeDynamicLink, GConnectFlags(0));
        return true;
    };
    for (const auto &[factory, name] : convertersFor(from, intoRenderer)) {
        GstElement *element = addElement(factory, name, connection);
        configureScaler(element);
        const auto input = GstRef<GstPad>::adopt(gst_element_get_static_pad(element, "sink"));
        if (!input || !linkNext(input.get())) {
            throw EDirectShowException(E_CANNOT_CONNECT);
        }
        current = GstRef<GstPad>::adopt(gst_element_get_static_pad(element, "src"));
        decoder = current ? nullptr : element;
    }
    if (!linkNext(to)) {
        throw EDirectShowException(E_CANNOT_CONNECT);
    }
}

bool CaptureGraphBuilder::link(GstPad *from, GstPad *to, Connection &connection)
{
    if (!m_graph.linkPads(from, to)) {
        return false;
    }
    connection.links.emplace_back(GstRef<GstPad>::ref(from), GstRef<GstPad>::ref(to));
    return true;
}

void CaptureGraphBuilder::undo(Connection &connection)
{
    for (auto &[from, to] : connection.links) {
        if (gst_pad_is_linked(from.get())) {
            gst_pad_unlink(from.get(), to.get());
        }
    }
    for (auto it = connection.added.rbegin(); it != connection.added.rend(); ++it) {
        m_graph.removeFilter(*it);
    }
}

} // namespace pixolo
