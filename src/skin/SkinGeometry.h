#pragma once

#include <QPoint>
#include <QRect>

namespace pixolo
{

// A point of a skin picture or a window, 32-bit signed.
struct TPoint {
    int X = 0;
    int Y = 0;

    friend bool operator==(const TPoint &, const TPoint &) = default;
};

// A rectangle whose right and bottom edges are exclusive (Right − Left is the width), unlike QRect, whose right()
// and bottom() name the last pixel. Convert with toQRect()/toTRect() at the Qt boundary only.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    friend bool operator==(const TRect &, const TRect &) = default;
};

inline int RectWidth(const TRect &R)
{
    return R.Right - R.Left;
}

inline int RectHeight(const TRect &R)
{
    return R.Bottom - R.Top;
}

inline TRect NullRect()
{
    return {};
}

inline bool IsNullRect(const TRect &R)
{
    return RectWidth(R) < 1 || RectHeight(R) < 1;
}

// Either coordinate zero counts as "not set": the skin files use 0 for absent corner points.
inline bool IsNullPoint(const TPoint &P)
{
    return P.X == 0 || P.Y == 0;
}

inline bool RectsEqual(const TRect &A, const TRect &B)
{
    return A == B;
}

// Edges inclusive on all four sides.
inline bool PointWithinRect(const TRect &R, const TPoint &P)
{
    return R.Left <= P.X && P.X <= R.Right && R.Top <= P.Y && P.Y <= R.Bottom;
}

// The usual point-in-rectangle test: right and bottom edges excluded.
inline bool pointInRect(const TRect &R, const TPoint &P)
{
    return R.Left <= P.X && P.X < R.Right && R.Top <= P.Y && P.Y < R.Bottom;
}

// Both corners of Inner pass pointInRect of Outer. Inner's own bottom-right corner is exclusive too, so a
// rectangle flush with Outer's right or bottom edge is not within it.
inline bool RectWithinRect(const TRect &Inner, const TRect &Outer)
{
    return pointInRect(Outer, { Inner.Left, Inner.Top }) && pointInRect(Outer, { Inner.Right, Inner.Bottom });
}

inline TRect offsetRect(const TRect &R, int dx, int dy)
{
    return { R.Left + dx, R.Top + dy, R.Right + dx, R.Bottom + dy };
}

inline TPoint offsetPoint(const TPoint &P, int dx, int dy)
{
    return { P.X + dx, P.Y + dy };
}

// A reversed TRect becomes an empty QRect (never one of negative size).
inline QRect toQRect(const TRect &R)
{
    return QRect(R.Left, R.Top, qMax(0, RectWidth(R)), qMax(0, RectHeight(R)));
}

inline TRect toTRect(const QRect &R)
{
    return { R.left(), R.top(), R.left() + R.width(), R.top() + R.height() };
}

inline QPoint toQPoint(const TPoint &P)
{
    return QPoint(P.X, P.Y);
}

} // namespace pixolo
