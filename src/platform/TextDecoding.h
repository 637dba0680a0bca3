#pragma once

#include <QByteArrayView>
#include <QString>

namespace pixolo
{

// Texts of files that people may have written with other tools: UTF-8, or the Chinese Windows encoding that
// editors there save in (GB 18030, a superset of GBK and GB 2312).
namespace TextDecoding
{

bool isValidUtf8(QByteArrayView bytes);
// GB 18030 bytes as text; a byte sequence that is not GB 18030 becomes U+FFFD.
QString fromGb18030(QByteArrayView bytes);
// UTF-8 when the bytes are valid UTF-8 (plain ASCII included), GB 18030 otherwise.
QString fromUtf8OrGb18030(QByteArrayView bytes);

} // namespace TextDecoding

} // namespace pixolo
