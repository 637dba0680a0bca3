// Fuzzes the mask-to-region builders. The input is a mask: a BMP file when it starts with "BM", otherwise a tiny
// picture whose first two bytes give its width and height and whose further bytes are its pixels (one byte each,
// black when 0). The region built from the mask must hold exactly its black pixels; the shape of a window cut from
// the same mask must stay inside the window.
#include "FuzzCheck.h"

#include "skin/BmpFile.h"
#include "skin/SkinRegion.h"

#include <cstddef>
#include <cstdint>

namespace
{

QImage maskFrom(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    if (bytes.startsWith("BM")) {
        try {
            return pixolo::readBmp(bytes).toRgb32();
        } catch (const pixolo::EInvalidGraphic &) {
            return {};
        }
    }
    if (size < 2) {
        return {};
    }
    const int width = data[0] % 64;
    const int height = data[1] % 64;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t at = 2 + std::size_t(y * width + x);
            const std::uint8_t value = at < size ? data[at] : 0xFF;
            // 0 is black; the other values give colours close to black, which are outside.
            image.setPixel(x, y, value == 0 ? qRgb(0, 0, 0) : qRgb(value & 1, (value >> 1) & 1, value >> 2));
        }
    }
    return image;
}

bool isBlack(QRgb pixel)
{
    return qRed(pixel) == 0 && qGreen(pixel) == 0 && qBlue(pixel) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pixolo;
    const QImage mask = maskFrom(data, size);
    if (mask.isNull() || qint64(mask.width()) * mask.height() > 256 * 256) {
        return 0; // the exhaustive check below is for small masks
    }
    const std::optional<QRegion> region = CreateRgnFromMask(mask);
    bool anyBlack = false;
    for (int y = 0; y < mask.height(); ++y) {
        for (int x = 0; x < mask.width(); ++x) {
            const bool black = isBlack(mask.pixel(x, y));
            anyBlack = anyBlack || black;
            FUZZ_REQUIRE((region && region->contains(QPoint(x, y))) == black, "the region is the black pixels");
        }
    }
    if (region && !region->isEmpty() && !mask.rect().contains(region->boundingRect())) {
        const QRect bounds = region->boundingRect();
        std::fprintf(stderr, "mask %d x %d, region %d,%d %d x %d in %d rectangles\n", mask.width(), mask.height(),
            bounds.x(), bounds.y(), bounds.width(), bounds.height(), region->rectCount());
        FUZZ_REQUIRE(false, "the region stays inside the mask");
    }
    FUZZ_REQUIRE(anyBlack || !region || region->isEmpty(), "a mask without black pixels gives no shape");

    // A window cut like the mask: corners from the tail of the input, the window a little larger than the mask.
    if (size >= 8 && mask.width() > 2 && mask.height() > 2) {
        const std::uint8_t *tail = data + size - 6;
        const int w = mask.width();
        const int h = mask.height();
        SkinCorners old;
        old.LT = TPoint { tail[0] % w, tail[1] % h };
        old.RT = TPoint { w - 1 - tail[2] % w, old.LT.Y };
        old.LB = TPoint { old.LT.X, h - 1 - tail[3] % h };
        old.RB = TPoint { old.RT.X, old.LB.Y };
        old.ClRect = TRect { old.LT.X, old.LT.Y, old.RB.X, old.RB.Y };
        const SkinCorners resized = old.grownBy(tail[4] % 40, tail[5] % 40);
        const int width = w + tail[4] % 40;
        const int height = h + tail[5] % 40;
        if (const std::optional<QRegion> shape = CreateSkinRegion(old, resized, mask, width, height)) {
            FUZZ_REQUIRE(QRect(0, 0, width, height).contains(shape->boundingRect()) || shape->isEmpty(),
                "a window's shape stays inside the window");
        }
    }
    return 0;
}
