#include "capture/GraphElement.h"

namespace pixolo
{

namespace
{

GQuark deviceSourceQuark()
{
    static const GQuark quark = g_quark_from_static_string("pixolo-device-source");
    return quark;
}

GQuark deviceCapsQuark()
{
    static const GQuark quark = g_quark_from_static_string("pixolo-device-caps");
    return quark;
}

} // namespace

void initialiseGStreamer()
{
    // Not skipped when gst_is_initialized() says so: that flag is up while another thread's start is still loading
    // the plugins, and gst_init() waits for that start to end.
    gst_init(nullptr, nullptr);
}

void markDeviceSource(GstElement *element, GstCaps *deviceCaps)
{
    g_object_set_qdata(G_OBJECT(element), deviceSourceQuark(), GINT_TO_POINTER(1));
    if (deviceCaps) {
        g_object_set_qdata_full(G_OBJECT(element), deviceCapsQuark(), gst_caps_ref(deviceCaps),
            [](gpointer caps) { gst_caps_unref(static_cast<GstCaps *>(caps)); });
    }
}

bool isDeviceSource(GstElement *element)
{
    return element && g_object_get_qdata(G_OBJECT(element), deviceSourceQuark());
}

GstRef<GstCaps> deviceCapsOf(GstElement *element)
{
    auto *caps = element ? static_cast<GstCaps *>(g_object_get_qdata(G_OBJECT(element), deviceCapsQuark())) : nullptr;
    return caps ? GstRef<GstCaps>::ref(caps) : GstRef<GstCaps>();
}

bool isInDeviceSource(GstObject *object)
{
    GstObject *current = object ? GST_OBJECT(gst_object_ref(object)) : nullptr;
    while (current) {
        if (g_object_get_qdata(G_OBJECT(current), deviceSourceQuark())) {
            gst_object_unref(current);
            return true;
        }
        GstObject *parent = gst_object_get_parent(current);
        gst_object_unref(current);
        current = parent;
    }
    return false;
}

QString factoryNameOf(GstElement *element)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    return QString::fromUtf8(factory ? GST_OBJECT_NAME(factory) : G_OBJECT_TYPE_NAME(element));
}

std::vector<GstRef<GstPad>> padsOf(GstElement *element)
{
    std::vector<GstRef<GstPad>> inputs;
    std::vector<GstRef<GstPad>> outputs;
    GstIterator *iterator = gst_element_iterate_pads(element);
    GValue item = G_VALUE_INIT;
    bool done = false;
    while (!done) {
        switch (gst_iterator_next(iterator, &item)) {
        case GST_ITERATOR_OK: {
            GstPad *pad = GST_PAD(g_value_get_object(&item));
            (GST_PAD_DIRECTION(pad) == GST_PAD_SINK ? inputs : outputs).push_back(GstRef<GstPad>::ref(pad));
            g_value_reset(&item);
            break;
        }
        case GST_ITERATOR_RESYNC:
            inputs.clear();
            outputs.clear();
            gst_iterator_resync(iterator);
            break;
        default:
            done = true;
            break;
        }
    }
    g_value_unset(&item);
    gst_iterator_free(iterator);
    for (GstRef<GstPad> &pad : outputs) {
        inputs.push_back(std::move(pad));
    }
    return inputs;
}

bool unlinkPad(GstPad *pad)
{
    const auto peer = GstRef<GstPad>::adopt(gst_pad_get_peer(pad));
    if (!peer) {
        return false;
    }
    return GST_PAD_DIRECTION(pad) == GST_PAD_SRC ? gst_pad_unlink(pad, peer.get()) : gst_pad_unlink(peer.get(), pad);
}

bool hasLinkedPad(GstElement *element)
{
    for (const GstRef<GstPad> &pad : padsOf(element)) {
        if (gst_pad_is_linked(pad.get())) {
            return true;
        }
    }
    return false;
}

void releaseElement(GstRef<GstElement> &element)
{
    if (!element) {
        return;
    }
    const auto parent = GstRef<GstObject>::adopt(gst_object_get_parent(GST_OBJECT(element.get())));
    if (!parent && !gst_element_is_locked_state(element.get())) {
        gst_element_set_state(element.get(), GST_STATE_NULL);
    }
    element.reset();
}

DSErrorCode resultFromError(const GError *error, bool fromDeviceSource)
{
    if (!error) {
        return E_FAIL;
    }
    if (error->domain == GST_RESOURCE_ERROR) {
        if (fromDeviceSource) {
            return E_DEVICE_LOST;
        }
        switch (error->code) {
        case GST_RESOURCE_ERROR_NOT_FOUND:
            return E_FILE_NOT_FOUND;
        case GST_RESOURCE_ERROR_OPEN_READ:
        case GST_RESOURCE_ERROR_OPEN_READ_WRITE:
        case GST_RESOURCE_ERROR_NOT_AUTHORIZED:
            return E_ACCESSDENIED;
        case GST_RESOURCE_ERROR_NO_SPACE_LEFT:
            return E_OUTOFMEMORY;
        default:
            return E_READ_FAILED;
        }
    }
    if (error->domain == GST_STREAM_ERROR) {
        switch (error->code) {
        case GST_STREAM_ERROR_TYPE_NOT_FOUND:
        case GST_STREAM_ERROR_WRONG_TYPE:
        case GST_STREAM_ERROR_CODEC_NOT_FOUND:
        case GST_STREAM_ERROR_DECODE:
        case GST_STREAM_ERROR_DEMUX:
        case GST_STREAM_ERROR_FORMAT:
            return E_UNSUPPORTED_STREAM;
        case GST_STREAM_ERROR_FAILED:
            return E_CANNOT_RENDER;
        default:
            return E_FAIL;
        }
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_MISSING_PLUGIN) {
        return E_CANNOT_RENDER;
    }
    if (error->domain == GST_CORE_ERROR && error->code == GST_CORE_ERROR_NEGOTIATION) {
        return E_NO_ACCEPTABLE_TYPES;
    }
    return E_FAIL;
}

} // namespace pixolo
