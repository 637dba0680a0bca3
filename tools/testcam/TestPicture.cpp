#include "TestPicture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

namespace pixolo::testcam
{

namespace
{

struct Rgb {
    std::uint8_t r, g, b;
};

constexpr Rgb barColours[8] = {
    { 255, 255, 255 },
    { 255, 255, 0 },
    { 0, 255, 255 },
    { 0, 255, 0 },
    { 255, 0, 255 },
    { 255, 0, 0 },
    { 0, 0, 255 },
    { 0, 0, 0 },
};
constexpr Rgb white { 255, 255, 255 };
constexpr Rgb black { 0, 0, 0 };
constexpr Rgb grey { 128, 128, 128 };

void put(std::vector<std::uint8_t> &row, int x, Rgb colour)
{
    row[size_t(x) * 3] = colour.r;
    row[size_t(x) * 3 + 1] = colour.g;
    row[size_t(x) * 3 + 2] = colour.b;
}

// BT.601, limited range, integer arithmetic.
std::uint8_t lumaOf(int r, int g, int b)
{
    return std::uint8_t(((66 * r + 129 * g + 25 * b + 128) >> 8) + 16);
}

std::uint8_t blueDifferenceOf(int r, int g, int b)
{
    return std::uint8_t(((-38 * r - 74 * g + 112 * b + 128) >> 8) + 128);
}

std::uint8_t redDifferenceOf(int r, int g, int b)
{
    return std::uint8_t(((112 * r - 94 * g - 18 * b + 128) >> 8) + 128);
}

bool readSize(const char *text, int &width, int &height)
{
    char separator = 0;
    char rest = 0;
    int w = 0;
    int h = 0;
    if (std::sscanf(text, "%d%c%d%c", &w, &separator, &h, &rest) != 3 || (separator != 'x' && separator != 'X')) {
        return false;
    }
    if (w < CameraConfig::minimumSide || h < CameraConfig::minimumSide || w > CameraConfig::maximumSide
        || h > CameraConfig::maximumSide) {
        return false;
    }
    width = w;
    height = h;
    return true;
}

// libjpeg's default handler ends the process: this one jumps back to the encoder's frame instead.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void onJpegError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError *>(info->err)->jump, 1);
}

// Holds no object with a destructor between setjmp and a possible longjmp.
bool encodeJpeg(const TestPicture &picture, int quality, unsigned char **data, unsigned long *size)
{
    jpeg_compress_struct info;
    JpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = onJpegError;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, data, size);
    info.image_width = JDIMENSION(picture.width());
    info.image_height = JDIMENSION(picture.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.rgbRow(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

CameraConfig CameraConfig::fromEnvironment()
{
    CameraConfig config;
    if (const char *size = std::getenv("PIXOLO_TESTCAM_SIZE"); size && *size) {
        if (!readSize(size, config.width, config.height)) {
            std::fprintf(stderr,
                "pixolotestcam: PIXOLO_TESTCAM_SIZE=\"%s\" is not WIDTHxHEIGHT with sides from %d to %d; "
                "using %dx%d\n",
                size, minimumSide, maximumSide, config.width, config.height);
        }
    }
    if (const char *format = std::getenv("PIXOLO_TESTCAM_FORMAT"); format && *format) {
        const std::string text(format);
        if (text == "mjpeg" || text == "MJPEG") {
            config.mjpeg = true;
        } else if (text != "yuy2" && text != "YUY2") {
            std::fprintf(
                stderr, "pixolotestcam: PIXOLO_TESTCAM_FORMAT=\"%s\" is neither yuy2 nor mjpeg; using yuy2\n", format);
        }
    }
    if (const char *vanish = std::getenv("PIXOLO_TESTCAM_VANISH_AFTER"); vanish && *vanish) {
        char *end = nullptr;
        const unsigned long frames = std::strtoul(vanish, &end, 10);
        if (*end != '\0' || vanish[0] == '-' || frames > 0xFFFFFFFFul) {
            std::fprintf(
                stderr, "pixolotestcam: PIXOLO_TESTCAM_VANISH_AFTER=\"%s\" is not a frame count; ignored\n", vanish);
        } else {
            config.vanishAfter = unsigned(frames);
        }
    }
    return config;
}

TestPicture::TestPicture(int width, int height)
    : m_width(width)
    , m_height(height)
    , m_barsEnd(height * 2 / 3)
    , m_counterTop(height - std::max(2, height / 24))
    , m_blockWidth(std::max(1, width / 32))
    , m_bars(size_t(width) * 3)
    , m_black(size_t(width) * 3, 0)
    , m_box(size_t(width) * 3)
    , m_counter(size_t(width) * 3)
{
    for (int x = 0; x < width; ++x) {
        put(m_bars, x, barColours[x * 8 / width]);
    }
    const int band = m_counterTop - m_barsEnd;
    m_boxSize = std::max(1, band / 2);
    m_boxTop = m_barsEnd + (band - m_boxSize) / 2;
}

void TestPicture::prepare(std::uint64_t frame)
{
    // The square enters at the left edge, crosses and leaves at the right, then starts again.
    const int travel = m_width + m_boxSize;
    const int left = int((frame * 8) % std::uint64_t(travel)) - m_boxSize;
    for (int x = 0; x < m_width; ++x) {
        put(m_box, x, x >= left && x < left + m_boxSize ? white : black);
    }
    const unsigned number = unsigned(frame & 0xFFFF);
    for (int x = 0; x < m_width; ++x) {
        const int block = x / m_blockWidth;
        put(m_counter, x, block >= 16 ? grey : (number >> (15 - block)) & 1 ? white : black);
    }
}

const std::uint8_t *TestPicture::rgbRow(int y) const
{
    if (y < m_barsEnd) {
        return m_bars.data();
    }
    if (y >= m_counterTop) {
        return m_counter.data();
    }
    return y >= m_boxTop && y < m_boxTop + m_boxSize ? m_box.data() : m_black.data();
}

void TestPicture::packYuy2(const std::uint8_t *rgb, std::uint8_t *out) const
{
    // Two pixels share one pair of colour differences: the mean of both. An odd last pixel pairs with itself.
    for (int x = 0; x < m_width; x += 2) {
        const std::uint8_t *first = rgb + size_t(x) * 3;
        const std::uint8_t *second = x + 1 < m_width ? first + 3 : first;
        const int r = (first[0] + second[0] + 1) / 2;
        const int g = (first[1] + second[1] + 1) / 2;
        const int b = (first[2] + second[2] + 1) / 2;
        out[size_t(x) * 2] = lumaOf(first[0], first[1], first[2]);
        out[size_t(x) * 2 + 1] = blueDifferenceOf(r, g, b);
        out[size_t(x) * 2 + 2] = lumaOf(second[0], second[1], second[2]);
        out[size_t(x) * 2 + 3] = redDifferenceOf(r, g, b);
    }
}

void TestPicture::writeYuy2(std::uint8_t *out, int stride) const
{
    // Each kind of row is converted once, then copied: the frame costs little more than its size in copies.
    const size_t rowBytes = size_t((m_width + 1) / 2) * 4;
    std::vector<std::uint8_t> converted(rowBytes * 4);
    const std::uint8_t *kinds[4] = { m_bars.data(), m_black.data(), m_box.data(), m_counter.data() };
    for (size_t i = 0; i < 4; ++i) {
        packYuy2(kinds[i], converted.data() + i * rowBytes);
    }
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t *rgb = rgbRow(y);
        const size_t kind = size_t(std::find(kinds, kinds + 4, rgb) - kinds);
        std::memcpy(out + size_t(y) * size_t(stride), converted.data() + kind * rowBytes, rowBytes);
    }
}

bool TestPicture::writeJpeg(std::vector<std::uint8_t> &out, int quality) const
{
    unsigned char *data = nullptr;
    unsigned long size = 0;
    const bool encoded = encodeJpeg(*this, quality, &data, &size);
    if (encoded) {
        out.assign(data, data + size);
    }
    std::free(data);
    return encoded;
}

} // namespace pixolo::testcam
