#include "capture/MediaFramework.h"

#include "capture/CaptureGraphBuilder.h"
#include "capture/DeviceMoniker.h"
#include "capture/FilterGraphManager.h"
#include "capture/SampleGrabberFilter.h"
#include "capture/VideoRendererFilter.h"

#include <QMutex>
#include <QUuid>
#include <QtEndian>

#include <gst/gst.h>

namespace pixolo
{

namespace
{

struct ErrorText {
    HRESULT code;
    const char *text;
};

constexpr ErrorText errorTexts[] = {
    { S_OK, "Success." },
    { S_FALSE, "The operation succeeded but did not complete at once." },
    { S_STATE_INTERMEDIATE, "The state change is still under way." },
    { S_CANT_CUE, "The graph is paused, but a live source sends no data while paused." },
    { S_DUPLICATE_NAME, "The filter was added under a changed name, because the name was already in use." },
    { E_NOTIMPL, "Not implemented." },
    { E_NOINTERFACE, "No such interface supported." },
    { E_POINTER, "Invalid pointer." },
    { E_ABORT, "Operation aborted." },
    { E_FAIL, "Unspecified error." },
    { E_UNEXPECTED, "Catastrophic failure." },
    { E_FILE_NOT_FOUND, "The system cannot find the file specified." },
    { E_ACCESSDENIED, "Access is denied." },
    { E_OUTOFMEMORY, "Not enough storage is available to complete this operation." },
    { E_INVALIDARG, "The parameter is incorrect." },
    { E_CLASS_NOT_REGISTERED, "Class not registered." },
    { E_INVALID_MEDIA_TYPE, "An invalid media type was specified." },
    { E_NO_ACCEPTABLE_TYPES, "There is no common media type between these pins." },
    { E_NOT_CONNECTED, "The operation cannot be performed because the pins are not connected." },
    { E_ALREADY_CONNECTED, "The operation cannot be performed because the pins are already connected." },
    { E_NOT_IN_GRAPH, "Cannot perform the requested function on an object that is not in the filter graph." },
    { E_NOT_FOUND, "An object or name was not found." },
    { E_CANNOT_CONNECT, "No combination of intermediate filters could be found to make the connection." },
    { E_CANNOT_RENDER, "No combination of filters could be found to render the stream." },
    { E_WRONG_STATE, "The operation could not be performed because the filter is in the wrong state." },
    { E_TIMEOUT, "A time-out has expired." },
    { E_UNSUPPORTED_STREAM, "Cannot play back the file. The format is not supported." },
    { E_DEVICE_LOST, "The capture device was removed or stopped responding." },
    { E_READ_FAILED, "The source could not be read." },
    { E_NO_SAMPLE, "No sample has been buffered yet." },
};

QMutex audioSinkLock;
QByteArray &audioSink()
{
    static QByteArray description = QByteArrayLiteral("autoaudiosink");
    return description;
}

void ensureInitialised()
{
    // Not skipped when gst_is_initialized() says so: that flag is up while another thread's start is still loading
    // the plugins, and gst_init() waits for that start to end.
    gst_init(nullptr, nullptr);
}

template <typename T> HRESULT handOut(const RefPtr<T> &object, const GUID &iid, void **result)
{
    return object ? object->QueryInterface(iid, result) : E_CLASS_NOT_REGISTERED;
}

} // namespace

QString AMGetErrorText(HRESULT hr)
{
    for (const ErrorText &entry : errorTexts) {
        if (entry.code == hr) {
            return QString::fromLatin1(entry.text).left(255);
        }
    }
    return {};
}

GUID ElementClassId(const char *factoryName)
{
    // Name-based (version 5) identifiers in a namespace of our own: the same factory always gives the same class.
    static const QUuid space(0x5a0f6f64, 0x3c1b, 0x4c52, 0x9a, 0x1d, 0x50, 0x49, 0x58, 0x4f, 0x4c, 0x4f);
    const QUuid uuid = QUuid::createUuidV5(space, QByteArray(factoryName));
    GUID guid;
    guid.Data1 = uuid.data1;
    guid.Data2 = uuid.data2;
    guid.Data3 = uuid.data3;
    for (size_t i = 0; i < guid.Data4.size(); ++i) {
        guid.Data4[i] = uuid.data4[i];
    }
    return guid;
}

BITMAPINFOHEADER BITMAPINFOHEADER::readFrom(const unsigned char *in)
{
    BITMAPINFOHEADER header;
    header.biSize = qFromLittleEndian<std::uint32_t>(in);
    header.biWidth = qFromLittleEndian<std::int32_t>(in + 4);
    header.biHeight = qFromLittleEndian<std::int32_t>(in + 8);
    header.biPlanes = qFromLittleEndian<std::uint16_t>(in + 12);
    header.biBitCount = qFromLittleEndian<std::uint16_t>(in + 14);
    header.biCompression = qFromLittleEndian<std::uint32_t>(in + 16);
    header.biSizeImage = qFromLittleEndian<std::uint32_t>(in + 20);
    header.biXPelsPerMeter = qFromLittleEndian<std::int32_t>(in + 24);
    header.biYPelsPerMeter = qFromLittleEndian<std::int32_t>(in + 28);
    header.biClrUsed = qFromLittleEndian<std::uint32_t>(in + 32);
    header.biClrImportant = qFromLittleEndian<std::uint32_t>(in + 36);
    return header;
}

void BITMAPINFOHEADER::writeTo(unsigned char *out) const
{
    qToLittleEndian(biSize, out);
    qToLittleEndian(biWidth, out + 4);
    qToLittleEndian(biHeight, out + 8);
    qToLittleEndian(biPlanes, out + 12);
    qToLittleEndian(biBitCount, out + 14);
    qToLittleEndian(biCompression, out + 16);
    qToLittleEndian(biSizeImage, out + 20);
    qToLittleEndian(biXPelsPerMeter, out + 24);
    qToLittleEndian(biYPelsPerMeter, out + 28);
    qToLittleEndian(biClrUsed, out + 32);
    qToLittleEndian(biClrImportant, out + 36);
}

QByteArray makeVideoInfoFormat(const BITMAPINFOHEADER &header, std::int64_t avgTimePerFrame)
{
    // rcSource and rcTarget (16 bytes each), dwBitRate, dwBitErrorRate, AvgTimePerFrame, then the header.
    QByteArray block(VideoInfoHeaderSize, '\0');
    auto *bytes = reinterpret_cast<unsigned char *>(block.data());
    qToLittleEndian(avgTimePerFrame, bytes + 40);
    header.writeTo(bytes + VideoInfoHeaderImageOffset);
    return block;
}

HRESULT CreateFrameworkObject(const GUID &clsid, const GUID &iid, void **object)
{
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    ensureInitialised();
    if (clsid == CLSID_SystemDeviceEnum) {
        return handOut(makeObject<SystemDeviceEnum>(), iid, object);
    }
    if (clsid == CLSID_FilterGraph) {
        return handOut(makeObject<FilterGraphManager>(), iid, object);
    }
    if (clsid == CLSID_CaptureGraphBuilder2) {
        return handOut(makeObject<CaptureGraphBuilder>(), iid, object);
    }
    if (clsid == CLSID_SampleGrabber) {
        return handOut(SampleGrabberFilter::create(), iid, object);
    }
    if (clsid == CLSID_VideoRenderer) {
        return handOut(VideoRendererFilter::create(), iid, object);
    }
    return E_CLASS_NOT_REGISTERED;
}

void SetAudioSinkDescription(const QByteArray &description)
{
    const QMutexLocker lock(&audioSinkLock);
    audioSink() = description;
}

QByteArray AudioSinkDescription()
{
    const QMutexLocker lock(&audioSinkLock);
    return audioSink();
}

} // namespace pixolo
