#include "app/JpegEncoder.h"

#include "platform/TBitmap.h"

#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

#include <cstdlib>
#include <vector>

namespace pixolo::JpegEncoder {

namespace {

// libjpeg's own error handler ends the process; ours jumps back into encodeRows, which holds no C++ objects with
// destructors between setjmp and the jump.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void onMessage(j_common_ptr) { } // warnings are not printed

// Runs the compressor over RGB rows. Returns false on any libjpeg error; `out`/`outSize` are malloc'ed by libjpeg.
bool encodeRows(const unsigned char *rgb, int width, int height, int stride, int quality, unsigned char **out,
                unsigned long *outSize)
{
    jpeg_compress_struct info {};
    ErrorManager errors {};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onError;
    errors.base.output_message = onMessage;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE); // force_baseline
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb + std::size_t(info.next_scanline) * std::size_t(stride));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

std::optional<QByteArray> encode(const TBitmap &bitmap, int quality)
{
    if (bitmap.Width() == 0 || bitmap.Height() == 0) {
        return QByteArray();
    }
    // A 24-bit RGB copy, rows top to bottom, whatever the bitmap's own format.
    const QImage rgb = bitmap.image().convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull()) {
        return std::nullopt;
    }
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    const bool ok = encodeRows(rgb.constBits(), rgb.width(), rgb.height(), int(rgb.bytesPerLine()), quality, &out,
                               &outSize);
    std::optional<QByteArray> result;
    if (ok && out) {
        result = QByteArray(reinterpret_cast<const char *>(out), qsizetype(outSize));
    }
    std::free(out);
    return result;
}

} // namespace pixolo::JpegEncoder
