// Fuzzes the container reader: the first byte chooses whether the rest is an inflated container (stored into a
// zlib stream first) or a zlib stream as a window carries it (so that the inflater is fuzzed too).
#include "FuzzSkin.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const QByteArrayView rest(data + 1, qsizetype(size - 1));
    pixolo::fuzz::loadAndUse((data[0] & 1) ? rest.toByteArray() : pixolo::fuzz::stored(rest));
    return 0;
}
