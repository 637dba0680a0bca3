#include "platform/TBitmap.h"

#include <algorithm>
#include <cstring>

namespace pixolo
{

namespace
{

QList<QRgb> greyTable(int colours)
{
    QList<QRgb> table;
    table.reserve(colours);
    for (int i = 0; i < colours; ++i) {
        const int v = colours > 1 ? i * 255 / (colours - 1) : 0;
        table.append(qRgb(v, v, v));
    }
    return table;
}

TPixelFormat formatOf(const QImage &image)
{
    switch (image.format()) {
    case QImage::Format_Invalid:
        return pfDevice;
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return pf1bit;
    case QImage::Format_Indexed8:
        return pf8bit;
    case QImage::Format_RGB555:
        return pf15bit;
    case QImage::Format_RGB16:
        return pf16bit;
    case QImage::Format_BGR888:
    case QImage::Format_RGB888:
        return pf24bit;
    default:
        return pf32bit;
    }
}

} // namespace

QImage::Format TBitmap::storageFormat(TPixelFormat format)
{
    switch (format) {
    case pfDevice:
        return QImage::Format_Invalid;
    case pf1bit:
    case pf4bit:
    case pf8bit:
        return QImage::Format_Indexed8;
    case pf15bit:
        return QImage::Format_RGB555;
    case pf16bit:
        return QImage::Format_RGB16;
    case pf24bit:
        return QImage::Format_BGR888;
    case pf32bit:
        return QImage::Format_RGB32;
    }
    return QImage::Format_Invalid;
}

TBitmap::TBitmap(int width, int height, TPixelFormat format)
    : m_format(format)
{
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage &image)
{
    const TPixelFormat format = formatOf(image);
    setImage(format == pf1bit ? image.convertToFormat(QImage::Format_Indexed8) : image, format);
}

void TBitmap::setImage(const QImage &image, TPixelFormat format)
{
    m_rgb32 = QImage();
    m_format = format;
    if (format == pfDevice || image.isNull()) {
        m_image = QImage();
        return;
    }
    const QImage::Format wanted = storageFormat(format);
    m_image = image.format() == wanted ? image : image.convertToFormat(wanted);
}

void TBitmap::SetPixelFormat(TPixelFormat format)
{
    if (format == m_format) {
        return;
    }
    if (m_image.isNull()) {
        m_format = format;
        return;
    }
    QImage converted;
    if (storageFormat(format) == QImage::Format_Indexed8 && m_image.format() != QImage::Format_Indexed8) {
        const int colours = format == pf1bit ? 2 : format == pf4bit ? 16 : 256;
        converted = m_image.convertToFormat(QImage::Format_Indexed8, greyTable(colours), Qt::ThresholdDither);
    } else {
        converted = m_image.convertToFormat(storageFormat(format));
    }
    setImage(converted, format);
}

void TBitmap::SetSize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (!m_image.isNull() && width == m_image.width() && height == m_image.height()) {
        return;
    }
    m_rgb32 = QImage();
    if (m_format == pfDevice) {
        m_format = pf24bit;
    }
    if (width == 0 || height == 0) {
        m_image = QImage();
        return;
    }
    QImage resized(width, height, storageFormat(m_format));
    if (resized.isNull()) { // allocation refused: stay as we were rather than half-made
        return;
    }
    if (resized.format() == QImage::Format_Indexed8) {
        const int colours = m_format == pf1bit ? 2 : m_format == pf4bit ? 16 : 256;
        resized.setColorTable(m_image.isNull() ? greyTable(colours) : m_image.colorTable());
    }
    resized.fill(0);
    if (!m_image.isNull()) {
        const int rows = std::min(height, m_image.height());
        const qsizetype bytes = std::min(resized.bytesPerLine(), m_image.bytesPerLine());
        const qsizetype used = qsizetype(std::min(width, m_image.width())) * m_image.depth() / 8;
        for (int y = 0; y < rows; ++y) {
            std::memcpy(resized.scanLine(y), m_image.constScanLine(y), std::min(bytes, used));
        }
    }
    m_image = resized;
}

void TBitmap::Clear()
{
    m_image = QImage();
    m_rgb32 = QImage();
    m_format = pfDevice;
}

uchar *TBitmap::ScanLine(int row)
{
    if (m_image.isNull() || row < 0 || row >= m_image.height()) {
        return nullptr;
    }
    m_rgb32 = QImage(); // the row may be written
    return m_image.scanLine(row);
}

const uchar *TBitmap::ScanLine(int row) const
{
    if (m_image.isNull() || row < 0 || row >= m_image.height()) {
        return nullptr;
    }
    return m_image.constScanLine(row);
}

QImage TBitmap::toRgb32() const
{
    if (m_image.isNull()) {
        return {};
    }
    if (!m_rgb32.isNull()) {
        return m_rgb32;
    }
    return m_image.convertToFormat(QImage::Format_RGB32);
}

void TBitmap::cacheRgb32()
{
    m_rgb32 = m_image.isNull() ? QImage() : m_image.convertToFormat(QImage::Format_RGB32);
}

} // namespace pixolo
