#pragma once

// Skin containers built field by field, for the tests of the container reader and the store.
#include "platform/TBitmap.h"
#include "skin/BmpFile.h"
#include "skin/SkinIni.h"
#include "skin/TCustomZlibStream.h"
#include "skin/TbsCompressedStoredSkin.h"

#include <QByteArray>

#include <initializer_list>

namespace pixolo::test
{

// A description from its lines.
inline SkinIni ini(std::initializer_list<const char *> lines)
{
    QStringList list;
    for (const char *line : lines) {
        list.append(QString::fromUtf8(line));
    }
    return SkinIni(list);
}

// A bitmap of one colour in the given format (indexed formats get a two-entry table: black, that colour).
inline TBitmap solidBitmap(int width, int height, TPixelFormat format, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    TBitmap bitmap;
    if (TBitmap::storageFormat(format) == QImage::Format_Indexed8) {
        QImage indexed(width, height, QImage::Format_Indexed8);
        indexed.setColorTable({ qRgb(0, 0, 0), colour });
        indexed.fill(1);
        bitmap.setImage(indexed, format);
    } else {
        bitmap.setImage(image, format);
    }
    return bitmap;
}

class ContainerBuilder
{
public:
    ContainerBuilder &integer(qint32 value)
    {
        writeContainerInteger(m_stream, value);
        return *this;
    }
    ContainerBuilder &flagged(const TBitmap &bitmap)
    {
        writeFlaggedBitmap(m_stream, bitmap);
        return *this;
    }
    ContainerBuilder &bitmap(const TBitmap &bitmap)
    {
        const QByteArray bmp = writeBmp(bitmap);
        return raw(bmp);
    }
    ContainerBuilder &raw(const QByteArray &bytes)
    {
        m_stream.WriteBuffer(bytes.constData(), bytes.size());
        return *this;
    }

    const QByteArray &inflated() const { return m_stream.Data(); }

    QByteArray compressed() const
    {
        TMemoryStream source(m_stream.Data());
        TMemoryStream dest;
        CompressStream(source, dest);
        return dest.Data();
    }

    // Copies into a stored skin owned by the caller.
    void into(TbsCompressedStoredSkin &skin) const { skin.SetCompressedData(compressed()); }

private:
    TMemoryStream m_stream;
};

// The three form pictures of a small skin: a 4 × 3 8-bit picture, no inactive picture, a 4 × 3 1-bit mask.
inline ContainerBuilder &formPictures(ContainerBuilder &b)
{
    return b.flagged(solidBitmap(4, 3, pf8bit, qRgb(10, 20, 30)))
        .flagged(TBitmap())
        .flagged(solidBitmap(4, 3, pf1bit, qRgb(255, 255, 255)));
}

} // namespace pixolo::test
