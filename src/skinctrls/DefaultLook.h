#pragma once

#include "skin/SkinGlyphs.h"
#include "skin/SkinTypes.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>

class QPainter;

namespace pixolo
{

// Drawing pieces of the controls' plain look (the look without a skin), on top of the skin layer's glyphs.
// Coordinates are pixels; lines exclude their end point.

// A rectangle given by its left, top and exclusive right and bottom edges.
inline QRect rectLTRB(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// A one-pixel 3D edge just inside the rectangle (left and top in `topLeft`).
void drawFrame3D(QPainter &painter, const QRect &rect, const QColor &topLeft, const QColor &bottomRight);
// A one-pixel outline just inside the rectangle.
void drawOutline(QPainter &painter, const QRect &rect, const QColor &color);
// A dotted focus rectangle just inside the rectangle: every other pixel, counted around it from the top-left.
void drawFocusRect(QPainter &painter, const QRect &rect, const QColor &color);

// One line of text in `area`, vertically centred (top = area top + area height div 2 - text height div 2) and
// placed by `alignment`, clipped to the area, '&' marking a mnemonic. Returns where the text went.
QRect drawAlignedText(QPainter &painter, const QRect &area, const QString &text, TAlignment alignment,
    const QFont &font, const QColor &color);
// The extent of one line of text in the font, '&' marking a mnemonic.
QSize textExtent(const QFont &font, const QString &text);

// Width of one cell of a glyph strip of `count` cells side by side (0 without a strip).
int glyphCellWidth(const QImage &strip, int count);

} // namespace pixolo
