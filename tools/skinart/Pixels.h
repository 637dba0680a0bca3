#pragma once

#include "platform/TBitmap.h"
#include "skin/SkinGeometry.h"

#include <QColor>
#include <QImage>

#include <initializer_list>

namespace pixolo
{

// Raster helpers of the skin art. Nothing is antialiased: the pictures keep few colours (the frame picture must
// fit 256) and every edge lands on the pixel the skin description names.

// A vertical run of colours from top to bottom.
struct Ramp {
    QColor top;
    QColor bottom;
    QColor at(int row, int rows) const;
};

QImage newPicture(int width, int height, QColor fill);
void fillRect(QImage &image, const TRect &r, QColor colour);
void fillRamp(QImage &image, const TRect &r, const Ramp &ramp);
void hline(QImage &image, int x1, int x2, int y, QColor colour); // x2 exclusive
void vline(QImage &image, int x, int y1, int y2, QColor colour); // y2 exclusive

// True when the centre of pixel (x, y) lies inside r with its corners rounded by radius.
bool insideRounded(const TRect &r, int radius, int x, int y);

// A rounded box: inside pixels get the ramp, those on the edge `border`, those just below the top edge
// `highlight` when it is valid. Pixels outside the rounded shape are left alone.
void roundedBox(QImage &image, const TRect &r, int radius, const Ramp &fill, QColor border, QColor highlight = {});

// Pixel art: rows of characters; each character found in `colours` paints its colour, any other leaves the pixel.
struct Ink {
    char key;
    QColor colour;
};
void pixelArt(
    QImage &image, int x, int y, std::initializer_list<const char *> rows, std::initializer_list<Ink> colours);

// Copies a rectangle of one picture into another at (x, y).
void copyRect(QImage &dest, int x, int y, const QImage &source, const TRect &r);

// Bitmaps in the depths the skin stores: 24-bit; 8-bit with an exact palette (throws when the picture uses more
// than 256 colours); 1-bit, black where `inside`.
TBitmap bitmap24(const QImage &image);
TBitmap bitmap8(const QImage &image);
TBitmap bitmap1(const QImage &inside);

// A colour as the skin description writes it: 0x00BBGGRR.
int skinColour(QColor colour);

} // namespace pixolo
