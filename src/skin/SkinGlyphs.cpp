#include "skin/SkinGlyphs.h"

#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <initializer_list>

namespace pixolo
{

namespace
{

void plot(QPainter &Canvas, int x, int y, const QColor &Color)
{
    Canvas.fillRect(QRect(x, y, 1, 1), Color);
}

void polyline(QPainter &Canvas, std::initializer_list<QPoint> points, const QColor &Color)
{
    const QPoint *previous = nullptr;
    for (const QPoint &point : points) {
        if (previous) {
            drawLineExclusive(Canvas, *previous, point, Color);
        }
        previous = &point;
    }
}

// Rectangle (l, t)–(r, b) with right and bottom exclusive: outlined, or filled.
void outline(QPainter &Canvas, int l, int t, int r, int b, const QColor &Color)
{
    if (r - l < 1 || b - t < 1) {
        return;
    }
    Canvas.fillRect(QRect(l, t, r - l, 1), Color);
    Canvas.fillRect(QRect(l, b - 1, r - l, 1), Color);
    Canvas.fillRect(QRect(l, t, 1, b - t), Color);
    Canvas.fillRect(QRect(r - 1, t, 1, b - t), Color);
}

void filled(QPainter &Canvas, int l, int t, int r, int b, const QColor &Color)
{
    if (r - l >= 1 && b - t >= 1) {
        Canvas.fillRect(QRect(l, t, r - l, b - t), Color);
    }
}

} // namespace

void drawLineExclusive(QPainter &Canvas, QPoint from, QPoint to, const QColor &Color)
{
    // Bresenham from `from`; the loop stops before `to`.
    const int dx = std::abs(to.x() - from.x());
    const int dy = -std::abs(to.y() - from.y());
    const int sx = from.x() < to.x() ? 1 : -1;
    const int sy = from.y() < to.y() ? 1 : -1;
    int error = dx + dy;
    int x = from.x();
    int y = from.y();
    while (x != to.x() || y != to.y()) {
        plot(Canvas, x, y, Color);
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y += sy;
        }
    }
}

void DrawCloseGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    drawLineExclusive(Canvas, { X + 1, Y + 1 }, { X + 9, Y + 9 }, Color);
    drawLineExclusive(Canvas, { X + 9, Y + 1 }, { X + 1, Y + 9 }, Color);
    drawLineExclusive(Canvas, { X + 2, Y + 1 }, { X + 10, Y + 9 }, Color);
    drawLineExclusive(Canvas, { X + 8, Y + 1 }, { X, Y + 9 }, Color);
}

void DrawMaximizeGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    outline(Canvas, X, Y, X + 11, Y + 10, Color);
    outline(Canvas, X, Y, X + 11, Y + 2, Color);
}

void DrawRestoreGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    outline(Canvas, X + 2, Y, X + 10, Y + 6, Color);
    outline(Canvas, X + 2, Y, X + 10, Y + 2, Color);
    outline(Canvas, X, Y + 4, X + 7, Y + 10, Color);
    outline(Canvas, X, Y + 4, X + 7, Y + 6, Color);
}

void DrawMinimizeGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    drawLineExclusive(Canvas, { X + 1, Y + 8 }, { X + 9, Y + 8 }, Color);
    drawLineExclusive(Canvas, { X + 1, Y + 9 }, { X + 9, Y + 9 }, Color);
}

void DrawSysMenuGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    outline(Canvas, X + 1, Y + 3, X + 9, Y + 6, Color);
}

void DrawRollUpGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    for (int i = 0; i <= 4; ++i) {
        drawLineExclusive(Canvas, { X + i + 1, Y - i + 6 }, { X - i + 9, Y - i + 6 }, Color);
    }
}

void DrawRollDownGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    for (int i = 0; i <= 4; ++i) {
        drawLineExclusive(Canvas, { X - i + 5, Y - i + 6 }, { X + i + 5, Y - i + 6 }, Color);
    }
}

void DrawMinimizeToTrayGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    filled(Canvas, X + 2, Y + 2, X + 7, Y + 7, Color);
}

void DrawCheckGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    for (int i = 0; i <= 2; ++i) {
        polyline(Canvas, { { X, Y - i + 5 }, { X + 2, Y - i + 7 }, { X + 7, Y - i + 2 } }, Color);
    }
}

void DrawRadioGlyph(QPainter &Canvas, int X, int Y, const QColor &Color)
{
    filled(Canvas, X, Y, X + 6, Y + 6, Color);
}

void DrawArrowGlyph(QPainter &Canvas, const TRect &R, const QColor &Color, int Dir)
{
    const int cx = R.Left + RectWidth(R) / 2;
    const int cy = R.Top + RectHeight(R) / 2;
    // Each step is one line across the arrow, both ends included.
    const auto vertical = [&](int x, int y0, int y1) { filled(Canvas, x, y0, x + 1, y1 + 1, Color); };
    const auto horizontal = [&](int y, int x0, int x1) { filled(Canvas, x0, y, x1 + 1, y + 1, Color); };
    for (int i = 0; i <= 3; ++i) {
        const int n = 3 - i;
        switch (Dir) {
        case adLeft:
            vertical(cx - 2 + i, cy - i, cy + i);
            break;
        case adRight:
            vertical(cx - n + 2, cy - n, cy + n);
            break;
        case adUp:
            horizontal(cy + i - 2, cx - i, cx + i);
            break;
        case adDown:
            horizontal(cy - n + 2, cx - n, cx + n);
            break;
        default:
            return;
        }
    }
}

void DrawFrame3D(QPainter &Canvas, const TRect &R, const QColor &TopLeftColor, const QColor &BottomRightColor)
{
    const int r = R.Right - 1;
    const int b = R.Bottom - 1;
    polyline(Canvas, { { R.Left, b }, { R.Left, R.Top }, { r, R.Top } }, TopLeftColor);
    polyline(Canvas, { { r, R.Top }, { r, b }, { R.Left - 1, b } }, BottomRightColor);
}

void DrawGlyphFrame(QPainter &Canvas, int X, int Y, int Index, int Count, const QImage &Strip)
{
    if (Strip.isNull() || Count < 1 || Index < 1 || Index > Count) {
        return;
    }
    const int w = Strip.width() / Count;
    if (w < 1) {
        return;
    }
    QImage frame = Strip.copy(w * (Index - 1), 0, w, Strip.height()).convertToFormat(QImage::Format_ARGB32);
    const QRgb key = frame.pixel(0, frame.height() - 1);
    for (int y = 0; y < frame.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(frame.scanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            if (row[x] == key) {
                row[x] = 0; // transparent
            }
        }
    }
    Canvas.drawImage(X, Y, frame);
}

} // namespace pixolo
