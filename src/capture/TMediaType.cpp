#include "capture/TMediaType.h"

#include "capture/TPersistentMemory.h"

#include <QtEndian>

namespace pixolo
{

TMediaType::TMediaType(const GUID &majorType)
{
    m_type.majortype = majorType;
    m_type.lSampleSize = 1;
    m_type.bFixedSizeSamples = -1;
}

QByteArray TMediaType::data() const
{
    QByteArray stream(recordSize, '\0');
    auto *out = reinterpret_cast<unsigned char *>(stream.data());
    m_type.majortype.writeTo(out);
    m_type.subtype.writeTo(out + 16);
    qToLittleEndian(m_type.bFixedSizeSamples, out + 32);
    qToLittleEndian(m_type.bTemporalCompression, out + 36);
    qToLittleEndian(m_type.lSampleSize, out + 40);
    m_type.formattype.writeTo(out + 44);
    // pUnk (60) and pbFormat (68) are pointers with no meaning outside this process: written as 0.
    qToLittleEndian(m_type.cbFormat(), out + 64);
    stream.append(m_type.pbFormat);
    return stream;
}

void TMediaType::Setdata(QByteArrayView stream)
{
    if (stream.size() < recordSize) {
        throw EInvalidStoredData("Stored media type too short: " + std::to_string(stream.size()) + " bytes.");
    }
    const auto *in = reinterpret_cast<const unsigned char *>(stream.data());
    const std::uint32_t formatSize = qFromLittleEndian<std::uint32_t>(in + 64);
    if (qsizetype(formatSize) != stream.size() - recordSize) {
        throw EInvalidStoredData("Stored media type announces " + std::to_string(formatSize)
            + " format bytes but holds " + std::to_string(stream.size() - recordSize) + ".");
    }
    AM_MEDIA_TYPE type;
    type.majortype = GUID::readFrom(in);
    type.subtype = GUID::readFrom(in + 16);
    type.bFixedSizeSamples = qFromLittleEndian<std::int32_t>(in + 32);
    type.bTemporalCompression = qFromLittleEndian<std::int32_t>(in + 36);
    type.lSampleSize = qFromLittleEndian<std::uint32_t>(in + 40);
    type.formattype = GUID::readFrom(in + 44);
    type.pbFormat = stream.sliced(recordSize).toByteArray();
    m_type = std::move(type);
}

void TMediaType::Assign(const TMediaType &source)
{
    m_type = source.m_type;
    m_type.pbFormat.detach(); // a format block of its own
}

bool TMediaType::Equals(const TMediaType &other) const
{
    return m_type.majortype == other.m_type.majortype && m_type.subtype == other.m_type.subtype
        && m_type.formattype == other.m_type.formattype && m_type.pbFormat == other.m_type.pbFormat;
}

} // namespace pixolo
