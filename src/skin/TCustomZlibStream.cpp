#include "skin/TCustomZlibStream.h"

#include <algorithm>
#include <limits>
#include <string>

namespace pixolo
{

namespace
{

// The version string the stream states to zlib; zlib only compares its major number.
constexpr const char *s_zlibVersion = "1.1.4";

constexpr int levelOf(TCompressionLevel level)
{
    switch (level) {
    case clNone:
        return 0;
    case clFastest:
        return 1;
    case clDefault:
        return Z_DEFAULT_COMPRESSION;
    case clMax:
        return 9;
    }
    return 9;
}

int compressionCheck(int code)
{
    if (code < 0) {
        throw ECompressionError("error");
    }
    return code;
}

[[noreturn]] void decompressionFailed()
{
    throw EDecompressionError("compression error");
}

// zlib counts in 32-bit units: feed larger requests in pieces.
constexpr qint64 s_chunk = std::numeric_limits<uInt>::max() / 2;

} // namespace

TCustomZlibStream::TCustomZlibStream(TStream &strm)
    : m_strm(strm)
    , m_strmPos(strm.Position())
{
}

void TCustomZlibStream::restorePosition()
{
    if (m_strm.Position() != m_strmPos) {
        m_strm.SetPosition(m_strmPos);
    }
}

TCompressionStream::TCompressionStream(TCompressionLevel level, TStream &dest)
    : TCustomZlibStream(dest)
{
    m_zrec.next_out = m_buffer;
    m_zrec.avail_out = s_bufferSize;
    compressionCheck(deflateInit2_(
        &m_zrec, levelOf(level), Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY, s_zlibVersion, int(sizeof(z_stream))));
}

TCompressionStream::~TCompressionStream()
{
    try {
        Finish();
    } catch (...) { // nowhere to report it from here; Finish() called earlier has reported it already
    }
    deflateEnd(&m_zrec);
}

void TCompressionStream::Finish()
{
    if (m_finished) {
        return;
    }
    m_finished = true; // a failing write below must not be retried by the destructor
    m_zrec.next_in = nullptr;
    m_zrec.avail_in = 0;
    restorePosition();
    while (compressionCheck(deflate(&m_zrec, Z_FINISH)) != Z_STREAM_END) {
        m_strm.WriteBuffer(m_buffer, s_bufferSize - m_zrec.avail_out);
        m_zrec.next_out = m_buffer;
        m_zrec.avail_out = s_bufferSize;
    }
    if (m_zrec.avail_out < unsigned(s_bufferSize)) {
        m_strm.WriteBuffer(m_buffer, s_bufferSize - m_zrec.avail_out);
    }
    m_strmPos = m_strm.Position();
}

qint64 TCompressionStream::Read(void *, qint64)
{
    throw ECompressionError("Invalid stream operation");
}

qint64 TCompressionStream::Write(const void *buffer, qint64 count)
{
    if (m_finished) {
        throw ECompressionError("Invalid stream operation");
    }
    restorePosition();
    auto *next = static_cast<const Bytef *>(buffer);
    qint64 left = std::max<qint64>(count, 0);
    while (left > 0) {
        const qint64 piece = std::min(left, s_chunk);
        m_zrec.next_in = const_cast<Bytef *>(next); // zlib's input pointer is not const, but it only reads
        m_zrec.avail_in = uInt(piece);
        while (m_zrec.avail_in != 0) {
            compressionCheck(deflate(&m_zrec, Z_NO_FLUSH));
            if (m_zrec.avail_out == 0) {
                m_strm.WriteBuffer(m_buffer, s_bufferSize);
                m_zrec.next_out = m_buffer;
                m_zrec.avail_out = s_bufferSize;
                m_strmPos = m_strm.Position();
            }
        }
        next += piece;
        left -= piece;
    }
    return count;
}

qint64 TCompressionStream::Seek(qint64 offset, TSeekOrigin origin)
{
    if (offset == 0 && origin == soCurrent) {
        return qint64(m_zrec.total_in);
    }
    throw ECompressionError("Invalid stream operation");
}

TDecompressionStream::TDecompressionStream(TStream &source)
    : TCustomZlibStream(source)
{
    m_zrec.next_in = m_buffer;
    m_zrec.avail_in = 0;
    if (inflateInit_(&m_zrec, s_zlibVersion, int(sizeof(z_stream))) < 0) {
        decompressionFailed();
    }
}

TDecompressionStream::~TDecompressionStream()
{
    inflateEnd(&m_zrec);
}

qint64 TDecompressionStream::Read(void *buffer, qint64 count)
{
    restorePosition();
    auto *next = static_cast<Bytef *>(buffer);
    qint64 produced = 0;
    const qint64 wanted = std::max<qint64>(count, 0);
    while (produced < wanted && !m_ended) {
        if (m_zrec.avail_in == 0) {
            const qint64 got = m_strm.Read(m_buffer, s_bufferSize);
            if (got <= 0) {
                break;
            }
            m_zrec.next_in = m_buffer;
            m_zrec.avail_in = uInt(got);
            m_strmPos = m_strm.Position();
        }
        m_zrec.next_out = next + produced;
        m_zrec.avail_out = uInt(std::min(wanted - produced, s_chunk));
        const uInt before = m_zrec.avail_out;
        const int code = inflate(&m_zrec, Z_NO_FLUSH);
        produced += before - m_zrec.avail_out;
        // A stream that asks for a preset dictionary cannot go on: without this it would spin forever.
        if (code < 0 || code == Z_NEED_DICT) {
            decompressionFailed();
        }
        // Stop at the end mark: bytes after it are not part of the stream.
        m_ended = code == Z_STREAM_END;
    }
    return produced;
}

qint64 TDecompressionStream::Write(const void *, qint64)
{
    throw EDecompressionError("Invalid stream operation");
}

qint64 TDecompressionStream::Seek(qint64 offset, TSeekOrigin origin)
{
    if (offset == 0 && origin == soBeginning) {
        if (inflateReset(&m_zrec) < 0) {
            decompressionFailed();
        }
        m_zrec.next_in = m_buffer;
        m_zrec.avail_in = 0;
        m_ended = false;
        m_strm.SetPosition(0);
        m_strmPos = 0;
        return qint64(m_zrec.total_out);
    }
    if ((offset >= 0 && origin == soCurrent) || (origin == soBeginning && offset - qint64(m_zrec.total_out) > 0)) {
        if (origin == soBeginning) {
            offset -= qint64(m_zrec.total_out);
        }
        Bytef scratch[s_bufferSize];
        while (offset > 0) {
            const qint64 got = Read(scratch, std::min<qint64>(offset, s_bufferSize));
            if (got <= 0) {
                break;
            }
            offset -= got;
        }
        return qint64(m_zrec.total_out);
    }
    throw EDecompressionError("Invalid stream operation");
}

void CompressStream(TStream &source, TStream &dest)
{
    source.SetPosition(0);
    TCompressionStream compressor(clMax, dest);
    Bytef buffer[TCustomZlibStream::s_bufferSize];
    for (;;) {
        const qint64 got = source.Read(buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        compressor.WriteBuffer(buffer, got);
    }
    compressor.Finish();
}

void DecompressStream(TStream &dest, TStream &source, qint64 limit)
{
    source.SetPosition(0);
    TDecompressionStream inflater(source);
    Bytef buffer[TCustomZlibStream::s_bufferSize];
    qint64 total = 0;
    for (;;) {
        const qint64 got = inflater.Read(buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        total += got;
        if (limit >= 0 && total > limit) {
            throw EDecompressionError("the data inflates to more than " + std::to_string(limit) + " bytes");
        }
        dest.WriteBuffer(buffer, got);
    }
    // Running out of input before the end mark means the data was cut: report it rather than return half.
    if (!inflater.StreamEnded()) {
        decompressionFailed();
    }
}

} // namespace pixolo
