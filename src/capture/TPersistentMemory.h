#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <stdexcept>

namespace pixolo
{

// Stored bytes that do not have the form their reader expects (too short, a length that runs past the end,
// trailing bytes). The object being read keeps its old value.
class EInvalidStoredData : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A block of bytes kept in form data. Its persisted form (the `data` property) is a 32-bit little-endian length N
// followed by the N bytes; an empty block is the four bytes 00 00 00 00.
class TPersistentMemory
{
public:
    TPersistentMemory() = default;
    virtual ~TPersistentMemory() = default;
    TPersistentMemory(const TPersistentMemory &) = default;
    TPersistentMemory &operator=(const TPersistentMemory &) = default;

    const QByteArray &Block() const { return m_block; }
    int Length() const { return int(m_block.size()); }
    void SetBlock(const QByteArray &block) { m_block = block; }

    // The persisted form, and reading it back (raises EInvalidStoredData unless the bytes are exactly one block).
    QByteArray data() const;
    void Setdata(QByteArrayView stream);

    void Assign(const TPersistentMemory &source) { m_block = source.m_block; }
    // Same non-zero length and same bytes.
    bool Equals(const TPersistentMemory &other) const;

private:
    QByteArray m_block;
};

} // namespace pixolo
