#pragma once

#include "platform/TBitmap.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <stdexcept>

namespace pixolo
{

// A picture that is not a valid BMP file: "Bitmap image is not valid", with the reason.
class EInvalidGraphic : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be opened or read.
class EFOpenError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The most pixels a picture may have: a skin's pictures are small, and the bound keeps a header that claims a huge
// size (with the rows packed into a small zlib stream) from taking gigabytes.
inline constexpr qint64 s_maxPicturePixels = qint64(4096) * 4096;

// Reads one BMP file from the start of data: the 14-byte file header, an information header of 40 bytes or one of
// its longer successors, the colour table and the rows. The file header's size field says where the file ends;
// it must lie within data, and so must everything the headers point at. Depths 1, 4, 8, 16, 24 and 32 are read,
// uncompressed or (16 and 32) with bit-field masks; the bitmap keeps the depth as its pixel format. A picture of
// more than s_maxPicturePixels pixels is refused.
// *consumed receives the size field. Throws EInvalidGraphic.
TBitmap readBmp(QByteArrayView data, qsizetype *consumed = nullptr);

// The bitmap as a complete BMP file in its own pixel format (bottom-up rows, no gap, size field = length).
// Throws EInvalidGraphic for an empty bitmap.
QByteArray writeBmp(const TBitmap &bitmap);

// Whole files: EFOpenError when the file cannot be read or written, EInvalidGraphic for bad content.
TBitmap loadBmpFile(const QString &path);
void saveBmpFile(const TBitmap &bitmap, const QString &path);

} // namespace pixolo
