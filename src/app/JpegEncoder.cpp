#include "app/JpegEncoder.h"

#include "platform/TBitmap.h"

#include <QImage>

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

#include <cstdlib>
#include <vector>

namespace pixolo::JpegEncoder
{

namespace
{

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

void onMessage(j_common_ptr)
{
} // warnings are not printed

// Runs the compressor over rows of three or four components in the given order. Returns false on any libjpeg error;
// `out`/`outSize` are malloc'ed by libjpeg.
bool encodeRows(const unsigned char *rgb, int width, int height, int stride, J_COLOR_SPACE order, int components,
    int quality, unsigned char **out, unsigned long *outSize)
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
    info.input_components = components;
    info.in_color_space = order;
    jpeg_set_defaults(&info); // a colour JPEG (YCbCr, 4:2:0) whatever the input's component order
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
    // The compressor reads the bitmap's own rows, top to bottom, in their own component order (a camera frame is
    // 24-bit BGR): no converted copy is made. Other formats are turned into 24-bit RGB first.
    QImage rows = bitmap.image();
    J_COLOR_SPACE order = JCS_RGB;
    int components = 3;
    switch (rows.format()) {
    case QImage::Format_BGR888:
        order = JCS_EXT_BGR;
        break;
    case QImage::Format_RGB888:
        break;
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
        // 0xAARRGGBB words: B, G, R, A in memory on little-endian machines, A, R, G, B on big-endian ones.
        order = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
        components = 4;
        break;
    default:
        rows = rows.convertToFormat(QImage::Format_RGB888);
        break;
    }
    if (rows.isNull()) {
        return std::nullopt;
    }
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    const bool ok = encodeRows(rows.constBits(), rows.width(), rows.height(), int(rows.bytesPerLine()), order,
        components, quality, &out, &outSize);
    std::optional<QByteArray> result;
    if (ok && out) {
        result = QByteArray(reinterpret_cast<const char *>(out), qsizetype(outSize));
    }
    std::free(out);
    return result;
}

} // namespace pixolo::JpegEncoder
