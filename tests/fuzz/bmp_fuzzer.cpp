// Fuzzes the BMP reader on its own: any input either reads as a picture or raises the reader's error. A picture that
// reads is written back and read again, and must come back with the same format, size and pixels.
#include "FuzzCheck.h"

#include "skin/BmpFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pixolo;
    TBitmap first;
    qsizetype consumed = 0;
    try {
        first = readBmp(QByteArrayView(data, qsizetype(size)), &consumed);
    } catch (const EInvalidGraphic &) {
        return 0; // a clear error is the right outcome for bad input
    }
    FUZZ_REQUIRE(consumed > 0 && consumed <= qsizetype(size), "the reader consumed bytes it was not given");
    FUZZ_REQUIRE(!first.Empty(), "a picture that reads has pixels");
    const QByteArray written = writeBmp(first);
    qsizetype writtenSize = 0;
    const TBitmap second = readBmp(written, &writtenSize);
    FUZZ_REQUIRE(writtenSize == written.size(), "a written file's size field is its length");
    FUZZ_REQUIRE(second.PixelFormat() == first.PixelFormat(), "the pixel format survives writing");
    FUZZ_REQUIRE(second.image() == first.image(), "the pixels survive writing");
    return 0;
}
