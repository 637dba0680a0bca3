#include "capture/ElementFilter.h"

#include "capture/FilterGraphManager.h"

namespace pixolo
{

namespace
{

GQuark filterQuark()
{
    static const GQuark quark = g_quark_from_static_string("pixolo-filter");
    return quark;
}

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

FilterCore::FilterCore(GstRef<GstElement> element, const GUID &classId)
    : m_element(std::move(element))
    , m_classId(classId)
{
    g_object_set_qdata(G_OBJECT(m_element.get()), filterQuark(), this);
}

FilterCore::~FilterCore()
{
    g_object_set_qdata(G_OBJECT(m_element.get()), filterQuark(), nullptr);
    // A filter dropped outside any bin leaves nothing running behind it. One whose state is locked left a camera's
    // graph, whose worker stops it (it may be busy with the camera still): stopping it here would wait for that.
    const auto parent = GstRef<GstObject>::adopt(gst_object_get_parent(GST_OBJECT(m_element.get())));
    if (!parent && !gst_element_is_locked_state(m_element.get())) {
        gst_element_set_state(m_element.get(), GST_STATE_NULL);
    }
}

FilterCore *FilterCore::from(IInterface *object)
{
    void *core = nullptr;
    if (!object || Failed(object->QueryInterface(IID, &core))) {
        return nullptr;
    }
    FilterCore *filter = static_cast<FilterCore *>(core);
    filter->self()->Release(); // the caller's reference keeps it alive
    return filter;
}

FilterCore *FilterCore::ofElement(GstElement *element)
{
    return static_cast<FilterCore *>(g_object_get_qdata(G_OBJECT(element), filterQuark()));
}

void FilterCore::markDeviceSource(GstElement *element, GstCaps *deviceCaps)
{
    g_object_set_qdata(G_OBJECT(element), deviceSourceQuark(), GINT_TO_POINTER(1));
    if (deviceCaps) {
        g_object_set_qdata_full(G_OBJECT(element), deviceCapsQuark(), gst_caps_ref(deviceCaps),
            [](gpointer caps) { gst_caps_unref(static_cast<GstCaps *>(caps)); });
    }
}

bool FilterCore::isDeviceSource(GstElement *element)
{
    return element && g_object_get_qdata(G_OBJECT(element), deviceSourceQuark());
}

GstRef<GstCaps> FilterCore::deviceCapsOf(GstElement *element)
{
    auto *caps = element ? static_cast<GstCaps *>(g_object_get_qdata(G_OBJECT(element), deviceCapsQuark())) : nullptr;
    return caps ? GstRef<GstCaps>::ref(caps) : GstRef<GstCaps>();
}

bool FilterCore::isInDeviceSource(GstObject *object)
{
    // Walks up from the object that posted a message; the device's element may be a bin around the real source.
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

HRESULT FilterCore::enumPins(std::vector<RefPtr<IPin>> &pins)
{
    pins.clear();
    std::vector<GstRef<GstPad>> inputs;
    std::vector<GstRef<GstPad>> outputs;
    GstIterator *iterator = gst_element_iterate_pads(m_element.get());
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
    for (auto *list : { &inputs, &outputs }) {
        for (GstRef<GstPad> &pad : *list) {
            pins.push_back(makeObject<ElementPin>(RefPtr<IBaseFilter>(self()), std::move(pad)));
        }
    }
    return S_OK;
}

HRESULT resultOfStateChange(GstStateChangeReturn change)
{
    switch (change) {
    case GST_STATE_CHANGE_FAILURE:
        return E_FAIL;
    case GST_STATE_CHANGE_ASYNC:
        return S_FALSE;
    default:
        return S_OK;
    }
}

HRESULT FilterCore::setState(GstState state)
{
    return resultOfStateChange(gst_element_set_state(m_element.get(), state));
}

HRESULT FilterCore::getState(std::uint32_t timeoutMs, FILTER_STATE &state)
{
    GstState current = GST_STATE_NULL;
    GstState pending = GST_STATE_VOID_PENDING;
    const GstStateChangeReturn result
        = gst_element_get_state(m_element.get(), &current, &pending, GstClockTime(timeoutMs) * GST_MSECOND);
    state = current == GST_STATE_PLAYING ? State_Running : current == GST_STATE_PAUSED ? State_Paused : State_Stopped;
    switch (result) {
    case GST_STATE_CHANGE_FAILURE:
        return E_FAIL;
    case GST_STATE_CHANGE_ASYNC:
        return S_STATE_INTERMEDIATE;
    case GST_STATE_CHANGE_NO_PREROLL:
        return current == GST_STATE_PAUSED ? S_CANT_CUE : S_OK;
    default:
        return S_OK;
    }
}

HRESULT FilterCore::queryFilterInfo(FILTER_INFO &info)
{
    info.achName = m_name;
    info.pGraph = m_graph ? RefPtr<IFilterGraph2>(static_cast<IFilterGraph2 *>(m_graph)) : RefPtr<IFilterGraph2>();
    return S_OK;
}

HRESULT FilterCore::joinFilterGraph(IFilterGraph2 *graph, const QString &name)
{
    m_graph = graph ? FilterGraphManager::from(graph) : nullptr;
    if (graph && !m_graph) {
        return E_INVALIDARG; // a graph of another kind cannot hold an element
    }
    m_name = graph ? name : QString();
    return S_OK;
}

RefPtr<IBaseFilter> ElementFilter::wrap(GstElement *element)
{
    if (FilterCore *filter = FilterCore::ofElement(element)) {
        return RefPtr<IBaseFilter>(filter->self());
    }
    GstElementFactory *factory = gst_element_get_factory(element);
    const GUID classId = ElementClassId(factory ? GST_OBJECT_NAME(factory) : G_OBJECT_TYPE_NAME(element));
    return makeObject<ElementFilter>(GstRef<GstElement>::ref(element), classId);
}

ElementPin::ElementPin(RefPtr<IBaseFilter> filter, GstRef<GstPad> pad)
    : m_filter(std::move(filter))
    , m_pad(std::move(pad))
{
}

void *ElementPin::findInterface(const GUID &iid)
{
    if (iid == IID) {
        return this;
    }
    return FrameworkObject<IPin>::findInterface(iid);
}

GstPad *ElementPin::padOf(IPin *pin)
{
    void *found = nullptr;
    if (!pin || Failed(pin->QueryInterface(IID, &found))) {
        return nullptr;
    }
    ElementPin *elementPin = static_cast<ElementPin *>(found);
    elementPin->Release();
    return elementPin->m_pad.get();
}

HRESULT ElementPin::Disconnect()
{
    const auto peer = GstRef<GstPad>::adopt(gst_pad_get_peer(m_pad.get()));
    if (!peer) {
        return S_FALSE;
    }
    const bool unlinked = GST_PAD_DIRECTION(m_pad.get()) == GST_PAD_SRC ? gst_pad_unlink(m_pad.get(), peer.get())
                                                                        : gst_pad_unlink(peer.get(), m_pad.get());
    return unlinked ? S_OK : E_FAIL;
}

HRESULT ElementPin::ConnectedTo(RefPtr<IPin> &peer)
{
    peer.reset();
    auto peerPad = GstRef<GstPad>::adopt(gst_pad_get_peer(m_pad.get()));
    if (!peerPad) {
        return E_NOT_CONNECTED;
    }
    const auto owner = GstRef<GstElement>::adopt(gst_pad_get_parent_element(peerPad.get()));
    if (!owner) {
        return E_NOT_CONNECTED;
    }
    peer = makeObject<ElementPin>(ElementFilter::wrap(owner.get()), std::move(peerPad));
    return S_OK;
}

HRESULT ElementPin::QueryPinInfo(PIN_INFO &info)
{
    info.pFilter = m_filter;
    info.dir = GST_PAD_DIRECTION(m_pad.get()) == GST_PAD_SRC ? PINDIR_OUTPUT : PINDIR_INPUT;
    info.achName = QString::fromUtf8(GST_PAD_NAME(m_pad.get()));
    return S_OK;
}

HRESULT resultFromError(const GError *error, bool fromDeviceSource)
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
