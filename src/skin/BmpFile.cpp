#include "skin/BmpFile.h"

#include <QFile>

#include <bit>
#include <climits>
#include <cstring>
#include <string>

namespace pixolo
{

namespace
{

constexpr qint64 s_fileHeaderSize = 14;
constexpr qint64 s_infoHeaderSize = 40;
constexpr quint32 s_biRgb = 0;
constexpr quint32 s_biBitfields = 3;

[[noreturn]] void invalid(const char *why)
{
    throw EInvalidGraphic(std::string("Bitmap image is not valid: ") + why);
}

quint16 u16(QByteArrayView d, qint64 at)
{
    return quint16(uchar(d[at]) | uchar(d[at + 1]) << 8);
}

quint32 u32(QByteArrayView d, qint64 at)
{
    return quint32(uchar(d[at])) | quint32(uchar(d[at + 1])) << 8 | quint32(uchar(d[at + 2])) << 16
        | quint32(uchar(d[at + 3])) << 24;
}

struct Masks {
    quint32 red;
    quint32 green;
    quint32 blue;
    friend bool operator==(const Masks &, const Masks &) = default;
};

constexpr Masks s_masks555 { 0x7C00, 0x03E0, 0x001F };
constexpr Masks s_masks565 { 0xF800, 0x07E0, 0x001F };
constexpr Masks s_masks888 { 0x00FF0000, 0x0000FF00, 0x000000FF };

// A channel picked out by a bit-field mask, scaled to 0…255.
int channel(quint32 pixel, quint32 mask)
{
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const quint32 max = mask >> shift;
    const quint64 value = (pixel & mask) >> shift;
    return int(value * 255 / max);
}

bool isKnownInfoSize(quint32 size)
{
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

struct Layout {
    int width = 0;
    int rows = 0;
    bool bottomUp = true;
    int bpp = 0;
    Masks masks {};
    QList<QRgb> colours;
    qint64 offBits = 0;
    qint64 stride = 0;
};

Layout parseHeaders(QByteArrayView file)
{
    Layout l;
    const quint32 infoSize = u32(file, 14);
    if (!isKnownInfoSize(infoSize)) {
        invalid("unknown information header");
    }
    if (s_fileHeaderSize + infoSize > file.size()) {
        invalid("information header beyond the file");
    }
    const qint32 width = qint32(u32(file, 18));
    const qint32 height = qint32(u32(file, 22));
    const quint16 planes = u16(file, 26);
    l.bpp = u16(file, 28);
    const quint32 compression = u32(file, 30);
    const quint32 clrUsed = u32(file, 46);
    if (planes != 1) {
        invalid("plane count is not 1");
    }
    if (width <= 0 || height == 0 || height == INT_MIN) {
        invalid("bad width or height");
    }
    if (l.bpp != 1 && l.bpp != 4 && l.bpp != 8 && l.bpp != 16 && l.bpp != 24 && l.bpp != 32) {
        invalid("unsupported bit depth");
    }
    if (compression != s_biRgb && !(compression == s_biBitfields && (l.bpp == 16 || l.bpp == 32))) {
        invalid("unsupported compression");
    }
    l.width = width;
    l.rows = height < 0 ? -height : height;
    if (qint64(l.width) * l.rows > s_maxPicturePixels) {
        invalid("more pixels than a picture may have");
    }
    l.bottomUp = height > 0;

    qint64 tableStart = s_fileHeaderSize + infoSize;
    l.masks = l.bpp == 16 ? s_masks555 : s_masks888;
    if (compression == s_biBitfields) {
        // The three masks follow a 40-byte header, or are its successors' own fields: file offset 54 either way.
        if (infoSize == s_infoHeaderSize) {
            tableStart += 12;
        }
        if (tableStart > file.size()) {
            invalid("bit-field masks beyond the file");
        }
        l.masks = { u32(file, 54), u32(file, 58), u32(file, 62) };
    }
    if (l.bpp <= 8) {
        const qint64 maxEntries = qint64(1) << l.bpp;
        const qint64 entries = clrUsed == 0 ? maxEntries : qint64(clrUsed);
        if (entries > maxEntries) {
            invalid("colour table larger than the bit depth allows");
        }
        if (tableStart + entries * 4 > file.size()) {
            invalid("colour table beyond the file");
        }
        for (qint64 i = 0; i < maxEntries; ++i) { // indexes past a short table read as black
            const qint64 at = tableStart + i * 4;
            l.colours.append(
                i < entries ? qRgb(uchar(file[at + 2]), uchar(file[at + 1]), uchar(file[at])) : qRgb(0, 0, 0));
        }
        tableStart += entries * 4;
    }
    l.offBits = u32(file, 10);
    if (l.offBits < tableStart || l.offBits > file.size()) {
        invalid("pixel data offset outside the file");
    }
    l.stride = (qint64(l.width) * l.bpp + 31) / 32 * 4;
    if (qint64(l.rows) > (file.size() - l.offBits) / l.stride) {
        invalid("pixel data beyond the file");
    }
    return l;
}

void unpackIndexes(const uchar *src, uchar *dst, int width, int bpp)
{
    if (bpp == 8) {
        std::memcpy(dst, src, size_t(width));
        return;
    }
    const int perByte = 8 / bpp;
    const int mask = (1 << bpp) - 1;
    for (int x = 0; x < width; ++x) {
        const int shift = 8 - bpp * (x % perByte + 1);
        dst[x] = uchar((src[x / perByte] >> shift) & mask);
    }
}

TBitmap decode(QByteArrayView file, const Layout &l)
{
    TPixelFormat format = pf32bit;
    QImage::Format qformat = QImage::Format_RGB32;
    switch (l.bpp) {
    case 1:
    case 4:
    case 8:
        format = l.bpp == 1 ? pf1bit : l.bpp == 4 ? pf4bit : pf8bit;
        qformat = QImage::Format_Indexed8;
        break;
    case 16:
        if (l.masks == s_masks555 || l.masks == s_masks565) {
            format = l.masks == s_masks555 ? pf15bit : pf16bit;
            qformat = l.masks == s_masks555 ? QImage::Format_RGB555 : QImage::Format_RGB16;
        }
        break;
    case 24:
        format = pf24bit;
        qformat = QImage::Format_BGR888;
        break;
    default:
        break;
    }
    QImage image(l.width, l.rows, qformat);
    if (image.isNull()) {
        invalid("too large to hold");
    }
    if (qformat == QImage::Format_Indexed8) {
        image.setColorTable(l.colours);
    }
    const auto *base = reinterpret_cast<const uchar *>(file.data()) + l.offBits;
    for (int r = 0; r < l.rows; ++r) {
        const uchar *src = base + qint64(r) * l.stride;
        uchar *dst = image.scanLine(l.bottomUp ? l.rows - 1 - r : r);
        if (qformat == QImage::Format_Indexed8) {
            unpackIndexes(src, dst, l.width, l.bpp);
        } else if (qformat == QImage::Format_BGR888) {
            std::memcpy(dst, src, size_t(l.width) * 3);
        } else if (qformat != QImage::Format_RGB32) {
            auto *out = reinterpret_cast<quint16 *>(dst);
            for (int x = 0; x < l.width; ++x) {
                out[x] = quint16(src[2 * x] | src[2 * x + 1] << 8);
            }
        } else {
            auto *out = reinterpret_cast<QRgb *>(dst);
            const int bytes = l.bpp / 8;
            for (int x = 0; x < l.width; ++x) {
                const uchar *p = src + qint64(x) * bytes;
                const quint32 pixel = bytes == 2 ? quint32(p[0] | p[1] << 8) : u32(QByteArrayView(p, 4), 0);
                out[x] = qRgb(channel(pixel, l.masks.red), channel(pixel, l.masks.green), channel(pixel, l.masks.blue));
            }
        }
    }
    TBitmap bitmap;
    bitmap.setImage(image, format);
    return bitmap;
}

void put16(QByteArray &out, qint64 at, quint32 v)
{
    out[at] = char(v & 0xFF);
    out[at + 1] = char((v >> 8) & 0xFF);
}

void put32(QByteArray &out, qint64 at, quint32 v)
{
    put16(out, at, v & 0xFFFF);
    put16(out, at + 2, v >> 16);
}

} // namespace

TBitmap readBmp(QByteArrayView data, qsizetype *consumed)
{
    if (data.size() < s_fileHeaderSize || data[0] != 'B' || data[1] != 'M') {
        invalid("no \"BM\" file header");
    }
    const quint32 fileSize = u32(data, 2);
    if (fileSize < s_fileHeaderSize + s_infoHeaderSize) {
        invalid("size field too small");
    }
    if (fileSize > quint64(data.size())) {
        invalid("data shorter than the size field");
    }
    const QByteArrayView file = data.first(fileSize);
    TBitmap bitmap = decode(file, parseHeaders(file));
    if (consumed) {
        *consumed = fileSize;
    }
    return bitmap;
}

QByteArray writeBmp(const TBitmap &bitmap)
{
    if (bitmap.Empty()) {
        invalid("an empty bitmap has no file form");
    }
    const QImage &image = bitmap.image();
    const TPixelFormat format = bitmap.PixelFormat();
    const int bpp = format == pf1bit             ? 1
        : format == pf4bit                       ? 4
        : format == pf8bit                       ? 8
        : format == pf15bit || format == pf16bit ? 16
        : format == pf24bit                      ? 24
                                                 : 32;
    const bool bitfields = format == pf16bit;
    const qint64 entries = bpp <= 8 ? qint64(1) << bpp : 0;
    const int width = image.width();
    const int height = image.height();
    const qint64 stride = (qint64(width) * bpp + 31) / 32 * 4;
    const qint64 offBits = s_fileHeaderSize + s_infoHeaderSize + (bitfields ? 12 : 0) + entries * 4;
    const qint64 fileSize = offBits + stride * height;
    if (fileSize > qint64(UINT32_MAX)) {
        invalid("too large for the file format");
    }
    QByteArray out(fileSize, '\0');
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, quint32(fileSize));
    put32(out, 10, quint32(offBits));
    put32(out, 14, quint32(s_infoHeaderSize));
    put32(out, 18, quint32(width));
    put32(out, 22, quint32(height));
    put16(out, 26, 1);
    put16(out, 28, quint32(bpp));
    put32(out, 30, bitfields ? s_biBitfields : s_biRgb);
    put32(out, 34, quint32(stride * height));
    if (bitfields) {
        put32(out, 54, s_masks565.red);
        put32(out, 58, s_masks565.green);
        put32(out, 62, s_masks565.blue);
    }
    const QList<QRgb> table = image.colorTable();
    for (qint64 i = 0; i < entries; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        const qint64 at = s_fileHeaderSize + s_infoHeaderSize + i * 4;
        out[at] = char(qBlue(c));
        out[at + 1] = char(qGreen(c));
        out[at + 2] = char(qRed(c));
    }
    const int indexMask = bpp <= 8 ? (1 << bpp) - 1 : 0;
    for (int y = 0; y < height; ++y) {
        const uchar *src = image.constScanLine(y);
        auto *dst = reinterpret_cast<uchar *>(out.data()) + offBits + qint64(height - 1 - y) * stride;
        if (bpp <= 8) {
            const int perByte = 8 / bpp;
            for (int x = 0; x < width; ++x) {
                dst[x / perByte] |= uchar((src[x] & indexMask) << (8 - bpp * (x % perByte + 1)));
            }
        } else if (bpp == 16) {
            const auto *in = reinterpret_cast<const quint16 *>(src);
            for (int x = 0; x < width; ++x) {
                dst[2 * x] = uchar(in[x] & 0xFF);
                dst[2 * x + 1] = uchar(in[x] >> 8);
            }
        } else if (bpp == 24) {
            std::memcpy(dst, src, size_t(width) * 3);
        } else {
            const auto *in = reinterpret_cast<const QRgb *>(src);
            for (int x = 0; x < width; ++x) {
                dst[4 * x] = uchar(qBlue(in[x]));
                dst[4 * x + 1] = uchar(qGreen(in[x]));
                dst[4 * x + 2] = uchar(qRed(in[x]));
            }
        }
    }
    return out;
}

TBitmap loadBmpFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EFOpenError("Cannot open file \"" + path.toStdString() + "\". " + file.errorString().toStdString());
    }
    try {
        return readBmp(file.readAll());
    } catch (const EInvalidGraphic &e) {
        throw EInvalidGraphic(std::string(e.what()) + " (" + path.toStdString() + ")");
    }
}

void saveBmpFile(const TBitmap &bitmap, const QString &path)
{
    const QByteArray bytes = writeBmp(bitmap);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()) {
        throw EFOpenError("Cannot create file \"" + path.toStdString() + "\". " + file.errorString().toStdString());
    }
}

} // namespace pixolo
