#include "skin/TStream.h"

#include <algorithm>
#include <cstring>

namespace pixolo
{

void TStream::ReadBuffer(void *buffer, qint64 count)
{
    if (count != 0 && Read(buffer, count) != count) {
        throw EReadError("Stream read error");
    }
}

void TStream::WriteBuffer(const void *buffer, qint64 count)
{
    if (count != 0 && Write(buffer, count) != count) {
        throw EWriteError("Stream write error");
    }
}

qint64 TMemoryStream::Read(void *buffer, qint64 count)
{
    const qint64 n = std::clamp<qint64>(m_data.size() - m_position, 0, std::max<qint64>(count, 0));
    if (n > 0) {
        std::memcpy(buffer, m_data.constData() + m_position, size_t(n));
        m_position += n;
    }
    return n;
}

qint64 TMemoryStream::Write(const void *buffer, qint64 count)
{
    if (count <= 0) {
        return 0;
    }
    const qint64 end = m_position + count;
    if (end > m_data.size()) {
        m_data.resize(end, '\0');
    }
    std::memcpy(m_data.data() + m_position, buffer, size_t(count));
    m_position = end;
    return count;
}

qint64 TMemoryStream::Seek(qint64 offset, TSeekOrigin origin)
{
    const qint64 base = origin == soBeginning ? 0 : origin == soCurrent ? m_position : m_data.size();
    m_position = std::max<qint64>(base + offset, 0); // beyond the end is allowed; the next write fills the gap
    return m_position;
}

void TMemoryStream::Clear()
{
    m_data.clear();
    m_position = 0;
}

} // namespace pixolo
