#pragma once

#include "capture/Guid.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>

namespace pixolo
{

// The framework's published identifiers of media types and formats, as persisted media types carry them.
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
inline constexpr GUID FORMAT_VideoInfo { 0x05589F80, 0xC356, 0x11CE,
    { 0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A } };
inline constexpr GUID FORMAT_VideoInfo2 { 0xF72A76A0, 0xEB0A, 0x11D0,
    { 0xAC, 0xE4, 0x00, 0x00, 0xC0, 0xCC, 0x16, 0xBA } };

// One media type: major type, subtype, sample settings, format type and format block. Its persisted form (the
// `data` property) is the 72-byte record followed by exactly the format block's bytes:
//   0 majortype (16, GUID)  16 subtype (16)  32 bFixedSizeSamples (4)  36 bTemporalCompression (4)
//   40 lSampleSize (4)  44 formattype (16)  60 pUnk (4)  64 cbFormat (4)  68 pbFormat (4)
// all little-endian. The two pointer fields are written as 0 and ignored when read.
class TMediaType
{
public:
    static constexpr int recordSize = 72;

    // A type of the major type, every other field 0 except lSampleSize = 1 and bFixedSizeSamples = true.
    explicit TMediaType(const GUID &majorType = GUID_NULL);

    const GUID &MajorType() const { return m_majorType; }
    const GUID &SubType() const { return m_subType; }
    void SetSubType(const GUID &subType) { m_subType = subType; }
    const GUID &FormatType() const { return m_formatType; }
    void SetFormatType(const GUID &formatType) { m_formatType = formatType; }
    // The format block; its size is the record's cbFormat.
    const QByteArray &Format() const { return m_format; }
    void SetFormat(const QByteArray &format) { m_format = format; }

    // The persisted form, and reading it (raises EInvalidStoredData, keeping the old value, unless the bytes are
    // exactly one record and its format block).
    QByteArray data() const;
    void Setdata(QByteArrayView stream);

    // A copy of the record and the format block.
    void Assign(const TMediaType &source);
    // Same major type, subtype, format type, format size and format bytes.
    bool Equals(const TMediaType &other) const;

private:
    GUID m_majorType;
    GUID m_subType;
    std::int32_t m_fixedSizeSamples = -1; // 32-bit Boolean: true is all bits set
    std::int32_t m_temporalCompression = 0;
    std::uint32_t m_sampleSize = 1;
    GUID m_formatType;
    QByteArray m_format;
};

} // namespace pixolo
