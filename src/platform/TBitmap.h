#pragma once

#include <QImage>

namespace pixolo
{

// Pixel formats a bitmap can hold. pfDevice means "no pixels yet".
enum TPixelFormat : int { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// A device-independent bitmap: a pixel format, a size and row access, over a QImage.
//
// Storage per format: pf24bit is QImage::Format_BGR888 (three bytes a pixel, blue first, the byte order of a
// 24-bit bitmap file and of the camera frames); pf32bit is Format_RGB32; pf15bit/pf16bit are Format_RGB555 and
// Format_RGB16; pf1bit, pf4bit and pf8bit are Format_Indexed8 with their colour table (one byte a pixel in
// memory, whatever the format's depth on disk). Rows are top-down in memory; ScanLine(0) is the top row.
class TBitmap
{
public:
    TBitmap() = default;
    TBitmap(int width, int height, TPixelFormat format);
    explicit TBitmap(const QImage &image); // takes the image's nearest format

    bool Empty() const { return m_image.isNull() || m_image.width() == 0 || m_image.height() == 0; }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    TPixelFormat PixelFormat() const { return m_format; }

    // Changing the format converts the pixels; changing the size keeps the top-left overlap, rest black.
    void SetPixelFormat(TPixelFormat format);
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }
    void Assign(const TBitmap &other) { *this = other; }
    void Clear(); // back to an empty bitmap

    uchar *ScanLine(int row);
    const uchar *ScanLine(int row) const;
    qsizetype BytesPerLine() const { return m_image.bytesPerLine(); }

    // The pixels as a QImage in the storage format above (shared, copy-on-write).
    const QImage &image() const { return m_image; }
    // The pixels in Format_RGB32, the form every drawing routine works in: the kept copy when there is one,
    // converted at each call otherwise.
    QImage toRgb32() const;
    // Converts the pixels to Format_RGB32 once and keeps that copy for toRgb32, until the pixels change. For
    // pictures drawn many times (a skin's), at the price of their memory twice.
    void cacheRgb32();
    // Replaces the pixels; the format is given because an 8-bit image may stand for a 1- or 4-bit bitmap.
    void setImage(const QImage &image, TPixelFormat format);

    static QImage::Format storageFormat(TPixelFormat format);

private:
    QImage m_image;
    QImage m_rgb32; // the kept copy of cacheRgb32, or null
    TPixelFormat m_format = pfDevice;
};

} // namespace pixolo
