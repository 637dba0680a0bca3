#pragma once

#include "skin/SkinGeometry.h"
#include "skin/SkinTypes.h"

#include <QImage>

class QPainter;

namespace pixolo
{

// Pieces of the controls' skinned looks that several controls share, on top of the skin layer's builders.

// Draws the rectangle `piece` of `picture` at `at`, the colour of its bottom-left pixel left out (transparent).
void drawSkinPiece(QPainter &painter, QPoint at, const QImage &picture, const TRect &piece);

// The image with every colour channel moved halfway to white.
QImage lightened(const QImage &image);

// `from` changing into `to` at progress `k` (0 … 1) by the morph `kind`; both images have one size.
QImage morphed(const QImage &from, const QImage &to, TMorphKind kind, double k);

// The current cell (1-based) of an animation strip: cells side by side when the strip is wider than the skin
// rectangle, stacked otherwise. An empty rectangle when there are no cells.
TRect animationCell(const TRect &strip, const TRect &skinRect, int count, int cell);

} // namespace pixolo
