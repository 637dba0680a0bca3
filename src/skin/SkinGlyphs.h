#pragma once

#include "skin/SkinGeometry.h"

#include <QColor>

class QImage;
class QPainter;

namespace pixolo
{

// Small fallback glyphs drawn when a skin gives no picture. (X, Y) is the top-left of the glyph's cell. Lines leave
// out their end point and rectangles cover [left, right) × [top, bottom), so every glyph has exact pixels.
void DrawCloseGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);
void DrawMaximizeGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);
void DrawRestoreGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);
void DrawMinimizeGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);
void DrawSysMenuGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);
void DrawRollUpGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);
void DrawRollDownGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);
void DrawMinimizeToTrayGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);
void DrawCheckGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);
void DrawRadioGlyph(QPainter &Canvas, int X, int Y, const QColor &Color);

// Directions of DrawArrowGlyph.
enum TArrowDirection : int { adLeft = 1, adRight = 2, adUp = 3, adDown = 4 };

// A small triangle centred in R, pointing by Dir; another Dir draws nothing.
void DrawArrowGlyph(QPainter &Canvas, const TRect &R, const QColor &Color, int Dir);

// A one-pixel 3D edge along the inside of R: left and top in TopLeftColor, right and bottom in BottomRightColor
// (the bottom-left corner belongs to the bottom, the top-right corner to the right).
void DrawFrame3D(QPainter &Canvas, const TRect &R, const QColor &TopLeftColor, const QColor &BottomRightColor);

// Frame Index (1-based) of Count frames side by side in Strip, drawn at (X, Y) with the colour of the frame's
// bottom-left pixel transparent. Nothing for an empty strip, Count < 1, an Index outside 1 … Count, or frames
// narrower than a pixel.
void DrawGlyphFrame(QPainter &Canvas, int X, int Y, int Index, int Count, const QImage &Strip);

// The pixels of one line from `from` towards `to`, the end point left out (polylines join such segments).
void drawLineExclusive(QPainter &Canvas, QPoint from, QPoint to, const QColor &Color);

} // namespace pixolo
