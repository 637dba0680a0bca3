#pragma once

// Tiny synthetic pictures for exact pixel tests of the drawing routines.
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

namespace pixolo::test
{

// Every pixel a different colour that names its own coordinates (x, y < 4096), so that a copied pixel tells
// where it came from.
inline QRgb coordinateColour(int x, int y)
{
    return qRgb(x & 0xFF, y & 0xFF, ((x >> 8) << 4) | (y >> 8));
}

inline QImage coordinateImage(int width, int height, QImage::Format format = QImage::Format_RGB32)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, coordinateColour(x, y));
        }
    }
    return image.convertToFormat(format);
}

// The source coordinates a coordinateImage pixel names.
inline QPoint sourceOf(QRgb pixel)
{
    return QPoint(qRed(pixel) | ((qBlue(pixel) >> 4) << 8), qGreen(pixel) | ((qBlue(pixel) & 0xF) << 8));
}

inline QImage filledImage(int width, int height, QRgb colour)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A picture drawn as text: '#' black, '.' white, any other character a grey.
inline QImage picture(std::initializer_list<const char *> rows)
{
    const int height = int(rows.size());
    const int width = height ? int(qstrlen(*rows.begin())) : 0;
    QImage image(width, height, QImage::Format_RGB32);
    int y = 0;
    for (const char *row : rows) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y,
                row[x] == '#'       ? qRgb(0, 0, 0)
                    : row[x] == '.' ? qRgb(255, 255, 255)
                                    : qRgb(128, 128, 128));
        }
        ++y;
    }
    return image;
}

// The image as text: '#' where the pixel is `ink`, '.' elsewhere. Compares readably in test failures.
inline QStringList inkRows(const QImage &image, QRgb ink)
{
    QStringList rows;
    for (int y = 0; y < image.height(); ++y) {
        QString row;
        for (int x = 0; x < image.width(); ++x) {
            row += (image.pixel(x, y) & 0xFFFFFF) == (ink & 0xFFFFFF) ? QLatin1Char('#') : QLatin1Char('.');
        }
        rows << row;
    }
    return rows;
}

inline QStringList rowsOf(std::initializer_list<const char *> rows)
{
    QStringList list;
    for (const char *row : rows) {
        list << QString::fromLatin1(row);
    }
    return list;
}

// Nearest-neighbour sample position: target index i of n maps to source index ⌊(i + ½) · length / n⌋.
inline int nearest(int i, int n, int length)
{
    return int((2.0 * i + 1.0) * length / (2.0 * n));
}

// Stands for "no source pixel: left black" in mapsTo().
inline const QPoint s_leftBlack(-1, -1);

// Checks every pixel of an image built from coordinateImage() pictures against the source pixel `expected` names
// for it (s_leftBlack: the pixel must be black).
inline ::testing::AssertionResult mapsTo(const QImage &image, const std::function<QPoint(int, int)> &expected)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QPoint want = expected(x, y);
            const QRgb pixel = image.pixel(x, y);
            const bool ok = want == s_leftBlack ? (pixel & 0xFFFFFF) == 0 : sourceOf(pixel) == want;
            if (!ok) {
                const QPoint got = sourceOf(pixel);
                return ::testing::AssertionFailure()
                    << "pixel (" << x << "," << y << ") came from (" << got.x() << "," << got.y() << "), expected ("
                    << want.x() << "," << want.y() << ")";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

// The bounding box of every pixel that differs from `background`.
inline QRect inkBounds(const QImage &image, QRgb background)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

} // namespace pixolo::test
