#include "capture/TPersistentMemory.h"

#include <QtEndian>

namespace pixolo
{

QByteArray TPersistentMemory::data() const
{
    QByteArray stream(4, Qt::Uninitialized);
    qToLittleEndian(std::uint32_t(m_block.size()), stream.data());
    stream.append(m_block);
    return stream;
}

void TPersistentMemory::Setdata(QByteArrayView stream)
{
    if (stream.size() < 4) {
        throw EInvalidStoredData("Stored block too short: its length is missing.");
    }
    const std::uint32_t length = qFromLittleEndian<std::uint32_t>(stream.data());
    if (qsizetype(length) != stream.size() - 4) {
        throw EInvalidStoredData("Stored block length " + std::to_string(length) + " does not match its "
            + std::to_string(stream.size() - 4) + " bytes.");
    }
    m_block = stream.sliced(4).toByteArray();
}

bool TPersistentMemory::Equals(const TPersistentMemory &other) const
{
    return !m_block.isEmpty() && m_block == other.m_block;
}

} // namespace pixolo
