#pragma once

#include <QImage>

namespace pixolo
{

// A 24-bit top-down copy of a picture with direct row access, for routines that test single pixels (the region
// scan). Pixels are three bytes, blue, green, red; rows are padded to four bytes, so RowStride() is Width() × 3 +
// RowGap() with RowGap() = Width() mod 4.
class TbsFBitmap final
{
public:
    explicit TbsFBitmap(const QImage &source);

    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    int RowGap() const { return Width() % 4; }
    int RowStride() const { return Width() * 3 + RowGap(); }
    qsizetype Size() const { return qsizetype(RowStride()) * Height(); }

    const uchar *ScanLine(int row) const { return m_image.constScanLine(row); }
    uchar *ScanLine(int row) { return m_image.scanLine(row); }
    // True when the pixel's blue, green and red are all 0. Outside the picture nothing is black.
    bool isBlack(int x, int y) const;

private:
    QImage m_image; // Format_BGR888
};

} // namespace pixolo
