#pragma once

#include <QtGlobal>

#include <algorithm>
#include <functional>
#include <zlib.h>

namespace pixolo::test
{

// Deflates `size` zero bytes (about a thousandth of that size at level 9) and hands each piece of the zlib stream to
// `sink` as it is made, so that a stream of a gigabyte never stands in memory; false when zlib fails.
inline bool deflateZeros(qint64 size, int level, const std::function<void(const char *, qsizetype)> &sink)
{
    z_stream stream {};
    if (deflateInit(&stream, level) != Z_OK) {
        return false;
    }
    static const char chunk[1 << 16] = {};
    char buffer[1 << 16];
    bool ok = true;
    qint64 left = size;
    do {
        const qint64 now = std::min<qint64>(left, qint64(sizeof chunk));
        left -= now;
        stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(chunk));
        stream.avail_in = uInt(now);
        do {
            stream.next_out = reinterpret_cast<Bytef *>(buffer);
            stream.avail_out = uInt(sizeof buffer);
            ok = deflate(&stream, left == 0 ? Z_FINISH : Z_NO_FLUSH) != Z_STREAM_ERROR && ok;
            sink(buffer, qsizetype(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0);
    } while (left > 0);
    deflateEnd(&stream);
    return ok;
}

} // namespace pixolo::test
