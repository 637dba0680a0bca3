#pragma once

#include "skin/SkinPaint.h"

#include <QRect>
#include <QRegion>

#include <optional>
#include <vector>

class QImage;

namespace pixolo
{

// The pure black pixels of Mask (blue, green and red all 0) are inside a shaped window, every other colour is
// outside. Each maximal run of black pixels in a row, scanned top to bottom and left to right, gives one
// rectangle one pixel high, placed at (OffsetX, OffsetY). No cap on the count; an empty mask gives none.
std::vector<QRect> CreateRegionData(const QImage &Mask, int OffsetX, int OffsetY);

// The region covering exactly the given row runs (as CreateRegionData yields them, sorted by row, then by x);
// rows with the same runs are joined into one band.
QRegion regionFromRuns(const std::vector<QRect> &runs);

// The region of Mask's black pixels at (0, 0); none for an empty mask.
std::optional<QRegion> CreateRgnFromMask(const QImage &Mask);

// The shape of a Width × Height window whose mask is cut like its skin: the client rectangle New.ClRect united
// with the black pixels of the four mask strips (CreateSkinBorderImages) around it, clipped to the window. None
// when the new size is smaller than the corner layout or the new client rectangle is empty.
std::optional<QRegion> CreateSkinRegion(
    const SkinCorners &Old, const SkinCorners &New, const QImage &Mask, int Width, int Height);

} // namespace pixolo
