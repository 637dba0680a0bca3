#include "capture/TSampleGrabber.h"

#include "platform/TBitmap.h"

#include <algorithm>
#include <chrono>
#include <cstring>

namespace pixolo
{

namespace
{

// The image header inside a video format block, when the block is one of the two known layouts.
std::optional<BITMAPINFOHEADER> imageHeader(const AM_MEDIA_TYPE &type)
{
    int offset = -1;
    if (type.formattype == FORMAT_VideoInfo && type.cbFormat() == VideoInfoHeaderSize) {
        offset = VideoInfoHeaderImageOffset;
    } else if (type.formattype == FORMAT_VideoInfo2 && type.cbFormat() == VideoInfoHeader2Size) {
        offset = VideoInfoHeader2ImageOffset;
    } else {
        return std::nullopt;
    }
    return BITMAPINFOHEADER::readFrom(reinterpret_cast<const unsigned char *>(type.pbFormat.constData()) + offset);
}

// An uncompressed picture of the header's size and depth, rows four-byte aligned as the header's layout wants;
// a null image for a header that does not describe one.
QImage imageFor(const BITMAPINFOHEADER &header, TPixelFormat &pixelFormat)
{
    constexpr std::uint32_t uncompressed = 0;
    if (header.biCompression != uncompressed || header.biWidth <= 0 || header.biHeight == 0) {
        return {};
    }
    QImage::Format format = QImage::Format_Invalid;
    switch (header.biBitCount) {
    case 16:
    case 15:
        format = QImage::Format_RGB555;
        pixelFormat = pf15bit;
        break;
    case 24:
        format = QImage::Format_BGR888;
        pixelFormat = pf24bit;
        break;
    case 32:
        format = QImage::Format_RGB32;
        pixelFormat = pf32bit;
        break;
    default:
        return {};
    }
    return QImage(header.biWidth, std::abs(header.biHeight), format);
}

} // namespace

TSampleGrabber::TSampleGrabber(QObject *owner)
    : QObject(owner)
{
    if (!createFrameworkObject<IBaseFilter>(CLSID_SampleGrabber)) {
        throw EAssertionFailed("The SampleGrabber Filter is not available on this system. (GStreamer's capsfilter "
                               "element could not be made.)");
    }
    m_mediaType = std::make_unique<TMediaType>(MEDIATYPE_Video);
    m_mediaType->SetSubType(MEDIASUBTYPE_RGB24);
    m_mediaType->SetFormatType(FORMAT_VideoInfo);
}

TSampleGrabber::~TSampleGrabber()
{
    SetFilterGraph(nullptr);
}

void TSampleGrabber::SetFilterGraph(TFilterGraph *graph)
{
    moveToGraph(m_filterGraph, graph, this);
}

void TSampleGrabber::NotifyClient(TClientOperation operation, int)
{
    switch (operation) {
    case opBeforeAdd:
        m_filter = createFrameworkObject<IBaseFilter>(CLSID_SampleGrabber);
        break;
    case opAfterAdd: {
        m_grabber = queryInterface<ISampleGrabber>(m_filter);
        if (!m_grabber) {
            break;
        }
        std::vector<RefPtr<IPin>> pins;
        m_filter->EnumPins(pins);
        m_inputPin = pins.size() > 0 ? pins[0] : RefPtr<IPin>();
        m_outputPin = pins.size() > 1 ? pins[1] : RefPtr<IPin>();
        UpdateMediaType();
        m_grabber->SetBufferSamples(true);
        if (OnBuffer) {
            m_grabber->SetCallback(this, 1); // each frame is converted for the handler: only when there is one
        }
        break;
    }
    case opBeforeRemove:
        if (m_filter) {
            m_filter->Stop();
        }
        for (const RefPtr<IPin> &pin : { m_inputPin, m_outputPin }) {
            if (pin) {
                pin->Disconnect();
            }
        }
        break;
    case opAfterRemove:
        if (m_grabber) {
            m_grabber->SetCallback(nullptr, 1); // waits for a callback under way
            m_grabber->SetBufferSamples(false);
        }
        m_grabber.reset();
        m_inputPin.reset();
        m_outputPin.reset();
        m_filter.reset();
        break;
    case opRefresh:
        UpdateMediaType();
        break;
    }
}

void TSampleGrabber::UpdateMediaType()
{
    if (!m_grabber) {
        return;
    }
    m_filter->Stop();
    if (m_inputPin) {
        m_inputPin->Disconnect();
    }
    m_grabber->SetMediaType(m_mediaType->AMMediaType());
}

qint64 TSampleGrabber::FrameAge() const
{
    std::int64_t arrived = -1;
    if (!m_grabber || Failed(m_grabber->GetCurrentSampleTime(arrived))) {
        return -1;
    }
    const qint64 now
        = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
              .count();
    return now - arrived;
}

HRESULT TSampleGrabber::BufferCB(double sampleTime, unsigned char *buffer, std::int32_t length)
{
    if (OnBuffer) {
        const std::lock_guard lock(m_lock); // released also when the handler raises
        OnBuffer(this, sampleTime, buffer, length);
    }
    return S_OK;
}

bool TSampleGrabber::CopyFrameToBitmap(TBitmap *bitmap, void *buffer, int length)
{
    if (!bitmap || (buffer && length <= 0) || !m_grabber) {
        return false;
    }
    AM_MEDIA_TYPE type; // freed on every way out, with its format block and pUnk reference
    if (Failed(m_grabber->GetConnectedMediaType(type)) || type.majortype != MEDIATYPE_Video) {
        return false;
    }
    const std::optional<BITMAPINFOHEADER> header = imageHeader(type);
    if (!header) {
        return false;
    }
    TPixelFormat pixelFormat = pf24bit;
    QImage image = imageFor(*header, pixelFormat);
    if (image.isNull()) {
        return false;
    }
    const qsizetype stride
        = (qsizetype(header->biWidth) * (header->biBitCount == 15 ? 16 : header->biBitCount) + 31) / 32 * 4;
    // The header's own size when it gives one, but never more than the picture holds.
    const qsizetype capacity = image.sizeInBytes();
    const qsizetype imageSize = std::min(
        header->biSizeImage != 0 ? qsizetype(header->biSizeImage) : stride * image.height() * header->biPlanes,
        capacity);
    Q_ASSERT(image.bytesPerLine() == stride);
    if (buffer) {
        std::memcpy(image.bits(), buffer, size_t(std::min<qsizetype>(length, imageSize)));
    } else {
        std::int32_t sampleSize = 0;
        if (Failed(m_grabber->GetCurrentBuffer(&sampleSize, nullptr)) || sampleSize < 1) {
            return false;
        }
        std::int32_t copySize = std::int32_t(std::min<qsizetype>(sampleSize, imageSize));
        if (Failed(m_grabber->GetCurrentBuffer(&copySize, image.bits()))) {
            return false;
        }
    }
    if (header->biHeight > 0) {
        image.mirror(false, true); // rows were bottom-up; the bitmap keeps its top row first
    }
    bitmap->setImage(image, pixelFormat);
    return true;
}

HRESULT TSampleGrabber::QueryInterface(const GUID &iid, void **object)
{
    return componentQueryInterface(
        iid, object, m_filter.get(), static_cast<IGraphClient *>(this), static_cast<ISampleGrabberCB *>(this));
}

} // namespace pixolo
