#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pixolo::testcam
{

// What the virtual cameras send and how they come and go, from the environment:
//   PIXOLO_TESTCAM_SIZE          "1280x720" (default 640x480)
//   PIXOLO_TESTCAM_FORMAT        "yuy2" (default), "mjpeg" or "i420"
//   PIXOLO_TESTCAM_VANISH_AFTER  a frame count after which a camera fails as an unplugged one does and stays away
//                                (0 or unset: never)
//   PIXOLO_TESTCAM_COUNT         N cameras "Pixolo Test Camera 1" … "Pixolo Test Camera N", each with its own
//                                picture (unset: one camera, "Pixolo Test Camera")
//   PIXOLO_TESTCAM_PLUG_FILE     the cameras are present only while this file exists (checked every 100 ms; a
//                                running camera fails like an unplugged one when it goes)
//   PIXOLO_TESTCAM_STAMP         "1": each frame carries its sequence number and capture time (see TestPicture)
//   PIXOLO_TESTCAM_BUSY          "1": the cameras are listed but refuse to start, as a device another program holds
//   PIXOLO_TESTCAM_BUSY_FILE     the cameras refuse to start that way while this file exists
//   PIXOLO_TESTCAM_STALL         seconds: starting a camera takes that long (the thread that starts it waits), and
//                                then it sends nothing until it is stopped, as a stream whose system never delivers
struct CameraConfig {
    enum Format { Yuy2, Mjpeg, I420 };

    int width = 640;
    int height = 480;
    Format format = Yuy2;
    unsigned vanishAfter = 0;
    int count = 0; // 0: one camera without a number
    std::string plugFile;
    bool stamp = false;
    bool busy = false;
    std::string busyFile;
    unsigned stallSeconds = 0;

    static constexpr int framesPerSecond = 30;
    static constexpr int minimumSide = 16;
    static constexpr int maximumSide = 8192;
    static constexpr int maximumCount = 16;

    // Values that cannot be read are reported on standard error and left at their defaults.
    static CameraConfig fromEnvironment();

    // The display name of camera `index` (0-based) of `count`.
    static std::string displayName(int index, int count);
};

// What a stamped frame carries in its top rows.
struct Stamp {
    std::uint32_t sequence = 0; // the frame's number since its camera started
    std::uint64_t timeUs = 0; // when it was made: the monotonic clock in microseconds, its low 48 bits
};

// The moving test picture. From the top: eight colour bars over two thirds of the height (white, yellow, cyan, green,
// magenta, red, blue, black for the first camera; each further camera turns them by one: its bar 0 is the previous
// camera's bar 1); a black band in which a white square moves 8 pixels to the right each frame; and a counter row of
// sixteen black or white blocks, the frame number in binary, most significant bit first.
//
// A stamped picture also carries, over the top two bands of 1/24 of the height each, 48 black or white blocks per
// band: the sequence number (32 bits, then its complement's low 16 bits as a check) and the capture time (48 bits),
// most significant bit first. Block i of a band covers the columns x with x * 48 / width == i, so the code survives
// scaling to any size and JPEG compression.
class TestPicture
{
public:
    TestPicture(int width, int height, int cameraIndex = 0, bool stamped = false);

    int width() const { return m_width; }
    int height() const { return m_height; }

    // Where the counter blocks are, so that a reader of a frame can find its number.
    int blockWidth() const { return m_blockWidth; }
    int counterTop() const { return m_counterTop; }
    int counterHeight() const { return m_height - m_counterTop; }

    // Prepares the rows of one frame; `stamp` is drawn when the picture is stamped.
    void prepare(std::uint64_t frame, const Stamp &stamp = {});
    // Row y of the prepared frame as RGB, three bytes a pixel.
    const std::uint8_t *rgbRow(int y) const;
    // The prepared frame as YUY2 (BT.601, limited range) with the given row stride.
    void writeYuy2(std::uint8_t *out, int stride) const;
    // The prepared frame as I420 (BT.601, limited range): three planes with their own strides.
    void writeI420(std::uint8_t *y, int yStride, std::uint8_t *u, int uStride, std::uint8_t *v, int vStride) const;
    // The prepared frame as a baseline JPEG; false when the encoder fails.
    bool writeJpeg(std::vector<std::uint8_t> &out, int quality) const;

    static constexpr int stampBits = 48;
    // Reads the stamp of a picture of any size, given its brightness (0 to 255) at a pixel; none when the blocks
    // do not check out (no stamp, or a damaged one).
    static std::optional<Stamp> readStamp(int width, int height, const std::function<int(int x, int y)> &brightness);

private:
    void packYuy2(const std::uint8_t *rgb, std::uint8_t *out) const;
    // The distinct rows of the prepared frame, in a fixed order; rgbRow returns one of them.
    std::vector<const std::uint8_t *> rowKinds() const;

    int m_width;
    int m_height;
    bool m_stamped;
    int m_stampBand;
    int m_barsEnd;
    int m_counterTop;
    int m_blockWidth;
    int m_boxTop;
    int m_boxSize;
    std::vector<std::uint8_t> m_bars; // the bars row
    std::vector<std::uint8_t> m_black; // a black row
    std::vector<std::uint8_t> m_box; // a row through the moving square
    std::vector<std::uint8_t> m_counter; // a row through the counter blocks
    std::vector<std::uint8_t> m_stampRows[2]; // the two stamp bands
};

} // namespace pixolo::testcam
