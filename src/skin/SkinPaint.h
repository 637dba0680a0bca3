#pragma once

#include "skin/SkinGeometry.h"

#include <QImage>
#include <QRect>

class QPainter;
class QWidget;

namespace pixolo
{

// Block copies between pictures. Every skinned surface is composed from these three, so the pixel rules live
// here only:
// - stretch() is the rectangle copy: a plain copy when source and target have the same size, otherwise a
//   nearest-neighbour scale (target pixel x samples source x = ⌊(x + ½) · source width / target width⌋).
// - tile() repeats the source rectangle from the target's top-left corner, the last column and row of tiles
//   cut at the target's right and bottom edges.
// - drawFramed() is the nine-piece stretch of CreateStretchNineImage.
// Nothing reads outside the picture or writes outside the destination: target pixels whose source pixel lies
// outside the picture are left as they were. Empty or reversed rectangles draw nothing. The QImage forms write
// 32-bit pixels: a destination of another format is converted to RGB32 (ARGB32_Premultiplied if it has alpha)
// first. Any source format is accepted.
void stretch(QImage &dest, const QRect &target, const QImage &picture, const QRect &source);
void tile(QImage &dest, const QRect &target, const QImage &picture, const QRect &source);
void stretch(QPainter &painter, const QRect &target, const QImage &picture, const QRect &source);
void tile(QPainter &painter, const QRect &target, const QImage &picture, const QRect &source);
void drawFramed(QPainter &painter, const QRect &target, const QImage &Picture, const TRect &R, const TRect &ClRect);

// The corner points and client rectangle of a skin rectangle, relative to its top-left corner.
struct SkinCorners {
    TPoint LT;
    TPoint RT;
    TPoint LB;
    TPoint RB;
    TRect ClRect;

    // The same layout for a destination dw wider and dh higher: the right points move right, the bottom points
    // down, and the client rectangle's right and bottom edges follow; LT and the client's left and top stay.
    SkinCorners grownBy(int dw, int dh) const;
};

// The four border strips of a frame, to be drawn around a separately painted client area.
struct SkinBorderImages {
    QImage LeftImage;
    QImage TopImage;
    QImage RightImage;
    QImage BottomImage;
};

// A new Width × Height RGB32 image built from the skin rectangle R of Picture: corners copied, edges tiled
// (or stretched, per edge flag), the client part tiled when DrawClient. New is Old moved for the new size
// (SkinCorners::grownBy). The image stays black when Picture is empty or RB shares an X or a Y with LT.
QImage CreateStretchSkinImage(const SkinCorners &Old, const SkinCorners &New, const QImage &Picture, const TRect &R,
    int Width, int Height, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch);
QImage CreateSkinImage(const SkinCorners &Old, const SkinCorners &New, const QImage &Picture, const TRect &R, int Width,
    int Height, bool DrawClient);

// Width × height-of-R: the left LO and right RO columns of R copied, the middle tiled from LO (or stretched)
// over [LO, Width − RO).
QImage CreateHSkinImage(int LO, int RO, const QImage &Picture, const TRect &R, int Width, bool Stretch);
// Width-of-R × Height: the same along the vertical with the top TO and bottom BO rows.
QImage CreateVSkinImage(int TO, int BO, const QImage &Picture, const TRect &R, int Height, bool Stretch);

// Fills the already sized Dest from R cut by ClRect into nine parts: corners keep their size, the edges and the
// centre are scaled. A Dest that is not 32-bit is converted to RGB32 first.
void CreateStretchNineImage(QImage &Dest, const QImage &Picture, const TRect &R, const TRect &ClRect);

// The border strips of a Width × Height frame: top Width × New.ClRect.Top, bottom Width × (Height −
// New.ClRect.Bottom), left and right as high as the client in between. Tiles start at 0 in each strip; a strip
// that cannot be cut (no size, or no band between its corner points) stays a null image.
SkinBorderImages CreateStretchSkinBorderImages(const SkinCorners &Old, const SkinCorners &New, const QImage &Picture,
    const TRect &R, int Width, int Height, bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch);

// The border strips of a mask picture (the whole picture is the skin) for a Width-wide destination, always
// tiled; pixels no piece covers are white, that is outside the shape.
SkinBorderImages CreateSkinBorderImages(const SkinCorners &Old, const SkinCorners &New, const QImage &Mask, int Width);

// Lets the parent of Control paint the area behind it into Canvas (at Control's origin), for controls that show
// their parent through. Nothing without a parent.
void DrawParentImage(QWidget *Control, QPainter &Canvas);

} // namespace pixolo
