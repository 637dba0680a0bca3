#include "skin/SkinPaint.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

namespace pixolo
{

namespace
{

constexpr QRgb s_maskOutside = 0xFFFFFFFF; // white: outside the shape

// Source index for each target index of a scaled run, or -1 where the source lies outside [0, limit).
std::vector<int> sampleTable(int targetLength, int sourceStart, int sourceLength, int limit)
{
    std::vector<int> table(targetLength);
    for (int i = 0; i < targetLength; ++i) {
        const int s = sourceStart + int((qint64(2 * i + 1) * sourceLength) / (qint64(2) * targetLength));
        table[i] = (s >= 0 && s < limit) ? s : -1;
    }
    return table;
}

// The row copies write 32-bit pixels only.
void ensure32Bit(QImage &dest)
{
    if (dest.depth() != 32) {
        dest
            = dest.convertToFormat(dest.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    }
}

// The picture in the destination's format. When it has to be converted, only the part that is read is, and
// source is moved to that part's coordinates (what lies outside the picture stays outside the part).
QImage matchingSource(const QImage &picture, QRect &source, QImage::Format format)
{
    if (picture.format() == format) {
        return picture;
    }
    const QRect readable = source.intersected(picture.rect());
    source.translate(-readable.topLeft());
    return picture.copy(readable).convertToFormat(format);
}

QRect spanRect(Qt::Orientation along, int alongStart, int alongEnd, int acrossStart, int acrossEnd)
{
    const TRect r = along == Qt::Horizontal ? TRect { alongStart, acrossStart, alongEnd, acrossEnd }
                                            : TRect { acrossStart, alongStart, acrossEnd, alongEnd };
    return toQRect(r);
}

// The picture restricted to the skin rectangle R, in RGB32, so that a piece reaching past R reads nothing. The
// part of R outside the picture is black.
QImage skinPart(const QImage &Picture, const TRect &R)
{
    const QRect r = toQRect(R);
    const QRect inside = r.intersected(Picture.rect());
    if (inside == r) {
        const QImage part = r == Picture.rect() ? Picture : Picture.copy(r);
        return part.format() == QImage::Format_RGB32 ? part : part.convertToFormat(QImage::Format_RGB32);
    }
    QImage placed(r.size(), QImage::Format_RGB32);
    placed.fill(Qt::black);
    stretch(placed, inside.translated(-r.topLeft()), Picture, inside);
    return placed;
}

QImage blankImage(int width, int height, QRgb fill = 0xFF000000)
{
    if (width <= 0 || height <= 0) {
        return {};
    }
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// One piece copy or band fill; ranges are relative to the skin part and the destination.
enum PieceFill { fillCopy, fillTile, fillStretch };

struct Piece {
    TRect source;
    TRect target;
    PieceFill fill;
};

void drawPiece(QImage &dest, const QImage &skin, const Piece &piece)
{
    if (piece.fill == fillTile) {
        tile(dest, toQRect(piece.target), skin, toQRect(piece.source));
    } else {
        stretch(dest, toQRect(piece.target), skin, toQRect(piece.source));
    }
}

// A border strip: a band along the strip (tiled or stretched into bandTarget), then a head and a tail piece
// copied over it. Spans are along the strip; the strip's thickness is read from [crossStart, crossStart +
// thickness) of the skin.
struct Span {
    int start = 0;
    int end = 0;
};

struct StripPlan {
    Qt::Orientation along = Qt::Horizontal;
    int length = 0;
    int thickness = 0;
    int crossStart = 0;
    Span band;
    Span bandTarget;
    Span head;
    Span headTarget;
    Span tail;
    Span tailTarget;
    bool stretched = false;
    QRgb background = 0xFF000000;
};

StripPlan stripPlan(Qt::Orientation along, int length, int thickness, int crossStart)
{
    StripPlan plan;
    plan.along = along;
    plan.length = length;
    plan.thickness = thickness;
    plan.crossStart = crossStart;
    return plan;
}

// A left or right strip `length` rows high: rows [top.Y, bottom.Y) tiled from row 0 (or stretched between the
// places of the corner points), then the client band's rows above top.Y copied to its top and those below
// bottom.Y to its bottom.
StripPlan sideStrip(
    int length, int thickness, int crossStart, TPoint top, TPoint bottom, const TRect &clRect, bool stretched)
{
    StripPlan plan = stripPlan(Qt::Vertical, length, thickness, crossStart);
    plan.band = { top.Y, bottom.Y };
    plan.bandTarget = stretched ? Span { top.Y - clRect.Top, length + bottom.Y - clRect.Bottom } : Span { 0, length };
    plan.head = { clRect.Top, top.Y };
    plan.headTarget = { 0, top.Y - clRect.Top };
    plan.tail = { bottom.Y, clRect.Bottom };
    plan.tailTarget = { length - (clRect.Bottom - bottom.Y), length };
    plan.stretched = stretched;
    return plan;
}

QImage buildStrip(const QImage &skin, const StripPlan &plan)
{
    const bool horizontal = plan.along == Qt::Horizontal;
    QImage strip = horizontal ? blankImage(plan.length, plan.thickness, plan.background)
                              : blankImage(plan.thickness, plan.length, plan.background);
    if (strip.isNull() || skin.isNull()) {
        return strip;
    }
    const int c0 = plan.crossStart;
    const int c1 = plan.crossStart + plan.thickness;
    const auto source = [&](Span s) { return spanRect(plan.along, s.start, s.end, c0, c1); };
    const auto target = [&](Span s) { return spanRect(plan.along, s.start, s.end, 0, plan.thickness); };
    if (plan.stretched) {
        stretch(strip, target(plan.bandTarget), skin, source(plan.band));
    } else {
        tile(strip, target(plan.bandTarget), skin, source(plan.band));
    }
    stretch(strip, target(plan.headTarget), skin, source(plan.head));
    stretch(strip, target(plan.tailTarget), skin, source(plan.tail));
    return strip;
}

// CreateHSkinImage and CreateVSkinImage: first and last parts copied, the middle tiled or stretched.
QImage threePartImage(
    Qt::Orientation along, int first, int last, const QImage &Picture, const TRect &R, int length, bool Stretch)
{
    const bool horizontal = along == Qt::Horizontal;
    const int skinLength = horizontal ? RectWidth(R) : RectHeight(R);
    const int thickness = horizontal ? RectHeight(R) : RectWidth(R);
    QImage dest = horizontal ? blankImage(length, thickness) : blankImage(thickness, length);
    if (dest.isNull() || Picture.isNull() || skinLength <= 0) {
        return dest;
    }
    const QImage skin = skinPart(Picture, R);
    first = std::clamp(first, 0, skinLength);
    last = std::clamp(last, 0, skinLength);
    const auto rect = [&](int a, int b) { return spanRect(along, a, b, 0, thickness); };
    stretch(dest, rect(0, first), skin, rect(0, first));
    stretch(dest, rect(length - last, length), skin, rect(skinLength - last, skinLength));
    // A middle of zero length, or no room for it, draws nothing.
    const QRect middle = rect(first, skinLength - last);
    const QRect middleTarget = rect(first, length - last);
    if (Stretch) {
        stretch(dest, middleTarget, skin, middle);
    } else {
        tile(dest, middleTarget, skin, middle);
    }
    return dest;
}

// The painter forms draw through a scratch image of the target's size.
void drawScratch(QPainter &painter, const QRect &target, const std::function<void(QImage &)> &fill)
{
    if (target.isEmpty()) {
        return;
    }
    QImage scratch(target.size(), QImage::Format_ARGB32_Premultiplied);
    scratch.fill(Qt::transparent); // pixels no source covers leave the painter's device as it was
    fill(scratch);
    painter.drawImage(target.topLeft(), scratch);
}

QWidget *s_parentPainting = nullptr;

} // namespace

void stretch(QImage &dest, const QRect &target, const QImage &picture, const QRect &source)
{
    if (target.isEmpty() || source.isEmpty() || dest.isNull() || picture.isNull()) {
        return;
    }
    ensure32Bit(dest);
    QRect from = source;
    const QImage src = matchingSource(picture, from, dest.format());
    const std::vector<int> columns = sampleTable(target.width(), from.left(), from.width(), src.width());
    const std::vector<int> rows = sampleTable(target.height(), from.top(), from.height(), src.height());
    const int x0 = std::max(0, -target.left());
    const int x1 = std::min(target.width(), dest.width() - target.left());
    const int y0 = std::max(0, -target.top());
    const int y1 = std::min(target.height(), dest.height() - target.top());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    // Same width and fully readable: whole runs per row.
    const bool plainRows = from.width() == target.width() && columns[x0] >= 0 && columns[x1 - 1] >= 0;
    for (int y = y0; y < y1; ++y) {
        if (rows[y] < 0) {
            continue;
        }
        const auto *in = reinterpret_cast<const QRgb *>(src.constScanLine(rows[y]));
        auto *out = reinterpret_cast<QRgb *>(dest.scanLine(target.top() + y)) + target.left();
        if (plainRows) {
            std::memcpy(out + x0, in + columns[x0], size_t(x1 - x0) * sizeof(QRgb));
            continue;
        }
        for (int x = x0; x < x1; ++x) {
            if (columns[x] >= 0) {
                out[x] = in[columns[x]];
            }
        }
    }
}

void tile(QImage &dest, const QRect &target, const QImage &picture, const QRect &source)
{
    if (target.isEmpty() || source.isEmpty() || dest.isNull() || picture.isNull()) {
        return;
    }
    const int w = source.width();
    const int h = source.height();
    const QRect visible = target.intersected(dest.rect());
    if (visible.isEmpty()) {
        return;
    }
    ensure32Bit(dest);
    QRect from = source; // converted once, not once a tile
    const QImage src = matchingSource(picture, from, dest.format());
    // Start at the first tile that reaches the destination; tiles keep their phase from the target's corner.
    const int i0 = (visible.left() - target.left()) / w;
    const int j0 = (visible.top() - target.top()) / h;
    const int right = target.left() + target.width();
    const int bottom = target.top() + target.height();
    for (int y = target.top() + j0 * h; y < bottom && y <= visible.bottom(); y += h) {
        const int th = std::min(h, bottom - y);
        for (int x = target.left() + i0 * w; x < right && x <= visible.right(); x += w) {
            const int tw = std::min(w, right - x);
            stretch(dest, QRect(x, y, tw, th), src, QRect(from.left(), from.top(), tw, th));
        }
    }
}

void stretch(QPainter &painter, const QRect &target, const QImage &picture, const QRect &source)
{
    drawScratch(painter, target, [&](QImage &scratch) { stretch(scratch, scratch.rect(), picture, source); });
}

void tile(QPainter &painter, const QRect &target, const QImage &picture, const QRect &source)
{
    drawScratch(painter, target, [&](QImage &scratch) { tile(scratch, scratch.rect(), picture, source); });
}

void drawFramed(QPainter &painter, const QRect &target, const QImage &Picture, const TRect &R, const TRect &ClRect)
{
    drawScratch(painter, target, [&](QImage &scratch) { CreateStretchNineImage(scratch, Picture, R, ClRect); });
}

SkinCorners SkinCorners::grownBy(int dw, int dh) const
{
    return { LT, offsetPoint(RT, dw, 0), offsetPoint(LB, 0, dh), offsetPoint(RB, dw, dh),
        { ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh } };
}

QImage CreateStretchSkinImage(const SkinCorners &Old, const SkinCorners &New, const QImage &Picture, const TRect &R,
    int Width, int Height, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch)
{
    QImage dest = blankImage(Width, Height);
    if (dest.isNull() || Old.RB.X == Old.LT.X || Old.RB.Y == Old.LT.Y || Picture.isNull() || IsNullRect(R)) {
        return dest;
    }
    const QImage skin = skinPart(Picture, R);
    const int W = RectWidth(R);
    const int H = RectHeight(R);
    const TRect &c = Old.ClRect;
    const TRect &n = New.ClRect;
    const auto band = [](bool stretched) { return stretched ? fillStretch : fillTile; };
    const Piece pieces[] = {
        // edges
        { { Old.LT.X, 0, Old.RT.X, c.Top }, { New.LT.X, 0, New.RT.X, n.Top }, band(TopStretch) },
        { { Old.LB.X, c.Bottom, Old.RB.X, H }, { New.LB.X, n.Bottom, New.RB.X, Height }, band(BottomStretch) },
        { { 0, Old.LT.Y, c.Left, Old.LB.Y }, { 0, New.LT.Y, n.Left, New.LB.Y }, band(LeftStretch) },
        { { c.Right, Old.RT.Y, W, Old.RB.Y }, { n.Right, New.RT.Y, Width, New.RB.Y }, band(RightStretch) },
        // corner pieces a … h
        { { 0, 0, Old.LT.X, c.Top }, { 0, 0, New.LT.X, n.Top }, fillCopy },
        { { 0, c.Top, c.Left, Old.LT.Y }, { 0, n.Top, n.Left, New.LT.Y }, fillCopy },
        { { Old.RT.X, 0, W, c.Top }, { New.RT.X, 0, Width, n.Top }, fillCopy },
        { { c.Right, c.Top, W, Old.RT.Y }, { n.Right, n.Top, Width, New.RT.Y }, fillCopy },
        { { 0, Old.LB.Y, c.Left, H }, { 0, New.LB.Y, n.Left, Height }, fillCopy },
        { { c.Left, c.Bottom, Old.LB.X, H }, { n.Left, n.Bottom, New.LB.X, Height }, fillCopy },
        { { Old.RB.X, c.Bottom, W, H }, { New.RB.X, n.Bottom, Width, Height }, fillCopy },
        { { c.Right, Old.RB.Y, W, c.Bottom }, { n.Right, New.RB.Y, Width, n.Bottom }, fillCopy },
    };
    for (const Piece &piece : pieces) {
        drawPiece(dest, skin, piece);
    }
    if (DrawClient) {
        drawPiece(dest, skin, { c, n, fillTile });
    }
    return dest;
}

QImage CreateSkinImage(const SkinCorners &Old, const SkinCorners &New, const QImage &Picture, const TRect &R, int Width,
    int Height, bool DrawClient)
{
    return CreateStretchSkinImage(Old, New, Picture, R, Width, Height, DrawClient, false, false, false, false);
}

QImage CreateHSkinImage(int LO, int RO, const QImage &Picture, const TRect &R, int Width, bool Stretch)
{
    return threePartImage(Qt::Horizontal, LO, RO, Picture, R, Width, Stretch);
}

QImage CreateVSkinImage(int TO, int BO, const QImage &Picture, const TRect &R, int Height, bool Stretch)
{
    return threePartImage(Qt::Vertical, TO, BO, Picture, R, Height, Stretch);
}

void CreateStretchNineImage(QImage &Dest, const QImage &Picture, const TRect &R, const TRect &ClRect)
{
    if (Dest.isNull() || Picture.isNull() || IsNullRect(R)) {
        return;
    }
    if (Dest.depth() != 32) {
        Dest = Dest.convertToFormat(QImage::Format_RGB32);
    }
    const QImage skin = skinPart(Picture, R);
    const int W = RectWidth(R);
    const int H = RectHeight(R);
    const int DW = Dest.width();
    const int DH = Dest.height();
    const TRect &c = ClRect;
    const TRect n { c.Left, c.Top, c.Right + DW - W, c.Bottom + DH - H };
    const Piece pieces[] = {
        { { 0, 0, c.Left, c.Top }, { 0, 0, n.Left, n.Top }, fillCopy }, // top-left
        { { c.Left, 0, c.Right, c.Top }, { n.Left, 0, n.Right, n.Top }, fillStretch }, // top
        { { c.Right, 0, W, c.Top }, { n.Right, 0, DW, n.Top }, fillCopy }, // top-right
        { { c.Right, c.Top, W, c.Bottom }, { n.Right, n.Top, DW, n.Bottom }, fillStretch }, // right
        { { c.Right, c.Bottom, W, H }, { n.Right, n.Bottom, DW, DH }, fillCopy }, // bottom-right
        { { c.Left, c.Bottom, c.Right, H }, { n.Left, n.Bottom, n.Right, DH }, fillStretch }, // bottom
        { { 0, c.Bottom, c.Left, H }, { 0, n.Bottom, n.Left, DH }, fillCopy }, // bottom-left
        { { 0, c.Top, c.Left, c.Bottom }, { 0, n.Top, n.Left, n.Bottom }, fillStretch }, // left
        { c, n, fillStretch }, // centre
    };
    for (const Piece &piece : pieces) {
        drawPiece(Dest, skin, piece);
    }
}

SkinBorderImages CreateStretchSkinBorderImages(const SkinCorners &Old, const SkinCorners &New, const QImage &Picture,
    const TRect &R, int Width, int Height, bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch)
{
    SkinBorderImages images;
    const QImage skin = Picture.isNull() || IsNullRect(R) ? QImage() : skinPart(Picture, R);
    const int W = RectWidth(R);
    const int H = RectHeight(R);
    const TRect &c = Old.ClRect;
    const TRect &n = New.ClRect;

    // Top and bottom strips: the band between the corner points, tiled from 0 or stretched between the new points,
    // under the corners copied to the new points.
    const auto horizontal = [&](int thickness, int crossStart, TPoint left, TPoint right, TPoint newLeft,
                                TPoint newRight, bool stretched) {
        StripPlan plan = stripPlan(Qt::Horizontal, Width, thickness, crossStart);
        plan.band = { left.X, right.X };
        plan.bandTarget = stretched ? Span { newLeft.X, newRight.X } : Span { 0, Width };
        plan.head = { 0, left.X };
        plan.headTarget = { 0, newLeft.X };
        plan.tail = { right.X, W };
        plan.tailTarget = { newRight.X, Width };
        plan.stretched = stretched;
        return buildStrip(skin, plan);
    };
    const int topHeight = n.Top;
    if (Width > 0 && topHeight > 0 && Old.RT.X > Old.LT.X) {
        images.TopImage = horizontal(topHeight, 0, Old.LT, Old.RT, New.LT, New.RT, TopStretch);
    }
    const int bottomHeight = Height - n.Bottom;
    if (Width > 0 && bottomHeight > 0 && Old.RB.X > Old.LB.X) {
        images.BottomImage = horizontal(bottomHeight, H - bottomHeight, Old.LB, Old.RB, New.LB, New.RB, BottomStretch);
    }
    // The side strips fill the height between the top and bottom strips.
    const int sideHeight = Height - std::max(0, topHeight) - std::max(0, bottomHeight);
    if (n.Left > 0 && sideHeight > 0 && Old.LB.Y > Old.LT.Y) {
        images.LeftImage = buildStrip(skin, sideStrip(sideHeight, n.Left, 0, Old.LT, Old.LB, c, LeftStretch));
    }
    const int rightWidth = Width - n.Right;
    if (rightWidth > 0 && sideHeight > 0 && Old.RB.Y > Old.RT.Y) {
        images.RightImage
            = buildStrip(skin, sideStrip(sideHeight, rightWidth, W - rightWidth, Old.RT, Old.RB, c, RightStretch));
    }
    return images;
}

SkinBorderImages CreateSkinBorderImages(const SkinCorners &Old, const SkinCorners &New, const QImage &Mask, int Width)
{
    SkinBorderImages images;
    if (Mask.isNull()) {
        return images;
    }
    const QImage skin = Mask.convertToFormat(QImage::Format_RGB32);
    const int W = skin.width();
    const int H = skin.height();
    const TRect &c = Old.ClRect;
    const TRect &n = New.ClRect;

    const auto horizontal
        = [&](int thickness, int crossStart, TPoint left, TPoint right, TPoint newLeft, TPoint newRight) {
              StripPlan plan = stripPlan(Qt::Horizontal, Width, thickness, crossStart);
              plan.band = { left.X, right.X };
              plan.bandTarget = { newLeft.X, newRight.X };
              plan.head = { 0, left.X };
              plan.headTarget = { 0, left.X };
              plan.tail = { right.X, W };
              plan.tailTarget = { newRight.X, newRight.X + W - right.X };
              plan.background = s_maskOutside;
              return buildStrip(skin, plan);
          };
    const int sideHeight = RectHeight(n);
    const auto vertical = [&](int thickness, int crossStart, TPoint top, TPoint bottom) {
        StripPlan plan = sideStrip(sideHeight, thickness, crossStart, top, bottom, c, false);
        plan.background = s_maskOutside;
        return buildStrip(skin, plan);
    };
    // blankImage() leaves a strip of no size null: such a strip is not built.
    images.LeftImage = vertical(c.Left, 0, Old.LT, Old.LB);
    images.RightImage = vertical(W - c.Right, c.Right, Old.RT, Old.RB);
    images.TopImage = horizontal(c.Top, 0, Old.LT, Old.RT, New.LT, New.RT);
    images.BottomImage = horizontal(H - c.Bottom, c.Bottom, Old.LB, Old.RB, New.LB, New.RB);
    return images;
}

void DrawParentImage(QWidget *Control, QPainter &Canvas)
{
    QWidget *parent = Control ? Control->parentWidget() : nullptr;
    if (!parent || s_parentPainting == parent) {
        return; // no parent, or the parent is already painting a copy (it asked us to paint)
    }
    QWidget *const previous = s_parentPainting;
    s_parentPainting = parent;
    Canvas.save();
    // The parent paints itself only (background and its own paint), not its children: we are one of them.
    parent->render(&Canvas, QPoint(0, 0), QRegion(Control->geometry()), QWidget::DrawWindowBackground);
    Canvas.restore();
    s_parentPainting = previous;
}

} // namespace pixolo
