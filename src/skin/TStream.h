#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <stdexcept>

namespace pixolo
{

// A stream that cannot give the bytes asked for: "Stream read error".
class EReadError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A stream that cannot take the bytes given: "Stream write error".
class EWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

enum TSeekOrigin : int { soBeginning, soCurrent, soEnd };

// An abstract byte stream with a position: the base of the memory stream and the zlib stream classes.
class TStream
{
public:
    virtual ~TStream() = default;

    // Read and Write move up to count bytes and return how many moved; Seek returns the new position.
    virtual qint64 Read(void *buffer, qint64 count) = 0;
    virtual qint64 Write(const void *buffer, qint64 count) = 0;
    virtual qint64 Seek(qint64 offset, TSeekOrigin origin) = 0;

    qint64 Position() { return Seek(0, soCurrent); }
    void SetPosition(qint64 position) { Seek(position, soBeginning); }

    // All or nothing: EReadError / EWriteError when fewer bytes move.
    void ReadBuffer(void *buffer, qint64 count);
    void WriteBuffer(const void *buffer, qint64 count);
};

// A growable stream over bytes it owns.
class TMemoryStream final : public TStream
{
public:
    TMemoryStream() = default;
    explicit TMemoryStream(QByteArray data)
        : m_data(std::move(data))
    {
    }

    qint64 Read(void *buffer, qint64 count) override;
    qint64 Write(const void *buffer, qint64 count) override;
    qint64 Seek(qint64 offset, TSeekOrigin origin) override;

    qint64 Size() const { return m_data.size(); }
    qint64 Remaining() const { return m_data.size() - m_position; }
    const QByteArray &Data() const { return m_data; }
    // The bytes from the position on, without copying them.
    QByteArrayView Rest() const
    {
        return m_position < m_data.size() ? QByteArrayView(m_data).sliced(m_position) : QByteArrayView();
    }
    void Clear();

private:
    QByteArray m_data;
    qint64 m_position = 0;
};

} // namespace pixolo
