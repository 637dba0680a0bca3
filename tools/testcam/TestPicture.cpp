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
            config.format = Mjpeg;
        } else if (text == "i420" || text == "I420") {
            config.format = I420;
        } else if (text != "yuy2" && text != "YUY2") {
            std::fprintf(
                stderr, "pixolotestcam: PIXOLO_TESTCAM_FORMAT=\"%s\" is not yuy2, mjpeg or i420; using yuy2\n", format);
        }
    }
    if (const char *count = std::getenv("PIXOLO_TESTCAM_COUNT"); count && *count) {
        char *end = nullptr;
        const long value = std::strtol(count, &end, 10);
        if (*end != '\0' || value < 1 || value > maximumCount) {
            std::fprintf(stderr, "pixolotestcam: PIXOLO_TESTCAM_COUNT=\"%s\" is not a count from 1 to %d; ignored\n",
                count, maximumCount);
        } else {
            config.count = int(value);
        }
    }
    if (const char *plugFile = std::getenv("PIXOLO_TESTCAM_PLUG_FILE"); plugFile && *plugFile) {
        config.plugFile = plugFile;
    }
    if (const char *stamp = std::getenv("PIXOLO_TESTCAM_STAMP"); stamp && *stamp) {
        config.stamp = std::string(stamp) == "1";
    }
    if (const char *busy = std::getenv("PIXOLO_TESTCAM_BUSY"); busy && *busy) {
        config.busy = std::string(busy) == "1";
    }
    if (const char *busyFile = std::getenv("PIXOLO_TESTCAM_BUSY_FILE"); busyFile && *busyFile) {
        config.busyFile = busyFile;
    }
    if (const char *stall = std::getenv("PIXOLO_TESTCAM_STALL"); stall && *stall) {
        char *end = nullptr;
        const unsigned long seconds = std::strtoul(stall, &end, 10);
        if (*end != '\0' || stall[0] == '-' || seconds > 3600) {
            std::fprintf(
                stderr, "pixolotestcam: PIXOLO_TESTCAM_STALL=\"%s\" is not a number of seconds; ignored\n", stall);
        } else {
            config.stallSeconds = unsigned(seconds);
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

std::string CameraConfig::displayName(int index, int count)
{
    return count <= 0 ? std::string("Pixolo Test Camera") : "Pixolo Test Camera " + std::to_string(index + 1);
}

TestPicture::TestPicture(int width, int height, int cameraIndex, bool stamped)
    : m_width(width)
    , m_height(height)
    , m_stamped(stamped)
    , m_stampBand(std::max(1, height / 24))
    , m_barsEnd(height * 2 / 3)
    , m_counterTop(height - std::max(2, height / 24))
    , m_blockWidth(std::max(1, width / 32))
    , m_bars(size_t(width) * 3)
    , m_black(size_t(width) * 3, 0)
    , m_box(size_t(width) * 3)
    , m_counter(size_t(width) * 3)
    , m_stampRows { std::vector<std::uint8_t>(size_t(width) * 3), std::vector<std::uint8_t>(size_t(width) * 3) }
{
    const int turn = ((cameraIndex % 8) + 8) % 8;
    for (int x = 0; x < width; ++x) {
        put(m_bars, x, barColours[(x * 8 / width + turn) % 8]);
    }
    const int band = m_counterTop - m_barsEnd;
    m_boxSize = std::max(1, band / 2);
    m_boxTop = m_barsEnd + (band - m_boxSize) / 2;
}

void TestPicture::prepare(std::uint64_t frame, const Stamp &stamp)
{
    if (m_stamped) {
        const std::uint64_t check = ~std::uint64_t(stamp.sequence) & 0xFFFF;
        const std::uint64_t bands[2]
            = { (std::uint64_t(stamp.sequence) << 16) | check, stamp.timeUs & ((std::uint64_t(1) << stampBits) - 1) };
        for (int band = 0; band < 2; ++band) {
            for (int x = 0; x < m_width; ++x) {
                const int bit = x * stampBits / m_width;
                put(m_stampRows[band], x, (bands[band] >> (stampBits - 1 - bit)) & 1 ? white : black);
            }
        }
    }
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
    if (m_stamped && y < 2 * m_stampBand) {
        return m_stampRows[y / m_stampBand].data();
    }
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

std::vector<const std::uint8_t *> TestPicture::rowKinds() const
{
    std::vector<const std::uint8_t *> kinds { m_bars.data(), m_black.data(), m_box.data(), m_counter.data() };
    if (m_stamped) {
        kinds.push_back(m_stampRows[0].data());
        kinds.push_back(m_stampRows[1].data());
    }
    return kinds;
}

void TestPicture::writeYuy2(std::uint8_t *out, int stride) const
{
    // Each kind of row is converted once, then copied: the frame costs little more than its size in copies.
    const size_t rowBytes = size_t((m_width + 1) / 2) * 4;
    const std::vector<const std::uint8_t *> kinds = rowKinds();
    std::vector<std::uint8_t> converted(rowBytes * kinds.size());
    for (size_t i = 0; i < kinds.size(); ++i) {
        packYuy2(kinds[i], converted.data() + i * rowBytes);
    }
    for (int y = 0; y < m_height; ++y) {
        const size_t kind = size_t(std::find(kinds.begin(), kinds.end(), rgbRow(y)) - kinds.begin());
        std::memcpy(out + size_t(y) * size_t(stride), converted.data() + kind * rowBytes, rowBytes);
    }
}

void TestPicture::writeI420(
    std::uint8_t *y, int yStride, std::uint8_t *u, int uStride, std::uint8_t *v, int vStride) const
{
    for (int row = 0; row < m_height; ++row) {
        const std::uint8_t *rgb = rgbRow(row);
        for (int x = 0; x < m_width; ++x) {
            y[size_t(row) * size_t(yStride) + size_t(x)] = lumaOf(rgb[x * 3], rgb[x * 3 + 1], rgb[x * 3 + 2]);
        }
    }
    // Each colour difference covers two by two pixels: their mean (an odd last row or column pairs with itself).
    for (int row = 0; row < (m_height + 1) / 2; ++row) {
        const std::uint8_t *top = rgbRow(row * 2);
        const std::uint8_t *bottom = rgbRow(std::min(row * 2 + 1, m_height - 1));
        for (int x = 0; x < (m_width + 1) / 2; ++x) {
            const int left = x * 2;
            const int right = std::min(left + 1, m_width - 1);
            int sum[3] = { 0, 0, 0 };
            for (const std::uint8_t *rgb : { top, bottom }) {
                for (const int column : { left, right }) {
                    for (int c = 0; c < 3; ++c) {
                        sum[c] += rgb[column * 3 + c];
                    }
                }
            }
            const int r = (sum[0] + 2) / 4;
            const int g = (sum[1] + 2) / 4;
            const int b = (sum[2] + 2) / 4;
            u[size_t(row) * size_t(uStride) + size_t(x)] = blueDifferenceOf(r, g, b);
            v[size_t(row) * size_t(vStride) + size_t(x)] = redDifferenceOf(r, g, b);
        }
    }
}

std::optional<Stamp> TestPicture::readStamp(int width, int height, const std::function<int(int x, int y)> &brightness)
{
    if (width < stampBits || height < 24) {
        return std::nullopt;
    }
    std::uint64_t bands[2] = { 0, 0 };
    for (int band = 0; band < 2; ++band) {
        // The middle of each block, in the picture's own size: band b spans rows b/24 to (b+1)/24 of the height.
        const int y = int((band + 0.5) * height / 24.0);
        for (int bit = 0; bit < stampBits; ++bit) {
            const int x = int((bit + 0.5) * width / double(stampBits));
            bands[band] = (bands[band] << 1) | (brightness(x, y) >= 128 ? 1 : 0);
        }
    }
    const std::uint32_t sequence = std::uint32_t(bands[0] >> 16);
    if ((bands[0] & 0xFFFF) != (~std::uint64_t(sequence) & 0xFFFF)) {
        return std::nullopt;
    }
    return Stamp { sequence, bands[1] };
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
