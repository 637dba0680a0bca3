#pragma once

#include "skin/TStream.h"

#include <zlib.h>

#include <stdexcept>

namespace pixolo
{

class EZlibError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Deflating failed ("error") or the stream was used the wrong way ("Invalid stream operation").
class ECompressionError : public EZlibError
{
public:
    using EZlibError::EZlibError;
};

// Inflating failed ("compression error") or the stream was used the wrong way ("Invalid stream operation").
class EDecompressionError : public EZlibError
{
public:
    using EZlibError::EZlibError;
};

// Compression levels by index: none, fastest, zlib's default, maximum.
enum TCompressionLevel : int { clNone, clFastest, clDefault, clMax };

// The common part of the two zlib streams: the underlying stream (not owned), where this stream last left it, the
// zlib state and a 4096-byte working buffer.
class TCustomZlibStream : public TStream
{
public:
    static constexpr int s_bufferSize = 4096;

    TCustomZlibStream(const TCustomZlibStream &) = delete;
    TCustomZlibStream &operator=(const TCustomZlibStream &) = delete;

protected:
    explicit TCustomZlibStream(TStream &strm);
    // Something else may have moved the underlying stream between our calls: go back to where we were.
    void restorePosition();

    TStream &m_strm;
    qint64 m_strmPos = 0;
    z_stream m_zrec {};
    Bytef m_buffer[s_bufferSize] {};
};

// Write-only: deflates what is written into the underlying stream.
class TCompressionStream final : public TCustomZlibStream
{
public:
    TCompressionStream(TCompressionLevel level, TStream &dest);
    ~TCompressionStream() override;

    qint64 Read(void *buffer, qint64 count) override;
    qint64 Write(const void *buffer, qint64 count) override;
    // Only Seek(0, soCurrent), which returns the number of bytes taken in so far.
    qint64 Seek(qint64 offset, TSeekOrigin origin) override;

    // Ends the deflate stream and writes what is left. The destructor does it too, but cannot report a failure:
    // callers that care call it first.
    void Finish();

private:
    bool m_finished = false;
};

// Read-only: inflates the underlying stream.
class TDecompressionStream final : public TCustomZlibStream
{
public:
    explicit TDecompressionStream(TStream &source);
    ~TDecompressionStream() override;

    qint64 Read(void *buffer, qint64 count) override;
    qint64 Write(const void *buffer, qint64 count) override;
    // Seek(0, soBeginning) starts over; forward seeks read and discard; anything else is refused.
    qint64 Seek(qint64 offset, TSeekOrigin origin) override;

    // The deflate stream's end mark was reached; bytes after it are never read.
    bool StreamEnded() const { return m_ended; }

private:
    bool m_ended = false;
};

// Deflates all of source (from position 0) into dest at maximum compression.
void CompressStream(TStream &source, TStream &dest);
// Inflates all of source (from position 0) into dest. A stream that stops before its end mark is damaged and raises
// EDecompressionError like any other damage. With a limit (≥ 0), a stream that would inflate to more bytes than that
// raises EDecompressionError as soon as it passes it, so a small stream of a huge size cannot exhaust memory.
void DecompressStream(TStream &dest, TStream &source, qint64 limit = -1);

} // namespace pixolo
