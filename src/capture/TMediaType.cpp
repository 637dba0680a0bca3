#include "capture/TMediaType.h"

#include "capture/TPersistentMemory.h"

#include <QtEndian>

#include <string>

namespace pixolo
{

TMediaType::TMediaType(const GUID &majorType)
    : m_majorType(majorType)
{
}

QByteArray TMediaType::data() const
{
    QByteArray stream(recordSize, '\0');
    auto *out = reinterpret_cast<unsigned char *>(stream.data());
    m_majorType.writeTo(out);
    m_subType.writeTo(out + 16);
    qToLittleEndian(m_fixedSizeSamples, out + 32);
    qToLittleEndian(m_temporalCompression, out + 36);
    qToLittleEndian(m_sampleSize, out + 40);
    m_formatType.writeTo(out + 44);
    // pUnk (60) and pbFormat (68) are pointers with no meaning outside a process: written as 0.
    qToLittleEndian(std::uint32_t(m_format.size()), out + 64);
    stream.append(m_format);
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
    m_majorType = GUID::readFrom(in);
    m_subType = GUID::readFrom(in + 16);
    m_fixedSizeSamples = qFromLittleEndian<std::int32_t>(in + 32);
    m_temporalCompression = qFromLittleEndian<std::int32_t>(in + 36);
    m_sampleSize = qFromLittleEndian<std::uint32_t>(in + 40);
    m_formatType = GUID::readFrom(in + 44);
    m_format = stream.sliced(recordSize).toByteArray();
}

void TMediaType::Assign(const TMediaType &source)
{
    *this = source;
    m_format.detach(); // a format block of its own
}

bool TMediaType::Equals(const TMediaType &other) const
{
    return m_majorType == other.m_majorType && m_subType == other.m_subType && m_formatType == other.m_formatType
        && m_format == other.m_format;
}

} // namespace pixolo
