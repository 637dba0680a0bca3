#include "platform/TextDecoding.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>

namespace pixolo::TextDecoding
{

bool isValidUtf8(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QString fromGb18030(QByteArrayView bytes)
{
    const iconv_t converter = ::iconv_open("UTF-8", "GB18030");
    if (converter == iconv_t(-1)) {
        return QString::fromUtf8(bytes); // no converter on this system: keep what UTF-8 makes of it
    }
    QByteArray out;
    out.resize(bytes.size() * 2 + 4); // UTF-8 never needs more than twice the bytes of GB 18030
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char *outAt = out.data();
    size_t outLeft = size_t(out.size());
    while (inLeft > 0) {
        if (::iconv(converter, &in, &inLeft, &outAt, &outLeft) != size_t(-1)) {
            break;
        }
        if (errno == E2BIG) {
            const qsizetype used = outAt - out.data();
            out.resize(out.size() * 2);
            outAt = out.data() + used;
            outLeft = size_t(out.size() - used);
            continue;
        }
        // An invalid or cut-off sequence: one replacement character for its first byte, then go on.
        ++in;
        --inLeft;
        if (outLeft < 3) {
            const qsizetype used = outAt - out.data();
            out.resize(out.size() + 16);
            outAt = out.data() + used;
            outLeft = size_t(out.size() - used);
        }
        for (const char c : { '\xEF', '\xBF', '\xBD' }) {
            *outAt++ = c;
            --outLeft;
        }
    }
    ::iconv_close(converter);
    out.resize(outAt - out.data());
    return QString::fromUtf8(out);
}

QString fromUtf8OrGb18030(QByteArrayView bytes)
{
    return isValidUtf8(bytes) ? QString::fromUtf8(bytes) : fromGb18030(bytes);
}

} // namespace pixolo::TextDecoding
