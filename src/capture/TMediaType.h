#pragma once

#include "capture/MediaFramework.h"

#include <QByteArray>
#include <QByteArrayView>

namespace pixolo
{

// Holds one media type record and its format block. Its persisted form (the `data` property) is the 72-byte record
// followed by exactly cbFormat bytes of format:
//   0 majortype (16, GUID)  16 subtype (16)  32 bFixedSizeSamples (4)  36 bTemporalCompression (4)
//   40 lSampleSize (4)  44 formattype (16)  60 pUnk (4)  64 cbFormat (4)  68 pbFormat (4)
// all little-endian. The two pointer fields are written as 0 and ignored when read.
class TMediaType
{
public:
    static constexpr int recordSize = 72;

    // A type of the major type, every other field 0 except lSampleSize = 1 and bFixedSizeSamples = true.
    explicit TMediaType(const GUID &majorType = GUID_NULL);

    const AM_MEDIA_TYPE &AMMediaType() const { return m_type; }
    AM_MEDIA_TYPE &AMMediaType() { return m_type; }

    const GUID &MajorType() const { return m_type.majortype; }
    const GUID &SubType() const { return m_type.subtype; }
    void SetSubType(const GUID &subType) { m_type.subtype = subType; }
    const GUID &FormatType() const { return m_type.formattype; }
    void SetFormatType(const GUID &formatType) { m_type.formattype = formatType; }

    // The persisted form, and reading it (raises EInvalidStoredData, keeping the old value, unless the bytes are
    // exactly one record and its format block).
    QByteArray data() const;
    void Setdata(QByteArrayView stream);

    // A deep copy: record and format block; the pUnk reference is shared.
    void Assign(const TMediaType &source);
    // Same major type, subtype, format type, format size and format bytes.
    bool Equals(const TMediaType &other) const;

private:
    AM_MEDIA_TYPE m_type;
};

} // namespace pixolo
