#pragma once

// Filters and pins of the layer: a filter is one GStreamer element (or bin), its pins are the element's pads.

#include "capture/FrameworkObject.h"
#include "capture/GstRef.h"
#include "capture/MediaFramework.h"

#include <gst/gst.h>

namespace pixolo
{

class FilterGraphManager;

// What every filter of the layer shares, whatever other interfaces it has.
class FilterCore
{
public:
    static constexpr GUID IID { 0x5A0F6F61, 0x3C1B, 0x4C52, { 0x9A, 0x1D, 0x50, 0x49, 0x58, 0x4F, 0x4C, 0x4F } };

    // The filter behind an interface of one of the layer's filters, borrowed from the caller's reference; none for
    // anything else.
    static FilterCore *from(IInterface *object);
    // The filter made for an element, when there is one.
    static FilterCore *ofElement(GstElement *element);

    GstElement *element() const { return m_element.get(); }
    const GUID &classId() const { return m_classId; }
    const QString &name() const { return m_name; }
    FilterGraphManager *graph() const { return m_graph; }
    virtual IBaseFilter *self() = 0;

    // Marks the element as the source of a device, so that its errors count as a lost device, and keeps the formats
    // the device says it offers: some sources answer "anything" until they run.
    static void markDeviceSource(GstElement *element, GstCaps *deviceCaps = nullptr);
    static bool isInDeviceSource(GstObject *object);
    static bool isDeviceSource(GstElement *element);
    // The formats the element's device offers, as listed; none when it is no device's or its device named none.
    static GstRef<GstCaps> deviceCapsOf(GstElement *element);

protected:
    FilterCore(GstRef<GstElement> element, const GUID &classId);
    virtual ~FilterCore();

    HRESULT enumPins(std::vector<RefPtr<IPin>> &pins);
    HRESULT setState(GstState state);
    HRESULT getState(std::uint32_t timeoutMs, FILTER_STATE &state);
    HRESULT queryFilterInfo(FILTER_INFO &info);
    HRESULT joinFilterGraph(IFilterGraph2 *graph, const QString &name);

private:
    GstRef<GstElement> m_element;
    GUID m_classId;
    QString m_name;
    FilterGraphManager *m_graph = nullptr; // the graph holds the filter, not the other way round
};

// A filter over an element, with the extra interfaces a kind of filter adds.
template <typename... Extra> class ElementFilterBase : public FrameworkObject<IBaseFilter, Extra...>, public FilterCore
{
public:
    HRESULT EnumPins(std::vector<RefPtr<IPin>> &pins) override { return enumPins(pins); }
    HRESULT Stop() override { return setState(GST_STATE_READY); }
    HRESULT Pause() override { return setState(GST_STATE_PAUSED); }
    HRESULT Run() override { return setState(GST_STATE_PLAYING); }
    HRESULT GetState(std::uint32_t timeoutMs, FILTER_STATE &state) override { return getState(timeoutMs, state); }
    HRESULT QueryFilterInfo(FILTER_INFO &info) override { return queryFilterInfo(info); }
    HRESULT GetClassID(GUID &clsid) override
    {
        clsid = classId();
        return S_OK;
    }
    HRESULT JoinFilterGraph(IFilterGraph2 *graph, const QString &name) override { return joinFilterGraph(graph, name); }
    IBaseFilter *self() override { return this; }

protected:
    ElementFilterBase(GstRef<GstElement> element, const GUID &classId)
        : FilterCore(std::move(element), classId)
    {
    }

    void *findInterface(const GUID &iid) override
    {
        if (iid == FilterCore::IID) {
            return static_cast<FilterCore *>(this);
        }
        return FrameworkObject<IBaseFilter, Extra...>::findInterface(iid);
    }
};

// A filter with no interface beyond IBaseFilter: device sources, decoders, converters, playback elements.
class ElementFilter final : public ElementFilterBase<>
{
public:
    ElementFilter(GstRef<GstElement> element, const GUID &classId)
        : ElementFilterBase(std::move(element), classId)
    {
    }

    // The filter of an element: the one made for it, or a new one.
    static RefPtr<IBaseFilter> wrap(GstElement *element);
};

// A pad of a filter's element.
class ElementPin final : public FrameworkObject<IPin>
{
public:
    static constexpr GUID IID { 0x5A0F6F62, 0x3C1B, 0x4C52, { 0x9A, 0x1D, 0x50, 0x49, 0x58, 0x4F, 0x4C, 0x4F } };

    ElementPin(RefPtr<IBaseFilter> filter, GstRef<GstPad> pad);

    // The pad behind one of the layer's pins, borrowed; none for anything else.
    static GstPad *padOf(IPin *pin);

    HRESULT Disconnect() override;
    HRESULT ConnectedTo(RefPtr<IPin> &peer) override;
    HRESULT QueryPinInfo(PIN_INFO &info) override;

private:
    void *findInterface(const GUID &iid) override;

    RefPtr<IBaseFilter> m_filter;
    GstRef<GstPad> m_pad;
};

// A state change's outcome: S_FALSE while it completes later, E_FAIL when it was refused.
HRESULT resultOfStateChange(GstStateChangeReturn change);

// The result of a failed GStreamer operation, from the error it posted.
HRESULT resultFromError(const GError *error, bool fromDeviceSource);

} // namespace pixolo
