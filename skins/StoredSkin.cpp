#include "storedskin/StoredSkin.h"

#include <cstddef>

namespace pixolo {

namespace storedskin {
extern const unsigned char s_bytes[];
extern const std::size_t s_size;
} // namespace storedskin

QByteArrayView pixoloStoredSkin()
{
    return QByteArrayView(storedskin::s_bytes, qsizetype(storedskin::s_size));
}

} // namespace pixolo
