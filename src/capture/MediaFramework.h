#pragma once

// The media framework layer: a small set of reference-counted interfaces over GStreamer that offers what the
// capture components rely on (device enumeration and monikers, a filter graph of filters and pins, the capture
// graph builder, media control and events, the sample grabber, the video renderer, basic audio, seeking and error
// texts). The components in this folder are written against these interfaces only; GStreamer stays behind them.
//
// Every object is created, called and released on the main thread, except where an operation says otherwise
// (the sample grabber's per-frame callback and the builder callbacks run on streaming threads).

#include "capture/Guid.h"

#include <QByteArray>
#include <QEvent>
#include <QImage>
#include <QRect>
#include <QString>

#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

class QObject;

namespace pixolo
{

// ---- Result codes -------------------------------------------------------------------------------------------------

// A 32-bit result: negative values are failures, 0 and positive values successes.
using HRESULT = std::int32_t;

constexpr HRESULT makeFailure(std::uint32_t code)
{
    return static_cast<HRESULT>(code);
}

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT S_STATE_INTERMEDIATE = 0x00040237; // a state change is still under way
inline constexpr HRESULT S_CANT_CUE = 0x00040268; // paused, but a live source sends nothing while paused
inline constexpr HRESULT S_DUPLICATE_NAME = 0x0004022D; // added under a changed name

inline constexpr HRESULT E_NOTIMPL = makeFailure(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = makeFailure(0x80004002);
inline constexpr HRESULT E_POINTER = makeFailure(0x80004003);
inline constexpr HRESULT E_ABORT = makeFailure(0x80004004);
inline constexpr HRESULT E_FAIL = makeFailure(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = makeFailure(0x8000FFFF);
inline constexpr HRESULT E_FILE_NOT_FOUND = makeFailure(0x80070002);
inline constexpr HRESULT E_ACCESSDENIED = makeFailure(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = makeFailure(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = makeFailure(0x80070057);
inline constexpr HRESULT E_CLASS_NOT_REGISTERED = makeFailure(0x80040154);
inline constexpr HRESULT E_INVALID_MEDIA_TYPE = makeFailure(0x80040200);
inline constexpr HRESULT E_NO_ACCEPTABLE_TYPES = makeFailure(0x80040207);
inline constexpr HRESULT E_NOT_CONNECTED = makeFailure(0x80040209);
inline constexpr HRESULT E_ALREADY_CONNECTED = makeFailure(0x8004020A);
inline constexpr HRESULT E_NOT_IN_GRAPH = makeFailure(0x8004020F);
inline constexpr HRESULT E_NOT_FOUND = makeFailure(0x80040216);
inline constexpr HRESULT E_CANNOT_CONNECT = makeFailure(0x80040217);
inline constexpr HRESULT E_CANNOT_RENDER = makeFailure(0x80040218);
inline constexpr HRESULT E_WRONG_STATE = makeFailure(0x80040227);
inline constexpr HRESULT E_TIMEOUT = makeFailure(0x8004022E);
inline constexpr HRESULT E_UNSUPPORTED_STREAM = makeFailure(0x80040265);
inline constexpr HRESULT E_DEVICE_LOST = makeFailure(0x8004027C);
inline constexpr HRESULT E_READ_FAILED = makeFailure(0x8004023C);
inline constexpr HRESULT E_NO_SAMPLE = makeFailure(0x8004026E);

constexpr bool Succeeded(HRESULT hr)
{
    return hr >= 0;
}

constexpr bool Failed(HRESULT hr)
{
    return hr < 0;
}

// The text of a result code, at most 255 characters; empty for a code the layer does not know.
QString AMGetErrorText(HRESULT hr);

// ---- Reference counting -------------------------------------------------------------------------------------------

// The root of every interface: identity by interface identifier, and a reference count.
class IInterface
{
public:
    static constexpr GUID IID { 0x00000000, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };

    // On success *object holds a new reference to the interface iid of the same object.
    virtual HRESULT QueryInterface(const GUID &iid, void **object) = 0;
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;

protected:
    ~IInterface() = default; // released, never deleted through an interface
};

// Holds one reference to an interface.
template <typename T> class RefPtr
{
public:
    RefPtr() = default;
    RefPtr(std::nullptr_t) { }
    // Takes a reference of its own to a borrowed pointer.
    explicit RefPtr(T *object)
        : m_object(object)
    {
        if (m_object) {
            m_object->AddRef();
        }
    }
    // Takes over a reference the caller already owns (an out parameter, a fresh object).
    static RefPtr adopt(T *object)
    {
        RefPtr ref;
        ref.m_object = object;
        return ref;
    }
    RefPtr(const RefPtr &other)
        : RefPtr(other.m_object)
    {
    }
    RefPtr(RefPtr &&other) noexcept
        : m_object(std::exchange(other.m_object, nullptr))
    {
    }
    template <typename U>
    RefPtr(const RefPtr<U> &other) // upcasts only
        : RefPtr(implicitUpcast(other.get()))
    {
    }
    RefPtr &operator=(RefPtr other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~RefPtr() { reset(); }

    void reset()
    {
        if (T *object = std::exchange(m_object, nullptr)) {
            object->Release();
        }
    }
    T *release() { return std::exchange(m_object, nullptr); }
    T *get() const { return m_object; }
    T *operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    bool operator==(const RefPtr &other) const { return m_object == other.m_object; }
    bool operator==(std::nullptr_t) const { return m_object == nullptr; }

    // For an out parameter of a call that hands over a reference: releases what is held first.
    void **putVoid()
    {
        reset();
        return reinterpret_cast<void **>(&m_object);
    }

private:
    static T *implicitUpcast(T *object) { return object; }

    T *m_object = nullptr;
};

// The interface T of an object, or nothing when the object is none or does not have it.
template <typename T, typename Object> RefPtr<T> queryInterface(Object *object)
{
    RefPtr<T> result;
    if (object && Failed(object->QueryInterface(T::IID, result.putVoid()))) {
        result.reset();
    }
    return result;
}

template <typename T, typename Object> RefPtr<T> queryInterface(const RefPtr<Object> &object)
{
    return queryInterface<T>(object.get());
}

// QueryInterface of a component (an object its owner keeps, not reference counted): its own interfaces first (the
// first of them also answers IInterface), then, when there is one, the framework object it stands for.
template <typename... Own>
HRESULT componentQueryInterface(const GUID &iid, void **object, IInterface *inner, Own *...own)
{
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    bool first = true;
    const auto offer = [&](auto *candidate) {
        using Candidate = std::remove_pointer_t<decltype(candidate)>;
        const bool root = std::exchange(first, false) && iid == IInterface::IID;
        if (!*object && (root || iid == Candidate::IID)) {
            *object = root ? static_cast<void *>(static_cast<IInterface *>(candidate)) : static_cast<void *>(candidate);
        }
    };
    (offer(own), ...);
    if (*object) {
        return S_OK;
    }
    return inner ? inner->QueryInterface(iid, object) : E_NOINTERFACE;
}

// ---- Identifiers --------------------------------------------------------------------------------------------------

inline constexpr GUID MEDIATYPE_Video { 0x73646976, 0x0000, 0x0010,
    { 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 } };
inline constexpr GUID MEDIATYPE_Audio { 0x73647561, 0x0000, 0x0010,
    { 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 } };
inline constexpr GUID MEDIASUBTYPE_RGB24 { 0xE436EB7D, 0x524F, 0x11CE,
    { 0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
inline constexpr GUID MEDIASUBTYPE_RGB32 { 0xE436EB7E, 0x524F, 0x11CE,
    { 0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
inline constexpr GUID MEDIASUBTYPE_YUY2 { 0x32595559, 0x0000, 0x0010,
    { 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 } };
inline constexpr GUID MEDIASUBTYPE_MJPG { 0x47504A4D, 0x0000, 0x0010,
    { 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 } };
inline constexpr GUID FORMAT_VideoInfo { 0x05589F80, 0xC356, 0x11CE,
    { 0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A } };
inline constexpr GUID FORMAT_VideoInfo2 { 0xF72A76A0, 0xEB0A, 0x11D0,
    { 0xAC, 0xE4, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA } };
inline constexpr GUID PIN_CATEGORY_CAPTURE { 0xFB6C4281, 0x0353, 0x11D1,
    { 0x90, 0x5F, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA } };
inline constexpr GUID PIN_CATEGORY_PREVIEW { 0xFB6C4282, 0x0353, 0x11D1,
    { 0x90, 0x5F, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA } };
inline constexpr GUID CLSID_VideoInputDeviceCategory { 0x860BB310, 0x5D01, 0x11D0,
    { 0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86 } };
inline constexpr GUID CLSID_AudioInputDeviceCategory { 0x33D9A762, 0x90C8, 0x11D0,
    { 0xBD, 0x43, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86 } };

// Classes of the objects CreateFrameworkObject makes.
inline constexpr GUID CLSID_SystemDeviceEnum { 0x62BE5D10, 0x60EB, 0x11D0,
    { 0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86 } };
inline constexpr GUID CLSID_FilterGraph { 0xE436EBB3, 0x524F, 0x11CE,
    { 0x9F, 0x53, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
inline constexpr GUID CLSID_CaptureGraphBuilder2 { 0xBF87B6E1, 0x8C27, 0x11D0,
    { 0xB3, 0xF0, 0x00, 0xAA, 0x00, 0x37, 0x61, 0xC5 } };
inline constexpr GUID CLSID_SampleGrabber { 0xC1F400A0, 0x3F08, 0x11D3,
    { 0x9F, 0x0B, 0x00, 0x60, 0x08, 0x03, 0x9E, 0x37 } };
inline constexpr GUID CLSID_VideoRenderer { 0x70E102B0, 0x5556, 0x11CE,
    { 0x97, 0xC0, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A } };
// Listed so that asking for it has a definite answer: this layer has no mixing renderer and no DVD builder.
inline constexpr GUID CLSID_VideoMixingRenderer9 { 0x51B4ABF3, 0x748F, 0x4E3B,
    { 0xA2, 0x76, 0xC8, 0x28, 0x33, 0x0E, 0x92, 0x6A } };
inline constexpr GUID CLSID_DvdGraphBuilder { 0xFCC152B7, 0xF372, 0x11D0,
    { 0x8E, 0x00, 0x00, 0xC0, 0x4F, 0xD7, 0xC0, 0x8B } };
// The class of a device source filter (whatever element the device makes).
inline constexpr GUID CLSID_DeviceSource { 0x5A0F6F5E, 0x3C1B, 0x4C52,
    { 0x9A, 0x1D, 0x50, 0x49, 0x58, 0x4F, 0x4C, 0x4F } };
// The class identifier that begins a saved device moniker.
inline constexpr GUID CLSID_DeviceMoniker { 0x5A0F6F60, 0x3C1B, 0x4C52,
    { 0x9A, 0x1D, 0x50, 0x49, 0x58, 0x4F, 0x4C, 0x4F } };

// The class of a filter over an element of the named GStreamer factory (decoders, converters, playback elements):
// a name-based identifier, the same in every run.
GUID ElementClassId(const char *factoryName);

// ---- Media types --------------------------------------------------------------------------------------------------

// One media type. The format block is owned by the record (pbFormat); cbFormat() is its size.
struct AM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    std::int32_t bFixedSizeSamples = 0; // 32-bit Boolean: true is all bits set
    std::int32_t bTemporalCompression = 0;
    std::uint32_t lSampleSize = 0;
    GUID formattype;
    RefPtr<IInterface> pUnk;
    QByteArray pbFormat;

    std::uint32_t cbFormat() const { return std::uint32_t(pbFormat.size()); }
};

// The image header of a video format block (40 bytes, little-endian).
struct BITMAPINFOHEADER {
    std::uint32_t biSize = 40;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0; // positive: rows bottom-up; negative: rows top-down
    std::uint16_t biPlanes = 1;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;

    static constexpr int byteSize = 40;
    static BITMAPINFOHEADER readFrom(const unsigned char *in);
    void writeTo(unsigned char *out) const;
};

// Offsets of the image header in the two video format blocks, and the blocks' sizes.
inline constexpr int VideoInfoHeaderSize = 88;
inline constexpr int VideoInfoHeaderImageOffset = 48;
inline constexpr int VideoInfoHeader2Size = 112;
inline constexpr int VideoInfoHeader2ImageOffset = 72;

// A FORMAT_VideoInfo block (source and target rectangles empty) around the header, with the frame duration in
// units of 100 ns.
QByteArray makeVideoInfoFormat(const BITMAPINFOHEADER &header, std::int64_t avgTimePerFrame);

// ---- Devices ------------------------------------------------------------------------------------------------------

class IBaseFilter;

// Named text values of a device: "FriendlyName", "CLSID" (a braced GUID text, when the device has one) and
// "DevicePath".
class IPropertyBag : public IInterface
{
public:
    static constexpr GUID IID { 0x55272A00, 0x42CB, 0x11CE, { 0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51 } };
    // E_INVALIDARG when the device has no such value.
    virtual HRESULT Read(const QString &name, QString &value) = 0;
};

// Names one device; binds to its property bag and to a new source filter for it.
class IMoniker : public IInterface
{
public:
    static constexpr GUID IID { 0x0000000F, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };
    virtual HRESULT BindToStorage(RefPtr<IPropertyBag> &bag) = 0;
    // A new filter object each time; E_NOT_FOUND when the device is no longer present.
    virtual HRESULT BindToObject(RefPtr<IBaseFilter> &filter) = 0;
    // Appends the moniker's class identifier and its persistent data.
    virtual HRESULT Save(QByteArray &stream) = 0;
};

// Writes a moniker as its class identifier followed by its own data, and reads one back. Reading fails with
// E_INVALIDARG for bytes that do not hold a complete moniker of a known class, and leaves `moniker` empty.
HRESULT SaveMonikerToStream(IMoniker *moniker, QByteArray &stream);
HRESULT LoadMonikerFromStream(const QByteArray &stream, RefPtr<IMoniker> &moniker);

class IEnumMoniker : public IInterface
{
public:
    static constexpr GUID IID { 0x00000102, 0x0000, 0x0000, { 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 } };
    // S_OK with the next moniker, S_FALSE (and none) at the end.
    virtual HRESULT Next(RefPtr<IMoniker> &moniker) = 0;
    // S_FALSE when fewer than count were left.
    virtual HRESULT Skip(std::uint32_t count) = 0;
    virtual HRESULT Reset() = 0;
};

// The system device enumerator (CLSID_SystemDeviceEnum).
class ICreateDevEnum : public IInterface
{
public:
    static constexpr GUID IID { 0x29840822, 0x5B84, 0x11D0, { 0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86 } };
    // S_OK with an enumerator over the category's devices in the system's order, duplicates dropped; S_FALSE and
    // none when the category is empty or unknown.
    virtual HRESULT CreateClassEnumerator(const GUID &category, RefPtr<IEnumMoniker> &enumerator, std::uint32_t flags)
        = 0;
};

// ---- Filters and pins ---------------------------------------------------------------------------------------------

class IFilterGraph2;

enum PIN_DIRECTION : int { PINDIR_INPUT, PINDIR_OUTPUT };
enum FILTER_STATE : int { State_Stopped, State_Paused, State_Running };

class IPin;

struct PIN_INFO {
    RefPtr<IBaseFilter> pFilter;
    PIN_DIRECTION dir = PINDIR_INPUT;
    QString achName;
};

struct FILTER_INFO {
    QString achName;
    RefPtr<IFilterGraph2> pGraph; // none when the filter is in no graph
};

class IPin : public IInterface
{
public:
    static constexpr GUID IID { 0x56A86891, 0x0AD4, 0x11CE, { 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
    // S_FALSE when the pin was not connected.
    virtual HRESULT Disconnect() = 0;
    // E_NOT_CONNECTED when the pin is not connected.
    virtual HRESULT ConnectedTo(RefPtr<IPin> &peer) = 0;
    virtual HRESULT QueryPinInfo(PIN_INFO &info) = 0;
};

class IBaseFilter : public IInterface
{
public:
    static constexpr GUID IID { 0x56A86895, 0x0AD4, 0x11CE, { 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
    // Input pins first, then output pins, each in the element's order.
    virtual HRESULT EnumPins(std::vector<RefPtr<IPin>> &pins) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Run() = 0;
    // With a time-out of 0 the current state at once: S_OK, S_STATE_INTERMEDIATE while a change is under way,
    // S_CANT_CUE for a paused live source.
    virtual HRESULT GetState(std::uint32_t timeoutMs, FILTER_STATE &state) = 0;
    virtual HRESULT QueryFilterInfo(FILTER_INFO &info) = 0;
    virtual HRESULT GetClassID(GUID &clsid) = 0;
    // Called by the graph when the filter is added (graph and name) or removed (none and empty).
    virtual HRESULT JoinFilterGraph(IFilterGraph2 *graph, const QString &name) = 0;
};

// ---- The filter graph ---------------------------------------------------------------------------------------------

class IFilterGraph2 : public IInterface
{
public:
    static constexpr GUID IID { 0x36B73882, 0xC2C8, 0x11CF, { 0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60 } };
    // The name is the filter's name in the graph; a name already taken gets " 0001", " 0002"… appended.
    virtual HRESULT AddFilter(IBaseFilter *filter, const QString &name) = 0;
    virtual HRESULT RemoveFilter(IBaseFilter *filter) = 0;
    // Every filter of the graph, in the order they were added.
    virtual HRESULT EnumFilters(std::vector<RefPtr<IBaseFilter>> &filters) = 0;
    // Builds an audio playback chain for the file. Fails at once, leaving the graph as it was, for a missing
    // (E_FILE_NOT_FOUND), unreadable (E_ACCESSDENIED) or unplayable (E_UNSUPPORTED_STREAM, E_CANNOT_RENDER) file.
    virtual HRESULT RenderFile(const QString &fileName) = 0;
    // A file descriptor that receives one line for each filter added, removed or connected; -1 stops logging.
    // The caller keeps the descriptor open until it sets another one.
    virtual HRESULT SetLogFile(int fileDescriptor) = 0;
};

class IMediaControl : public IInterface
{
public:
    static constexpr GUID IID { 0x56A868B1, 0x0AD4, 0x11CE, { 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
    // S_OK when running, S_FALSE when the change completes later.
    virtual HRESULT Run() = 0;
    virtual HRESULT Pause() = 0;
    virtual HRESULT Stop() = 0;
};

// Graph events. Parameters are integers; the layer sends none that need freeing.
inline constexpr int EC_COMPLETE = 1;
inline constexpr int EC_USERABORT = 2;
inline constexpr int EC_ERRORABORT = 3;
inline constexpr int EC_STREAM_ERROR_STOPPED = 6;
inline constexpr int EC_STREAM_ERROR_STILLPLAYING = 7;
inline constexpr int EC_ERROR_STILLPLAYING = 8;
inline constexpr int EC_PALETTE_CHANGED = 9;
inline constexpr int EC_VIDEO_SIZE_CHANGED = 10;
inline constexpr int EC_QUALITY_CHANGE = 11;
inline constexpr int EC_CLOCK_CHANGED = 13;
inline constexpr int EC_PAUSED = 14;
inline constexpr int EC_OPENING_FILE = 16;
inline constexpr int EC_BUFFERING_DATA = 17;
inline constexpr int EC_FULLSCREEN_LOST = 18;
inline constexpr int EC_OLE_EVENT = 24;
inline constexpr int EC_STREAM_CONTROL_STOPPED = 26;
inline constexpr int EC_STREAM_CONTROL_STARTED = 27;
inline constexpr int EC_END_OF_SEGMENT = 28;
inline constexpr int EC_DEVICE_LOST = 31;
inline constexpr int EC_STEP_COMPLETE = 36;
inline constexpr int EC_TIMECODE_AVAILABLE = 48;
inline constexpr int EC_EXTDEVICE_MODE_CHANGE = 49;
inline constexpr int EC_GRAPH_CHANGED = 80;
inline constexpr int EC_CLOCK_UNSET = 81;
inline constexpr int EC_VMR_RENDERDEVICE_SET = 83;
inline constexpr int EC_DVD_FIRST = 257;
inline constexpr int EC_DVD_LAST = 283;
inline constexpr int EC_SNDDEV_IN_ERROR = 512;
inline constexpr int EC_SNDDEV_OUT_ERROR = 513;

// SetNotifyFlags value that stops notifications and queueing.
inline constexpr int AM_MEDIAEVENT_NONOTIFY = 1;

// The graph's event queue. The layer posts a GraphNotifyEvent to the receiver when events wait; several waiting
// events may share one notification, so the receiver drains with GetEvent until it fails.
class IMediaEventEx : public IInterface
{
public:
    static constexpr GUID IID { 0x56A868C0, 0x0AD4, 0x11CE, { 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
    // eventType is the QEvent type to post; instance is handed back in the event. A null receiver stops posting.
    virtual HRESULT SetNotifyWindow(QObject *receiver, int eventType, std::intptr_t instance) = 0;
    virtual HRESULT SetNotifyFlags(int flags) = 0;
    // S_OK with the oldest event; E_ABORT when none waits (only a time-out of 0 is supported).
    virtual HRESULT GetEvent(int &code, std::intptr_t &param1, std::intptr_t &param2, int timeoutMs) = 0;
    virtual HRESULT FreeEventParams(int code, std::intptr_t param1, std::intptr_t param2) = 0;
};

class IObjectWithSite : public IInterface
{
public:
    static constexpr GUID IID { 0xFC4801A3, 0x2BA9, 0x11CF, { 0xA2, 0x29, 0x00, 0xAA, 0x00, 0x3D, 0x73, 0x52 } };
    // The graph keeps a reference to the site and asks it for the builder callbacks; none clears it.
    virtual HRESULT SetSite(IInterface *site) = 0;
};

class IServiceProvider : public IInterface
{
public:
    static constexpr GUID IID { 0x6D5140C1, 0x7436, 0x11CE, { 0x80, 0x34, 0x00, 0xAA, 0x00, 0x60, 0x09, 0xFA } };
    virtual HRESULT QueryService(const GUID &service, const GUID &iid, void **object) = 0;
};

// Called while the graph builds a chain, on whatever thread builds it.
class IAMGraphBuilderCallback : public IInterface
{
public:
    static constexpr GUID IID { 0x4995F511, 0x9DDB, 0x4F12, { 0xBD, 0x3B, 0xF0, 0x46, 0x11, 0x80, 0x7B, 0x79 } };
    // A filter about to be used; the moniker's bag holds its "FriendlyName" and "CLSID". E_FAIL skips it.
    virtual HRESULT SelectedFilter(IMoniker *moniker) = 0;
    // A filter just created; E_FAIL refuses it.
    virtual HRESULT CreatedFilter(IBaseFilter *filter) = 0;
};

class IAMFilterGraphCallback : public IInterface
{
public:
    static constexpr GUID IID { 0x56A868FD, 0x0AD4, 0x11CE, { 0xB0, 0xA3, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
    // A stream that cannot be decoded; S_OK when the callee dealt with it, S_FALSE otherwise.
    virtual HRESULT UnableToRender(IPin *pin) = 0;
};

class ICaptureGraphBuilder2 : public IInterface
{
public:
    static constexpr GUID IID { 0x93E5A4E0, 0x2D50, 0x11D2, { 0xAB, 0xFA, 0x00, 0xA0, 0xC9, 0xC6, 0xE3, 0x8D } };
    virtual HRESULT SetFiltergraph(IFilterGraph2 *graph) = 0;
    virtual HRESULT GetFiltergraph(RefPtr<IFilterGraph2> &graph) = 0;
    // Connects an output pin of the source (of the category and media type, when given) through the
    // intermediate filter (if any) to the sink (if any), adding decoders and converters to the graph as needed.
    // The intermediate filter receives the source's full resolution: nothing scales before it.
    virtual HRESULT RenderStream(
        const GUID *category, const GUID *mediaType, IInterface *source, IBaseFilter *intermediate, IBaseFilter *sink)
        = 0;
};

class IBasicAudio : public IInterface
{
public:
    static constexpr GUID IID { 0x56A868B3, 0x0AD4, 0x11CE, { 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
    // Hundredths of a decibel: 0 is full volume, -10000 silence. E_NOTIMPL while the graph holds no audio chain
    // (the value is kept and reaches the next chain).
    virtual HRESULT put_Volume(std::int32_t volume) = 0;
    virtual HRESULT get_Volume(std::int32_t &volume) = 0;
    // Hundredths of a decibel of attenuation: positive values turn the left channel down, negative the right.
    virtual HRESULT put_Balance(std::int32_t balance) = 0;
    virtual HRESULT get_Balance(std::int32_t &balance) = 0;
};

class IMediaSeeking : public IInterface
{
public:
    static constexpr GUID IID { 0x36B73880, 0xC2C8, 0x11CF, { 0x8B, 0x46, 0x00, 0x80, 0x5F, 0x6C, 0xEF, 0x60 } };
    // E_INVALIDARG for a rate of 0.
    virtual HRESULT SetRate(double rate) = 0;
    virtual HRESULT GetRate(double &rate) = 0;
    // Moves the playback to `position` (100-nanosecond units from the start); a graph at its end plays again from
    // there. E_UNEXPECTED while nothing is rendered.
    virtual HRESULT SetPositions(std::int64_t position) = 0;
    // The length of what is rendered, in 100-nanosecond units; E_UNEXPECTED while nothing is rendered.
    virtual HRESULT GetDuration(std::int64_t &duration) = 0;
};

// ---- The sample grabber -------------------------------------------------------------------------------------------

class ISampleGrabberCB : public IInterface
{
public:
    static constexpr GUID IID { 0x0579154A, 0x2B53, 0x4994, { 0xB0, 0xD0, 0xE7, 0x73, 0x14, 0x8E, 0xFF, 0x85 } };
    // Called on a streaming thread for every frame; the buffer is valid only during the call.
    virtual HRESULT BufferCB(double sampleTime, unsigned char *buffer, std::int32_t length) = 0;
};

class ISampleGrabber : public IInterface
{
public:
    static constexpr GUID IID { 0x6B652FFF, 0x11FE, 0x4FCE, { 0x92, 0xAD, 0x02, 0x66, 0xB5, 0xD7, 0xC7, 0x8F } };
    // The type the grabber gives: video with subtype RGB24, RGB32 or YUY2 (or any raw video, as it comes, when the
    // subtype is null). Its input takes raw video of any pixel format (and the size, when the type gives one); frames
    // are converted to the type only when they are copied out. Takes effect at the next connection.
    virtual HRESULT SetMediaType(const AM_MEDIA_TYPE &type) = 0;
    // The type frames are copied out in (the input connection's size, the promised format), with a FORMAT_VideoInfo
    // block whose header is top-down (negative height); E_NOT_CONNECTED before the connection has a type.
    virtual HRESULT GetConnectedMediaType(AM_MEDIA_TYPE &type) = 0;
    virtual HRESULT SetBufferSamples(bool bufferThem) = 0;
    // Without a buffer: *size becomes the size of the latest frame in image layout (rows padded to four bytes).
    // With a buffer of *size bytes: copies that many bytes of the frame at most. E_NO_SAMPLE before the first
    // frame, E_INVALIDARG when samples are not kept.
    virtual HRESULT GetCurrentBuffer(std::int32_t *size, unsigned char *buffer) = 0;
    // Only callback kind 1 (BufferCB) exists; none removes the callback. The callback sees each frame in the format
    // the media type promises, converted for it: set one only when it is needed.
    virtual HRESULT SetCallback(ISampleGrabberCB *callback, int whichMethod) = 0;
    // When the latest frame arrived, in milliseconds of the monotonic clock; E_NO_SAMPLE before the first one.
    virtual HRESULT GetCurrentSampleTime(std::int64_t &monotonicMs) = 0;
};

// ---- The video renderer -------------------------------------------------------------------------------------------

// The video renderer has no window of its own: it hands frames to its owner, which paints them into the rectangle
// given by SetWindowPosition. When a new frame arrives the renderer posts one VideoFrameEvent to the owner; it posts
// the next one only after the owner has taken a frame with CurrentFrame, so a busy owner never falls behind.
class IVideoWindow : public IInterface
{
public:
    static constexpr GUID IID { 0x56A868B4, 0x0AD4, 0x11CE, { 0xB0, 0x3A, 0x00, 0x20, 0xAF, 0x0B, 0xA7, 0x70 } };
    virtual HRESULT put_Owner(QObject *owner) = 0;
    virtual HRESULT get_Owner(QObject *&owner) = 0;
    virtual HRESULT put_Caption(const QString &caption) = 0;
    virtual HRESULT get_Caption(QString &caption) = 0;
    virtual HRESULT put_Visible(bool visible) = 0;
    virtual HRESULT get_Visible(bool &visible) = 0;
    virtual HRESULT SetWindowPosition(int left, int top, int width, int height) = 0;
    virtual HRESULT GetWindowPosition(QRect &rect) = 0;
    // The latest frame (sharing the renderer's buffer, no copy); E_NO_SAMPLE before the first one.
    virtual HRESULT CurrentFrame(QImage &frame) = 0;
};

// ---- Creation and settings ----------------------------------------------------------------------------------------

// Makes a new object of the class and returns its interface iid: E_CLASS_NOT_REGISTERED for a class the layer
// cannot make, E_NOINTERFACE when the object lacks the interface.
HRESULT CreateFrameworkObject(const GUID &clsid, const GUID &iid, void **object);

template <typename T> RefPtr<T> createFrameworkObject(const GUID &clsid)
{
    RefPtr<T> result;
    if (Failed(CreateFrameworkObject(clsid, T::IID, result.putVoid()))) {
        result.reset();
    }
    return result;
}

// Publishes a graph for inspection under a name: while registered, the graph is written as a Graphviz file
// "<name>.dot" into the folder named by the environment variable GST_DEBUG_DUMP_DOT_DIR (when it is set), and
// rewritten whenever it changes. The registration holds a reference to the graph until it is revoked; revoking
// removes the file.
HRESULT RegisterGraphForInspection(IInterface *graph, const QString &name, std::uint32_t &cookie);
HRESULT RevokeGraphInspection(std::uint32_t cookie);

// The audio sink of playback chains, as a GStreamer launch description; "autoaudiosink" unless set. Tests set
// "fakesink sync=true" so that a chain plays in real time without a sound card. Applies to chains built later.
void SetAudioSinkDescription(const QByteArray &description);
QByteArray AudioSinkDescription();

// Posted to the receiver given to IMediaEventEx::SetNotifyWindow, with the type and instance given there.
class GraphNotifyEvent final : public QEvent
{
public:
    GraphNotifyEvent(Type type, std::intptr_t instance)
        : QEvent(type)
        , m_instance(instance)
    {
    }
    std::intptr_t instance() const { return m_instance; }

private:
    std::intptr_t m_instance;
};

// The type of the plain QEvent the video renderer posts to its owner when a new frame waits.
QEvent::Type VideoFrameEventType();

} // namespace pixolo
