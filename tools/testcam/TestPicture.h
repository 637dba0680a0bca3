#pragma once

#include <cstdint>
#include <vector>

namespace pixolo::testcam
{

// What the virtual camera sends, from the environment: PIXOLO_TESTCAM_SIZE ("1280x720"), PIXOLO_TESTCAM_FORMAT
// ("yuy2", the default, or "mjpeg") and PIXOLO_TESTCAM_VANISH_AFTER (a frame count after which the camera fails
// as an unplugged one does; 0 or unset: never).
struct CameraConfig {
    int width = 640;
    int height = 480;
    bool mjpeg = false;
    unsigned vanishAfter = 0;

    static constexpr int framesPerSecond = 30;
    static constexpr int minimumSide = 16;
    static constexpr int maximumSide = 8192;

    // Values that cannot be read are reported on standard error and left at their defaults.
    static CameraConfig fromEnvironment();
};

// The moving test picture. From the top: eight colour bars (white, yellow, cyan, green, magenta, red, blue, black)
// over two thirds of the height; a black band in which a white square moves 8 pixels to the right each frame; and a
// counter row of sixteen black or white blocks, the frame number in binary, most significant bit first.
class TestPicture
{
public:
    TestPicture(int width, int height);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Where the counter blocks are, so that a reader of a frame can find its number.
    int blockWidth() const { return m_blockWidth; }
    int counterTop() const { return m_counterTop; }
    int counterHeight() const { return m_height - m_counterTop; }

    // Prepares the rows of one frame.
    void prepare(std::uint64_t frame);
    // Row y of the prepared frame as RGB, three bytes a pixel.
    const std::uint8_t *rgbRow(int y) const;
    // The prepared frame as YUY2 (BT.601, limited range) with the given row stride.
    void writeYuy2(std::uint8_t *out, int stride) const;
    // The prepared frame as a baseline JPEG; false when the encoder fails.
    bool writeJpeg(std::vector<std::uint8_t> &out, int quality) const;

private:
    void packYuy2(const std::uint8_t *rgb, std::uint8_t *out) const;

    int m_width;
    int m_height;
    int m_barsEnd;
    int m_counterTop;
    int m_blockWidth;
    int m_boxTop;
    int m_boxSize;
    std::vector<std::uint8_t> m_bars; // the bars row
    std::vector<std::uint8_t> m_black; // a black row
    std::vector<std::uint8_t> m_box; // a row through the moving square
    std::vector<std::uint8_t> m_counter; // a row through the counter blocks
};

} // namespace pixolo::testcam
